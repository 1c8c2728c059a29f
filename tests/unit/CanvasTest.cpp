// The canvas's raster conventions: excluded right and bottom edges and line end points, clipping,
// and the three ways of drawing one bitmap on another.
#include <gtest/gtest.h>

#include <random>

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

// The row-span copies and fills against the pixel-by-pixel definition, at placements that clip on
// every side (and none), for every copy mode.
TEST(CanvasSpans, CopiesAndFillsEqualThePixelByPixelDefinition) {
  std::mt19937 random(7);
  const auto pixel = [&] { return static_cast<gfx::TPixel>(random() & 0xFFFFFF); };
  for (int round = 0; round < 200; ++round) {
    gfx::Bitmap source(1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 12));
    gfx::Bitmap target(1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 12));
    for (int y = 0; y < source.Height(); ++y)
      for (int x = 0; x < source.Width(); ++x) source.SetPixel(x, y, random() % 3 ? pixel() : 0xFF00FF);
    for (int y = 0; y < target.Height(); ++y)
      for (int x = 0; x < target.Width(); ++x) target.SetPixel(x, y, pixel());
    const int px = static_cast<int>(random() % 20) - 8, py = static_cast<int>(random() % 20) - 8;
    const int mode = round % 4;
    gfx::Bitmap expected = target;
    for (int y = 0; y < source.Height(); ++y)
      for (int x = 0; x < source.Width(); ++x) {
        if (!expected.Contains(px + x, py + y)) continue;
        const gfx::TPixel s = source.Pixel(x, y), t = expected.Pixel(px + x, py + y);
        const gfx::TPixel results[4] = {s, (s ^ t) & 0xFFFFFF, s == 0xFF00FF ? t : s, 0x00FF00};
        expected.SetPixel(px + x, py + y, results[mode]);
      }
    gfx::Canvas canvas(target);
    if (mode == 0) canvas.Draw(px, py, source);
    if (mode == 1) canvas.Draw(px, py, source, gfx::TCopyMode::Xor);
    if (mode == 2) canvas.DrawTransparent(px, py, source, RGB(255, 0, 255));
    if (mode == 3) {
      canvas.Brush.Color = clLime;
      canvas.FillRect({px, py, px + source.Width(), py + source.Height()});
    }
    ASSERT_EQ(target, expected) << "round " << round << " at " << px << "," << py;
  }
}
