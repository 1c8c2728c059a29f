// The manual clock: timers fall due at exact multiples of their period after they were set.
#include "ManualWidgetSet.h"
#include "ui/WindowsNumbers.h"

#include <limits>
#include <tuple>

class TManualWidgetSet::TWindow : public platform::IMessageWindow {
public:
  TWindow(TManualWidgetSet& owner, uint64_t id, platform::TWindowProc proc)
      : Owner(owner), Id(id), Proc(std::move(proc)) {
    Owner.FWindows[Id] = this;
  }
  ~TWindow() override {
    Owner.FWindows.erase(Id);
    std::erase_if(Owner.FPosted, [this](const auto& m) { return m.first == Id; });
  }
  void SetTimer(uintptr_t id, uint32_t periodMs) override { Timers[id] = {periodMs, Owner.FNow + periodMs}; }
  void KillTimer(uintptr_t id) override { Timers.erase(id); }
  void PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override {
    Owner.FPosted.push_back({Id, {msg, wParam, lParam}});
  }
  void SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override {
    const platform::TWindowProc proc = Proc;
    proc(msg, wParam, lParam);
  }

  struct TTimerState {
    uint32_t Period;
    uint64_t Due;
  };
  TManualWidgetSet& Owner;
  uint64_t Id;
  platform::TWindowProc Proc;
  std::map<uintptr_t, TTimerState> Timers;
};

TManualWidgetSet::TManualWidgetSet() = default;
TManualWidgetSet::~TManualWidgetSet() = default;

std::unique_ptr<platform::IMessageWindow> TManualWidgetSet::CreateMessageWindow(platform::TWindowProc proc) {
  return std::make_unique<TWindow>(*this, ++FSequence, std::move(proc));
}

bool TManualWidgetSet::FireNextDue(uint64_t limit) {
  TWindow* window = nullptr;
  uintptr_t timer = 0;
  uint64_t due = std::numeric_limits<uint64_t>::max();
  for (auto& [id, w] : FWindows)
    for (auto& [t, state] : w->Timers)
      if (state.Due < due) {
        due = state.Due;
        window = w;
        timer = t;
      }
  if (!window || due > limit) return false;
  FNow = due;
  auto& state = window->Timers[timer];
  state.Due += state.Period ? state.Period : 1;
  // The procedure may destroy the window; copy it out first.
  const platform::TWindowProc proc = window->Proc;
  proc(platform::WmTimer, timer, 0);
  return true;
}

void TManualWidgetSet::Advance(uint64_t ms) {
  ProcessMessages();
  const uint64_t target = FNow + ms;
  while (FireNextDue(target)) ProcessMessages();
  FNow = target;
}

void TManualWidgetSet::HandleMessage() {
  if (!FPosted.empty()) {
    auto [id, message] = FPosted.front();
    FPosted.pop_front();
    if (auto it = FWindows.find(id); it != FWindows.end()) {
      const platform::TWindowProc proc = it->second->Proc;
      std::apply(proc, message);
    }
    return;
  }
  FireNextDue(std::numeric_limits<uint64_t>::max());
}

void TManualWidgetSet::ProcessMessages() {
  ++ProcessMessagesCalls;
  while (!FPosted.empty()) HandleMessage();
}

int TManualWidgetSet::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  MessageBoxes.push_back({text, caption, flags});
  if (WhileMessageBoxOpen) WhileMessageBoxOpen();
  if (Answers.empty()) return IdOk;
  const int answer = Answers.front();
  Answers.pop_front();
  return answer;
}

size_t TManualWidgetSet::TimerCount() const {
  size_t n = 0;
  for (const auto& [id, w] : FWindows) n += w->Timers.size();
  return n;
}

int TManualWidgetSet::PopupMenu(const std::vector<TMenuEntry>& entries, TPoint at) {
  Menus.push_back({entries, at});
  if (WhileMenuOpen) WhileMenuOpen();
  if (MenuAnswers.empty()) return -1;
  const int answer = MenuAnswers.front();
  MenuAnswers.pop_front();
  return answer;
}

bool TManualWidgetSet::NotifyIcon(TNotifyIconOp op, const TNotifyIconData& data) {
  const bool present = TrayIcons.contains(data.Id);
  switch (op) {
    case TNotifyIconOp::Add:
      TrayCalls.push_back("add");
      if (present) return false;
      break;
    case TNotifyIconOp::Modify:
      TrayCalls.push_back("modify");
      if (!present) return false;
      break;
    case TNotifyIconOp::Delete:
      TrayCalls.push_back("delete");
      return TrayIcons.erase(data.Id) > 0;
  }
  TrayIcons[data.Id] = {data, data.Icon ? *data.Icon : gfx::TIconImage{}};
  TrayIcons[data.Id].Data.Icon = nullptr;
  return true;
}

void TManualWidgetSet::TrayMouse(uint32_t code) {
  // Copied first: a handler may add or remove icons.
  std::vector<TNotifyIconData> icons;
  for (const auto& [id, state] : TrayIcons) icons.push_back(state.Data);
  for (const TNotifyIconData& icon : icons) icon.Window->SendMessage(icon.CallbackMessage, icon.Id, code);
}
