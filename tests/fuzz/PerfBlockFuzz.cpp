// libFuzzer target: arbitrary bytes as the performance blocks of two consecutive processor samples,
// through the fake host, and each block read whole by the block reader; only the module's own
// Exception may come out. Its kept inputs begin with well-formed blocks of one to 200 processors.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "measure/CpuUsage.h"
#include "platform/PerfBlock.h"
#include "FakeHost.h"
#include "base/SysUtils.h"

namespace {

// Input: a 16-bit little-endian length of the first block, the first block, the second block.
void Split(const uint8_t* data, size_t size, std::vector<uint8_t>& first, std::vector<uint8_t>& second) {
  if (size < 2) {
    first.assign(data, data + size);
    return;
  }
  const size_t length = std::min<size_t>(data[0] | data[1] << 8, size - 2);
  first.assign(data + 2, data + 2 + length);
  second.assign(data + 2 + length, data + size);
}

void Probe() {
  for (int32_t index : {-1, 0, 1, 2, 3, 64, INT32_MAX}) {
    try {
      CpuUsageOf(index);
    } catch (const Exception&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFakeHost* host = new TFakeHost;  // lives for the whole run
  std::vector<uint8_t> first, second;
  Split(data, size, first, second);
  InitializeCpuUsage();
  for (std::vector<uint8_t>* block : {&first, &second}) {
    TPerfObjectData object;
    ReadPerfObject(TPerfBlockReader(*block), 238, object);
    host->Registry.PerfBlock = *block;
    try {
      TakeCpuSample();
    } catch (const Exception&) {
    }
    Probe();
  }
  StopCpuStatistics();
  return 0;
}
