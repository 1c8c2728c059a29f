// The registry service: typed values under keys of the predefined roots, and the performance-data
// query. Failures come back as null keys or false results, never as exceptions.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class TRootKey { CurrentUser, LocalMachine, DynData };
enum class TRegAccess { Read, AllAccess };

// Value types with the numbers the registry gives them.
enum class TRegType : uint32_t { None = 0, String = 1, ExpandString = 2, Binary = 3, DWord = 4, MultiString = 7, QWord = 11 };

// Strings travel as UTF-8 without a terminator; other types as their raw little-endian bytes.
struct TRegValue {
  TRegType Type = TRegType::None;
  std::vector<uint8_t> Data;
};

struct TDWordValue {
  std::string Name;
  uint32_t Value;
};

class IRegistryKey {
public:
  virtual ~IRegistryKey() = default;  // closes the key
  virtual bool ValueExists(const std::string& name) = 0;
  // False when the value is missing or cannot be read.
  virtual bool ReadValue(const std::string& name, TRegValue& value) = 0;
  // Writes the values in their order, as one change where the store allows it. Answers how many were
  // stored before the first that could not be: all of them on success. A store written as one change
  // answers all or none.
  virtual size_t WriteDWords(const std::vector<TDWordValue>& values) = 0;
  virtual bool WriteString(const std::string& name, const std::string& value) = 0;
  // True also when the value was absent.
  virtual bool DeleteValue(const std::string& name) = 0;
};

// Answers of the performance-data query, with the numbers the registry uses.
constexpr long ErrorSuccess = 0;
constexpr long ErrorMoreData = 234;

class IRegistry {
public:
  virtual ~IRegistry() = default;
  // Opens the key with full access, creating it when missing; null when it cannot.
  virtual std::unique_ptr<IRegistryKey> CreateKey(TRootKey root, const std::string& path) = 0;
  // Opens an existing key; null when it is missing or the access is refused.
  virtual std::unique_ptr<IRegistryKey> OpenKey(TRootKey root, const std::string& path, TRegAccess access) = 0;
  // Fills buffer[0..size) with the performance-data block of the named object ("238"); answers
  // ErrorMoreData when the block does not fit, leaving the buffer's contents undefined.
  virtual long QueryPerformanceData(const std::string& objectName, uint8_t* buffer, uint32_t size) = 0;
};

}  // namespace platform
