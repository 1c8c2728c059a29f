// The processor usage counter's module state and its two sources. The performance block is read through
// the bounds-checked reader: an object or counter walk that would leave the buffer finds nothing, an
// instance walk stops there; nothing is read past the end.
#include "measure/CpuUsage.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "platform/PerfBlock.h"
#include "platform/Host.h"
#include "base/SysUtils.h"

namespace {

constexpr int32_t InitialBufferSize = 8192;
constexpr int32_t BufferGrowth = 4096;
constexpr uint32_t ProcessorObject = 238;
constexpr uint32_t IdleCounter = 6;
const char* const ProcessorObjectName = "238";
const char* const CpuUsageValue = "KERNEL\\CPUUsage";

struct TModuleState {
  bool IsNT = false;
  std::vector<uint8_t> Buffer;
  int32_t BufferSize = InitialBufferSize;
  int32_t InstanceCount = -1;
  // Only instances the walks have reached are stored; entries past the end are zero by definition,
  // so an absurd instance count in the data costs no memory.
  std::vector<int64_t> CurrentCounts;
  std::vector<int64_t> PreviousCounts;
  int64_t CurrentTime = 0;
  int64_t PreviousTime = 0;
  bool Started = false;
  std::unique_ptr<platform::IRegistryKey> DataKey;
  uint32_t LastPercentage = 0;
};

TModuleState State;

// Walks the first instance-count instances. Instances the data does not reach (it lists fewer, a
// record would leave the buffer, or the records stop advancing) keep their last count: previous
// := current and current stays, so their idle difference over this interval is 0 and intervals of
// different samples are never mixed. The walk stays inside the object's listed instances.
void WalkInstances(const TPerfBlockReader& block, const TPerfObject& object, const TPerfCounter& idle) {
  const int64_t listed = std::min<int64_t>(State.InstanceCount, object.NumInstances);
  TPerfInstanceWalk walk(block, object);
  int64_t i = 0;
  for (int64_t value; i < listed && walk.Next() && walk.Value(idle, value); ++i) {
    if (static_cast<uint64_t>(i) == State.CurrentCounts.size()) {
      State.CurrentCounts.push_back(0);
      State.PreviousCounts.push_back(0);
    }
    State.PreviousCounts[i] = State.CurrentCounts[i];
    State.CurrentCounts[i] = value;
  }
  // Stored entries past the walk keep their counts; unstored ones are zero and stay so.
  for (auto k = static_cast<size_t>(i); k < State.CurrentCounts.size(); ++k) State.PreviousCounts[k] = State.CurrentCounts[k];
}

bool IsLeapYear(uint32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// SYSTEMTIME words (year, month, day of week, day, hour, minute, second, milliseconds) to 100 ns
// units since 1601-01-01, refusing what the system's conversion refuses.
bool FileTimeOf(const uint16_t (&st)[8], int64_t& fileTime) {
  static const uint16_t DaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  static const uint8_t DaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const uint32_t year = st[0], month = st[1], day = st[3];
  if (year < 1601 || year > 30827 || month < 1 || month > 12) return false;
  const bool leap = IsLeapYear(year);
  const uint32_t monthDays = DaysInMonth[month - 1] + (month == 2 && leap ? 1 : 0);
  if (day < 1 || day > monthDays || st[4] > 23 || st[5] > 59 || st[6] > 59 || st[7] > 999) return false;
  // 1601 starts a 400-year cycle, so the leap days before a year follow from the years elapsed.
  const int64_t years = year - 1601;
  int64_t days = years * 365 + years / 4 - years / 100 + years / 400;
  days += DaysBeforeMonth[month - 1] + (month > 2 && leap ? 1 : 0) + (day - 1);
  const int64_t milliseconds = ((days * 24 + st[4]) * 60 + st[5]) * 60 * 1000 + st[6] * 1000 + st[7];
  fileTime = milliseconds * 10000;
  return true;
}

// The time stamp of the block, or false when it is unreadable or no valid date.
bool ReadSampleTime(const TPerfBlockReader& block, int64_t& fileTime) {
  uint16_t st[8];
  return block.SystemTime(st) && FileTimeOf(st, fileTime);
}

void QueryPerformanceBlock() {
  platform::IRegistry& registry = *platform::Host().Registry;
  // StopCpuStatistics frees the buffer; a later sample works on a fresh one of the size in force.
  if (State.Buffer.size() != static_cast<size_t>(State.BufferSize)) State.Buffer.resize(State.BufferSize);
  long answer = registry.QueryPerformanceData(ProcessorObjectName, State.Buffer.data(), State.BufferSize);
  // The size is a 32-bit signed number: growth stops where it would overflow, and the buffer is
  // then parsed with what it holds, like any other answer.
  while (answer == platform::ErrorMoreData && State.BufferSize <= std::numeric_limits<int32_t>::max() - BufferGrowth) {
    State.BufferSize += BufferGrowth;
    State.Buffer.resize(State.BufferSize);
    answer = registry.QueryPerformanceData(ProcessorObjectName, State.Buffer.data(), State.BufferSize);
  }
}

void TakeNTSample() {
  QueryPerformanceBlock();
  const TPerfBlockReader block(State.Buffer);
  TPerfObject object;
  if (!block.FindObject(ProcessorObject, object)) throw Exception("Unable to locate the \"Processor\" performance object");
  if (State.InstanceCount == -1) {
    State.InstanceCount = object.NumInstances;
    State.CurrentCounts.clear();
    State.PreviousCounts.clear();
    // Room for what this buffer can list at most (each instance advances at least one byte).
    const auto expected = static_cast<size_t>(std::max<int64_t>(0, std::min<int64_t>(State.InstanceCount, State.BufferSize)));
    State.CurrentCounts.reserve(expected);
    State.PreviousCounts.reserve(expected);
  }
  TPerfCounter idle;
  if (!block.FindCounter(object, IdleCounter, idle))
    throw Exception("Unable to locate the \"% of CPU usage\" performance counter");
  WalkInstances(block, object, idle);
  State.PreviousTime = State.CurrentTime;
  // A stamp the system could not convert counts as no time passed: the interval reads 0.0.
  int64_t fileTime;
  if (ReadSampleTime(block, fileTime)) State.CurrentTime = fileTime;
}

// A value read into the 4-byte slot as a 4-byte registry read does: a shorter value overwrites
// only its own bytes; a longer one or a failed read leaves the slot as it was.
void ReadPercentage(platform::IRegistryKey& key, uint32_t& slot) {
  platform::TRegValue value;
  if (!key.ReadValue(CpuUsageValue, value) || value.Data.size() > 4) return;
  for (size_t k = 0; k < value.Data.size(); ++k)
    slot = (slot & ~(0xFFu << (8 * k))) | static_cast<uint32_t>(value.Data[k]) << (8 * k);
}

void Take9xSample() {
  platform::IRegistry& registry = *platform::Host().Registry;
  if (!State.Started) {
    {
      auto start = registry.OpenKey(platform::TRootKey::DynData, "PerfStats\\StartStat", platform::TRegAccess::AllAccess);
      if (!start) throw Exception("Unable to start performance monitoring");
      ReadPercentage(*start, State.LastPercentage);  // reading StartStat is what starts the statistic
    }
    State.DataKey = registry.OpenKey(platform::TRootKey::DynData, "PerfStats\\StatData", platform::TRegAccess::Read);
    if (!State.DataKey) throw Exception("Unable to read performance data");
    State.Started = true;
  }
  ReadPercentage(*State.DataKey, State.LastPercentage);
}

// Signed 64-bit differences wrap, as the counters' own arithmetic does, instead of overflowing.
int64_t Difference(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b)); }

int64_t CountAt(const std::vector<int64_t>& counts, int32_t index) {
  return static_cast<size_t>(index) < counts.size() ? counts[index] : 0;
}

}  // namespace

void InitializeCpuUsage() {
  State.InstanceCount = -1;
  State.BufferSize = InitialBufferSize;
  State.Buffer.assign(InitialBufferSize, 0);
  State.CurrentCounts.clear();
  State.PreviousCounts.clear();
  State.CurrentTime = 0;
  State.PreviousTime = 0;
  State.Started = false;
  State.DataKey.reset();
  State.LastPercentage = 0;
  State.IsNT = false;
  platform::TVersionInfo version;
  if (!platform::Host().System->GetVersion(version)) throw Exception("Can't get the Windows version");
  State.IsNT = version.PlatformId == platform::PlatformWin32NT;
}

void TakeCpuSample() {
  if (State.IsNT)
    TakeNTSample();
  else
    Take9xSample();
}

double CpuUsageOf(int32_t Index) {
  if (!State.IsNT) {
    if (Index != 0) throw Exception("CPU index out of bounds");
    if (!State.Started) TakeCpuSample();
    return ToDouble(TExtended(int64_t{State.LastPercentage}) / TExtended(int64_t{100}));
  }
  if (State.InstanceCount == -1) TakeCpuSample();
  if (Index < 0 || Index >= State.InstanceCount) throw Exception("CPU index out of bounds");
  if (State.CurrentTime == State.PreviousTime) return 0.0;
  const int64_t idle = Difference(CountAt(State.CurrentCounts, Index), CountAt(State.PreviousCounts, Index));
  const int64_t elapsed = Difference(State.CurrentTime, State.PreviousTime);
  return BusyFraction<TExtended>(idle, elapsed);
}

int32_t CpuInstanceNamed(std::u16string_view name) {
  if (!State.IsNT || State.InstanceCount <= 0) return -1;
  const TPerfBlockReader block(State.Buffer);
  TPerfObject object;
  if (!block.FindObject(ProcessorObject, object)) return -1;
  TPerfInstanceWalk walk(block, object);
  const int32_t listed = std::min(State.InstanceCount, object.NumInstances);
  for (int32_t i = 0; i < listed && walk.Next(); ++i)
    if (walk.Name() == name) return i;
  return -1;
}

void StopCpuStatistics() {
  if (!State.IsNT && State.Started) {
    State.Started = false;
    State.DataKey.reset();
    auto stop = platform::Host().Registry->OpenKey(platform::TRootKey::DynData, "PerfStats\\StopStat",
                                                   platform::TRegAccess::AllAccess);
    if (stop) {
      uint32_t ignored = 0;
      ReadPercentage(*stop, ignored);  // reading StopStat is what stops the statistic
    }
  }
  State.Buffer.clear();
  State.Buffer.shrink_to_fit();
}

int32_t CpuSampleBufferSize() { return State.BufferSize; }
