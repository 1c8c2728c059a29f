// libFuzzer target for /proc/PID/maps text, which names files other users chose: every mapping found
// lies within its line's numbers, its path within the text, and the regions to page out come from them.
// libFuzzer seeds: tests/data/maps.txt
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/linux/ProcText.h"
#include "platform/linux/Trim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto mappings = platform::linux::ParseMaps(text);
  for (const auto& m : mappings) {
    if (m.End <= m.Start) std::abort();
    if (!m.Path.empty() && (m.Path.data() < text.data() || m.Path.data() + m.Path.size() > text.data() + text.size()))
      std::abort();
  }
  if (platform::linux::PageOutRegions(mappings, true).size() > mappings.size()) std::abort();
  return 0;
}
