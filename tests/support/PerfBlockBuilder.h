// Builds performance-data blocks in the published little-endian layout (data block, objects, counter
// definitions, instances with UTF-16 names and counter blocks), with the offsets of every record so
// that tests can tamper with lengths and fields afterwards.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

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

struct TPerfObjectSpec {
  uint32_t TitleIndex = 238;
  std::vector<uint32_t> Counters{142, 6};        // title indices in listed order, all 64-bit values
  std::vector<std::vector<int64_t>> Instances;   // per instance, one value per counter
};

struct TPerfBlock {
  std::vector<uint8_t> Bytes;
  std::vector<size_t> Objects;                        // offset of each object record
  std::vector<std::vector<size_t>> Definitions;       // per object: offset of each counter definition
  std::vector<std::vector<size_t>> InstanceRecords;   // per object: offset of each instance record
  std::vector<std::vector<size_t>> CounterBlocks;     // per object: offset of each counter block

  uint32_t U32(size_t offset) const;
  void PutU32(size_t offset, uint32_t value);
  void PutU16(size_t offset, uint16_t value);
};

// Record offsets of the published layout used by the tests.
constexpr size_t BlockHeaderLength = 88;
constexpr size_t BlockHeaderLengthField = 24;
constexpr size_t BlockNumObjectTypes = 28;
constexpr size_t BlockSystemTime = 36;
constexpr size_t ObjectTotalByteLength = 0;
constexpr size_t ObjectDefinitionLength = 4;
constexpr size_t ObjectHeaderLength = 8;
constexpr size_t ObjectTitleIndex = 12;
constexpr size_t ObjectNumCounters = 32;
constexpr size_t ObjectNumInstances = 40;
constexpr size_t CounterByteLength = 0;
constexpr size_t CounterTitleIndex = 4;
constexpr size_t CounterOffsetField = 36;
constexpr size_t InstanceByteLength = 0;
constexpr size_t CounterBlockByteLength = 0;

TPerfBlock BuildPerfBlock(const TPerfTime& time, const std::vector<TPerfObjectSpec>& objects);

// One processor object 238 with counters 142 then 6; instance k has idle value idle[k] (counter 6)
// and an unrelated value in counter 142.
TPerfBlock ProcessorBlock(const TPerfTime& time, const std::vector<int64_t>& idle);

// The FILETIME (100 ns units since 1601-01-01 UTC) of a time, worked out independently by counting
// days year by year, for expectations.
int64_t FileTimeOfPerfTime(const TPerfTime& time);
