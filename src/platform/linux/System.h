// The kernel services on Linux: version, memory status, command line, executable path, priorities,
// sleeping and the time-stamp counter, answering with the records and units the Windows services use.
// Nothing here throws; a source that cannot be read yields zeros (or the defaults stated below).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/System.h"

namespace platform::linux {

// Mapping:
// - GetVersion: PlatformId is PlatformWin32NT (the program's NT-family code paths apply); Major, Minor
//   and BuildNumber are the first three numbers of the kernel release (uname -r, "6.1.0-18-amd64" gives
//   6, 1, 0); CSDVersion, the service pack's place, is the whole kernel release.
// - GetMemoryStatus, from /proc/meminfo, all in bytes, as a Linux user reads the three rows:
//   physical: TotalPhys = MemTotal, AvailPhys = MemAvailable;
//   "virtual" memory is RAM and swap together (what `free -t` totals): TotalVirtual = MemTotal + SwapTotal,
//   AvailVirtual = MemAvailable + SwapFree (a process's address space means nothing to the reader);
//   the "page file" is the swap: TotalPageFile = SwapTotal, AvailPageFile = SwapFree (0 without swap);
//   MemoryLoad = 100 - AvailPhys * 100 / TotalPhys (0 when MemTotal is unknown).
// - FreePhysicalMemory: MemFree. MemAvailable already counts the page cache a trim's page-out releases,
//   so a trim's result shows in MemFree only. Reads of /proc/meminfo within the same millisecond
//   (the two of one sampling tick) share one reading.
// - CommandLineArgs: the argv given to the constructor, without argv[0].
// - ExecutablePath: the target of /proc/self/exe, without the " (deleted)" the kernel adds once the
//   executable was replaced (upgraded) while it runs.
// - Priorities: RealtimePriorityClass and ThreadPriorityTimeCritical ask for nice -20 on the calling
//   thread (setpriority, which on Linux acts per thread); the request fails silently without
//   CAP_SYS_NICE, as the Windows call quietly grants less. Any other value goes back to the nice the
//   thread had when the service was made. Get* answer the value last set.
// - Sleep: nanosleep, resumed after signals until the whole time has passed.
// - TimeStampCounter: the RDTSC instruction; CpuIdSupported and CpuId: the instructions (X86.h).
// - ProcessorCount: the processors online. WindowsDirectory is "/", SystemDirectory "/usr/bin",
//   TempPath $TMPDIR or "/tmp" (without a final "/", as GetTempPath may answer).
// - HostName: gethostname; HostAddresses: getaddrinfo for IPv4, in the resolver's order.
// - QuerySystemInformation: the records built from /proc (SystemRecords.h); ThreadCount: the thread
//   total of /proc/loadavg.
class TSystem : public platform::ISystem {
public:
  TSystem(int argc, const char* const* argv);

  bool GetVersion(TVersionInfo& info) override;
  TMemoryStatus GetMemoryStatus() override;
  uint64_t FreePhysicalMemory() override;
  std::vector<std::string> CommandLineArgs() override { return FArgs; }
  std::string ExecutablePath() override;
  uint32_t GetPriorityClass() override { return FPriorityClass; }
  void SetPriorityClass(uint32_t priorityClass) override;
  int GetThreadPriority() override { return FThreadPriority; }
  void SetThreadPriority(int priority) override;
  void Sleep(uint32_t milliseconds) override;
  uint64_t TimeStampCounter() override;
  bool CpuIdSupported() override;
  TCpuIdRegs CpuId(uint32_t leaf) override;
  int32_t ProcessorCount() override;
  std::string WindowsDirectory() override { return "/"; }
  std::string SystemDirectory() override { return "/usr/bin"; }
  std::string TempPath() override;
  std::string HostName() override;
  std::vector<std::string> HostAddresses(const std::string& hostName) override;
  bool QuerySystemInformation(uint32_t infoClass, std::span<uint8_t> buffer) override;
  uint32_t ThreadCount() override;

private:
  void ApplyNice();
  const std::string& MemInfo();
  std::vector<std::string> FArgs;
  std::string FMemInfo;
  int64_t FMemInfoAt = -1;  // steady-clock milliseconds of the reading in FMemInfo
  int FOriginalNice = 0;
  uint32_t FPriorityClass = NormalPriorityClass;
  int FThreadPriority = ThreadPriorityNormal;
};

// The parts of the mapping that are plain arithmetic on /proc text, open to tests with fixture text.
// Major, minor and build of a kernel release string; missing numbers are 0.
void ParseKernelRelease(std::string_view release, uint32_t& major, uint32_t& minor, uint32_t& build);
// path without a trailing " (deleted)" when no file has that name.
std::string WithoutDeletedMark(const std::string& path);
// The memory status from the text of /proc/meminfo.
TMemoryStatus MemoryStatusFrom(std::string_view meminfo);

}  // namespace platform::linux
