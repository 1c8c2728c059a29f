// The performance-data block writer. Fields are stored byte by byte at their published offsets, so
// the output is the same little-endian layout whatever the byte order of the machine writing it.
#include "measure/PerfBlockWriter.h"

#include <cstring>

#include "platform/Registry.h"

namespace {

constexpr uint32_t BlockHeaderLength = 88;
constexpr uint32_t ObjectHeaderLength = 64;
constexpr uint32_t CounterDefinitionLength = 40;
constexpr uint32_t InstanceHeaderLength = 24;
constexpr uint32_t DetailNovice = 100;
constexpr uint32_t NoUniqueId = 0xFFFFFFFF;  // the name identifies the instance
constexpr int64_t UnitsPerSecond = 10000000;

uint64_t Align8(uint64_t n) { return (n + 7) & ~uint64_t{7}; }

uint64_t NameBytes(const TPerfInstanceSpec& instance) { return 2 * (uint64_t{instance.Name.size()} + 1); }

uint64_t InstanceLength(const TPerfInstanceSpec& instance) { return Align8(InstanceHeaderLength + NameBytes(instance)); }

uint64_t DefinitionLength(const TPerfBlockSpec& layout) {
  return ObjectHeaderLength + uint64_t{layout.Counters.size()} * CounterDefinitionLength;
}

uint64_t CounterBlockLength(const TPerfBlockSpec& layout) { return 8 + 8 * uint64_t{layout.Counters.size()}; }  // length word, padding, values

class TWriter {
public:
  explicit TWriter(uint8_t* buffer) : FBuffer(buffer) {}
  void U16(uint64_t at, uint16_t value) { Put(at, value, 2); }
  void U32(uint64_t at, uint64_t value) { Put(at, value, 4); }  // callers pass lengths the size check bounded
  void I64(uint64_t at, int64_t value) { Put(at, static_cast<uint64_t>(value), 8); }

private:
  void Put(uint64_t at, uint64_t value, unsigned width) {
    for (unsigned k = 0; k < width; ++k) FBuffer[at + k] = static_cast<uint8_t>(value >> (8 * k));
  }
  uint8_t* FBuffer;
};

void WriteHeader(TWriter& w, const TPerfBlockSpec& layout, uint64_t total) {
  const char16_t signature[4] = {u'P', u'E', u'R', u'F'};
  for (unsigned k = 0; k < 4; ++k) w.U16(2 * k, signature[k]);
  w.U32(8, 1);   // LittleEndian
  w.U32(12, 1);  // Version
  w.U32(16, 1);  // Revision
  w.U32(20, total);
  w.U32(24, BlockHeaderLength);
  w.U32(28, layout.ListsObject ? 1 : 0);
  w.U32(32, layout.ObjectTitleIndex);
  for (unsigned k = 0; k < 8; ++k) w.U16(36 + 2 * k, layout.SystemTime[k]);
  w.I64(56, layout.PerfTime);
  w.I64(64, layout.PerfFreq);
  w.I64(72, layout.PerfTime100nSec);
  // SystemNameLength and SystemNameOffset stay 0: the block names no system.
}

void WriteObject(TWriter& w, const TPerfBlockSpec& layout, uint64_t total) {
  const uint64_t object = BlockHeaderLength;
  w.U32(object + 0, total - object);
  w.U32(object + 4, DefinitionLength(layout));
  w.U32(object + 8, ObjectHeaderLength);
  w.U32(object + 12, layout.ObjectTitleIndex);
  w.U32(object + 20, layout.ObjectTitleIndex + 1);  // help title index
  w.U32(object + 28, DetailNovice);
  w.U32(object + 32, layout.Counters.size());
  w.U32(object + 36, layout.DefaultCounter);
  w.U32(object + 40, layout.Instances.size());
  w.U32(object + 44, 0);  // CodePage 0: names are UTF-16
  w.I64(object + 48, layout.PerfTime100nSec);
  w.I64(object + 56, UnitsPerSecond);
  for (size_t c = 0; c < layout.Counters.size(); ++c) {
    const uint64_t definition = object + ObjectHeaderLength + c * CounterDefinitionLength;
    w.U32(definition + 0, CounterDefinitionLength);
    w.U32(definition + 4, layout.Counters[c].TitleIndex);
    w.U32(definition + 12, layout.Counters[c].TitleIndex + 1);
    w.U32(definition + 24, DetailNovice);
    w.U32(definition + 28, layout.Counters[c].Type);
    w.U32(definition + 32, 8);          // CounterSize
    w.U32(definition + 36, 8 + 8 * c);  // CounterOffset inside the counter block
  }
}

}  // namespace

uint64_t PerfBlockSize(const TPerfBlockSpec& Layout) {
  uint64_t size = BlockHeaderLength;
  if (!Layout.ListsObject) return size;
  size += DefinitionLength(Layout);
  for (const TPerfInstanceSpec& instance : Layout.Instances) size += InstanceLength(instance) + CounterBlockLength(Layout);
  return size;
}

long WritePerfBlock(const TPerfBlockSpec& Layout, uint8_t* Buffer, uint32_t Size) {
  const uint64_t total = PerfBlockSize(Layout);
  if (total > Size) return platform::ErrorMoreData;
  std::memset(Buffer, 0, static_cast<size_t>(total));
  TWriter w(Buffer);
  WriteHeader(w, Layout, total);
  if (!Layout.ListsObject) return platform::ErrorSuccess;
  WriteObject(w, Layout, total);

  const uint64_t counterBlockLength = CounterBlockLength(Layout);
  uint64_t at = BlockHeaderLength + DefinitionLength(Layout);
  for (const TPerfInstanceSpec& instance : Layout.Instances) {
    const uint64_t instanceLength = InstanceLength(instance);
    w.U32(at + 0, instanceLength);
    w.U32(at + 12, NoUniqueId);
    w.U32(at + 16, InstanceHeaderLength);  // NameOffset
    w.U32(at + 20, NameBytes(instance));   // NameLength, the terminating 0 included
    for (size_t k = 0; k < instance.Name.size(); ++k) w.U16(at + InstanceHeaderLength + 2 * k, instance.Name[k]);
    const uint64_t block = at + instanceLength;
    w.U32(block, counterBlockLength);
    for (size_t c = 0; c < Layout.Counters.size() && c < instance.Values.size(); ++c) w.I64(block + 8 + 8 * c, instance.Values[c]);
    at = block + counterBlockLength;
  }
  return platform::ErrorSuccess;
}
