// libFuzzer target for os-release text: any text gives assignments, with keys that are never empty.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/linux/MachineInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const auto& [key, value] : platform::linux::ParseOsRelease(std::string_view(reinterpret_cast<const char*>(data), size)))
    if (key.empty()) std::abort();
  return 0;
}
