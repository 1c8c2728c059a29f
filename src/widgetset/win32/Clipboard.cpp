// The clipboard through the user32 calls, owned by the program's hidden window.
#include "widgetset/win32/Clipboard.h"

#include "widgetset/win32/MessageWindow.h"
#include "widgetset/win32/PeerHost.h"

#include <windows.h>

namespace widgetset::win32 {

TClipboard::TClipboard(IPeerHost& widgets) : FOwner(widgets.CreateMessageWindow([](uint32_t, uintptr_t, intptr_t) {})) {}

bool TClipboard::Open() { return OpenClipboard(static_cast<TMessageWindow&>(*FOwner).Handle()) != FALSE; }

void TClipboard::Empty() { EmptyClipboard(); }

void TClipboard::Close() { CloseClipboard(); }

}  // namespace widgetset::win32
