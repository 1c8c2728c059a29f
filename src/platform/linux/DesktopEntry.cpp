// Desktop Entry values and Exec lines (see DesktopEntry.h). Reading follows GLib's order: the value's
// escapes, then the field codes over the whole line, then the shell's quoting rules.
#include "platform/linux/DesktopEntry.h"

namespace platform::linux {

namespace {

// Characters that make an argument need quotes (the Desktop Entry specification's list).
constexpr std::string_view Reserved = " \t\n\"'\\><~|&;$*?#()`";
// Started through the shell, a program path is an argument, which the launcher does not check.
constexpr std::string_view Shell = "/bin/sh";
constexpr std::string_view ShellScript = "exec \"$0\" \"$@\"";

std::string QuoteArgument(std::string_view arg) {
  std::string doubled;
  for (char c : arg) doubled += c == '%' ? std::string("%%") : std::string(1, c);
  if (!doubled.empty() && doubled.find_first_of(Reserved) == std::string::npos) return doubled;
  std::string out = "\"";
  for (char c : doubled) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

// Field codes expand to nothing for an entry started without files; %% is a percent sign.
std::string ExpandFieldCodes(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%' || i + 1 == s.size()) out += s[i];
    else if (s[++i] == '%') out += '%';
  }
  return out;
}

// Splits as a POSIX shell does: blanks separate, single quotes are literal, double quotes let a
// backslash escape only " ` $ \ and a line break, and outside quotes a backslash escapes anything.
bool ShellSplit(std::string_view s, std::vector<std::string>& args) {
  args.clear();
  size_t i = 0;
  for (;;) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n')) ++i;
    if (i >= s.size()) return !args.empty();
    std::string arg;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t' && s[i] != '\n') {
      const char c = s[i++];
      if (c == '\'') {
        const size_t end = s.find('\'', i);
        if (end == std::string_view::npos) return false;
        arg.append(s.substr(i, end - i));
        i = end + 1;
      } else if (c == '"') {
        for (;; ++i) {
          if (i >= s.size()) return false;
          if (s[i] == '"') break;
          if (s[i] == '\\' && i + 1 < s.size() && std::string_view("\"`$\\\n").find(s[i + 1]) != std::string_view::npos) ++i;
          arg += s[i];
        }
        ++i;
      } else if (c == '\\') {
        if (i >= s.size()) return false;
        arg += s[i++];
      } else {
        arg += c;
      }
    }
    args.push_back(std::move(arg));
  }
}

bool StartsWithShell(const std::vector<std::string>& args) {
  return args.size() >= 3 && args[0] == Shell && args[1] == "-c" && args[2] == ShellScript;
}

}  // namespace

std::string EscapeValue(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\r') out += "\\r";
    else if (c == ' ' && i == 0) out += "\\s";
    else out += c;
  }
  return out;
}

std::string UnescapeValue(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      out += text[i];
      continue;
    }
    switch (text[++i]) {
      case 's': out += ' '; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case '\\': out += '\\'; break;
      default:
        out += '\\';
        out += text[i];
    }
  }
  return out;
}

std::string ExecLine(const std::vector<std::string>& args) {
  std::vector<std::string> run;
  // A command that itself starts like the wrapper gets it too, so that reading removes exactly one.
  if (!args.empty() && (args.front().find('%') != std::string::npos || StartsWithShell(args)))
    run = {std::string(Shell), "-c", std::string(ShellScript)};
  run.insert(run.end(), args.begin(), args.end());
  std::string out;
  for (const std::string& arg : run) {
    if (!out.empty()) out += ' ';
    out += QuoteArgument(arg);
  }
  return out;
}

bool ParseExec(std::string_view line, std::vector<std::string>& args) {
  if (!ShellSplit(ExpandFieldCodes(line), args)) return false;
  if (args.size() > 3 && StartsWithShell(args)) args.erase(args.begin(), args.begin() + 3);
  return true;
}

bool DesktopEntryValue(std::string_view text, std::string_view key, std::string& value) {
  bool inEntry = false;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == '[') {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    const size_t eq = line.find('=');
    if (!inEntry || eq == std::string_view::npos) continue;
    std::string_view name = line.substr(0, eq);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (name != key) continue;
    std::string_view raw = line.substr(eq + 1);
    while (!raw.empty() && raw.front() == ' ') raw.remove_prefix(1);
    value = UnescapeValue(raw);
    return true;
  }
  return false;
}

}  // namespace platform::linux
