// The Qt peers' common part.
#include "widgetset/qt/WidgetPeer.h"

#include <QMouseEvent>

#include "ui/Forms.h"
#include "widgetset/qt/FontRaster.h"

namespace widgetset::qt {

namespace {

constexpr const char* ControlProperty = "brisko.control";

// Hands a widget's left presses and releases to its control, in the control's coordinates.
class TMouseReporter : public QObject {
public:
  TMouseReporter(QWidget* widget, TControl& control) : QObject(widget), FControl(control) {}

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return false;
    const QPoint at = mouse->position().toPoint();
    if (type == QEvent::MouseButtonPress)
      FControl.UserMouseDown(at.x(), at.y());
    else
      FControl.UserMouseUp(at.x(), at.y());
    return false;
  }

private:
  TControl& FControl;
};

}  // namespace

QColor ToQColor(TColor color) { return QColor::fromRgb(gfx::ToPixel(color)); }

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

void SetTextColour(QWidget* widget, TColor color) {
  QPalette palette = widget->palette();
  const QColor colour = ToQColor(color);
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
      palette.setColor(group, role, colour);
  widget->setPalette(palette);
}

void Dispose(QObject* object) {
  if (!object) return;
  if (Application && Application->DispatchDepth() > 0)
    object->deleteLater();
  else
    delete object;
}

TControl* ControlOf(const QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    const QVariant control = widget->property(ControlProperty);
    if (control.isValid()) return static_cast<TControl*>(control.value<void*>());
  }
  return nullptr;
}

TWidgetPeer::TWidgetPeer(TControl& control, QWidget* widget, QPalette::ColorRole background)
    : FControl(control), FWidget(widget), FBackground(background) {
  widget->setProperty(ControlProperty, QVariant::fromValue(static_cast<void*>(&control)));
}

TWidgetPeer::~TWidgetPeer() {
  for (const auto& connection : FConnections) QObject::disconnect(connection);
  if (FWidget) {
    FWidget->setProperty(ControlProperty, QVariant());
    FWidget->hide();
    Dispose(FWidget);
  }
}

void TWidgetPeer::SetBounds(const TRect& bounds) {
  if (FWidget) FWidget->setGeometry(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
}

void TWidgetPeer::SetVisible(bool visible) {
  if (FWidget) FWidget->setVisible(visible);
}

void TWidgetPeer::SetEnabled(bool enabled) {
  if (FWidget) FWidget->setEnabled(enabled);
}

void TWidgetPeer::SetFont(const gfx::TFontSpec& font) {
  if (!FWidget) return;
  FWidget->setFont(ToQFont(font));
  SetTextColour(FWidget, font.Color);
}

void TWidgetPeer::SetColor(TColor color) {
  if (!FWidget || FBackground == QPalette::NoRole) return;
  if (color == clNone) {
    FWidget->setAutoFillBackground(false);
    return;
  }
  QPalette palette = FWidget->palette();
  palette.setColor(FBackground, ToQColor(color));
  FWidget->setPalette(palette);
  // Buttons fill from their Button role by default; a check box must fill from the colour set here.
  if (FBackground == QPalette::Window) FWidget->setBackgroundRole(QPalette::Window);
  FWidget->setAutoFillBackground(FBackground == QPalette::Window);
}

void TWidgetPeer::SetFocus() {
  if (FWidget) FWidget->setFocus(Qt::OtherFocusReason);
}

void TWidgetPeer::ReportMouse() {
  if (FWidget) FWidget->installEventFilter(new TMouseReporter(FWidget, FControl));
}

QWidget* ParentWidget(IControlPeer* parent) {
  auto* peer = dynamic_cast<TWidgetPeer*>(parent);
  return peer ? peer->ClientWidget() : nullptr;
}

}  // namespace widgetset::qt
