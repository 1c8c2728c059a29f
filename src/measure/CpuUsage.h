// The processor usage counter: keeps the last two readings of the processor's idle-time counters
// (NT family: performance object 238, counter 6; 9x family: the dynamic-data percentage) and turns
// them into busy fractions. One module-wide state, used from the user-interface thread only.
#pragma once
#include <cstdint>
#include <string_view>

#include "base/Extended.h"

// The module start: resets the state, allocates the 8192-byte sample buffer and learns the platform
// family; raises "Can't get the Windows version" when the version cannot be read.
void InitializeCpuUsage();

// Reads one new sample; raises the module's fixed messages on failure, leaving the counts and time
// stamps of the previous sample untouched.
void TakeCpuSample();

// Busy fraction of instance Index between the last two samples (not clamped; exactly 0.0 when both
// carry the same time stamp). Takes a first sample itself when none has been taken.
double CpuUsageOf(int32_t Index);

// The index of the instance with this name in the last sample (the processors' "_Total" instance),
// among the instances the counter keeps; -1 when there is none (or no sample with names, as on 9x).
int32_t CpuInstanceNamed(std::u16string_view name);

// The module end: stops the 9x statistic if it runs and frees the sample buffer.
void StopCpuStatistics();

// Current size of the sample buffer in bytes (it only grows, in 4096-byte steps).
int32_t CpuSampleBufferSize();

// 1 − idle / elapsed in the extended format, delivered as a double; X is the number type it is
// computed in (the tests run both).
template <class X>
double BusyFraction(int64_t idle, int64_t elapsed) {
  return ToDouble(X(int64_t{1}) - X(idle) / X(elapsed));
}
