// A hidden window that receives timer ticks and posted messages on the user-interface thread.
#pragma once
#include <cstdint>
#include <functional>

namespace platform {

constexpr uint32_t WmTimer = 0x0113;  // wParam carries the timer's id
constexpr uint32_t WmUser = 0x0400;

using TWindowProc = std::function<void(uint32_t msg, uintptr_t wParam, intptr_t lParam)>;

class IMessageWindow {
public:
  virtual ~IMessageWindow() = default;  // kills its timers and drops pending messages
  // Starts or restarts timer id; the window procedure gets WmTimer with wParam = id every period.
  virtual void SetTimer(uintptr_t id, uint32_t periodMs) = 0;
  virtual void KillTimer(uintptr_t id) = 0;
  virtual void PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
  // Delivers a message to the window procedure now, before returning.
  virtual void SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
};

}  // namespace platform
