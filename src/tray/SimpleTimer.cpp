// Timers on one shared hidden window (see SimpleTimer.h); ticks enter the program through the
// application's dispatch point like every other message.
#include "tray/SimpleTimer.h"

#include "ui/Forms.h"

namespace {

std::unique_ptr<TSimpleTimerHandler> Shared;

void AcquireTimerHandler(TSimpleTimer* timer) {
  if (!Shared) Shared = std::make_unique<TSimpleTimerHandler>();
  ++Shared->UserCount;
  Shared->Timers.insert(timer);
}

void ReleaseTimerHandler(TSimpleTimer* timer) {
  if (!Shared) return;
  Shared->Timers.erase(timer);
  if (Shared->UserCount > 0) --Shared->UserCount;
  if (Shared->UserCount == 0) Shared.reset();
}

}  // namespace

TSimpleTimerHandler* SharedTimerHandler() { return Shared.get(); }

TSimpleTimerHandler::TSimpleTimerHandler()
    : TimerWindow(Application->WidgetSet().CreateMessageWindow(
          [this](uint32_t msg, uintptr_t wParam, intptr_t) { TimerWindowProc(msg, wParam); })) {}

void TSimpleTimerHandler::TimerWindowProc(uint32_t msg, uintptr_t wParam) {
  if (msg != platform::WmTimer) return;
  Application->Dispatch([this, wParam] {
    auto* timer = reinterpret_cast<TSimpleTimer*>(wParam);
    if (Timers.contains(timer) && timer->FOnTick) timer->FOnTick(timer);
  });
}

TSimpleTimer::TSimpleTimer() { AcquireTimerHandler(this); }

std::unique_ptr<TSimpleTimer> TSimpleTimer::CreateWithPeriod(uint32_t period, TNotifyEvent onTick) {
  auto timer = std::make_unique<TSimpleTimer>();
  timer->FPeriod = period;
  timer->SetOnTick(std::move(onTick));
  return timer;
}

TSimpleTimer::~TSimpleTimer() {
  if (FActive) StopTimer(true);
  ReleaseTimerHandler(this);
}

void TSimpleTimer::SetActive(bool value) {
  if (value) StartTimer();
  else StopTimer(true);
}

void TSimpleTimer::SetPeriod(uint32_t value) {
  if (value == FPeriod) return;
  FPeriod = value;
  if (!FActive) return;
  if (value != 0) StartTimer();
  else StopTimer(false);
}

void TSimpleTimer::SetOnTick(TNotifyEvent value) {
  FOnTick = std::move(value);
  if (!FOnTick && FActive) StopTimer(false);
}

bool TSimpleTimer::StartTimer() {
  if (FPeriod == 0) return false;
  if (FActive) StopTimer(true);
  Shared->TimerWindow->SetTimer(TimerId(), FPeriod);
  FRunning = true;
  FActive = true;
  return true;
}

bool TSimpleTimer::StopTimer(bool disable) {
  if (disable) FActive = false;
  const bool wasRunning = FRunning;
  Shared->TimerWindow->KillTimer(TimerId());
  FRunning = false;
  return wasRunning;
}
