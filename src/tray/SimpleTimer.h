// Light timers that are not components: every timer of the program runs as a window-message timer on
// one shared hidden window, made with the first timer and destroyed with the last. A timer is
// stopped, running, or suspended (wanted running while its period is 0 or it has no tick handler).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_set>

#include "platform/MessageWindow.h"
#include "base/Classes.h"

class TSimpleTimer;

// The shared hidden window and the count of the timers on it.
class TSimpleTimerHandler {
public:
  TSimpleTimerHandler();
  uint32_t UserCount = 0;
  std::unique_ptr<platform::IMessageWindow> TimerWindow;
  std::unordered_set<TSimpleTimer*> Timers;  // the live ones: a tick naming no live timer is ignored

private:
  void TimerWindowProc(uint32_t msg, uintptr_t wParam);
};

class TSimpleTimer : public TObject {
public:
  TSimpleTimer();
  static std::unique_ptr<TSimpleTimer> CreateWithPeriod(uint32_t period, TNotifyEvent onTick);
  ~TSimpleTimer() override;
  TSimpleTimer(const TSimpleTimer&) = delete;
  TSimpleTimer& operator=(const TSimpleTimer&) = delete;

  bool Active() const { return FActive; }
  void SetActive(bool value);
  uint32_t Period() const { return FPeriod; }
  void SetPeriod(uint32_t value);
  const TNotifyEvent& OnTick() const { return FOnTick; }
  void SetOnTick(TNotifyEvent value);

  // Starts (or restarts, with a full period) the platform timer; false when it does not run.
  bool StartTimer();
  // Kills the platform timer, clearing Active when disable; true when one was running.
  bool StopTimer(bool disable);

  uintptr_t TimerId() const { return reinterpret_cast<uintptr_t>(this); }

private:
  friend class TSimpleTimerHandler;
  bool FActive = false;
  bool FRunning = false;  // whether a platform timer runs (KillTimer's answer)
  uint32_t FPeriod = 1000;
  TNotifyEvent FOnTick;
};

// The shared handler while a timer lives (null otherwise); for tests.
TSimpleTimerHandler* SharedTimerHandler();
