// libFuzzer target for "Name:  value kB" fields (/proc/PID/status and /proc/meminfo): a name from the
// input's first line is looked up in the rest, without reading outside it.
#include <cstdint>
#include <string_view>

#include "platform/linux/ProcText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const size_t end = text.find('\n');
  const std::string_view name = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  for (std::string_view field : {name, std::string_view("VmRSS"), std::string_view("RssAnon"), std::string_view("Threads")})
    (void)platform::linux::ProcFieldBytes(text, field);
  return 0;
}
