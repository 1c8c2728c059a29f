// Drawing on a Bitmap with the raster conventions of the Windows graphics layer: rectangles exclude
// their right and bottom edges, lines exclude their end point, pies run counter-clockwise from the
// start point to the end point, and everything is clipped to the bitmap.
#pragma once
#include <string_view>

#include "gfx/Bitmap.h"
#include "gfx/FontRaster.h"

struct TPoint {
  int X = 0;
  int Y = 0;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

namespace gfx {

enum class TBrushStyle { Solid, Clear };
enum class TCopyMode { Copy, Xor };

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::Solid;
};

class Canvas {
public:
  explicit Canvas(Bitmap& target) : FTarget(target) {}

  TPen Pen;
  TBrush Brush;
  TFontSpec Font;

  Bitmap& Target() { return FTarget; }

  void FillRect(const TRect& r);                // brush colour, whatever the brush style
  void FrameRect(const TRect& r);               // one-pixel frame in the brush colour
  void Rectangle(int x1, int y1, int x2, int y2);  // pen outline, brush interior
  void MoveTo(int x, int y) { FPenPos = {x, y}; }
  void LineTo(int x, int y);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

  int TextWidth(std::string_view text);
  int TextHeight(std::string_view text);
  void TextOut(int x, int y, std::string_view text);
  // Text at (x, y) clipped to clip; the brush (unless clear) fills the clip rectangle first.
  void TextRect(const TRect& clip, int x, int y, std::string_view text);

  void Draw(int x, int y, const Bitmap& source, TCopyMode mode = TCopyMode::Copy);
  void DrawTransparent(int x, int y, const Bitmap& source, TColor transparent);

private:
  void Plot(int x, int y, TPixel p);
  void HorizontalSpan(int y, int x1, int x2, TPixel p);  // x1 .. x2 - 1
  void DrawText(const TRect& clip, int x, int y, std::string_view text, bool fillBackground);

  Bitmap& FTarget;
  TPoint FPenPos;
};

}  // namespace gfx
