// The main window's pictures: the two bar meters (CPU and memory) and the two scrolling history
// charts, drawn completely on every tick into their drawing surfaces (the charts' fixed grid is
// drawn once and copied).
#pragma once
#include <array>

#include "ui/ExtCtrls.h"

enum class TMeterKind { CpuMeter, MemoryMeter };

// 90 plotted points, slot i (1 .. 90) at x = 3 × i; a value v is kept as y = 100 − v, unclamped.
class TSampleHistory {
public:
  static constexpr int Slots = 90;
  TSampleHistory() { Reset(); }
  // Every slot at y = 101, just below the picture: an empty chart shows no line.
  void Reset() { FY.fill(101); }
  // Drops the oldest sample and puts value in slot 90.
  void Push(int value);
  int Y(int slot) const { return FY[slot - 1]; }
  static int X(int slot) { return 3 * slot; }

private:
  std::array<int, Slots> FY;
};

void DrawMeterBackground(TImage* surface);
// Draws bar pairs 0 .. count − 1 lit (lime) or as background (dark green); the lit pass also
// writes the label: the CPU percent, or the used physical memory in MB. The caller shows the
// picture (Changed) once both passes are drawn.
void DrawMeter(TImage* surface, int count, bool lit, TMeterKind kind, int value);
void DrawChartGrid(TImage* surface);
void UpdateChart(TImage* surface, int value, TSampleHistory& history);
