// The Qt widget set: peers from Peers.h, message windows as hidden QObjects, the loop over
// processEvents. Objects whose owner goes away inside their own callback are deleted after it.
#include "widgetset/qt/WidgetSet.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyleHints>
#include <QTimerEvent>
#include <algorithm>
#include <chrono>
#include <map>

#include "ui/Forms.h"
#include "widgetset/qt/FormPeer.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

// The peer factories, one per control kind, each in the kind's own peer file.
std::unique_ptr<IPeer> MakeLabelPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeEditPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeGroupBoxPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakePanelPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakePageControlPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeTabSheetPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeButtonPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeCheckBoxPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeComboBoxPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeListBoxPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeTrackBarPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakeStatusBarPeer(TComponent&, IControlPeer*);
std::unique_ptr<IPeer> MakePicturePeer(TComponent&, IControlPeer*);

namespace {

constexpr uint32_t ShortestTimerMs = 10;

// Deletions asked for outside any event would otherwise wait for an exec() that never runs; those
// asked for inside one are delivered by processEvents itself.
void DeleteDisposed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The hidden window: Qt timers keyed by the owner's ids, and queued calls for posted messages.
class TMessageObject : public QObject {
public:
  explicit TMessageObject(platform::TWindowProc proc) : FProc(std::move(proc)) {}

  void SetTimer(uintptr_t id, uint32_t periodMs) {
    KillTimer(id);
    const int qtId = startTimer(std::chrono::milliseconds(std::max(periodMs, ShortestTimerMs)), Qt::PreciseTimer);
    if (qtId == 0) return;
    FTimers[id] = qtId;
    FIds[qtId] = id;
  }

  void KillTimer(uintptr_t id) {
    const auto it = FTimers.find(id);
    if (it == FTimers.end()) return;
    QObject::killTimer(it->second);
    FIds.erase(it->second);
    FTimers.erase(it);
  }

  // The owner is gone: no more ticks, and messages still queued find no procedure.
  void Close() {
    for (const auto& [id, qtId] : FTimers) QObject::killTimer(qtId);
    FTimers.clear();
    FIds.clear();
    FProc = nullptr;
  }

  void Deliver(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    if (!FProc) return;
    // The procedure may destroy its window, and with it FProc.
    const platform::TWindowProc proc = FProc;
    ++FDelivering;
    proc(msg, wParam, lParam);
    --FDelivering;
  }
  // An object in its own event handler must not be deleted there.
  bool Delivering() const { return FDelivering > 0; }

protected:
  void timerEvent(QTimerEvent* event) override {
    const auto it = FIds.find(event->timerId());
    if (it != FIds.end()) Deliver(platform::WmTimer, it->second, 0);
  }

private:
  platform::TWindowProc FProc;
  int FDelivering = 0;
  std::map<uintptr_t, int> FTimers;
  std::map<int, uintptr_t> FIds;
};

class TMessageWindow : public platform::IMessageWindow {
public:
  explicit TMessageWindow(platform::TWindowProc proc) : FObject(new TMessageObject(std::move(proc))) {}
  ~TMessageWindow() override {
    if (!FObject) return;
    FObject->Close();
    if (FObject->Delivering())
      FObject->deleteLater();
    else
      delete FObject.data();
  }
  TMessageWindow(const TMessageWindow&) = delete;
  TMessageWindow& operator=(const TMessageWindow&) = delete;

  void SetTimer(uintptr_t id, uint32_t periodMs) override {
    if (FObject) FObject->SetTimer(id, periodMs);
  }
  void KillTimer(uintptr_t id) override {
    if (FObject) FObject->KillTimer(id);
  }
  void SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override {
    if (FObject) FObject->Deliver(msg, wParam, lParam);
  }
  void PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override {
    TMessageObject* object = FObject;
    if (!object) return;
    // Queued on the object itself, so deleting the object drops what is still queued.
    QMetaObject::invokeMethod(
        object, [object, msg, wParam, lParam] { object->Deliver(msg, wParam, lParam); }, Qt::QueuedConnection);
  }

private:
  QPointer<TMessageObject> FObject;
};

}  // namespace

TWidgetSet::TWidgetSet(int& argc, char** argv) {
  QGuiApplication::setDesktopFileName("brisko");
  QCoreApplication::setOrganizationName("Norvanta Tech");
  if (!QCoreApplication::instance()) FApplication = std::make_unique<QApplication>(argc, argv);
  // The framework decides when the program ends; Qt must not quit when the last window hides.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  InstallFontSubstitutions();
  gfx::SetFontRaster(&FFonts);
  Register<IFormPeer>(MakeFormPeer);
  Register<ILabelPeer>(MakeLabelPeer);
  Register<IEditPeer>(MakeEditPeer);
  Register<IGroupBoxPeer>(MakeGroupBoxPeer);
  Register<IPanelPeer>(MakePanelPeer);
  Register<IPageControlPeer>(MakePageControlPeer);
  Register<ITabSheetPeer>(MakeTabSheetPeer);
  Register<IButtonPeer>(MakeButtonPeer);
  Register<ICheckBoxPeer>(MakeCheckBoxPeer);
  Register<IComboBoxPeer>(MakeComboBoxPeer);
  Register<IListBoxPeer>(MakeListBoxPeer);
  Register<ITrackBarPeer>(MakeTrackBarPeer);
  Register<IStatusBarPeer>(MakeStatusBarPeer);
  Register<IPicturePeer>(MakePicturePeer);
  // The focus moves natively (clicks, the window manager); the window keeps track of its control.
  FFocusConnection = QObject::connect(qApp, &QApplication::focusChanged, [](QWidget*, QWidget* now) {
    if (TControl* control = ControlOf(now)) control->UserFocused();
  });
}

TWidgetSet::~TWidgetSet() {
  QObject::disconnect(FFocusConnection);
  SetCursor(TCursor::Default);
  if (&gfx::CurrentFontRaster() == &FFonts) gfx::SetFontRaster(nullptr);
  DeleteDisposed();
  FApplication.reset();
}

std::unique_ptr<platform::IMessageWindow> TWidgetSet::CreateMessageWindow(platform::TWindowProc proc) {
  return std::make_unique<TMessageWindow>(std::move(proc));
}

void TWidgetSet::HandleMessage() {
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  if (!Application || Application->DispatchDepth() == 0) DeleteDisposed();
}

void TWidgetSet::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (!Application || Application->DispatchDepth() == 0) DeleteDisposed();
}

std::unique_ptr<QMessageBox> TWidgetSet::BuildMessageBox(const std::string& text, const std::string& caption,
                                                        uint32_t flags) {
  auto box = std::make_unique<QMessageBox>();
  box->setWindowTitle(FromUtf8(caption));
  box->setTextFormat(Qt::PlainText);
  box->setText(FromUtf8(text));
  switch (flags & 0xF0) {
    case MbIconError: box->setIcon(QMessageBox::Critical); break;
    case MbIconQuestion: box->setIcon(QMessageBox::Question); break;
    case MbIconWarning: box->setIcon(QMessageBox::Warning); break;
    case MbIconInformation: box->setIcon(QMessageBox::Information); break;
    default: box->setIcon(QMessageBox::NoIcon); break;
  }
  QPushButton* ok = box->addButton(QString::fromUtf8("确定"), QMessageBox::AcceptRole);
  box->setDefaultButton(ok);
  if ((flags & 0xF) == MbOkCancel)
    box->setEscapeButton(box->addButton(QString::fromUtf8("取消"), QMessageBox::RejectRole));
  else
    box->setEscapeButton(ok);
  box->setWindowModality(Qt::ApplicationModal);
  return box;
}

int TWidgetSet::AnswerOf(const QMessageBox& box) {
  QAbstractButton* clicked = box.clickedButton();
  if (clicked) return box.buttonRole(clicked) == QMessageBox::RejectRole ? IdCancel : IdOk;
  for (QAbstractButton* button : box.buttons())
    if (box.buttonRole(button) == QMessageBox::RejectRole) return IdCancel;
  return IdOk;
}

int TWidgetSet::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  const std::unique_ptr<QMessageBox> box = BuildMessageBox(text, caption, flags);
  box->exec();
  return AnswerOf(*box);
}

void TWidgetSet::SetCursor(TCursor cursor) {
  // At most one override of ours is on Qt's stack, however often the program asks for the hourglass.
  if (cursor == TCursor::HourGlass) {
    if (FWaitCursor) return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    FWaitCursor = true;
  } else if (FWaitCursor) {
    QGuiApplication::restoreOverrideCursor();
    FWaitCursor = false;
  }
}

TRect TWidgetSet::DesktopRect() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect r = screen->availableGeometry();
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

TPoint TWidgetSet::CursorPos() {
  const QPoint at = QCursor::pos();
  return {at.x(), at.y()};
}

unsigned TWidgetSet::KeyboardShiftState() {
  const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
  return (keys & Qt::ShiftModifier ? ShiftState::Shift : 0) | (keys & Qt::ControlModifier ? ShiftState::Ctrl : 0) |
         (keys & Qt::AltModifier ? ShiftState::Alt : 0);
}

uint32_t TWidgetSet::DoubleClickTime() { return static_cast<uint32_t>(QGuiApplication::styleHints()->mouseDoubleClickInterval()); }

}  // namespace widgetset::qt
