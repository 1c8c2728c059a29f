// The form's window and peer (see FormPeer.h).
#include "widgetset/qt/FormPeer.h"
#include "ui/WindowsNumbers.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImageReader>
#include <QKeyEvent>
#include <QWindowStateChangeEvent>
#include <QThread>
#include <QWindow>
#include <algorithm>

namespace widgetset::qt {

namespace {

class TFormWindow : public QWidget {
public:
  TFormWindow(TCustomForm& form, Qt::WindowFlags flags) : QWidget(nullptr, flags), FForm(&form) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);
  }
  void Detach() { FForm = nullptr; }

protected:
  void closeEvent(QCloseEvent* event) override {
    // The form decides what closing means; the window itself never closes on its own.
    event->ignore();
    // A disabled window (behind a modal one) takes no input, its close box included.
    if (FForm && isEnabled()) FForm->UserClosed();
  }

  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (!FForm) return;
    if (event->type() == QEvent::WindowStateChange) ReportMinimized(static_cast<QWindowStateChangeEvent&>(*event));
    if (event->type() != QEvent::ActivationChange) return;
    if (isActiveWindow())
      FForm->UserActivated();
    else
      FForm->UserDeactivated();
  }

  void showEvent(QShowEvent* event) override {
    QWidget::showEvent(event);
    ReportFrame();
  }

  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    ReportFrame();
  }

  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && FForm && FForm->UserKeyDown(TKey::Return, 0)) return;
    QWidget::keyPressEvent(event);
  }

  // Tab and Shift+Tab from any widget of the window end up here: the form moves the focus.
  bool focusNextPrevChild(bool next) override {
    if (!FForm) return QWidget::focusNextPrevChild(next);
    FForm->UserKeyDown(TKey::Tab, next ? 0 : ShiftState::Shift);
    return true;
  }

private:
  // Qt tells of a minimise only once it happened: the form hears it as the minimise command, and
  // when a hook takes it over (hiding the window into the notification area) the window is no longer
  // minimised, so that it comes back as it was; otherwise as the report that it is minimised now.
  void ReportMinimized(const QWindowStateChangeEvent& event) {
    if (!(windowState() & Qt::WindowMinimized) || (event.oldState() & Qt::WindowMinimized)) return;
    TMessage command{WindowMessage::SysCommand, WindowMessage::ScMinimize};
    bool handled = false;
    TCustomForm* form = FForm;
    Application->Dispatch([&] { handled = form->UserWindowMessage(command); });
    if (handled) {
      setWindowState(windowState() & ~Qt::WindowMinimized);
      return;
    }
    TMessage report{WindowMessage::Size, WindowMessage::SizeMinimized};
    Application->Dispatch([&] { form->UserWindowMessage(report); });
  }

  // The frame is known only once the window manager has framed the window; the form may want to
  // place the window again then.
  void ReportFrame() {
    const QMargins frame = FrameMargins(*this);
    if (!FForm || !isVisible() || frame == FReported) return;
    FReported = frame;
    FForm->UserFrameChanged();
  }

  TCustomForm* FForm;
  QMargins FReported;
};

class TFormPeer : public TWidgetPeer, public IFormPeer {
public:
  explicit TFormPeer(TCustomForm& form)
      : TWidgetPeer(form, new TFormWindow(form, FormWindowFlags(form)), QPalette::Window),
        FFixedSize(form.BorderStyle() != TFormBorderStyle::Sizeable) {
    As<QWidget>()->setContentsMargins(0, 0, 0, 0);
  }

  ~TFormPeer() override {
    if (auto* window = As<TFormWindow>()) window->Detach();
  }

  void SetBounds(const TRect& bounds) override {
    auto* window = As<TFormWindow>();
    if (!window) return;
    if (FFixedSize) window->setFixedSize(bounds.Width(), bounds.Height());
    // For a window, the geometry is its client area on the desktop.
    window->setGeometry(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  }

  void SetVisible(bool visible) override {
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

  void SetText(const std::string& text) override {
    if (auto* window = As<TFormWindow>()) window->setWindowTitle(FromUtf8(text));
  }

  void SetIcon(const TIconData& icon) override {
    if (auto* window = As<TFormWindow>()) window->setWindowIcon(IconFromIco(icon));
  }

  TRect FrameExtents() override {
    const auto* window = As<TFormWindow>();
    if (!window) return {};
    const QMargins m = FrameMargins(*window);
    return {m.left(), m.top(), m.right(), m.bottom()};
  }

  void Repaint() override {
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

  void BringToFront() override {
    if (auto* window = As<TFormWindow>()) {
      window->raise();
      window->activateWindow();
    }
  }

  void SetMinimized(bool minimized) override {
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

private:
  bool FFixedSize;
};

}  // namespace

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

QMargins FrameMargins(const QWidget& window) {
  const QRect inner = window.geometry(), frame = window.frameGeometry();
  return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
          frame.bottom() - inner.bottom()};
}

std::unique_ptr<IPeer> MakeFormPeer(TComponent& form, IControlPeer*) {
  return std::make_unique<TFormPeer>(static_cast<TCustomForm&>(form));
}

}  // namespace widgetset::qt
