// The seam between the framework and a widget set: one small interface per control kind, made by the
// widget set (WidgetSet.h). Peers translate property values into native calls and native input into
// the controls' User* sinks; they never decide.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/FontRaster.h"

class TComponent;
class TCustomForm;

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
