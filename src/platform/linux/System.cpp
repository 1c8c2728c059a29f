// Kernel services from /proc, uname, setpriority and nanosleep; the mapping onto the
// Windows records is written down in System.h.
#include "platform/linux/System.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <arpa/inet.h>
#include <netdb.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <x86intrin.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <charconv>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "platform/X86.h"
#include "platform/linux/Files.h"
#include "platform/linux/ProcText.h"
#include "platform/linux/SystemRecords.h"

namespace platform::linux {

namespace {

constexpr int TopNice = -20;

// /proc text into a buffer the caller keeps, so that its capacity is reused; empty when unreadable.
const std::string& ReadInto(const char* path, std::string& buffer) {
  std::string why;
  if (ReadFile(path, 4 << 20, buffer, why) != TReadResult::Ok) buffer.clear();
  return buffer;
}

std::string ReadText(const char* path) {
  std::string text;
  return ReadInto(path, text);
}

// The whole disks: the block devices backed by a device (partitions, loop, RAM and mapper devices
// are not, so no operation counts twice).
std::vector<std::string> WholeDisks() {
  std::vector<std::string> disks;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/sys/block", error))
    if (std::filesystem::exists(entry.path() / "device", error)) disks.push_back(entry.path().filename().string());
  return disks;
}

}  // namespace

void ParseKernelRelease(std::string_view release, uint32_t& major, uint32_t& minor, uint32_t& build) {
  uint32_t* parts[] = {&major, &minor, &build};
  for (uint32_t* part : parts) *part = 0;
  const char* p = release.data();
  const char* const end = release.data() + release.size();
  for (uint32_t* part : parts) {
    const auto [next, error] = std::from_chars(p, end, *part);
    if (error != std::errc()) {
      *part = 0;
      return;
    }
    p = next;
    if (p == end || *p != '.') return;
    ++p;
  }
}

TMemoryStatus MemoryStatusFrom(std::string_view meminfo) {
  TMemoryStatus status;
  status.TotalPhys = ProcFieldBytes(meminfo, "MemTotal");
  status.AvailPhys = ProcFieldBytes(meminfo, "MemAvailable");
  status.TotalPageFile = ProcFieldBytes(meminfo, "SwapTotal");
  status.AvailPageFile = ProcFieldBytes(meminfo, "SwapFree");
  // Sums of kernel figures, held below 2^64 whatever the text says.
  const auto sum = [](uint64_t a, uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; };
  status.TotalVirtual = sum(status.TotalPhys, status.TotalPageFile);
  status.AvailVirtual = sum(status.AvailPhys, status.AvailPageFile);
  if (status.TotalPhys > 0)
    status.MemoryLoad = 100 - static_cast<uint32_t>(static_cast<long double>(std::min(status.AvailPhys, status.TotalPhys)) *
                                                    100 / status.TotalPhys);
  return status;
}

TSystem::TSystem(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) FArgs.emplace_back(argv[i]);
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, 0);
  if (errno == 0) FOriginalNice = nice;
}

bool TSystem::GetVersion(TVersionInfo& info) {
  utsname name{};
  if (uname(&name) != 0) return false;
  info = {};
  ParseKernelRelease(name.release, info.MajorVersion, info.MinorVersion, info.BuildNumber);
  info.PlatformId = PlatformWin32NT;
  info.CSDVersion = name.release;
  return true;
}

TMemoryStatus TSystem::GetMemoryStatus() {
  return MemoryStatusFrom(MemInfo());
}

uint64_t TSystem::FreePhysicalMemory() { return ProcFieldBytes(MemInfo(), "MemFree"); }

const std::string& TSystem::MemInfo() {
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
  if (now.count() != FMemInfoAt) {
    ReadInto("/proc/meminfo", FMemInfo);
    FMemInfoAt = now.count();
  }
  return FMemInfo;
}

std::string TSystem::ExecutablePath() {
  std::string path(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0) return {};
  path.resize(static_cast<size_t>(n));
  return WithoutDeletedMark(path);
}

std::string WithoutDeletedMark(const std::string& path) {
  // The kernel marks an executable replaced since it was started; the path names the new one.
  constexpr std::string_view Mark = " (deleted)";
  struct stat st;
  if (!path.ends_with(Mark) || lstat(path.c_str(), &st) == 0) return path;
  return path.substr(0, path.size() - Mark.size());
}

void TSystem::SetPriorityClass(uint32_t priorityClass) {
  FPriorityClass = priorityClass;
  ApplyNice();
}

void TSystem::SetThreadPriority(int priority) {
  FThreadPriority = priority;
  ApplyNice();
}

void TSystem::ApplyNice() {
  const bool top = FPriorityClass == RealtimePriorityClass || FThreadPriority == ThreadPriorityTimeCritical;
  // Best effort: without the privilege the kernel refuses, and the program runs on at its nice.
  (void)setpriority(PRIO_PROCESS, 0, top ? TopNice : FOriginalNice);
}

void TSystem::Sleep(uint32_t milliseconds) {
  timespec remaining{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

uint64_t TSystem::TimeStampCounter() { return __rdtsc(); }

bool TSystem::CpuIdSupported() { return X86IdFlagToggles(); }

TCpuIdRegs TSystem::CpuId(uint32_t leaf) { return X86CpuId(leaf); }

int32_t TSystem::ProcessorCount() { return static_cast<int32_t>(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN))); }

std::string TSystem::TempPath() {
  const char* tmpdir = std::getenv("TMPDIR");
  return tmpdir && *tmpdir ? tmpdir : "/tmp";
}

std::string TSystem::HostName() {
  char name[256] = {};
  return gethostname(name, sizeof name - 1) == 0 ? name : "";
}

std::vector<std::string> TSystem::HostAddresses(const std::string& hostName) {
  std::vector<std::string> addresses;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;  // one entry per address
  addrinfo* found = nullptr;
  if (hostName.empty() || getaddrinfo(hostName.c_str(), nullptr, &hints, &found) != 0) return addresses;
  for (const addrinfo* a = found; a; a = a->ai_next) {
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
    if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) addresses.emplace_back(text);
  }
  freeaddrinfo(found);
  return addresses;
}

bool TSystem::QuerySystemInformation(uint32_t infoClass, std::span<uint8_t> buffer) {
  const std::string memInfo = ReadText("/proc/meminfo"), vmStat = ReadText("/proc/vmstat"),
                    diskStats = ReadText("/proc/diskstats"), procStat = ReadText("/proc/stat");
  const TKernelCounters counters{memInfo, vmStat, diskStats, procStat, WholeDisks(), sysconf(_SC_CLK_TCK),
                                 static_cast<uint64_t>(std::max(1L, sysconf(_SC_PAGESIZE)))};
  return BuildSystemRecord(infoClass, counters, buffer);
}

uint32_t TSystem::ThreadCount() {
  uint64_t threads = 0;
  if (!ParseLoadAvgThreads(ReadText("/proc/loadavg"), threads)) return 0;
  return static_cast<uint32_t>(std::min<uint64_t>(threads, UINT32_MAX));
}

}  // namespace platform::linux
