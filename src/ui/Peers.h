// The seam between the framework and a widget set: one small interface per control kind, and the
// widget set that creates them and runs the message loop. Peers translate property values into
// native calls; they never decide. Native input comes back through the controls' User* sinks.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/FontRaster.h"
#include "platform/MessageWindow.h"

class TControl;
class TButton;
class TLabel;
class TEdit;
class TGroupBox;
class TPanel;
class TCheckBox;
class TComboBox;
class TTrackBar;
class TStatusBar;
class TGraphicControl;
class TCustomForm;

enum class TCursor { Default, HourGlass, Arrow };

class IControlPeer {
public:
  virtual ~IControlPeer() = default;
  // Bounds relative to the parent's client area; for forms, the client area on the desktop.
  virtual void SetBounds(const TRect& bounds) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetFont(const gfx::TFontSpec& font) = 0;
  virtual void SetColor(TColor color) = 0;
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
  // Places the window so that its frame is centred on the desktop.
  virtual void CenterOnDesktop() = 0;
  // Paints the window now, without waiting for the message loop.
  virtual void Repaint() = 0;
  virtual void SetMinimized(bool minimized) = 0;
};

class IWidgetSet {
public:
  virtual ~IWidgetSet() = default;

  // Each returns null when the widget set has no native controls (the headless set of the tests).
  virtual std::unique_ptr<IFormPeer> CreateForm(TCustomForm& form) = 0;
  virtual std::unique_ptr<IControlPeer> CreateLabel(TLabel& control, IControlPeer& parent) = 0;
  virtual std::unique_ptr<IControlPeer> CreateEdit(TEdit& control, IControlPeer& parent) = 0;
  virtual std::unique_ptr<IControlPeer> CreateGroupBox(TGroupBox& control, IControlPeer& parent) = 0;
  virtual std::unique_ptr<IControlPeer> CreatePanel(TPanel& control, IControlPeer& parent) = 0;
  virtual std::unique_ptr<IButtonPeer> CreateButton(TButton& control, IControlPeer& parent) = 0;
  virtual std::unique_ptr<ICheckBoxPeer> CreateCheckBox(TCheckBox& control, IControlPeer& parent) = 0;
  virtual std::unique_ptr<IComboBoxPeer> CreateComboBox(TComboBox& control, IControlPeer& parent) = 0;
  virtual std::unique_ptr<ITrackBarPeer> CreateTrackBar(TTrackBar& control, IControlPeer& parent) = 0;
  virtual std::unique_ptr<IStatusBarPeer> CreateStatusBar(TStatusBar& control, IControlPeer& parent) = 0;
  virtual std::unique_ptr<IPicturePeer> CreatePicture(TGraphicControl& control, IControlPeer& parent) = 0;

  virtual std::unique_ptr<platform::IMessageWindow> CreateMessageWindow(platform::TWindowProc proc) = 0;
  // Waits for the next message and dispatches it.
  virtual void HandleMessage() = 0;
  // Dispatches every pending message and returns.
  virtual void ProcessMessages() = 0;
  // Modal message box; flags and result use the Windows MB_ / ID numbers.
  virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  virtual TRect DesktopRect() = 0;
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
