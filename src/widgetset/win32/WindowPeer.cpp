// The Win32 peers' common part (see WindowPeer.h): window classes, creation, property translation,
// routing of notifications, and group box and panel containers.
#include "widgetset/win32/WindowPeer.h"

#include <algorithm>

#include "platform/win32/Utf16.h"
#include "widgetset/win32/FontRaster.h"

namespace widgetset::win32 {

const wchar_t* const FormClassName = L"BriskoForm";
const wchar_t* const ContainerClassName = L"BriskoContainer";
const wchar_t* const PictureClassName = L"BriskoPicture";

namespace {

constexpr const wchar_t* PeerProperty = L"Brisko.Peer";
constexpr UINT_PTR SubclassId = 1;

using platform::win32::Wide;

int Width(const TRect& r) { return std::max(r.Width(), 0); }
int Height(const TRect& r) { return std::max(r.Height(), 0); }

// The procedure of the set's own window classes.
LRESULT CALLBACK PeerWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetPropW(window, PeerProperty, create->lpCreateParams);
  }
  TWindowPeer* peer = TWindowPeer::FromHandle(window);
  if (msg == WM_NCDESTROY) {
    RemovePropW(window, PeerProperty);
    if (peer) peer->Detach();
    return DefWindowProcW(window, msg, wParam, lParam);
  }
  LRESULT result = 0;
  if (TWindowPeer::RouteChildMessage(msg, wParam, lParam, result)) return result;
  if (peer && (peer->InputMessage(msg, lParam, result) || peer->WindowMessage(msg, wParam, lParam, result))) return result;
  return DefWindowProcW(window, msg, wParam, lParam);
}

// Native controls are subclassed to learn of their destruction, to report focus and mouse input, and,
// when they host children (the status bar), to pass the children's notifications on.
LRESULT CALLBACK NativeSubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* peer = reinterpret_cast<TWindowPeer*>(data);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(window, NativeSubclassProc, SubclassId);
    RemovePropW(window, PeerProperty);
    if (peer->Handle() == window) peer->Detach();
    return DefSubclassProc(window, msg, wParam, lParam);
  }
  LRESULT result = 0;
  if (TWindowPeer::RouteChildMessage(msg, wParam, lParam, result)) return result;
  if (peer->Handle() == window && peer->InputMessage(msg, lParam, result)) return result;
  if (msg == WM_ERASEBKGND && peer->Handle() != window) {
    // A group box frame paints only its edge and caption; its inside is the container's background.
    RECT client;
    GetClientRect(window, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, peer->ControlColor(reinterpret_cast<HDC>(wParam)));
    return 1;
  }
  return DefSubclassProc(window, msg, wParam, lParam);
}

ATOM RegisterPeerClass(HINSTANCE instance, const wchar_t* name, UINT style, HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = PeerWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  wc.hIcon = nullptr;
  return RegisterClassExW(&wc);
}

}  // namespace

COLORREF ToColorRef(TColor color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  if (color == clNone) return GetSysColor(COLOR_BTNFACE);
  return color & 0x00FFFFFF;
}

void RegisterPeerClasses(HINSTANCE instance) {
  RegisterPeerClass(instance, FormClassName, CS_DBLCLKS, nullptr);
  RegisterPeerClass(instance, ContainerClassName, CS_DBLCLKS, nullptr);
  RegisterPeerClass(instance, PictureClassName, CS_DBLCLKS, nullptr);
}

void UnregisterPeerClasses(HINSTANCE instance) {
  for (const wchar_t* name : {FormClassName, ContainerClassName, PictureClassName}) UnregisterClassW(name, instance);
}

HWND ParentHandle(IControlPeer* parent) {
  auto* peer = dynamic_cast<TWindowPeer*>(parent);
  return peer ? peer->ClientHandle() : nullptr;
}

// TWindowPeer ---------------------------------------------------------------------------------

TWindowPeer::TWindowPeer(IPeerHost& widgets, TControl& control) : FWidgets(widgets), FControl(control) {}

TWindowPeer::~TWindowPeer() {
  if (!FHandle) return;
  HWND window = FHandle;
  Detach();
  DestroyWindow(window);
}

void TWindowPeer::Detach() {
  if (FHandle) RemovePropW(FHandle, PeerProperty);
  FHandle = nullptr;
}

TWindowPeer* TWindowPeer::FromHandle(HWND window) {
  return window ? static_cast<TWindowPeer*>(GetPropW(window, PeerProperty)) : nullptr;
}

bool TWindowPeer::RouteChildMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (TWindowPeer* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        child->Notified(HIWORD(wParam));
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      TWindowPeer* child = header ? FromHandle(header->hwndFrom) : nullptr;
      return child && child->Notify(*header, result);
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (TWindowPeer* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        child->Scrolled();
        result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (TWindowPeer* child = FromHandle(reinterpret_cast<HWND>(lParam)))
        if (HBRUSH brush = child->ControlColor(reinterpret_cast<HDC>(wParam))) {
          result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      return false;
    default:
      return false;
  }
}

void TWindowPeer::Create(DWORD exStyle, const wchar_t* className, DWORD style, HWND parent) {
  const bool own = className == FormClassName || className == ContainerClassName || className == PictureClassName;
  FHandle = CreateWindowExW(exStyle, className, L"", style, 0, 0, 0, 0, parent, nullptr, FWidgets.Instance(),
                            own ? this : nullptr);
  if (!FHandle) return;
  if (!own) Adopt(FHandle);
  if (parent) SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWindowPeer::Adopt(HWND window) {
  SetPropW(window, PeerProperty, this);
  SetWindowSubclass(window, NativeSubclassProc, SubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void TWindowPeer::SetStyleBit(int which, LONG bit, bool on) {
  const LONG style = GetWindowLongW(FHandle, which);
  SetWindowLongW(FHandle, which, on ? style | bit : style & ~bit);
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWindowPeer::SetBounds(const TRect& r) {
  SetWindowPos(FHandle, nullptr, r.Left, r.Top, Width(r), Height(r), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWindowPeer::SetVisible(bool visible) { ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE); }

void TWindowPeer::SetEnabled(bool enabled) { EnableWindow(FHandle, enabled); }

void TWindowPeer::SetText(const std::string& text) { SetWindowTextW(FHandle, Wide(text).c_str()); }

void TWindowPeer::SetFont(const gfx::TFontSpec& font) {
  FTextColor = ToColorRef(font.Color);
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FWidgets.Fonts().Font(font)), TRUE);
}

void TWindowPeer::SetColor(TColor color) {
  FColor = color;
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TWindowPeer::SetFocus() { ::SetFocus(FHandle); }

HBRUSH TWindowPeer::ControlColor(HDC dc) {
  SetTextColor(dc, FTextColor);
  SetBkColor(dc, ToColorRef(FColor));
  return FWidgets.Brush(FColor);
}

bool TWindowPeer::WindowMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg != WM_ERASEBKGND) return false;
  RECT client;
  GetClientRect(FHandle, &client);
  FillRect(reinterpret_cast<HDC>(wParam), &client, FWidgets.Brush(FColor));
  result = 1;
  return true;
}

bool TWindowPeer::InputMessage(UINT msg, LPARAM lParam, LRESULT& result) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  switch (msg) {
    case WM_SETFOCUS:
      FControl.UserFocused();
      return false;
    case WM_LBUTTONDOWN:
      if (!FReportsMouse) return false;
      SetCapture(FHandle);
      FControl.UserMouseDown(x, y);
      return false;
    case WM_LBUTTONUP:
      if (!FReportsMouse) return false;
      if (GetCapture() == FHandle) ReleaseCapture();
      FControl.UserMouseUp(x, y);
      return false;
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT || !FWidgets.OverrideCursor()) return false;
      ::SetCursor(FWidgets.OverrideCursor());
      result = TRUE;
      return true;
    default:
      return false;
  }
}

// TContainerPeer ------------------------------------------------------------------------------

TContainerPeer::TContainerPeer(IPeerHost& widgets, TWinControl& control, HWND parent, bool groupFrame)
    : TWindowPeer(widgets, control) {
  Create(WS_EX_CONTROLPARENT, ContainerClassName, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, parent);
  if (!FHandle || !groupFrame) return;
  FFrame = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0, 0, 0,
                           FHandle, nullptr, FWidgets.Instance(), nullptr);
  if (!FFrame) return;
  Adopt(FFrame);
  // Beneath the box's children, so that it never paints over them.
  SetWindowPos(FFrame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TContainerPeer::SetBounds(const TRect& r) {
  TWindowPeer::SetBounds(r);
  if (FFrame) SetWindowPos(FFrame, nullptr, 0, 0, Width(r), Height(r), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void TContainerPeer::SetEnabled(bool enabled) {
  TWindowPeer::SetEnabled(enabled);
  if (FFrame) EnableWindow(FFrame, enabled);  // the frame's caption greys with the box
}

void TContainerPeer::SetText(const std::string& text) {
  // A panel's caption is not shown (the program's panel has none).
  if (FFrame) SetWindowTextW(FFrame, Wide(text).c_str());
}

void TContainerPeer::SetFont(const gfx::TFontSpec& font) {
  FTextColor = ToColorRef(font.Color);
  if (FFrame) SendMessageW(FFrame, WM_SETFONT, reinterpret_cast<WPARAM>(FWidgets.Fonts().Font(font)), TRUE);
}

void TContainerPeer::SetColor(TColor color) {
  FColor = color;
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool TContainerPeer::WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_PRINTCLIENT) {
    // Themed controls ask their parent for the background under them this way.
    RECT client;
    GetClientRect(FHandle, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, FWidgets.Brush(FColor));
    result = 0;
    return true;
  }
  return TWindowPeer::WindowMessage(msg, wParam, lParam, result);
}

}  // namespace widgetset::win32
