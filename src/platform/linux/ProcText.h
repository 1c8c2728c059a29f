// Parsers of the kernel's text under /proc: "Name: value kB" fields, the mappings of /proc/PID/maps,
// the fields of /proc/PID/stat, a process's cgroups and the mount table, the processor lines of
// /proc/stat, the disk counters of /proc/diskstats and the thread total of /proc/loadavg. Other users' processes write
// what some of it shows (a program's name, a mapped file's path, a mount point), so every parser
// checks every bound and never reads outside its text.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::linux {

// The value of a "Name:   1234 kB" line in bytes (a line without unit counts as bytes); 0 when absent.
uint64_t ProcFieldBytes(std::string_view text, std::string_view name);

// The value of a "name 1234" line, as in a cgroup's memory.stat; 0 when absent.
uint64_t StatField(std::string_view text, std::string_view name);

// A file holding one decimal number, such as memory.current: false for anything else (trailing
// blanks and line ends aside).
bool ParseDecimal(std::string_view text, uint64_t& value);

// One line of /proc/PID/maps: "start-end perms offset major:minor inode   path".
struct TMapping {
  uint64_t Start = 0, End = 0;  // [Start, End)
  uint64_t Inode = 0;
  std::string_view Path;  // into the text; empty for anonymous memory, "[heap]", "[vdso]" ... for special ones
};

// Every well-formed mapping of the text, in order; a malformed line is passed over.
std::vector<TMapping> ParseMaps(std::string_view text);

// The fields of /proc/PID/stat the process list needs: the state letter and the kernel's flags word.
struct TProcStat {
  char State = 0;
  uint64_t Flags = 0;
};
// False when the text is not a stat line (the name in parentheses may hold anything, blanks and
// parentheses included: the fields start after its last ")").
bool ParseProcStat(std::string_view text, TProcStat& stat);

// A process's place in the cgroup hierarchies (/proc/PID/cgroup): its path in the unified (version 2)
// hierarchy and in the version 1 hierarchy of the memory controller; empty where it has none.
struct TCgroupPaths {
  std::string Unified, Memory;
};
TCgroupPaths ParseCgroupPaths(std::string_view text);

// One line of /proc/PID/mountinfo, paths unescaped.
struct TMount {
  std::string Root, Point, Type, SuperOptions;
};
std::vector<TMount> ParseMountInfo(std::string_view text);

// Whether a comma-separated option list holds option.
bool HasOption(std::string_view options, std::string_view option);

// One "cpu" line of /proc/stat: its ten tick counts in the kernel's order (user nice system idle
// iowait irq softirq steal guest guest_nice), missing trailing ones 0 (kernels before 2.6 stop after
// idle).
struct TCpuTicks {
  std::string Name;  // the processor's number, or "_Total" for the aggregate line
  uint64_t Ticks[10] = {};
};
// The "cpuN" lines in order, then the aggregate "cpu" line; empty when there is no aggregate or no
// processor line, when there are two aggregates, or when any cpu line is malformed.
std::vector<TCpuTicks> ParseCpuLines(std::string_view procStat);

// ticks of a clock running ticksPerSecond (1 to 10^9) in 100 ns units, saturating at the largest
// signed 64-bit value.
int64_t TicksTo100ns(uint64_t ticks, uint64_t ticksPerSecond);
uint64_t SaturatingAdd(uint64_t a, uint64_t b);

// The completed reads, writes and discards of /proc/diskstats summed over the named devices
// (discards are counted from kernel 4.18 on); sums saturate.
struct TDiskOperations {
  uint64_t Reads = 0, Writes = 0, Discards = 0;
};
TDiskOperations SumDiskOperations(std::string_view diskStats, const std::vector<std::string>& devices);

// The threads of the whole system: the total after "/" in /proc/loadavg's fourth field.
bool ParseLoadAvgThreads(std::string_view loadAvg, uint64_t& threads);

}  // namespace platform::linux
