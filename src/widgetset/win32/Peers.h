// The native peers of the Win32 widget set: one window per control, created in its parent peer's
// window and stacked above the siblings made before it (later controls lie on top, as in the
// framework). A window property leads from a window back to its peer, so notifications that arrive
// at the parent (WM_COMMAND, WM_HSCROLL, WM_CTLCOLOR*) reach the child's peer and its User* sinks.
#pragma once
#include "widgetset/win32/WidgetSet.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

#include <windows.h>
#include <commctrl.h>

// The framework's own names that windows.h turns into macros.
#undef MessageBox
#undef PostMessage
#undef TextOut
#undef DrawText

namespace widgetset::win32 {

// The framework's colours as GDI colours; system colours from the running system's scheme.
COLORREF ToColorRef(TColor color);

// Window classes of the set's own windows: forms, containers (group boxes, panels) and pictures.
extern const wchar_t* const FormClassName;
extern const wchar_t* const ContainerClassName;
extern const wchar_t* const PictureClassName;
void RegisterPeerClasses(HINSTANCE instance);
void UnregisterPeerClasses(HINSTANCE instance);

class TWindowPeer : public virtual IControlPeer {
public:
  TWindowPeer(TWidgetSet& widgets, TControl& control);
  ~TWindowPeer() override;
  TWindowPeer(const TWindowPeer&) = delete;
  TWindowPeer& operator=(const TWindowPeer&) = delete;

  HWND Handle() const { return FHandle; }
  // The window the children's windows are made in.
  virtual HWND ClientHandle() const { return FHandle; }
  static TWindowPeer* FromHandle(HWND window);
  // Gives a notification from a child window to the child's peer; false when it is not one.
  static bool RouteChildMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  void SetBounds(const TRect& bounds) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetText(const std::string& text) override;
  void SetFont(const gfx::TFontSpec& font) override;
  void SetColor(TColor color) override;

  // Notifications about this control, received by its parent.
  virtual void Notified(WORD /*code*/) {}
  virtual void Scrolled() {}
  // WM_CTLCOLOR*: text in the font's colour on the control's colour.
  virtual HBRUSH ControlColor(HDC dc);
  // Messages to the set's own window classes; true when handled, with the answer in result.
  virtual bool WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Called when the window is destroyed from outside (with its parent).
  void Detach();

protected:
  // Makes the window (with no size yet) and ties it to this peer. Child windows go on top of their
  // siblings; the set's own classes get the peer as their creation parameter.
  void Create(DWORD exStyle, const wchar_t* className, DWORD style, HWND parent);
  // Ties a further native window (a part of this control) to this peer.
  void Adopt(HWND window);

  TWidgetSet& FWidgets;
  TControl& FControl;
  HWND FHandle = nullptr;
  TColor FColor = clBtnFace;
  COLORREF FTextColor = 0;
};

class TFormPeer : public TWindowPeer, public IFormPeer {
public:
  TFormPeer(TWidgetSet& widgets, TCustomForm& form);
  ~TFormPeer() override;

  void SetBounds(const TRect& bounds) override;
  void SetVisible(bool visible) override;
  void SetFont(const gfx::TFontSpec&) override {}
  void SetColor(TColor color) override;
  void SetIcon(const TIconData& icon) override;
  void CenterOnDesktop() override;
  void Repaint() override;
  void SetMinimized(bool minimized) override;
  bool WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
  TCustomForm& FForm;
  HICON FBigIcon = nullptr;
  HICON FSmallIcon = nullptr;
};

// Group boxes and panels: a container window of the set's own class, the parent of the children, so
// their positions are relative to the box. A group box shows a native BS_GROUPBOX frame beneath them.
class TContainerPeer : public TWindowPeer {
public:
  enum class TKind { GroupBox, Panel, BorderedPanel };
  TContainerPeer(TWidgetSet& widgets, TWinControl& control, HWND parent, TKind kind);

  void SetBounds(const TRect& bounds) override;
  void SetText(const std::string& text) override;
  void SetFont(const gfx::TFontSpec& font) override;
  void SetColor(TColor color) override;
  bool WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
  HWND FFrame = nullptr;
};

class TLabelPeer : public TWindowPeer {
public:
  TLabelPeer(TWidgetSet& widgets, TLabel& control, HWND parent);
  void Notified(WORD code) override;
};

class TEditPeer : public TWindowPeer {
public:
  TEditPeer(TWidgetSet& widgets, TEdit& control, HWND parent);
};

class TButtonPeer : public TWindowPeer, public IButtonPeer {
public:
  TButtonPeer(TWidgetSet& widgets, TButton& control, HWND parent);
  void SetDefault(bool isDefault) override;
  void Notified(WORD code) override;
  HBRUSH ControlColor(HDC) override { return nullptr; }
};

class TCheckBoxPeer : public TWindowPeer, public ICheckBoxPeer {
public:
  TCheckBoxPeer(TWidgetSet& widgets, TCheckBox& control, HWND parent);
  void SetChecked(bool checked) override;
  void Notified(WORD code) override;

private:
  TCheckBox& FCheckBox;
};

class TComboBoxPeer : public TWindowPeer, public IComboBoxPeer {
public:
  TComboBoxPeer(TWidgetSet& widgets, TComboBox& control, HWND parent);
  void SetBounds(const TRect& bounds) override;
  void SetItems(const std::vector<std::string>& items) override;
  void SetItemIndex(int index) override;
  void Notified(WORD code) override;
  HBRUSH ControlColor(HDC) override { return nullptr; }

private:
  TComboBox& FComboBox;
  size_t FItemCount = 0;
};

class TTrackBarPeer : public TWindowPeer, public ITrackBarPeer {
public:
  TTrackBarPeer(TWidgetSet& widgets, TTrackBar& control, HWND parent);
  void SetRange(int min, int max) override;
  void SetPosition(int position) override;
  void SetFrequency(int frequency) override;
  void Scrolled() override;

private:
  TTrackBar& FTrackBar;
  // Set while a value is pushed, so the notifications the push causes are not taken for the user's.
  bool FPushing = false;
};

// The native status bar, placed by the framework (not by the bar itself), in the system's status-bar
// font drawn without smoothing like every other text; controls placed on it are child windows drawn
// over its panels.
class TStatusBarPeer : public TWindowPeer, public IStatusBarPeer {
public:
  TStatusBarPeer(TWidgetSet& widgets, TStatusBar& control, HWND parent);
  ~TStatusBarPeer() override;
  void SetText(const std::string&) override {}
  void SetFont(const gfx::TFontSpec&) override {}
  void SetPanels(const std::vector<TStatusPanelSpec>& panels) override;

private:
  HFONT FFont = nullptr;
};

// Shows the control's finished picture with SetDIBitsToDevice; what the picture does not cover is
// filled with the control's colour.
class TPicturePeer : public TWindowPeer, public IPicturePeer {
public:
  TPicturePeer(TWidgetSet& widgets, TGraphicControl& control, HWND parent);
  void SetText(const std::string&) override {}
  void SetFont(const gfx::TFontSpec&) override {}
  void SetPicture(const gfx::Bitmap& picture) override;
  bool WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
  void Paint(HDC dc);
  gfx::Bitmap FPicture;
  bool FPressed = false;
};

}  // namespace widgetset::win32
