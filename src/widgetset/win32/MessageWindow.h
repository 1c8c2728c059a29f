// Message windows on Windows: a hidden top-level window per IMessageWindow (not a message-only window,
// which would miss broadcasts such as "TaskbarCreated"). SetTimer/KillTimer → the window's timers,
// PostMessage → PostMessageW, SendMessage → SendMessageW; WM_TIMER and every message from WM_USER up
// (the notification area's callbacks, registered messages such as "TaskbarCreated") reach the owner's
// procedure.
#pragma once
#include "platform/MessageWindow.h"

struct HWND__;
struct HINSTANCE__;

namespace widgetset::win32 {

class TMessageWindow : public platform::IMessageWindow {
public:
  // Registers the window class once per instance; call before the first window is made.
  static void RegisterWindowClass(HINSTANCE__* instance);
  static void UnregisterWindowClass(HINSTANCE__* instance);

  TMessageWindow(HINSTANCE__* instance, platform::TWindowProc proc);
  // Destroying the window kills its timers and drops the messages posted to it.
  ~TMessageWindow() override;
  TMessageWindow(const TMessageWindow&) = delete;
  TMessageWindow& operator=(const TMessageWindow&) = delete;

  void SetTimer(uintptr_t id, uint32_t periodMs) override;
  void KillTimer(uintptr_t id) override;
  void PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  void SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  HWND__* Handle() const { return FHandle; }
  // Called by the window procedure; runs the owner's procedure, which may destroy this object.
  void Deliver(uint32_t msg, uintptr_t wParam, intptr_t lParam);

private:
  platform::TWindowProc FProc;
  HWND__* FHandle = nullptr;
};

}  // namespace widgetset::win32
