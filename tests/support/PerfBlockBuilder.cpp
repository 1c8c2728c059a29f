// Writes performance-data blocks field by field at the published offsets, 8-byte aligned records,
// so that parser tests and fuzz seeds start from well-formed data.
#include "PerfBlockBuilder.h"

#include <string>

namespace {

void Put(std::vector<uint8_t>& bytes, size_t offset, uint64_t value, unsigned width) {
  for (unsigned k = 0; k < width; ++k) bytes[offset + k] = static_cast<uint8_t>(value >> (8 * k));
}

size_t Align8(size_t n) { return (n + 7) & ~size_t{7}; }

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

void TPerfBlock::PutU32(size_t offset, uint32_t value) { Put(Bytes, offset, value, 4); }
void TPerfBlock::PutU16(size_t offset, uint16_t value) { Put(Bytes, offset, value, 2); }

int64_t FileTimeOfPerfTime(const TPerfTime& t) {
  const int64_t seconds = ((DaysSince1601(t) * 24 + t.Hour) * 60 + t.Minute) * 60 + t.Second;
  return (seconds * 1000 + t.Milliseconds) * 10000;
}

TPerfBlock BuildPerfBlock(const TPerfTime& time, const std::vector<TPerfObjectSpec>& objects) {
  TPerfBlock block;
  std::vector<uint8_t>& b = block.Bytes;
  b.assign(BlockHeaderLength, 0);
  const char16_t signature[4] = {u'P', u'E', u'R', u'F'};
  for (unsigned k = 0; k < 4; ++k) Put(b, 2 * k, signature[k], 2);
  Put(b, 8, 1, 4);   // LittleEndian
  Put(b, 12, 1, 4);  // Version
  Put(b, 16, 1, 4);  // Revision
  Put(b, BlockHeaderLengthField, BlockHeaderLength, 4);
  Put(b, BlockNumObjectTypes, objects.size(), 4);
  Put(b, 32, objects.empty() ? 0 : objects.front().TitleIndex, 4);
  const uint16_t dayOfWeek = static_cast<uint16_t>((DaysSince1601(time) + 1) % 7);  // 1601-01-01 was a Monday
  const uint16_t words[8] = {time.Year, time.Month, dayOfWeek, time.Day, time.Hour, time.Minute, time.Second, time.Milliseconds};
  for (unsigned k = 0; k < 8; ++k) Put(b, BlockSystemTime + 2 * k, words[k], 2);
  const int64_t fileTime = FileTimeOfPerfTime(time);
  Put(b, 56, static_cast<uint64_t>(fileTime), 8);  // PerfTime
  Put(b, 64, 10000000, 8);                          // PerfFreq
  Put(b, 72, static_cast<uint64_t>(fileTime), 8);  // PerfTime100nSec

  for (const TPerfObjectSpec& layout : objects) {
    const size_t object = b.size();
    block.Objects.push_back(object);
    block.Definitions.emplace_back();
    block.InstanceRecords.emplace_back();
    block.CounterBlocks.emplace_back();
    const size_t counters = layout.Counters.size();
    b.resize(object + 64 + 40 * counters, 0);
    Put(b, object + ObjectDefinitionLength, 64 + 40 * counters, 4);
    Put(b, object + ObjectHeaderLength, 64, 4);
    Put(b, object + ObjectTitleIndex, layout.TitleIndex, 4);
    Put(b, object + 20, layout.TitleIndex + 1, 4);  // help title index
    Put(b, object + 28, 100, 4);                   // detail level: novice
    Put(b, object + ObjectNumCounters, counters, 4);
    Put(b, object + ObjectNumInstances, layout.Instances.size(), 4);
    Put(b, object + 56, 10000000, 8);
    for (size_t c = 0; c < counters; ++c) {
      const size_t definition = object + 64 + 40 * c;
      block.Definitions.back().push_back(definition);
      Put(b, definition + CounterByteLength, 40, 4);
      Put(b, definition + CounterTitleIndex, layout.Counters[c], 4);
      Put(b, definition + 12, layout.Counters[c] + 1, 4);
      Put(b, definition + 24, 100, 4);
      Put(b, definition + 28, 0x20510500, 4);  // a 100 ns timer, 64-bit
      Put(b, definition + 32, 8, 4);
      Put(b, definition + CounterOffsetField, 8 + 8 * c, 4);
    }
    for (size_t i = 0; i < layout.Instances.size(); ++i) {
      const std::string name = std::to_string(i);
      const size_t nameBytes = 2 * (name.size() + 1);
      const size_t instance = b.size();
      const size_t instanceLength = Align8(24 + nameBytes);
      const size_t counterBlock = instance + instanceLength;
      const size_t blockLength = 8 + 8 * counters;
      b.resize(counterBlock + blockLength, 0);
      block.InstanceRecords.back().push_back(instance);
      block.CounterBlocks.back().push_back(counterBlock);
      Put(b, instance + InstanceByteLength, instanceLength, 4);
      Put(b, instance + 12, 0xFFFFFFFF, 4);  // no unique id
      Put(b, instance + 16, 24, 4);          // name offset
      Put(b, instance + 20, nameBytes, 4);
      for (size_t k = 0; k < name.size(); ++k) Put(b, instance + 24 + 2 * k, static_cast<uint8_t>(name[k]), 2);
      Put(b, counterBlock + CounterBlockByteLength, blockLength, 4);
      for (size_t c = 0; c < counters && c < layout.Instances[i].size(); ++c)
        Put(b, counterBlock + 8 + 8 * c, static_cast<uint64_t>(layout.Instances[i][c]), 8);
    }
    Put(b, object + ObjectTotalByteLength, b.size() - object, 4);
  }
  Put(b, 20, b.size(), 4);  // TotalByteLength
  return block;
}

TPerfBlock ProcessorBlock(const TPerfTime& time, const std::vector<int64_t>& idle) {
  TPerfObjectSpec processor;
  for (size_t k = 0; k < idle.size(); ++k) processor.Instances.push_back({0x0123456789ABCDEF - idle[k], idle[k]});
  return BuildPerfBlock(time, {processor});
}
