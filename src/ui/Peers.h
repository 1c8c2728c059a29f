// The seam between the framework and a widget set: one small interface per control kind, and the
// widget set that creates them and runs the message loop. Peers translate property values into
// native calls and native input into the controls' User* sinks; they never decide.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/FontRaster.h"
#include "gfx/Ico.h"
#include "platform/MessageWindow.h"

class TComponent;
class TCustomForm;

enum class TCursor { Default, HourGlass, Arrow };

class IPeer {
public:
  virtual ~IPeer() = default;
};

class IControlPeer : public virtual IPeer {
public:
  // Bounds relative to the parent's client area; for forms, the client area on the desktop.
  virtual void SetBounds(const TRect& bounds) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetFont(const gfx::TFontSpec& font) = 0;
  virtual void SetColor(TColor color) = 0;
  // Gives the control the keyboard focus.
  virtual void SetFocus() = 0;
};

class ILabelPeer : public virtual IControlPeer {};
class IGroupBoxPeer : public virtual IControlPeer {};

class IEditPeer : public virtual IControlPeer {
public:
  virtual void SetReadOnly(bool readOnly) = 0;
  virtual void SetBorder(bool border) = 0;
};

class IPanelPeer : public virtual IControlPeer {
public:
  virtual void SetBorder(bool border) = 0;
};

class IButtonPeer : public virtual IControlPeer {
public:
  virtual void SetDefault(bool isDefault) = 0;
};

class ICheckBoxPeer : public virtual IControlPeer {
public:
  virtual void SetChecked(bool checked) = 0;
};

class ITrackBarPeer : public virtual IControlPeer {
public:
  virtual void SetRange(int min, int max) = 0;
  virtual void SetPosition(int position) = 0;
  virtual void SetFrequency(int frequency) = 0;
};

class IComboBoxPeer : public virtual IControlPeer {
public:
  virtual void SetItems(const std::vector<std::string>& items) = 0;
  virtual void SetItemIndex(int index) = 0;
};

class IListBoxPeer : public virtual IControlPeer {
public:
  virtual void AddItem(const std::string& item) = 0;
  virtual void Clear() = 0;
  // Every row this many pixels high, whatever the font.
  virtual void SetItemHeight(int height) = 0;
  virtual void SetBorder(bool border) = 0;
};

// Graphic controls and images: the peer shows the finished picture at the control's bounds.
class IPicturePeer : public virtual IControlPeer {
public:
  // now: painted before this returns, for a picture that must show while a handler holds the loop;
  // otherwise with the window's next paint, together with everything else that changed.
  virtual void SetPicture(const gfx::Bitmap& picture, bool now) = 0;
};

// Tabbed pages: the page control shows the tab of the active page. A sheet's peer is made in the page
// control's peer and adds its own tab there; its text is the tab's caption, and the page control's
// peer places it below the tabs.
class IPageControlPeer : public virtual IControlPeer {
public:
  virtual void SetTabIndex(int index) = 0;
};
class ITabSheetPeer : public virtual IControlPeer {};

struct TStatusPanelSpec {
  std::string Text;
  int Width = 50;
  bool RightToLeft = false;
};

class IStatusBarPeer : public virtual IControlPeer {
public:
  virtual void SetPanels(const std::vector<TStatusPanelSpec>& panels) = 0;
};

// An icon as the bytes of an .ico file (one or more images).
struct TIconData {
  std::span<const uint8_t> IcoFile;
};

class IFormPeer : public virtual IControlPeer {
public:
  virtual void SetIcon(const TIconData& icon) = 0;
  // The frame around the client area as far as it is known now (0 before a window manager framed
  // the window): left, top, right and bottom thickness.
  virtual TRect FrameExtents() = 0;
  // Paints the window now, without waiting for the message loop.
  virtual void Repaint() = 0;
  virtual void SetMinimized(bool minimized) = 0;
  // Brings the window to the foreground (SetForegroundWindow).
  virtual void BringToFront() = 0;
};

// One row of a pop-up menu as the widget set shows it.
struct TMenuEntry {
  std::string Caption;  // "&" marks the accelerator
  bool Separator = false;
  bool Checked = false;
  bool Default = false;
  bool Enabled = true;
};

// An icon in the desktop's notification area, as Shell_NotifyIcon takes it. The desktop reports the
// mouse on the icon by sending CallbackMessage to Window, wParam the icon's Id and lParam one of the
// mouse messages below.
enum class TNotifyIconOp { Add, Modify, Delete };
struct TNotifyIconData {
  platform::IMessageWindow* Window = nullptr;
  uintptr_t Id = 0;
  uint32_t CallbackMessage = 0;
  const gfx::TIconImage* Icon = nullptr;  // 16 × 16; null shows an empty slot
  std::string Tip;                        // empty: no tooltip
};

// The mouse and notification codes of a notification icon's callback, with the Windows numbers.
namespace TrayMessage {
constexpr uint32_t MouseMove = 0x200;
constexpr uint32_t LButtonDown = 0x201;
constexpr uint32_t LButtonUp = 0x202;
constexpr uint32_t LButtonDblClk = 0x203;
constexpr uint32_t RButtonDown = 0x204;
constexpr uint32_t RButtonUp = 0x205;
constexpr uint32_t MButtonDown = 0x207;
constexpr uint32_t MButtonUp = 0x208;
constexpr uint32_t BalloonShow = 0x402;
constexpr uint32_t BalloonHide = 0x403;
constexpr uint32_t BalloonTimeout = 0x404;
constexpr uint32_t BalloonUserClick = 0x405;
}  // namespace TrayMessage

// The widget set: a factory of peers per kind, the message loop and the application-wide services.
// A kind the set registers no factory for gets no peer: its controls stay complete headless
// controls (the test widget set registers none at all).
class TCustomWidgetSet {
public:
  virtual ~TCustomWidgetSet() = default;

  // The peer of the given kind (its interface) for a component, made in the parent's peer.
  template <class Peer>
  std::unique_ptr<Peer> Create(TComponent& component, IControlPeer* parent) {
    const auto factory = FFactories.find(typeid(Peer));
    if (factory == FFactories.end()) return nullptr;
    std::unique_ptr<IPeer> peer = factory->second(component, parent);
    return std::unique_ptr<Peer>(dynamic_cast<Peer*>(peer.release()));
  }

  virtual std::unique_ptr<platform::IMessageWindow> CreateMessageWindow(platform::TWindowProc proc) = 0;
  // Waits for the next message and dispatches it.
  virtual void HandleMessage() = 0;
  // Dispatches every pending message and returns.
  virtual void ProcessMessages() = 0;
  // Modal message box; flags and result use the Windows MB_ / ID numbers.
  virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  virtual TRect DesktopRect() = 0;
  // Shows a pop-up menu at a screen point, with the program brought to the foreground so that a click
  // elsewhere closes it; answers the index of the chosen entry, or -1.
  virtual int PopupMenu(const std::vector<TMenuEntry>& entries, TPoint at) = 0;

  // The notification area: false when the desktop refuses (a modify or delete of an icon it does not
  // have, an add of one it has).
  virtual bool NotifyIcon(TNotifyIconOp op, const TNotifyIconData& data) = 0;
  // Whether the desktop has a notification area at all.
  virtual bool NotifyAreaAvailable() = 0;
  // The message the desktop broadcasts to top-level windows when its taskbar was re-created; 0 where
  // the toolkit restores its icons itself.
  virtual uint32_t TaskbarCreatedMessage() = 0;
  // The pointer on the screen, the modifier keys held now (ShiftState bits), the double-click time.
  virtual TPoint CursorPos() = 0;
  virtual unsigned KeyboardShiftState() = 0;
  virtual uint32_t DoubleClickTime() = 0;

protected:
  using TFactory = std::function<std::unique_ptr<IPeer>(TComponent& component, IControlPeer* parent)>;
  // Makes peers of kind Peer with factory.
  template <class Peer>
  void Register(TFactory factory) {
    FFactories[typeid(Peer)] = std::move(factory);
  }

private:
  std::unordered_map<std::type_index, TFactory> FFactories;
};

// Message box flags and answers with the numbers the Windows services use.
constexpr uint32_t MbOk = 0x0;
constexpr uint32_t MbOkCancel = 0x1;
constexpr uint32_t MbIconError = 0x10;
constexpr uint32_t MbIconQuestion = 0x20;
constexpr uint32_t MbIconWarning = 0x30;
constexpr uint32_t MbIconInformation = 0x40;
constexpr int IdOk = 1;
constexpr int IdCancel = 2;

// Keys the framework decides about, with the numbers the Windows services give them.
enum class TKey : uint16_t { Tab = 0x09, Return = 0x0D, Escape = 0x1B };
namespace ShiftState {
constexpr unsigned Shift = 1;
constexpr unsigned Ctrl = 2;
constexpr unsigned Alt = 4;
constexpr unsigned Left = 8;
constexpr unsigned Right = 16;
constexpr unsigned Middle = 32;
constexpr unsigned Double = 64;
}  // namespace ShiftState
enum class TMouseButton { Left, Right, Middle };
