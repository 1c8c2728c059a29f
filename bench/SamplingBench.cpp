// What one second of monitoring costs: a whole sampling tick of the headless main window (fake host:
// CPU sample, four pictures, three gauges, three read-outs), and the Linux host's reads behind it.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "PerfBlockBuilder.h"
#include "TestApplication.h"
#include "app/Brisko.h"
#include "app/uMain.h"
#include "platform/linux/PerfData.h"
#include "platform/linux/System.h"

namespace {

void SamplingTick(benchmark::State& state) {
  TTestApplication env;
  StartBrisko();
  int64_t idle = 0;
  int seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    idle += 2500000;  // 75 % busy
    ++seconds;
    TPerfTime time;
    time.Hour = static_cast<uint16_t>(seconds / 3600 % 24);
    time.Minute = static_cast<uint16_t>(seconds / 60 % 60);
    time.Second = static_cast<uint16_t>(seconds % 60);
    env.Host.Registry.PerfBlock = ProcessorBlock(time, {idle, idle / 2}).Bytes;
    env.Host.System.SetMemoryMB(8192, 1000 + seconds % 5000);
    state.ResumeTiming();
    frmMain->timerShowTimer(nullptr);
  }
}
BENCHMARK(SamplingTick)->Unit(benchmark::kMicrosecond);

// The floor for a tick: a memset of the pixels of the four pictures it redraws (two charts of
// 273 × 100, two meters of 81 × 105).
void SamplingTickMemsetReference(benchmark::State& state) {
  std::vector<uint32_t> pixels(2 * 273 * 100 + 2 * 81 * 105);
  for (auto _ : state) {
    std::memset(pixels.data(), static_cast<int>(state.iterations() & 0x7F), pixels.size() * sizeof(uint32_t));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(SamplingTickMemsetReference)->Unit(benchmark::kMicrosecond);

void ProcStatBlock(benchmark::State& state) {
  std::vector<uint8_t> buffer(8192);
  for (auto _ : state) {
    while (platform::linux::QueryProcessorPerfData(buffer.data(), static_cast<uint32_t>(buffer.size())) != 0)
      buffer.resize(buffer.size() + 4096);
    benchmark::DoNotOptimize(buffer.data());
  }
}
BENCHMARK(ProcStatBlock)->Unit(benchmark::kMicrosecond);

void MemoryStatus(benchmark::State& state) {
  char name[] = "brisko";
  char* argv[] = {name};
  platform::linux::TSystem system(1, argv);
  for (auto _ : state) benchmark::DoNotOptimize(system.GetMemoryStatus());
}
BENCHMARK(MemoryStatus)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
