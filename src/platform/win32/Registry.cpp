// The registry service on Windows (the mapping is described in Registry.h). Nothing here throws: a key
// that cannot be had is null, a value that cannot be read or written is false.
#include "platform/win32/Registry.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/PerfData.h"
#include "platform/win32/Utf16.h"

namespace platform::win32 {

namespace {

const char* const ProcessorObjectName = "238";
// A value that keeps growing between the size query and the read is given up after this many tries.
constexpr int ReadAttempts = 8;

HKEY RootHandle(TRootKey root) {
  switch (root) {
    case TRootKey::CurrentUser:
      return HKEY_CURRENT_USER;
    case TRootKey::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case TRootKey::DynData:
      return HKEY_DYN_DATA;
  }
  return nullptr;
}

class TRegistryKey : public platform::IRegistryKey {
public:
  explicit TRegistryKey(HKEY key) : FKey(key) {}
  ~TRegistryKey() override { RegCloseKey(FKey); }
  TRegistryKey(const TRegistryKey&) = delete;
  TRegistryKey& operator=(const TRegistryKey&) = delete;

  bool ValueExists(const std::string& name) override {
    std::wstring wide;
    return ToUtf16(name, wide) && RegQueryValueExW(FKey, wide.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

  bool ReadValue(const std::string& name, TRegValue& value) override {
    std::wstring wide;
    if (!ToUtf16(name, wide)) return false;
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExW(FKey, wide.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    std::vector<uint8_t> data;
    for (int attempt = 0; attempt < ReadAttempts; ++attempt) {
      // Never an empty vector: a null data pointer would ask for the size again instead of the bytes.
      data.resize(std::max<DWORD>(size, 1));
      DWORD got = static_cast<DWORD>(data.size());
      const LONG answer = RegQueryValueExW(FKey, wide.c_str(), nullptr, &type, data.data(), &got);
      if (answer == ERROR_MORE_DATA) {
        size = got;
        continue;
      }
      if (answer != ERROR_SUCCESS) return false;
      data.resize(got);
      value.Type = static_cast<TRegType>(type);
      if (type == REG_SZ || type == REG_EXPAND_SZ) {
        // Stored strings may lack their terminator or carry bytes after it; the text ends at the first.
        std::wstring text(data.size() / 2, L'\0');
        std::copy_n(data.data(), text.size() * 2, reinterpret_cast<uint8_t*>(text.data()));
        text.resize(std::min(text.size(), text.find(L'\0')));
        const std::string utf8 = ToUtf8(text);
        value.Data.assign(utf8.begin(), utf8.end());
      } else {
        value.Data = std::move(data);
      }
      return true;
    }
    return false;
  }

  size_t WriteDWords(const std::vector<TDWordValue>& values) override {
    for (size_t k = 0; k < values.size(); ++k) {
      std::wstring wide;
      const DWORD data = values[k].Value;
      if (!ToUtf16(values[k].Name, wide) ||
          RegSetValueExW(FKey, wide.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) != ERROR_SUCCESS)
        return k;
    }
    return values.size();
  }

  bool WriteString(const std::string& name, const std::string& value) override {
    std::wstring wideName, wideValue;
    if (!ToUtf16(name, wideName) || !ToUtf16(value, wideValue)) return false;
    const auto bytes = static_cast<DWORD>((wideValue.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(FKey, wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideValue.c_str()), bytes) ==
           ERROR_SUCCESS;
  }

  bool DeleteValue(const std::string& name) override {
    std::wstring wide;
    if (!ToUtf16(name, wide)) return false;
    const LONG answer = RegDeleteValueW(FKey, wide.c_str());
    return answer == ERROR_SUCCESS || answer == ERROR_FILE_NOT_FOUND;
  }

private:
  HKEY FKey;
};

}  // namespace

TRegistry::~TRegistry() {
  if (FQueriedPerformanceData) RegCloseKey(HKEY_PERFORMANCE_DATA);
}

std::unique_ptr<IRegistryKey> TRegistry::CreateKey(TRootKey root, const std::string& path) {
  std::wstring wide;
  HKEY key = nullptr;
  if (!ToUtf16(path, wide) || RegCreateKeyExW(RootHandle(root), wide.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                              KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<TRegistryKey>(key);
}

std::unique_ptr<IRegistryKey> TRegistry::OpenKey(TRootKey root, const std::string& path, TRegAccess access) {
  std::wstring wide;
  HKEY key = nullptr;
  const REGSAM rights = access == TRegAccess::Read ? KEY_READ : KEY_ALL_ACCESS;
  if (!ToUtf16(path, wide) || RegOpenKeyExW(RootHandle(root), wide.c_str(), 0, rights, &key) != ERROR_SUCCESS) return nullptr;
  return std::make_unique<TRegistryKey>(key);
}

long TRegistry::QueryPerformanceData(const std::string& objectName, uint8_t* buffer, uint32_t size) {
  std::wstring wide;
  if (!ToUtf16(objectName, wide)) return ERROR_FILE_NOT_FOUND;
  // A local copy: the length the query reports back tells only how much of the buffer it filled.
  DWORD length = buffer ? size : 0;
  const LONG answer = RegQueryValueExW(HKEY_PERFORMANCE_DATA, wide.c_str(), nullptr, nullptr, buffer, &length);
  FQueriedPerformanceData = true;
  if (answer == ERROR_SUCCESS && objectName == ProcessorObjectName &&
      !HoldsProcessorObject(buffer, buffer ? std::min<uint32_t>(length, size) : 0))
    return QueryNativeProcessorPerfData(buffer, buffer ? size : 0);
  return answer;
}

}  // namespace platform::win32
