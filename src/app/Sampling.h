// Sampling, shared by the main window's ticks and its start-up: the processor percent, the memory
// load, the processor clock and the megabyte figures.
#pragma once
#include <cstdint>

#include "base/Extended.h"
#include "platform/System.h"

// The processor percent: the ceiling of the busy fraction since the previous sample × 100, of the
// whole processor (the "_Total" instance when there is one).
int GetCpuUsagePercent();
// ceiling(fraction × 100) with the product in the extended format, so 0.3 × 100 stays just below 30
// as it should; X is the number type it is computed in (the tests run both).
template <class X>
int64_t CeilPercent(double fraction) {
  return Ceil(X(fraction) * X(int64_t{100}));
}
// The memory load in percent: 100 less the ceiling of the available share; raises "Memory status
// unavailable" when the status has no total.
int MemoryLoadPercent(const platform::TMemoryStatus& status);
// Time-stamp counter ticks per microsecond over 500 ms at real-time priority.
double MeasureCpuMhz();
// Whole megabytes, at most INT32_MAX.
int32_t MegaBytes(uint64_t bytes);
