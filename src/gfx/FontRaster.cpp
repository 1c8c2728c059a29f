// The installed glyph source; without one, text has no extent and draws nothing.
#include "gfx/FontRaster.h"

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

}  // namespace

FontRaster& CurrentFontRaster() { return *Current; }
void SetFontRaster(FontRaster* raster) { Current = raster ? raster : &NoFonts; }

}  // namespace gfx
