// The UTF-8/UTF-16 conversion every Win32 unit uses at the API boundary: the program's text is UTF-8,
// the W functions take UTF-16.
#pragma once
#include <string>
#include <string_view>

namespace platform::win32 {

// UTF-8 to UTF-16 for the W functions; false (wide untouched) when text is not valid UTF-8, so a
// malformed name never silently becomes a different one.
bool ToUtf16(std::string_view text, std::wstring& wide);
// UTF-16 from the W functions to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::wstring_view wide);
// UTF-16 of a caption or message for display; empty when text is not valid UTF-8.
std::wstring Wide(std::string_view text);

}  // namespace platform::win32
