// /proc text, field by field with std::from_chars; see ProcText.h.
#include "platform/linux/ProcText.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace platform::linux {

namespace {

std::string_view NextLine(std::string_view& text) {
  const size_t end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view SkipBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

// The next blank-separated word of line, taken off it.
std::string_view NextWord(std::string_view& line) {
  line = SkipBlanks(line);
  size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  const std::string_view word = line.substr(0, end);
  line.remove_prefix(end);
  return word;
}

template <class T>
bool Number(std::string_view text, T& value, int base = 10) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseMapsLine(std::string_view line, TMapping& m) {
  const std::string_view range = NextWord(line), perms = NextWord(line), offset = NextWord(line), device = NextWord(line),
                         inode = NextWord(line);
  const size_t dash = range.find('-');
  uint64_t ignored;
  if (dash == std::string_view::npos || !Number(range.substr(0, dash), m.Start, 16) ||
      !Number(range.substr(dash + 1), m.End, 16) || m.End <= m.Start || perms.size() != 4 ||
      !Number(offset, ignored, 16) || device.find(':') == std::string_view::npos || !Number(inode, m.Inode))
    return false;
  m.Path = SkipBlanks(line);
  return true;
}

// \ooo escapes of mountinfo paths (a blank is \040).
std::string Unescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned value = 0;
    if (s[i] == '\\' && s.size() - i > 3 && Number(s.substr(i + 1, 3), value, 8) && value < 256) {
      out += static_cast<char>(value);
      i += 3;
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace

uint64_t ProcFieldBytes(std::string_view text, std::string_view name) {
  while (!text.empty()) {
    std::string_view line = NextLine(text);
    if (line.size() <= name.size() || line.substr(0, name.size()) != name || line[name.size()] != ':') continue;
    line = SkipBlanks(line.substr(name.size() + 1));
    uint64_t value = 0;
    const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc()) return 0;
    const std::string_view unit = SkipBlanks(line.substr(static_cast<size_t>(rest - line.data())));
    return unit.starts_with("kB") ? value * 1024 : value;
  }
  return 0;
}

uint64_t StatField(std::string_view text, std::string_view name) {
  while (!text.empty()) {
    std::string_view line = NextLine(text);
    uint64_t value = 0;
    if (NextWord(line) == name && Number(NextWord(line), value)) return value;
  }
  return 0;
}

bool ParseDecimal(std::string_view text, uint64_t& value) {
  while (!text.empty() && (text.back() == '\n' || IsBlank(text.back()))) text.remove_suffix(1);
  return Number(text, value);
}

std::vector<TMapping> ParseMaps(std::string_view text) {
  std::vector<TMapping> mappings;
  while (!text.empty()) {
    TMapping m;
    if (ParseMapsLine(NextLine(text), m)) mappings.push_back(m);
  }
  return mappings;
}

bool ParseProcStat(std::string_view text, TProcStat& stat) {
  const size_t name = text.rfind(')');
  if (name == std::string_view::npos) return false;
  std::string_view rest = text.substr(name + 1);
  // After the name: state, ppid, pgrp, session, tty_nr, tpgid, flags.
  const std::string_view state = NextWord(rest);
  for (int field = 0; field < 5; ++field) NextWord(rest);
  if (state.size() != 1 || !Number(NextWord(rest), stat.Flags)) return false;
  stat.State = state[0];
  return true;
}

TCgroupPaths ParseCgroupPaths(std::string_view text) {
  TCgroupPaths paths;
  while (!text.empty()) {
    // "id:controllers:path"; the unified hierarchy is "0::path".
    const std::string_view line = NextLine(text);
    const size_t first = line.find(':');
    const size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
    if (second == std::string_view::npos) continue;
    const std::string_view controllers = line.substr(first + 1, second - first - 1), path = line.substr(second + 1);
    if (!path.starts_with('/')) continue;
    if (line.substr(0, first) == "0" && controllers.empty()) paths.Unified = path;
    else if (HasOption(controllers, "memory")) paths.Memory = path;
  }
  return paths;
}

std::vector<TMount> ParseMountInfo(std::string_view text) {
  // "id parent major:minor root point options [optional fields...] - type source superoptions"
  std::vector<TMount> mounts;
  while (!text.empty()) {
    std::string_view line = NextLine(text);
    std::vector<std::string_view> words;
    for (std::string_view word = NextWord(line); !word.empty(); word = NextWord(line)) words.push_back(word);
    const auto dash = std::find(words.begin(), words.end(), "-");
    if (dash - words.begin() < 6 || words.end() - dash < 4) continue;
    mounts.push_back({Unescape(words[3]), Unescape(words[4]), std::string(dash[1]), std::string(dash[3])});
  }
  return mounts;
}

bool HasOption(std::string_view options, std::string_view option) {
  while (!options.empty()) {
    const size_t comma = options.find(',');
    if (options.substr(0, comma) == option) return true;
    options.remove_prefix(comma == std::string_view::npos ? options.size() : comma + 1);
  }
  return false;
}

std::vector<TCpuTicks> ParseCpuLines(std::string_view text) {
  constexpr size_t RequiredFields = 4;
  std::vector<TCpuTicks> processors;
  TCpuTicks total;
  bool haveTotal = false;
  while (!text.empty()) {
    std::string_view line = NextLine(text);
    const std::string_view name = NextWord(line);
    if (name.substr(0, 3) != "cpu") continue;
    TCpuTicks cpu;
    const std::string_view number = name.substr(3);
    uint32_t ignored;
    if (number.empty()) {
      if (haveTotal) return {};
      cpu.Name = "_Total";
    } else if (Number(number, ignored)) {
      cpu.Name = std::string(number);
    } else {
      return {};
    }
    size_t fields = 0;
    for (std::string_view word = NextWord(line); !word.empty() && fields < std::size(cpu.Ticks); word = NextWord(line))
      if (!Number(word, cpu.Ticks[fields++])) return {};
    if (fields < RequiredFields) return {};
    if (number.empty()) {
      total = cpu;
      haveTotal = true;
    } else {
      processors.push_back(cpu);
    }
  }
  if (!haveTotal || processors.empty()) return {};
  processors.push_back(total);
  return processors;
}

int64_t TicksTo100ns(uint64_t ticks, uint64_t ticksPerSecond) {
  constexpr uint64_t UnitsPerSecond = 10000000;
  constexpr auto Max = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  const uint64_t whole = ticks / ticksPerSecond, part = ticks % ticksPerSecond;
  if (whole > Max / UnitsPerSecond) return static_cast<int64_t>(Max);
  const uint64_t units = whole * UnitsPerSecond + part * UnitsPerSecond / ticksPerSecond;
  return static_cast<int64_t>(std::min(units, Max));
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
  return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max() : a + b;
}

TDiskOperations SumDiskOperations(std::string_view text, const std::vector<std::string>& devices) {
  // major minor name, then reads completed (1st), writes completed (5th), discards completed (12th).
  constexpr size_t Reads = 0, Writes = 4, Discards = 11;
  TDiskOperations sum;
  while (!text.empty()) {
    std::string_view line = NextLine(text);
    NextWord(line);
    NextWord(line);
    const std::string_view name = NextWord(line);
    if (std::find(devices.begin(), devices.end(), name) == devices.end()) continue;
    uint64_t counts[Discards + 1] = {};
    for (size_t k = 0; k <= Discards; ++k) {
      const std::string_view word = NextWord(line);
      if (word.empty() || !Number(word, counts[k])) break;
    }
    sum.Reads = SaturatingAdd(sum.Reads, counts[Reads]);
    sum.Writes = SaturatingAdd(sum.Writes, counts[Writes]);
    sum.Discards = SaturatingAdd(sum.Discards, counts[Discards]);
  }
  return sum;
}

bool ParseLoadAvgThreads(std::string_view text, uint64_t& threads) {
  std::string_view line = NextLine(text);
  for (int k = 0; k < 3; ++k) NextWord(line);
  const std::string_view entities = NextWord(line);
  const size_t slash = entities.find('/');
  return slash != std::string_view::npos && Number(entities.substr(slash + 1), threads);
}

}  // namespace platform::linux
