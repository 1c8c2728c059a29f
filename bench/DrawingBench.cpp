// The drawing primitives on the sizes the program draws every second (meter 81 × 105, chart
// 273 × 100, gauge 241 × 16), each with its pixels per second; MemsetReference writes the same
// bytes with memset, the floor to compare them with, in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "gfx/Canvas.h"

namespace {

struct TSize {
  int Width, Height;
};
constexpr TSize Sizes[] = {{81, 105}, {273, 100}, {241, 16}};

TSize SizeOf(const benchmark::State& state) { return Sizes[state.range(0)]; }

void Count(benchmark::State& state, TSize size) {
  state.SetItemsProcessed(state.iterations() * size.Width * size.Height);
  state.SetLabel(std::to_string(size.Width) + "x" + std::to_string(size.Height));
}

void MemsetReference(benchmark::State& state) {
  const TSize size = SizeOf(state);
  std::vector<gfx::TPixel> pixels(static_cast<size_t>(size.Width) * size.Height);
  for (auto _ : state) {
    std::memset(pixels.data(), static_cast<int>(state.iterations() & 0x7F), pixels.size() * sizeof(gfx::TPixel));
    benchmark::ClobberMemory();
  }
  Count(state, size);
}
BENCHMARK(MemsetReference)->DenseRange(0, 2);

void FillRect(benchmark::State& state) {
  const TSize size = SizeOf(state);
  gfx::Bitmap target(size.Width, size.Height);
  gfx::Canvas canvas(target);
  for (auto _ : state) {
    canvas.Brush.Color = static_cast<TColor>(state.iterations() & 0xFFFFFF);
    canvas.FillRect({0, 0, size.Width, size.Height});
    benchmark::ClobberMemory();
  }
  Count(state, size);
}
BENCHMARK(FillRect)->DenseRange(0, 2);

void Draw(benchmark::State& state, gfx::TCopyMode mode) {
  const TSize size = SizeOf(state);
  gfx::Bitmap source(size.Width, size.Height, 0x123456), target(size.Width, size.Height);
  gfx::Canvas canvas(target);
  for (auto _ : state) {
    canvas.Draw(0, 0, source, mode);
    benchmark::ClobberMemory();
  }
  Count(state, size);
}
void DrawCopy(benchmark::State& state) { Draw(state, gfx::TCopyMode::Copy); }
void DrawXor(benchmark::State& state) { Draw(state, gfx::TCopyMode::Xor); }
BENCHMARK(DrawCopy)->DenseRange(0, 2);
BENCHMARK(DrawXor)->DenseRange(0, 2);

void DrawTransparent(benchmark::State& state) {
  const TSize size = SizeOf(state);
  gfx::Bitmap source(size.Width, size.Height, 0x123456), target(size.Width, size.Height);
  for (int x = 0; x < size.Width; x += 2) source.SetPixel(x, size.Height / 2, 0xFF00FF);
  gfx::Canvas canvas(target);
  for (auto _ : state) {
    canvas.DrawTransparent(0, 0, source, static_cast<TColor>(0xFF00FF));
    benchmark::ClobberMemory();
  }
  Count(state, size);
}
BENCHMARK(DrawTransparent)->DenseRange(0, 2);

}  // namespace
