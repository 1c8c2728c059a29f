// Graphic controls and images: the control's finished picture shown with SetDIBitsToDevice; what the
// picture does not cover is filled with the control's colour. Presses and releases go to the control.
#include "ui/Controls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

class TPicturePeer : public TWindowPeer, public IPicturePeer {
public:
  TPicturePeer(IPeerHost& widgets, TGraphicControl& control, HWND parent) : TWindowPeer(widgets, control) {
    Create(0, PictureClassName, WS_CHILD | WS_CLIPSIBLINGS, parent);
    ReportMouse();
  }

  void SetText(const std::string&) override {}
  void SetFont(const gfx::TFontSpec&) override {}

  void SetPicture(const gfx::Bitmap& picture, bool now) override {
    FPicture = picture;
    InvalidateRect(FHandle, nullptr, FALSE);
    if (now) UpdateWindow(FHandle);
  }

  bool WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
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
      default:
        return TWindowPeer::WindowMessage(msg, wParam, lParam, result);
    }
  }

private:
  void Paint(HDC dc) {
    const int saved = SaveDC(dc);
    RECT client;
    GetClientRect(FHandle, &client);
    const int width = FPicture.Width(), height = FPicture.Height();
    if (width > 0 && height > 0) {
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = width;
      info.bmiHeader.biHeight = -height;  // top-down: rows in the bitmap's order
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;  // 0x00RRGGBB pixels are the DIB's blue, green, red, unused bytes
      info.bmiHeader.biCompression = BI_RGB;
      SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                        static_cast<UINT>(height), FPicture.Pixels().data(), &info, DIB_RGB_COLORS);
      ExcludeClipRect(dc, 0, 0, width, height);
    }
    FillRect(dc, &client, FWidgets.Brush(FColor));
    RestoreDC(dc, saved);
  }

  gfx::Bitmap FPicture;
};

}  // namespace

std::unique_ptr<IPeer> MakePicturePeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TPicturePeer>(widgets, static_cast<TGraphicControl&>(control), ParentHandle(parent));
}

}  // namespace widgetset::win32
