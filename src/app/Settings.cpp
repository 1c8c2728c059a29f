// The settings record and its registry values.
#include "app/Settings.h"

#include "platform/CommandLine.h"
#include "base/SysUtils.h"

const char* const SettingsKey = "Software\\Norvanta Tech\\Ramsweep";
const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunValue = "Brisko Memory";

namespace {

// A stored DWORD, as the signed number it was saved from.
int32_t ReadDWord(platform::IRegistryKey& key, const char* name) {
  platform::TRegValue value;
  if (!key.ReadValue(name, value)) throw Exception(Format("Failed to get data for '%s'", name));
  if (value.Type != platform::TRegType::DWord || value.Data.size() != 4)
    throw Exception(Format("Invalid data type for '%s'", name));
  return static_cast<int32_t>(value.Data[0] | (value.Data[1] << 8) | (value.Data[2] << 16) |
                              (static_cast<uint32_t>(value.Data[3]) << 24));
}

}  // namespace

TSettings TSettings::Recommended(int32_t depthMax) {
  TSettings s;
  s.Depth = depthMax;
  return s;
}

void ReadSettings(platform::IRegistryKey& key, TSettings& s) {
  s.Depth = ReadDWord(key, "Depth");
  s.IsMemCondition = ReadDWord(key, "IsMemCondition") != 0;
  if (s.IsMemCondition) s.MemCondition = ReadDWord(key, "MemCondition");
  s.IsCpuCondition = ReadDWord(key, "IsCpuCondition") != 0;
  if (s.IsCpuCondition) s.CpuCondition = ReadDWord(key, "CpuCondition");
  s.Autorun = ReadDWord(key, "Autorun") != 0;
  s.IsClearPaste = ReadDWord(key, "IsClearPaste") != 0;
  s.IsTaskBar = ReadDWord(key, "IsTaskBar") != 0;
  s.IsTaskShow = ReadDWord(key, "IsTaskShow") != 0;
  if (s.IsTaskShow) s.TaskShow = ReadDWord(key, "TaskShow");
}

void WriteSettings(platform::IRegistryKey& key, const TSettings& s) {
  const auto u = [](int32_t v) { return static_cast<uint32_t>(v); };
  const std::vector<platform::TDWordValue> values = {
      {"Depth", u(s.Depth)},         {"MemCondition", u(s.MemCondition)}, {"IsMemCondition", s.IsMemCondition},
      {"CpuCondition", u(s.CpuCondition)}, {"IsCpuCondition", s.IsCpuCondition}, {"Autorun", s.Autorun},
      {"IsClearPaste", s.IsClearPaste}, {"IsTaskBar", s.IsTaskBar},      {"IsTaskShow", s.IsTaskShow},
      {"TaskShow", u(s.TaskShow)}};
  const size_t stored = key.WriteDWords(values);
  if (stored < values.size()) throw Exception(Format("Failed to set data for '%s'", values[stored].Name.c_str()));
}

void RaiseNotStored() { throw Exception(Format("Failed to set data for '%s'", "Depth")); }

std::string AutorunCommand(const std::string& executablePath) {
  return platform::JoinCommandLine({executablePath, "/LOAD"});
}
