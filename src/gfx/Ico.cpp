// Icon file decoding and icon scaling (see Ico.h).
#include "gfx/Ico.h"

#include <algorithm>
#include <cstring>

namespace gfx {

namespace {

constexpr size_t DirectoryEntrySize = 16;
constexpr uint32_t InfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr int MaxSide = 256;

uint32_t Read16(std::span<const uint8_t> d, size_t at) { return d[at] | (d[at + 1] << 8); }
uint32_t Read32(std::span<const uint8_t> d, size_t at) {
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}

// Bytes of one row of bits pixels, padded to whole 32-bit words.
size_t Stride(int width, int bits) { return (static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32 * 4; }

// The value of pixel x in a row of bits-sized pixels (bits 1, 4 or 8).
uint32_t PackedIndex(const uint8_t* row, int x, int bits) {
  const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bits);
  return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

// The blue-green-red entry of a palette of colours entries; an index past them (a file may list fewer
// colours than its bit depth can address) is black.
const uint8_t* PaletteEntry(std::span<const uint8_t> dib, size_t palette, uint32_t colours, uint32_t index) {
  static constexpr uint8_t Black[4] = {};
  return index < colours ? dib.data() + palette + static_cast<size_t>(index) * 4 : Black;
}

bool DecodeImage(std::span<const uint8_t> dib, TIconImage& image) {
  if (dib.size() < InfoHeaderSize || Read32(dib, 0) < InfoHeaderSize) return false;
  const auto width = static_cast<int32_t>(Read32(dib, 4));
  const auto doubledHeight = static_cast<int32_t>(Read32(dib, 8));
  const int bits = static_cast<int>(Read16(dib, 14));
  const uint32_t compression = Read32(dib, 16);
  const int height = doubledHeight / 2;
  if (width <= 0 || width > MaxSide || height <= 0 || height > MaxSide || compression != 0) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  uint32_t colours = bits <= 8 ? Read32(dib, 32) : 0;
  if (bits <= 8 && (colours == 0 || colours > (1u << bits))) colours = 1u << bits;
  const size_t palette = Read32(dib, 0), xor0 = palette + colours * 4;
  const size_t and0 = xor0 + Stride(width, bits) * static_cast<size_t>(height);
  if (palette > dib.size() || and0 + Stride(width, 1) * static_cast<size_t>(height) > dib.size()) return false;

  image.BitCount = bits;
  image.Color = Bitmap(width, height);
  image.Mask = Bitmap(width, height);
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    // Rows are stored bottom-up.
    const uint8_t* colourRow = dib.data() + xor0 + Stride(width, bits) * static_cast<size_t>(height - 1 - y);
    const uint8_t* maskRow = dib.data() + and0 + Stride(width, 1) * static_cast<size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const uint8_t* bgr = bits <= 8 ? PaletteEntry(dib, palette, colours, PackedIndex(colourRow, x, bits))
                                     : colourRow + static_cast<size_t>(x) * static_cast<size_t>(bits / 8);
      image.Color.SetPixel(x, y, (bgr[2] << 16) | (bgr[1] << 8) | bgr[0]);
      bool transparent = PackedIndex(maskRow, x, 1) != 0;
      if (bits == 32) {
        anyAlpha = anyAlpha || bgr[3] != 0;
        transparent = transparent || bgr[3] < 128;
      }
      image.Mask.SetPixel(x, y, transparent ? MaskTransparent : 0);
    }
  }
  // A 32-bit image whose alpha is all zero means its mask alone.
  if (bits == 32 && !anyAlpha)
    for (int y = 0; y < height; ++y) {
      const uint8_t* maskRow = dib.data() + and0 + Stride(width, 1) * static_cast<size_t>(height - 1 - y);
      for (int x = 0; x < width; ++x) image.Mask.SetPixel(x, y, PackedIndex(maskRow, x, 1) ? MaskTransparent : 0);
    }
  return true;
}

}  // namespace

std::vector<TIconImage> DecodeIco(std::span<const uint8_t> file) {
  std::vector<TIconImage> images;
  if (file.size() < 6 || Read16(file, 0) != 0 || Read16(file, 2) != 1) return images;
  const size_t count = Read16(file, 4);
  for (size_t i = 0; i < count && 6 + (i + 1) * DirectoryEntrySize <= file.size(); ++i) {
    const size_t entry = 6 + i * DirectoryEntrySize;
    const size_t size = Read32(file, entry + 8), offset = Read32(file, entry + 12);
    if (offset > file.size() || size > file.size() - offset) continue;
    TIconImage image;
    if (DecodeImage(file.subspan(offset, size), image)) images.push_back(std::move(image));
  }
  return images;
}

TIconImage ScaleIcon(const TIconImage& image, int width, int height) {
  TIconImage scaled{Bitmap(width, height), Bitmap(width, height), image.BitCount};
  const int sw = image.Color.Width(), sh = image.Color.Height();
  if (sw == 0 || sh == 0) return scaled;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int x0 = x * sw / width, x1 = std::max(x0 + 1, (x + 1) * sw / width);
      const int y0 = y * sh / height, y1 = std::max(y0 + 1, (y + 1) * sh / height);
      unsigned r = 0, g = 0, b = 0, opaque = 0, total = 0;
      for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx, ++total) {
          if (image.Transparent(sx, sy)) continue;
          const TPixel p = image.Color.Pixel(sx, sy);
          r += (p >> 16) & 0xFF;
          g += (p >> 8) & 0xFF;
          b += p & 0xFF;
          ++opaque;
        }
      if (opaque * 2 < total) {
        scaled.Mask.SetPixel(x, y, MaskTransparent);
        continue;
      }
      scaled.Color.SetPixel(x, y, ((r / opaque) << 16) | ((g / opaque) << 8) | (b / opaque));
    }
  return scaled;
}

}  // namespace gfx
