// The canvas's raster conventions: excluded right and bottom edges and line end points, clipping,
// and the three ways of drawing one bitmap on another.
#include <gtest/gtest.h>

#include "gfx/Canvas.h"

namespace {

using gfx::Bitmap;
using gfx::Canvas;

TEST(CanvasTest, RectanglesAndLinesExcludeTheirFarEdge) {
  Bitmap b(10, 10, 0);
  Canvas c(b);
  c.Brush.Color = clWhite;
  c.FillRect({2, 2, 5, 4});
  EXPECT_EQ(b.Pixel(4, 3), 0xFFFFFFu);
  EXPECT_EQ(b.Pixel(5, 3), 0u);
  EXPECT_EQ(b.Pixel(4, 4), 0u);
  c.Pen.Color = clRed;
  c.MoveTo(0, 8);
  c.LineTo(6, 8);
  EXPECT_EQ(b.Pixel(5, 8), 0xFF0000u);
  EXPECT_EQ(b.Pixel(6, 8), 0u);
  c.LineTo(6, 0);  // goes on from the pen position
  EXPECT_EQ(b.Pixel(6, 8), 0xFF0000u);
  EXPECT_EQ(b.Pixel(6, 0), 0u);
}

TEST(CanvasTest, DrawingOutsideTheBitmapIsClipped) {
  Bitmap b(4, 4, 0);
  Canvas c(b);
  c.Brush.Color = clBlue;
  c.FillRect({-5, -5, 2, 100});
  EXPECT_EQ(b.Pixel(1, 3), 0x0000FFu);
  EXPECT_EQ(b.Pixel(2, 0), 0u);
  c.MoveTo(-3, 1);
  c.LineTo(40, 1);
  EXPECT_EQ(b.Pixel(3, 1), 0u);
  Bitmap big(9, 9, 0x123456);
  c.Draw(-2, -2, big);
  EXPECT_EQ(b.Pixel(3, 3), 0x123456u);
}

TEST(CanvasTest, CopyExclusiveOrAndTransparentDraws) {
  Bitmap target(3, 1, 0x00FF00);
  Bitmap source(3, 1, 0);
  source.SetPixel(0, 0, 0xFFFFFF);
  source.SetPixel(1, 0, 0xFF0000);
  Canvas c(target);
  c.Draw(0, 0, source, gfx::TCopyMode::Xor);
  EXPECT_EQ(target.Pixel(0, 0), 0xFF00FFu);  // white inverts
  EXPECT_EQ(target.Pixel(1, 0), 0xFFFF00u);
  EXPECT_EQ(target.Pixel(2, 0), 0x00FF00u);  // black leaves it
  c.DrawTransparent(0, 0, source, clBlack);
  EXPECT_EQ(target.Pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(target.Pixel(2, 0), 0x00FF00u);
  c.Draw(0, 0, source);
  EXPECT_EQ(target.Pixel(2, 0), 0u);
}

TEST(CanvasTest, SystemColoursResolveThroughTheClassicScheme) {
  EXPECT_EQ(gfx::ToPixel(clBtnFace), 0xD4D0C8u);
  EXPECT_EQ(gfx::ToPixel(clWindowFrame), 0u);
  EXPECT_EQ(gfx::ToPixel(RGB(1, 2, 3)), 0x010203u);
}

}  // namespace
