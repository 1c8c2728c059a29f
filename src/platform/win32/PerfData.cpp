// Native processor times to the processor performance block: the native records and clocks here, the
// layout in the portable writer, whose offsets the assertions below hold against winperf.h.
#include "platform/win32/PerfData.h"

#include <windows.h>
#include <winperf.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>

#include "platform/PerfBlock.h"
#include "platform/win32/DynamicLibrary.h"

namespace platform::win32 {

namespace {

constexpr DWORD ProcessorObject = 238;
constexpr LONG StatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
// Far beyond any machine a 32-bit process sees; it only bounds the growth on a misbehaving answer.
constexpr size_t MaxProcessorRecords = 4096;

// The portable layout is the published one.
using L = TPerfLayout;
static_assert(sizeof(PERF_DATA_BLOCK) == L::BlockSize && offsetof(PERF_DATA_BLOCK, TotalByteLength) == L::BlockTotalByteLength &&
              offsetof(PERF_DATA_BLOCK, HeaderLength) == L::BlockHeaderLength &&
              offsetof(PERF_DATA_BLOCK, NumObjectTypes) == L::BlockNumObjectTypes &&
              offsetof(PERF_DATA_BLOCK, DefaultObject) == L::BlockDefaultObject &&
              offsetof(PERF_DATA_BLOCK, SystemTime) == L::BlockSystemTime && offsetof(PERF_DATA_BLOCK, PerfTime) == L::BlockPerfTime &&
              offsetof(PERF_DATA_BLOCK, PerfFreq) == L::BlockPerfFreq &&
              offsetof(PERF_DATA_BLOCK, PerfTime100nSec) == L::BlockPerfTime100nSec);
static_assert(sizeof(PERF_OBJECT_TYPE) == L::ObjectSize && offsetof(PERF_OBJECT_TYPE, TotalByteLength) == L::ObjectTotalByteLength &&
              offsetof(PERF_OBJECT_TYPE, DefinitionLength) == L::ObjectDefinitionLength &&
              offsetof(PERF_OBJECT_TYPE, HeaderLength) == L::ObjectHeaderLength &&
              offsetof(PERF_OBJECT_TYPE, ObjectNameTitleIndex) == L::ObjectTitleIndex &&
              offsetof(PERF_OBJECT_TYPE, ObjectHelpTitleIndex) == L::ObjectHelpTitleIndex &&
              offsetof(PERF_OBJECT_TYPE, DetailLevel) == L::ObjectDetailLevel &&
              offsetof(PERF_OBJECT_TYPE, NumCounters) == L::ObjectNumCounters &&
              offsetof(PERF_OBJECT_TYPE, DefaultCounter) == L::ObjectDefaultCounter &&
              offsetof(PERF_OBJECT_TYPE, NumInstances) == L::ObjectNumInstances &&
              offsetof(PERF_OBJECT_TYPE, CodePage) == L::ObjectCodePage && offsetof(PERF_OBJECT_TYPE, PerfTime) == L::ObjectPerfTime &&
              offsetof(PERF_OBJECT_TYPE, PerfFreq) == L::ObjectPerfFreq);
static_assert(sizeof(PERF_COUNTER_DEFINITION) == L::CounterSize &&
              offsetof(PERF_COUNTER_DEFINITION, ByteLength) == L::CounterByteLength &&
              offsetof(PERF_COUNTER_DEFINITION, CounterNameTitleIndex) == L::CounterTitleIndex &&
              offsetof(PERF_COUNTER_DEFINITION, CounterHelpTitleIndex) == L::CounterHelpTitleIndex &&
              offsetof(PERF_COUNTER_DEFINITION, DetailLevel) == L::CounterDetailLevel &&
              offsetof(PERF_COUNTER_DEFINITION, CounterType) == L::CounterType &&
              offsetof(PERF_COUNTER_DEFINITION, CounterSize) == L::CounterValueSize &&
              offsetof(PERF_COUNTER_DEFINITION, CounterOffset) == L::CounterOffset);
static_assert(sizeof(PERF_INSTANCE_DEFINITION) == L::InstanceSize &&
              offsetof(PERF_INSTANCE_DEFINITION, ByteLength) == L::InstanceByteLength &&
              offsetof(PERF_INSTANCE_DEFINITION, UniqueID) == L::InstanceUniqueId &&
              offsetof(PERF_INSTANCE_DEFINITION, NameOffset) == L::InstanceNameOffset &&
              offsetof(PERF_INSTANCE_DEFINITION, NameLength) == L::InstanceNameLength);
static_assert(offsetof(PERF_COUNTER_BLOCK, ByteLength) == L::CounterBlockByteLength);
static_assert(sizeof(SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION) == 48, "the native record the system fills");

// Counter 6 is not first, as in the system's own processor object, so readers walk for it.
constexpr TPerfCounterSpec Counters[] = {{142, PERF_100NSEC_TIMER}, {144, PERF_100NSEC_TIMER}, {6, PERF_100NSEC_TIMER_INV}};
constexpr DWORD IdleCounterIndex = 2;

std::u16string InstanceName(size_t index, size_t processorCount) {
  if (index == processorCount) return u"_Total";
  const std::string digits = std::to_string(index);
  return std::u16string(digits.begin(), digits.end());
}

using TNtQuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

std::vector<TProcessorTimes> NativeProcessorTimes() {
  static const auto query = SystemFunction<TNtQuerySystemInformation>(L"ntdll.dll", "NtQuerySystemInformation");
  if (!query) return {};
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  size_t capacity = info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1;
  std::vector<SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION> records;
  for (;;) {
    records.assign(capacity, {});
    ULONG returned = 0;
    const LONG status = query(SystemProcessorPerformanceInformation, records.data(),
                              static_cast<ULONG>(records.size() * sizeof records[0]), &returned);
    if (status == StatusInfoLengthMismatch && capacity < MaxProcessorRecords) {
      capacity *= 2;
      continue;
    }
    if (status < 0) return {};
    records.resize(std::min<size_t>(records.size(), returned / sizeof records[0]));
    break;
  }
  std::vector<TProcessorTimes> times;
  times.reserve(records.size());
  for (const auto& r : records) times.push_back({r.IdleTime.QuadPart, r.KernelTime.QuadPart, r.UserTime.QuadPart});
  return times;
}

TPerfClock ClockNow() {
  TPerfClock clock;
  SYSTEMTIME st;
  GetSystemTime(&st);
  const WORD words[8] = {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
  std::memcpy(clock.SystemTime, words, sizeof words);
  FILETIME ft;
  if (SystemTimeToFileTime(&st, &ft)) clock.PerfTime100nSec = static_cast<int64_t>(uint64_t{ft.dwHighDateTime} << 32 | ft.dwLowDateTime);
  LARGE_INTEGER counter, frequency;
  if (QueryPerformanceCounter(&counter) && QueryPerformanceFrequency(&frequency)) {
    clock.PerfTime = counter.QuadPart;
    clock.PerfFreq = frequency.QuadPart;
  }
  return clock;
}

}  // namespace

bool HoldsProcessorObject(const uint8_t* block, uint32_t length) {
  TPerfObject object;
  return block && TPerfBlockReader({block, length}).FindObject(ProcessorObject, object);
}

long BuildProcessorPerfBlock(const std::vector<TProcessorTimes>& processors, const TPerfClock& clock, uint8_t* buffer,
                             uint32_t size) {
  TPerfBlockSpec block;
  std::memcpy(block.SystemTime, clock.SystemTime, sizeof block.SystemTime);
  block.PerfTime = clock.PerfTime;
  block.PerfFreq = clock.PerfFreq;
  block.PerfTime100nSec = clock.PerfTime100nSec;
  if (processors.empty()) return WritePerfBlock(block, buffer, size);
  TPerfObjectSpec& layout = block.Objects.emplace_back();
  layout.TitleIndex = ProcessorObject;
  layout.DefaultCounter = IdleCounterIndex;
  layout.Counters.assign(std::begin(Counters), std::end(Counters));

  // Per processor: user, privileged, idle; the total is their average.
  int64_t sums[3] = {};
  for (size_t i = 0; i < processors.size(); ++i) {
    const TProcessorTimes& p = processors[i];
    const int64_t privileged = p.KernelTime > p.IdleTime ? p.KernelTime - p.IdleTime : 0;
    TPerfInstanceSpec instance{InstanceName(i, processors.size()), {p.UserTime, privileged, p.IdleTime}};
    for (unsigned k = 0; k < 3; ++k)
      // Wrapping sums, as the counters' own arithmetic does, instead of overflowing.
      sums[k] = static_cast<int64_t>(static_cast<uint64_t>(sums[k]) + static_cast<uint64_t>(instance.Values[k]));
    layout.Instances.push_back(std::move(instance));
  }
  TPerfInstanceSpec total{InstanceName(processors.size(), processors.size()), {}};
  for (int64_t sum : sums) total.Values.push_back(sum / static_cast<int64_t>(processors.size()));
  layout.Instances.push_back(std::move(total));
  return WritePerfBlock(block, buffer, size);
}

long QueryNativeProcessorPerfData(uint8_t* buffer, uint32_t size) {
  const std::vector<TProcessorTimes> times = NativeProcessorTimes();
  return BuildProcessorPerfBlock(times, ClockNow(), buffer, size);
}

}  // namespace platform::win32
