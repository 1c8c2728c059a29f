// TGauge: shows where Progress lies between MinValue and MaxValue as a bar, pie, needle or text,
// with the whole-number percentage written over it in the inverse colour (exclusive-or), and no
// repaint when a new Progress leaves that percentage unchanged.
#pragma once
#include <cstdint>

#include "ui/Controls.h"
#include "base/Extended.h"

enum class TGaugeKind : uint8_t { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
enum class TGaugeBorderStyle { bsNone, bsSingle };

// length(P, S) = S × (P × 0.01), each product rounded to the 64-bit significand of the 80-bit
// extended format and the result truncated; sometimes a pixel short of S × P / 100. X is the number
// type the rule is computed in (the tests run both).
template <class X>
int32_t GaugeLengthIn(int32_t percentage, int32_t size) {
  if (percentage <= 0 || size <= 0) return 0;
  const X fraction = X(percentage) * OneHundredth<X>();
  return static_cast<int32_t>(Trunc(X(size) * fraction));
}
int32_t GaugeLength(int32_t percentage, int32_t size);

class TGauge : public TGraphicControl {
public:
  explicit TGauge(TComponent* owner);

  int32_t MinValue() const { return FMinValue; }
  int32_t MaxValue() const { return FMaxValue; }
  int32_t Progress() const { return FCurValue; }
  TGaugeKind Kind() const { return FKind; }
  bool ShowText() const { return FShowText; }
  TGaugeBorderStyle BorderStyle() const { return FBorderStyle; }
  TColor ForeColor() const { return FForeColor; }
  TColor BackColor() const { return FBackColor; }
  int32_t Percentage() const;

  void SetMinValue(int32_t value);
  void SetMaxValue(int32_t value);
  void SetProgress(int32_t value);
  void SetKind(TGaugeKind value);
  void SetShowText(bool value);
  void SetBorderStyle(TGaugeBorderStyle value);
  void SetForeColor(TColor value);
  void SetBackColor(TColor value);
  void AdvanceProgress(int32_t delta);

protected:
  void Paint() override;

private:
  void PaintKind(gfx::Canvas& canvas, const TRect& paint);
  void PaintBar(gfx::Canvas& canvas, const TRect& paint, bool horizontal);
  void PaintPie(gfx::Canvas& canvas, const TRect& paint);
  void PaintNeedle(gfx::Canvas& canvas, const TRect& paint);
  void PaintText(gfx::Bitmap& composition, const TRect& paint);

  int32_t FMinValue = 0;
  int32_t FMaxValue = 100;
  int32_t FCurValue = 0;
  TGaugeKind FKind = TGaugeKind::gkHorizontalBar;
  bool FShowText = true;
  TGaugeBorderStyle FBorderStyle = TGaugeBorderStyle::bsSingle;
  TColor FForeColor = clBlack;
  TColor FBackColor = clWhite;
};

// A bitmap that can take the size of another and start filled with the window-frame colour.
class TBltBitmap : public gfx::Bitmap {
public:
  void MakeLike(const gfx::Bitmap& source);
};
