// libFuzzer target: arbitrary bytes as the performance blocks of two consecutive processor samples,
// through the fake host, and each block read whole by the block reader; only the module's own
// Exception may come out. Built with -DBRISKO_PERF_SEEDS instead of -fsanitize=fuzzer it writes a
// seed corpus into the given folder (scripts/fuzz does, when the corpus is empty).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "measure/CpuUsage.h"
#include "measure/PerfBlock.h"
#include "FakeHost.h"
#include "PerfBlockBuilder.h"
#include "ui/SysUtils.h"

#ifndef BRISKO_PERF_SEEDS

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

#else

#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  auto write = [&](const std::string& name, const TPerfBlock& a, const TPerfBlock& b) {
    std::ofstream out(std::string(argv[1]) + "/" + name, std::ios::binary);
    const size_t length = a.Bytes.size();
    out.put(static_cast<char>(length & 0xFF)).put(static_cast<char>(length >> 8 & 0xFF));
    out.write(reinterpret_cast<const char*>(a.Bytes.data()), static_cast<std::streamsize>(a.Bytes.size()));
    out.write(reinterpret_cast<const char*>(b.Bytes.data()), static_cast<std::streamsize>(b.Bytes.size()));
  };
  const TPerfTime t0{2024, 5, 6, 10, 0, 0, 0}, t1{2024, 5, 6, 10, 0, 1, 0};
  write("one-cpu", ProcessorBlock(t0, {0}), ProcessorBlock(t1, {2500000}));
  write("three-then-one", ProcessorBlock(t0, {0, 1, 2}), ProcessorBlock(t1, {5}));
  std::vector<int64_t> many(200);
  for (size_t k = 0; k < many.size(); ++k) many[k] = static_cast<int64_t>(k);
  write("grows", ProcessorBlock(t0, many), ProcessorBlock(t1, {1, 2}));
  TTestPerfObject other;
  other.TitleIndex = 230;
  other.Counters = {6, 144};
  other.Instances = {{1, 2}, {3, 4}};
  TTestPerfObject processor;
  processor.Counters = {142, 144, 6};
  processor.Instances = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  write("second-object", BuildPerfBlock(t0, {other, processor}), BuildPerfBlock(t1, {processor, other}));
  TTestPerfObject noIdle = processor;
  noIdle.Counters = {142, 144, 1746};
  write("no-idle-counter", BuildPerfBlock(t0, {noIdle}), BuildPerfBlock(t1, {other}));
  return 0;
}

#endif
