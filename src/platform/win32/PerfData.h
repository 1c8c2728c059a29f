// The processor performance block when the system's own performance data has none (Wine answers an
// empty block): NtQuerySystemInformation(SystemProcessorPerformanceInformation) laid out as object 238
// in the published binary layout, idle time in 100 ns units, stamped with GetSystemTime (UTC).
#pragma once
#include <cstdint>
#include <vector>

namespace platform::win32 {

// One processor's times as the native record gives them, in 100 ns units; kernel time includes idle.
struct TProcessorTimes {
  int64_t IdleTime = 0;
  int64_t KernelTime = 0;
  int64_t UserTime = 0;
};

// The block's clocks: the UTC SYSTEMTIME words (year, month, day of week, day, hour, minute, second,
// milliseconds), the high-resolution counter with its frequency and the same instant as a FILETIME.
struct TPerfClock {
  uint16_t SystemTime[8] = {};
  int64_t PerfTime = 0;
  int64_t PerfFreq = 0;
  int64_t PerfTime100nSec = 0;
};

// True when the first length bytes of block are a data block listing an object with title index 238
// whose header lies wholly inside them. Every field is bounds-checked; a walk that would leave the
// bytes, or stops advancing, finds nothing.
bool HoldsProcessorObject(const uint8_t* block, uint32_t length);

// Writes the block: one instance per processor in order, named "0", "1", ..., then "_Total" with the
// processors' average times (so that a fraction over elapsed time reads as the mean, as the
// system's own total instance does). Counters, 64-bit: 142 (% User Time), 144 (% Privileged Time:
// kernel minus idle, never negative), 6 (the raw idle count). No processors gives a block listing no
// object, which the caller reads as no data. Answers ErrorSuccess (0) when the block fits in size
// bytes, else ErrorMoreData (234) with the buffer untouched.
long BuildProcessorPerfBlock(const std::vector<TProcessorTimes>& processors, const TPerfClock& clock, uint8_t* buffer,
                             uint32_t size);

// The block for this machine now. NtQuerySystemInformation is looked up in ntdll.dll at first use and
// remembered; when it is missing or fails, the block lists no object.
long QueryNativeProcessorPerfData(uint8_t* buffer, uint32_t size);

}  // namespace platform::win32
