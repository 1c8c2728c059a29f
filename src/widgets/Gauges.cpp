// The gauge's arithmetic and drawing. The length rule is done in 80-bit extended precision (see
// base/Extended.h), so every host draws the same bars.
#include "widgets/Gauges.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "base/SysUtils.h"

int32_t GaugeLength(int32_t percentage, int32_t size) { return GaugeLengthIn<TExtended>(percentage, size); }

void TBltBitmap::MakeLike(const gfx::Bitmap& source) {
  SetSize(source.Width(), source.Height());
  gfx::Canvas canvas(*this);
  canvas.Brush = {clWindowFrame, gfx::TBrushStyle::Solid};
  canvas.FillRect({0, 0, Width(), Height()});
}

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 100, 100);
  SetColor(clWindow);
}

int32_t TGauge::Percentage() const {
  const int64_t range = static_cast<int64_t>(FMaxValue) - FMinValue;
  if (range == 0) return 0;
  return static_cast<int32_t>((static_cast<int64_t>(FCurValue) - FMinValue) * 100 / range);
}

void TGauge::SetMinValue(int32_t value) {
  if (value == FMinValue) return;
  if (value > FMaxValue && !Loading())
    throw EInvalidOperation(Format("Value must be between %d and %lld", -2147483647, static_cast<long long>(FMaxValue) - 1));
  FMinValue = value;
  if (FCurValue < value) FCurValue = value;
  Repaint();
}

void TGauge::SetMaxValue(int32_t value) {
  if (value == FMaxValue) return;
  if (value < FMinValue && !Loading())
    throw EInvalidOperation(Format("Value must be between %lld and %d", static_cast<long long>(FMinValue) + 1, 2147483647));
  FMaxValue = value;
  if (FCurValue > value) FCurValue = value;
  Repaint();
}

void TGauge::SetProgress(int32_t value) {
  const int32_t before = Percentage();
  if (value < FMinValue) value = FMinValue;
  else if (value > FMaxValue) value = FMaxValue;
  if (value == FCurValue) return;
  FCurValue = value;
  if (Percentage() != before) Repaint();
}

void TGauge::AdvanceProgress(int32_t delta) {
  const int64_t target = static_cast<int64_t>(FCurValue) + delta;
  SetProgress(static_cast<int32_t>(std::clamp<int64_t>(target, INT32_MIN, INT32_MAX)));
  Repaint();
}

namespace {
template <class T>
bool Assign(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TGauge::SetKind(TGaugeKind value) { if (Assign(FKind, value)) Repaint(); }
void TGauge::SetShowText(bool value) { if (Assign(FShowText, value)) Repaint(); }
void TGauge::SetBorderStyle(TGaugeBorderStyle value) { if (Assign(FBorderStyle, value)) Repaint(); }
void TGauge::SetForeColor(TColor value) { if (Assign(FForeColor, value)) Repaint(); }
void TGauge::SetBackColor(TColor value) { if (Assign(FBackColor, value)) Repaint(); }

void TGauge::Paint() {
  gfx::Bitmap composition(Width(), Height(), 0);
  TRect paint = ClientRect();
  if (FBorderStyle == TGaugeBorderStyle::bsSingle) paint = {paint.Left + 1, paint.Top + 1, paint.Right - 1, paint.Bottom - 1};

  TBltBitmap kind;
  kind.MakeLike(composition);
  gfx::Canvas kindCanvas(kind);
  kindCanvas.Brush = {clBlack, gfx::TBrushStyle::Solid};
  kindCanvas.FillRect({0, 0, kind.Width(), kind.Height()});
  PaintKind(kindCanvas, paint);

  gfx::Canvas compositionCanvas(composition);
  compositionCanvas.Draw(0, 0, kind, gfx::TCopyMode::Xor);
  if (FShowText) PaintText(composition, paint);
  Canvas().Draw(0, 0, composition);
}

void TGauge::PaintKind(gfx::Canvas& canvas, const TRect& paint) {
  switch (FKind) {
    case TGaugeKind::gkText:
      canvas.Brush = {FBackColor, gfx::TBrushStyle::Solid};
      canvas.FillRect(paint);
      break;
    case TGaugeKind::gkHorizontalBar: PaintBar(canvas, paint, true); break;
    case TGaugeKind::gkVerticalBar: PaintBar(canvas, paint, false); break;
    case TGaugeKind::gkPie: PaintPie(canvas, paint); break;
    case TGaugeKind::gkNeedle: PaintNeedle(canvas, paint); break;
  }
}

void TGauge::PaintBar(gfx::Canvas& canvas, const TRect& paint, bool horizontal) {
  const int w = paint.Right - paint.Left + 1, h = paint.Bottom - paint.Top + 1;
  canvas.Brush = {FBackColor, gfx::TBrushStyle::Solid};
  canvas.FillRect(paint);
  canvas.Pen = {FForeColor, 1};
  canvas.Brush = {FForeColor, gfx::TBrushStyle::Solid};
  if (horizontal) {
    int length = GaugeLength(Percentage(), w);
    if (length > w) length = w;
    if (length >= 1) canvas.FillRect({paint.Left, paint.Top, length, h});
  } else {
    int length = GaugeLength(Percentage(), h);
    if (length >= h) length = h - 1;
    canvas.FillRect({paint.Left, h - length, w, h});
  }
}

namespace {
int Nearest(long double x) { return static_cast<int>(std::nearbyint(x)); }
}  // namespace

void TGauge::PaintPie(gfx::Canvas& canvas, const TRect& paint) {
  const int extra = FBorderStyle == TGaugeBorderStyle::bsSingle ? 1 : 0;
  const int w = paint.Right - paint.Left + extra, h = paint.Bottom - paint.Top + extra;
  canvas.Brush = {Color(), gfx::TBrushStyle::Solid};
  canvas.FillRect(paint);
  canvas.Brush = {FBackColor, gfx::TBrushStyle::Solid};
  canvas.Pen = {FForeColor, 1};
  canvas.Ellipse(paint.Left, paint.Top, w, h);
  if (Percentage() <= 0) return;
  canvas.Brush.Color = FForeColor;
  const int mx = w / 2, my = h / 2;
  const long double a = (Percentage() / 50.0L + 0.5L) * std::numbers::pi_v<long double>;
  canvas.Pie(paint.Left, paint.Top, w, h, Nearest(mx * (1 - std::cos(a))), Nearest(my * (1 - std::sin(a))), mx, 0);
}

void TGauge::PaintNeedle(gfx::Canvas& canvas, const TRect& paint) {
  const int extra = FBorderStyle == TGaugeBorderStyle::bsSingle ? 1 : 0;
  const int x = paint.Left, y = paint.Top;
  const int w = paint.Right - paint.Left + extra, h = paint.Bottom - paint.Top + extra;
  canvas.Brush = {Color(), gfx::TBrushStyle::Solid};
  canvas.FillRect(paint);
  canvas.Brush = {FBackColor, gfx::TBrushStyle::Solid};
  canvas.Pen = {FForeColor, 1};
  canvas.Pie(x, y, w, 2 * h - 1, x + w, paint.Bottom - 1, x, paint.Bottom - 1);
  canvas.MoveTo(x, paint.Bottom);
  canvas.LineTo(x + w, paint.Bottom);
  if (Percentage() <= 0) return;
  const int mx = Width() / 2;
  const long double a = Percentage() / 100.0L * std::numbers::pi_v<long double>;
  canvas.MoveTo(mx, paint.Bottom - 1);
  canvas.LineTo(Nearest(mx * (1 - std::cos(a))), Nearest((paint.Bottom - 1) * (1 - std::sin(a))));
}

void TGauge::PaintText(gfx::Bitmap& composition, const TRect& paint) {
  const std::string text = Format("%d%%", Percentage());
  TBltBitmap textBitmap;
  textBitmap.MakeLike(composition);
  gfx::Canvas canvas(textBitmap);
  canvas.Brush = {clBlack, gfx::TBrushStyle::Solid};
  canvas.FillRect({0, 0, textBitmap.Width(), textBitmap.Height()});
  canvas.Brush.Style = gfx::TBrushStyle::Clear;
  canvas.Font = Font();
  canvas.Font.Color = clWhite;
  const int x = (paint.Right - paint.Left + 1 - canvas.TextWidth(text)) / 2;
  const int y = (paint.Bottom - paint.Top + 1 - canvas.TextHeight(text)) / 2;
  canvas.TextRect(paint, x, y, text);
  gfx::Canvas(composition).Draw(0, 0, textBitmap, gfx::TCopyMode::Xor);
}
