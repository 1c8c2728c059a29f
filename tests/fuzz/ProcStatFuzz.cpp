// libFuzzer target for /proc/stat text: any text becomes a processor block that the block reader
// reads whole, with one instance per processor line plus the total, or a block without the object.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/PerfBlock.h"
#include "platform/Registry.h"
#include "platform/linux/PerfData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static std::vector<uint8_t> block(1 << 16);
  if (platform::linux::BuildProcessorPerfBlock(text, 100, 1714989600000, block.data(), static_cast<uint32_t>(block.size())) !=
      platform::ErrorSuccess)
    return 0;  // more processors than the buffer holds
  TPerfObjectData object;
  if (!ReadPerfObject(TPerfBlockReader(block), 238, object)) return 0;  // no usable text
  if (object.Names.size() < 2 || object.Names.back() != u"_Total") std::abort();
  return 0;
}
