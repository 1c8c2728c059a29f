// Group boxes drawn as the classic Windows group box: an etched frame whose top line runs through the
// middle of the caption, the caption 8 pixels in from the left on the box's own colour. The children
// are placed by hand relative to the box's top-left corner; no layout or style margin moves them.
#include <QPainter>

#include "ui/StdCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

constexpr TColor clBtnHighlight = SystemColor(20);
constexpr int CaptionInset = 8;

class TGroupBoxWidget : public QWidget {
public:
  explicit TGroupBoxWidget(QWidget* parent) : QWidget(parent) {}

  void SetCaption(const QString& caption) {
    FCaption = caption;
    setAccessibleName(caption);
    update();
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    const QRect frame(0, top, width(), height() - top);
    // The etched edge: a shadow line with a highlight line one pixel right and below it.
    painter.setPen(ToQColor(clBtnHighlight));
    painter.drawRect(frame.adjusted(1, 1, -1, -1));
    painter.setPen(ToQColor(clBtnShadow));
    painter.drawRect(frame.adjusted(0, 0, -2, -2));
    if (FCaption.isEmpty()) return;
    const int textWidth = metrics.horizontalAdvance(FCaption);
    painter.fillRect(QRect(CaptionInset - 2, 0, textWidth + 4, metrics.height()), palette().color(QPalette::Window));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(CaptionInset, metrics.ascent(), FCaption);
  }

private:
  QString FCaption;
};

class TGroupBoxPeer : public TWidgetPeer, public IGroupBoxPeer {
public:
  TGroupBoxPeer(TGroupBox& control, QWidget* parent) : TWidgetPeer(control, new TGroupBoxWidget(parent), QPalette::Window) {}

  void SetText(const std::string& text) override {
    if (auto* box = As<TGroupBoxWidget>()) box->SetCaption(FromUtf8(text));
  }
};

}  // namespace

std::unique_ptr<IPeer> MakeGroupBoxPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TGroupBoxPeer>(static_cast<TGroupBox&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
