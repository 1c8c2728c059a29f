// The processor performance block on Windows: the fallback builder's records read back at their
// published offsets, its more-data answer, the bounds-checked test for a processor object, and the
// real query (under Wine, through the fallback) feeding the portable CPU usage counter.
#include <gtest/gtest.h>
#include <windows.h>
#include <winperf.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "measure/CpuUsage.h"
#include "platform/PerfBlock.h"
#include "platform/Host.h"
#include "platform/win32/PerfData.h"
#include "platform/win32/Registry.h"
#include "platform/win32/System.h"
#include "platform/win32/Utf16.h"
#include "base/SysUtils.h"

using namespace platform;
using namespace platform::win32;

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  uint32_t value = 0;
  EXPECT_TRUE(TPerfBlockReader(b).U32(at, value)) << at;
  return value;
}

int64_t I64(const std::vector<uint8_t>& b, size_t at) {
  int64_t value = 0;
  EXPECT_TRUE(TPerfBlockReader(b).I64(at, value)) << at;
  return value;
}

std::wstring Wide(const std::u16string& name) { return {name.begin(), name.end()}; }

// The processor object read through the portable reader.
struct TProcessorObject : TPerfObjectData {
  bool Found = false;
  uint16_t SystemTime[8] = {};
};

TProcessorObject ReadProcessorObject(const std::vector<uint8_t>& b) {
  TProcessorObject p;
  const TPerfBlockReader reader(b);
  EXPECT_TRUE(reader.SystemTime(p.SystemTime));
  p.Found = ReadPerfObject(reader, 238, p);
  return p;
}

TPerfClock ClockAt(uint16_t second, uint16_t millisecond) {
  TPerfClock clock;
  const uint16_t words[8] = {2024, 2, 4, 29, 23, 59, second, millisecond};  // a Thursday, a leap day
  std::memcpy(clock.SystemTime, words, sizeof words);
  clock.PerfTime = 123456789;
  clock.PerfFreq = 3579545;
  clock.PerfTime100nSec = 133536671990000000 + second * 10000000ll + millisecond * 10000ll;
  return clock;
}

std::vector<uint8_t> Build(const std::vector<TProcessorTimes>& times, const TPerfClock& clock) {
  std::vector<uint8_t> block(65536);
  EXPECT_EQ(BuildProcessorPerfBlock(times, clock, block.data(), static_cast<uint32_t>(block.size())), ErrorSuccess);
  block.resize(U32(block, TPerfLayout::BlockTotalByteLength));
  return block;
}

}  // namespace

TEST(PerfDataBuilder, ListsEachProcessorThenTheAverageTotalWithCounterSixAfterOthers) {
  const std::vector<TProcessorTimes> times = {{1000, 1500, 300}, {2000, 2100, 50}, {3000, 3600, 1000}};
  const std::vector<uint8_t> b = Build(times, ClockAt(58, 999));
  using L = TPerfLayout;
  EXPECT_EQ(I64(b, L::BlockPerfTime), 123456789);
  EXPECT_EQ(I64(b, L::BlockPerfFreq), 3579545);
  EXPECT_EQ(I64(b, L::BlockPerfTime100nSec), 133536671990000000 + 58 * 10000000ll + 999 * 10000ll);

  const TProcessorObject p = ReadProcessorObject(b);
  ASSERT_TRUE(p.Found);
  EXPECT_EQ(std::vector<uint16_t>(p.SystemTime, p.SystemTime + 8),
            (std::vector<uint16_t>{2024, 2, 4, 29, 23, 59, 58, 999}));
  EXPECT_EQ(p.CounterTitles, (std::vector<uint32_t>{142, 144, 6}));
  std::vector<uint32_t> types;
  for (const TPerfCounter& counter : p.Counters) types.push_back(counter.Type);
  EXPECT_EQ(types, (std::vector<uint32_t>{PERF_100NSEC_TIMER, PERF_100NSEC_TIMER, PERF_100NSEC_TIMER_INV}));
  ASSERT_EQ(p.Names.size(), 4u);
  const wchar_t* names[] = {L"0", L"1", L"2", L"_Total"};
  const int64_t idle[] = {1000, 2000, 3000, 2000}, user[] = {300, 50, 1000, 450}, privileged[] = {500, 100, 600, 400};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Wide(p.Names[i]), names[i]);
    EXPECT_EQ(p.Value(i, 6), idle[i]);
    EXPECT_EQ(p.Value(i, 142), user[i]);
    EXPECT_EQ(p.Value(i, 144), privileged[i]) << "kernel time less idle";
  }
}

TEST(PerfDataBuilder, NamesOfManyProcessorsKeepRecordsAligned) {
  std::vector<TProcessorTimes> times;
  for (int64_t k = 0; k < 40; ++k) times.push_back({k * 100, k * 150, k});
  const TProcessorObject p = ReadProcessorObject(Build(times, ClockAt(0, 0)));
  ASSERT_EQ(p.Names.size(), 41u);
  EXPECT_EQ(Wide(p.Names[9]), L"9");
  EXPECT_EQ(Wide(p.Names[10]), L"10");
  EXPECT_EQ(Wide(p.Names[39]), L"39");
  EXPECT_EQ(p.Value(39, 6), 3900);
  EXPECT_EQ(p.Value(39, 142), 39);
  EXPECT_EQ(Wide(p.Names[40]), L"_Total");
  EXPECT_EQ(p.Value(40, 6), 1950);
}

TEST(PerfDataBuilder, PrivilegedTimeIsNeverNegative) {
  // Kernel time below idle time comes from a native source whose readings were not taken together.
  const TProcessorObject p = ReadProcessorObject(Build({{5000, 4000, 10}}, ClockAt(0, 0)));
  ASSERT_EQ(p.Names.size(), 2u);
  EXPECT_EQ(p.Value(0, 144), 0);
  EXPECT_EQ(p.Value(0, 6), 5000);
  EXPECT_EQ(p.Value(1, 144), 0);
}

TEST(PerfDataBuilder, NoProcessorsGiveAHeaderListingNoObject) {
  const std::vector<uint8_t> b = Build({}, ClockAt(3, 4));
  EXPECT_EQ(b.size(), TPerfLayout::BlockSize);
  EXPECT_EQ(ReadProcessorObject(b).SystemTime[6], 3) << "still stamped";
  EXPECT_FALSE(HoldsProcessorObject(b.data(), static_cast<uint32_t>(b.size())));
}

TEST(PerfDataBuilder, ProcessorObjectIsFoundOnlyWhollyInsideTheBytes) {
  const std::vector<uint8_t> one = Build({{1, 2, 3}}, ClockAt(0, 0));
  const auto size = static_cast<uint32_t>(one.size());
  EXPECT_TRUE(HoldsProcessorObject(one.data(), size));
  EXPECT_TRUE(HoldsProcessorObject(one.data(), 88 + 64)) << "the object's header is enough";
  EXPECT_FALSE(HoldsProcessorObject(one.data(), 88 + 63));
  EXPECT_FALSE(HoldsProcessorObject(one.data(), 88 + 15)) << "title index cut off";
  EXPECT_FALSE(HoldsProcessorObject(one.data(), 31));
  EXPECT_FALSE(HoldsProcessorObject(nullptr, 0));
}

namespace {

// Answers the performance query with the blocks a test built, one per query.
class TBuiltBlocks : public IRegistry {
public:
  std::unique_ptr<IRegistryKey> CreateKey(TRootKey, const std::string&) override { return nullptr; }
  std::unique_ptr<IRegistryKey> OpenKey(TRootKey, const std::string&, TRegAccess) override { return nullptr; }
  long QueryPerformanceData(const std::string&, uint8_t* buffer, uint32_t size) override {
    const std::vector<uint8_t>& block = Blocks.at(Next++);
    if (block.size() > size) return ErrorMoreData;
    std::memcpy(buffer, block.data(), block.size());
    return ErrorSuccess;
  }
  std::vector<std::vector<uint8_t>> Blocks;
  size_t Next = 0;
};

class THostScope {
public:
  explicit THostScope(const THost& host) : FSaved(Host()) { SetHost(host); }
  ~THostScope() { SetHost(FSaved); }

private:
  THost FSaved;
};

}  // namespace

TEST(PerfDataBuilder, ThePortableCounterReadsTheBuiltBlock) {
  TBuiltBlocks blocks;
  // One second apart; processor 0 idle for half of it, processor 1 for all of it.
  blocks.Blocks.push_back(Build({{10000000, 20000000, 0}, {40000000, 40000000, 0}}, ClockAt(10, 0)));
  blocks.Blocks.push_back(Build({{15000000, 27000000, 0}, {50000000, 50000000, 0}}, ClockAt(11, 0)));
  TSystem system;
  THostScope scope({&blocks, &system, nullptr});
  InitializeCpuUsage();
  TakeCpuSample();
  TakeCpuSample();
  EXPECT_DOUBLE_EQ(CpuUsageOf(0), 0.5);
  EXPECT_DOUBLE_EQ(CpuUsageOf(1), 0.0);
  EXPECT_DOUBLE_EQ(CpuUsageOf(2), 0.25) << "the total is the average";
  EXPECT_THROW(CpuUsageOf(3), Exception);
  StopCpuStatistics();
}

namespace {

uint32_t ProcessorCount() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors;
}

std::vector<uint8_t> Query(TRegistry& registry) {
  std::vector<uint8_t> block(8192);
  long answer;
  while ((answer = registry.QueryPerformanceData("238", block.data(), static_cast<uint32_t>(block.size()))) == ErrorMoreData)
    block.resize(block.size() + 4096);
  EXPECT_EQ(answer, ErrorSuccess);
  return block;
}

int64_t FileTimeOf(const uint16_t (&words)[8]) {
  SYSTEMTIME st{words[0], words[1], words[2], words[3], words[4], words[5], words[6], words[7]};
  FILETIME ft{};
  EXPECT_TRUE(SystemTimeToFileTime(&st, &ft));
  return static_cast<int64_t>(uint64_t{ft.dwHighDateTime} << 32 | ft.dwLowDateTime);
}

int64_t Now() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return static_cast<int64_t>(uint64_t{ft.dwHighDateTime} << 32 | ft.dwLowDateTime);
}

}  // namespace

TEST(PerformanceQuery, TheProcessorObjectListsEveryProcessorWithLiveIdleTimesAndAUtcStamp) {
  TRegistry registry;
  const int64_t before = Now();
  const std::vector<uint8_t> first = Query(registry);
  ASSERT_TRUE(HoldsProcessorObject(first.data(), static_cast<uint32_t>(first.size())));
  const TProcessorObject a = ReadProcessorObject(first);
  ASSERT_TRUE(a.Found);
  const int64_t stamp = FileTimeOf(a.SystemTime);
  EXPECT_GE(stamp, before - 10000) << "within the millisecond the stamp is rounded to";
  EXPECT_LE(stamp, Now());
  const uint32_t processors = ProcessorCount();
  ASSERT_EQ(a.Names.size(), processors + 1);
  EXPECT_EQ(a.Names.back(), u"_Total");

  Sleep(300);
  const TProcessorObject b = ReadProcessorObject(Query(registry));
  ASSERT_EQ(b.Names.size(), a.Names.size());
  const int64_t elapsed = FileTimeOf(b.SystemTime) - stamp;
  EXPECT_GE(elapsed, 2900000) << "the stamps are 300 ms apart";
  for (size_t i = 0; i < a.Names.size(); ++i) {
    SCOPED_TRACE(i);
    const int64_t idle = b.Value(i, 6) - a.Value(i, 6);
    EXPECT_GE(idle, 0) << "idle time never runs backwards";
    // Idle time is in 100 ns units: over the interval it cannot exceed the interval (the host's
    // clock ticks are 10 ms, so allow two of them).
    EXPECT_LE(idle, elapsed + 200000);
  }
}

TEST(PerformanceQuery, ASmallBufferGetsMoreDataAndOtherObjectsPassThrough) {
  TRegistry registry;
  uint8_t small[16];
  EXPECT_EQ(registry.QueryPerformanceData("238", small, sizeof small), ErrorMoreData);
  EXPECT_EQ(registry.QueryPerformanceData("238", nullptr, 0), ErrorMoreData);
  std::vector<uint8_t> block(65536);
  // The fallback stands in for the processor object only; another object's answer is the system's.
  uint32_t size = static_cast<uint32_t>(block.size());
  const long answer = registry.QueryPerformanceData("230", block.data(), size);
  if (answer == ErrorSuccess) {
    EXPECT_FALSE(ReadProcessorObject(block).Found);
  }
  EXPECT_EQ(registry.QueryPerformanceData("\xff", block.data(), size), ERROR_FILE_NOT_FOUND);
}

TEST(PerformanceQuery, TheCpuUsageCounterMeasuresThroughTheRealHost) {
  TRegistry registry;
  TSystem system;
  THostScope scope({&registry, &system, nullptr});
  InitializeCpuUsage();
  TakeCpuSample();
  Sleep(250);
  TakeCpuSample();
  const double idleUsage = CpuUsageOf(0);
  EXPECT_TRUE(std::isfinite(idleUsage));
  EXPECT_GE(idleUsage, -0.1);
  EXPECT_LE(idleUsage, 1.1);
  const int32_t total = static_cast<int32_t>(ProcessorCount());
  EXPECT_NO_THROW(CpuUsageOf(total)) << "the total instance follows the processors";
  EXPECT_THROW(CpuUsageOf(total + 1), Exception);

  // Every processor kept busy: the total rises well above idle.
  std::vector<std::thread> spinners;
  std::atomic<bool> stop{false};
  for (int32_t k = 0; k < total; ++k)
    spinners.emplace_back([&stop] {
      while (!stop.load(std::memory_order_relaxed)) {
      }
    });
  Sleep(100);
  TakeCpuSample();
  Sleep(500);
  TakeCpuSample();
  stop = true;
  for (auto& t : spinners) t.join();
  const double busy = CpuUsageOf(total);
  EXPECT_GE(busy, 0.5) << "all processors spinning";
  EXPECT_LE(busy, 1.1);
  StopCpuStatistics();
}
