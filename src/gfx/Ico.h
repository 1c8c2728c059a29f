// Icon files (.ico): every image they hold, decoded from its device-independent bitmap (1, 4, 8, 24
// or 32 bits a pixel) with its transparency mask; scaling an icon image to another size. Every
// offset and size in the file is checked against the file.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/Bitmap.h"

namespace gfx {

// One image of an icon: its colours and its mask, transparent where the mask is non-zero (the AND
// mask of the Windows format: white is transparent).
struct TIconImage {
  Bitmap Color;
  Bitmap Mask;
  int BitCount = 32;  // colour depth in the file

  bool Empty() const { return Color.Width() == 0; }
  bool Transparent(int x, int y) const { return Mask.Pixel(x, y) != 0; }
  bool operator==(const TIconImage&) const = default;
};

constexpr TPixel MaskTransparent = 0xFFFFFF;

// The images of an icon file in file order; images stored as PNG, or damaged, are passed over.
std::vector<TIconImage> DecodeIco(std::span<const uint8_t> file);

// The image scaled to width × height: each target pixel takes the source area it covers, averaged
// over the area's opaque pixels; it is transparent when most of the area is.
TIconImage ScaleIcon(const TIconImage& image, int width, int height);

}  // namespace gfx
