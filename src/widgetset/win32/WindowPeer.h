// The base of the native Win32 peers: one window per control, created in its parent peer's window
// and stacked above the siblings made before it (later controls lie on top, as in the framework). A
// window property leads from a window back to its peer, so notifications that arrive at the parent
// (WM_COMMAND, WM_NOTIFY, WM_HSCROLL, WM_CTLCOLOR*) reach the child's peer, and from there the
// control's User* sinks. Each control kind's peer lives in its own file.
#pragma once
#include "ui/Controls.h"
#include "widgetset/win32/PeerHost.h"

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

// The window a new peer is made in: the client window of the parent control's peer.
HWND ParentHandle(IControlPeer* parent);

class TWindowPeer : public virtual IControlPeer {
public:
  TWindowPeer(IPeerHost& widgets, TControl& control);
  ~TWindowPeer() override;
  TWindowPeer(const TWindowPeer&) = delete;
  TWindowPeer& operator=(const TWindowPeer&) = delete;

  HWND Handle() const { return FHandle; }
  TControl& Control() const { return FControl; }
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
  void SetFocus() override;

  // Notifications about this control, received by its parent: WM_COMMAND codes, WM_NOTIFY records
  // (true with the answer in result when handled), scrolling.
  virtual void Notified(WORD /*code*/) {}
  virtual bool Notify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual void Scrolled() {}
  // WM_CTLCOLOR*: text in the font's colour on the control's colour.
  virtual HBRUSH ControlColor(HDC dc);
  // Messages to a window of the set's own classes; true when handled, with the answer in result.
  virtual bool WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Input to any control's window: focus, mouse (where reported) and the application's cursor.
  bool InputMessage(UINT msg, LPARAM lParam, LRESULT& result);
  // Called when the window is destroyed from outside (with its parent).
  void Detach();

protected:
  // Makes the window (with no size yet) and ties it to this peer. Child windows go on top of their
  // siblings; the set's own classes get the peer as their creation parameter.
  void Create(DWORD exStyle, const wchar_t* className, DWORD style, HWND parent);
  // Ties a further native window (a part of this control) to this peer.
  void Adopt(HWND window);
  // Left presses and releases go to the control, which decides what is a click (labels, pictures).
  void ReportMouse() { FReportsMouse = true; }
  // Sets or clears a style bit (GWL_STYLE or GWL_EXSTYLE) and has the frame drawn again.
  void SetStyleBit(int which, LONG bit, bool on);

  IPeerHost& FWidgets;
  TControl& FControl;
  HWND FHandle = nullptr;
  TColor FColor = clBtnFace;
  COLORREF FTextColor = 0;

private:
  bool FReportsMouse = false;
};

// Group boxes and panels: a container window of the set's own class, the parent of the children, so
// their positions are relative to the box. A group box shows a native BS_GROUPBOX frame beneath them.
class TContainerPeer : public TWindowPeer {
public:
  TContainerPeer(IPeerHost& widgets, TWinControl& control, HWND parent, bool groupFrame);

  void SetBounds(const TRect& bounds) override;
  void SetEnabled(bool enabled) override;
  void SetText(const std::string& text) override;
  void SetFont(const gfx::TFontSpec& font) override;
  void SetColor(TColor color) override;
  bool WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
  HWND FFrame = nullptr;
};

}  // namespace widgetset::win32
