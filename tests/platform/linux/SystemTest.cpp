// The Linux kernel services: the /proc arithmetic against fixture text, then the real host (memory
// status against /proc read independently, version, executable, arguments, priorities, sleep, TSC).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "platform/linux/ProcText.h"
#include "platform/linux/System.h"

using namespace platform;
using platform::linux::MemoryStatusFrom;
using platform::linux::ParseKernelRelease;
using platform::linux::ProcFieldBytes;
using platform::linux::TSystem;
using platform::linux::WithoutDeletedMark;

namespace {

constexpr uint64_t KiB = 1024;
constexpr uint64_t MiB = 1024 * KiB;
constexpr uint64_t GiB = 1024 * MiB;

// A /proc/meminfo excerpt whose names overlap on purpose (SwapTotal ends like MemTotal; SwapCached
// starts like SwapFree's neighbours) and whose order differs from the kernel's.
constexpr const char* MemInfoFixture =
    "SwapTotal:       2097148 kB\n"
    "MemFree:          812344 kB\n"
    "MemTotal:       16303428 kB\n"
    "SwapCached:         1024 kB\n"
    "MemAvailable:    4075856 kB\n"
    "SwapFree:        1048574 kB\n"
    "HugePages_Total:       3\n";

std::string ReadFile(const char* path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The value of a "Name: N kB" line, read with sscanf so the check does not share the parser under test.
uint64_t KiloField(const std::string& text, const char* name) {
  std::istringstream lines(text);
  std::string line;
  const std::string prefix = std::string(name) + ":";
  while (std::getline(lines, line))
    if (line.rfind(prefix, 0) == 0) {
      unsigned long long value = 0;
      std::sscanf(line.c_str() + prefix.size(), "%llu", &value);
      return value * KiB;
    }
  return 0;
}

uint64_t Distance(uint64_t a, uint64_t b) { return a > b ? a - b : b - a; }

int CurrentNice() {
  errno = 0;
  return getpriority(PRIO_PROCESS, 0);
}

}  // namespace

TEST(LinuxProcText, FieldsAreFoundByWholeNameAndScaledFromKilobytes) {
  EXPECT_EQ(ProcFieldBytes(MemInfoFixture, "MemTotal"), 16303428 * KiB);
  EXPECT_EQ(ProcFieldBytes(MemInfoFixture, "SwapTotal"), 2097148 * KiB);
  EXPECT_EQ(ProcFieldBytes(MemInfoFixture, "SwapFree"), 1048574 * KiB);
  // No unit: a plain count.
  EXPECT_EQ(ProcFieldBytes(MemInfoFixture, "HugePages_Total"), 3u);
  // Prefixes and suffixes of existing names are different fields.
  EXPECT_EQ(ProcFieldBytes(MemInfoFixture, "Total"), 0u);
  EXPECT_EQ(ProcFieldBytes(MemInfoFixture, "Swap"), 0u);
  EXPECT_EQ(ProcFieldBytes(MemInfoFixture, "Mem"), 0u);
  EXPECT_EQ(ProcFieldBytes("", "MemTotal"), 0u);
  EXPECT_EQ(ProcFieldBytes("MemTotal: lots kB\n", "MemTotal"), 0u);
  // The last line needs no line end; tabs may separate the number.
  EXPECT_EQ(ProcFieldBytes("VmPeak:\t  10 kB\nVmSize:\t   2048 kB", "VmSize"), 2048 * KiB);
}

TEST(LinuxProcText, TheRowsAreMemoryRamAndSwapTogetherAndSwap) {
  const TMemoryStatus s = MemoryStatusFrom(ReadFile(BRISKO_TEST_DATA "/meminfo-swap.txt"));
  const uint64_t total = 16303428 * KiB, avail = 4075856 * KiB;
  EXPECT_EQ(s.TotalPhys, total);
  EXPECT_EQ(s.AvailPhys, avail);
  EXPECT_EQ(s.TotalVirtual, total + 2097148 * KiB);
  EXPECT_EQ(s.AvailVirtual, avail + 1048574 * KiB);
  EXPECT_EQ(s.TotalPageFile, 2097148 * KiB);
  EXPECT_EQ(s.AvailPageFile, 1048574 * KiB);
  // 4075856 * 100 / 16303428 is 24.99999: truncated to 24, the load is 76 (rounding would give 75).
  EXPECT_EQ(s.MemoryLoad, 76u);

  // Without swap the swap row is empty and the "virtual" row is the physical one.
  const TMemoryStatus none = MemoryStatusFrom(ReadFile(BRISKO_TEST_DATA "/meminfo-noswap.txt"));
  EXPECT_EQ(none.TotalPageFile, 0u);
  EXPECT_EQ(none.AvailPageFile, 0u);
  EXPECT_EQ(none.TotalVirtual, none.TotalPhys);
  EXPECT_EQ(none.AvailVirtual, 23622544 * KiB);

  // Nothing available is a full load; an unreadable meminfo is no load rather than a division by zero.
  EXPECT_EQ(MemoryStatusFrom("MemTotal: 1000 kB\nMemAvailable: 0 kB\n").MemoryLoad, 100u);
  EXPECT_EQ(MemoryStatusFrom("MemTotal: 1000 kB\nMemAvailable: 5000 kB\n").MemoryLoad, 0u);
  const TMemoryStatus empty = MemoryStatusFrom("");
  EXPECT_EQ(empty.MemoryLoad, 0u);
  EXPECT_EQ(empty.TotalPhys, 0u);
}

TEST(LinuxProcText, KernelReleaseGivesMajorMinorBuild) {
  uint32_t major = 9, minor = 9, build = 9;
  ParseKernelRelease("6.1.0-18-amd64", major, minor, build);
  EXPECT_EQ(std::tie(major, minor, build), std::make_tuple(6u, 1u, 0u));
  ParseKernelRelease("5.15.153.1-microsoft-standard-WSL2", major, minor, build);
  EXPECT_EQ(std::tie(major, minor, build), std::make_tuple(5u, 15u, 153u));
  ParseKernelRelease("6.8", major, minor, build);
  EXPECT_EQ(std::tie(major, minor, build), std::make_tuple(6u, 8u, 0u));
  ParseKernelRelease("4.19-rc1", major, minor, build);
  EXPECT_EQ(std::tie(major, minor, build), std::make_tuple(4u, 19u, 0u));
  ParseKernelRelease("", major, minor, build);
  EXPECT_EQ(std::tie(major, minor, build), std::make_tuple(0u, 0u, 0u));
}

TEST(LinuxSystem, MemoryStatusMatchesTheKernelsFigures) {
  TSystem system(0, nullptr);
  const TMemoryStatus s = system.GetMemoryStatus();
  const std::string meminfo = ReadFile("/proc/meminfo");
  const uint64_t total = KiloField(meminfo, "MemTotal");
  ASSERT_GT(total, 0u);
  EXPECT_EQ(s.TotalPhys, total);
  EXPECT_EQ(s.TotalPageFile, KiloField(meminfo, "SwapTotal"));
  EXPECT_EQ(s.TotalVirtual, total + KiloField(meminfo, "SwapTotal"));
  // Availability moves between the two reads; a few MB is what other processes may do meanwhile.
  EXPECT_LT(Distance(s.AvailPhys, KiloField(meminfo, "MemAvailable")), 64 * MiB);
  EXPECT_LT(Distance(s.AvailVirtual, KiloField(meminfo, "MemAvailable") + KiloField(meminfo, "SwapFree")), 64 * MiB);
  EXPECT_LE(s.AvailPhys, s.TotalPhys);
  EXPECT_LE(s.MemoryLoad, 100u);
  EXPECT_LE(Distance(s.MemoryLoad, 100 - s.AvailPhys * 100 / s.TotalPhys), 1u);

}

TEST(LinuxProcText, AReplacedExecutableIsNamedWithoutTheKernelsMark) {
  EXPECT_EQ(WithoutDeletedMark("/opt/brisko/brisko (deleted)"), "/opt/brisko/brisko");
  EXPECT_EQ(WithoutDeletedMark("/opt/brisko/brisko"), "/opt/brisko/brisko");
  // A file that is really named so keeps its whole name.
  char folder[] = "/tmp/brisko-exe-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string named = std::string(folder) + "/x (deleted)";
  std::ofstream(named) << "";
  EXPECT_EQ(WithoutDeletedMark(named), named);
  std::filesystem::remove_all(folder);
}

TEST(LinuxSystem, VersionIsNtFamilyWithTheKernelRelease) {
  TSystem system(0, nullptr);
  TVersionInfo info;
  ASSERT_TRUE(system.GetVersion(info));
  EXPECT_EQ(info.PlatformId, PlatformWin32NT);
  utsname name{};
  ASSERT_EQ(uname(&name), 0);
  unsigned major = 0, minor = 0;
  ASSERT_EQ(std::sscanf(name.release, "%u.%u", &major, &minor), 2);
  EXPECT_EQ(info.MajorVersion, major);
  EXPECT_EQ(info.MinorVersion, minor);
  EXPECT_EQ(info.CSDVersion, name.release);  // in the service pack's place
}

TEST(LinuxSystem, ArgumentsAndExecutable) {
  const char* argv[] = {"/usr/bin/brisko", "/LOAD", "two words", ""};
  TSystem system(4, argv);
  EXPECT_EQ(system.CommandLineArgs(), (std::vector<std::string>{"/LOAD", "two words", ""}));
  EXPECT_TRUE(TSystem(1, argv).CommandLineArgs().empty());

  const std::filesystem::path exe = system.ExecutablePath();
  EXPECT_TRUE(exe.is_absolute());
  EXPECT_TRUE(std::filesystem::is_regular_file(exe));
  EXPECT_EQ(exe.filename(), "linux_platform_tests");
}

TEST(LinuxSystem, PrioritiesRaiseWhenPermittedAndAlwaysReturnToTheOriginalNice) {
  const int original = CurrentNice();
  TSystem system(0, nullptr);
  EXPECT_EQ(system.GetPriorityClass(), NormalPriorityClass);
  EXPECT_EQ(system.GetThreadPriority(), ThreadPriorityNormal);

  system.SetPriorityClass(RealtimePriorityClass);
  EXPECT_EQ(system.GetPriorityClass(), RealtimePriorityClass);
  const int raised = CurrentNice();
  // Without CAP_SYS_NICE the request is refused quietly and the nice stays.
  EXPECT_TRUE(raised == -20 || raised == original) << raised;
  system.SetThreadPriority(ThreadPriorityTimeCritical);
  EXPECT_EQ(system.GetThreadPriority(), ThreadPriorityTimeCritical);
  // Back to a normal thread while the class is still real-time: the class keeps the thread raised.
  system.SetThreadPriority(ThreadPriorityNormal);
  EXPECT_EQ(CurrentNice(), raised);
  system.SetPriorityClass(NormalPriorityClass);
  EXPECT_EQ(CurrentNice(), original);

  system.SetThreadPriority(ThreadPriorityTimeCritical);
  EXPECT_EQ(CurrentNice(), raised);
  system.SetThreadPriority(ThreadPriorityNormal);
  EXPECT_EQ(CurrentNice(), original);
}

namespace {
void IgnoreAlarm(int) {}
}  // namespace

TEST(LinuxSystem, SleepLastsTheWholeTimeEvenWhenSignalsInterruptIt) {
  TSystem system(0, nullptr);
  struct sigaction action {};
  action.sa_handler = IgnoreAlarm;  // no SA_RESTART: nanosleep returns early with EINTR
  struct sigaction previous {};
  ASSERT_EQ(sigaction(SIGALRM, &action, &previous), 0);
  itimerval alarm{};
  alarm.it_value.tv_usec = 10000;
  alarm.it_interval.tv_usec = 10000;
  ASSERT_EQ(setitimer(ITIMER_REAL, &alarm, nullptr), 0);

  const auto start = std::chrono::steady_clock::now();
  const uint64_t tscBefore = system.TimeStampCounter();
  system.Sleep(60);
  const uint64_t tscAfter = system.TimeStampCounter();
  const auto elapsed = std::chrono::steady_clock::now() - start;

  const itimerval off{};
  setitimer(ITIMER_REAL, &off, nullptr);
  sigaction(SIGALRM, &previous, nullptr);

  EXPECT_GE(elapsed, std::chrono::milliseconds(60));
  EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
  // The counter runs at a constant rate of at least tens of MHz: 60 ms are far more than 10^5 ticks.
  EXPECT_GT(tscAfter, tscBefore + 100000);
}

TEST(LinuxSystem, MachineFactsComeFromTheKernelAndTheResolver) {
  TSystem system(0, nullptr);
  EXPECT_EQ(system.ProcessorCount(), sysconf(_SC_NPROCESSORS_ONLN));
  utsname names{};
  ASSERT_EQ(uname(&names), 0);
  EXPECT_EQ(system.HostName(), names.nodename);
  const std::vector<std::string> loopback = system.HostAddresses("localhost");
  EXPECT_NE(std::find(loopback.begin(), loopback.end(), "127.0.0.1"), loopback.end());
  EXPECT_TRUE(system.HostAddresses("").empty());
  EXPECT_TRUE(std::filesystem::is_directory(system.TempPath()));
}
