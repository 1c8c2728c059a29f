// libFuzzer target for /proc/PID/stat lines, whose program name (in parentheses) another user chose.
#include <cstdint>
#include <string_view>

#include "platform/linux/ProcText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::linux::TProcStat stat;
  (void)platform::linux::ParseProcStat(std::string_view(reinterpret_cast<const char*>(data), size), stat);
  return 0;
}
