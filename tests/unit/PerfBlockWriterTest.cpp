// The performance-data block writer: its bytes against the independently written test blocks, exact
// sizes and the more-data answer, UTF-16 names and padding, and its blocks read by the usage counter.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "measure/CpuUsage.h"
#include "measure/PerfBlockWriter.h"
#include "platform/Registry.h"
#include "FakeHost.h"
#include "PerfBlockBuilder.h"
#include "ui/SysUtils.h"

namespace {

constexpr uint32_t Timer100ns = 0x20510500;

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t value = 0;
  for (unsigned k = 4; k-- > 0;) value = value << 8 | bytes.at(at + k);
  return value;
}

int64_t I64At(const std::vector<uint8_t>& bytes, size_t at) {
  uint64_t value = 0;
  for (unsigned k = 8; k-- > 0;) value = value << 8 | bytes.at(at + k);
  return static_cast<int64_t>(value);
}

void Stamp(TPerfBlockSpec& layout, const TPerfTime& time, uint16_t dayOfWeek) {
  const uint16_t words[8] = {time.Year, time.Month, dayOfWeek, time.Day, time.Hour, time.Minute, time.Second, time.Milliseconds};
  std::copy(std::begin(words), std::end(words), layout.SystemTime);
  layout.PerfTime = layout.PerfTime100nSec = FileTimeOfPerfTime(time);
  layout.PerfFreq = 10000000;
}

// The same block the test builder's ProcessorBlock makes: counters 142 then 6, instances "0", "1", ...
TPerfBlockSpec ProcessorSpec(const TPerfTime& time, const std::vector<int64_t>& idle) {
  TPerfBlockSpec layout;
  Stamp(layout, time, 1);  // the times used here fall on a Monday
  layout.ObjectTitleIndex = 238;
  layout.Counters = {{142, Timer100ns}, {6, Timer100ns}};
  for (size_t k = 0; k < idle.size(); ++k) {
    const std::string digits = std::to_string(k);
    layout.Instances.push_back({std::u16string(digits.begin(), digits.end()), {0x0123456789ABCDEF - idle[k], idle[k]}});
  }
  return layout;
}

std::vector<uint8_t> Written(const TPerfBlockSpec& layout) {
  std::vector<uint8_t> bytes(static_cast<size_t>(PerfBlockSize(layout)), 0xAA);
  EXPECT_EQ(WritePerfBlock(layout, bytes.data(), static_cast<uint32_t>(bytes.size())), platform::ErrorSuccess);
  return bytes;
}

const TPerfTime T0{2024, 5, 6, 10, 0, 0, 0};
const TPerfTime T1{2024, 5, 6, 10, 0, 1, 0};  // one second (10^7 units) later

}  // namespace

TEST(PerfBlockWriter, MatchesTheIndependentlyBuiltBlockByteForByte) {
  std::vector<int64_t> many(12);
  for (size_t k = 0; k < many.size(); ++k) many[k] = static_cast<int64_t>(k) * 977;
  for (const std::vector<int64_t>& values : {std::vector<int64_t>{5, -6, 0x7FFFFFFFFFFFFFFF, 0}, many}) {
    TPerfBlock expected = ProcessorBlock(T1, values);
    // The builder leaves the object's own clock 0; the writer gives it the block's 100 ns time.
    const size_t objectClock = expected.Objects.at(0) + 48;
    const auto fileTime = static_cast<uint64_t>(FileTimeOfPerfTime(T1));
    for (unsigned k = 0; k < 8; ++k) expected.Bytes[objectClock + k] = static_cast<uint8_t>(fileTime >> (8 * k));
    EXPECT_EQ(Written(ProcessorSpec(T1, values)), expected.Bytes) << values.size() << " instances";
  }
}

TEST(PerfBlockWriter, ExactSizeFitsAndOneByteLessAsksForMoreLeavingTheBufferAlone) {
  TPerfBlockSpec layout = ProcessorSpec(T0, {});
  layout.Instances = {{u"0", {1, 2}}, {u"1234567", {3, 4}}, {u"_Total", {5, 6, 7}}};  // 7 has no counter
  // Header 88, object 64 + 2 * 40, then per instance the padded record and a 24-byte counter block:
  // "0" 24 + 4 -> 32, "1234567" 24 + 16 = 40, "_Total" 24 + 14 -> 40.
  const uint32_t size = 88 + 64 + 80 + (32 + 24) + (40 + 24) + (40 + 24);
  ASSERT_EQ(PerfBlockSize(layout), size);

  std::vector<uint8_t> bytes(size + 16, 0xAA);
  ASSERT_EQ(WritePerfBlock(layout, bytes.data(), size), platform::ErrorSuccess);
  EXPECT_EQ(U32At(bytes, 20), size);       // TotalByteLength
  EXPECT_EQ(U32At(bytes, 88), size - 88);  // the object's TotalByteLength
  EXPECT_EQ(I64At(bytes, size - 8), 6);    // the last value ends the block ...
  for (size_t k = size; k < bytes.size(); ++k) ASSERT_EQ(bytes[k], 0xAA) << k;  // ... and nothing is written beyond it

  for (uint32_t tooSmall : {size - 1, 88u, 0u}) {
    std::vector<uint8_t> small(size, 0xAA);
    EXPECT_EQ(WritePerfBlock(layout, small.data(), tooSmall), platform::ErrorMoreData) << tooSmall;
    EXPECT_EQ(std::count(small.begin(), small.end(), 0xAA), static_cast<long>(size)) << tooSmall;
  }
}

TEST(PerfBlockWriter, NamesAreUtf16WithTheirTerminatorAndValuesFollowTheCounters) {
  TPerfBlockSpec layout = ProcessorSpec(T0, {});
  layout.PerfTime = 42;  // a high-resolution clock: the object keeps the 100 ns one
  layout.DefaultCounter = 2;
  layout.Counters = {{142, Timer100ns}, {144, Timer100ns}, {6, 0x21510500}};
  const std::u16string name = u"K\u00e9rn\u4e2d";
  layout.Instances = {{u"", {7, 8, 9, 10}}, {name, {-1}}};
  const std::vector<uint8_t> bytes = Written(layout);
  ASSERT_EQ(bytes.size(), 88 + 64 + 120 + (32 + 32) + (40 + 32));

  const size_t object = 88;
  EXPECT_EQ(I64At(bytes, 56), 42);
  EXPECT_EQ(I64At(bytes, object + 48), FileTimeOfPerfTime(T0));
  EXPECT_EQ(I64At(bytes, object + 56), 10000000);
  EXPECT_EQ(U32At(bytes, object + 32), 3u);  // NumCounters
  EXPECT_EQ(U32At(bytes, object + 36), 2u);  // DefaultCounter
  EXPECT_EQ(U32At(bytes, object + 40), 2u);  // NumInstances
  const size_t third = object + 64 + 2 * 40;
  EXPECT_EQ(U32At(bytes, third + 4), 6u);
  EXPECT_EQ(U32At(bytes, third + 12), 7u);  // help title index
  EXPECT_EQ(U32At(bytes, third + 28), 0x21510500u);
  EXPECT_EQ(U32At(bytes, third + 36), 24u);  // CounterOffset

  const size_t first = object + 64 + 120;
  EXPECT_EQ(U32At(bytes, first + 0), 32u);  // an empty name is its terminator alone
  EXPECT_EQ(U32At(bytes, first + 20), 2u);
  const size_t firstBlock = first + 32;
  EXPECT_EQ(U32At(bytes, firstBlock), 32u);
  EXPECT_EQ(I64At(bytes, firstBlock + 24), 9);

  const size_t second = firstBlock + 32;
  EXPECT_EQ(U32At(bytes, second + 0), 40u);   // 24 + 12 name bytes, padded to 8
  EXPECT_EQ(U32At(bytes, second + 20), 12u);  // NameLength with the terminator
  for (size_t k = 0; k <= name.size(); ++k) {
    const uint16_t unit = k < name.size() ? name[k] : 0;
    EXPECT_EQ(bytes[second + 24 + 2 * k], unit & 0xFF) << k;
    EXPECT_EQ(bytes[second + 25 + 2 * k], unit >> 8) << k;
  }
  for (size_t k = second + 36; k < second + 40; ++k) EXPECT_EQ(bytes[k], 0) << "padding at " << k;
  const size_t secondBlock = second + 40;
  EXPECT_EQ(U32At(bytes, secondBlock), 32u);
  EXPECT_EQ(I64At(bytes, secondBlock + 8), -1);
  EXPECT_EQ(I64At(bytes, secondBlock + 16), 0);  // missing values are 0
  EXPECT_EQ(I64At(bytes, secondBlock + 24), 0);
}

TEST(PerfBlockWriter, WithoutTheObjectTheBlockIsItsHeaderAlone) {
  TPerfBlockSpec layout = ProcessorSpec(T0, {1, 2});
  layout.ListsObject = false;
  layout.PerfTime = 123456789;
  layout.PerfFreq = 3579545;
  ASSERT_EQ(PerfBlockSize(layout), 88u);
  const std::vector<uint8_t> bytes = Written(layout);
  EXPECT_EQ(U32At(bytes, 20), 88u);   // TotalByteLength
  EXPECT_EQ(U32At(bytes, 24), 88u);   // HeaderLength
  EXPECT_EQ(U32At(bytes, 28), 0u);    // NumObjectTypes
  EXPECT_EQ(U32At(bytes, 32), 238u);  // DefaultObject
  EXPECT_EQ(I64At(bytes, 56), 123456789);
  EXPECT_EQ(I64At(bytes, 64), 3579545);
  EXPECT_EQ(I64At(bytes, 72), FileTimeOfPerfTime(T0));
}

class PerfBlockWriterRead : public ::testing::Test {
protected:
  void SetUp() override { InitializeCpuUsage(); }
  void TearDown() override { StopCpuStatistics(); }
  void Sample(const TPerfBlockSpec& layout) {
    Host.Registry.PerfBlock = Written(layout);
    TakeCpuSample();
  }
  TFakeHost Host;
};

TEST_F(PerfBlockWriterRead, TheUsageCounterFindsTheIdleCounterWhereverItIsListed) {
  // Counter 6 third, after two others, with instance names that are not numbers.
  auto layout = [](const TPerfTime& time, const std::vector<int64_t>& idle) {
    TPerfBlockSpec s = ProcessorSpec(time, {});
    s.Counters = {{142, Timer100ns}, {144, Timer100ns}, {6, 0x21510500}, {2000, Timer100ns}};
    const char16_t* names[] = {u"zero", u"one", u"_Total"};
    for (size_t k = 0; k < idle.size(); ++k) s.Instances.push_back({names[k], {-1, -2, idle[k], -3}});
    return s;
  };
  Sample(layout(T0, {0, 5000000, 2500000}));
  Sample(layout(T1, {2500000, 15000000, 7500000}));
  EXPECT_EQ(CpuUsageOf(0), 0.75);
  EXPECT_EQ(CpuUsageOf(1), 0.0);
  EXPECT_EQ(CpuUsageOf(2), 0.5);
}

TEST_F(PerfBlockWriterRead, ABlockWithoutTheObjectIsReportedAsMissing) {
  TPerfBlockSpec layout = ProcessorSpec(T0, {1});
  layout.ListsObject = false;
  Host.Registry.PerfBlock = Written(layout);
  try {
    TakeCpuSample();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Unable to locate the \"Processor\" performance object");
  }
}
