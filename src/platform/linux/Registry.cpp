// The registry service on Linux (the mapping is described in Registry.h): the settings file with its
// atomic replace and set-aside of damaged files, and the autostart entry. Nothing here throws; failures
// are null keys, false or short counts.
#include "platform/linux/Registry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/CommandLine.h"
#include "platform/linux/DesktopEntry.h"
#include "platform/linux/MachineInfo.h"
#include "platform/linux/PerfData.h"
#include "platform/linux/Xdg.h"

namespace platform::linux {

namespace {

constexpr std::string_view CurrentUserRoot = "HKEY_CURRENT_USER";
constexpr std::string_view RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::string_view AutostartValueName = "Brisko Memory";
constexpr std::string_view CurrentVersionPath = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr std::string_view ProcessorObject = "238";
constexpr long ErrorFileNotFound = 2;
// A settings file beyond this is not one this program wrote; it is set aside rather than read into memory.
constexpr size_t MaxSettingsFileSize = 16u << 20;
constexpr size_t MaxDesktopFileSize = 1u << 20;

// Splits and stores a key path given to CreateKey/OpenKey: one trailing backslash is allowed, empty
// parts and characters the file cannot carry are not.
bool NormalizePath(const std::string& path, std::string& out) {
  out = path;
  if (!out.empty() && out.back() == '\\') out.pop_back();
  if (!IsWritableName(out)) return false;
  if (out.empty()) return path.empty();
  for (size_t start = 0;;) {
    const size_t end = out.find('\\', start);
    if (end == start || start == out.size()) return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

std::string DesktopFileText(const std::string& commandLine, const std::vector<std::string>& args) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Brisko内存整理 4.0\n"
         "Exec=" + EscapeValue(ExecLine(args)) + "\n"
         "Icon=brisko\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n"
         "X-Brisko-CommandLine=" + EscapeValue(commandLine) + "\n";
}

void SetString(TRegValue& value, std::string_view text) {
  value.Type = TRegType::String;
  value.Data.assign(text.begin(), text.end());
}

std::vector<uint8_t> DWordBytes(uint32_t value) {
  return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
}

// Puts a value into a key of the content; false when it is there already, as it is.
bool Put(TRegFileContent& content, const std::string& path, const std::string& name, TRegType type,
         std::vector<uint8_t> data) {
  TRegFileKey* key = FindKey(content, path);
  if (!key) key = &content.Keys.emplace_back(TRegFileKey{path, {}});
  TRegFileValue* value = FindValue(*key, name);
  if (!value) {
    key->Values.push_back({name, type, std::move(data)});
    return true;
  }
  if (value->Type == type && value->Data == data) return false;
  value->Type = type;
  value->Data = std::move(data);
  return true;
}

}  // namespace

// --- keys ---

class TLinuxRegistry::TSettingsKey : public IRegistryKey {
public:
  TSettingsKey(TLinuxRegistry& owner, std::string fullPath, bool writable)
      : FOwner(owner), FPath(std::move(fullPath)), FWritable(writable) {}

  bool ValueExists(const std::string& name) override { return Find(name) != nullptr; }

  bool ReadValue(const std::string& name, TRegValue& value) override {
    const TRegFileValue* found = Find(name);
    if (!found) return false;
    value.Type = found->Type;
    value.Data = found->Data;
    return true;
  }

  size_t WriteDWords(const std::vector<TDWordValue>& values) override {
    const bool allowed = FWritable && std::all_of(values.begin(), values.end(), [](const TDWordValue& v) {
                           return IsWritableName(v.Name);
                         });
    const bool written = allowed && FOwner.Change([&](TRegFileContent& content) {
      bool changed = false;
      for (const TDWordValue& v : values) changed = Put(content, FPath, v.Name, TRegType::DWord, DWordBytes(v.Value)) || changed;
      return changed;
    });
    return written ? values.size() : 0;
  }

  bool WriteString(const std::string& name, const std::string& value) override {
    if (!FWritable || !IsWritableName(name)) return false;
    return FOwner.Change([&](TRegFileContent& content) {
      return Put(content, FPath, name, TRegType::String, std::vector<uint8_t>(value.begin(), value.end()));
    });
  }

  bool DeleteValue(const std::string& name) override {
    if (!FWritable) return false;
    return FOwner.Change([&](TRegFileContent& content) {
      TRegFileKey* key = FindKey(content, FPath);
      if (!key) return false;
      return std::erase_if(key->Values, [&](const TRegFileValue& v) { return SameName(v.Name, name); }) > 0;
    });
  }

private:
  const TRegFileValue* Find(const std::string& name) {
    FOwner.Refresh();
    TRegFileKey* key = FindKey(FOwner.FContent, FPath);
    return key ? FindValue(*key, name) : nullptr;
  }

  TLinuxRegistry& FOwner;
  std::string FPath;
  bool FWritable;
};

class TLinuxRegistry::TAutostartKey : public IRegistryKey {
public:
  TAutostartKey(TLinuxRegistry& owner, bool writable) : FOwner(owner), FWritable(writable) {}

  bool ValueExists(const std::string& name) override {
    struct stat st;
    return SameName(name, AutostartValueName) && lstat(FOwner.FAutostartFile.c_str(), &st) == 0;
  }

  // The command line kept beside Exec is answered while it still means what Exec runs (someone may
  // have edited the entry); otherwise the command line is rebuilt from Exec.
  bool ReadValue(const std::string& name, TRegValue& value) override {
    std::string text, why, exec, commandLine;
    if (!SameName(name, AutostartValueName) ||
        ReadFile(FOwner.FAutostartFile, MaxDesktopFileSize, text, why) != TReadResult::Ok)
      return false;
    std::vector<std::string> args;
    const bool hasExec = DesktopEntryValue(text, "Exec", exec) && ParseExec(exec, args);
    if (DesktopEntryValue(text, "X-Brisko-CommandLine", commandLine) && (!hasExec || SplitCommandLine(commandLine) == args)) {
      SetString(value, commandLine);
      return true;
    }
    if (!hasExec) return false;
    SetString(value, JoinCommandLine(args));
    return true;
  }

  size_t WriteDWords(const std::vector<TDWordValue>&) override { return 0; }

  bool WriteString(const std::string& name, const std::string& value) override {
    if (!FWritable || !SameName(name, AutostartValueName) || value.find('\0') != std::string::npos) return false;
    const std::vector<std::string> args = SplitCommandLine(value);
    if (args.empty() || args[0].empty()) return false;
    const std::string text = DesktopFileText(value, args);
    std::string old, why;
    if (ReadFile(FOwner.FAutostartFile, MaxDesktopFileSize, old, why) == TReadResult::Ok && old == text) return true;
    return MakeFolders(FOwner.FAutostartDir, 0700, why) && ReplaceFile(WriteTarget(FOwner.FAutostartFile), text, 0644, why);
  }

  bool DeleteValue(const std::string& name) override {
    if (!FWritable) return false;
    if (!SameName(name, AutostartValueName)) return true;
    return unlink(FOwner.FAutostartFile.c_str()) == 0 || errno == ENOENT;
  }

private:
  TLinuxRegistry& FOwner;
  bool FWritable;
};

// The installation's registration data, read-only, taken from the system when the key is opened.
class TMachineInfoKey : public IRegistryKey {
public:
  TMachineInfoKey()
      : FValues{{"ProductName", ProductName()}, {"ProductId", MachineId()}, {"RegisteredOwner", OwnerName()}} {}

  bool ValueExists(const std::string& name) override { return Find(name) != FValues.end(); }
  bool ReadValue(const std::string& name, TRegValue& value) override {
    const auto found = Find(name);
    if (found == FValues.end()) return false;
    SetString(value, found->second);
    return true;
  }
  size_t WriteDWords(const std::vector<TDWordValue>&) override { return 0; }
  bool WriteString(const std::string&, const std::string&) override { return false; }
  bool DeleteValue(const std::string&) override { return false; }

private:
  using TValues = std::vector<std::pair<std::string, std::string>>;
  TValues::const_iterator Find(const std::string& name) const {
    return std::find_if(FValues.begin(), FValues.end(), [&name](const auto& v) { return SameName(name, v.first) && !v.second.empty(); });
  }
  TValues FValues;
};

// --- the registry ---

TLinuxRegistry::TLinuxRegistry(std::string configDir) : FConfigDir(std::move(configDir)) {
  if (FConfigDir.empty()) FConfigDir = ConfigHome();
  while (FConfigDir.size() > 1 && FConfigDir.back() == '/') FConfigDir.pop_back();
  FSettingsDir = FConfigDir + "/brisko";
  FSettingsFile = FSettingsDir + "/registry.reg";
  FAutostartDir = FConfigDir + "/autostart";
  FAutostartFile = FAutostartDir + "/brisko-memory.desktop";
  RemoveStaleTemporaries(WriteTarget(FSettingsFile));
}

TLinuxRegistry::~TLinuxRegistry() = default;

void TLinuxRegistry::SetOnSettingsError(TMessageEvent handler) {
  FOnSettingsError = std::move(handler);
  if (!FOnSettingsError) return;
  std::vector<std::string> pending;
  pending.swap(FPendingReports);
  for (const auto& message : pending) FOnSettingsError(message);
}

void TLinuxRegistry::Report(const std::string& message) {
  if (std::find(FReported.begin(), FReported.end(), message) != FReported.end()) return;
  FReported.push_back(message);
  if (FOnSettingsError)
    FOnSettingsError(message);
  else
    FPendingReports.push_back(message);
}

void TLinuxRegistry::Refresh() {
  struct stat st;
  if (stat(FSettingsFile.c_str(), &st) != 0) {
    const int error = errno;
    FContent = {};
    FIdentity = {};
    FLoaded = true;
    // No file: a first start, with nothing on disk to protect. A file that cannot even be examined may
    // hold the user's settings: it is reported and never replaced.
    FWritesBlocked = error != ENOENT;
    if (FWritesBlocked)
      Report("The settings file " + FSettingsFile + " cannot be examined (" + std::strerror(error) +
             "). Changes to the settings are not saved until it can be read.");
    return;
  }
  const TFileIdentity identity{true, uint64_t(st.st_dev), uint64_t(st.st_ino), uint64_t(st.st_size),
                               int64_t(st.st_mtim.tv_sec), int64_t(st.st_mtim.tv_nsec)};
  if (FLoaded && identity == FIdentity) return;
  FLoaded = true;
  FIdentity = identity;
  Load();
}

void TLinuxRegistry::Load() {
  FContent = {};
  FWritesBlocked = false;
  std::string text, why;
  const TReadResult read = ReadFile(FSettingsFile, MaxSettingsFileSize, text, why);
  if (read == TReadResult::Ok) {
    TRegFileError error;
    if (ParseRegFile(text, FContent, error)) return;
    why = "line " + std::to_string(error.Line) + ": " + error.Reason;
  } else if (read != TReadResult::TooLarge) {
    FWritesBlocked = true;
    Report("The settings file " + FSettingsFile + " could not be read (" + why +
           "). Changes to the settings are not saved until it can be read.");
    return;
  }
  const std::string damaged = FSettingsFile + ".damaged";
  if (rename(FSettingsFile.c_str(), damaged.c_str()) == 0) {
    FIdentity = {};
    // A second damaged file is a new event, reported again.
    FReported.clear();
    Report("The settings file " + FSettingsFile + " could not be read (" + why + ") and was set aside as " + damaged + ".");
  } else {
    FWritesBlocked = true;
    Report("The settings file " + FSettingsFile + " could not be read (" + why + ") and could not be set aside as " +
           damaged + " (" + std::strerror(errno) + "). Changes to the settings are not saved until it is repaired.");
  }
}

bool TLinuxRegistry::SettingsKeyExists(const std::string& fullPath) {
  Refresh();
  if (SameName(fullPath, CurrentUserRoot)) return true;
  for (const auto& key : FContent.Keys)
    if (key.Path.size() >= fullPath.size() && SameName(std::string_view(key.Path).substr(0, fullPath.size()), fullPath) &&
        (key.Path.size() == fullPath.size() || key.Path[fullPath.size()] == '\\'))
      return true;
  return false;
}

bool TLinuxRegistry::Change(const std::function<bool(TRegFileContent&)>& edit) {
  Refresh();
  if (FWritesBlocked) return false;
  TRegFileContent next = FContent;
  if (!edit(next)) return true;
  std::string why;
  const std::string target = WriteTarget(FSettingsFile);
  const bool folders = MakeFolders(FConfigDir, 0700, why) && MakeFolders(FSettingsDir, 0700, why);
  if (!folders || !ReplaceFile(target, SerializeRegFile(next), 0600, why, FReplaceHook)) {
    if (!folders) Report("The settings cannot be saved: " + why + ".");
    else if (why != "the replacement was stopped") Report("The settings file " + FSettingsFile + " cannot be saved (" + why + ").");
    return false;
  }
  FContent = std::move(next);
  struct stat st;
  if (stat(FSettingsFile.c_str(), &st) == 0)
    FIdentity = {true, uint64_t(st.st_dev), uint64_t(st.st_ino), uint64_t(st.st_size), int64_t(st.st_mtim.tv_sec),
                 int64_t(st.st_mtim.tv_nsec)};
  return true;
}

std::unique_ptr<IRegistryKey> TLinuxRegistry::CreateKey(TRootKey root, const std::string& path) {
  std::string normal, why;
  if (!NormalizePath(path, normal)) return nullptr;
  if (root == TRootKey::LocalMachine && SameName(normal, RunKeyPath)) {
    if (!MakeFolders(FConfigDir, 0700, why) || !MakeFolders(FAutostartDir, 0700, why) ||
        access(FAutostartDir.c_str(), W_OK | X_OK) != 0)
      return nullptr;
    return std::make_unique<TAutostartKey>(*this, true);
  }
  if (root != TRootKey::CurrentUser) return nullptr;
  const std::string full = std::string(CurrentUserRoot) + (normal.empty() ? "" : "\\" + normal);
  if (!SettingsKeyExists(full) && !Change([&](TRegFileContent& content) {
        content.Keys.push_back({full, {}});
        return true;
      }))
    return nullptr;
  return std::make_unique<TSettingsKey>(*this, full, true);
}

std::unique_ptr<IRegistryKey> TLinuxRegistry::OpenKey(TRootKey root, const std::string& path, TRegAccess access) {
  std::string normal;
  if (!NormalizePath(path, normal)) return nullptr;
  const bool writable = access == TRegAccess::AllAccess;
  if (root == TRootKey::LocalMachine && SameName(normal, RunKeyPath)) {
    if (!writable) return std::make_unique<TAutostartKey>(*this, false);
    return CreateKey(root, path);
  }
  if (root == TRootKey::LocalMachine && SameName(normal, CurrentVersionPath))
    return writable ? nullptr : std::make_unique<TMachineInfoKey>();
  if (root != TRootKey::CurrentUser) return nullptr;
  const std::string full = std::string(CurrentUserRoot) + (normal.empty() ? "" : "\\" + normal);
  if (!SettingsKeyExists(full)) return nullptr;
  return std::make_unique<TSettingsKey>(*this, full, writable);
}

long TLinuxRegistry::QueryPerformanceData(const std::string& objectName, uint8_t* buffer, uint32_t size) {
  if (objectName != ProcessorObject) return ErrorFileNotFound;
  return QueryProcessorPerfData(buffer, size);
}

}  // namespace platform::linux
