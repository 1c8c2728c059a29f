// The drawing primitives. Fills and copies work on clipped row spans (no per-pixel bounds checks
// inside them); the curves are sampled pixel by pixel, for exactness on the small pictures they serve.
#include "gfx/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

namespace gfx {

void Canvas::Plot(int x, int y, TPixel p) {
  if (FTarget.Contains(x, y)) FTarget.SetPixel(x, y, p);
}

void Canvas::HorizontalSpan(int y, int x1, int x2, TPixel p) {
  if (y < 0 || y >= FTarget.Height()) return;
  x1 = std::max(x1, 0);
  x2 = std::min(x2, FTarget.Width());
  if (x1 < x2) std::fill(FTarget.Row(y) + x1, FTarget.Row(y) + x2, p);
}

void Canvas::FillRect(const TRect& r) {
  const TPixel p = ToPixel(Brush.Color);
  const int top = std::max(r.Top, 0), bottom = std::min(r.Bottom, FTarget.Height());
  // Whole rows lie one after another: one fill for all of them.
  if (r.Left <= 0 && r.Right >= FTarget.Width() && top < bottom) {
    std::fill(FTarget.Row(top), FTarget.Row(bottom - 1) + FTarget.Width(), p);
    return;
  }
  for (int y = top; y < bottom; ++y) HorizontalSpan(y, r.Left, r.Right, p);
}

void Canvas::FrameRect(const TRect& r) {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  const TPixel p = ToPixel(Brush.Color);
  HorizontalSpan(r.Top, r.Left, r.Right, p);
  HorizontalSpan(r.Bottom - 1, r.Left, r.Right, p);
  for (int y = r.Top; y < r.Bottom; ++y) {
    Plot(r.Left, y, p);
    Plot(r.Right - 1, y, p);
  }
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (Brush.Style == TBrushStyle::Solid) FillRect({x1 + 1, y1 + 1, x2 - 1, y2 - 1});
  const TBrush saved = Brush;
  Brush.Color = Pen.Color;
  FrameRect({x1, y1, x2, y2});
  Brush = saved;
}

void Canvas::LineTo(int x, int y) {
  // Bresenham from the pen position up to, not including, the end point.
  const TPixel p = ToPixel(Pen.Color);
  int x0 = FPenPos.X, y0 = FPenPos.Y;
  const int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
  const int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
  int err = dx + dy;
  while (x0 != x || y0 != y) {
    Plot(x0, y0, p);
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x0 += sx; }
    if (e2 <= dx) { err += dx; y0 += sy; }
  }
  FPenPos = {x, y};
}

namespace {

// The ellipse inscribed in [x1, x2) × [y1, y2), sampled at pixel centres.
struct TEllipse {
  double Cx, Cy, Rx, Ry;
  TEllipse(int x1, int y1, int x2, int y2)
      : Cx((x1 + x2) / 2.0), Cy((y1 + y2) / 2.0), Rx((x2 - x1) / 2.0), Ry((y2 - y1) / 2.0) {}
  double Norm(int x, int y) const {
    const double u = (x + 0.5 - Cx) / Rx, v = (y + 0.5 - Cy) / Ry;
    return u * u + v * v;
  }
  bool Inside(int x, int y) const { return Rx > 0 && Ry > 0 && Norm(x, y) <= 1.0; }
  // Inside, but a neighbour is outside: the one-pixel outline.
  bool OnEdge(int x, int y) const {
    return Inside(x, y) && (!Inside(x - 1, y) || !Inside(x + 1, y) || !Inside(x, y - 1) || !Inside(x, y + 1));
  }
  // Counter-clockwise angle (y up) of a point seen from the centre, in [0, 2π).
  double Angle(double x, double y) const {
    const double a = std::atan2(-(y - Cy) / Ry, (x - Cx) / Rx);
    return a < 0 ? a + 2 * std::numbers::pi : a;
  }
};

bool InSweep(double a, double start, double end) {
  const double sweep = end > start ? end - start : end - start + 2 * std::numbers::pi;
  const double d = a >= start ? a - start : a - start + 2 * std::numbers::pi;
  return d <= sweep;
}

}  // namespace

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
  const TEllipse e(x1, y1, x2, y2);
  const TPixel brush = ToPixel(Brush.Color), pen = ToPixel(Pen.Color);
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x) {
      if (e.OnEdge(x, y)) Plot(x, y, pen);
      else if (e.Inside(x, y) && Brush.Style == TBrushStyle::Solid) Plot(x, y, brush);
    }
}

void Canvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  const TEllipse e(x1, y1, x2, y2);
  const double start = e.Angle(x3, y3), end = e.Angle(x4, y4);
  const TPixel brush = ToPixel(Brush.Color), pen = ToPixel(Pen.Color);
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x) {
      if (!e.Inside(x, y) || !InSweep(e.Angle(x + 0.5, y + 0.5), start, end)) continue;
      if (e.OnEdge(x, y)) Plot(x, y, pen);
      else if (Brush.Style == TBrushStyle::Solid) Plot(x, y, brush);
    }
  // The two radii close the slice.
  const auto radius = [&](double a) {
    MoveTo(static_cast<int>(std::lround(e.Cx - 0.5)), static_cast<int>(std::lround(e.Cy - 0.5)));
    LineTo(static_cast<int>(std::lround(e.Cx - 0.5 + (e.Rx - 0.5) * std::cos(a))),
           static_cast<int>(std::lround(e.Cy - 0.5 - (e.Ry - 0.5) * std::sin(a))));
  };
  radius(start);
  radius(end);
}

int Canvas::TextWidth(std::string_view text) { return RenderedText(Font, text).Width; }

int Canvas::TextHeight(std::string_view text) { return RenderedText(Font, text).Height; }

void Canvas::TextOut(int x, int y, std::string_view text) {
  const TRenderedText& rendered = RenderedText(Font, text);
  const TRect extent{x, y, x + rendered.Width, y + rendered.Height};
  DrawText(extent, x, y, text, Brush.Style == TBrushStyle::Solid);
}

void Canvas::TextRect(const TRect& clip, int x, int y, std::string_view text) {
  DrawText(clip, x, y, text, Brush.Style == TBrushStyle::Solid);
}

void Canvas::DrawText(const TRect& clip, int x, int y, std::string_view text, bool fillBackground) {
  if (fillBackground) FillRect(clip);
  const TTextMask& mask = RenderedText(Font, text).Mask;
  const TPixel p = ToPixel(Font.Color);
  const int left = std::max({clip.Left, x, 0}), right = std::min({clip.Right, x + mask.Width, FTarget.Width()});
  const int top = std::max({clip.Top, y, 0}), bottom = std::min({clip.Bottom, y + mask.Height, FTarget.Height()});
  for (int py = top; py < bottom; ++py) {
    const auto* coverage = mask.Coverage.data() + static_cast<size_t>(py - y) * mask.Width;
    TPixel* row = FTarget.Row(py);
    for (int px = left; px < right; ++px)
      if (coverage[px - x]) row[px] = p;
  }
}

namespace {

// Calls row(from, to, count) for each row of source placed at (x, y) that lands in target, with the
// clipped part of the row: the pixels of source, those of target beneath them, and their number.
template <class F>
void ForEachClippedRow(int x, int y, const Bitmap& source, Bitmap& target, F row) {
  const int left = std::max(x, 0), right = std::min(x + source.Width(), target.Width());
  const int top = std::max(y, 0), bottom = std::min(y + source.Height(), target.Height());
  if (left >= right) return;
  for (int ty = top; ty < bottom; ++ty)
    row(source.Row(ty - y) + (left - x), target.Row(ty) + left, static_cast<size_t>(right - left));
}

}  // namespace

void Canvas::Draw(int x, int y, const Bitmap& source, TCopyMode mode) {
  // A source of the target's size at its origin: one copy of all the rows at once.
  if (mode == TCopyMode::Copy && x == 0 && y == 0 && source.Width() == FTarget.Width() && source.Height() <= FTarget.Height()) {
    std::memcpy(FTarget.Row(0), source.Row(0), source.Pixels().size() * sizeof(TPixel));
    return;
  }
  if (mode == TCopyMode::Copy) {
    ForEachClippedRow(x, y, source, FTarget, [](const TPixel* from, TPixel* to, size_t count) {
      std::memcpy(to, from, count * sizeof(TPixel));
    });
  } else {
    ForEachClippedRow(x, y, source, FTarget, [](const TPixel* from, TPixel* to, size_t count) {
      for (size_t k = 0; k < count; ++k) to[k] = (from[k] ^ to[k]) & 0xFFFFFF;
    });
  }
}

void Canvas::DrawTransparent(int x, int y, const Bitmap& source, TColor transparent) {
  const TPixel key = ToPixel(transparent);
  ForEachClippedRow(x, y, source, FTarget, [key](const TPixel* from, TPixel* to, size_t count) {
    for (size_t k = 0; k < count; ++k) to[k] = from[k] != key ? from[k] : to[k];
  });
}

}  // namespace gfx
