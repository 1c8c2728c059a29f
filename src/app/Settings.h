// The program's settings as one record: what the settings panel shows and edits, the recommended
// values, and how the record is kept in the per-user registry key, value by value in a fixed order.
#pragma once
#include <cstdint>
#include <string>

#include "platform/Registry.h"

struct TSettings {
  int32_t Depth = 1;  // deep-trim size in MB
  int32_t MemCondition = 10;
  bool IsMemCondition = true;
  int32_t CpuCondition = 10;
  bool IsCpuCondition = true;
  bool Autorun = false;
  bool IsClearPaste = false;
  bool IsTaskBar = false;
  bool IsTaskShow = true;
  int32_t TaskShow = 1;

  // The recommended values; the depth is all physical memory, the deep-trim slider's maximum.
  static TSettings Recommended(int32_t depthMax);
};

// The per-user settings key, the machine-wide logon list and the program's entry in it.
extern const char* const SettingsKey;
extern const char* const RunKey;
extern const char* const RunValue;

// Reads the stored values into settings in the stored order, a condition's threshold only when the
// condition is on and the tray figure only when the tray option is on. The first value that is
// missing or not a DWORD raises "Failed to get data for '%s'" or "Invalid data type for '%s'"; what was
// read before it stays in settings.
void ReadSettings(platform::IRegistryKey& key, TSettings& settings);
// Writes the ten values as one change, in the order Depth, MemCondition, IsMemCondition, CpuCondition,
// IsCpuCondition, Autorun, IsClearPaste, IsTaskBar, IsTaskShow, TaskShow; raises "Failed to set data
// for '%s'" naming the first value that was not stored.
void WriteSettings(platform::IRegistryKey& key, const TSettings& settings);
// The same message for a store that cannot be opened at all: nothing of the save was stored.
[[noreturn]] void RaiseNotStored();

// The logon command for the executable: its path as a command line quotes it, then " /LOAD".
std::string AutorunCommand(const std::string& executablePath);
