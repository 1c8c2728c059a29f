// libFuzzer target for the kernel counters the query records are built from: /proc/meminfo,
// /proc/vmstat, /proc/diskstats and /proc/stat as four NUL-separated parts, then /proc/loadavg as the
// whole input. Every record builds inside its buffer; only the processor times may be refused.
// libFuzzer seeds: tests/data/diskstats.txt tests/data/vmstat.txt tests/data/proc-stat-2cpu.txt
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/System.h"
#include "platform/linux/ProcText.h"
#include "platform/linux/SystemRecords.h"

using namespace platform;
using namespace platform::linux;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string_view parts[4];
  std::string_view rest = text;
  for (std::string_view& part : parts) {
    const size_t end = rest.find('\0');
    part = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  const TKernelCounters counters{parts[0], parts[1], parts[2], parts[3], {"sda", "vda", "nvme0n1"}, 100, 4096};
  for (const auto& [infoClass, bytes] : {std::pair{SystemInfoPerformance, SystemInfoPerformanceSize},
                                         std::pair{SystemInfoProcessorTimes, 2 * SystemInfoProcessorTimesSize},
                                         std::pair{SystemInfoFileCache, SystemInfoFileCacheSize}}) {
    std::vector<uint8_t> record(bytes, 0xEE);
    if (!BuildSystemRecord(infoClass, counters, record) && infoClass != SystemInfoProcessorTimes) std::abort();
  }
  uint64_t threads;
  ParseLoadAvgThreads(text, threads);
  return 0;
}
