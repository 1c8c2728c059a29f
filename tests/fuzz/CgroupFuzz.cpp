// libFuzzer target for a process's cgroup files and mount table (mount points may be chosen by users
// through FUSE): the input is split at its first NUL into /proc/self/cgroup and /proc/self/mountinfo
// text; the cgroup files' numbers (memory.stat, memory.max) are read from the same text.
// libFuzzer seeds: tests/data/cgroup-mountinfo.bin
#include <cstdint>
#include <string_view>

#include "platform/linux/ProcText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const size_t split = text.find('\0');
  const std::string_view cgroup = text.substr(0, split);
  const std::string_view mountinfo = split == std::string_view::npos ? std::string_view() : text.substr(split + 1);
  (void)platform::linux::ParseCgroupPaths(cgroup);
  for (const auto& mount : platform::linux::ParseMountInfo(mountinfo))
    (void)platform::linux::HasOption(mount.SuperOptions, "memory");
  uint64_t value = 0;
  (void)platform::linux::ParseDecimal(cgroup, value);
  (void)platform::linux::StatField(mountinfo, "total_inactive_file");
  return 0;
}
