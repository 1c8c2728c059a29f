// The block writer and reader. Fields are stored and read byte by byte at their published offsets, so
// the layout is the same little-endian one whatever the byte order of the machine.
#include "platform/PerfBlock.h"

#include <cstring>

#include "platform/Registry.h"

using L = TPerfLayout;

namespace {

constexpr uint32_t DetailNovice = 100;
constexpr uint32_t NoUniqueId = 0xFFFFFFFF;  // the name identifies the instance
constexpr int64_t UnitsPerSecond = 10000000;

uint64_t Align8(uint64_t n) { return (n + 7) & ~uint64_t{7}; }

uint64_t NameBytes(const TPerfInstanceSpec& instance) { return 2 * (uint64_t{instance.Name.size()} + 1); }

uint64_t InstanceLength(const TPerfInstanceSpec& instance) { return Align8(L::InstanceSize + NameBytes(instance)); }

uint64_t DefinitionLength(const TPerfObjectSpec& object) {
  return L::ObjectSize + uint64_t{object.Counters.size()} * L::CounterSize;
}

// The length word, padding to 8, then one 64-bit value per counter.
uint64_t CounterBlockLength(const TPerfObjectSpec& object) { return 8 + 8 * uint64_t{object.Counters.size()}; }

uint64_t ObjectLength(const TPerfObjectSpec& object) {
  uint64_t size = DefinitionLength(object);
  for (const TPerfInstanceSpec& instance : object.Instances) size += InstanceLength(instance) + CounterBlockLength(object);
  return size;
}

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
  w.U32(L::BlockTotalByteLength, total);
  w.U32(L::BlockHeaderLength, L::BlockSize);
  w.U32(L::BlockNumObjectTypes, layout.Objects.size());
  w.U32(L::BlockDefaultObject, layout.Objects.empty() ? 0 : layout.Objects.front().TitleIndex);
  for (unsigned k = 0; k < 8; ++k) w.U16(L::BlockSystemTime + 2 * k, layout.SystemTime[k]);
  w.I64(L::BlockPerfTime, layout.PerfTime);
  w.I64(L::BlockPerfFreq, layout.PerfFreq);
  w.I64(L::BlockPerfTime100nSec, layout.PerfTime100nSec);
  // SystemNameLength and SystemNameOffset stay 0: the block names no system.
}

// Writes one object at `object`; answers where the next one starts.
uint64_t WriteObject(TWriter& w, const TPerfBlockSpec& block, const TPerfObjectSpec& layout, uint64_t object,
                     TPerfBlockOffsets* offsets) {
  w.U32(object + L::ObjectTotalByteLength, ObjectLength(layout));
  w.U32(object + L::ObjectDefinitionLength, DefinitionLength(layout));
  w.U32(object + L::ObjectHeaderLength, L::ObjectSize);
  w.U32(object + L::ObjectTitleIndex, layout.TitleIndex);
  w.U32(object + L::ObjectHelpTitleIndex, layout.TitleIndex + 1);
  w.U32(object + L::ObjectDetailLevel, DetailNovice);
  w.U32(object + L::ObjectNumCounters, layout.Counters.size());
  w.U32(object + L::ObjectDefaultCounter, layout.DefaultCounter);
  w.U32(object + L::ObjectNumInstances, layout.Instances.size());
  w.U32(object + L::ObjectCodePage, 0);  // names are UTF-16
  w.I64(object + L::ObjectPerfTime, block.PerfTime100nSec);
  w.I64(object + L::ObjectPerfFreq, UnitsPerSecond);
  if (offsets) {
    offsets->Objects.push_back(object);
    offsets->Definitions.emplace_back();
    offsets->Instances.emplace_back();
    offsets->CounterBlocks.emplace_back();
  }
  for (size_t c = 0; c < layout.Counters.size(); ++c) {
    const uint64_t definition = object + L::ObjectSize + c * L::CounterSize;
    w.U32(definition + L::CounterByteLength, L::CounterSize);
    w.U32(definition + L::CounterTitleIndex, layout.Counters[c].TitleIndex);
    w.U32(definition + L::CounterHelpTitleIndex, layout.Counters[c].TitleIndex + 1);
    w.U32(definition + L::CounterDetailLevel, DetailNovice);
    w.U32(definition + L::CounterType, layout.Counters[c].Type);
    w.U32(definition + L::CounterValueSize, 8);
    w.U32(definition + L::CounterOffset, 8 + 8 * c);
    if (offsets) offsets->Definitions.back().push_back(definition);
  }
  const uint64_t counterBlockLength = CounterBlockLength(layout);
  uint64_t at = object + DefinitionLength(layout);
  for (const TPerfInstanceSpec& instance : layout.Instances) {
    const uint64_t instanceLength = InstanceLength(instance);
    w.U32(at + L::InstanceByteLength, instanceLength);
    w.U32(at + L::InstanceUniqueId, NoUniqueId);
    w.U32(at + L::InstanceNameOffset, L::InstanceSize);
    w.U32(at + L::InstanceNameLength, NameBytes(instance));  // the terminating 0 included
    for (size_t k = 0; k < instance.Name.size(); ++k) w.U16(at + L::InstanceSize + 2 * k, instance.Name[k]);
    const uint64_t counterBlock = at + instanceLength;
    w.U32(counterBlock + L::CounterBlockByteLength, counterBlockLength);
    for (size_t c = 0; c < layout.Counters.size() && c < instance.Values.size(); ++c)
      w.I64(counterBlock + 8 + 8 * c, instance.Values[c]);
    if (offsets) {
      offsets->Instances.back().push_back(at);
      offsets->CounterBlocks.back().push_back(counterBlock);
    }
    at = counterBlock + counterBlockLength;
  }
  return at;
}

}  // namespace

uint64_t PerfBlockSize(const TPerfBlockSpec& layout) {
  uint64_t size = L::BlockSize;
  for (const TPerfObjectSpec& object : layout.Objects) size += ObjectLength(object);
  return size;
}

long WritePerfBlock(const TPerfBlockSpec& layout, uint8_t* buffer, uint32_t size, TPerfBlockOffsets* offsets) {
  const uint64_t total = PerfBlockSize(layout);
  if (total > size) return platform::ErrorMoreData;
  std::memset(buffer, 0, static_cast<size_t>(total));
  TWriter w(buffer);
  WriteHeader(w, layout, total);
  uint64_t at = L::BlockSize;
  for (const TPerfObjectSpec& object : layout.Objects) at = WriteObject(w, layout, object, at, offsets);
  return platform::ErrorSuccess;
}

// ---- Reading

namespace {

bool Read(std::span<const uint8_t> bytes, uint64_t at, unsigned count, uint64_t& value) {
  if (at > bytes.size() || bytes.size() - at < count) return false;
  value = 0;
  for (unsigned i = count; i-- > 0;) value = value << 8 | bytes[at + i];
  return true;
}

}  // namespace

bool TPerfBlockReader::U16(uint64_t at, uint16_t& value) const {
  uint64_t raw;
  if (!Read(FBytes, at, 2, raw)) return false;
  value = static_cast<uint16_t>(raw);
  return true;
}

bool TPerfBlockReader::U32(uint64_t at, uint32_t& value) const {
  uint64_t raw;
  if (!Read(FBytes, at, 4, raw)) return false;
  value = static_cast<uint32_t>(raw);
  return true;
}

bool TPerfBlockReader::I64(uint64_t at, int64_t& value) const {
  uint64_t raw;
  if (!Read(FBytes, at, 8, raw)) return false;
  value = static_cast<int64_t>(raw);
  return true;
}

bool TPerfBlockReader::SystemTime(uint16_t (&words)[8]) const {
  for (unsigned k = 0; k < 8; ++k)
    if (!U16(L::BlockSystemTime + 2 * k, words[k])) return false;
  return true;
}

// A zero length in the object or counter walk would show the same record on every later step, and that
// record was just found not to be the wanted one, so it ends the walk as "not found".
bool TPerfBlockReader::FindObject(uint32_t title, TPerfObject& object) const {
  uint32_t headerLength, numObjects;
  if (!U32(L::BlockHeaderLength, headerLength) || !U32(L::BlockNumObjectTypes, numObjects)) return false;
  uint64_t at = headerLength;
  for (uint32_t k = 0; k < numObjects; ++k) {
    uint32_t totalLength, found;
    if (!U32(at + L::ObjectTotalByteLength, totalLength) || !U32(at + L::ObjectTitleIndex, found)) return false;
    if (found == title) {
      // An object whose header is cut off by the end of the bytes is not a usable object.
      if (at > FBytes.size() || FBytes.size() - at < L::ObjectSize) return false;
      object.At = at;
      uint32_t numInstances;
      if (!U32(at + L::ObjectDefinitionLength, object.DefinitionLength) || !U32(at + L::ObjectHeaderLength, object.HeaderLength) ||
          !U32(at + L::ObjectNumCounters, object.NumCounters) || !U32(at + L::ObjectNumInstances, numInstances))
        return false;
      object.NumInstances = static_cast<int32_t>(numInstances);
      return true;
    }
    if (totalLength == 0) return false;
    at += totalLength;
  }
  return false;
}

bool TPerfBlockReader::FindCounter(const TPerfObject& object, uint32_t title, TPerfCounter& counter) const {
  uint64_t at = object.At + object.HeaderLength;
  for (uint32_t k = 0; k < object.NumCounters; ++k) {
    uint32_t byteLength, found;
    if (!U32(at + L::CounterByteLength, byteLength) || !U32(at + L::CounterTitleIndex, found)) return false;
    if (found == title)
      return U32(at + L::CounterType, counter.Type) && U32(at + L::CounterValueSize, counter.Size) &&
             U32(at + L::CounterOffset, counter.Offset);
    if (byteLength == 0) return false;
    at += byteLength;
  }
  return false;
}

TPerfInstanceWalk::TPerfInstanceWalk(const TPerfBlockReader& block, const TPerfObject& object)
    : FBlock(block), FNext(object.At + object.DefinitionLength) {}

bool TPerfInstanceWalk::Next() {
  uint32_t recordLength, blockLength;
  // A record that did not advance would be read again and again.
  FEnded = FEnded || (FStarted && FNext == FRecord) || !FBlock.U32(FNext + L::InstanceByteLength, recordLength) ||
           !FBlock.U32(FNext + recordLength + L::CounterBlockByteLength, blockLength);
  if (FEnded) return false;
  FStarted = true;
  FRecord = FNext;
  FCounterBlock = FRecord + recordLength;
  FNext = FCounterBlock + blockLength;
  return true;
}

bool TPerfInstanceWalk::Value(const TPerfCounter& counter, int64_t& value) const {
  return FBlock.I64(FCounterBlock + counter.Offset, value);
}

std::u16string TPerfInstanceWalk::Name() const {
  uint32_t offset, length;
  if (!FBlock.U32(FRecord + L::InstanceNameOffset, offset) || !FBlock.U32(FRecord + L::InstanceNameLength, length))
    return {};
  std::u16string name;
  for (uint32_t k = 0; k + 1 < length; k += 2) {
    uint16_t unit;
    if (!FBlock.U16(FRecord + offset + k, unit)) return {};
    if (unit == 0) break;
    name += static_cast<char16_t>(unit);
  }
  return name;
}

int64_t TPerfObjectData::Value(size_t instance, uint32_t title) const {
  for (size_t c = 0; c < CounterTitles.size(); ++c)
    if (CounterTitles[c] == title && instance < Values.size()) return Values[instance][c];
  return 0;
}

bool ReadPerfObject(const TPerfBlockReader& block, uint32_t title, TPerfObjectData& data) {
  data = {};
  TPerfObject object;
  if (!block.FindObject(title, object)) return false;
  uint64_t at = object.At + object.HeaderLength;
  for (uint32_t k = 0; k < object.NumCounters; ++k) {
    uint32_t byteLength, counterTitle;
    TPerfCounter counter;
    if (!block.U32(at + L::CounterByteLength, byteLength) || !block.U32(at + L::CounterTitleIndex, counterTitle) ||
        !block.U32(at + L::CounterType, counter.Type) || !block.U32(at + L::CounterValueSize, counter.Size) ||
        !block.U32(at + L::CounterOffset, counter.Offset))
      break;
    data.CounterTitles.push_back(counterTitle);
    data.Counters.push_back(counter);
    if (byteLength == 0) break;
    at += byteLength;
  }
  TPerfInstanceWalk walk(block, object);
  for (int32_t i = 0; i < object.NumInstances && walk.Next(); ++i) {
    data.Names.push_back(walk.Name());
    std::vector<int64_t>& values = data.Values.emplace_back();
    for (const TPerfCounter& counter : data.Counters) {
      int64_t value = 0;
      values.push_back(walk.Value(counter, value) ? value : 0);
    }
  }
  return true;
}
