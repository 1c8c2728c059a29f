// The notification area on Windows: Shell_NotifyIconW with the callback message on the icon's hidden
// window, icons made from the framework's images, and pop-up menus with TrackPopupMenu.
#pragma once
#include <map>
#include <vector>

#include "ui/WidgetSet.h"

struct HICON__;
struct HWND__;

namespace widgetset::win32 {

class TNotifyArea {
public:
  ~TNotifyArea();
  // The shell's NIM_ADD, NIM_MODIFY or NIM_DELETE; the icon handle lives until the next call for
  // the same icon replaces it.
  bool Call(TNotifyIconOp op, const TNotifyIconData& data);

private:
  std::map<uintptr_t, HICON__*> FIcons;
};

// TrackPopupMenu owned by a hidden window of the program: SetForegroundWindow before (so that a click
// elsewhere closes the menu), WM_NULL after (so that the next one opens at once).
int PopupMenu(HWND__* owner, const std::vector<TMenuEntry>& entries, TPoint at);

}  // namespace widgetset::win32
