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

#include "ui/WidgetSet.h"
#include "ui/WindowsNumbers.h"

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
  int PopupMenu(const std::vector<TMenuEntry>& entries, TPoint at) override;
  bool NotifyIcon(TNotifyIconOp op, const TNotifyIconData& data) override;
  bool NotifyAreaAvailable() override { return HasNotifyArea; }
  uint32_t TaskbarCreatedMessage() override { return TaskbarCreated; }
  TPoint CursorPos() override { return Cursor; }
  unsigned KeyboardShiftState() override { return Keys; }
  uint32_t DoubleClickTime() override { return DoubleClickMs; }

  // The desktop's side of a notification icon: sends its callback as the desktop would.
  void TrayMouse(uint32_t code);

  // Moves the clock forward by ms, firing every timer that falls due, in time order.
  void Advance(uint64_t ms);
  uint64_t Now() const { return FNow; }
  // Number of live timers, and of live message windows.
  size_t TimerCount() const;
  size_t WindowCount() const { return FWindows.size(); }

  std::vector<TMessageBoxCall> MessageBoxes;
  std::deque<int> Answers;  // answers for coming message boxes; IdOk when empty
  // Runs while a message box is open, as the user takes time to answer it (the box's loop goes on).
  std::function<void()> WhileMessageBoxOpen;
  std::vector<TCursor> Cursors;
  TRect Desktop{0, 0, 1024, 768};
  int ProcessMessagesCalls = 0;

  struct TMenuCall {
    std::vector<TMenuEntry> Entries;
    TPoint At;
  };
  std::vector<TMenuCall> Menus;
  std::deque<int> MenuAnswers;  // the entry chosen in coming menus; -1 (dismissed) when empty
  std::function<void()> WhileMenuOpen;

  // The notification area: the icons in it by id, and every call in order ("add", "modify", "delete").
  struct TTrayState {
    TNotifyIconData Data;
    gfx::TIconImage Icon;
  };
  std::map<uintptr_t, TTrayState> TrayIcons;
  std::vector<std::string> TrayCalls;
  bool HasNotifyArea = true;
  uint32_t TaskbarCreated = 0xC0DE;
  TPoint Cursor{900, 750};
  unsigned Keys = 0;
  uint32_t DoubleClickMs = 500;

  class TWindow;

private:
  friend class TWindow;
  bool FireNextDue(uint64_t limit);
  uint64_t FNow = 0;
  uint64_t FSequence = 0;
  std::map<uint64_t, TWindow*> FWindows;  // by creation sequence, for a stable firing order
  std::deque<std::pair<uint64_t, std::tuple<uint32_t, uintptr_t, intptr_t>>> FPosted;
};
