// Icon handles from icon images (see Icons.h).
#include "widgetset/win32/Icons.h"

#include <windows.h>

#include <vector>

namespace widgetset::win32 {

HICON MakeIcon(const gfx::TIconImage& source, int side) {
  if (source.Empty()) return nullptr;
  const gfx::TIconImage image = gfx::ScaleIcon(source, side, side);
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = side;
  header.bV5Height = -side;  // top-down rows
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!colour) return nullptr;
  auto* pixels = static_cast<uint32_t*>(bits);
  // The mask rows are 16-bit aligned: one bit a pixel, set where transparent.
  const int maskStride = (side + 15) / 16 * 2;
  std::vector<BYTE> mask(static_cast<size_t>(maskStride * side), 0);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const bool transparent = image.Transparent(x, y);
      pixels[y * side + x] = transparent ? 0u : 0xFF000000u | image.Color.Pixel(x, y);
      if (transparent) mask[static_cast<size_t>(y * maskStride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
    }
  HBITMAP monochrome = CreateBitmap(side, side, 1, 1, mask.data());
  ICONINFO info{TRUE, 0, 0, monochrome, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(monochrome);
  DeleteObject(colour);
  return icon;
}

}  // namespace widgetset::win32
