// The fake host's behaviour: what a well-behaved Windows host would answer, under test control.
#include "FakeHost.h"

#include <algorithm>
#include <cstring>

using namespace platform;

namespace {

class TFakeKey : public IRegistryKey {
public:
  TFakeKey(TFakeRegistry& registry, TFakeRegistry::TKey& key, std::string path)
      : FRegistry(registry), FKey(key), FPath(std::move(path)) {}
  bool ValueExists(const std::string& name) override { return FKey.Values.count(name) != 0; }
  bool ReadValue(const std::string& name, TRegValue& value) override {
    FRegistry.ValueReads.push_back(FPath + ":" + name);
    auto it = FKey.Values.find(name);
    if (it == FKey.Values.end()) return false;
    value = it->second;
    return true;
  }
  size_t WriteDWords(const std::vector<TDWordValue>& values) override {
    for (size_t k = 0; k < values.size(); ++k) {
      if (FRegistry.FailingWrites.count(values[k].Name)) return k;
      TRegValue v{TRegType::DWord, std::vector<uint8_t>(4)};
      std::memcpy(v.Data.data(), &values[k].Value, 4);
      FKey.Values[values[k].Name] = v;
    }
    return values.size();
  }
  bool WriteString(const std::string& name, const std::string& value) override {
    if (FRegistry.FailingWrites.count(name)) return false;
    FKey.Values[name] = TRegValue{TRegType::String, std::vector<uint8_t>(value.begin(), value.end())};
    return true;
  }
  bool DeleteValue(const std::string& name) override {
    FKey.Values.erase(name);
    return true;
  }

private:
  TFakeRegistry& FRegistry;
  TFakeRegistry::TKey& FKey;
  std::string FPath;
};

}  // namespace

std::unique_ptr<IRegistryKey> TFakeRegistry::CreateKey(TRootKey root, const std::string& path) {
  if (Unopenable.count({root, path})) return nullptr;
  return std::make_unique<TFakeKey>(*this, Keys[{root, path}], path);
}

std::unique_ptr<IRegistryKey> TFakeRegistry::OpenKey(TRootKey root, const std::string& path, TRegAccess access) {
  OpenAccess.push_back(access);
  TKey* key = Find(root, path);
  if (!key || Unopenable.count({root, path})) return nullptr;
  return std::make_unique<TFakeKey>(*this, *key, path);
}

long TFakeRegistry::QueryPerformanceData(const std::string&, uint8_t* buffer, uint32_t size) {
  PerfQuerySizes.push_back(size);
  if (PerfBlock.size() > size) return ErrorMoreData;
  std::copy(PerfBlock.begin(), PerfBlock.end(), buffer);
  return PerfAnswer;
}

TFakeRegistry::TKey* TFakeRegistry::Find(TRootKey root, const std::string& path) {
  auto it = Keys.find({root, path});
  return it == Keys.end() ? nullptr : &it->second;
}

void TFakeRegistry::SetDWord(TRootKey root, const std::string& path, const std::string& name, uint32_t value) {
  TRegValue v{TRegType::DWord, std::vector<uint8_t>(4)};
  std::memcpy(v.Data.data(), &value, 4);
  Keys[{root, path}].Values[name] = v;
}

void TFakeRegistry::SetString(TRootKey root, const std::string& path, const std::string& name, const std::string& value) {
  Keys[{root, path}].Values[name] = {TRegType::String, std::vector<uint8_t>(value.begin(), value.end())};
}

bool TFakeSystem::GetVersion(TVersionInfo& info) {
  if (VersionFails) return false;
  info = Version;
  return true;
}

TMemoryStatus TFakeSystem::GetMemoryStatus() {
  ++MemoryReads;
  return Memory;
}

void TFakeSystem::SetPriorityClass(uint32_t priorityClass) {
  PriorityClass = priorityClass;
  Events.push_back("class " + std::to_string(priorityClass));
}

void TFakeSystem::SetThreadPriority(int priority) {
  ThreadPriority = priority;
  Events.push_back("thread " + std::to_string(priority));
}

void TFakeSystem::Sleep(uint32_t milliseconds) {
  Sleeps.push_back(milliseconds);
  Events.push_back("sleep " + std::to_string(milliseconds));
  Tsc += TscPerMs * milliseconds;
}

uint64_t TFakeSystem::TimeStampCounter() { return Tsc; }

void TFakeSystem::SetMemoryMB(uint64_t totalPhys, uint64_t availPhys) {
  Memory.TotalPhys = totalPhys << 20;
  Memory.AvailPhys = availPhys << 20;
}

TPrivilegeResult TFakeProcesses::EnablePrivilege(const std::string& name) {
  Events.push_back("privilege " + name);
  return {true, PrivilegeHeld};
}

bool TFakeProcesses::EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t& returned) {
  EnumBufferBytes.push_back(bytes);
  if (EnumFails) return false;
  const size_t n = std::min<size_t>(Processes.size(), bytes / 4);
  for (size_t k = 0; k < n; ++k) ids[k] = Processes[k].Pid;
  returned = static_cast<uint32_t>(n * 4);
  return true;
}

uintptr_t TFakeProcesses::OpenProcess(uint32_t access, uint32_t pid) {
  LastAccess = access;
  Events.push_back("open " + std::to_string(pid));
  for (const TProcess& p : Processes)
    if (p.Pid == pid && p.Openable) return pid;
  return 0;
}

bool TFakeProcesses::EmptyWorkingSet(uintptr_t process) {
  Events.push_back("trim " + std::to_string(process));
  for (TProcess& p : Processes)
    if (p.Pid == process) ++p.Trims;
  if (OnEmptyWorkingSet) OnEmptyWorkingSet();
  return true;
}

void TFakeProcesses::CloseProcess(uintptr_t process) { Events.push_back("close " + std::to_string(process)); }

uintptr_t TFakeProcesses::CommitBlock(uint32_t) {
  if (OnCommit) OnCommit();
  if (Committed >= BlocksAvailable) return 0;
  ++Committed;
  HeldBlocks.insert(FNextBlock);
  return FNextBlock++;
}

void TFakeProcesses::ReleaseBlock(uintptr_t block) {
  if (HeldBlocks.erase(block)) ++Released;
  else ++BadReleases;
}

TFakeHost::TFakeHost() : FPrevious(Host()) { SetHost(THost{&Registry, &System, &Shell, &Processes, &Clipboard}); }

TFakeHost::~TFakeHost() { SetHost(FPrevious); }

platform::TCpuIdRegs TFakeSystem::CpuId(uint32_t leaf) {
  CpuIdCalls.push_back(leaf);
  const auto found = Leaves.find(leaf);
  return found == Leaves.end() ? platform::TCpuIdRegs{} : found->second;
}

bool TFakeSystem::QuerySystemInformation(uint32_t infoClass, std::span<uint8_t> buffer) {
  const auto found = Records.find(infoClass);
  if (found == Records.end() || buffer.size() < found->second.size()) return false;
  std::copy(found->second.begin(), found->second.end(), buffer.begin());
  return true;
}

std::vector<std::string> TFakeSystem::HostAddresses(const std::string& hostName) {
  const auto found = Addresses.find(hostName);
  return found == Addresses.end() ? std::vector<std::string>{} : found->second;
}
