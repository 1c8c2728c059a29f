// libFuzzer target for desktop entries: arbitrary entry text is read without harm, and arguments made
// from the input come back unchanged from the Exec line written for them, read as a launcher reads it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/DesktopEntry.h"

using namespace platform::linux;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string exec;
  std::vector<std::string> args;
  if (DesktopEntryValue(text, "Exec", exec)) (void)ParseExec(exec, args);

  // The round trip: the input's NUL-separated parts as arguments (a NUL cannot be in one).
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == '\0') parts.emplace_back();
    else parts.back() += c;
  }
  const std::string entry = "[Desktop Entry]\nExec=" + EscapeValue(ExecLine(parts)) + "\n";
  if (!DesktopEntryValue(entry, "Exec", exec) || !ParseExec(exec, args) || args != parts) std::abort();
  return 0;
}
