// UTF-8 and UTF-16 at the API boundary (see Utf16.h).
#include "platform/win32/Utf16.h"

#include <windows.h>

#include <climits>
#include <utility>

namespace platform::win32 {

bool ToUtf16(std::string_view text, std::wstring& wide) {
  if (text.empty()) {
    wide.clear();
    return true;
  }
  if (text.size() > static_cast<size_t>(INT_MAX)) return false;
  const int length = static_cast<int>(text.size());
  const int count = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (count <= 0) return false;
  std::wstring result(static_cast<size_t>(count), L'\0');
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, result.data(), count) != count) return false;
  wide = std::move(result);
  return true;
}

std::string ToUtf8(std::wstring_view wide) {
  if (wide.empty() || wide.size() > static_cast<size_t>(INT_MAX / 3)) return {};
  const int length = static_cast<int>(wide.size());
  const int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (count <= 0) return {};
  std::string result(static_cast<size_t>(count), '\0');
  const int written = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, result.data(), count, nullptr, nullptr);
  result.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return result;
}

std::wstring Wide(std::string_view text) {
  std::wstring wide;
  return ToUtf16(text, wide) ? wide : std::wstring();
}

}  // namespace platform::win32
