// The Win32 widget set (see WidgetSet.h): peer creation, the message loop with Tab navigation in the
// framework's order, message boxes, the cursor and the desktop's work area.
#include "widgetset/win32/WidgetSet.h"

#include <vector>

#include "widgetset/win32/FontRaster.h"
#include "widgetset/win32/MessageWindow.h"
#include "widgetset/win32/Peers.h"
#include "platform/win32/System.h"

namespace widgetset::win32 {

namespace {

HWND ParentHandle(IControlPeer& parent) { return dynamic_cast<TWindowPeer&>(parent).ClientHandle(); }

bool IsFormWindow(HWND window) {
  wchar_t name[32];
  return GetClassNameW(window, name, 32) > 0 && lstrcmpW(name, FormClassName) == 0;
}

// The visible, enabled tab stops under parent in the order the controls were made: the reverse of the
// stacking order, since every new control goes on top of its siblings.
void CollectTabStops(HWND parent, std::vector<HWND>& stops) {
  HWND first = GetWindow(parent, GW_CHILD);
  for (HWND child = first ? GetWindow(first, GW_HWNDLAST) : nullptr; child; child = GetWindow(child, GW_HWNDPREV)) {
    if (!IsWindowVisible(child) || !IsWindowEnabled(child)) continue;
    if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) stops.push_back(child);
    if (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) CollectTabStops(child, stops);
  }
}

// Tab and Shift+Tab in the program's windows. IsDialogMessage would walk the stacking order, which
// here runs backwards.
bool MoveFocusOnTab(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || !IsFormWindow(root)) return false;
  std::vector<HWND> stops;
  CollectTabStops(root, stops);
  if (stops.empty()) return true;
  const bool backwards = GetKeyState(VK_SHIFT) < 0;
  HWND focus = GetFocus();
  size_t at = stops.size();
  for (size_t i = 0; i < stops.size(); ++i)
    if (stops[i] == focus || IsChild(stops[i], focus)) at = i;
  size_t next;
  if (at == stops.size()) next = backwards ? stops.size() - 1 : 0;
  else next = backwards ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
  SetFocus(stops[next]);
  return true;
}

void Dispatch(const MSG& msg) {
  if (MoveFocusOnTab(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

using platform::win32::Wide;

}  // namespace

TWidgetSet::TWidgetSet(HINSTANCE instance)
    : FInstance(instance ? instance : GetModuleHandleW(nullptr)), FFonts(std::make_unique<TFontRaster>()) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterPeerClasses(FInstance);
  TMessageWindow::RegisterWindowClass(FInstance);
  gfx::SetFontRaster(FFonts.get());
}

TWidgetSet::~TWidgetSet() {
  gfx::SetFontRaster(nullptr);
  TMessageWindow::UnregisterWindowClass(FInstance);
  UnregisterPeerClasses(FInstance);
  for (auto& [color, brush] : FBrushes) DeleteObject(brush);
}

HBRUSH TWidgetSet::Brush(TColor color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return GetSysColorBrush(static_cast<int>(color & 0xFF));
  if (auto found = FBrushes.find(color); found != FBrushes.end()) return found->second;
  HBRUSH brush = CreateSolidBrush(ToColorRef(color));
  FBrushes.emplace(color, brush);
  return brush;
}

std::unique_ptr<IFormPeer> TWidgetSet::CreateForm(TCustomForm& form) { return std::make_unique<TFormPeer>(*this, form); }

std::unique_ptr<IControlPeer> TWidgetSet::CreateLabel(TLabel& control, IControlPeer& parent) {
  return std::make_unique<TLabelPeer>(*this, control, ParentHandle(parent));
}

std::unique_ptr<IControlPeer> TWidgetSet::CreateEdit(TEdit& control, IControlPeer& parent) {
  return std::make_unique<TEditPeer>(*this, control, ParentHandle(parent));
}

std::unique_ptr<IControlPeer> TWidgetSet::CreateGroupBox(TGroupBox& control, IControlPeer& parent) {
  return std::make_unique<TContainerPeer>(*this, control, ParentHandle(parent), TContainerPeer::TKind::GroupBox);
}

std::unique_ptr<IControlPeer> TWidgetSet::CreatePanel(TPanel& control, IControlPeer& parent) {
  const auto kind = control.BorderStyle() == TBorderStyle::Single ? TContainerPeer::TKind::BorderedPanel
                                                                   : TContainerPeer::TKind::Panel;
  return std::make_unique<TContainerPeer>(*this, control, ParentHandle(parent), kind);
}

std::unique_ptr<IButtonPeer> TWidgetSet::CreateButton(TButton& control, IControlPeer& parent) {
  return std::make_unique<TButtonPeer>(*this, control, ParentHandle(parent));
}

std::unique_ptr<ICheckBoxPeer> TWidgetSet::CreateCheckBox(TCheckBox& control, IControlPeer& parent) {
  return std::make_unique<TCheckBoxPeer>(*this, control, ParentHandle(parent));
}

std::unique_ptr<IComboBoxPeer> TWidgetSet::CreateComboBox(TComboBox& control, IControlPeer& parent) {
  return std::make_unique<TComboBoxPeer>(*this, control, ParentHandle(parent));
}

std::unique_ptr<ITrackBarPeer> TWidgetSet::CreateTrackBar(TTrackBar& control, IControlPeer& parent) {
  return std::make_unique<TTrackBarPeer>(*this, control, ParentHandle(parent));
}

std::unique_ptr<IStatusBarPeer> TWidgetSet::CreateStatusBar(TStatusBar& control, IControlPeer& parent) {
  return std::make_unique<TStatusBarPeer>(*this, control, ParentHandle(parent));
}

std::unique_ptr<IPicturePeer> TWidgetSet::CreatePicture(TGraphicControl& control, IControlPeer& parent) {
  return std::make_unique<TPicturePeer>(*this, control, ParentHandle(parent));
}

std::unique_ptr<platform::IMessageWindow> TWidgetSet::CreateMessageWindow(platform::TWindowProc proc) {
  return std::make_unique<TMessageWindow>(FInstance, std::move(proc));
}

void TWidgetSet::QuitReceived() {
  FQuit = true;
  if (Application) Application->Terminate();
}

void TWidgetSet::HandleMessage() {
  // After WM_QUIT the queue may stay empty for good; waiting on it would never return.
  if (FQuit) {
    QuitReceived();
    return;
  }
  MSG msg;
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0) QuitReceived();
  else if (got > 0) Dispatch(msg);
}

void TWidgetSet::ProcessMessages() {
  MSG msg;
  while (!FQuit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) QuitReceived();
    else Dispatch(msg);
  }
}

int TWidgetSet::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  return MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(caption).c_str(), flags);
}

void TWidgetSet::SetCursor(TCursor cursor) {
  switch (cursor) {
    case TCursor::Default: FOverrideCursor = nullptr; break;
    case TCursor::HourGlass: FOverrideCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)); break;
    case TCursor::Arrow: FOverrideCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)); break;
  }
  if (FOverrideCursor) {
    ::SetCursor(FOverrideCursor);
    return;
  }
  // Back to each window's own cursor: let the window under the mouse choose it again.
  POINT at;
  HWND under = GetCursorPos(&at) ? WindowFromPoint(at) : nullptr;
  if (under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId())
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

TRect TWidgetSet::DesktopRect() {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return {area.left, area.top, area.right, area.bottom};
}

}  // namespace widgetset::win32
