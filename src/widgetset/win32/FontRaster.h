// Glyphs from GDI for the canvas, and the fonts of the native controls: one HFONT per name, size and
// weight, created on first use and kept until the raster goes. Text is never antialiased: masks are
// GDI's glyphs thresholded to 0/255, so text drawn with exclusive-or inverts exactly, and the controls
// show the same crisp glyphs (the Song face's Latin letters turn grey and faint when smoothed).
#pragma once
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "gfx/FontRaster.h"

// The GDI handle types, declared as windows.h declares them, so this header needs no windows.h.
struct HFONT__;
struct HDC__;

namespace widgetset::win32 {

class TFontRaster : public gfx::FontRaster {
public:
  TFontRaster();
  ~TFontRaster() override;
  TFontRaster(const TFontRaster&) = delete;
  TFontRaster& operator=(const TFontRaster&) = delete;

  // Text that is not valid UTF-8 measures and renders as empty.
  int TextWidth(const gfx::TFontSpec& font, std::string_view utf8) override;
  int TextHeight(const gfx::TFontSpec& font) override;
  gfx::TTextMask Render(const gfx::TFontSpec& font, std::string_view utf8) override;

  // The font for native controls (its colour is the control's business).
  HFONT__* Font(const gfx::TFontSpec& font);

private:
  using TKey = std::tuple<std::string, int, bool>;  // name, pixel size, bold
  // Selects the glyph font into the memory DC.
  void Select(const gfx::TFontSpec& font);

  std::map<TKey, HFONT__*> FFonts;
  HDC__* FDC;
};

}  // namespace widgetset::win32
