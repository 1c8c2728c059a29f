// The query records from the kernel's counters; see SystemRecords.h for the mapping.
#include "platform/linux/SystemRecords.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/System.h"
#include "platform/linux/ProcText.h"

namespace platform::linux {

namespace {

void Put32(std::span<uint8_t> record, size_t offset, uint64_t value) {
  const auto field = static_cast<uint32_t>(std::min<uint64_t>(value, std::numeric_limits<uint32_t>::max()));
  std::memcpy(record.data() + offset, &field, sizeof field);
}

void Put64(std::span<uint8_t> record, size_t offset, int64_t value) { std::memcpy(record.data() + offset, &value, sizeof value); }

void Performance(const TKernelCounters& c, std::span<uint8_t> record) {
  const auto pages = [&](const char* field) { return ProcFieldBytes(c.MemInfo, field) / c.PageSize; };
  const TDiskOperations disks = SumDiskOperations(c.DiskStats, c.Disks);
  Put32(record, 32, disks.Reads);
  Put32(record, 36, disks.Writes);
  Put32(record, 40, disks.Discards);
  Put32(record, 44, pages("MemAvailable"));
  Put32(record, 48, pages("Committed_AS"));
  Put32(record, 52, pages("CommitLimit"));
  Put32(record, 84, StatField(c.VmStat, "pgmajfault"));
  Put32(record, 112, pages("SReclaimable"));
  Put32(record, 116, pages("SUnreclaim"));
}

bool ProcessorTimes(const TKernelCounters& c, std::span<uint8_t> record) {
  if (c.TicksPerSecond <= 0 || c.TicksPerSecond > 1000000000) return false;
  const std::vector<TCpuTicks> lines = ParseCpuLines(c.ProcStat);
  const auto first = std::find_if(lines.begin(), lines.end(), [](const TCpuTicks& line) { return line.Name == "0"; });
  if (first == lines.end()) return false;
  const uint64_t* t = first->Ticks;
  const auto time = [&](uint64_t ticks) { return TicksTo100ns(ticks, static_cast<uint64_t>(c.TicksPerSecond)); };
  Put64(record, 0, time(SaturatingAdd(t[3], t[4])));
  Put64(record, 8, time(t[2]));
  Put64(record, 16, time(SaturatingAdd(t[0], t[1])));
  Put64(record, 24, time(t[6]));
  Put64(record, 32, time(SaturatingAdd(t[5], t[6])));
  Put32(record, 40, StatField(c.ProcStat, "intr"));
  return true;
}

void FileCache(const TKernelCounters& c, std::span<uint8_t> record) { Put32(record, 0, ProcFieldBytes(c.MemInfo, "Cached")); }

}  // namespace

bool BuildSystemRecord(uint32_t infoClass, const TKernelCounters& counters, std::span<uint8_t> buffer) {
  const uint32_t size = infoClass == SystemInfoPerformance      ? SystemInfoPerformanceSize
                        : infoClass == SystemInfoProcessorTimes ? SystemInfoProcessorTimesSize
                        : infoClass == SystemInfoFileCache      ? SystemInfoFileCacheSize
                                                                : 0;
  if (size == 0 || buffer.size() < size || counters.PageSize == 0) return false;
  std::fill(buffer.begin(), buffer.end(), uint8_t{0});
  if (infoClass == SystemInfoProcessorTimes) return ProcessorTimes(counters, buffer);
  if (infoClass == SystemInfoPerformance) Performance(counters, buffer);
  if (infoClass == SystemInfoFileCache) FileCache(counters, buffer);
  return true;
}

}  // namespace platform::linux
