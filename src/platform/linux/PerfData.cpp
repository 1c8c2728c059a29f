// /proc/stat to the processor performance block: the lines parsed by ProcText, the layout by the
// portable writer. Arithmetic on the kernel's numbers saturates, so no input text overflows anything.
#include "platform/linux/PerfData.h"

#include <unistd.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "platform/PerfBlock.h"
#include "platform/linux/Files.h"
#include "platform/linux/ProcText.h"

namespace platform::linux {

namespace {

constexpr uint32_t FieldCount = 10;  // user nice system idle iowait irq softirq steal guest guest_nice
constexpr uint32_t ProcessorObject = 238;
constexpr uint32_t Timer100ns = 0x20510500;         // PERF_100NSEC_TIMER, 64-bit
constexpr uint32_t Timer100nsInverse = 0x21510500;  // the same, displayed as 100 % minus the rate
constexpr uint32_t FirstRawCounter = 2000;
constexpr int64_t UnitsPerSecond = 10000000;

// The SYSTEMTIME words (year, month, day of week, day, hour, minute, second, milliseconds) and the
// FILETIME of a UTC instant, held inside the range both can express.
void UtcTime(int64_t utcMillis, uint16_t (&words)[8], int64_t& fileTime) {
  constexpr int64_t MsPerDay = 86400000;
  constexpr int64_t Earliest = -11644473600000;       // 1601-01-01 00:00:00.000
  constexpr int64_t Latest = 922314988799999 + Earliest;      // 30827-12-31 23:59:59.999
  if (utcMillis < Earliest) utcMillis = Earliest;
  if (utcMillis > Latest) utcMillis = Latest;
  fileTime = (utcMillis - Earliest) * 10000;
  int64_t days = utcMillis / MsPerDay, ms = utcMillis % MsPerDay;
  if (ms < 0) {
    ms += MsPerDay;
    --days;
  }
  const int64_t weekday = ((days % 7) + 7 + 4) % 7;  // 1970-01-01 was a Thursday
  // Civil date from days since 1970, counted in 400-year eras starting on 0000-03-01 so that the
  // leap day ends each era's year.
  const int64_t shifted = days + 719468;
  const int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
  const int64_t dayOfEra = shifted - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthIndex = (5 * dayOfYear + 2) / 153;  // 0 = March
  const int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  const int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  const int64_t values[8] = {year, month, weekday, day, ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
  for (unsigned k = 0; k < 8; ++k) words[k] = static_cast<uint16_t>(values[k]);
}

}  // namespace

long BuildProcessorPerfBlock(std::string_view procStat, long clockTicksPerSecond, int64_t utcMillis, uint8_t* buffer,
                             uint32_t size) {
  // Rates beyond 10^9 ticks a second exist nowhere; refusing them keeps the conversion exact.
  std::vector<TCpuTicks> lines;
  if (clockTicksPerSecond > 0 && clockTicksPerSecond <= 1000000000) lines = ParseCpuLines(procStat);

  TPerfBlockSpec block;
  int64_t fileTime;
  UtcTime(utcMillis, block.SystemTime, fileTime);
  block.PerfTime = fileTime;  // the block's clock is the 100 ns one
  block.PerfFreq = UnitsPerSecond;
  block.PerfTime100nSec = fileTime;
  // No usable text is no data: a block without the object, which the counter reports as a failed
  // sample (never as processors that did not idle).
  if (lines.empty()) return WritePerfBlock(block, buffer, size);
  TPerfObjectSpec& layout = block.Objects.emplace_back();
  layout.TitleIndex = ProcessorObject;
  layout.DefaultCounter = 2;  // counter 6, as the system's own processor object has it
  layout.Counters = {{142, Timer100ns}, {144, Timer100ns}, {6, Timer100nsInverse}};
  for (uint32_t k = 0; k < FieldCount; ++k) layout.Counters.push_back({FirstRawCounter + 2 * k, Timer100ns});

  const auto ticksPerSecond = static_cast<uint64_t>(clockTicksPerSecond);
  for (size_t i = 0; i < lines.size(); ++i) {
    const TCpuTicks& line = lines[i];
    // The total instance is last; its times are per processor, so that a fraction over elapsed time
    // reads as the average, as the system's own total instance does.
    const int64_t share = i + 1 == lines.size() ? static_cast<int64_t>(lines.size() - 1) : 1;
    TPerfInstanceSpec instance;
    instance.Name.assign(line.Name.begin(), line.Name.end());  // ASCII: digits or "_Total"
    const uint64_t* t = line.Ticks;
    const uint64_t derived[3] = {SaturatingAdd(t[0], t[1]), SaturatingAdd(SaturatingAdd(t[2], t[5]), t[6]), SaturatingAdd(t[3], t[4])};
    for (uint64_t ticks : derived) instance.Values.push_back(TicksTo100ns(ticks, ticksPerSecond) / share);
    for (uint32_t k = 0; k < FieldCount; ++k) instance.Values.push_back(TicksTo100ns(t[k], ticksPerSecond) / share);
    layout.Instances.push_back(std::move(instance));
  }
  return WritePerfBlock(block, buffer, size);
}

long QueryProcessorPerfData(uint8_t* buffer, uint32_t size) {
  // One buffer for every tick's reading; an unreadable file is no data.
  static std::string text;
  std::string why;
  if (ReadFile("/proc/stat", 4 << 20, text, why) != TReadResult::Ok) text.clear();
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch());
  return BuildProcessorPerfBlock(text, sysconf(_SC_CLK_TCK), now.count(), buffer, size);
}

}  // namespace platform::linux
