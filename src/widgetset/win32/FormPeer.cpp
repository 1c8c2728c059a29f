// Windows: the set's own top-level window class, the frame from the border style and icons, the
// icons from the .ico bytes; the close box, activation and the frame go to the form, which decides.
#include <vector>

#include "ui/Forms.h"
#include "ui/Graphics.h"
#include "widgetset/win32/Icons.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

// The icon file's image closest to size (the smallest not below it, else the largest), as an icon of that size.
HICON IconFromFile(std::span<const uint8_t> ico, int size) {
  TIcon icon;
  icon.LoadFromIco(ico);
  const gfx::TIconImage* image = icon.ImageFor(size);
  return image ? MakeIcon(*image, size) : nullptr;
}

DWORD FormStyle(const TCustomForm& form) {
  DWORD style = WS_CLIPCHILDREN;
  switch (form.BorderStyle()) {
    case TFormBorderStyle::None: return style | WS_POPUP;
    case TFormBorderStyle::Single: style |= WS_CAPTION; break;
    case TFormBorderStyle::Sizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
  }
  const unsigned icons = form.BorderIcons();
  if (icons & BorderIcon::SystemMenu) {
    style |= WS_SYSMENU;
    if (icons & BorderIcon::Minimize) style |= WS_MINIMIZEBOX;
    if (icons & BorderIcon::Maximize) style |= WS_MAXIMIZEBOX;
  }
  return style;
}

class TFormPeer : public TWindowPeer, public IFormPeer {
public:
  TFormPeer(IPeerHost& widgets, TCustomForm& form) : TWindowPeer(widgets, form), FForm(form) {
    Create(0, FormClassName, FormStyle(form), nullptr);
  }

  ~TFormPeer() override {
    if (FBigIcon) DestroyIcon(FBigIcon);
    if (FSmallIcon) DestroyIcon(FSmallIcon);
  }

  void SetBounds(const TRect& r) override {
    // The bounds are the client area's; the frame goes around it.
    const TRect m = FrameExtents();
    SetWindowPos(FHandle, nullptr, r.Left - m.Left, r.Top - m.Top, r.Width() + m.Left + m.Right,
                 r.Height() + m.Top + m.Bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void SetVisible(bool visible) override { ShowWindow(FHandle, visible ? SW_SHOW : SW_HIDE); }
  void SetFont(const gfx::TFontSpec&) override {}

  void SetColor(TColor color) override {
    FColor = color;
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
  }

  void SetIcon(const TIconData& icon) override {
    HICON big = IconFromFile(icon.IcoFile, GetSystemMetrics(SM_CXICON));
    HICON small = IconFromFile(icon.IcoFile, GetSystemMetrics(SM_CXSMICON));
    SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (FBigIcon) DestroyIcon(FBigIcon);
    if (FSmallIcon) DestroyIcon(FSmallIcon);
    FBigIcon = big;
    FSmallIcon = small;
  }

  // The frame its style gives the window, known before it is shown.
  TRect FrameExtents() override {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(FHandle, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(FHandle, GWL_EXSTYLE)));
    return {-frame.left, -frame.top, frame.right, frame.bottom};
  }

  void Repaint() override {
    // Synchronous: the splash is painted before the message loop runs.
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }

  void SetMinimized(bool minimized) override { ShowWindow(FHandle, minimized ? SW_MINIMIZE : SW_RESTORE); }
  void BringToFront() override { SetForegroundWindow(FHandle); }

  bool WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (msg) {
      case WM_CLOSE:
        // The framework decides whether the window goes; DefWindowProc would destroy it.
        FForm.UserClosed();
        result = 0;
        return true;
      case WM_ACTIVATE:
        // DefWindowProc gives the window itself the focus; the form then moves it to its control.
        result = DefWindowProcW(FHandle, msg, wParam, lParam);
        if (LOWORD(wParam) == WA_INACTIVE)
          FForm.UserDeactivated();
        else
          FForm.UserActivated();
        return true;
      case WM_SYSCOMMAND:
      case WM_SIZE:
      case WM_SHOWWINDOW:
        if (FormHandles(msg, wParam, lParam, result)) return true;
        return TWindowPeer::WindowMessage(msg, wParam, lParam, result);
      default:
        if (msg == FWidgets.TaskbarCreatedMessage()) FormHandles(msg, wParam, lParam, result);
        return TWindowPeer::WindowMessage(msg, wParam, lParam, result);
    }
  }

private:
  // The messages a component may take over (minimising into the notification area); true when the
  // form's hooks handled the message.
  bool FormHandles(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    TMessage message{msg, wParam, lParam};
    bool handled = false;
    Application->Dispatch([&] { handled = FForm.UserWindowMessage(message); });
    result = message.Result;
    return handled;
  }

  TCustomForm& FForm;
  HICON FBigIcon = nullptr;
  HICON FSmallIcon = nullptr;
};

}  // namespace

std::unique_ptr<IPeer> MakeFormPeer(IPeerHost& widgets, TComponent& form, IControlPeer*) {
  return std::make_unique<TFormPeer>(widgets, static_cast<TCustomForm&>(form));
}

}  // namespace widgetset::win32
