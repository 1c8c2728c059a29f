// libFuzzer target for /proc/meminfo text: any text gives a memory status whose available figures
// never exceed their totals.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/linux/System.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const platform::TMemoryStatus s = platform::linux::MemoryStatusFrom(text, uint64_t{1} << 47, 1 << 20);
  if (s.MemoryLoad > 100 || s.AvailVirtual > s.TotalVirtual) std::abort();
  return 0;
}
