// Hidden windows for timers and posted messages (see MessageWindow.h).
#include "widgetset/win32/MessageWindow.h"

#include <windows.h>

#undef PostMessage
#undef SendMessage

namespace widgetset::win32 {

namespace {

constexpr const wchar_t* ClassName = L"BriskoMessageWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (msg == WM_TIMER || msg >= WM_USER) {
    if (auto* self = reinterpret_cast<TMessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
      self->Deliver(msg, wParam, lParam);
      return 0;
    }
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

void TMessageWindow::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = ClassName;
  RegisterClassExW(&wc);
}

void TMessageWindow::UnregisterWindowClass(HINSTANCE instance) { UnregisterClassW(ClassName, instance); }

TMessageWindow::TMessageWindow(HINSTANCE instance, platform::TWindowProc proc) : FProc(std::move(proc)) {
  FHandle = CreateWindowExW(WS_EX_TOOLWINDOW, ClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this);
}

TMessageWindow::~TMessageWindow() {
  if (!FHandle) return;
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
  DestroyWindow(FHandle);
}

void TMessageWindow::SetTimer(uintptr_t id, uint32_t periodMs) { ::SetTimer(FHandle, id, periodMs, nullptr); }

void TMessageWindow::KillTimer(uintptr_t id) { ::KillTimer(FHandle, id); }

void TMessageWindow::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  PostMessageW(FHandle, msg, wParam, lParam);
}

void TMessageWindow::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  SendMessageW(FHandle, msg, wParam, lParam);
}

void TMessageWindow::Deliver(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  // A copy: the owner may destroy this object, and with it FProc, while its procedure runs.
  const platform::TWindowProc proc = FProc;
  proc(msg, wParam, lParam);
}

}  // namespace widgetset::win32
