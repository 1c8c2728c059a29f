// A fake host for the portable code: an in-memory registry with a settable performance-data block,
// a system whose memory status, version and arguments the test sets, and a shell that records.
#pragma once
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

  TKey* Find(platform::TRootKey root, const std::string& path);
  void SetDWord(platform::TRootKey root, const std::string& path, const std::string& name, uint32_t value);
};

class TFakeSystem : public platform::ISystem {
public:
  bool GetVersion(platform::TVersionInfo& info) override;
  platform::TMemoryStatus GetMemoryStatus() override;
  std::vector<std::string> CommandLineArgs() override { return Args; }
  std::string ExecutablePath() override { return ExePath; }
  uint32_t GetPriorityClass() override { return PriorityClass; }
  void SetPriorityClass(uint32_t priorityClass) override;
  int GetThreadPriority() override { return ThreadPriority; }
  void SetThreadPriority(int priority) override;
  void Sleep(uint32_t milliseconds) override;
  uint64_t ReadTimeStampCounter() override;

  // Test controls.
  platform::TVersionInfo Version{5, 1, 2600, platform::PlatformWin32NT, ""};
  bool VersionFails = false;
  // 1000 MB of physical memory with 300 MB free, unless a test says otherwise.
  platform::TMemoryStatus Memory{70, 1000ull << 20, 300ull << 20, 3000ull << 20, 1500ull << 20, 2047ull << 20, 1900ull << 20};
  int MemoryReads = 0;
  std::vector<std::string> Args;
  std::string ExePath = "C:\\Brisko\\brisko.exe";
  uint32_t PriorityClass = platform::NormalPriorityClass;
  int ThreadPriority = platform::ThreadPriorityNormal;
  uint64_t Tsc = 0;
  uint64_t TscPerMs = 1000000;            // 1 GHz
  std::vector<uint32_t> Sleeps;
  std::vector<std::string> Events;        // priority changes and sleeps, in order

  void SetMemoryMB(uint64_t totalPhys, uint64_t availPhys);
};

class TFakeShell : public platform::IShell {
public:
  void OpenDocument(const std::string& verb, const std::string& file) override { Opened.push_back(verb + " " + file); }
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

private:
  platform::THost FPrevious;
};
