// Box glyphs over UTF-8 text.
#include "BoxFont.h"

#include <vector>

namespace {

std::vector<char32_t> Decode(std::string_view s) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    out.push_back(n == 1 ? b : 0x4E00);  // the value only matters for its width class
    i += n;
  }
  return out;
}

}  // namespace

int TBoxFontRaster::TextWidth(const gfx::TFontSpec& font, std::string_view utf8) {
  int w = 0;
  for (char32_t c : Decode(utf8)) w += CharWidth(font, c);
  return w;
}

gfx::TTextMask TBoxFontRaster::Render(const gfx::TFontSpec& font, std::string_view utf8) {
  gfx::TTextMask mask{TextWidth(font, utf8), TextHeight(font), {}};
  mask.Coverage.assign(static_cast<size_t>(mask.Width) * mask.Height, 0);
  int x0 = 0;
  for (char32_t c : Decode(utf8)) {
    const int w = CharWidth(font, c);
    if (c != U' ')
      for (int y = 1; y < mask.Height - 1; ++y)
        for (int x = x0 + 1; x < x0 + w - 1; ++x) mask.Coverage[static_cast<size_t>(y) * mask.Width + x] = 255;
    x0 += w;
  }
  return mask;
}
