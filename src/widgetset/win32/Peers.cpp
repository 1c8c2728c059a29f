// The native peers (see Peers.h): window creation, property translation, and the way back from
// native notifications to the controls' User* sinks.
#include "widgetset/win32/Peers.h"

#include <algorithm>
#include <vector>

#include "widgetset/win32/FontRaster.h"
#include "platform/win32/System.h"

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
  if (peer && peer->WindowMessage(msg, wParam, lParam, result)) return result;
  return DefWindowProcW(window, msg, wParam, lParam);
}

// Native controls are subclassed to learn of their destruction and, when they host children (the
// status bar), to pass the children's notifications on.
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

// The .ico image closest to size (the smallest not below it, else the largest), as an icon of that size.
HICON IconFromFile(std::span<const uint8_t> ico, int size) {
  const auto u16 = [&ico](size_t at) { return static_cast<uint32_t>(ico[at] | (ico[at + 1] << 8)); };
  const auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
  if (ico.size() < 6 || u16(0) != 0 || u16(2) != 1) return nullptr;
  const size_t count = u16(4);
  if (ico.size() < 6 + 16 * count) return nullptr;
  size_t best = count;
  int bestSize = 0;
  for (size_t i = 0; i < count; ++i) {
    const int side = ico[6 + 16 * i] == 0 ? 256 : ico[6 + 16 * i];  // 0 stands for 256
    const bool fits = side >= size;
    const bool bestFits = bestSize >= size;
    const bool better = best == count || (fits && (!bestFits || side < bestSize)) || (!fits && !bestFits && side > bestSize);
    if (better) {
      best = i;
      bestSize = side;
    }
  }
  if (best == count) return nullptr;
  const size_t length = u32(6 + 16 * best + 8);
  const size_t offset = u32(6 + 16 * best + 12);
  if (offset > ico.size() || length > ico.size() - offset) return nullptr;
  // A copy: the bytes may be the executable's read-only resource, and the call takes writable memory.
  std::vector<BYTE> image(ico.begin() + static_cast<std::ptrdiff_t>(offset),
                          ico.begin() + static_cast<std::ptrdiff_t>(offset + length));
  return CreateIconFromResourceEx(image.data(), static_cast<DWORD>(length), TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
}

DWORD FormStyle(const TCustomForm& form) {
  DWORD style = WS_CLIPCHILDREN;
  switch (form.BorderStyle()) {
    case TFormBorderStyle::None: return style | WS_POPUP;
    case TFormBorderStyle::Single: style |= WS_CAPTION; break;
    case TFormBorderStyle::Sizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
  }
  const unsigned icons = form.BorderIcons();
  if (icons & BorderIcon::SystemMenu) {
    style |= WS_SYSMENU;
    if (icons & BorderIcon::Minimize) style |= WS_MINIMIZEBOX;
    if (icons & BorderIcon::Maximize) style |= WS_MAXIMIZEBOX;
  }
  return style;
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

// TWindowPeer ---------------------------------------------------------------------------------

TWindowPeer::TWindowPeer(TWidgetSet& widgets, TControl& control) : FWidgets(widgets), FControl(control) {}

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

HBRUSH TWindowPeer::ControlColor(HDC dc) {
  SetTextColor(dc, FTextColor);
  SetBkColor(dc, ToColorRef(FColor));
  return FWidgets.Brush(FColor);
}

bool TWindowPeer::WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(FHandle, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, FWidgets.Brush(FColor));
      result = 1;
      return true;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && FWidgets.OverrideCursor()) {
        ::SetCursor(FWidgets.OverrideCursor());
        result = TRUE;
        return true;
      }
      return false;
    default:
      return false;
  }
}

// TFormPeer -----------------------------------------------------------------------------------

TFormPeer::TFormPeer(TWidgetSet& widgets, TCustomForm& form) : TWindowPeer(widgets, form), FForm(form) {
  Create(0, FormClassName, FormStyle(form), nullptr);
}

TFormPeer::~TFormPeer() {
  if (FBigIcon) DestroyIcon(FBigIcon);
  if (FSmallIcon) DestroyIcon(FSmallIcon);
}

void TFormPeer::SetBounds(const TRect& r) {
  // The bounds are the client area's; the frame goes around it.
  RECT frame{r.Left, r.Top, r.Left + Width(r), r.Top + Height(r)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(FHandle, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(FHandle, GWL_EXSTYLE)));
  SetWindowPos(FHandle, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormPeer::SetVisible(bool visible) { ShowWindow(FHandle, visible ? SW_SHOW : SW_HIDE); }

void TFormPeer::SetColor(TColor color) {
  FColor = color;
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void TFormPeer::SetIcon(const TIconData& icon) {
  HICON big = IconFromFile(icon.IcoFile, GetSystemMetrics(SM_CXICON));
  HICON small = IconFromFile(icon.IcoFile, GetSystemMetrics(SM_CXSMICON));
  SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (FBigIcon) DestroyIcon(FBigIcon);
  if (FSmallIcon) DestroyIcon(FSmallIcon);
  FBigIcon = big;
  FSmallIcon = small;
}

void TFormPeer::CenterOnDesktop() {
  const TRect desk = FWidgets.DesktopRect();
  RECT frame;
  GetWindowRect(FHandle, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(FHandle, nullptr, desk.Left + (desk.Width() - width) / 2, desk.Top + (desk.Height() - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormPeer::Repaint() {
  // Synchronous: the splash is painted before the message loop runs.
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TFormPeer::SetMinimized(bool minimized) { ShowWindow(FHandle, minimized ? SW_MINIMIZE : SW_RESTORE); }

bool TFormPeer::WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_CLOSE:
      // The framework decides whether the window goes; DefWindowProc would destroy it.
      FForm.UserClosed();
      result = 0;
      return true;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) FForm.UserDeactivated();
      else FForm.UserActivated();
      return false;  // DefWindowProc still gives the window the focus
    default:
      return TWindowPeer::WindowMessage(msg, wParam, lParam, result);
  }
}

// TContainerPeer ------------------------------------------------------------------------------

TContainerPeer::TContainerPeer(TWidgetSet& widgets, TWinControl& control, HWND parent, TKind kind)
    : TWindowPeer(widgets, control) {
  const DWORD border = kind == TKind::BorderedPanel ? WS_BORDER : 0;
  Create(WS_EX_CONTROLPARENT, ContainerClassName, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | border, parent);
  if (!FHandle || kind != TKind::GroupBox) return;
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

// Standard controls ---------------------------------------------------------------------------

TLabelPeer::TLabelPeer(TWidgetSet& widgets, TLabel& control, HWND parent) : TWindowPeer(widgets, control) {
  // No word wrap: a caption longer than the label is cut off, as a label without WordWrap shows it.
  Create(0, L"STATIC", WS_CHILD | WS_CLIPSIBLINGS | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, parent);
}

void TLabelPeer::Notified(WORD code) {
  if (code == STN_CLICKED) FControl.UserClicked();
}

TEditPeer::TEditPeer(TWidgetSet& widgets, TEdit& control, HWND parent) : TWindowPeer(widgets, control) {
  const DWORD readOnly = control.ReadOnly() ? ES_READONLY : 0;
  const DWORD edge = control.BorderStyle() == TBorderStyle::Single ? WS_EX_CLIENTEDGE : 0;
  Create(edge, L"EDIT", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | readOnly, parent);
}

TButtonPeer::TButtonPeer(TWidgetSet& widgets, TButton& control, HWND parent) : TWindowPeer(widgets, control) {
  Create(0, L"BUTTON", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON, parent);
}

void TButtonPeer::SetDefault(bool isDefault) {
  SendMessageW(FHandle, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButtonPeer::Notified(WORD code) {
  if (code == BN_CLICKED) FControl.UserClicked();
}

TCheckBoxPeer::TCheckBoxPeer(TWidgetSet& widgets, TCheckBox& control, HWND parent)
    : TWindowPeer(widgets, control), FCheckBox(control) {
  Create(0, L"BUTTON", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_AUTOCHECKBOX, parent);
}

void TCheckBoxPeer::SetChecked(bool checked) {
  SendMessageW(FHandle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBoxPeer::Notified(WORD code) {
  if (code == BN_CLICKED) FCheckBox.UserToggled(SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

TComboBoxPeer::TComboBoxPeer(TWidgetSet& widgets, TComboBox& control, HWND parent)
    : TWindowPeer(widgets, control), FComboBox(control) {
  Create(0, L"COMBOBOX", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, parent);
}

void TComboBoxPeer::SetBounds(const TRect& r) {
  // A drop-down list's window height includes the list it drops; the closed box keeps the font's height.
  const int items = static_cast<int>(std::clamp<size_t>(FItemCount, 1, 8));
  SetWindowPos(FHandle, nullptr, r.Left, r.Top, Width(r), Height(r) + items * Height(r) + 2, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBoxPeer::SetItems(const std::vector<std::string>& items) {
  SendMessageW(FHandle, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items)
    SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  FItemCount = items.size();
  SetBounds(FControl.BoundsRect());
}

void TComboBoxPeer::SetItemIndex(int index) { SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void TComboBoxPeer::Notified(WORD code) {
  if (code == CBN_SELCHANGE) FComboBox.UserSelected(static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0)));
}

TTrackBarPeer::TTrackBarPeer(TWidgetSet& widgets, TTrackBar& control, HWND parent)
    : TWindowPeer(widgets, control), FTrackBar(control) {
  Create(0, TRACKBAR_CLASSW, WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, parent);
}

void TTrackBarPeer::SetRange(int min, int max) {
  FPushing = true;
  SendMessageW(FHandle, TBM_SETRANGEMIN, FALSE, min);
  SendMessageW(FHandle, TBM_SETRANGEMAX, TRUE, max);
  FPushing = false;
}

void TTrackBarPeer::SetPosition(int position) {
  FPushing = true;
  SendMessageW(FHandle, TBM_SETPOS, TRUE, position);
  FPushing = false;
}

void TTrackBarPeer::SetFrequency(int frequency) { SendMessageW(FHandle, TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0); }

void TTrackBarPeer::Scrolled() {
  if (FPushing) return;
  FTrackBar.UserMovedTo(static_cast<int>(SendMessageW(FHandle, TBM_GETPOS, 0, 0)));
}

// TStatusBarPeer ------------------------------------------------------------------------------

TStatusBarPeer::TStatusBarPeer(TWidgetSet& widgets, TStatusBar& control, HWND parent) : TWindowPeer(widgets, control) {
  Create(0, STATUSCLASSNAMEW, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CCS_NOPARENTALIGN | CCS_NORESIZE, parent);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
  metrics.lfStatusFont.lfQuality = NONANTIALIASED_QUALITY;
  FFont = CreateFontIndirectW(&metrics.lfStatusFont);
  if (FFont) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);
}

TStatusBarPeer::~TStatusBarPeer() {
  // The bar goes first: it must not be left holding a deleted font.
  if (FHandle) {
    HWND window = FHandle;
    Detach();
    DestroyWindow(window);
  }
  if (FFont) DeleteObject(FFont);
}

void TStatusBarPeer::SetPanels(const std::vector<TStatusPanelSpec>& panels) {
  // SB_SETPARTS takes each part's right edge; the last part reaches the end of the bar.
  std::vector<int> edges;
  int right = 0;
  for (const TStatusPanelSpec& panel : panels) edges.push_back(right += panel.Width);
  if (edges.empty()) edges.push_back(0);
  edges.back() = -1;
  SendMessageW(FHandle, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (size_t i = 0; i < panels.size(); ++i) {
    const WPARAM part = i | (panels[i].RightToLeft ? SBT_RTLREADING : 0);
    SendMessageW(FHandle, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(Wide(panels[i].Text).c_str()));
  }
}

// TPicturePeer --------------------------------------------------------------------------------

TPicturePeer::TPicturePeer(TWidgetSet& widgets, TGraphicControl& control, HWND parent) : TWindowPeer(widgets, control) {
  Create(0, PictureClassName, WS_CHILD | WS_CLIPSIBLINGS, parent);
}

void TPicturePeer::SetPicture(const gfx::Bitmap& picture) {
  FPicture = picture;
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TPicturePeer::Paint(HDC dc) {
  const int saved = SaveDC(dc);
  RECT client;
  GetClientRect(FHandle, &client);
  const int width = FPicture.Width();
  const int height = FPicture.Height();
  if (width > 0 && height > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: rows in the bitmap's order
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;     // 0x00RRGGBB pixels are the DIB's blue, green, red, unused bytes
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), FPicture.Pixels().data(), &info, DIB_RGB_COLORS);
    ExcludeClipRect(dc, 0, 0, width, height);
  }
  FillRect(dc, &client, FWidgets.Brush(FColor));
  RestoreDC(dc, saved);
}

bool TPicturePeer::WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;  // WM_PAINT covers every pixel
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(FHandle, &paint);
      Paint(dc);
      EndPaint(FHandle, &paint);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    case WM_LBUTTONDOWN:
      FPressed = true;
      return false;
    case WM_LBUTTONUP:
      // A click is a press and a release over the picture.
      if (FPressed) {
        FPressed = false;
        RECT client;
        GetClientRect(FHandle, &client);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (PtInRect(&client, at)) FControl.UserClicked();
      }
      return false;
    default:
      return TWindowPeer::WindowMessage(msg, wParam, lParam, result);
  }
}

}  // namespace widgetset::win32
