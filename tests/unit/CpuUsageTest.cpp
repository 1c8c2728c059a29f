// The processor usage counter against the fake host: buffer growth, the usage arithmetic, the walks
// over well-formed, unusual and malformed performance blocks, and the 9x statistic's lifecycle.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "measure/CpuUsage.h"
#include "FakeHost.h"
#include "PerfBlockBuilder.h"
#include "base/SysUtils.h"

using platform::TRootKey;

using L = TPerfLayout;

namespace {

const std::string ProcessorMissing = "Unable to locate the \"Processor\" performance object";
const std::string CounterMissing = "Unable to locate the \"% of CPU usage\" performance counter";
const std::string IndexOutOfBounds = "CPU index out of bounds";

// The message of the Exception the call raises, or "" when it raises none.
template <typename F>
std::string MessageOf(F call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

TPerfTime At(uint16_t year, uint16_t month, uint16_t day, uint16_t hour = 0, uint16_t minute = 0,
             uint16_t second = 0, uint16_t ms = 0) {
  return TPerfTime{year, month, day, hour, minute, second, ms};
}

const TPerfTime T0 = At(2024, 5, 6, 10, 0, 0);
const TPerfTime T1 = At(2024, 5, 6, 10, 0, 1);  // one second (10^7 units) after T0
const TPerfTime T2 = At(2024, 5, 6, 10, 0, 3);  // two seconds after T1

class CpuUsageNT : public ::testing::Test {
protected:
  void SetUp() override { InitializeCpuUsage(); }
  void TearDown() override { StopCpuStatistics(); }
  void Sample(const TPerfBlock& block) {
    Host.Registry.PerfBlock = block.Bytes;
    TakeCpuSample();
  }
  void Sample(const TPerfTime& time, const std::vector<int64_t>& idle) { Sample(ProcessorBlock(time, idle)); }
  // The block padded with zeros to the module's initial buffer size, for tampering near its end.
  static TPerfBlock Padded(TPerfBlock block) {
    block.Bytes.resize(8192, 0);
    return block;
  }
  TFakeHost Host;
};

TEST_F(CpuUsageNT, BufferGrowsBy4096UntilTheBlockFitsAndKeepsItsSize) {
  // 150 instances make a block of about 8.6 KB: one retry, at 12288.
  std::vector<int64_t> idle(150);
  for (size_t k = 0; k < idle.size(); ++k) idle[k] = static_cast<int64_t>(k) * 1000;
  const TPerfBlock block = ProcessorBlock(T0, idle);
  ASSERT_GT(block.Bytes.size(), 8192u);
  ASSERT_LE(block.Bytes.size(), 12288u);
  Sample(block);
  EXPECT_EQ(Host.Registry.PerfQuerySizes, (std::vector<uint32_t>{8192, 12288}));
  EXPECT_EQ(CpuSampleBufferSize(), 12288);

  // The next sample starts with the grown size and needs no retry; its data is parsed in full.
  for (size_t k = 0; k < idle.size(); ++k) idle[k] += 2500000;
  Sample(T1, idle);
  EXPECT_EQ(Host.Registry.PerfQuerySizes, (std::vector<uint32_t>{8192, 12288, 12288}));
  EXPECT_EQ(CpuUsageOf(149), 0.75);

  // A block larger still grows from the size in force, 4096 at a time.
  std::vector<int64_t> more(300, 0);
  ASSERT_GT(ProcessorBlock(T2, more).Bytes.size(), 16384u);
  Sample(T2, more);
  EXPECT_EQ(Host.Registry.PerfQuerySizes, (std::vector<uint32_t>{8192, 12288, 12288, 12288, 16384, 20480}));
  EXPECT_EQ(CpuSampleBufferSize(), 20480);

  // Starting the module again starts over at 8192.
  StopCpuStatistics();
  InitializeCpuUsage();
  EXPECT_EQ(CpuSampleBufferSize(), 8192);
}

TEST_F(CpuUsageNT, FractionIsOneMinusIdleOverElapsedAndNotClamped) {
  Sample(T0, {1000, 5000, 0});
  Sample(T1, {1000 + 2500000, 5000, 15000000});
  EXPECT_EQ(CpuUsageOf(0), 0.75);
  EXPECT_EQ(CpuUsageOf(1), 1.0);   // no idle time over a positive interval
  EXPECT_EQ(CpuUsageOf(2), -0.5);  // more idle time than time passed

  // The fraction always covers the two most recent samples.
  Sample(T2, {1000 + 2500000 + 20000000, 5000 + 10000000, 15000000});
  EXPECT_EQ(CpuUsageOf(0), 0.0);
  EXPECT_EQ(CpuUsageOf(1), 0.5);
  EXPECT_EQ(CpuUsageOf(2), 1.0);
}

TEST_F(CpuUsageNT, EqualTimeStampsGiveExactlyZero) {
  Sample(T0, {100});
  Sample(T0, {999999});
  EXPECT_EQ(CpuUsageOf(0), 0.0);
  // Same millisecond, same answer, whatever the idle counters did.
  Sample(At(2024, 5, 6, 10, 0, 0, 0), {0});
  EXPECT_EQ(CpuUsageOf(0), 0.0);
}

TEST_F(CpuUsageNT, FirstReadingComparesAgainstTimeZeroInExtendedPrecision) {
  // CpuUsageOf before any sample takes one itself; the previous stamp is 0 (1601-01-01).
  const TPerfTime newYear = At(2024, 1, 1);
  ASSERT_EQ(FileTimeOfPerfTime(newYear), 133485408000000000);
  Host.Registry.PerfBlock = ProcessorBlock(newYear, {133485408000000000 / 2}).Bytes;
  EXPECT_EQ(CpuUsageOf(0), 0.5);
  EXPECT_EQ(Host.Registry.PerfQuerySizes.size(), 1u);
  EXPECT_EQ(CpuUsageOf(0), 0.5);  // the count is known now: no further sample
  EXPECT_EQ(Host.Registry.PerfQuerySizes.size(), 1u);

  // 1 - 1/3 formed in the 80-bit format rounds to ...555p-1; in plain double it would be ...556p-1.
  StopCpuStatistics();
  InitializeCpuUsage();
  Host.Registry.PerfBlock = ProcessorBlock(newYear, {133485408000000000 / 3}).Bytes;
  EXPECT_EQ(CpuUsageOf(0), 0x1.5555555555555p-1);

  // A little idle time against all the time since 1601 reads as almost fully busy.
  StopCpuStatistics();
  InitializeCpuUsage();
  Host.Registry.PerfBlock = ProcessorBlock(T0, {1000000000}).Bytes;
  const double first = CpuUsageOf(0);
  EXPECT_LT(first, 1.0);
  EXPECT_GT(first, 1.0 - 1e-6);
}

TEST_F(CpuUsageNT, TimeStampsConvertFromTheCalendar) {
  struct TCase {
    TPerfTime From, To;
    int64_t Elapsed;  // 100 ns units
  };
  const int64_t second = 10000000, day = 86400 * second;
  const TCase cases[] = {
      {At(2023, 12, 31, 23, 59, 59, 500), At(2024, 1, 1, 0, 0, 0, 500), second},
      {At(2024, 2, 28, 12), At(2024, 3, 1, 12), 2 * day},  // leap year
      {At(2023, 2, 28, 12), At(2023, 3, 1, 12), day},
      {At(1900, 2, 28), At(1900, 3, 1), day},              // century: no leap day
      {At(2000, 2, 28), At(2000, 3, 1), 2 * day},          // fourth century: leap day
      {At(2024, 4, 30, 23, 59, 59, 999), At(2024, 5, 1), 10000},
      {At(2024, 1, 1), At(2025, 1, 1), 366 * day},
      {At(1601, 1, 1), At(30827, 12, 31, 23, 59, 59, 999), FileTimeOfPerfTime(At(30827, 12, 31, 23, 59, 59, 999))},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.From.Year) + "-" + std::to_string(c.From.Month) + "-" + std::to_string(c.From.Day));
    Sample(c.From, {0});
    Sample(c.To, {c.Elapsed / 2});
    EXPECT_EQ(CpuUsageOf(0), 0.5);
  }
}

TEST_F(CpuUsageNT, TimeStampTheSystemCannotConvertCountsAsNoTimePassed) {
  Sample(T0, {0});
  TPerfBlock invalid = ProcessorBlock(T1, {5000000});
  invalid.PutU16(L::BlockSystemTime + 2, 13);  // month 13
  Sample(invalid);
  EXPECT_EQ(CpuUsageOf(0), 0.0);
  // The next good stamp measures from the last good one (T0), the counts from the invalid sample.
  Sample(T1, {5000000 + 2500000});
  EXPECT_EQ(CpuUsageOf(0), 0.75);

  const struct {
    size_t Word;
    uint16_t Value;
  } refusals[] = {{0, 1600}, {1, 0}, {3, 0}, {3, 31 + 1}, {4, 24}, {5, 60}, {6, 60}, {7, 1000}};
  for (const auto& r : refusals) {
    SCOPED_TRACE(r.Word);
    TPerfBlock block = ProcessorBlock(At(2024, 1, 31, 10), {0});
    block.PutU16(L::BlockSystemTime + 2 * r.Word, r.Value);
    Sample(block);
    EXPECT_EQ(CpuUsageOf(0), 0.0);
  }
  TPerfBlock feb30 = ProcessorBlock(At(2024, 2, 1), {0});
  feb30.PutU16(L::BlockSystemTime + 6, 30);
  Sample(feb30);
  EXPECT_EQ(CpuUsageOf(0), 0.0);
}

TEST_F(CpuUsageNT, IndexMustNameOneOfTheInstances) {
  Sample(T0, {0, 0, 0});
  Sample(T1, {0, 0, 0});
  for (int32_t bad : {-1, 3, INT32_MIN, INT32_MAX}) EXPECT_EQ(MessageOf([&] { CpuUsageOf(bad); }), IndexOutOfBounds) << bad;
  for (int32_t good : {0, 1, 2}) EXPECT_EQ(MessageOf([&] { CpuUsageOf(good); }), "") << good;

  // A bad index before any sample still takes the first sample, then refuses.
  StopCpuStatistics();
  InitializeCpuUsage();
  Host.Registry.PerfBlock = ProcessorBlock(T0, {0}).Bytes;
  EXPECT_EQ(MessageOf([] { CpuUsageOf(1); }), IndexOutOfBounds);
  EXPECT_EQ(Host.Registry.PerfQuerySizes.size(), 3u);
}

TEST_F(CpuUsageNT, WalksSkipEarlierObjectsAndCountersByTheirLengths) {
  TTestPerfObject other;
  other.TitleIndex = 230;  // an object with its own counter 6 that must not be taken
  other.Counters = {6, 142, 144};
  other.Instances = {{7777777, 1, 2}, {8888888, 3, 4}};
  TTestPerfObject processor;
  processor.Counters = {142, 144, 6};  // the idle counter third
  processor.Instances = {{11, 12, 1000}, {21, 22, 2000}};
  Sample(BuildPerfBlock(T0, {other, processor}));
  processor.Instances = {{11, 12, 1000 + 2500000}, {21, 22, 2000 + 5000000}};
  other.Instances = {{0, 1, 2}, {0, 3, 4}};
  Sample(BuildPerfBlock(T1, {other, processor}));
  EXPECT_EQ(CpuUsageOf(0), 0.75);
  EXPECT_EQ(CpuUsageOf(1), 0.5);
  EXPECT_EQ(MessageOf([] { CpuUsageOf(2); }), IndexOutOfBounds);
}

TEST_F(CpuUsageNT, FollowsStatedLengthsWhenRecordsCarryExtraBytes) {
  // Stretch the first counter definition by 8 bytes: the definitions after it move, and only the
  // length field says where the next one starts.
  TTestPerfObject processor;
  processor.Counters = {142, 6};
  processor.Instances = {{1, 2500000}};
  TPerfBlock block = BuildPerfBlock(T1, {processor});
  const size_t first = block.Definitions[0][0];
  block.Bytes.insert(block.Bytes.begin() + static_cast<std::ptrdiff_t>(first + 40), 8, 0xEE);
  block.PutU32(first + L::CounterByteLength, 48);
  const size_t object = block.Objects[0];
  block.PutU32(object + L::ObjectDefinitionLength, block.U32(object + L::ObjectDefinitionLength) + 8);
  block.PutU32(object + L::ObjectTotalByteLength, block.U32(object + L::ObjectTotalByteLength) + 8);
  Sample(T0, {0});
  Sample(block);
  EXPECT_EQ(CpuUsageOf(0), 0.75);
}

TEST_F(CpuUsageNT, MissingObjectOrCounterRaisesAndLeavesTheStateAlone) {
  Sample(T0, {0, 0});
  Sample(T1, {2500000, 5000000});
  ASSERT_EQ(CpuUsageOf(0), 0.75);

  TTestPerfObject memory;
  memory.TitleIndex = 4;
  memory.Counters = {6};
  memory.Instances = {{9999999}};
  TTestPerfObject disk = memory;
  disk.TitleIndex = 236;
  Host.Registry.PerfBlock = BuildPerfBlock(T2, {memory, disk}).Bytes;
  EXPECT_EQ(MessageOf(TakeCpuSample), ProcessorMissing);

  TTestPerfObject noIdle;
  noIdle.Counters = {142, 144, 1746};
  noIdle.Instances = {{1, 2, 99999999}, {1, 2, 99999999}};
  Host.Registry.PerfBlock = BuildPerfBlock(T2, {noIdle}).Bytes;
  EXPECT_EQ(MessageOf(TakeCpuSample), CounterMissing);

  // Counts and stamps are those of the last good pair.
  EXPECT_EQ(CpuUsageOf(0), 0.75);
  EXPECT_EQ(CpuUsageOf(1), 0.5);
  EXPECT_EQ(MessageOf([] { CpuUsageOf(2); }), IndexOutOfBounds);
  // The next good sample measures from T1.
  Sample(T2, {2500000 + 10000000, 5000000});
  EXPECT_EQ(CpuUsageOf(0), 0.5);
  EXPECT_EQ(CpuUsageOf(1), 1.0);
}

TEST_F(CpuUsageNT, FailedFirstSearchLeavesTheCountUnknown) {
  // A query that fails and writes nothing leaves the zero-filled buffer: no processor object.
  Host.Registry.PerfAnswer = 2;
  EXPECT_EQ(MessageOf(TakeCpuSample), ProcessorMissing);
  EXPECT_EQ(MessageOf([] { CpuUsageOf(0); }), ProcessorMissing);  // still unknown: samples again
  EXPECT_EQ(Host.Registry.PerfQuerySizes.size(), 2u);

  Host.Registry.PerfAnswer = platform::ErrorSuccess;
  Host.Registry.PerfBlock = ProcessorBlock(T0, {0}).Bytes;
  EXPECT_EQ(MessageOf([] { CpuUsageOf(0); }), "");
}

TEST_F(CpuUsageNT, FailedLaterQueryRereadsTheOldDataAsAnEmptyInterval) {
  Sample(T0, {0});
  Sample(T1, {2500000});
  // An answer other than more-data is not examined; the buffer still holds the last block.
  Host.Registry.PerfBlock.clear();
  Host.Registry.PerfAnswer = 2;
  TakeCpuSample();
  EXPECT_EQ(CpuUsageOf(0), 0.0);
}

TEST_F(CpuUsageNT, InstanceCountIsFixedByTheFirstSample) {
  Sample(T0, {0, 0});
  Sample(T1, {2500000, 5000000, 123, 456});
  EXPECT_EQ(CpuUsageOf(0), 0.75);
  EXPECT_EQ(CpuUsageOf(1), 0.5);
  EXPECT_EQ(MessageOf([] { CpuUsageOf(2); }), IndexOutOfBounds);
}

TEST_F(CpuUsageNT, AbsurdInstanceCountIsKeptWithoutStorageForIt) {
  TPerfBlock block = ProcessorBlock(T0, {FileTimeOfPerfTime(T0) / 2});
  block.PutU32(block.Objects[0] + L::ObjectNumInstances, 0x7FFFFFFF);
  Sample(block);
  EXPECT_EQ(CpuUsageOf(0), 0.5);
  EXPECT_EQ(CpuUsageOf(0x7FFFFFFE), 1.0);  // never reached by a walk: its counts are 0
  EXPECT_EQ(MessageOf([] { CpuUsageOf(0x7FFFFFFF); }), IndexOutOfBounds);
}

TEST_F(CpuUsageNT, InstancesTheDataNoLongerListsKeepTheirLastCounts) {
  Sample(T0, {0, 100, 200});
  // One instance, then another object whose records would be misread as instances by a walk that
  // went on past the listed count.
  TTestPerfObject processor;
  processor.Instances = {{0, 2500000}};
  TTestPerfObject other;
  other.TitleIndex = 240;
  other.Counters = {6, 6};
  other.Instances = {{123456789, 987654321}, {123456789, 987654321}};
  Sample(BuildPerfBlock(T1, {processor, other}));
  EXPECT_EQ(CpuUsageOf(0), 0.75);
  EXPECT_EQ(CpuUsageOf(1), 1.0);  // idle difference 0: the kept count is both previous and current
  EXPECT_EQ(CpuUsageOf(2), 1.0);

  // When they come back, they measure from their kept counts over the latest interval.
  Sample(T2, {2500000, 100 + 5000000, 200 + 20000000});
  EXPECT_EQ(CpuUsageOf(0), 1.0);
  EXPECT_EQ(CpuUsageOf(1), 0.75);
  EXPECT_EQ(CpuUsageOf(2), 0.0);
}

TEST_F(CpuUsageNT, ObjectAndCounterWalksThatLeaveTheBufferFindNothing) {
  struct TCase {
    const char* Name;
    void (*Tamper)(TPerfBlock&);
    std::string Message;
  };
  const TCase cases[] = {
      {"header length past the end", [](TPerfBlock& b) { b.PutU32(L::BlockHeaderLength, 0xFFFFFFF0); }, ProcessorMissing},
      {"header length just short of the end", [](TPerfBlock& b) { b.PutU32(L::BlockHeaderLength, 8192 - 15); }, ProcessorMissing},
      {"object length past the end",
       [](TPerfBlock& b) {
         b.PutU32(b.Objects[0] + L::ObjectTotalByteLength, 0xFFFFFFFF);
         b.PutU32(b.Objects[1] + L::ObjectTitleIndex, 5);
       },
       ProcessorMissing},
      {"zero object length, huge object count",
       [](TPerfBlock& b) {
         b.PutU32(L::BlockNumObjectTypes, 0xFFFFFFFF);
         b.PutU32(b.Objects[0] + L::ObjectTotalByteLength, 0);
       },
       ProcessorMissing},
      {"processor object cut off by the end",
       [](TPerfBlock& b) {
         b.PutU32(L::BlockHeaderLength, 8192 - 16);
         b.PutU32(8192 - 16 + L::ObjectTitleIndex, 238);
       },
       ProcessorMissing},
      {"counter header length past the end", [](TPerfBlock& b) { b.PutU32(b.Objects[1] + L::ObjectHeaderLength, 0xFFFFFFFF); }, CounterMissing},
      {"zero counter length, huge counter count",
       [](TPerfBlock& b) {
         b.PutU32(b.Objects[1] + L::ObjectNumCounters, 0xFFFFFFFF);
         b.PutU32(b.Definitions[1][0] + L::CounterByteLength, 0);
       },
       CounterMissing},
      {"counter length past the end",
       [](TPerfBlock& b) { b.PutU32(b.Definitions[1][0] + L::CounterByteLength, 0xFFFFFFF0); }, CounterMissing},
      {"idle counter definition cut off by the end",
       [](TPerfBlock& b) {
         // The object's counters start 8 bytes before the end: the title fits, the offset does not.
         b.PutU32(b.Objects[1] + L::ObjectHeaderLength, static_cast<uint32_t>(8192 - 8 - b.Objects[1]));
         b.PutU32(b.Objects[1] + L::ObjectNumCounters, 1);
         b.PutU32(8192 - 8 + L::CounterByteLength, 40);
         b.PutU32(8192 - 8 + L::CounterTitleIndex, 6);
       },
       CounterMissing},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    StopCpuStatistics();
    InitializeCpuUsage();
    TTestPerfObject first;
    first.TitleIndex = 230;
    first.Instances = {{1, 2}};
    TTestPerfObject processor;
    processor.Instances = {{1, 2}};
    TPerfBlock block = Padded(BuildPerfBlock(T0, {first, processor}));
    c.Tamper(block);
    Sample(ProcessorBlock(T0, {0}));
    Host.Registry.PerfBlock = block.Bytes;
    EXPECT_EQ(MessageOf(TakeCpuSample), c.Message);
    EXPECT_EQ(CpuSampleBufferSize(), 8192);
  }
}

TEST_F(CpuUsageNT, InstanceWalkStopsAtTheBufferEndAndKeepsTheRest) {
  struct TCase {
    const char* Name;
    void (*Tamper)(TPerfBlock&);
    bool Updated[3];  // which instances got their new count
  };
  const TCase cases[] = {
      {"untouched", [](TPerfBlock&) {}, {true, true, true}},
      {"definition length past the end",
       [](TPerfBlock& b) { b.PutU32(b.Objects[0] + L::ObjectDefinitionLength, 0xFFFFFFFF); }, {false, false, false}},
      {"counter offset past the end",
       [](TPerfBlock& b) { b.PutU32(b.Definitions[0][1] + L::CounterOffset, 0xFFFFFFF8); }, {false, false, false}},
      {"second instance length past the end",
       [](TPerfBlock& b) { b.PutU32(b.Instances[0][1] + L::InstanceByteLength, 0xFFFFFFF0); }, {true, false, false}},
      {"second counter block length past the end",
       [](TPerfBlock& b) { b.PutU32(b.CounterBlocks[0][1] + L::CounterBlockByteLength, 0xFFFFFFF0); }, {true, true, false}},
      {"records that stop advancing",
       [](TPerfBlock& b) {
         // A zero instance length makes the record its own counter block, whose zero length would
         // show the same record again: the first instance is read, the walk ends there.
         const size_t first = b.Instances[0][0];
         b.PutU32(first + L::InstanceByteLength, 0);
         b.PutU32(first + 16, 2500000);
         b.PutU32(first + 20, 0);
       },
       {true, false, false}},
      {"listed count larger than the data",
       [](TPerfBlock& b) { b.PutU32(b.Objects[0] + L::ObjectNumInstances, 0x7FFFFFFF); }, {true, true, true}},
      {"listed count negative", [](TPerfBlock& b) { b.PutU32(b.Objects[0] + L::ObjectNumInstances, 0xFFFFFFFF); }, {false, false, false}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    StopCpuStatistics();
    InitializeCpuUsage();
    Sample(T0, {0, 0, 0});
    TPerfBlock block = Padded(ProcessorBlock(T1, {2500000, 2500000, 2500000}));
    c.Tamper(block);
    Sample(block);
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(CpuUsageOf(i), c.Updated[i] ? 0.75 : 1.0) << i;
  }
}

TEST_F(CpuUsageNT, ValueEndingExactlyAtTheBufferEndIsRead) {
  // Move the single instance's counter block so that the idle value occupies the last 8 bytes.
  const int64_t idle = FileTimeOfPerfTime(T0) / 2;
  for (uint32_t shift : {0u, 1u}) {
    SCOPED_TRACE(shift);
    StopCpuStatistics();
    InitializeCpuUsage();
    TPerfBlock block = Padded(ProcessorBlock(T0, {0}));
    const size_t instance = block.Instances[0][0];
    const size_t counterBlock = 8192 - 8 - 16 + shift;  // the idle counter sits at offset 16
    block.PutU32(instance + L::InstanceByteLength, static_cast<uint32_t>(counterBlock - instance));
    block.PutU32(counterBlock, 24);
    for (unsigned k = 0; k + shift < 8; ++k) block.Bytes[8192 - 8 + shift + k] = static_cast<uint8_t>(idle >> (8 * k));
    Sample(block);
    EXPECT_EQ(CpuUsageOf(0), shift == 0 ? 0.5 : 1.0);
  }
}

class CpuUsage9x : public ::testing::Test {
protected:
  void SetUp() override {
    Host.System.Version.PlatformId = platform::PlatformWin32Windows;
    InitializeCpuUsage();
    Host.Registry.SetDWord(TRootKey::DynData, "PerfStats\\StartStat", "KERNEL\\CPUUsage", 55);
    Host.Registry.SetDWord(TRootKey::DynData, "PerfStats\\StatData", "KERNEL\\CPUUsage", 37);
    Host.Registry.SetDWord(TRootKey::DynData, "PerfStats\\StopStat", "KERNEL\\CPUUsage", 0);
  }
  void TearDown() override { StopCpuStatistics(); }
  void SetPercentage(uint32_t value) {
    Host.Registry.SetDWord(TRootKey::DynData, "PerfStats\\StatData", "KERNEL\\CPUUsage", value);
  }
  std::vector<std::string>& Reads() { return Host.Registry.ValueReads; }
  TFakeHost Host;
};

const std::string StartRead = "PerfStats\\StartStat:KERNEL\\CPUUsage";
const std::string DataRead = "PerfStats\\StatData:KERNEL\\CPUUsage";
const std::string StopRead = "PerfStats\\StopStat:KERNEL\\CPUUsage";

TEST_F(CpuUsage9x, FirstSampleStartsTheStatisticThenReadsTheDataKey) {
  TakeCpuSample();
  EXPECT_EQ(Reads(), (std::vector<std::string>{StartRead, DataRead}));
  EXPECT_EQ(CpuUsageOf(0), 0.37);
  SetPercentage(100);
  TakeCpuSample();
  EXPECT_EQ(Reads(), (std::vector<std::string>{StartRead, DataRead, DataRead}));
  EXPECT_EQ(CpuUsageOf(0), 1.0);
  SetPercentage(0);
  TakeCpuSample();
  EXPECT_EQ(CpuUsageOf(0), 0.0);
  EXPECT_TRUE(Host.Registry.PerfQuerySizes.empty());
}

TEST_F(CpuUsage9x, UsageBeforeAnySampleStartsTheStatisticOnce) {
  EXPECT_EQ(CpuUsageOf(0), 0.37);
  SetPercentage(80);
  EXPECT_EQ(CpuUsageOf(0), 0.37);  // started: no new reading without a sample
  EXPECT_EQ(Reads(), (std::vector<std::string>{StartRead, DataRead}));
}

TEST_F(CpuUsage9x, OnlyIndexZeroExists) {
  for (int32_t bad : {1, -1, 2, INT32_MIN, INT32_MAX}) EXPECT_EQ(MessageOf([&] { CpuUsageOf(bad); }), IndexOutOfBounds) << bad;
  EXPECT_TRUE(Reads().empty());  // refused before starting anything
}

TEST_F(CpuUsage9x, UnreadableValueKeepsTheLastPercentage) {
  TakeCpuSample();
  Host.Registry.Keys[{TRootKey::DynData, "PerfStats\\StatData"}].Values.clear();
  TakeCpuSample();
  EXPECT_EQ(CpuUsageOf(0), 0.37);
  // When the data read fails on the very first sample, the slot holds what StartStat answered.
  StopCpuStatistics();
  InitializeCpuUsage();
  TakeCpuSample();
  EXPECT_EQ(CpuUsageOf(0), 0.55);
}

TEST_F(CpuUsage9x, StartFailuresRaiseTheirMessages) {
  Host.Registry.Unopenable.insert({TRootKey::DynData, "PerfStats\\StartStat"});
  EXPECT_EQ(MessageOf(TakeCpuSample), "Unable to start performance monitoring");
  Host.Registry.Unopenable.clear();
  Host.Registry.Unopenable.insert({TRootKey::DynData, "PerfStats\\StatData"});
  EXPECT_EQ(MessageOf(TakeCpuSample), "Unable to read performance data");
  // Not started: the next attempt starts again from StartStat.
  EXPECT_EQ(MessageOf([] { CpuUsageOf(0); }), "Unable to read performance data");
  EXPECT_EQ(Reads(), (std::vector<std::string>{StartRead, StartRead}));
  Host.Registry.Unopenable.clear();
  StopCpuStatistics();
  EXPECT_EQ(Reads().size(), 2u);  // never started: nothing to stop
}

TEST_F(CpuUsage9x, StopReadsStopStatOnceAndToleratesItsAbsence) {
  TakeCpuSample();
  StopCpuStatistics();
  EXPECT_EQ(Reads(), (std::vector<std::string>{StartRead, DataRead, StopRead}));
  StopCpuStatistics();
  EXPECT_EQ(Reads().size(), 3u);

  InitializeCpuUsage();
  TakeCpuSample();
  Host.Registry.Unopenable.insert({TRootKey::DynData, "PerfStats\\StopStat"});
  EXPECT_EQ(MessageOf(StopCpuStatistics), "");
  // Stopped all the same: the next sample starts the statistic again.
  Reads().clear();
  TakeCpuSample();
  EXPECT_EQ(Reads(), (std::vector<std::string>{StartRead, DataRead}));
}

TEST(CpuUsageStart, VersionDecidesTheFamilyAndItsFailureIsRaised) {
  TFakeHost host;
  host.System.VersionFails = true;
  EXPECT_EQ(MessageOf(InitializeCpuUsage), "Can't get the Windows version");

  host.System.VersionFails = false;
  host.Registry.SetDWord(TRootKey::DynData, "PerfStats\\StartStat", "KERNEL\\CPUUsage", 0);
  host.Registry.SetDWord(TRootKey::DynData, "PerfStats\\StatData", "KERNEL\\CPUUsage", 20);
  host.Registry.PerfBlock = ProcessorBlock(At(2024, 1, 1), {133485408000000000 / 2}).Bytes;
  for (uint32_t id : {0u, 1u, 2u, 3u}) {
    SCOPED_TRACE(id);
    host.System.Version.PlatformId = id;
    InitializeCpuUsage();
    EXPECT_EQ(CpuUsageOf(0), id == platform::PlatformWin32NT ? 0.5 : 0.2);
    StopCpuStatistics();
  }
}

}  // namespace
