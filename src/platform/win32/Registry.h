// The registry service on Windows: the real registry through the W functions, names and strings converted
// from and to UTF-8 at the call; the processor performance block falls back to native processor times
// when the system's performance data lists no processor object (as under Wine).
#pragma once
#include "platform/Registry.h"

namespace platform::win32 {

// Mapping:
// - CreateKey → RegCreateKeyExW(KEY_ALL_ACCESS); OpenKey → RegOpenKeyExW(KEY_READ or KEY_ALL_ACCESS), on
//   HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_DYN_DATA (0x80000006, the 9x dynamic data). A path or name
//   that is not valid UTF-8 cannot be opened, read or written.
// - ValueExists → RegQueryValueExW without a data buffer; ReadValue → RegQueryValueExW: REG_SZ and
//   REG_EXPAND_SZ as UTF-8 up to the first terminator, every other type as its raw bytes; WriteDWords →
//   REG_DWORD each, in order, up to the first refused; WriteString → REG_SZ in UTF-16 with its
//   terminator; DeleteValue → RegDeleteValueW, where ERROR_FILE_NOT_FOUND counts as done; the key
//   object's end → RegCloseKey.
// - QueryPerformanceData → RegQueryValueExW(HKEY_PERFORMANCE_DATA, objectName) with the caller's size; its
//   answer passes through (ERROR_MORE_DATA included), except that a successful answer to "238" whose block
//   lists no processor object is replaced by the block PerfData builds, which has its own more-data answer.
class TRegistry : public platform::IRegistry {
public:
  TRegistry() = default;
  // Releases what the performance-data queries held open in the system.
  ~TRegistry() override;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  std::unique_ptr<IRegistryKey> CreateKey(TRootKey root, const std::string& path) override;
  std::unique_ptr<IRegistryKey> OpenKey(TRootKey root, const std::string& path, TRegAccess access) override;
  long QueryPerformanceData(const std::string& objectName, uint8_t* buffer, uint32_t size) override;

private:
  bool FQueriedPerformanceData = false;
};

}  // namespace platform::win32
