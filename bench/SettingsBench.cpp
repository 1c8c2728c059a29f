// Reading the settings file: a file near the 16 MiB limit with some 400 000 keys, which a start has to
// get through before the window shows.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/linux/RegFile.h"

namespace {

void ParseLargeSettingsFile(benchmark::State& state) {
  std::string text = "REGEDIT4\n\n";
  for (int k = 0; text.size() < (16u << 20) - 64; ++k)
    text += "[HKEY_CURRENT_USER\\Software\\Key" + std::to_string(k) + "]\n\"Value\"=dword:0000002a\n\n";
  for (auto _ : state) {
    platform::linux::TRegFileContent content;
    platform::linux::TRegFileError error;
    benchmark::DoNotOptimize(platform::linux::ParseRegFile(text, content, error));
    state.counters["keys"] = static_cast<double>(content.Keys.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ParseLargeSettingsFile)->Unit(benchmark::kMillisecond);

}  // namespace
