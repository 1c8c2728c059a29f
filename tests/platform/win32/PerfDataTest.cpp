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
#include "platform/Host.h"
#include "platform/win32/PerfData.h"
#include "platform/win32/Registry.h"
#include "platform/win32/System.h"
#include "ui/SysUtils.h"

using namespace platform;
using namespace platform::win32;

namespace {

// Little-endian reads at the published offsets, written here independently of the builder.
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  if (at + 4 > b.size()) {
    ADD_FAILURE() << "read of 4 bytes at " << at << " leaves the " << b.size() << "-byte block";
    return 0;
  }
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(U32(b, at) & 0xFFFF); }
int64_t I64(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<int64_t>(U32(b, at) | static_cast<uint64_t>(U32(b, at + 4)) << 32);
}

struct TInstance {
  std::wstring Name;
  std::vector<int64_t> Values;  // in the order of the counter definitions
};

struct TProcessorObject {
  bool Found = false;
  uint16_t SystemTime[8] = {};
  std::vector<uint32_t> CounterTitles;
  std::vector<uint32_t> CounterTypes;
  std::vector<TInstance> Instances;
  size_t End = 0;  // where the last instance's counter block ends

  int64_t Value(size_t instance, uint32_t title) const {
    for (size_t c = 0; c < CounterTitles.size(); ++c)
      if (CounterTitles[c] == title) return Instances.at(instance).Values.at(c);
    ADD_FAILURE() << "no counter " << title;
    return 0;
  }
};

// Walks the block the way any reader of the published layout does, checking every length it follows.
TProcessorObject ReadProcessorObject(const std::vector<uint8_t>& b) {
  TProcessorObject p;
  for (unsigned k = 0; k < 8; ++k) p.SystemTime[k] = U16(b, 36 + 2 * k);
  size_t object = U32(b, 24);
  const uint32_t numObjects = U32(b, 28);
  for (uint32_t k = 0; k < numObjects && U32(b, object + 12) != 238; ++k) object += U32(b, object);
  if (numObjects == 0 || U32(b, object + 12) != 238) return p;
  p.Found = true;
  const uint32_t numCounters = U32(b, object + 32);
  std::vector<uint32_t> offsets;
  size_t definition = object + U32(b, object + 8);
  for (uint32_t c = 0; c < numCounters; ++c) {
    p.CounterTitles.push_back(U32(b, definition + 4));
    p.CounterTypes.push_back(U32(b, definition + 28));
    EXPECT_EQ(U32(b, definition + 32), 8u) << "64-bit counters";
    offsets.push_back(U32(b, definition + 36));
    definition += U32(b, definition);
  }
  size_t instance = object + U32(b, object + 4);
  const uint32_t numInstances = U32(b, object + 40);
  for (uint32_t i = 0; i < numInstances && !testing::Test::HasFailure(); ++i) {
    TInstance record;
    const uint32_t nameOffset = U32(b, instance + 16), nameLength = U32(b, instance + 20);
    for (uint32_t k = 0; k + 2 < nameLength; k += 2) record.Name += static_cast<wchar_t>(U16(b, instance + nameOffset + k));
    EXPECT_EQ(U16(b, instance + nameOffset + nameLength - 2), 0) << "names end with a terminator";
    EXPECT_EQ(U32(b, instance) % 8, 0u) << "counter blocks are 8-byte aligned";
    const size_t counters = instance + U32(b, instance);
    for (uint32_t offset : offsets) record.Values.push_back(I64(b, counters + offset));
    p.Instances.push_back(record);
    instance = counters + U32(b, counters);
  }
  p.End = instance;
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
  block.resize(U32(block, 20));  // TotalByteLength
  return block;
}

}  // namespace

TEST(PerfDataBuilder, ListsEachProcessorThenTheAverageTotalWithCounterSixAfterOthers) {
  const std::vector<TProcessorTimes> times = {{1000, 1500, 300}, {2000, 2100, 50}, {3000, 3600, 1000}};
  const std::vector<uint8_t> b = Build(times, ClockAt(58, 999));
  ASSERT_EQ(b.size() % 8, 0u);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(b.data()), 4), L"PERF");
  EXPECT_EQ(U32(b, 8), 1u) << "little-endian";
  EXPECT_EQ(U32(b, 24), 88u);
  EXPECT_EQ(U32(b, 28), 1u);
  EXPECT_EQ(U32(b, 32), 238u) << "default object";
  EXPECT_EQ(I64(b, 56), 123456789);
  EXPECT_EQ(I64(b, 64), 3579545);
  EXPECT_EQ(I64(b, 72), 133536671990000000 + 58 * 10000000ll + 999 * 10000ll);
  EXPECT_EQ(U32(b, 88), b.size() - 88) << "the object runs to the block's end";

  const TProcessorObject p = ReadProcessorObject(b);
  ASSERT_TRUE(p.Found);
  EXPECT_EQ(std::vector<uint16_t>(p.SystemTime, p.SystemTime + 8),
            (std::vector<uint16_t>{2024, 2, 4, 29, 23, 59, 58, 999}));
  EXPECT_EQ(p.CounterTitles, (std::vector<uint32_t>{142, 144, 6}));
  EXPECT_EQ(p.CounterTypes, (std::vector<uint32_t>{PERF_100NSEC_TIMER, PERF_100NSEC_TIMER, PERF_100NSEC_TIMER_INV}));
  EXPECT_EQ(p.End, b.size()) << "the last counter block ends the block";
  ASSERT_EQ(p.Instances.size(), 4u);
  const wchar_t* names[] = {L"0", L"1", L"2", L"_Total"};
  const int64_t idle[] = {1000, 2000, 3000, 2000}, user[] = {300, 50, 1000, 450}, privileged[] = {500, 100, 600, 400};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(p.Instances[i].Name, names[i]);
    EXPECT_EQ(p.Value(i, 6), idle[i]);
    EXPECT_EQ(p.Value(i, 142), user[i]);
    EXPECT_EQ(p.Value(i, 144), privileged[i]) << "kernel time less idle";
  }
}

TEST(PerfDataBuilder, NamesOfManyProcessorsKeepRecordsAligned) {
  std::vector<TProcessorTimes> times;
  for (int64_t k = 0; k < 40; ++k) times.push_back({k * 100, k * 150, k});
  const TProcessorObject p = ReadProcessorObject(Build(times, ClockAt(0, 0)));
  ASSERT_EQ(p.Instances.size(), 41u);
  EXPECT_EQ(p.Instances[9].Name, L"9");
  EXPECT_EQ(p.Instances[10].Name, L"10");
  EXPECT_EQ(p.Instances[39].Name, L"39");
  EXPECT_EQ(p.Value(39, 6), 3900);
  EXPECT_EQ(p.Value(39, 142), 39);
  EXPECT_EQ(p.Instances[40].Name, L"_Total");
  EXPECT_EQ(p.Value(40, 6), 1950);
}

TEST(PerfDataBuilder, PrivilegedTimeIsNeverNegative) {
  // Kernel time below idle time comes from a native source whose readings were not taken together.
  const TProcessorObject p = ReadProcessorObject(Build({{5000, 4000, 10}}, ClockAt(0, 0)));
  ASSERT_EQ(p.Instances.size(), 2u);
  EXPECT_EQ(p.Value(0, 144), 0);
  EXPECT_EQ(p.Value(0, 6), 5000);
  EXPECT_EQ(p.Value(1, 144), 0);
}

TEST(PerfDataBuilder, AnswersMoreDataWithTheBufferUntouchedUntilTheBlockFits) {
  for (size_t processors : {0u, 1u, 2u, 33u}) {
    SCOPED_TRACE(processors);
    const std::vector<TProcessorTimes> times(processors, TProcessorTimes{7, 9, 1});
    const std::vector<uint8_t> expected = Build(times, ClockAt(1, 2));
    const auto required = static_cast<uint32_t>(expected.size());
    for (uint32_t size : {0u, 16u, 87u, required - 1}) {
      std::vector<uint8_t> buffer(required, 0xAB);
      EXPECT_EQ(BuildProcessorPerfBlock(times, ClockAt(1, 2), buffer.data(), size), ErrorMoreData) << size;
      EXPECT_EQ(buffer, std::vector<uint8_t>(required, 0xAB)) << size;
    }
    std::vector<uint8_t> exact(required, 0xAB);
    ASSERT_EQ(BuildProcessorPerfBlock(times, ClockAt(1, 2), exact.data(), required), ErrorSuccess);
    EXPECT_EQ(exact, expected) << "padding is zero, nothing depends on the buffer's old bytes";
    std::vector<uint8_t> larger(required + 100, 0xCD);
    ASSERT_EQ(BuildProcessorPerfBlock(times, ClockAt(1, 2), larger.data(), required + 100), ErrorSuccess);
    EXPECT_EQ(std::vector<uint8_t>(larger.begin() + required, larger.end()), std::vector<uint8_t>(100, 0xCD))
        << "nothing is written past the block";
  }
}

TEST(PerfDataBuilder, NoProcessorsGiveAHeaderListingNoObject) {
  const std::vector<uint8_t> b = Build({}, ClockAt(3, 4));
  EXPECT_EQ(b.size(), 88u);
  EXPECT_EQ(U32(b, 28), 0u);
  EXPECT_EQ(U16(b, 48), 3) << "still stamped";
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

  // Another object first: found by its length. Block = header, a 64-byte object 230, the processor object.
  std::vector<uint8_t> two(one.begin(), one.begin() + 88);
  std::vector<uint8_t> other(64, 0);
  other[0] = 64;
  other[12] = 230;
  two.insert(two.end(), other.begin(), other.end());
  two.insert(two.end(), one.begin() + 88, one.end());
  two[28] = 2;
  EXPECT_TRUE(HoldsProcessorObject(two.data(), static_cast<uint32_t>(two.size())));
  two[28] = 1;
  EXPECT_FALSE(HoldsProcessorObject(two.data(), static_cast<uint32_t>(two.size()))) << "only the listed objects count";
  two[28] = 200;
  two[88] = 0;
  EXPECT_FALSE(HoldsProcessorObject(two.data(), static_cast<uint32_t>(two.size()))) << "a zero length ends the walk";
  two[88] = 0xFF;
  two[89] = 0xFF;
  EXPECT_FALSE(HoldsProcessorObject(two.data(), static_cast<uint32_t>(two.size()))) << "a length leaving the bytes";

  std::vector<uint8_t> beyond = one;
  beyond[24] = 0xF0;
  beyond[27] = 0x7F;
  EXPECT_FALSE(HoldsProcessorObject(beyond.data(), size)) << "header length beyond the bytes";
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
  ASSERT_EQ(a.Instances.size(), processors + 1);
  EXPECT_EQ(a.Instances.back().Name, L"_Total");

  Sleep(300);
  const TProcessorObject b = ReadProcessorObject(Query(registry));
  ASSERT_EQ(b.Instances.size(), a.Instances.size());
  const int64_t elapsed = FileTimeOf(b.SystemTime) - stamp;
  EXPECT_GE(elapsed, 2900000) << "the stamps are 300 ms apart";
  for (size_t i = 0; i < a.Instances.size(); ++i) {
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
