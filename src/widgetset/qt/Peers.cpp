// The Qt peers: plain widgets without layouts, so that every child sits at its control's bounds, and
// palettes in the classic colour scheme. Input reaches the controls only through their User* sinks.
#include "widgetset/qt/Peers.h"

#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QThread>
#include <QWindow>
#include <algorithm>

#include "gfx/Colors.h"
#include "widgetset/qt/FontRaster.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace widgetset::qt {

namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Text in the font's colour while the widget is enabled; disabled text keeps the style's grey.
void SetTextColour(QWidget* widget, TColor color) {
  QPalette palette = widget->palette();
  const QColor colour = ToQColor(color);
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
      palette.setColor(group, role, colour);
  widget->setPalette(palette);
}

// The classic edges of a sunken panel, one pixel wide.
constexpr TColor clBtnHighlight = SystemColor(20);

}  // namespace

QColor ToQColor(TColor color) { return QColor::fromRgb(gfx::ToPixel(color)); }

void Dispose(QObject* object) {
  if (!object) return;
  if (Application && Application->DispatchDepth() > 0)
    object->deleteLater();
  else
    delete object;
}

// ---- TWidgetPeer

TWidgetPeer::TWidgetPeer(QWidget* widget, QPalette::ColorRole background) : FWidget(widget), FBackground(background) {}

TWidgetPeer::~TWidgetPeer() {
  for (const auto& connection : FConnections) QObject::disconnect(connection);
  if (FWidget) {
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

QWidget* ParentWidget(IControlPeer& parent) {
  auto* peer = dynamic_cast<TWidgetPeer*>(&parent);
  return peer ? peer->Widget() : nullptr;
}

// ---- Simple controls

TLabelPeer::TLabelPeer(TLabel&, QWidget* parent) : TWidgetPeer(new QLabel(parent), QPalette::Window) {
  auto* label = As<QLabel>();
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(false);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setMargin(0);
  label->setIndent(0);
  label->setContentsMargins(0, 0, 0, 0);
}

void TLabelPeer::SetText(const std::string& text) {
  if (auto* label = As<QLabel>()) label->setText(FromUtf8(text));
}

TEditPeer::TEditPeer(TEdit& control, QWidget* parent) : TWidgetPeer(new QLineEdit(parent), QPalette::Base) {
  auto* edit = As<QLineEdit>();
  edit->setReadOnly(control.ReadOnly());
  edit->setFrame(control.BorderStyle() == TBorderStyle::Single);
  edit->setTextMargins(0, 0, 0, 0);
  edit->setContentsMargins(0, 0, 0, 0);
  edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void TEditPeer::SetText(const std::string& text) {
  auto* edit = As<QLineEdit>();
  if (!edit) return;
  const QSignalBlocker blocker(edit);
  edit->setText(FromUtf8(text));
  // The beginning shows when the text is wider than the box, as in a classic edit.
  edit->setCursorPosition(0);
}

TGroupBoxPeer::TGroupBoxPeer(TGroupBox&, QWidget* parent) : TWidgetPeer(new QGroupBox(parent), QPalette::Window) {
  // Children are placed by hand relative to the box's top-left; no layout ever moves them.
  As<QGroupBox>()->setContentsMargins(0, 0, 0, 0);
}

void TGroupBoxPeer::SetText(const std::string& text) {
  if (auto* box = As<QGroupBox>()) box->setTitle(FromUtf8(text));
}

TPanelPeer::TPanelPeer(TPanel& control, QWidget* parent) : TWidgetPeer(new QFrame(parent), QPalette::Window) {
  auto* frame = As<QFrame>();
  if (control.BorderStyle() == TBorderStyle::Single) {
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
  } else {
    frame->setFrameStyle(QFrame::NoFrame);
  }
  frame->setContentsMargins(0, 0, 0, 0);
}

TButtonPeer::TButtonPeer(TButton& control, QWidget* parent) : TWidgetPeer(new QPushButton(parent), QPalette::Button) {
  auto* button = As<QPushButton>();
  button->setAutoDefault(false);
  Connect(button, &QPushButton::clicked, [&control] {
    control.UserClicked();
  });
}

void TButtonPeer::SetText(const std::string& text) {
  if (auto* button = As<QPushButton>()) button->setText(FromUtf8(text));
}

void TButtonPeer::SetDefault(bool isDefault) {
  if (auto* button = As<QPushButton>()) button->setDefault(isDefault);
}

TCheckBoxPeer::TCheckBoxPeer(TCheckBox& control, QWidget* parent) : TWidgetPeer(new QCheckBox(parent), QPalette::Window) {
  Connect(As<QCheckBox>(), &QCheckBox::toggled, [&control](bool checked) {
    control.UserToggled(checked);
  });
}

void TCheckBoxPeer::SetText(const std::string& text) {
  if (auto* box = As<QCheckBox>()) box->setText(FromUtf8(text));
}

void TCheckBoxPeer::SetChecked(bool checked) {
  auto* box = As<QCheckBox>();
  if (!box) return;
  const QSignalBlocker blocker(box);
  box->setChecked(checked);
}

TComboBoxPeer::TComboBoxPeer(TComboBox& control, QWidget* parent) : TWidgetPeer(new QComboBox(parent), QPalette::Base) {
  auto* combo = As<QComboBox>();
  combo->setEditable(false);
  // activated is the user's choice only; currentIndexChanged would also report the program's.
  Connect(combo, &QComboBox::activated, [&control](int index) {
    control.UserSelected(index);
  });
}

void TComboBoxPeer::SetItems(const std::vector<std::string>& items) {
  auto* combo = As<QComboBox>();
  if (!combo) return;
  const QSignalBlocker blocker(combo);
  combo->clear();
  for (const std::string& item : items) combo->addItem(FromUtf8(item));
}

void TComboBoxPeer::SetItemIndex(int index) {
  auto* combo = As<QComboBox>();
  if (!combo) return;
  const QSignalBlocker blocker(combo);
  combo->setCurrentIndex(index);
}

TTrackBarPeer::TTrackBarPeer(TTrackBar& control, QWidget* parent)
    : TWidgetPeer(new QSlider(Qt::Horizontal, parent), QPalette::Window) {
  auto* slider = As<QSlider>();
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setSingleStep(1);
  Connect(slider, &QSlider::valueChanged, [&control](int value) {
    control.UserMovedTo(value);
  });
}

QSlider* TTrackBarPeer::Slider() const { return As<QSlider>(); }

void TTrackBarPeer::SetRange(int min, int max) {
  auto* slider = As<QSlider>();
  if (!slider) return;
  const QSignalBlocker blocker(slider);
  slider->setRange(min, max);
  // A classic slider pages by a fifth of its range.
  slider->setPageStep(std::max(1, (max - min) / 5));
}

void TTrackBarPeer::SetPosition(int position) {
  auto* slider = As<QSlider>();
  if (!slider) return;
  const QSignalBlocker blocker(slider);
  slider->setValue(position);
}

void TTrackBarPeer::SetFrequency(int frequency) {
  if (auto* slider = As<QSlider>()) slider->setTickInterval(std::max(frequency, 0));
}

// ---- Status bar

TStatusBarWidget::TStatusBarWidget(QWidget* parent) : QWidget(parent) {
  // The system's status-bar font: the desktop's sans face at 9 points (12 pixels at 96 dpi).
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPixelSize(12);
  QWidget::setFont(font);
  setAutoFillBackground(true);
}

void TStatusBarWidget::SetPanels(const std::vector<TStatusPanelSpec>& panels) {
  FPanels = panels;
  update();
}

QRect TStatusBarWidget::PanelRect(size_t index) const {
  if (index >= FPanels.size()) return {};
  int left = 0;
  for (size_t i = 0; i < index; ++i) left += std::max(FPanels[i].Width, 0);
  const bool last = index + 1 == FPanels.size();
  // Panels are two pixels apart; the last one ends at the bar's right edge.
  const int right = last ? width() : std::min(left + std::max(FPanels[index].Width, 0) - 2, width());
  if (right <= left) return {};
  return QRect(QPoint(left, 2), QPoint(right - 1, height() - 1));
}

void TStatusBarWidget::paintEvent(QPaintEvent*) {
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

TStatusBarPeer::TStatusBarPeer(TStatusBar&, QWidget* parent) : TWidgetPeer(new TStatusBarWidget(parent), QPalette::Window) {}

void TStatusBarPeer::SetFont(const gfx::TFontSpec& font) {
  if (auto* bar = As<TStatusBarWidget>()) SetTextColour(bar, font.Color);
}

void TStatusBarPeer::SetPanels(const std::vector<TStatusPanelSpec>& panels) {
  if (auto* bar = As<TStatusBarWidget>()) bar->SetPanels(panels);
}

// ---- Pictures

TPictureWidget::TPictureWidget(QWidget* parent) : QWidget(parent) {}

void TPictureWidget::SetPicture(const gfx::Bitmap& picture) {
  if (FImage.width() != picture.Width() || FImage.height() != picture.Height())
    FImage = QImage(picture.Width(), picture.Height(), QImage::Format_RGB32);
  for (int y = 0; y < picture.Height(); ++y) {
    const gfx::TPixel* source = picture.Row(y);
    auto* target = reinterpret_cast<QRgb*>(FImage.scanLine(y));
    // Format_RGB32 wants the unused top byte set.
    for (int x = 0; x < picture.Width(); ++x) target[x] = 0xFF000000u | source[x];
  }
  update();
}

void TPictureWidget::paintEvent(QPaintEvent*) {
  if (FImage.isNull()) return;
  QPainter painter(this);
  painter.drawImage(0, 0, FImage);
}

TPicturePeer::TPicturePeer(TGraphicControl&, QWidget* parent) : TWidgetPeer(new TPictureWidget(parent), QPalette::NoRole) {}

void TPicturePeer::SetPicture(const gfx::Bitmap& picture) {
  if (auto* widget = As<TPictureWidget>()) widget->SetPicture(picture);
}

// ---- Forms

Qt::WindowFlags FormWindowFlags(const TCustomForm& form) {
  if (form.BorderStyle() == TFormBorderStyle::None) return Qt::Window | Qt::FramelessWindowHint;
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  const unsigned icons = form.BorderIcons();
  if (icons & BorderIcon::SystemMenu) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    // Without the system menu there are no title-bar buttons at all, as in the classic frame.
    if (icons & BorderIcon::Minimize) flags |= Qt::WindowMinimizeButtonHint;
    if (icons & BorderIcon::Maximize) flags |= Qt::WindowMaximizeButtonHint;
  }
  return flags;
}

QIcon IconFromIco(const TIconData& icon) {
  QIcon result;
  if (icon.IcoFile.empty()) return result;
  QByteArray bytes(reinterpret_cast<const char*>(icon.IcoFile.data()), static_cast<qsizetype>(icon.IcoFile.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "ico");
  const int count = std::max(reader.imageCount(), 1);
  for (int i = 0; i < count; ++i) {
    if (!reader.jumpToImage(i) && i > 0) break;
    const QImage image = reader.read();
    if (!image.isNull()) result.addPixmap(QPixmap::fromImage(image));
  }
  return result;
}

TFormWindow::TFormWindow(TCustomForm& form, Qt::WindowFlags flags) : QWidget(nullptr, flags), FForm(&form) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setAttribute(Qt::WA_QuitOnClose, false);
}

void TFormWindow::CenterOnDesktop() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect desk = screen->availableGeometry();
  const QRect inner = geometry();
  const QRect frame = frameGeometry();
  FCentredWith = QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                          frame.bottom() - inner.bottom());
  const QSize size = frame.size();
  // move() places the frame of a window, not its client area.
  move(desk.left() + (desk.width() - size.width()) / 2, desk.top() + (desk.height() - size.height()) / 2);
  FCenterPending = !isVisible();
}

void TFormWindow::closeEvent(QCloseEvent* event) {
  // The form decides what closing means; the window itself never closes on its own.
  event->ignore();
  // A disabled window (behind a modal one) takes no input, its close box included.
  if (!FForm || !isEnabled()) return;
  FForm->UserClosed();
}

void TFormWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !FForm) return;
  if (isActiveWindow()) {
    // The window manager has framed the window by the time it activates it.
    if (FCenterPending) CenterOnDesktop();
    FCenterPending = false;
    FForm->UserActivated();
  } else {
    FForm->UserDeactivated();
  }
}

void TFormWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (FCenterPending) {
    CenterOnDesktop();
    FCenterPending = true;
  }
}

void TFormWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (!FCenterPending || !isVisible()) return;
  const QRect inner = geometry(), frame = frameGeometry();
  const QMargins now(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                     frame.bottom() - inner.bottom());
  if (now == FCentredWith) return;
  CenterOnDesktop();
  FCenterPending = false;
}

void TFormWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
    QWidget::keyPressEvent(event);
    return;
  }
  // Enter presses the focused button, or else the window's default button, as in a dialog.
  QPushButton* target = qobject_cast<QPushButton*>(focusWidget());
  if (!target)
    for (QPushButton* button : findChildren<QPushButton*>())
      if (button->isDefault() && button->isVisible() && button->isEnabled()) {
        target = button;
        break;
      }
  if (target && target->isVisible() && target->isEnabled())
    target->click();
  else
    QWidget::keyPressEvent(event);
}

TFormPeer::TFormPeer(TCustomForm& form)
    : TWidgetPeer(new TFormWindow(form, FormWindowFlags(form)), QPalette::Window),
      FFixedSize(form.BorderStyle() != TFormBorderStyle::Sizeable) {
  As<QWidget>()->setContentsMargins(0, 0, 0, 0);
}

TFormPeer::~TFormPeer() {
  if (auto* window = As<TFormWindow>()) window->Detach();
}

void TFormPeer::SetBounds(const TRect& bounds) {
  auto* window = As<TFormWindow>();
  if (!window) return;
  if (FFixedSize) window->setFixedSize(bounds.Width(), bounds.Height());
  // For a window, the geometry is its client area on the desktop.
  window->setGeometry(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
}

void TFormPeer::SetVisible(bool visible) {
  auto* window = As<TFormWindow>();
  if (!window) return;
  if (!visible) {
    window->hide();
    return;
  }
  window->show();
  window->raise();
  window->activateWindow();
}

void TFormPeer::SetText(const std::string& text) {
  if (auto* window = As<TFormWindow>()) window->setWindowTitle(FromUtf8(text));
}

void TFormPeer::SetIcon(const TIconData& icon) {
  if (auto* window = As<TFormWindow>()) window->setWindowIcon(IconFromIco(icon));
}

void TFormPeer::CenterOnDesktop() {
  if (auto* window = As<TFormWindow>()) window->CenterOnDesktop();
}

void TFormPeer::Repaint() {
  auto* window = As<TFormWindow>();
  if (!window || !window->isVisible()) return;
  // A window just shown is mapped by the window system asynchronously; painting before that is lost.
  QWindow* handle = window->windowHandle();
  QElapsedTimer waited;
  waited.start();
  while (handle && !handle->isExposed() && waited.elapsed() < 500) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!handle->isExposed()) QThread::msleep(2);
  }
  window->repaint();
}

void TFormPeer::SetMinimized(bool minimized) {
  auto* window = As<TFormWindow>();
  if (!window) return;
  if (minimized) {
    window->showMinimized();
    return;
  }
  window->showNormal();
  window->raise();
  window->activateWindow();
}

}  // namespace widgetset::qt
