// Graphic controls and images: the finished picture shown unscaled from the top-left corner; clicks
// are reported to the control, which decides.
#include <QImage>
#include <QPainter>

#include "ui/Controls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

class TPictureWidget : public QWidget {
public:
  explicit TPictureWidget(QWidget* parent) : QWidget(parent) {}

  void SetPicture(const gfx::Bitmap& picture, bool now) {
    if (FImage.width() != picture.Width() || FImage.height() != picture.Height())
      FImage = QImage(picture.Width(), picture.Height(), QImage::Format_RGB32);
    for (int y = 0; y < picture.Height(); ++y) {
      const gfx::TPixel* source = picture.Row(y);
      auto* target = reinterpret_cast<QRgb*>(FImage.scanLine(y));
      // Format_RGB32 wants the unused top byte set.
      for (int x = 0; x < picture.Width(); ++x) target[x] = 0xFF000000u | source[x];
    }
    // A picture that covers the widget is all there is to paint: nothing beneath it is drawn first.
    setAttribute(Qt::WA_OpaquePaintEvent, FImage.size() == size());
    if (now) repaint();
    else update();
  }

protected:
  void paintEvent(QPaintEvent*) override {
    if (FImage.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, FImage);
  }

private:
  QImage FImage;
};

class TPicturePeer : public TWidgetPeer, public IPicturePeer {
public:
  TPicturePeer(TGraphicControl& control, QWidget* parent)
      : TWidgetPeer(control, new TPictureWidget(parent), QPalette::NoRole) {
    ReportMouse();
  }
  // The picture already holds the control's colours and text.
  void SetFont(const gfx::TFontSpec&) override {}
  void SetColor(TColor) override {}
  void SetPicture(const gfx::Bitmap& picture, bool now) override {
    if (auto* widget = As<TPictureWidget>()) widget->SetPicture(picture, now);
  }
};

}  // namespace

std::unique_ptr<IPeer> MakePicturePeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TPicturePeer>(static_cast<TGraphicControl&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
