// The system query records built from kernel text: fixture machines with and without disks and with
// 64 processors, saturation and refusals; then this machine's records against /proc.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/linux/ProcText.h"
#include "platform/linux/System.h"
#include "platform/linux/SystemRecords.h"

using namespace platform;
using namespace platform::linux;

namespace {

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(BRISKO_TEST_DATA) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U32(const std::vector<uint8_t>& r, size_t offset) {
  uint32_t v;
  std::memcpy(&v, r.data() + offset, sizeof v);
  return v;
}

int64_t I64(const std::vector<uint8_t>& r, size_t offset) {
  int64_t v;
  std::memcpy(&v, r.data() + offset, sizeof v);
  return v;
}

class SystemRecordsTest : public ::testing::Test {
protected:
  std::string MemInfo = Fixture("meminfo-swap.txt"), VmStat = Fixture("vmstat.txt"), Disks = Fixture("diskstats.txt"),
              Stat = Fixture("proc-stat-64cpu.txt");
  TKernelCounters Counters{MemInfo, VmStat, Disks, Stat, {"nvme0n1", "sda"}, 100, 4096};
  std::vector<uint8_t> Build(uint32_t infoClass, size_t size, bool expected = true) {
    std::vector<uint8_t> record(size, 0xEE);
    EXPECT_EQ(BuildSystemRecord(infoClass, Counters, record), expected) << infoClass;
    return record;
  }
};

TEST_F(SystemRecordsTest, PerformanceCountsDiskOperationsOfWholeDisksAndMemoryInPages) {
  const std::vector<uint8_t> r = Build(SystemInfoPerformance, 312);
  EXPECT_EQ(U32(r, 32), 184237u + 9020u) << "the disks, not their partitions or mapper devices";
  EXPECT_EQ(U32(r, 36), 412588u + 1000u);
  EXPECT_EQ(U32(r, 40), 1200u) << "discards where the kernel counts them";
  EXPECT_EQ(U32(r, 44), 4075856u / 4);  // MemAvailable in 4 KiB pages
  EXPECT_EQ(U32(r, 48), 19839220u / 4);
  EXPECT_EQ(U32(r, 56), 0u) << "no peak commitment on Linux";
  EXPECT_EQ(U32(r, 84), 31406u);
  EXPECT_EQ(U32(r, 300), 0u) << "fields without a counterpart are zero";

  const std::string noDisks = Fixture("diskstats-nodisks.txt");
  Counters.DiskStats = noDisks;
  Counters.Disks.clear();
  const std::vector<uint8_t> none = Build(SystemInfoPerformance, 312);
  EXPECT_EQ(U32(none, 32), 0u);
  EXPECT_EQ(U32(none, 44), 4075856u / 4);
}

TEST_F(SystemRecordsTest, ProcessorTimesAreTheFirstProcessorsIn100nsUnits) {
  const std::vector<uint8_t> r = Build(SystemInfoProcessorTimes, 48 * 64);
  EXPECT_EQ(I64(r, 0), (12571063 + 14236) * 100000LL);  // idle + iowait of cpu0, not the aggregate
  EXPECT_EQ(I64(r, 8), 530416 * 100000LL);
  EXPECT_EQ(I64(r, 32), (2196 + 2552) * 100000LL);
  EXPECT_EQ(U32(r, 40), 104167252u);
  EXPECT_EQ(I64(r, 48), 0) << "the second processor's record is not written";

  Counters.ProcStat = "cpu  1 2 3 4\ncpu1 1 2 3 4\n";
  Build(SystemInfoProcessorTimes, 48, false);
  Counters.TicksPerSecond = 0;
  Counters.ProcStat = Stat;
  Build(SystemInfoProcessorTimes, 48, false);
}

TEST_F(SystemRecordsTest, TheCacheSizeSaturatesAndWrongRequestsAreRefused) {
  EXPECT_EQ(U32(Build(SystemInfoFileCache, 36), 0), 3102376u * 1024);
  const std::string huge = "Cached: 8388608 kB\n";
  Counters.MemInfo = huge;
  EXPECT_EQ(U32(Build(SystemInfoFileCache, 36), 0), 0xFFFFFFFFu) << "8 GiB does not wrap to 0";
  Build(SystemInfoFileCache, 35, false);
  Build(SystemInfoPerformance, 311, false);
  Build(7, 312, false);
}

TEST(LinuxSystemRecords, ThisMachinesRecordsAgreeWithProc) {
  TSystem system(0, nullptr);
  std::vector<uint8_t> perf(312), cache(36), cpu(48 * static_cast<size_t>(system.ProcessorCount()));
  ASSERT_TRUE(system.QuerySystemInformation(SystemInfoPerformance, perf));
  ASSERT_TRUE(system.QuerySystemInformation(SystemInfoFileCache, cache));
  ASSERT_TRUE(system.QuerySystemInformation(SystemInfoProcessorTimes, cpu));
  std::ifstream in("/proc/meminfo");
  const std::string meminfo{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const auto page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
  EXPECT_NEAR(U32(perf, 52), ProcFieldBytes(meminfo, "CommitLimit") / page, 16);
  EXPECT_GT(I64(cpu, 0), 0) << "the first processor has idled";
  EXPECT_GT(system.ThreadCount(), 1u);
}

}  // namespace
