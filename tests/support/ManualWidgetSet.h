// The headless widget set of the tests: no native peers (it registers no kinds), a message loop
// driven by a manual clock, message boxes that are recorded and answered from a script, and a
// recorded cursor.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/Peers.h"

class TManualWidgetSet : public TCustomWidgetSet {
public:
  struct TMessageBoxCall {
    std::string Text;
    std::string Caption;
    uint32_t Flags;
  };

  TManualWidgetSet();
  ~TManualWidgetSet() override;

  std::unique_ptr<platform::IMessageWindow> CreateMessageWindow(platform::TWindowProc proc) override;
  // Delivers one posted message, or else moves the clock to the next timer and fires it.
  void HandleMessage() override;
  void ProcessMessages() override;
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  void SetCursor(TCursor cursor) override { Cursors.push_back(cursor); }
  TRect DesktopRect() override { return Desktop; }

  // Moves the clock forward by ms, firing every timer that falls due, in time order.
  void Advance(uint64_t ms);
  uint64_t Now() const { return FNow; }
  // Number of live timers.
  size_t TimerCount() const;

  std::vector<TMessageBoxCall> MessageBoxes;
  std::deque<int> Answers;  // answers for coming message boxes; IdOk when empty
  // Runs while a message box is open, as the user takes time to answer it (the box's loop goes on).
  std::function<void()> WhileMessageBoxOpen;
  std::vector<TCursor> Cursors;
  TRect Desktop{0, 0, 1024, 768};
  int ProcessMessagesCalls = 0;

  class TWindow;

private:
  friend class TWindow;
  bool FireNextDue(uint64_t limit);
  uint64_t FNow = 0;
  uint64_t FSequence = 0;
  std::map<uint64_t, TWindow*> FWindows;  // by creation sequence, for a stable firing order
  std::deque<std::pair<uint64_t, std::tuple<uint32_t, uintptr_t, intptr_t>>> FPosted;
};
