// Artwork embedded in the executable as RCDATA resources (resources/windows/brisko.rc), found by name.
// The bytes stay valid for the life of the process: resources of the executable are never unloaded.
#include "platform/Resources.h"

#include <windows.h>

#include <string>

// The header names the portable function; windows.h maps FindResource to FindResourceW.
#undef FindResource

namespace platform {

std::span<const uint8_t> FindResource(std::string_view name) {
  // Resource names are ASCII; upper case, as windres stores them.
  std::wstring wide(name.begin(), name.end());
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return {};
  HGLOBAL handle = LoadResource(module, info);
  const void* data = handle ? LockResource(handle) : nullptr;
  if (!data) return {};
  return {static_cast<const uint8_t*>(data), SizeofResource(module, info)};
}

}  // namespace platform
