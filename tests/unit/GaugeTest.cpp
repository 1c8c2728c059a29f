// The gauge: percentage and length arithmetic, the range errors, the repaint rule, the pixels of
// the bar kinds with and without frame and text.
#include <gtest/gtest.h>

#include "TestApplication.h"
#include "base/SysUtils.h"
#include "widgets/Gauges.h"

namespace {

constexpr gfx::TPixel Blue = 0x0000FF, Red = 0xFF0000, Black = 0, Yellow = 0xFFFF00, Cyan = 0x00FFFF;

class GaugeTest : public ::testing::Test {
protected:
  TTestApplication Env;
  TForm Host{nullptr};
  TGauge* Gauge = new TGauge(&Host);

  void SetUp() override {
    Gauge->SetParent(&Host);
    Gauge->SetBounds(0, 0, 241, 16);
    Gauge->SetForeColor(clBlue);
    Gauge->SetBackColor(clRed);
    Host.EndLoading();
  }
  // Rightmost column of row 8 that shows the bar colour, or 0 when there is none.
  int BarEnd() const {
    int end = 0;
    for (int x = 0; x < Gauge->Width(); ++x)
      if (Gauge->Surface().Pixel(x, 8) == Blue) end = x;
    return end;
  }
  void Mark() { const_cast<gfx::Bitmap&>(Gauge->Surface()).SetPixel(0, 0, 0x123456); }
  bool Marked() const { return Gauge->Surface().Pixel(0, 0) == 0x123456; }
};

TEST(GaugeLengthTest, ExtendedRoundingFallsShortOfTheExactProduct) {
  EXPECT_EQ(GaugeLength(10, 240), 23);
  EXPECT_EQ(GaugeLength(50, 240), 120);
  EXPECT_EQ(GaugeLength(10, 10), 0);
  EXPECT_EQ(GaugeLength(100, 240), 240);
  EXPECT_EQ(GaugeLength(0, 240), 0);
}

TEST(GaugeLengthTest, HardwareAndIntegerExtendedArithmeticAgreeEverywhere) {
  for (int size : {1, 7, 10, 15, 99, 112, 240, 1000, 4096, 65535, 1 << 20, 2147483647})
    for (int p = 0; p <= 100; ++p)
      ASSERT_EQ(GaugeLengthIn<long double>(p, size), GaugeLengthIn<TSoftExtended>(p, size)) << p << " of " << size;
}

TEST_F(GaugeTest, PercentageTruncatesAndProgressIsClamped) {
  Gauge->SetMaxValue(1000);
  Gauge->SetMinValue(1);
  Gauge->SetProgress(501);
  EXPECT_EQ(Gauge->Percentage(), 50);
  Gauge->SetProgress(0);
  EXPECT_EQ(Gauge->Progress(), 1);
  EXPECT_EQ(Gauge->Percentage(), 0);
  Gauge->SetProgress(2000);
  EXPECT_EQ(Gauge->Progress(), 1000);
  EXPECT_EQ(Gauge->Percentage(), 100);
  Gauge->SetMaxValue(1);
  EXPECT_EQ(Gauge->Percentage(), 0);  // zero-width range
}

TEST_F(GaugeTest, PercentageOfTheWidestRangeNeedsSixtyFourBits) {
  Gauge->SetMaxValue(2147483647);
  Gauge->SetMinValue(-2147483647);
  Gauge->SetProgress(2147483000);
  EXPECT_EQ(Gauge->Percentage(), 99);
}

TEST_F(GaugeTest, RangeErrorsCarryTheBoundsAndChangeNothing) {
  Gauge->SetMinValue(1);
  try {
    Gauge->SetMaxValue(0);
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Value must be between 2 and 2147483647");
  }
  EXPECT_EQ(Gauge->MaxValue(), 100);
  Gauge->SetMinValue(0);
  try {
    Gauge->SetMinValue(101);
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Value must be between -2147483647 and 99");
  }
  EXPECT_EQ(Gauge->MinValue(), 0);
}

TEST(GaugeLoadingTest, BoundsMayBeLoadedInEitherOrder) {
  TTestApplication env;
  TForm host(nullptr);
  auto* gauge = new TGauge(&host);
  gauge->SetMinValue(500);  // above the default maximum of 100, accepted while loading
  gauge->SetMaxValue(1000);
  host.EndLoading();
  EXPECT_EQ(gauge->MinValue(), 500);
  EXPECT_EQ(gauge->MaxValue(), 1000);
  EXPECT_THROW(gauge->SetMinValue(2000), EInvalidOperation);
}

TEST_F(GaugeTest, UnchangedPercentageDoesNotRepaintButAdvanceAlwaysDoes) {
  Gauge->SetMaxValue(1000);
  Gauge->SetProgress(500);
  Mark();
  Gauge->SetProgress(504);
  EXPECT_EQ(Gauge->Progress(), 504);
  EXPECT_TRUE(Marked());
  Gauge->AdvanceProgress(1);
  EXPECT_FALSE(Marked());
  Mark();
  Gauge->SetProgress(510);
  EXPECT_FALSE(Marked());
  Mark();
  Gauge->SetForeColor(clBlue);  // equal value: nothing
  EXPECT_TRUE(Marked());
}

TEST_F(GaugeTest, FramedBarExtents) {
  Gauge->SetShowText(false);
  Gauge->SetProgress(10);
  EXPECT_EQ(BarEnd(), 22);
  EXPECT_EQ(Gauge->Surface().Pixel(1, 8), Blue);
  EXPECT_EQ(Gauge->Surface().Pixel(23, 8), Red);
  Gauge->SetProgress(50);
  EXPECT_EQ(BarEnd(), 119);
  Gauge->SetProgress(100);
  EXPECT_EQ(BarEnd(), 239);
  EXPECT_EQ(Gauge->Surface().Pixel(240, 8), Black);  // the frame
  for (int x = 0; x < 241; ++x) {
    ASSERT_EQ(Gauge->Surface().Pixel(x, 0), Black);
    ASSERT_EQ(Gauge->Surface().Pixel(x, 15), Black);
  }
  for (int y = 1; y < 15; ++y) ASSERT_EQ(Gauge->Surface().Pixel(100, y), Blue);
  Gauge->SetProgress(0);
  EXPECT_EQ(BarEnd(), 0);
}

TEST_F(GaugeTest, TextInvertsWhatLiesBeneath) {
  Gauge->SetProgress(0);  // "0%" over the red background only
  int cyan = 0;
  for (gfx::TPixel p : Gauge->Surface().Pixels()) cyan += p == Cyan;
  EXPECT_GT(cyan, 0);
  Gauge->SetProgress(100);  // over the blue bar only
  int yellow = 0;
  for (gfx::TPixel p : Gauge->Surface().Pixels()) yellow += p == Yellow;
  EXPECT_GT(yellow, 0);
  // Centred: the box font gives "100%" a width of 4 × 6 in a 12 px font.
  const int x = (239 - 1 + 1 - 24) / 2;
  EXPECT_EQ(Gauge->Surface().Pixel(x + 2, 8), Yellow);
  EXPECT_EQ(Gauge->Surface().Pixel(x - 1, 8), Blue);
}

TEST_F(GaugeTest, PlainTextKindWithoutTextIsABackColourRectangleInAFrame) {
  Gauge->SetKind(TGaugeKind::gkText);
  Gauge->SetShowText(false);
  Gauge->SetProgress(70);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 241; ++x) {
      const bool frame = x == 0 || y == 0 || x == 240 || y == 15;
      ASSERT_EQ(Gauge->Surface().Pixel(x, y), frame ? Black : Red) << x << "," << y;
    }
}

TEST_F(GaugeTest, WithoutBorderTheBarStartsAtTheEdge) {
  Gauge->SetShowText(false);
  Gauge->SetBorderStyle(TGaugeBorderStyle::bsNone);
  Gauge->SetProgress(100);
  EXPECT_EQ(Gauge->Surface().Pixel(0, 0), Blue);
  EXPECT_EQ(Gauge->Surface().Pixel(240, 15), Blue);
}

TEST_F(GaugeTest, VerticalBarGrowsFromTheBottom) {
  Gauge->SetShowText(false);
  Gauge->SetKind(TGaugeKind::gkVerticalBar);
  Gauge->SetBounds(0, 0, 20, 102);  // interior 100 rows, H = 101
  Gauge->SetProgress(50);
  EXPECT_EQ(Gauge->Surface().Pixel(10, 100), Blue);
  EXPECT_EQ(Gauge->Surface().Pixel(10, 101 - GaugeLength(50, 101)), Blue);
  EXPECT_EQ(Gauge->Surface().Pixel(10, 100 - GaugeLength(50, 101)), Red);
}

TEST_F(GaugeTest, PieAndNeedleDrawTheirDials) {
  Gauge->SetShowText(false);
  Gauge->SetBounds(0, 0, 60, 60);
  Gauge->SetKind(TGaugeKind::gkPie);
  Gauge->SetProgress(25);  // the slice runs counter-clockwise from three o'clock up to twelve
  EXPECT_EQ(Gauge->Surface().Pixel(40, 20), Blue);
  EXPECT_EQ(Gauge->Surface().Pixel(20, 20), Red);
  EXPECT_EQ(Gauge->Surface().Pixel(40, 40), Red);
  Gauge->SetKind(TGaugeKind::gkNeedle);
  Gauge->SetProgress(50);  // the needle points straight up from the bottom centre
  EXPECT_EQ(Gauge->Surface().Pixel(30, 40), Blue);
  EXPECT_EQ(Gauge->Surface().Pixel(45, 45), Red);
}

}  // namespace
