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

#include "measure/PerfBlockWriter.h"

namespace platform::win32 {

namespace {

constexpr DWORD ProcessorObject = 238;
constexpr LONG StatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
// Far beyond any machine a 32-bit process sees; it only bounds the growth on a misbehaving answer.
constexpr size_t MaxProcessorRecords = 4096;

static_assert(sizeof(PERF_DATA_BLOCK) == 88 && offsetof(PERF_DATA_BLOCK, SystemTime) == 36, "published layout");
static_assert(sizeof(PERF_OBJECT_TYPE) == 64 && offsetof(PERF_OBJECT_TYPE, NumInstances) == 40, "published layout");
static_assert(sizeof(PERF_COUNTER_DEFINITION) == 40 && offsetof(PERF_COUNTER_DEFINITION, CounterOffset) == 36,
              "published layout");
static_assert(offsetof(PERF_OBJECT_TYPE, PerfTime) == 48 && offsetof(PERF_OBJECT_TYPE, DefaultCounter) == 36,
              "published layout");
static_assert(sizeof(PERF_INSTANCE_DEFINITION) == 24 && offsetof(PERF_INSTANCE_DEFINITION, NameLength) == 20,
              "published layout");
static_assert(sizeof(SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION) == 48, "the native record the system fills");

// Counter 6 is not first, as in the system's own processor object, so readers walk for it.
constexpr TPerfCounterSpec Counters[] = {{142, PERF_100NSEC_TIMER}, {144, PERF_100NSEC_TIMER}, {6, PERF_100NSEC_TIMER_INV}};
constexpr DWORD IdleCounterIndex = 2;

bool ReadU32(const uint8_t* block, uint32_t length, uint64_t at, uint32_t& value) {
  if (at > length || length - at < 4) return false;
  std::memcpy(&value, block + at, 4);
  return true;
}

std::u16string InstanceName(size_t index, size_t processorCount) {
  if (index == processorCount) return u"_Total";
  const std::string digits = std::to_string(index);
  return std::u16string(digits.begin(), digits.end());
}

using TNtQuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

TNtQuerySystemInformation NativeQuery() {
  static const TNtQuerySystemInformation query = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) ntdll = LoadLibraryW(L"ntdll.dll");
    if (!ntdll) return TNtQuerySystemInformation{};
    // Through the generic function pointer type, which the compiler accepts without a cast warning.
    return reinterpret_cast<TNtQuerySystemInformation>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "NtQuerySystemInformation")));
  }();
  return query;
}

std::vector<TProcessorTimes> NativeProcessorTimes() {
  TNtQuerySystemInformation query = NativeQuery();
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
  uint32_t headerLength, numObjects;
  if (!ReadU32(block, length, offsetof(PERF_DATA_BLOCK, HeaderLength), headerLength) ||
      !ReadU32(block, length, offsetof(PERF_DATA_BLOCK, NumObjectTypes), numObjects))
    return false;
  uint64_t at = headerLength;
  for (uint32_t k = 0; k < numObjects; ++k) {
    uint32_t totalLength, title;
    if (!ReadU32(block, length, at + offsetof(PERF_OBJECT_TYPE, TotalByteLength), totalLength) ||
        !ReadU32(block, length, at + offsetof(PERF_OBJECT_TYPE, ObjectNameTitleIndex), title))
      return false;
    if (title == ProcessorObject) return at <= length && length - at >= sizeof(PERF_OBJECT_TYPE);
    if (totalLength == 0) return false;
    at += totalLength;
  }
  return false;
}

long BuildProcessorPerfBlock(const std::vector<TProcessorTimes>& processors, const TPerfClock& clock, uint8_t* buffer,
                             uint32_t size) {
  TPerfBlockSpec layout;
  std::memcpy(layout.SystemTime, clock.SystemTime, sizeof layout.SystemTime);
  layout.PerfTime = clock.PerfTime;
  layout.PerfFreq = clock.PerfFreq;
  layout.PerfTime100nSec = clock.PerfTime100nSec;
  layout.ObjectTitleIndex = ProcessorObject;
  layout.ListsObject = !processors.empty();
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
  if (!processors.empty()) {
    TPerfInstanceSpec total{InstanceName(processors.size(), processors.size()), {}};
    for (int64_t sum : sums) total.Values.push_back(sum / static_cast<int64_t>(processors.size()));
    layout.Instances.push_back(std::move(total));
  }
  return WritePerfBlock(layout, buffer, size);
}

long QueryNativeProcessorPerfData(uint8_t* buffer, uint32_t size) {
  const std::vector<TProcessorTimes> times = NativeProcessorTimes();
  return BuildProcessorPerfBlock(times, ClockNow(), buffer, size);
}

}  // namespace platform::win32
