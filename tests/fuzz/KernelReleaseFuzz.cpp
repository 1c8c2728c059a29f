// libFuzzer target for kernel release strings (uname -r): any text gives three numbers, never a read
// outside it.
#include <cstdint>
#include <string_view>

#include "platform/linux/System.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t major, minor, build;
  platform::linux::ParseKernelRelease(std::string_view(reinterpret_cast<const char*>(data), size), major, minor, build);
  return 0;
}
