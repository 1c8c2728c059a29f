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

// Graphic controls and images: the peer shows the finished picture at the control's bounds.
class IPicturePeer : public virtual IControlPeer {
public:
  virtual void SetPicture(const gfx::Bitmap& picture) = 0;
};

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
};

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
}  // namespace ShiftState
