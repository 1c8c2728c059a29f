// The drawn notification icon with the box font (each character a filled box one pixel inside its
// cell): centring in the 15-pixel box, lines at carriage returns only, the key colour rules, the
// composition over a background icon, and what regenerates the picture.
#include <gtest/gtest.h>

#include "TestApplication.h"
#include "tray/TextTrayIcon.h"

namespace {

class TextTrayIconTest : public ::testing::Test {
protected:
  TTestApplication Env;
  TTextTrayIcon* Tray = new TTextTrayIcon(&Env.App);
  void SetUp() override {
    Tray->SetFont({"Box", 12, false, clRed});
    Tray->SetColor(clWhite);
  }
  gfx::TPixel At(int x, int y) const { return Tray->TextBitmap().Pixel(x, y); }
  static constexpr gfx::TPixel Red = 0xFF0000, White = 0xFFFFFF;
};

TEST_F(TextTrayIconTest, TextIsCentredInAFifteenPixelBoxAndLinesSplitAtCarriageReturns) {
  Tray->SetText("内");  // 12 × 12: the cell at (1, 1), its box from (2, 2) to (11, 11)
  EXPECT_EQ(At(1, 1), White);
  EXPECT_EQ(At(2, 2), Red);
  EXPECT_EQ(At(11, 11), Red);
  EXPECT_EQ(At(12, 12), White);

  Tray->SetFont({"Box", 10, false, clRed});
  Tray->SetText("abcd");  // 20 pixels wide: the first cell starts at x = -2 and is clipped
  EXPECT_EQ(At(0, 5), Red);
  EXPECT_EQ(At(2, 5), White);  // the gap between the first two boxes (x = -2 + 5 - 1 = 2)

  Tray->SetFont({"Box", 12, false, clRed});
  Tray->SetText("a\rb");  // line height 12: lines at y = -4 and 8
  EXPECT_EQ(At(5, 6), Red);    // the first box ends at y = -4 + 11 - 1 = 6
  EXPECT_EQ(At(5, 7), White);
  EXPECT_EQ(At(5, 9), Red);    // the second starts at y = 8 + 1
  EXPECT_EQ(TTextTrayIcon::SplitLines("a\r\nb\r"), (std::vector<std::string>{"a", "\nb", ""}));
}

TEST_F(TextTrayIconTest, TheKeyColourKeepsTheTextVisible) {
  Tray->SetText("x");
  EXPECT_EQ(Tray->KeyColor(), clNone);  // no background: an opaque square of Color
  ASSERT_EQ(Tray->Icon().Images().size(), 1u);
  EXPECT_EQ(Tray->Icon().Images()[0].Mask.Pixel(0, 0), 0u);
  Tray->SetColor(clRed);  // the font's colour: the key becomes its complement
  EXPECT_EQ(At(0, 0), 0x00FFFFu);
  Tray->SetColor(clNone);  // only the text stays visible
  EXPECT_EQ(Tray->KeyColor(), clAqua);
  EXPECT_NE(Tray->Icon().Images()[0].Mask.Pixel(0, 0), 0u);
  EXPECT_EQ(Tray->Icon().Images()[0].Mask.Pixel(7, 7), 0u);
}

TEST_F(TextTrayIconTest, OverABackgroundOnlyTheTextIsDrawnAndEveryWriteRegenerates) {
  TIcon background;
  background.SetImages({{gfx::Bitmap(32, 32, 0x0000FF), gfx::Bitmap(32, 32), 8}});
  Tray->SetBorder(true);
  Tray->SetBorderColor(clLime);
  Tray->SetBackgroundIcon(background);  // empty text: the background alone, framed
  const gfx::TIconImage& image = Tray->Icon().Images()[0];
  EXPECT_EQ(image.Color.Pixel(0, 0), 0x00FF00u);
  EXPECT_EQ(image.Color.Pixel(8, 8), 0x0000FFu);
  EXPECT_EQ(image.Mask.Pixel(8, 8), 0u);

  Tray->SetCycleIcons(true);
  const size_t calls = Env.Widgets.TrayCalls.size();
  Tray->Options().SetOffsetX(0);  // the same value: nothing
  EXPECT_EQ(Env.Widgets.TrayCalls.size(), calls);
  Tray->SetText("");  // the same text: regenerated all the same, and cycling stops
  EXPECT_FALSE(Tray->CycleIcons());
}

}  // namespace
