// The installed glyph source; without one, text has no extent and draws nothing. Recently measured
// and rendered texts are remembered: a monitor draws the same few labels every second.
#include "gfx/FontRaster.h"

#include <deque>

namespace gfx {

namespace {

class TNoFontRaster : public FontRaster {
public:
  int TextWidth(const TFontSpec&, std::string_view) override { return 0; }
  int TextHeight(const TFontSpec&) override { return 0; }
  TTextMask Render(const TFontSpec&, std::string_view) override { return {}; }
};

TNoFontRaster NoFonts;
FontRaster* Current = &NoFonts;

constexpr size_t CachedTexts = 16;
std::deque<TRenderedText>& Cache() {
  static std::deque<TRenderedText> cache;
  return cache;
}

}  // namespace

FontRaster& CurrentFontRaster() { return *Current; }

void SetFontRaster(FontRaster* raster) {
  Current = raster ? raster : &NoFonts;
  Cache().clear();
}

const TRenderedText& RenderedText(const TFontSpec& font, std::string_view text) {
  std::deque<TRenderedText>& cache = Cache();
  for (const TRenderedText& entry : cache)
    if (entry.Font.Name == font.Name && entry.Font.PixelSize == font.PixelSize && entry.Font.Bold == font.Bold &&
        entry.Text == text)
      return entry;
  if (cache.size() == CachedTexts) cache.pop_front();
  FontRaster& raster = CurrentFontRaster();
  return cache.emplace_back(
      TRenderedText{font, std::string(text), raster.TextWidth(font, text), raster.TextHeight(font), raster.Render(font, text)});
}

}  // namespace gfx
