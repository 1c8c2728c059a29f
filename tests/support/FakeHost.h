// A fake host for the portable code: an in-memory registry with a settable performance-data block,
// a system whose memory status, version and arguments the test sets, and a shell that records.
#pragma once
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Host.h"

class TFakeRegistry : public platform::IRegistry {
public:
  using TKeyName = std::pair<platform::TRootKey, std::string>;
  struct TKey {
    std::map<std::string, platform::TRegValue> Values;
  };

  std::unique_ptr<platform::IRegistryKey> CreateKey(platform::TRootKey root, const std::string& path) override;
  std::unique_ptr<platform::IRegistryKey> OpenKey(platform::TRootKey root, const std::string& path,
                                                  platform::TRegAccess access) override;
  long QueryPerformanceData(const std::string& objectName, uint8_t* buffer, uint32_t size) override;

  // Test controls.
  std::map<TKeyName, TKey> Keys;
  std::set<TKeyName> Unopenable;            // keys that refuse to open or be created
  std::set<std::string> FailingWrites;      // value names whose writes fail
  std::vector<uint8_t> PerfBlock;           // the block QueryPerformanceData answers with
  long PerfAnswer = platform::ErrorSuccess; // forced answer when the block fits
  std::vector<uint32_t> PerfQuerySizes;     // the size passed to every query, in order
  std::vector<std::string> ValueReads;      // "path:name" of every ReadValue, in order
  std::vector<platform::TRegAccess> OpenAccess;  // the access every OpenKey asked for, in order

  TKey* Find(platform::TRootKey root, const std::string& path);
  void SetDWord(platform::TRootKey root, const std::string& path, const std::string& name, uint32_t value);
  void SetString(platform::TRootKey root, const std::string& path, const std::string& name, const std::string& value);
};

class TFakeSystem : public platform::ISystem {
public:
  bool GetVersion(platform::TVersionInfo& info) override;
  platform::TMemoryStatus GetMemoryStatus() override;
  uint64_t FreePhysicalMemory() override { return FreePhys; }
  std::vector<std::string> CommandLineArgs() override { return Args; }
  std::string ExecutablePath() override { return ExePath; }
  uint32_t GetPriorityClass() override { return PriorityClass; }
  void SetPriorityClass(uint32_t priorityClass) override;
  int GetThreadPriority() override { return ThreadPriority; }
  void SetThreadPriority(int priority) override;
  void Sleep(uint32_t milliseconds) override;
  uint64_t TimeStampCounter() override;
  bool CpuIdSupported() override { return HasCpuId; }
  platform::TCpuIdRegs CpuId(uint32_t leaf) override;
  int32_t ProcessorCount() override { return Processors; }
  std::string WindowsDirectory() override { return WindowsDir; }
  std::string SystemDirectory() override { return SystemDir; }
  std::string TempPath() override { return TempDir; }
  std::string HostName() override { return Host; }
  std::vector<std::string> HostAddresses(const std::string& hostName) override;
  bool QuerySystemInformation(uint32_t infoClass, std::span<uint8_t> buffer) override;
  uint32_t ThreadCount() override { return Threads; }

  // Test controls.
  platform::TVersionInfo Version{5, 1, 2600, platform::PlatformWin32NT, ""};
  bool VersionFails = false;
  // 1000 MB of physical memory with 300 MB free, unless a test says otherwise.
  platform::TMemoryStatus Memory{70, 1000ull << 20, 300ull << 20, 3000ull << 20, 1500ull << 20, 2047ull << 20, 1900ull << 20};
  int MemoryReads = 0;
  uint64_t FreePhys = 200ull << 20;
  std::vector<std::string> Args;
  std::string ExePath = "C:\\Brisko\\brisko.exe";
  uint32_t PriorityClass = platform::NormalPriorityClass;
  int ThreadPriority = platform::ThreadPriorityNormal;
  uint64_t Tsc = 0;
  uint64_t TscPerMs = 1000000;            // 1 GHz
  std::vector<uint32_t> Sleeps;
  std::vector<std::string> Events;        // priority changes and sleeps, in order
  // A processor: its leaves (missing ones answer zeros) and every leaf executed, in order.
  bool HasCpuId = true;
  std::map<uint32_t, platform::TCpuIdRegs> Leaves;
  std::vector<uint32_t> CpuIdCalls;
  int32_t Processors = 1;
  std::string WindowsDir = "C:\\WINDOWS", SystemDir = "C:\\WINDOWS\\system32", TempDir = "C:\\TEMP\\";
  std::string Host = "brisko-pc";
  std::map<std::string, std::vector<std::string>> Addresses;  // by host name
  // The system query records by class (a missing class fails), copied into the caller's buffer.
  std::map<uint32_t, std::vector<uint8_t>> Records;
  uint32_t Threads = 0;

  void SetMemoryMB(uint64_t totalPhys, uint64_t availPhys);
};

// Processes with identifiers and a switch each for being openable; blocks counted; every call logged.
class TFakeProcesses : public platform::IProcesses {
public:
  struct TProcess {
    uint32_t Pid;
    bool Openable = true;
    int Trims = 0;
  };

  void BeginTrim() override { ++Begun; }
  void EndTrim() override { ++Ended; }
  platform::TPrivilegeResult EnablePrivilege(const std::string& name) override;
  bool EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t& returned) override;
  uintptr_t OpenProcess(uint32_t access, uint32_t pid) override;
  bool EmptyWorkingSet(uintptr_t process) override;
  void CloseProcess(uintptr_t process) override;
  void ReclaimWithinRights() override { ++Reclaims; }
  platform::TRightsAdvice RightsAdvice() const override { return platform::TRightsAdvice::RunAsAdministrator; }
  uintptr_t CommitBlock(uint32_t bytes) override;
  void ReleaseBlock(uintptr_t block) override;

  // Test controls.
  std::vector<TProcess> Processes{{4}, {108}, {2000}};
  bool EnumFails = false;
  bool PrivilegeHeld = true;
  int BlocksAvailable = 1 << 20;  // commits beyond these fail
  std::function<void()> OnEmptyWorkingSet;
  std::function<void()> OnCommit;
  // What happened.
  std::vector<std::string> Events;         // "privilege", "open <pid>", "trim <pid>", "close <pid>"
  std::vector<uint32_t> EnumBufferBytes;   // the size of every buffer EnumProcesses was given
  uint32_t LastAccess = 0;
  std::set<uintptr_t> HeldBlocks;
  int Committed = 0, Released = 0, BadReleases = 0, Begun = 0, Ended = 0, Reclaims = 0;

private:
  uintptr_t FNextBlock = 0x10000;
};

class TFakeClipboard : public platform::IClipboard {
public:
  bool Open() override { return Openable; }
  void Empty() override { ++Emptied; }
  void Close() override {}
  bool Openable = true;
  int Emptied = 0;
};

class TFakeShell : public platform::IShell {
public:
  bool OpenDocument(const std::string& verb, const std::string& file) override {
    Opened.push_back(verb + " " + file);
    return Openable.contains(file);
  }
  std::string InstalledDocument(const std::string& name) override { return "/usr/share/brisko/" + name; }
  std::set<std::string> Openable{"Help.htm"};  // the documents that open
  std::vector<std::string> Opened;
};

// Installs a fresh fake host for the lifetime of the object.
class TFakeHost {
public:
  TFakeHost();
  ~TFakeHost();
  TFakeRegistry Registry;
  TFakeSystem System;
  TFakeShell Shell;
  TFakeProcesses Processes;
  TFakeClipboard Clipboard;

private:
  platform::THost FPrevious;
};
