// The Linux processor block: built from fixture /proc/stat texts and the real one, read back by the
// portable processor usage counter and field by field; the more-data protocol and malformed text.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "measure/CpuUsage.h"
#include "platform/linux/PerfData.h"
#include "FakeHost.h"
#include "PerfBlockBuilder.h"
#include "platform/PerfBlock.h"
#include "base/SysUtils.h"

using platform::linux::BuildProcessorPerfBlock;
using platform::linux::QueryProcessorPerfData;

using L = TPerfLayout;

namespace {

constexpr int64_t May6 = 1714989600000;  // 2024-05-06 10:00:00.000 UTC, in ms since 1970
constexpr int64_t UnixEpochMs = 11644473600000;  // 1970-01-01 in ms since 1601

std::string ReadText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file.good()) << path;
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Fixture(const std::string& name) { return ReadText(std::string(BRISKO_TEST_DATA) + "/" + name); }

// The text with `ticks` added to field `field` (1 = user, 4 = idle, 5 = iowait) of line `name`.
std::string AddTicks(const std::string& text, const std::string& name, size_t field, uint64_t ticks) {
  std::istringstream in(text);
  std::string out, line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::vector<std::string> tokens{std::istream_iterator<std::string>(words), {}};
    if (!tokens.empty() && tokens[0] == name) {
      tokens.at(field) = std::to_string(std::stoull(tokens.at(field)) + ticks);
      line.clear();
      for (const std::string& t : tokens) line += (line.empty() ? "" : " ") + t;
    }
    out += line + "\n";
  }
  return out;
}

// A built block, read through the portable reader.
struct TBuilt {
  std::vector<uint8_t> Bytes;
  TPerfObjectData Object;
  bool Found = false;
  uint32_t U32(size_t at) const {
    uint32_t v = 0;
    EXPECT_TRUE(TPerfBlockReader(Bytes).U32(at, v)) << at;
    return v;
  }
  uint16_t U16(size_t at) const {
    uint16_t v = 0;
    EXPECT_TRUE(TPerfBlockReader(Bytes).U16(at, v)) << at;
    return v;
  }
  int64_t I64(size_t at) const {
    int64_t v = 0;
    EXPECT_TRUE(TPerfBlockReader(Bytes).I64(at, v)) << at;
    return v;
  }
  size_t NumInstances() const { return Object.Names.size(); }
  std::u16string Name(size_t i) const { return Object.Names.at(i); }
  int64_t Counter(size_t i, uint32_t title) const { return Object.Value(i, title); }
};

TBuilt Build(const std::string& text, long ticksPerSecond = 100, int64_t millis = May6) {
  TBuilt built;
  built.Bytes.assign(1 << 16, 0);
  EXPECT_EQ(BuildProcessorPerfBlock(text, ticksPerSecond, millis, built.Bytes.data(), 1 << 16), platform::ErrorSuccess);
  built.Bytes.resize(built.U32(L::BlockTotalByteLength));
  built.Found = ReadPerfObject(TPerfBlockReader(built.Bytes), 238, built.Object);
  return built;
}

// Answers the performance-data query with the Linux builder, from a given text or from the machine.
class TProcStatRegistry : public TFakeRegistry {
public:
  long QueryPerformanceData(const std::string&, uint8_t* buffer, uint32_t size) override {
    PerfQuerySizes.push_back(size);
    return Live ? QueryProcessorPerfData(buffer, size) : BuildProcessorPerfBlock(Text, 100, Millis, buffer, size);
  }
  std::string Text;
  int64_t Millis = May6;
  bool Live = false;
};

class PerfDataParsed : public ::testing::Test {
protected:
  void SetUp() override {
    platform::SetHost(platform::THost{&Registry, &Fake.System, &Fake.Shell});
    InitializeCpuUsage();
  }
  void TearDown() override { StopCpuStatistics(); }
  TFakeHost Fake;
  TProcStatRegistry Registry;
};

std::string MessageOf(int32_t index) {
  try {
    CpuUsageOf(index);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

TEST_F(PerfDataParsed, FixturesGiveOneInstancePerProcessorAndATotal) {
  struct TCase {
    const char* File;
    int32_t Processors;
    int64_t FirstIdleTicks, TotalIdleTicks;  // idle + iowait; the total is the aggregate line's
    int32_t BufferSize;
  };
  const TCase cases[] = {
      {"proc-stat-1cpu.txt", 1, 11074700, 11074700, 8192},
      {"proc-stat-2cpu.txt", 2, 11520924, 24068204, 8192},
      {"proc-stat-64cpu.txt", 64, 12585299, 754381943, 12288},  // larger than the first buffer
  };
  const long double fileTime = static_cast<long double>(May6 + UnixEpochMs) * 10000;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.File);
    StopCpuStatistics();
    InitializeCpuUsage();
    Registry.Text = Fixture(c.File);
    // The first reading compares against time 0 and zero counts: 1 - idle / stamp.
    const auto idleOf = [&](int32_t i) { return static_cast<double>((1.0L - CpuUsageOf(i)) * fileTime); };
    EXPECT_NEAR(idleOf(0), c.FirstIdleTicks * 100000.0, 1000);
    EXPECT_NEAR(idleOf(c.Processors), c.TotalIdleTicks * 100000.0 / c.Processors, 1000);
    EXPECT_EQ(MessageOf(c.Processors + 1), "CPU index out of bounds");
    EXPECT_EQ(CpuSampleBufferSize(), c.BufferSize);
  }
}

TEST_F(PerfDataParsed, IdleCounterIsIdlePlusIowaitOverTheUtcStamp) {
  const std::string before = Fixture("proc-stat-2cpu.txt");
  Registry.Text = before;
  TakeCpuSample();
  // One second later: cpu0 idled 25 ticks (and worked 30), cpu1 waited 50 ticks for I/O.
  std::string after = AddTicks(AddTicks(before, "cpu0", 4, 25), "cpu0", 1, 30);
  after = AddTicks(AddTicks(AddTicks(after, "cpu1", 5, 50), "cpu", 4, 25), "cpu", 5, 50);
  Registry.Text = after;
  Registry.Millis = May6 + 1000;
  TakeCpuSample();
  EXPECT_EQ(CpuUsageOf(0), 0.75);
  EXPECT_EQ(CpuUsageOf(1), 0.5);
  EXPECT_EQ(CpuUsageOf(2), 0.625);  // the total reads as the average of both
  EXPECT_EQ(Registry.PerfQuerySizes, (std::vector<uint32_t>{8192, 8192}));
}

TEST(PerfDataBlock, OneInstancePerProcessorThenTheTotalStampedWithTheUtcTime) {
  const TBuilt b = Build(Fixture("proc-stat-2cpu.txt"), 100, 1709214330123);  // 2024-02-29 13:45:30.123
  const uint16_t expected[8] = {2024, 2, 4, 29, 13, 45, 30, 123};
  for (unsigned k = 0; k < 8; ++k) EXPECT_EQ(b.U16(L::BlockSystemTime + 2 * k), expected[k]) << k;
  EXPECT_EQ(b.I64(L::BlockPerfTime) * 1.0 / b.I64(L::BlockPerfFreq), (1709214330123 + UnixEpochMs) / 1000.0);  // in s
  ASSERT_EQ(b.NumInstances(), 3u);
  EXPECT_EQ(b.Object.CounterTitles.at(0), 142u);  // a busy counter before the idle one
  EXPECT_EQ(b.Name(0), u"0");
  EXPECT_EQ(b.Name(1), u"1");
  EXPECT_EQ(b.Name(2), u"_Total");
  // cpu0: 859298 user + 6002 nice; 244497 system + 0 irq + 12097 softirq; 11514384 idle + 6540 iowait.
  EXPECT_EQ(b.Counter(0, 142), (859298 + 6002) * 100000LL);
  EXPECT_EQ(b.Counter(0, 144), (244497 + 12097) * 100000LL);
  EXPECT_EQ(b.Counter(0, 6), (11514384 + 6540) * 100000LL);
  EXPECT_EQ(b.Counter(1, 2008), 2170 * 100000LL);  // raw iowait of cpu1, the fifth field
  EXPECT_EQ(b.Counter(2, 6), (24059494 + 8710) * 100000LL / 2);
  EXPECT_EQ(Build("cpu 1 2 3 4\ncpu0 1 2 3 4\ncpu2 1 2 3 4\n").Name(1), u"2");  // offline cpu1 leaves a gap
}

TEST(PerfDataBlock, SystemTimeIsTheUtcCalendarOfTheMilliseconds) {
  struct TCase {
    int64_t Millis;
    uint16_t Words[8];
  };
  const TCase cases[] = {
      {0, {1970, 1, 4, 1, 0, 0, 0, 0}},
      {-1, {1969, 12, 3, 31, 23, 59, 59, 999}},
      {951782400000, {2000, 2, 2, 29, 0, 0, 0, 0}},
      {4107542400000, {2100, 3, 1, 1, 0, 0, 0, 0}},
      {INT64_MIN, {1601, 1, 1, 1, 0, 0, 0, 0}},  // held to what SYSTEMTIME can say
      {INT64_MAX, {30827, 12, 5, 31, 23, 59, 59, 999}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Millis);
    const TBuilt b = Build("cpu 1 2 3 4\ncpu0 1 2 3 4\n", 100, c.Millis);
    for (unsigned k = 0; k < 8; ++k) EXPECT_EQ(b.U16(L::BlockSystemTime + 2 * k), c.Words[k]) << k;
  }
}

TEST(PerfDataBlock, TooSmallBufferGetsMoreDataAndIsLeftAlone) {
  for (const char* file : {"proc-stat-1cpu.txt", "proc-stat-64cpu.txt"}) {
    SCOPED_TRACE(file);
    const std::string text = Fixture(file);
    const size_t required = Build(text).Bytes.size();
    std::vector<uint8_t> buffer(required + 16, 0xAB);
    for (size_t size : {size_t{0}, size_t{88}, required - 1}) {
      EXPECT_EQ(BuildProcessorPerfBlock(text, 100, May6, buffer.data(), static_cast<uint32_t>(size)), platform::ErrorMoreData);
      EXPECT_EQ(buffer, std::vector<uint8_t>(required + 16, 0xAB)) << size;
    }
    EXPECT_EQ(BuildProcessorPerfBlock(text, 100, May6, buffer.data(), static_cast<uint32_t>(required)), platform::ErrorSuccess);
    EXPECT_EQ(std::vector<uint8_t>(buffer.end() - 16, buffer.end()), std::vector<uint8_t>(16, 0xAB));
  }
  EXPECT_GT(Build(Fixture("proc-stat-64cpu.txt")).Bytes.size(), 8192u);
}

TEST(PerfDataBlock, TicksBecome100nsUnitsWithoutOverflow) {
  struct TCase {
    const char* User;
    long Hz;
    int64_t Expected;
  };
  const TCase cases[] = {
      {"3", 3, 10000000},
      {"1", 3, 3333333},
      {"12345", 1000000000, 123},
      {"250", 1000, 2500000},
      {"92233720368547", 100, 9223372036854700000},  // just below the limit
      {"1000000000000000", 100, INT64_MAX},
      {"18446744073709551615", 100, INT64_MAX},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.User);
    const std::string line = std::string(" ") + c.User + " 0 0 0\n";
    const TBuilt b = Build("cpu" + line + "cpu0" + line, c.Hz);
    EXPECT_EQ(b.Counter(0, 2000), c.Expected);
  }
  // Sums saturate too.
  const TBuilt huge = Build("cpu 18446744073709551615 18446744073709551615 1 1\ncpu0 18446744073709551615 18446744073709551615 1 1\n");
  EXPECT_EQ(huge.Counter(0, 142), INT64_MAX);
  EXPECT_EQ(huge.Counter(0, 6), 100000);  // idle 1 + iowait 0
}

TEST(PerfDataBlock, UnusableTextGivesABlockWithoutTheObject) {
  const std::string valid = "cpu 1 2 3 4\ncpu0 1 2 3 4\n";
  struct TCase {
    std::string Text;
    long Hz;
  };
  const TCase cases[] = {
      {"", 100},
      {"intr 1 2 3\nctxt 5\n", 100},
      {"cpu 1 2 3 4\n", 100},                                  // no processor line
      {"cpu0 1 2 3 4\n", 100},                                 // no aggregate
      {"cpu 1 2 3\ncpu0 1 2 3 4\n", 100},                      // a field short
      {"cpu 1 2 3 4\ncpu0 1 -2 3 4\n", 100},
      {"cpu 1 2 3 4\ncpu0 1 2 3 99999999999999999999\n", 100},  // beyond 64 bits
      {"cpu 1 2 3 4\ncpux 1 2 3 4\n", 100},
      {"cpu 1 2 3 4\ncpu 1 2 3 4\ncpu0 1 2 3 4\n", 100},
      {valid, 0},
      {valid, -1},
      {valid, 2000000000},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text + " at " + std::to_string(c.Hz));
    const TBuilt b = Build(c.Text, c.Hz);
    EXPECT_FALSE(b.Found);
    EXPECT_EQ(b.Bytes.size(), L::BlockSize);
  }
  // The kernel's older and newer line lengths are fine: missing fields are 0, extra ones ignored.
  EXPECT_EQ(Build(valid).NumInstances(), 2u);
  const TBuilt longer = Build("cpu 1 2 3 4 5 6 7 8 9 10 11 12\ncpu0\t1 2 3 4 5 6 7 8 9 10 11 12\n");
  EXPECT_EQ(longer.NumInstances(), 2u);
  EXPECT_EQ(longer.Counter(0, 2018), 1000000);  // guest_nice, the tenth field
}

TEST_F(PerfDataParsed, UnusableTextIsAFailedSampleThatKeepsTheLastGoodOne) {
  Registry.Text = "no processors here\n";
  EXPECT_EQ(MessageOf(0), "Unable to locate the \"Processor\" performance object");
  // Between two good samples a failed one changes nothing: the next interval spans both seconds.
  Registry.Text = "cpu 0 0 0 0\ncpu0 0 0 0 0\n";
  TakeCpuSample();
  Registry.Text = "";
  Registry.Millis = May6 + 1000;
  EXPECT_THROW(TakeCpuSample(), Exception);
  Registry.Text = "cpu 100 0 0 100\ncpu0 100 0 0 100\n";
  Registry.Millis = May6 + 2000;
  TakeCpuSample();
  EXPECT_EQ(CpuUsageOf(0), 0.5);
}

TEST_F(PerfDataParsed, RealProcStatSamplesThisMachine) {
  const std::string text = ReadText("/proc/stat");
  int32_t processors = 0;
  for (size_t at = text.find("\ncpu"); at != std::string::npos; at = text.find("\ncpu", at + 1)) ++processors;
  ASSERT_GT(processors, 0);
  Registry.Live = true;
  TakeCpuSample();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  TakeCpuSample();
  for (int32_t i = 0; i <= processors; ++i) {
    const double usage = CpuUsageOf(i);
    EXPECT_GE(usage, -0.5) << i;  // tick accounting is coarse over 300 ms
    EXPECT_LE(usage, 1.5) << i;
  }
  EXPECT_EQ(MessageOf(processors + 1), "CPU index out of bounds");

  // The stamp is the present UTC time.
  std::vector<uint8_t> buffer(1 << 20);
  ASSERT_EQ(QueryProcessorPerfData(buffer.data(), static_cast<uint32_t>(buffer.size())), platform::ErrorSuccess);
  TBuilt b{std::vector<uint8_t>(buffer.begin(), buffer.begin() + 128), {}};
  uint16_t w[8];
  ASSERT_TRUE(TPerfBlockReader(b.Bytes).SystemTime(w));
  const TPerfTime stamp{w[0], w[1], w[3], w[4], w[5], w[6], w[7]};
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch());
  EXPECT_NEAR(FileTimeOfPerfTime(stamp) / 10000.0, static_cast<double>(now.count() + UnixEpochMs), 5000);
}

}  // namespace
