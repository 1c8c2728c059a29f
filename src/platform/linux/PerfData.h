// The processor performance block on Linux: /proc/stat's per-processor times laid out as a
// performance-data block for object 238 in the published binary layout, idle time in 100 ns units,
// stamped with the UTC time, filled into the caller's buffer with the more-data protocol.
#pragma once
#include <cstdint>
#include <string_view>

namespace platform::linux {

// Builds the block from /proc/stat text: one instance per "cpuN" line in order, named N, then
// "_Total": the "cpu" line divided by the number of processors. Counters, all 64-bit times in 100 ns
// units: 142 (% User Time: user + nice), 144 (% Privileged Time: system + irq + softirq), 6
// (% Processor Time, the raw idle count: idle + iowait), then the ten raw /proc/stat fields in the
// kernel's order as counters 2000, 2002, ... 2018, which only this block defines. Text without an
// aggregate and a "cpuN" line, or with a malformed cpu line (or no /proc/stat at all), gives a block
// that lists no object: the counter's failed sample, which leaves the last good one in place.
// Answers ErrorSuccess (0) when the block fits in size bytes, else ErrorMoreData (234) with the
// buffer untouched.
long BuildProcessorPerfBlock(std::string_view procStat, long clockTicksPerSecond, int64_t utcMillis, uint8_t* buffer,
                             uint32_t size);

// The block for this machine now: /proc/stat, the clock-tick rate, the current UTC time.
long QueryProcessorPerfData(uint8_t* buffer, uint32_t size);

}  // namespace platform::linux
