// Kernel services the portable code needs: version, memory status, command line, executable path,
// priorities, sleeping, the processor's instructions (time-stamp counter, CPUID), the processor
// count, the system's directories, and the local host's name and addresses.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

constexpr uint32_t PlatformWin32Windows = 1;  // the 9x family
constexpr uint32_t PlatformWin32NT = 2;

struct TVersionInfo {
  uint32_t MajorVersion = 0;
  uint32_t MinorVersion = 0;
  uint32_t BuildNumber = 0;
  uint32_t PlatformId = 0;
  std::string CSDVersion;
};

// Byte counts, 64-bit, as GlobalMemoryStatusEx reports them.
struct TMemoryStatus {
  uint32_t MemoryLoad = 0;
  uint64_t TotalPhys = 0;
  uint64_t AvailPhys = 0;
  uint64_t TotalPageFile = 0;
  uint64_t AvailPageFile = 0;
  uint64_t TotalVirtual = 0;
  uint64_t AvailVirtual = 0;
};

// The registers after one execution of CPUID.
struct TCpuIdRegs {
  uint32_t EAX = 0, EBX = 0, ECX = 0, EDX = 0;
};

// Priority numbers as the Windows services name them.
constexpr uint32_t NormalPriorityClass = 0x20;
constexpr uint32_t RealtimePriorityClass = 0x100;
constexpr int ThreadPriorityNormal = 0;
constexpr int ThreadPriorityTimeCritical = 15;

class ISystem {
public:
  virtual ~ISystem() = default;
  virtual bool GetVersion(TVersionInfo& info) = 0;
  virtual TMemoryStatus GetMemoryStatus() = 0;
  // The physical memory free now, in bytes: what a trim's result is measured by (on Windows the
  // available memory; where the available figure already counts the cache a trim releases, the free).
  virtual uint64_t FreePhysicalMemory() = 0;
  // The program's arguments without the program name (ParamStr(1) onwards).
  virtual std::vector<std::string> CommandLineArgs() = 0;
  virtual std::string ExecutablePath() = 0;
  virtual uint32_t GetPriorityClass() = 0;
  virtual void SetPriorityClass(uint32_t priorityClass) = 0;
  virtual int GetThreadPriority() = 0;
  virtual void SetThreadPriority(int priority) = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
  virtual uint64_t TimeStampCounter() = 0;

  // Whether the identification flag (bit 21 of EFLAGS) can be toggled, that is CPUID exists.
  virtual bool CpuIdSupported() = 0;
  // One execution of CPUID with EAX = leaf (ECX as it happens to be).
  virtual TCpuIdRegs CpuId(uint32_t leaf) = 0;
  // The processors available (GetSystemInfo's processor count).
  virtual int32_t ProcessorCount() = 0;

  // GetWindowsDirectory, GetSystemDirectory and GetTempPath as they answer (the temporary path with
  // or without its final separator); empty when the system gives none.
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
  virtual std::string TempPath() = 0;
  // The local host's name (gethostname), and the IPv4 addresses that name resolves to, dotted, in the
  // resolver's order; empty when sockets or the resolver cannot answer.
  virtual std::string HostName() = 0;
  virtual std::vector<std::string> HostAddresses(const std::string& hostName) = 0;

  // NtQuerySystemInformation: the record of the information class in its published 32-bit layout,
  // written into buffer (sized by the caller as that layout asks); false when the system refuses or
  // has no such query.
  virtual bool QuerySystemInformation(uint32_t infoClass, std::span<uint8_t> buffer) = 0;
  // The threads of every process (a thread snapshot's length); 0 when it cannot be taken.
  virtual uint32_t ThreadCount() = 0;
};

// The information classes the system queries answer, with the record sizes they are read with.
constexpr uint32_t SystemInfoPerformance = 2;
constexpr uint32_t SystemInfoPerformanceSize = 312;
constexpr uint32_t SystemInfoProcessorTimes = 8;
constexpr uint32_t SystemInfoProcessorTimesSize = 48;  // one processor's record
constexpr uint32_t SystemInfoFileCache = 21;
constexpr uint32_t SystemInfoFileCacheSize = 36;

}  // namespace platform
