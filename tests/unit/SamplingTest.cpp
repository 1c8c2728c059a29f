// The sampling tick end to end through a headless main window: CPU and memory meters, the two
// charts, read-outs and gauges, the clock measurement, and a failing tick.
#include <gtest/gtest.h>

#include "PerfBlockBuilder.h"
#include "TestApplication.h"
#include "app/Brisko.h"
#include "app/Sampling.h"
#include "app/uMain.h"
#include "measure/CpuUsage.h"

namespace {

constexpr gfx::TPixel Lime = 0x00FF00, DarkGreen = 0x008000;

class SamplingTest : public ::testing::Test {
protected:
  TTestApplication Env;
  int64_t Idle = 0;
  int Seconds = 0;

  // The counter's own first reading is measured against time zero; take it before the first tick.
  void SetUp() override {
    StartBrisko();
    Feed(0, 1);
    TakeCpuSample();
  }
  // The next sample: one second later, with the processor busy for busy / of of it (binary fractions
  // keep the percentages exact).
  void Feed(int busy, int of) {
    Idle += 10000000ll * (of - busy) / of;
    ++Seconds;
    TPerfTime time;
    time.Hour = static_cast<uint16_t>(Seconds / 3600);
    time.Minute = static_cast<uint16_t>(Seconds / 60 % 60);
    time.Second = static_cast<uint16_t>(Seconds % 60);
    Env.Host.Registry.PerfBlock = ProcessorBlock(time, {Idle, 0}).Bytes;
  }
  void Tick(int busy, int of = 4) {
    Feed(busy, of);
    Env.Widgets.Advance(1000);
  }
  static int LitPairs(TImage* meter) {
    int lit = 0;
    for (int k = 0; k < 20; ++k) lit += meter->Picture().Pixel(25, 93 - 4 * k) == Lime;
    return lit;
  }
  static int LimeColumns(TImage* chart, int from, int to) {
    int n = 0;
    for (int x = from; x <= to; ++x)
      for (int y = 0; y < 100; ++y)
        if (chart->Picture().Pixel(x, y) == Lime) {
          ++n;
          break;
        }
    return n;
  }
};

TEST_F(SamplingTest, CpuMeterLightsTheNextWholeBar) {
  struct TCase {
    int Busy, Of, Percent, Bars;
  };
  // 3/64 = 4.6875 %, shown as 5 %; 7/128 = 5.47 % as 6 %; 63/64 = 98.4 % as 99 %.
  const TCase cases[] = {{0, 1, 0, 0}, {3, 64, 5, 1}, {7, 128, 6, 2}, {63, 64, 99, 20}, {1, 1, 100, 20}, {1, 2, 50, 10}};
  for (const TCase& c : cases) {
    Tick(c.Busy, c.Of);
    EXPECT_EQ(LitPairs(frmMain->imgCpuShow), c.Bars) << c.Percent << "%";
    EXPECT_EQ(frmMain->CpuHistory.Y(90), 100 - c.Percent);
  }
}

TEST_F(SamplingTest, MemoryMeterTruncates) {
  const std::pair<int, int> cases[] = {{96, 0}, {95, 1}, {0, 20}};  // free MB of 100: loads 4, 5, 100
  for (auto [freeMB, bars] : cases) {
    Env.Host.System.SetMemoryMB(100, freeMB);
    Tick(1);
    EXPECT_EQ(LitPairs(frmMain->imgMemChart), bars) << freeMB;
  }
}

TEST_F(SamplingTest, ThousandMegabytesWithThreeHundredFree) {
  Env.Host.System.SetMemoryMB(1000, 300);
  Tick(1);
  EXPECT_EQ(frmMain->GetMemoryLoadPercent(), 70);
  EXPECT_EQ(LitPairs(frmMain->imgMemChart), 14);
  EXPECT_EQ(frmMain->MemHistory.Y(90), 30);
  EXPECT_EQ(frmMain->edtPhicsData->Text(), "300MB");
  EXPECT_EQ(frmMain->edtVirtuData->Text(), "1900MB");
  EXPECT_EQ(frmMain->edtPageData->Text(), "1500MB");
  EXPECT_EQ(frmMain->GaugePhyics->MinValue(), 1);
  EXPECT_EQ(frmMain->GaugePhyics->MaxValue(), 1000);
  EXPECT_EQ(frmMain->GaugePhyics->Progress(), 300);
  EXPECT_EQ(frmMain->GaugePage->MaxValue(), 3000);
  EXPECT_EQ(frmMain->trackDepth->Max(), 1000);
  // "700M" in the box font: four glyphs from x = 30 on the label strip.
  EXPECT_EQ(frmMain->imgMemChart->Picture().Pixel(31, 100), Lime);
  EXPECT_EQ(frmMain->imgMemChart->Picture().Pixel(30 + 3 * 6 + 6 + 2, 100), 0u);
}

TEST_F(SamplingTest, MemoryAboveFourGigabytesIsReportedWhole) {
  Env.Host.System.SetMemoryMB(16384, 12288);
  Tick(1);
  EXPECT_EQ(frmMain->edtPhicsData->Text(), "12288MB");
  EXPECT_EQ(frmMain->GaugePhyics->MaxValue(), 16384);
  EXPECT_EQ(frmMain->GaugePhyics->Percentage(), 74);
}

TEST_F(SamplingTest, FirstTickDrawsOneShortSegmentAtTheRightEdge) {
  Tick(3, 8);  // 37.5 %, shown as 38 %
  TImage* chart = frmMain->imgCpuChart;
  EXPECT_EQ(LimeColumns(chart, 0, 266), 0);
  EXPECT_EQ(LimeColumns(chart, 267, 269), 3);
  EXPECT_EQ(chart->Picture().Pixel(270, 62), 0u);  // the end point (270, 100 - 38) is not drawn
  EXPECT_EQ(chart->Picture().Pixel(270, 63), Lime);
  EXPECT_EQ(LimeColumns(chart, 271, 272), 0);
}

TEST_F(SamplingTest, NinetyTicksFillTheChartAndTheNextScrollsTheFirstOut) {
  for (int i = 0; i < 90; ++i) Tick(1);
  EXPECT_EQ(LimeColumns(frmMain->imgCpuChart, 3, 269), 267);
  EXPECT_NE(frmMain->CpuHistory.Y(1), 101);
  EXPECT_EQ(frmMain->CpuHistory.Y(1), 75);
  Tick(3);
  EXPECT_EQ(frmMain->CpuHistory.Y(1), 75);
  EXPECT_EQ(frmMain->CpuHistory.Y(90), 25);
  Tick(3);
  for (int i = 0; i < 89; ++i) Tick(1);
  EXPECT_EQ(frmMain->CpuHistory.Y(1), 25);  // the 75 % sample has scrolled out
  EXPECT_EQ(frmMain->CpuHistory.Y(2), 75);
}

TEST_F(SamplingTest, AFailingSampleEndsTheTickAndKeepsThePictures) {
  Tick(1);
  const gfx::Bitmap meter = frmMain->imgCpuShow->Picture();
  const gfx::Bitmap chart = frmMain->imgMemShow->Picture();
  Env.Host.System.SetMemoryMB(1000, 100);
  Env.Host.Registry.PerfBlock.assign(200, 0);  // no processor object
  Env.Widgets.Advance(1000);
  EXPECT_EQ(frmMain->imgCpuShow->Picture(), meter);
  EXPECT_EQ(frmMain->imgMemShow->Picture(), chart);
  EXPECT_EQ(frmMain->edtPhicsData->Text(), "300MB");
  EXPECT_TRUE(Env.Widgets.MessageBoxes.empty());
  // The next good sample is measured against the last good one, two seconds back: no point leaves
  // the chart.
  Tick(1);
  EXPECT_EQ(frmMain->edtPhicsData->Text(), "100MB");
  EXPECT_EQ(frmMain->CpuHistory.Y(89), 75);
  EXPECT_EQ(frmMain->CpuHistory.Y(90), 75);
}

TEST_F(SamplingTest, TheMeterShowsTheWholeProcessorWhereATotalIsListed) {
  struct TCase {
    const char* Name;
    std::vector<std::u16string> Names;
    std::vector<int64_t> IdlePerSecond;  // per instance, in 100 ns units
    int Percent;
  };
  std::vector<std::u16string> many;
  std::vector<int64_t> manyIdle;
  for (int k = 0; k < 64; ++k) {
    many.push_back(std::u16string(1, static_cast<char16_t>(u'A' + k % 26)) + u"#" + static_cast<char16_t>(u'0' + k / 26));
    manyIdle.push_back(k < 16 ? 0 : 10000000);  // a quarter of the processors busy
  }
  many.push_back(u"_Total");
  manyIdle.push_back(7500000);
  const TCase cases[] = {
      {"one processor", {u"0", u"_Total"}, {7000000, 7000000}, 30},
      {"two, total last", {u"0", u"1", u"_Total"}, {7000000, 1000000, 4000000}, 60},
      {"two, total first", {u"_Total", u"0", u"1"}, {4000000, 7000000, 1000000}, 60},
      {"no total: the first processor", {u"0", u"1"}, {7000000, 1000000}, 30},
      {"64 processors", many, manyIdle, 25},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    StopCpuStatistics();
    InitializeCpuUsage();
    TTestPerfObject processor;
    processor.Names = c.Names;
    for (size_t k = 0; k < c.Names.size(); ++k) processor.Instances.push_back({0, 0});
    Env.Host.Registry.PerfBlock = BuildPerfBlock({2024, 5, 6, 10, 0, 0, 0}, {processor}).Bytes;
    TakeCpuSample();
    for (size_t k = 0; k < c.Names.size(); ++k) processor.Instances[k][1] = c.IdlePerSecond[k];
    Env.Host.Registry.PerfBlock = BuildPerfBlock({2024, 5, 6, 10, 0, 1, 0}, {processor}).Bytes;
    EXPECT_EQ(GetCpuUsagePercent(), c.Percent);
  }
}

TEST_F(SamplingTest, CreationDrawsDarkMetersAndEmptyGrids) {
  TImage* meter = frmMain->imgCpuShow;
  EXPECT_EQ(meter->Picture().Pixel(25, 93), DarkGreen);
  EXPECT_EQ(meter->Picture().Pixel(25, 17), DarkGreen);
  EXPECT_EQ(meter->Picture().Pixel(41, 93), 0u);  // the gap between the columns
  EXPECT_EQ(meter->Picture().Pixel(25, 95), 0u);
  TImage* chart = frmMain->imgMemShow;
  EXPECT_EQ(chart->Picture().Pixel(5, 84), DarkGreen);
  EXPECT_EQ(chart->Picture().Pixel(5, 90), 0u);  // no line in the bottom rows
  EXPECT_EQ(chart->Picture().Pixel(264, 95), DarkGreen);
  EXPECT_EQ(LimeColumns(chart, 0, 272), 0);
}

TEST_F(SamplingTest, ClockMeasurementRunsAtRealTimePriorityAndRestores) {
  auto& events = Env.Host.System.Events;
  const std::vector<std::string> expected{"class 256", "thread 15", "sleep 500", "thread 0", "class 32"};
  EXPECT_EQ(std::vector<std::string>(events.end() - 5, events.end()), expected);
  EXPECT_EQ(frmMain->StatusBar->Panels()[0].Text, "CPU频率: 1000MHz");
  Env.Host.System.TscPerMs = 2666667;  // the count over 500 ms wraps at 32 bits
  EXPECT_DOUBLE_EQ(MeasureCpuMhz(), static_cast<uint32_t>(2666667ull * 500) / 500000.0);
}

}  // namespace
