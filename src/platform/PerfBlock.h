// The performance-data block in its published little-endian layout (winperf.h): the one writer, which
// both hosts use to build the processor block, and the one bounds-checked reader, which the usage
// counter, the hosts and the tests use. No read ever leaves the bytes it was given; offsets are 64-bit,
// so an offset plus a 32-bit length never wraps.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Record sizes and field offsets of the published layout; the Windows build checks them against winperf.h.
struct TPerfLayout {
  static constexpr uint32_t BlockSize = 88;  // PERF_DATA_BLOCK
  static constexpr uint32_t BlockTotalByteLength = 20, BlockHeaderLength = 24, BlockNumObjectTypes = 28,
                            BlockDefaultObject = 32, BlockSystemTime = 36, BlockPerfTime = 56, BlockPerfFreq = 64,
                            BlockPerfTime100nSec = 72;
  static constexpr uint32_t ObjectSize = 64;  // PERF_OBJECT_TYPE
  static constexpr uint32_t ObjectTotalByteLength = 0, ObjectDefinitionLength = 4, ObjectHeaderLength = 8,
                            ObjectTitleIndex = 12, ObjectHelpTitleIndex = 20, ObjectDetailLevel = 28,
                            ObjectNumCounters = 32, ObjectDefaultCounter = 36, ObjectNumInstances = 40,
                            ObjectCodePage = 44, ObjectPerfTime = 48, ObjectPerfFreq = 56;
  static constexpr uint32_t CounterSize = 40;  // PERF_COUNTER_DEFINITION
  static constexpr uint32_t CounterByteLength = 0, CounterTitleIndex = 4, CounterHelpTitleIndex = 12,
                            CounterDetailLevel = 24, CounterType = 28, CounterValueSize = 32, CounterOffset = 36;
  static constexpr uint32_t InstanceSize = 24;  // PERF_INSTANCE_DEFINITION
  static constexpr uint32_t InstanceByteLength = 0, InstanceUniqueId = 12, InstanceNameOffset = 16,
                            InstanceNameLength = 20;
  static constexpr uint32_t CounterBlockByteLength = 0;  // PERF_COUNTER_BLOCK
};

// ---- Writing

struct TPerfCounterSpec {
  uint32_t TitleIndex;  // the help title is the next index
  uint32_t Type;        // a 64-bit counter type, e.g. PERF_100NSEC_TIMER (0x20510500)
};

struct TPerfInstanceSpec {
  std::u16string Name;
  std::vector<int64_t> Values;  // one per counter in the counters' order; missing ones are 0, extra ones ignored
};

struct TPerfObjectSpec {
  uint32_t TitleIndex = 0;
  uint32_t DefaultCounter = 0;  // index into Counters
  std::vector<TPerfCounterSpec> Counters;
  std::vector<TPerfInstanceSpec> Instances;
};

struct TPerfBlockSpec {
  uint16_t SystemTime[8] = {};  // UTC: year, month, day of week, day, hour, minute, second, milliseconds
  int64_t PerfTime = 0;         // the block's high-resolution clock and its frequency
  int64_t PerfFreq = 0;
  int64_t PerfTime100nSec = 0;  // the same instant as a FILETIME; also each object's clock, at 10^7 a second
  std::vector<TPerfObjectSpec> Objects;  // the first one is the block's default object
};

// Where the records of a written block start, for tests that alter fields afterwards.
struct TPerfBlockOffsets {
  std::vector<size_t> Objects;
  std::vector<std::vector<size_t>> Definitions;     // per object, each counter definition
  std::vector<std::vector<size_t>> Instances;       // per object, each instance record
  std::vector<std::vector<size_t>> CounterBlocks;   // per object, each instance's counter block
};

// The block's exact length in bytes, in 64 bits so that no instance count overflows it.
uint64_t PerfBlockSize(const TPerfBlockSpec& layout);

// Writes the block and answers ErrorSuccess (0) when it fits in size bytes, else ErrorMoreData (234)
// with the buffer untouched. Every record starts 8-byte aligned; the bytes between fields are 0.
long WritePerfBlock(const TPerfBlockSpec& layout, uint8_t* buffer, uint32_t size, TPerfBlockOffsets* offsets = nullptr);

// ---- Reading

struct TPerfObject {
  uint64_t At = 0;
  uint32_t DefinitionLength = 0;
  uint32_t HeaderLength = 0;
  uint32_t NumCounters = 0;
  int32_t NumInstances = 0;  // signed, as published (LONG); -1 means the object has no instances
};

struct TPerfCounter {
  uint32_t Type = 0;
  uint32_t Size = 0;
  uint32_t Offset = 0;  // of the value inside each instance's counter block
};

class TPerfBlockReader {
public:
  explicit TPerfBlockReader(std::span<const uint8_t> bytes) : FBytes(bytes) {}

  // False when the field does not lie wholly inside the bytes.
  bool U16(uint64_t at, uint16_t& value) const;
  bool U32(uint64_t at, uint32_t& value) const;
  bool I64(uint64_t at, int64_t& value) const;

  // The block's SYSTEMTIME words.
  bool SystemTime(uint16_t (&words)[8]) const;
  // The first listed object with this title whose header lies inside the bytes. A walk that would leave
  // the bytes, or a zero length (the same record again), finds nothing.
  bool FindObject(uint32_t title, TPerfObject& object) const;
  // The object's first counter definition with this title, found the same way.
  bool FindCounter(const TPerfObject& object, uint32_t title, TPerfCounter& counter) const;

private:
  std::span<const uint8_t> FBytes;
};

// The instance records of an object, first to last, as their lengths link them.
class TPerfInstanceWalk {
public:
  TPerfInstanceWalk(const TPerfBlockReader& block, const TPerfObject& object);
  // Moves to the next instance; false when its record or counter block header leaves the bytes, or
  // when the previous record did not advance (its lengths were 0).
  bool Next();
  // The value at the counter's offset in this instance's counter block.
  bool Value(const TPerfCounter& counter, int64_t& value) const;
  // The instance name (UTF-16, up to its terminator); empty when it leaves the bytes.
  std::u16string Name() const;

private:
  const TPerfBlockReader& FBlock;
  uint64_t FRecord = 0, FCounterBlock = 0, FNext;
  bool FStarted = false, FEnded = false;
};

// An object read whole, for lookups by name and for tests: its counters in definition order and every
// listed instance the bytes hold, with one value per counter (0 where a value leaves the bytes).
struct TPerfObjectData {
  std::vector<uint32_t> CounterTitles;
  std::vector<TPerfCounter> Counters;
  std::vector<std::u16string> Names;
  std::vector<std::vector<int64_t>> Values;
  // The value of the counter with this title in instance i; 0 when there is none.
  int64_t Value(size_t instance, uint32_t title) const;
};
bool ReadPerfObject(const TPerfBlockReader& block, uint32_t title, TPerfObjectData& data);
