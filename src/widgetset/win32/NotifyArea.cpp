// Notification icons and pop-up menus on Windows (see NotifyArea.h).
#include "widgetset/win32/NotifyArea.h"

#include "platform/win32/Utf16.h"
#include "widgetset/win32/Icons.h"
#include "widgetset/win32/MessageWindow.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

namespace widgetset::win32 {

TNotifyArea::~TNotifyArea() {
  for (const auto& [id, icon] : FIcons) DestroyIcon(icon);
}

bool TNotifyArea::Call(TNotifyIconOp op, const TNotifyIconData& data) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = static_cast<TMessageWindow*>(data.Window)->Handle();
  record.uID = static_cast<UINT>(data.Id);
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = data.CallbackMessage;
  record.hIcon = data.Icon ? MakeIcon(*data.Icon, GetSystemMetrics(SM_CXSMICON)) : nullptr;
  const std::wstring tip = platform::win32::Wide(data.Tip).substr(0, std::size(record.szTip) - 1);
  std::copy(tip.begin(), tip.end(), record.szTip);
  const DWORD message = op == TNotifyIconOp::Add ? NIM_ADD : op == TNotifyIconOp::Modify ? NIM_MODIFY : NIM_DELETE;
  const bool done = Shell_NotifyIconW(message, &record) != FALSE;
  // The shell keeps its own copy of the image: the previous handle of this icon can go.
  if (HICON previous = FIcons[data.Id]) DestroyIcon(previous);
  FIcons[data.Id] = record.hIcon;
  if (op == TNotifyIconOp::Delete) {
    if (record.hIcon) DestroyIcon(record.hIcon);
    FIcons.erase(data.Id);
  }
  return done;
}

int PopupMenu(HWND owner, const std::vector<TMenuEntry>& entries, TPoint at) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  for (size_t i = 0; i < entries.size(); ++i) {
    const TMenuEntry& entry = entries[i];
    UINT flags = entry.Separator ? MF_SEPARATOR : MF_STRING;
    if (entry.Checked) flags |= MF_CHECKED;
    if (!entry.Enabled) flags |= MF_GRAYED;
    // Command ids count from 1: TrackPopupMenu answers 0 for a dismissed menu.
    AppendMenuW(menu, flags, i + 1, entry.Separator ? nullptr : platform::win32::Wide(entry.Caption).c_str());
    if (entry.Default) SetMenuDefaultItem(menu, static_cast<UINT>(i), TRUE);
  }
  SetForegroundWindow(owner);
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.X, at.Y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
  return chosen - 1;
}

}  // namespace widgetset::win32
