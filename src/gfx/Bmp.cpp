// Bitmap file decoding (see Bmp.h).
#include "gfx/Bmp.h"

#include <cstdlib>

namespace gfx {

namespace {

constexpr size_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;
constexpr int32_t MaxSide = 4096;  // 64 MiB of pixels at the most

uint32_t Read16(std::span<const uint8_t> d, size_t at) { return d[at] | (d[at + 1] << 8); }
uint32_t Read32(std::span<const uint8_t> d, size_t at) {
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}

}  // namespace

Bitmap DecodeBmp(std::span<const uint8_t> file) {
  if (file.size() < FileHeaderSize + InfoHeaderSize || file[0] != 'B' || file[1] != 'M') return {};
  const size_t pixels = Read32(file, 10);
  const auto width = static_cast<int32_t>(Read32(file, 18));
  const auto height = static_cast<int32_t>(Read32(file, 22));  // negative: rows top-down
  const uint32_t bits = Read16(file, 28), compression = Read32(file, 30);
  if (Read32(file, 14) < InfoHeaderSize || (bits != 24 && bits != 32) || compression != 0) return {};
  // The height is range-checked before std::abs, which INT32_MIN would overflow.
  if (width <= 0 || width > MaxSide || height == 0 || height < -MaxSide || height > MaxSide) return {};
  const int rows = std::abs(height);
  const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  if (pixels > file.size() || stride * static_cast<size_t>(rows) > file.size() - pixels) return {};
  Bitmap bitmap(width, rows);
  for (int y = 0; y < rows; ++y) {
    const uint8_t* row = file.data() + pixels + stride * static_cast<size_t>(height > 0 ? rows - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      const uint8_t* bgr = row + static_cast<size_t>(x) * (bits / 8);
      bitmap.SetPixel(x, y, (bgr[2] << 16) | (bgr[1] << 8) | bgr[0]);
    }
  }
  return bitmap;
}

}  // namespace gfx
