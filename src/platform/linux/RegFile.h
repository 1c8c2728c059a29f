// The REGEDIT4 text format of the settings file, as pure functions: text to keys and typed values and
// back. Parsing never throws and names the first line it cannot accept; whatever it accepts,
// serializing and parsing again gives the same keys, values and order.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace platform::linux {

// One value in interface terms: String and ExpandString data are UTF-8 without a terminator, every
// other type keeps the bytes the file gives. The default value has the empty name (written `@`).
struct TRegFileValue {
  std::string Name;
  TRegType Type = TRegType::None;
  std::vector<uint8_t> Data;
  bool operator==(const TRegFileValue&) const = default;
};

// A key by its full path as written, root included ("HKEY_CURRENT_USER\Software\..."); its values
// in the order they were first written.
struct TRegFileKey {
  std::string Path;
  std::vector<TRegFileValue> Values;
  bool operator==(const TRegFileKey&) const = default;
};

struct TRegFileContent {
  std::vector<TRegFileKey> Keys;
  bool operator==(const TRegFileContent&) const = default;
};

struct TRegFileError {
  int Line = 0;  // 1-based line of the file
  std::string Reason;
};

// Accepts CRLF or LF lines, a leading UTF-8 byte-order mark and `;` comments (comments are not kept).
// Sections of the same key and values of the same name (compared as SameName does) are merged as an
// import would: the later data wins, the first place and spelling stay. Empty text is an empty store.
bool ParseRegFile(std::string_view text, TRegFileContent& content, TRegFileError& error);

// LF lines. Names and paths must not hold LF or NUL (the parser never produces such; callers check
// what they add with IsWritableName).
std::string SerializeRegFile(const TRegFileContent& content);

// Key and value names compare as Windows compares them, ignoring case; only ASCII letters are folded.
bool SameName(std::string_view a, std::string_view b);
bool IsWritableName(std::string_view name);

TRegFileKey* FindKey(TRegFileContent& content, std::string_view path);
TRegFileValue* FindValue(TRegFileKey& key, std::string_view name);

}  // namespace platform::linux
