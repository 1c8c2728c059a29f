// Glyphs from Qt: the framework's font descriptions as QFonts (with Song-style and sans substitutes for
// the Windows faces the program names) and the canvas's text masks, thresholded to 0 or 255.
// Widgets and the canvas use the same QFont for the same description, so measured text fits drawn text.
#pragma once
#include <QFont>

#include "gfx/FontRaster.h"

namespace widgetset::qt {

// Registers the substitutes for the Windows faces; needs no application object, idempotent.
void InstallFontSubstitutions();

// The QFont for a description. Song faces are asked for without antialiasing, as the Windows face is
// drawn from its bitmap strikes at these sizes.
QFont ToQFont(const gfx::TFontSpec& description);

class TFontRaster : public gfx::FontRaster {
public:
  int TextWidth(const gfx::TFontSpec& font, std::string_view utf8) override;
  int TextHeight(const gfx::TFontSpec& font) override;
  gfx::TTextMask Render(const gfx::TFontSpec& font, std::string_view utf8) override;
};

}  // namespace widgetset::qt
