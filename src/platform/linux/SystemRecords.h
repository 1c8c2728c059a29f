// The system query records (NtQuerySystemInformation's classes 2, 8 and 21) built from the kernel's
// counters, each field in the record's own unit: pages of the kernel's page size, bytes, 100 ns.
// 32-bit fields saturate at their largest value rather than wrap. Mapping:
// - performance (class 2, 312 bytes): I/O read, write and other operations = the completed reads,
//   writes and discards of /proc/diskstats summed over the whole disks; available pages = MemAvailable;
//   committed pages = Committed_AS; commit limit = CommitLimit; page-read I/O count = pgmajfault of
//   /proc/vmstat; paged pool = SReclaimable; non-paged pool = SUnreclaim. Linux keeps no peak
//   commitment and no pool allocation or free counts: those fields are 0.
// - processor times (class 8, 48 bytes a processor; only the first processor's record is written,
//   the rest of the buffer is zero): from its "cpu0" line of /proc/stat, idle = idle + iowait,
//   kernel-mode = system, user-mode = user + nice, deferred-procedure-call = softirq, interrupt =
//   irq + softirq; the interrupt count is the "intr" total of the whole machine (the kernel counts
//   per processor only in /proc/interrupts).
// - file cache (class 21, 36 bytes): the current size = Cached, in bytes. Linux has no peak cache
//   size and no working-set limits for its cache: those fields are 0.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::linux {

struct TKernelCounters {
  std::string_view MemInfo, VmStat, DiskStats, ProcStat;  // the texts of /proc/<name>
  std::vector<std::string> Disks;  // the whole disks by name (sda, nvme0n1), without partitions
  long TicksPerSecond = 100;       // the clock of /proc/stat
  uint64_t PageSize = 4096;
};

// The record of the class from the counters; false for another class, a buffer smaller than the
// record, or (for the processor times) text without a first processor's line.
bool BuildSystemRecord(uint32_t infoClass, const TKernelCounters& counters, std::span<uint8_t> buffer);

}  // namespace platform::linux
