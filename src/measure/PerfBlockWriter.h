// Lays out one performance-data block in the published little-endian binary layout: the data block,
// at most one object, its counter definitions, instances with UTF-16 names and 64-bit counter blocks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct TPerfCounterSpec {
  uint32_t TitleIndex;  // the help title is the next index
  uint32_t Type;        // a 64-bit counter type, e.g. PERF_100NSEC_TIMER (0x20510500)
};

struct TPerfInstanceSpec {
  std::u16string Name;
  std::vector<int64_t> Values;  // one per counter in the counters' order; missing ones are 0, extra ones ignored
};

struct TPerfBlockSpec {
  uint16_t SystemTime[8] = {};  // UTC: year, month, day of week, day, hour, minute, second, milliseconds
  int64_t PerfTime = 0;         // the block's high-resolution clock and its frequency
  int64_t PerfFreq = 0;
  int64_t PerfTime100nSec = 0;  // the same instant as a FILETIME; also the object's clock, at 10^7 a second
  uint32_t ObjectTitleIndex = 0;  // also the block's default object
  bool ListsObject = true;        // false gives the block header alone, listing no object
  uint32_t DefaultCounter = 0;    // index into Counters
  std::vector<TPerfCounterSpec> Counters;
  std::vector<TPerfInstanceSpec> Instances;
};

// The block's exact length in bytes, in 64 bits so that no instance count overflows it.
uint64_t PerfBlockSize(const TPerfBlockSpec& Layout);

// Writes the block and answers ErrorSuccess (0) when it fits in Size bytes, else ErrorMoreData (234)
// with the buffer untouched. Every record starts 8-byte aligned; the bytes between fields are 0.
long WritePerfBlock(const TPerfBlockSpec& Layout, uint8_t* Buffer, uint32_t Size);
