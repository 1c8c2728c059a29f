// The integer extended arithmetic against the hardware's (x87 long double on both editions): the
// usage counter's fraction and the percent rule over edge cases and random operands, exact
// conversions, and the constant 0.01. The gauge's rule is checked in GaugeTest.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

#include "app/Sampling.h"
#include "measure/CpuUsage.h"
#include "base/Extended.h"

namespace {

static_assert(LDBL_MANT_DIG == 64, "these tests compare with the x87 extended format");

TEST(ExtendedTest, BusyFractionsAgreeWithTheHardware) {
  constexpr int64_t Max = std::numeric_limits<int64_t>::max(), Min = std::numeric_limits<int64_t>::min();
  const std::pair<int64_t, int64_t> edges[] = {{0, 1},      {1, 1},       {3, 10},     {-5, 10},   {10000000, 3},
                                               {Max, 1},    {Min, 7},     {Max, Max},  {Min, -1},  {1, Max},
                                               {2500000, 10000000}, {9999999, 10000000}, {123456789012345, 987654321}};
  for (const auto& [idle, elapsed] : edges)
    EXPECT_EQ(BusyFraction<TSoftExtended>(idle, elapsed), BusyFraction<long double>(idle, elapsed)) << idle << "/" << elapsed;
  std::mt19937_64 random(20261209);
  for (int k = 0; k < 200000; ++k) {
    const int bits = static_cast<int>(random() % 63) + 1;
    const int64_t elapsed = static_cast<int64_t>(random() >> (64 - bits)) | 1;
    const int64_t idle = static_cast<int64_t>(random() >> (64 - bits)) - elapsed / 3;
    ASSERT_EQ(BusyFraction<TSoftExtended>(idle, elapsed), BusyFraction<long double>(idle, elapsed)) << idle << "/" << elapsed;
  }
}

TEST(ExtendedTest, PercentCeilingsAgreeWithTheHardware) {
  for (double fraction : {0.0, 0.3, 0.29, 0.7, 1.0, 0.05, 0.999999, -0.01, 1.5, 0.1 + 0.2})
    EXPECT_EQ(CeilPercent<TSoftExtended>(fraction), CeilPercent<long double>(fraction)) << fraction;
  EXPECT_EQ(CeilPercent<TSoftExtended>(0.3), 30);
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> unit(-0.1, 1.1);
  for (int k = 0; k < 200000; ++k) {
    const double fraction = unit(random);
    ASSERT_EQ(CeilPercent<TSoftExtended>(fraction), CeilPercent<long double>(fraction)) << fraction;
  }
}

TEST(ExtendedTest, ConversionsAreExactAndTheHundredthIsTheNearestExtendedValue) {
  for (double x : {0.0, 1.0, -2.5, 1e-300, 123456789.125, std::nextafter(1.0, 2.0)})
    EXPECT_EQ(TSoftExtended(x).ToDouble(), x);
  EXPECT_EQ(TSoftExtended(std::numeric_limits<int64_t>::min()).Trunc(), std::numeric_limits<int64_t>::min());
  EXPECT_EQ((TSoftExtended(int64_t{7}) / TSoftExtended(int64_t{2})).Ceil(), 4);
  EXPECT_EQ((TSoftExtended(int64_t{-7}) / TSoftExtended(int64_t{2})).Ceil(), -3);
  const TSoftExtended hundredth = OneHundredth<TSoftExtended>();
  EXPECT_EQ(hundredth.ToDouble(), 0.01);
  // 0.01 × 100 in the extended format is 1 exactly; 0.01 × 10 × 24 falls short of 2.4 × 10.
  EXPECT_EQ((hundredth * TSoftExtended(int64_t{100})).ToDouble(), static_cast<double>(0.01L * 100));
  EXPECT_EQ((TSoftExtended(int64_t{240}) * (TSoftExtended(int64_t{10}) * hundredth)).Trunc(), 23);
}

}  // namespace
