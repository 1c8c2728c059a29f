// Colour resolution: system colours come from the classic Windows scheme (a fixed table).
#include "gfx/Colors.h"

#include <array>

namespace gfx {

namespace {
// COLOR_SCROLLBAR .. COLOR_MENUBAR of the classic scheme, as 0x00RRGGBB.
constexpr std::array<TPixel, 31> SystemPixels = {
    0xC8C8C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8,
    0x808080, 0x808080, 0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000,
    0xFFFFE1, 0xB5B5B5, 0x0000FF, 0xA6CAF0, 0xC0C0C0, 0x316AC5, 0xD4D0C8};
}  // namespace

TPixel ToPixel(TColor color) {
  if ((color & 0xFF000000u) == 0xFF000000u) {
    const uint32_t index = color & 0xFF;
    return index < SystemPixels.size() ? SystemPixels[index] : 0;
  }
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

TColor ColorToRGB(TColor color) {
  const TPixel p = ToPixel(color);
  return RGB(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p));
}

}  // namespace gfx
