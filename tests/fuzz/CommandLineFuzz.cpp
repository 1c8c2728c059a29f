// libFuzzer target for Windows command lines: any line splits without harm, and arguments made from
// the input come back unchanged from the line joined from them.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)platform::SplitCommandLine(text);
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == '\0') parts.emplace_back();
    else parts.back() += c;
  }
  if (platform::SplitCommandLine(platform::JoinCommandLine(parts)) != parts) std::abort();
  return 0;
}
