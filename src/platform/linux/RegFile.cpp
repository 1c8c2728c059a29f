// The REGEDIT4 text format of the settings file: parser and writer (see RegFile.h).
// The parser is strict about anything it would have to guess at, since a file it refuses is set
// aside whole rather than half understood; the writer only produces what the parser reads back.
#include "platform/linux/RegFile.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace platform::linux {

namespace {

constexpr std::string_view Header = "REGEDIT4";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
// Long hex data is wrapped as regedit does, so the file stays readable in an editor.
constexpr size_t WrapColumn = 78;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Fold(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

// 1..maxDigits hex digits and nothing else.
bool ParseHexNumber(std::string_view s, size_t maxDigits, uint32_t& value) {
  if (s.empty() || s.size() > maxDigits) return false;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, 16);
  return error == std::errc() && end == s.data() + s.size();
}

// Names hashed and compared as SameName compares them, looked up without making a string.
struct TNameHash {
  using is_transparent = void;
  size_t operator()(std::string_view name) const {
    size_t h = 14695981039346656037ull;
    for (char c : name) h = (h ^ static_cast<unsigned char>(Fold(c))) * 1099511628211ull;
    return h;
  }
};
struct TNameEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return SameName(a, b); }
};
// Key paths are views into the text being read; value names are the values' own, copied.
using TKeyIndex = std::unordered_map<std::string_view, size_t, TNameHash, TNameEqual>;
using TValueIndex = std::unordered_map<std::string, size_t, TNameHash, TNameEqual>;

// A key's values are looked up by index once it has more than this many; fewer are searched in order.
constexpr size_t IndexedValues = 16;

bool IsStringType(TRegType type) { return type == TRegType::String || type == TRegType::ExpandString; }

class TLineReader {
public:
  explicit TLineReader(std::string_view text) : FText(text) {}
  bool Next(std::string_view& line) {
    if (FPos >= FText.size()) return false;
    size_t end = FText.find('\n', FPos);
    if (end == std::string_view::npos) end = FText.size();
    line = FText.substr(FPos, end - FPos);
    FPos = end + 1;
    ++FLine;
    return true;
  }
  int Line() const { return FLine; }

private:
  std::string_view FText;
  size_t FPos = 0;
  int FLine = 0;
};

class TParser {
public:
  TParser(std::string_view text, TRegFileContent& content) : FReader(text), FContent(content) {}

  bool Run(TRegFileError& error) {
    std::string_view line;
    if (!FReader.Next(line) || Trim(line) != Header) return Fail("the first line is not REGEDIT4", error);
    while (FReader.Next(line)) {
      std::string_view t = Trim(line);
      bool ok = true;
      if (t.empty() || t.front() == ';')
        continue;
      else if (t.front() == '[')
        ok = KeyLine(t);
      else if (t.front() == '"' || t.front() == '@')
        ok = ValueLine(t);
      else
        ok = Refuse("a line must be a [key], a \"value\"=data or a ; comment");
      if (!ok) return Fail(FReason, error);
    }
    return true;
  }

private:
  bool Fail(std::string reason, TRegFileError& error) {
    error.Line = FReader.Line() == 0 ? 1 : FReader.Line();
    error.Reason = std::move(reason);
    return false;
  }

  bool Refuse(std::string reason) {
    FReason = std::move(reason);
    return false;
  }

  bool KeyLine(std::string_view t) {
    if (t.back() != ']' || t.size() < 2) return Refuse("a key line must end with ]");
    std::string_view path = t.substr(1, t.size() - 2);
    if (path.empty()) return Refuse("the key name is empty");
    if (path.front() == '-') return Refuse("key deletions ([-...]) do not belong in a settings file");
    for (size_t start = 0;;) {
      size_t end = path.find('\\', start);
      if (end == start || start == path.size()) return Refuse("the key name has an empty part");
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
    if (const auto at = FKeys.find(path); at != FKeys.end()) {
      FCurrent = at->second;
      return true;
    }
    FCurrent = FContent.Keys.size();
    FKeys.emplace(path, FCurrent);
    FContent.Keys.push_back({std::string(path), {}});
    FValues.emplace_back();
    return true;
  }

  // Reads a quoted text starting at s[pos] == '"'; only \\ and \" are escapes, as regedit writes them.
  bool Quoted(std::string_view s, size_t& pos, std::string& out) {
    for (++pos; pos < s.size(); ++pos) {
      char c = s[pos];
      if (c == '"') {
        ++pos;
        return true;
      }
      if (c == '\\') {
        if (pos + 1 >= s.size() || (s[pos + 1] != '\\' && s[pos + 1] != '"'))
          return Refuse("a backslash in quotes must be written \\\\ (or \\\" for a quote)");
        c = s[++pos];
      }
      out += c;
    }
    return Refuse("a quoted text is not closed");
  }

  bool ValueLine(std::string_view t) {
    if (FCurrent == NoKey) return Refuse("a value comes before the first [key] line");
    size_t pos = 0;
    std::string name;
    if (t.front() == '@')
      pos = 1;
    else if (!Quoted(t, pos, name))
      return false;
    while (pos < t.size() && IsBlank(t[pos])) ++pos;
    if (pos >= t.size() || t[pos] != '=') return Refuse("the value name must be followed by =");
    ++pos;
    while (pos < t.size() && IsBlank(t[pos])) ++pos;
    std::string_view data = t.substr(pos);

    TRegFileValue value{std::move(name), TRegType::None, {}};
    if (!data.empty() && data.front() == '"') {
      std::string text;
      size_t p = 0;
      if (!Quoted(data, p, text)) return false;
      if (p != data.size()) return Refuse("text follows the closing quote");
      value.Type = TRegType::String;
      value.Data.assign(text.begin(), text.end());
    } else if (StartsWithNoCase(data, "dword:")) {
      uint32_t n;
      if (!ParseHexNumber(data.substr(6), 8, n)) return Refuse("dword: must be followed by 1 to 8 hex digits");
      value.Type = TRegType::DWord;
      for (int i = 0; i < 4; ++i) value.Data.push_back(uint8_t(n >> (8 * i)));
    } else if (StartsWithNoCase(data, "hex")) {
      if (!HexValue(data.substr(3), value)) return false;
    } else if (data == "-") {
      return Refuse("value deletions (=-) do not belong in a settings file");
    } else {
      return Refuse("the data is none of \"text\", dword: or hex:");
    }

    TRegFileKey& key = FContent.Keys[FCurrent];
    if (TRegFileValue* old = Existing(key, FValues[FCurrent], value.Name)) {
      old->Type = value.Type;
      old->Data = std::move(value.Data);
      return true;
    }
    TValueIndex& index = FValues[FCurrent];
    if (index.empty() && key.Values.size() == IndexedValues)
      for (size_t k = 0; k < key.Values.size(); ++k) index.emplace(key.Values[k].Name, k);
    if (!index.empty()) index.emplace(value.Name, key.Values.size());
    key.Values.push_back(std::move(value));
    return true;
  }

  static TRegFileValue* Existing(TRegFileKey& key, const TValueIndex& index, std::string_view name) {
    if (index.empty()) return FindValue(key, name);
    const auto at = index.find(name);
    return at == index.end() ? nullptr : &key.Values[at->second];
  }

  // `:` or `(type):` then comma-separated bytes, continued over lines that end with a backslash.
  bool HexValue(std::string_view s, TRegFileValue& value) {
    uint32_t type = uint32_t(TRegType::Binary);
    if (!s.empty() && s.front() == '(') {
      size_t close = s.find(')');
      if (close == std::string_view::npos || !ParseHexNumber(s.substr(1, close - 1), 8, type))
        return Refuse("hex( must be followed by 1 to 8 hex digits and )");
      s.remove_prefix(close + 1);
    }
    if (s.empty() || s.front() != ':') return Refuse("hex data must start with hex: or hex(type):");
    std::string list(Trim(s.substr(1)));
    std::string_view next;
    while (!list.empty() && list.back() == '\\' && FReader.Next(next)) {
      list.pop_back();
      list += Trim(next);
    }
    if (!list.empty() && list.back() == '\\') list.pop_back();  // continued past the end of the file

    std::string_view rest = list;
    while (!Trim(rest).empty()) {
      size_t comma = rest.find(',');
      std::string_view item = Trim(rest.substr(0, comma));
      uint32_t byte;
      if (!ParseHexNumber(item, 2, byte)) return Refuse("hex data must be bytes of 1 or 2 hex digits, separated by commas");
      value.Data.push_back(uint8_t(byte));
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
    value.Type = TRegType(type);
    if (IsStringType(value.Type) && !value.Data.empty() && value.Data.back() == 0) value.Data.pop_back();
    return true;
  }

  static constexpr size_t NoKey = size_t(-1);
  TLineReader FReader;
  TRegFileContent& FContent;
  // Keys and each key's many values by name, so that a file is read in time linear in its size.
  TKeyIndex FKeys;
  std::vector<TValueIndex> FValues;
  size_t FCurrent = NoKey;
  std::string FReason;
};

void AppendQuoted(std::string& out, std::string_view s) {
  out += '"';
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

// A string goes in quotes unless it holds a line break or NUL, which a quoted line cannot carry.
bool CanQuote(const std::vector<uint8_t>& data) {
  for (uint8_t b : data)
    if (b == '\n' || b == '\r' || b == 0) return false;
  return true;
}

void AppendValue(std::string& out, const TRegFileValue& value) {
  std::string line;
  if (value.Name.empty())
    line = "@";
  else
    AppendQuoted(line, value.Name);
  line += '=';
  char buffer[32];
  if (value.Type == TRegType::String && CanQuote(value.Data)) {
    AppendQuoted(line, std::string_view(reinterpret_cast<const char*>(value.Data.data()), value.Data.size()));
  } else if (value.Type == TRegType::DWord && value.Data.size() == 4) {
    uint32_t n = uint32_t(value.Data[0]) | uint32_t(value.Data[1]) << 8 | uint32_t(value.Data[2]) << 16 |
                 uint32_t(value.Data[3]) << 24;
    std::snprintf(buffer, sizeof buffer, "dword:%08x", unsigned(n));
    line += buffer;
  } else {
    if (value.Type == TRegType::Binary) {
      line += "hex:";
    } else {
      std::snprintf(buffer, sizeof buffer, "hex(%x):", unsigned(value.Type));
      line += buffer;
    }
    std::vector<uint8_t> bytes = value.Data;
    if (IsStringType(value.Type)) bytes.push_back(0);
    for (size_t i = 0; i < bytes.size(); ++i) {
      std::snprintf(buffer, sizeof buffer, i + 1 < bytes.size() ? "%02x," : "%02x", unsigned(bytes[i]));
      if (i > 0 && line.size() + std::strlen(buffer) > WrapColumn) {
        out += line;
        out += "\\\n";
        line = "  ";
      }
      line += buffer;
    }
  }
  out += line;
  out += '\n';
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

bool IsWritableName(std::string_view name) { return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

TRegFileKey* FindKey(TRegFileContent& content, std::string_view path) {
  for (auto& key : content.Keys)
    if (SameName(key.Path, path)) return &key;
  return nullptr;
}

TRegFileValue* FindValue(TRegFileKey& key, std::string_view name) {
  for (auto& value : key.Values)
    if (SameName(value.Name, name)) return &value;
  return nullptr;
}

bool ParseRegFile(std::string_view text, TRegFileContent& content, TRegFileError& error) {
  content.Keys.clear();
  if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) text.remove_prefix(ByteOrderMark.size());
  if (text.empty()) return true;
  if (size_t nul = text.find('\0'); nul != std::string_view::npos) {
    error.Line = 1;
    for (size_t i = 0; i < nul; ++i) error.Line += text[i] == '\n';
    error.Reason = "the file holds a NUL byte, so it is not text";
    return false;
  }
  TParser parser(text, content);
  if (parser.Run(error)) return true;
  content.Keys.clear();
  return false;
}

std::string SerializeRegFile(const TRegFileContent& content) {
  std::string out(Header);
  out += "\n\n";
  for (const auto& key : content.Keys) {
    out += '[';
    out += key.Path;
    out += "]\n";
    for (const auto& value : key.Values) AppendValue(out, value);
    out += '\n';
  }
  return out;
}

}  // namespace platform::linux
