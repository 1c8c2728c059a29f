// The registry service on Linux. HKEY_CURRENT_USER is the REGEDIT4 file $XDG_CONFIG_HOME/brisko/registry.reg,
// replaced atomically (mode 0600) on every change; the machine Run key is the XDG autostart entry; the
// processor performance block comes from PerfData. A file that cannot be read is set aside, never overwritten.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/linux/RegFile.h"

namespace platform::linux {

// Mapping:
// - HKEY_CURRENT_USER\<path> is the section [HKEY_CURRENT_USER\<path>] of registry.reg. Key and value names
//   compare ignoring case and keep their spelling; values keep their order. A key exists when its section
//   does or when it is the parent of one (as the parents of a created key exist in Windows). The file is
//   read again whenever it changed on disk, so every change is made to what the file holds now.
// - HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run holds just "Brisko Memory", which exists
//   while $XDG_CONFIG_HOME/autostart/brisko-memory.desktop does; its text is the Windows-style command line
//   the entry runs. Opening the key for writing (or creating it) needs an autostart folder that can be
//   created and written; opening it for reading always works.
// - Every other key of HKEY_LOCAL_MACHINE and HKEY_DYN_DATA cannot be opened or created.
// The keys a registry hands out must not outlive it.
class TLinuxRegistry : public platform::IRegistry {
public:
  using TMessageEvent = std::function<void(const std::string& message)>;
  // Called with the temp file's name once it is complete on disk, just before it is renamed over the
  // target; answering false stops there, as a crash at that moment would (the write then fails).
  using TReplaceHook = std::function<bool(const std::string& tempPath)>;

  // configDir stands for $XDG_CONFIG_HOME; empty takes it from the environment (~/.config by default).
  explicit TLinuxRegistry(std::string configDir = {});
  ~TLinuxRegistry() override;
  TLinuxRegistry(const TLinuxRegistry&) = delete;  // keys refer to their registry
  TLinuxRegistry& operator=(const TLinuxRegistry&) = delete;

  std::unique_ptr<IRegistryKey> CreateKey(TRootKey root, const std::string& path) override;
  std::unique_ptr<IRegistryKey> OpenKey(TRootKey root, const std::string& path, TRegAccess access) override;
  long QueryPerformanceData(const std::string& objectName, uint8_t* buffer, uint32_t size) override;

  const std::string& SettingsFile() const { return FSettingsFile; }
  const std::string& AutostartFile() const { return FAutostartFile; }

  // Receives, once each, the reports of a settings file that was set aside or could not be read (English
  // text for the error box). Reports made before a handler is set are handed to it when it is set.
  const TMessageEvent& OnSettingsError() const { return FOnSettingsError; }
  void SetOnSettingsError(TMessageEvent handler);

  void SetReplaceHook(TReplaceHook hook) { FReplaceHook = std::move(hook); }

private:
  class TSettingsKey;
  class TAutostartKey;

  struct TFileIdentity {
    bool Present = false;
    uint64_t Device = 0, Inode = 0, Size = 0;
    int64_t ModifiedSeconds = 0, ModifiedNanoseconds = 0;
    bool operator==(const TFileIdentity&) const = default;
  };

  void Refresh();
  void Report(std::string message);
  bool SettingsKeyExists(const std::string& fullPath);
  // Applies edit to a copy of the store; when edit reports a change, the file is replaced and only then
  // does the copy become the store. False when the change could not be saved.
  bool Change(const std::function<bool(TRegFileContent&)>& edit);
  bool ReplaceFile(const std::string& path, const std::string& content, unsigned mode);

  std::string FConfigDir, FSettingsDir, FSettingsFile, FAutostartDir, FAutostartFile;
  TRegFileContent FContent;
  TFileIdentity FIdentity;
  bool FLoaded = false;
  bool FWritesBlocked = false;  // the file on disk could not be read, so it must not be replaced
  std::vector<std::string> FPendingReports;
  TMessageEvent FOnSettingsError;
  TReplaceHook FReplaceHook;
};

}  // namespace platform::linux
