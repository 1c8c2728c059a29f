// A deterministic font for tests: every character is a cell of fixed size (half width for ASCII),
// drawn as a filled box one pixel inside the cell, so text extents and pixels are predictable.
#pragma once
#include "gfx/FontRaster.h"

class TBoxFontRaster : public gfx::FontRaster {
public:
  int TextWidth(const gfx::TFontSpec& font, std::string_view utf8) override;
  int TextHeight(const gfx::TFontSpec& font) override { return font.PixelSize; }
  gfx::TTextMask Render(const gfx::TFontSpec& font, std::string_view utf8) override;
  static int CharWidth(const gfx::TFontSpec& font, char32_t c) { return c < 0x80 ? font.PixelSize / 2 : font.PixelSize; }
};

// Installs the box font for the lifetime of the object.
class TBoxFontScope {
public:
  TBoxFontScope() { gfx::SetFontRaster(&FRaster); }
  ~TBoxFontScope() { gfx::SetFontRaster(nullptr); }

private:
  TBoxFontRaster FRaster;
};
