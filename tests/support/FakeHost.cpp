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

std::unique_ptr<IRegistryKey> TFakeRegistry::OpenKey(TRootKey root, const std::string& path, TRegAccess) {
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

uint64_t TFakeSystem::ReadTimeStampCounter() { return Tsc; }

void TFakeSystem::SetMemoryMB(uint64_t totalPhys, uint64_t availPhys) {
  Memory.TotalPhys = totalPhys << 20;
  Memory.AvailPhys = availPhys << 20;
}

TFakeHost::TFakeHost() : FPrevious(Host()) { SetHost(THost{&Registry, &System, &Shell}); }

TFakeHost::~TFakeHost() { SetHost(FPrevious); }
