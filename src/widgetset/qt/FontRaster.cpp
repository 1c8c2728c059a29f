// QFont from a font description, metrics from QFontMetrics, masks painted without antialiasing into a
// grey-scale image and thresholded at half coverage.
#include "widgetset/qt/FontRaster.h"

#include <algorithm>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

namespace widgetset::qt {

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

bool IsSongFace(const std::string& name) { return name == "宋体" || name == "SimSun" || name == "新宋体" || name == "NSimSun"; }

}  // namespace

void InstallFontSubstitutions() {
  // Song-style faces first; Zen Hei is a sans face but covers the same characters when no Song face exists.
  const QStringList song{"SimSun", "AR PL UMing CN", "AR PL SungtiL GB", "WenQuanYi Zen Hei"};
  const QStringList sans{"DejaVu Sans", "Liberation Sans", "WenQuanYi Zen Hei", "AR PL UMing CN"};
  for (const char* face : {"宋体", "新宋体", "NSimSun"}) QFont::insertSubstitutions(QString::fromUtf8(face), song);
  QFont::insertSubstitutions("SimSun", {"AR PL UMing CN", "AR PL SungtiL GB", "WenQuanYi Zen Hei"});
  for (const char* face : {"Tahoma", "Microsoft Sans Serif", "MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2"})
    QFont::insertSubstitutions(face, sans);
}

QFont ToQFont(const gfx::TFontSpec& description) {
  QFont font(QString::fromStdString(description.Name));
  font.setPixelSize(description.PixelSize > 0 ? description.PixelSize : 1);
  font.setBold(description.Bold);
  if (IsSongFace(description.Name)) font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

int TFontRaster::TextWidth(const gfx::TFontSpec& font, std::string_view utf8) {
  return QFontMetrics(ToQFont(font)).horizontalAdvance(FromUtf8(utf8));
}

int TFontRaster::TextHeight(const gfx::TFontSpec& font) { return QFontMetrics(ToQFont(font)).height(); }

gfx::TTextMask TFontRaster::Render(const gfx::TFontSpec& description, std::string_view utf8) {
  QFont font = ToQFont(description);
  const QFontMetrics metrics(font);
  const QString text = FromUtf8(utf8);
  gfx::TTextMask mask;
  mask.Width = metrics.horizontalAdvance(text);
  mask.Height = metrics.height();
  if (mask.Width <= 0 || mask.Height <= 0) {
    mask.Width = std::max(mask.Width, 0);
    return mask;
  }
  QImage image(mask.Width, mask.Height, QImage::Format_Grayscale8);
  image.fill(0);
  {
    // Without antialiasing the coverage is already two-valued; the threshold keeps that promise even
    // where a font engine blends anyway.
    font.setStyleStrategy(QFont::NoAntialias);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(0, metrics.ascent(), text);
  }
  mask.Coverage.resize(static_cast<size_t>(mask.Width) * mask.Height);
  for (int y = 0; y < mask.Height; ++y) {
    const uchar* row = image.constScanLine(y);
    for (int x = 0; x < mask.Width; ++x)
      mask.Coverage[static_cast<size_t>(y) * mask.Width + x] = row[x] >= 128 ? 255 : 0;
  }
  return mask;
}

}  // namespace widgetset::qt
