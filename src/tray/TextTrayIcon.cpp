// The drawn notification icon (see TextTrayIcon.h): rendered with gfx::Canvas, so both editions make
// the same picture and mask from the same glyphs.
#include "tray/TextTrayIcon.h"

#include "gfx/Canvas.h"
#include "ui/ImgList.h"

namespace {
constexpr int Side = 16;
constexpr int CentringBox = 15;
}  // namespace

void TOffsetOptions::Assign(const TOffsetOptions& other) {
  FOffsetX = other.FOffsetX;
  FOffsetY = other.FOffsetY;
  FLineDistance = other.FLineDistance;
}

void TOffsetOptions::NotifyChange() {
  if (OnChange) OnChange(this);
}

void TOffsetOptions::Store(int& field, int value) {
  if (field == value) return;
  field = value;
  NotifyChange();
}

void MakeIconFromBitmap(const gfx::Bitmap& bitmap, TIcon& icon, TColor transparent) {
  TCustomImageList list(nullptr);
  list.AddMasked(bitmap, transparent);
  list.GetIcon(0, icon);
}

TTextTrayIcon::TTextTrayIcon(TComponent* owner) : TShellTrayIcon(owner) {
  FOptions.OnChange = [this](TObject*) { RebuildIcon(); };
}

void TTextTrayIcon::SetBackgroundIcon(const TIcon& icon) {
  FBackgroundIcon.Assign(icon);
  RebuildIcon();
}

void TTextTrayIcon::SetText(const std::string& text) {
  FText = text;
  RebuildIcon();
}

void TTextTrayIcon::SetFont(const gfx::TFontSpec& font) {
  FFont = font;
  RebuildIcon();
}

void TTextTrayIcon::SetColor(TColor color) {
  FColor = color;
  RebuildIcon();
}

void TTextTrayIcon::SetBorder(bool border) {
  FBorder = border;
  RebuildIcon();
}

void TTextTrayIcon::SetBorderColor(TColor color) {
  FBorderColor = color;
  RebuildIcon();
}

void TTextTrayIcon::SetOptions(const TOffsetOptions& options) {
  FOptions.Assign(options);
  RebuildIcon();
}

std::vector<std::string> TTextTrayIcon::SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t cr = text.find('\r'); cr != std::string::npos; cr = text.find('\r', start)) {
    lines.push_back(text.substr(start, cr - start));
    start = cr + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

TColor TTextTrayIcon::ComplementaryKey(TColor color) const {
  if (color != clNone && color != FFont.Color) return color;
  return gfx::ColorToRGB(FFont.Color) ^ 0xFFFFFF;
}

void TTextTrayIcon::RenderText() {
  gfx::Bitmap bitmap(Side, Side);
  gfx::Canvas canvas(bitmap);
  FKeyColor = ComplementaryKey(FColor);
  canvas.Brush.Color = FKeyColor;
  canvas.FillRect({0, 0, Side, Side});
  canvas.Font = FFont;
  if (FText.find('\r') != std::string::npos) {
    const std::vector<std::string> lines = SplitLines(FText);
    const int pitch = canvas.TextHeight(FText.substr(FText.find('\r'))) + FOptions.LineDistance();
    const int top = (CentringBox - static_cast<int>(lines.size()) * pitch) / 2 + FOptions.OffsetY();
    for (size_t i = 0; i < lines.size(); ++i) {
      const int x = (CentringBox - canvas.TextWidth(lines[i])) / 2 + FOptions.OffsetX();
      canvas.TextOut(x, static_cast<int>(i) * pitch + top, lines[i]);
    }
  } else {
    const int x = (CentringBox - canvas.TextWidth(FText)) / 2 + FOptions.OffsetX();
    const int y = (CentringBox - canvas.TextHeight(FText)) / 2 + FOptions.OffsetY();
    canvas.TextOut(x, y, FText);
  }
  if (FBorder) {
    canvas.Brush.Color = FBorderColor;
    canvas.FrameRect({0, 0, Side, Side});
  }
  FTextBitmap = bitmap;
}

void TTextTrayIcon::RebuildIcon() {
  SetCycleIcons(false);
  RenderText();
  TIcon icon;
  if (FBackgroundIcon.Empty()) {
    // Without a background the square is opaque in Color; clNone leaves only the text.
    if (FColor != clNone) FKeyColor = clNone;
    MakeIconFromBitmap(FTextBitmap, icon, FKeyColor);
  } else {
    ComposeOnBackground(FTextBitmap, icon, FColor);
  }
  Icon().Assign(icon);
}

void TTextTrayIcon::ComposeOnBackground(const gfx::Bitmap& text, TIcon& icon, TColor color) {
  TCustomImageList list(nullptr);
  list.AddIcon(FBackgroundIcon);
  const TColor key = ComplementaryKey(color);
  gfx::Bitmap work(Side, Side, gfx::ToPixel(key));
  list.Draw(work, 0, 0, 0);
  gfx::Canvas(work).DrawTransparent(0, 0, text, FKeyColor);
  list.AddMasked(work, key);
  list.GetIcon(1, icon);
}
