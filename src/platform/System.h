// Kernel services the portable code needs: version, memory status, command line, executable path,
// priorities, sleeping and the processor's time-stamp counter.
#pragma once
#include <cstdint>
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
  virtual uint64_t ReadTimeStampCounter() = 0;
};

}  // namespace platform
