// What the trims cost on Linux with the real helper: a 1 GiB deep trim through the portable loop
// against a bare loop that maps, writes and unmaps the same memory in the same blocks, and one quick
// trim over every process of the machine (as root, every process is paged out).
#include <benchmark/benchmark.h>
#include <sys/mman.h>
#include <unistd.h>

#include <vector>

#include "app/defrag.h"
#include "app/Trimming.h"
#include "platform/Host.h"
#include "platform/linux/Processes.h"
#include "platform/linux/System.h"

namespace {

constexpr int Blocks = 1024;  // 1 GiB in the deep trim's 1 MiB blocks

// The real host's processes and system, installed for the benchmark's length.
class TRealHost {
public:
  TRealHost() : FSystem(0, nullptr), FProcesses({BRISKO_HELPER}) {
    FSaved = platform::Host();
    platform::SetHost({nullptr, &FSystem, nullptr, &FProcesses, nullptr});
  }
  ~TRealHost() { platform::SetHost(FSaved); }
  TRealHost(const TRealHost&) = delete;
  TRealHost& operator=(const TRealHost&) = delete;
  platform::linux::TProcesses& Processes() { return FProcesses; }

private:
  platform::THost FSaved;
  platform::linux::TSystem FSystem;
  platform::linux::TProcesses FProcesses;
};

void DeepTrim1GiB(benchmark::State& state) {
  TRealHost host;
  int committed = 0;
  for (auto _ : state) {
    host.Processes().BeginTrim();
    DeepTrimMemory(Blocks, [&] { ++committed; });
    host.Processes().EndTrim();
  }
  state.counters["steps"] = benchmark::Counter(committed, benchmark::Counter::kAvgIterations);
}
BENCHMARK(DeepTrim1GiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BareMapWriteUnmap1GiB(benchmark::State& state) {
  const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  std::vector<void*> blocks(Blocks);
  for (auto _ : state) {
    for (void*& block : blocks) {
      block = mmap(nullptr, DeepTrimBlockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      for (size_t at = 0; at < DeepTrimBlockSize; at += page) static_cast<volatile char*>(block)[at] = 1;
    }
    for (void* block : blocks) munmap(block, DeepTrimBlockSize);
  }
}
BENCHMARK(BareMapWriteUnmap1GiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void QuickTrimAllProcesses(benchmark::State& state) {
  TRealHost host;
  bool reachedOthers = false;
  for (auto _ : state) {
    host.Processes().BeginTrim();
    benchmark::DoNotOptimize(TrimAllWorkingSets(&reachedOthers));
    host.Processes().EndTrim();
  }
  state.counters["others"] = reachedOthers ? 1 : 0;
}
BENCHMARK(QuickTrimAllProcesses)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
