// Registration data from the system's files (see MachineInfo.h).
#include "platform/linux/MachineInfo.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "platform/linux/Files.h"

namespace platform::linux {

namespace {

constexpr size_t SmallFileLimit = 64 * 1024;

std::string ReadSmallFile(const char* path) {
  std::string text, why;
  return ReadFile(path, SmallFileLimit, text, why) == TReadResult::Ok ? text : std::string();
}

// A value as the shell reads it; false for an unterminated quote.
bool Unquote(std::string_view raw, std::string& value) {
  value.clear();
  char quote = 0;
  for (size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (quote == '\'') {
      if (c == '\'') quote = 0;
      else value += c;
    } else if (c == '\\' && i + 1 < raw.size() && (quote == 0 || std::string_view("\"\\$`").find(raw[i + 1]) != std::string_view::npos)) {
      value += raw[++i];
    } else if (quote == '"' && c == '"') {
      quote = 0;
    } else if (quote == 0 && (c == '"' || c == '\'')) {
      quote = c;
    } else {
      value += c;
    }
  }
  return quote == 0;
}

}  // namespace

std::map<std::string, std::string> ParseOsRelease(std::string_view text) {
  std::map<std::string, std::string> values;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    const size_t equals = line.find('=');
    if (line.empty() || line.front() == '#' || equals == 0 || equals == std::string_view::npos) continue;
    std::string value;
    if (Unquote(line.substr(equals + 1), value)) values[std::string(line.substr(0, equals))] = value;
  }
  return values;
}

std::string ProductName() {
  std::string text = ReadSmallFile("/etc/os-release");
  if (text.empty()) text = ReadSmallFile("/usr/lib/os-release");
  const auto values = ParseOsRelease(text);
  for (const char* name : {"PRETTY_NAME", "NAME"})
    if (const auto found = values.find(name); found != values.end()) return found->second;
  return {};
}

std::string MachineId() {
  std::string id = ReadSmallFile("/etc/machine-id");
  while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
  return id;
}

std::string FullName(std::string_view gecos, std::string_view login) {
  const std::string_view name = gecos.substr(0, gecos.find(','));
  return std::string(name.empty() ? login : name);
}

std::string OwnerName() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return {};
  return FullName(found->pw_gecos ? found->pw_gecos : "", found->pw_name ? found->pw_name : "");
}

}  // namespace platform::linux
