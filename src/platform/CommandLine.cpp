// The C runtime's argument rules, both ways.
#include "platform/CommandLine.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void AppendQuoted(std::string& out, const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
    out += arg;
    return;
  }
  out += '"';
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are plain unless a double quote follows them; then each is written twice.
    out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, '\\');
  out += '"';
}

}  // namespace

std::string JoinCommandLine(const std::vector<std::string>& args) {
  std::string out;
  for (const std::string& arg : args) {
    if (!out.empty()) out += ' ';
    AppendQuoted(out, arg);
  }
  return out;
}

std::vector<std::string> SplitCommandLine(std::string_view s) {
  std::vector<std::string> args;
  size_t i = 0;
  for (;;) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    if (i >= s.size()) return args;
    std::string arg;
    bool quoted = false;
    while (i < s.size() && (quoted || !IsBlank(s[i]))) {
      if (s[i] == '\\') {
        size_t count = 0;
        while (i < s.size() && s[i] == '\\') ++count, ++i;
        if (i < s.size() && s[i] == '"') {
          arg.append(count / 2, '\\');
          if (count % 2) arg += s[i++];
        } else {
          arg.append(count, '\\');
        }
      } else if (s[i] == '"') {
        // Two double quotes inside quotes are one literal quote.
        if (quoted && i + 1 < s.size() && s[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += s[i++];
      }
    }
    args.push_back(std::move(arg));
  }
}

}  // namespace platform
