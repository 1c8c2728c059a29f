// Test blocks: plain numbers and a calendar time turned into the writer's description.
#include "PerfBlockBuilder.h"

#include <string>

#include "platform/Registry.h"

namespace {

bool Leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysIn(int year, int month) {
  static const int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return Days[month - 1] + (month == 2 && Leap(year) ? 1 : 0);
}

// Days since 1601-01-01, counted the slow way.
int64_t DaysSince1601(const TPerfTime& t) {
  int64_t days = 0;
  for (int y = 1601; y < t.Year; ++y) days += Leap(y) ? 366 : 365;
  for (int m = 1; m < t.Month; ++m) days += DaysIn(t.Year, m);
  return days + t.Day - 1;
}

}  // namespace

uint32_t TPerfBlock::U32(size_t offset) const {
  uint32_t value = 0;
  for (unsigned k = 4; k-- > 0;) value = value << 8 | Bytes.at(offset + k);
  return value;
}

void TPerfBlock::PutU32(size_t offset, uint32_t value) {
  for (unsigned k = 0; k < 4; ++k) Bytes.at(offset + k) = static_cast<uint8_t>(value >> (8 * k));
}

void TPerfBlock::PutU16(size_t offset, uint16_t value) {
  for (unsigned k = 0; k < 2; ++k) Bytes.at(offset + k) = static_cast<uint8_t>(value >> (8 * k));
}

int64_t FileTimeOfPerfTime(const TPerfTime& t) {
  const int64_t seconds = ((DaysSince1601(t) * 24 + t.Hour) * 60 + t.Minute) * 60 + t.Second;
  return (seconds * 1000 + t.Milliseconds) * 10000;
}

TPerfBlock BuildPerfBlock(const TPerfTime& time, const std::vector<TTestPerfObject>& objects) {
  TPerfBlockSpec spec;
  const uint16_t dayOfWeek = static_cast<uint16_t>((DaysSince1601(time) + 1) % 7);  // 1601-01-01 was a Monday
  const uint16_t words[8] = {time.Year, time.Month, dayOfWeek, time.Day, time.Hour, time.Minute, time.Second, time.Milliseconds};
  std::copy(std::begin(words), std::end(words), spec.SystemTime);
  spec.PerfTime = spec.PerfTime100nSec = FileTimeOfPerfTime(time);
  spec.PerfFreq = 10000000;
  for (const TTestPerfObject& object : objects) {
    TPerfObjectSpec& layout = spec.Objects.emplace_back();
    layout.TitleIndex = object.TitleIndex;
    for (uint32_t title : object.Counters) layout.Counters.push_back({title, 0x20510500});  // a 100 ns timer
    for (size_t i = 0; i < object.Instances.size(); ++i) {
      const std::string number = std::to_string(i);
      const std::u16string name = i < object.Names.size() ? object.Names[i] : std::u16string(number.begin(), number.end());
      layout.Instances.push_back({name, object.Instances[i]});
    }
  }
  TPerfBlock block;
  block.Bytes.resize(static_cast<size_t>(PerfBlockSize(spec)));
  WritePerfBlock(spec, block.Bytes.data(), static_cast<uint32_t>(block.Bytes.size()), &block);
  return block;
}

TPerfBlock ProcessorBlock(const TPerfTime& time, const std::vector<int64_t>& idle) {
  TTestPerfObject processor;
  for (size_t k = 0; k < idle.size(); ++k) processor.Instances.push_back({0x0123456789ABCDEF - idle[k], idle[k]});
  return BuildPerfBlock(time, {processor});
}
