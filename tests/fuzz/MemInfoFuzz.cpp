// libFuzzer target for /proc/meminfo text: any text gives a memory status without reading outside it,
// with a load of at most 100.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/linux/System.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const platform::TMemoryStatus s = platform::linux::MemoryStatusFrom(text);
  if (s.MemoryLoad > 100) std::abort();
  return 0;
}
