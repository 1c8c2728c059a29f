// Meter and chart drawing. Meters are 81 × 105: twenty bar pairs, the lowest on rows 93–94, one every
// 4 rows, and a label strip below. Charts are 273 × 100: a fixed dark-green grid and a lime line.
#include "app/Charts.h"

#include <algorithm>
#include <string>

#include "platform/Host.h"

namespace {

constexpr TColor DarkGreen = clGreen;

void DrawBarPairs(gfx::Canvas& canvas, int count, TColor color) {
  canvas.Brush = {color, gfx::TBrushStyle::Solid};
  for (int k = 0; k < count; ++k) {
    canvas.FillRect({20, 93 - 4 * k, 40, 95 - 4 * k});
    canvas.FillRect({42, 93 - 4 * k, 62, 95 - 4 * k});
  }
}

uint64_t UsedPhysicalMB() {
  const platform::TMemoryStatus status = platform::Host().System->GetMemoryStatus();
  return (status.TotalPhys - status.AvailPhys) >> 20;
}

}  // namespace

void TSampleHistory::Push(int value) {
  std::copy(FY.begin() + 1, FY.end(), FY.begin());
  FY.back() = 100 - value;
}

void DrawMeterBackground(TImage* surface) {
  gfx::Canvas& canvas = surface->Canvas();
  canvas.Brush = {clBlack, gfx::TBrushStyle::Solid};
  canvas.FillRect({0, 0, 81, 105});
  DrawBarPairs(canvas, 20, DarkGreen);
  surface->Changed();
}

void DrawMeter(TImage* surface, int count, bool lit, TMeterKind kind, int value) {
  gfx::Canvas& canvas = surface->Canvas();
  DrawBarPairs(canvas, count, lit ? clLime : DarkGreen);
  canvas.Brush = {clBlack, gfx::TBrushStyle::Solid};
  canvas.FillRect({20, 95, 80, 105});
  if (lit) {
    canvas.Font = {"宋体", 11, false, clLime};
    if (kind == TMeterKind::CpuMeter) canvas.TextOut(35, 95, std::to_string(value) + "%");
    else canvas.TextOut(30, 95, std::to_string(UsedPhysicalMB()) + "M");
  }
}

namespace {

const gfx::Bitmap& ChartGrid() {
  static const gfx::Bitmap grid = [] {
    gfx::Bitmap picture(273, 100);
    gfx::Canvas canvas(picture);
    canvas.Brush = {clBlack, gfx::TBrushStyle::Solid};
    canvas.FillRect({0, 0, 273, 100});
    canvas.Pen = {DarkGreen, 1};
    for (int y = 0; y <= 84; y += 12) {
      canvas.MoveTo(0, y);
      canvas.LineTo(273, y);
    }
    for (int x = 0; x <= 348; x += 12) {
      canvas.MoveTo(x, 0);
      canvas.LineTo(x, 100);
    }
    return picture;
  }();
  return grid;
}

}  // namespace

void DrawChartGrid(TImage* surface) {
  surface->Canvas().Draw(0, 0, ChartGrid());
  surface->Changed();
}

void UpdateChart(TImage* surface, int value, TSampleHistory& history) {
  gfx::Canvas& canvas = surface->Canvas();
  canvas.Draw(0, 0, ChartGrid());
  history.Push(value);
  canvas.Pen = {clLime, 1};
  for (int i = 1; i < TSampleHistory::Slots; ++i) {
    canvas.MoveTo(TSampleHistory::X(i), history.Y(i));
    canvas.LineTo(TSampleHistory::X(i + 1), history.Y(i + 1));
  }
  surface->Changed();
}
