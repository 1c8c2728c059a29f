// The Win32 widget set (see WidgetSet.h): the peer factories, the message loop, message boxes, the
// cursor and the desktop's work area.
#include "widgetset/win32/WidgetSet.h"

#include "platform/win32/Utf16.h"
#include "ui/Forms.h"
#include "widgetset/win32/FontRaster.h"
#include "widgetset/win32/MessageWindow.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

// The peer factories, one per control kind, each in the kind's own peer file.
std::unique_ptr<IPeer> MakeFormPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeLabelPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeEditPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeGroupBoxPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakePanelPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeButtonPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeCheckBoxPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeComboBoxPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeListBoxPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeTrackBarPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeStatusBarPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakePicturePeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakePageControlPeer(IPeerHost&, TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeTabSheetPeer(IPeerHost&, TComponent&, IControlPeer*);

namespace {

// Tab and Enter in a window of the program go to its form, which decides what they do.
bool GiveKeyToForm(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.wParam != VK_TAB && msg.wParam != VK_RETURN)) return false;
  TWindowPeer* peer = TWindowPeer::FromHandle(GetAncestor(msg.hwnd, GA_ROOT));
  auto* form = peer ? dynamic_cast<TCustomForm*>(&peer->Control()) : nullptr;
  if (!form) return false;
  const unsigned shift = GetKeyState(VK_SHIFT) < 0 ? ShiftState::Shift : 0;
  return form->UserKeyDown(msg.wParam == VK_TAB ? TKey::Tab : TKey::Return, shift);
}

void Dispatch(const MSG& msg) {
  if (GiveKeyToForm(msg)) return;
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
  Add<IFormPeer>(MakeFormPeer);
  Add<ILabelPeer>(MakeLabelPeer);
  Add<IEditPeer>(MakeEditPeer);
  Add<IGroupBoxPeer>(MakeGroupBoxPeer);
  Add<IPanelPeer>(MakePanelPeer);
  Add<IButtonPeer>(MakeButtonPeer);
  Add<ICheckBoxPeer>(MakeCheckBoxPeer);
  Add<IComboBoxPeer>(MakeComboBoxPeer);
  Add<IListBoxPeer>(MakeListBoxPeer);
  Add<ITrackBarPeer>(MakeTrackBarPeer);
  Add<IStatusBarPeer>(MakeStatusBarPeer);
  Add<IPicturePeer>(MakePicturePeer);
  Add<IPageControlPeer>(MakePageControlPeer);
  Add<ITabSheetPeer>(MakeTabSheetPeer);
}

TWidgetSet::~TWidgetSet() {
  FMenuOwner.reset();
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

int TWidgetSet::PopupMenu(const std::vector<TMenuEntry>& entries, TPoint at) {
  if (!FMenuOwner) FMenuOwner = CreateMessageWindow([](uint32_t, uintptr_t, intptr_t) {});
  return win32::PopupMenu(static_cast<TMessageWindow&>(*FMenuOwner).Handle(), entries, at);
}

uint32_t TWidgetSet::TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

TPoint TWidgetSet::CursorPos() {
  POINT at{0, 0};
  GetCursorPos(&at);
  return {at.x, at.y};
}

unsigned TWidgetSet::KeyboardShiftState() {
  const auto down = [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; };
  return (down(VK_SHIFT) ? ShiftState::Shift : 0) | (down(VK_CONTROL) ? ShiftState::Ctrl : 0) |
         (down(VK_MENU) ? ShiftState::Alt : 0);
}

uint32_t TWidgetSet::DoubleClickTime() { return GetDoubleClickTime(); }

}  // namespace widgetset::win32
