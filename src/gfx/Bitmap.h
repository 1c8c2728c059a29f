// An off-screen 32-bit picture: Width × Height pixels of 0x00RRGGBB, rows top to bottom.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/Colors.h"

namespace gfx {

class Bitmap {
public:
  Bitmap() = default;
  Bitmap(int width, int height, TPixel fill = 0);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Resizing keeps nothing: the new picture is filled with black.
  void SetSize(int width, int height);

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }
  TPixel Pixel(int x, int y) const { return FPixels[static_cast<size_t>(y) * FWidth + x]; }
  void SetPixel(int x, int y, TPixel p) { FPixels[static_cast<size_t>(y) * FWidth + x] = p; }
  const TPixel* Row(int y) const { return FPixels.data() + static_cast<size_t>(y) * FWidth; }
  TPixel* Row(int y) { return FPixels.data() + static_cast<size_t>(y) * FWidth; }
  const std::vector<TPixel>& Pixels() const { return FPixels; }

  bool operator==(const Bitmap&) const = default;

private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<TPixel> FPixels;
};

}  // namespace gfx
