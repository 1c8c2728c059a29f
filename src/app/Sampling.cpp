// The sampling figures (see Sampling.h).
#include "app/Sampling.h"

#include <algorithm>

#include "base/SysUtils.h"
#include "measure/CpuUsage.h"
#include "platform/Host.h"

int GetCpuUsagePercent() {
  TakeCpuSample();
  // The whole processor: the total instance where the system lists one, else the first processor.
  const int32_t total = CpuInstanceNamed(u"_Total");
  return static_cast<int>(CeilPercent<TExtended>(CpuUsageOf(total >= 0 ? total : 0)));
}

int MemoryLoadPercent(const platform::TMemoryStatus& status) {
  if (status.TotalPhys == 0) throw Exception("Memory status unavailable");
  const double ratio = static_cast<double>(status.AvailPhys) / static_cast<double>(status.TotalPhys);
  return 100 - static_cast<int>(CeilPercent<TExtended>(ratio));
}

double MeasureCpuMhz() {
  platform::ISystem& system = *platform::Host().System;
  const uint32_t priorityClass = system.GetPriorityClass();
  const int threadPriority = system.GetThreadPriority();
  system.SetPriorityClass(platform::RealtimePriorityClass);
  system.SetThreadPriority(platform::ThreadPriorityTimeCritical);
  const uint64_t start = system.TimeStampCounter();
  system.Sleep(500);
  const uint32_t elapsed = static_cast<uint32_t>(system.TimeStampCounter() - start);
  system.SetThreadPriority(threadPriority);
  system.SetPriorityClass(priorityClass);
  return elapsed / 500000.0;
}

int32_t MegaBytes(uint64_t bytes) { return static_cast<int32_t>(std::min<uint64_t>(bytes >> 20, INT32_MAX)); }
