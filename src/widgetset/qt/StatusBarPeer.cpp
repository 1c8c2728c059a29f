// A classic status bar drawn by hand (sunken panels, the last one reaching the right end), which is a
// plain widget so that hosted controls are its children and paint over the panels.
#include <QFontDatabase>
#include <QPainter>
#include <algorithm>

#include "ui/ComCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

// The classic edges of a sunken panel, one pixel wide.
constexpr TColor clBtnHighlight = SystemColor(20);

class TStatusBarWidget : public QWidget {
public:
  explicit TStatusBarWidget(QWidget* parent) : QWidget(parent) {
    // The system's status-bar font: the desktop's sans face at 9 points (12 pixels at 96 dpi).
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(12);
    QWidget::setFont(font);
    setAutoFillBackground(true);
  }

  void SetPanels(const std::vector<TStatusPanelSpec>& panels) {
    FPanels = panels;
    update();
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QColor shadow = ToQColor(clBtnShadow), highlight = ToQColor(clBtnHighlight);
    const QFontMetrics metrics(font());
    for (size_t i = 0; i < FPanels.size(); ++i) {
      const QRect r = PanelRect(i);
      if (r.isEmpty()) continue;
      painter.setPen(shadow);
      painter.drawLine(r.topLeft(), r.topRight());
      painter.drawLine(r.topLeft(), r.bottomLeft());
      painter.setPen(highlight);
      painter.drawLine(r.bottomLeft(), r.bottomRight());
      painter.drawLine(r.topRight(), r.bottomRight());
      // Right-to-left reading applies only on right-to-left locales; elsewhere text is left-aligned.
      const QRect inside = r.adjusted(1, 1, -1, -1);
      painter.save();
      painter.setClipRect(inside);
      painter.setPen(palette().color(QPalette::WindowText));
      const int baseline = inside.top() + (inside.height() - metrics.height()) / 2 + metrics.ascent();
      painter.drawText(inside.left() + 2, baseline, FromUtf8(FPanels[i].Text));
      painter.restore();
    }
  }

private:
  // The sunken frame of panel index; empty when there is no such panel.
  QRect PanelRect(size_t index) const {
    if (index >= FPanels.size()) return {};
    int left = 0;
    for (size_t i = 0; i < index; ++i) left += std::max(FPanels[i].Width, 0);
    const bool last = index + 1 == FPanels.size();
    // Panels are two pixels apart; the last one ends at the bar's right edge.
    const int right = last ? width() : std::min(left + std::max(FPanels[index].Width, 0) - 2, width());
    if (right <= left) return {};
    return QRect(QPoint(left, 2), QPoint(right - 1, height() - 1));
  }

  std::vector<TStatusPanelSpec> FPanels;
};

class TStatusBarPeer : public TWidgetPeer, public IStatusBarPeer {
public:
  TStatusBarPeer(TStatusBar& control, QWidget* parent)
      : TWidgetPeer(control, new TStatusBarWidget(parent), QPalette::Window) {}

  // The bar keeps the system's status-bar font; only the control's text colour is taken.
  void SetFont(const gfx::TFontSpec& font) override {
    if (auto* bar = As<TStatusBarWidget>()) SetTextColour(bar, font.Color);
  }

  void SetPanels(const std::vector<TStatusPanelSpec>& panels) override {
    if (auto* bar = As<TStatusBarWidget>()) bar->SetPanels(panels);
  }
};

}  // namespace

std::unique_ptr<IPeer> MakeStatusBarPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TStatusBarPeer>(static_cast<TStatusBar&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
