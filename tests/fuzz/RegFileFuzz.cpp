// libFuzzer target for the settings-file parser: any bytes either fail with a line number inside the
// text, or parse to content whose written form parses back to the same content and writes the same text.
// Large inputs show the time a parse takes (scripts/fuzz gives this target up to 1 MiB).
// libFuzzer: -max_len=1048576
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/linux/RegFile.h"

using namespace platform::linux;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TRegFileContent content;
  TRegFileError error;
  if (!ParseRegFile(text, content, error)) {
    size_t lines = 1;
    for (char c : text) lines += c == '\n';
    if (error.Line < 1 || size_t(error.Line) > lines || error.Reason.empty() || !content.Keys.empty()) std::abort();
    return 0;
  }
  std::string written = SerializeRegFile(content);
  TRegFileContent again;
  if (!ParseRegFile(written, again, error) || !(again == content)) std::abort();
  if (SerializeRegFile(again) != written) std::abort();
  return 0;
}
