// The registry service on Linux. HKEY_CURRENT_USER is the REGEDIT4 file $XDG_CONFIG_HOME/brisko/registry.reg,
// replaced atomically (mode 0600) on every change; the machine Run key is the XDG autostart entry; the
// processor performance block comes from PerfData. A file that cannot be read is set aside, never overwritten.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/linux/Files.h"
#include "platform/linux/RegFile.h"

namespace platform::linux {

// Mapping:
// - HKEY_CURRENT_USER\<path> is the section [HKEY_CURRENT_USER\<path>] of registry.reg. Key and value names
//   compare ignoring case and keep their spelling; values keep their order. A key exists when its section
//   does or when it is the parent of one (as the parents of a created key exist in Windows). The file is
//   read again whenever it changed on disk, so every change is made to what the file holds now; a change
//   of several values (WriteDWords) is one rewrite. A link in the file's place is followed, also when it
//   dangles; a file the user made read-only is left alone (the change fails).
// - HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run holds just "Brisko Memory", which exists
//   while $XDG_CONFIG_HOME/autostart/brisko-memory.desktop does; its text is the Windows-style command line
//   (platform/CommandLine.h) the entry runs, whose Exec line is written as a desktop launcher reads it.
//   Opening the key for writing (or creating it) needs an autostart folder that can be created and written;
//   opening it for reading always works.
// - HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion opens for reading only: ProductName is
//   PRETTY_NAME of os-release, ProductId /etc/machine-id, RegisteredOwner the user's full name (GECOS
//   before the first comma, else the login name); RegisteredOrganization has no source and is absent.
// - Every other key of HKEY_LOCAL_MACHINE and HKEY_DYN_DATA cannot be opened or created.
// - A settings file that cannot be read or examined, or a settings folder that cannot be made, is reported
//   once (English text for the error box) through OnSettingsError.
// The keys a registry hands out must not outlive it.
class TLinuxRegistry : public platform::IRegistry {
public:
  using TMessageEvent = std::function<void(const std::string& message)>;

  // configDir stands for $XDG_CONFIG_HOME; empty takes it from the environment (~/.config by default).
  // Temporary files that earlier runs left beside the settings file are removed.
  explicit TLinuxRegistry(std::string configDir = {});
  ~TLinuxRegistry() override;
  TLinuxRegistry(const TLinuxRegistry&) = delete;  // keys refer to their registry
  TLinuxRegistry& operator=(const TLinuxRegistry&) = delete;

  std::unique_ptr<IRegistryKey> CreateKey(TRootKey root, const std::string& path) override;
  std::unique_ptr<IRegistryKey> OpenKey(TRootKey root, const std::string& path, TRegAccess access) override;
  long QueryPerformanceData(const std::string& objectName, uint8_t* buffer, uint32_t size) override;

  const std::string& SettingsFile() const { return FSettingsFile; }
  const std::string& AutostartFile() const { return FAutostartFile; }

  // Receives, once each, the reports of a settings store that was set aside or cannot be reached.
  // Reports made before a handler is set are handed to it when it is set.
  void SetOnSettingsError(TMessageEvent handler);
  // Stops every replacement of the settings file just before its rename, as a crash there would.
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
  void Load();
  void Report(const std::string& message);
  bool SettingsKeyExists(const std::string& fullPath);
  // Applies edit to a copy of the store; when edit reports a change, the file is replaced and only then
  // does the copy become the store. False when the change could not be saved.
  bool Change(const std::function<bool(TRegFileContent&)>& edit);

  std::string FConfigDir, FSettingsDir, FSettingsFile, FAutostartDir, FAutostartFile;
  TRegFileContent FContent;
  TFileIdentity FIdentity;
  bool FLoaded = false;
  bool FWritesBlocked = false;  // the file on disk could not be read, so it must not be replaced
  std::vector<std::string> FReported;
  std::vector<std::string> FPendingReports;
  TMessageEvent FOnSettingsError;
  TReplaceHook FReplaceHook;
};

}  // namespace platform::linux
