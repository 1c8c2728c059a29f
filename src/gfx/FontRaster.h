// Glyphs for the canvas: a font described by name and pixel size, rendered to a coverage mask by
// whatever the widget set offers (Qt, GDI, or the test box font). Coverage is 0 or 255 (thresholded),
// so text drawn with exclusive-or inverts exactly.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Colors.h"

namespace gfx {

struct TFontSpec {
  std::string Name = "宋体";
  int PixelSize = 12;  // character (em) height in pixels
  bool Bold = false;
  TColor Color = clBlack;
  bool operator==(const TFontSpec&) const = default;
};

struct TTextMask {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Coverage;  // Width × Height, 0 or 255
};

class FontRaster {
public:
  virtual ~FontRaster() = default;
  virtual int TextWidth(const TFontSpec& font, std::string_view utf8) = 0;
  virtual int TextHeight(const TFontSpec& font) = 0;
  // A mask of TextWidth × TextHeight with the text's glyphs, top-left at (0, 0).
  virtual TTextMask Render(const TFontSpec& font, std::string_view utf8) = 0;
};

// The raster every canvas uses; installed by the widget set (or a test) before anything draws text.
FontRaster& CurrentFontRaster();
void SetFontRaster(FontRaster* raster);

// A text as the current raster measures and renders it (the colour plays no part).
struct TRenderedText {
  TFontSpec Font;
  std::string Text;
  int Width = 0, Height = 0;
  TTextMask Mask;
};
// From a small cache of the texts drawn last; valid until the next call or a new raster.
const TRenderedText& RenderedText(const TFontSpec& font, std::string_view text);

}  // namespace gfx
