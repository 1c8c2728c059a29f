// Test blocks through the portable writer: objects given as plain numbers, a calendar time for the
// stamp, and the offsets of every record so that tests can alter lengths and fields afterwards.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/PerfBlock.h"

// The block's SYSTEMTIME (UTC); the day of the week is computed.
struct TPerfTime {
  uint16_t Year = 2024;
  uint16_t Month = 1;
  uint16_t Day = 1;
  uint16_t Hour = 0;
  uint16_t Minute = 0;
  uint16_t Second = 0;
  uint16_t Milliseconds = 0;
};

// An object whose counters are all 64-bit 100 ns timers; its instances are named "0", "1", ... unless
// names are given.
struct TTestPerfObject {
  uint32_t TitleIndex = 238;
  std::vector<uint32_t> Counters{142, 6};        // title indices in listed order
  std::vector<std::vector<int64_t>> Instances;   // per instance, one value per counter
  std::vector<std::u16string> Names;
};

struct TPerfBlock : TPerfBlockOffsets {
  std::vector<uint8_t> Bytes;
  uint32_t U32(size_t offset) const;
  void PutU32(size_t offset, uint32_t value);
  void PutU16(size_t offset, uint16_t value);
};

TPerfBlock BuildPerfBlock(const TPerfTime& time, const std::vector<TTestPerfObject>& objects);

// One processor object 238 with counters 142 then 6; instance k has idle value idle[k] (counter 6)
// and an unrelated value in counter 142.
TPerfBlock ProcessorBlock(const TPerfTime& time, const std::vector<int64_t>& idle);

// The FILETIME (100 ns units since 1601-01-01 UTC) of a time, worked out independently by counting
// days year by year, for expectations.
int64_t FileTimeOfPerfTime(const TPerfTime& time);
