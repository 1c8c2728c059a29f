// The Qt widget set under the offscreen platform: a small window built with the framework, checked
// on the native side (geometry, flags, palettes, fonts, drawing) and driven through native input;
// message windows and the loop; message boxes; the cursor; the glyph source.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>

#include "FakeHost.h"
#include "app/Brisko.h"
#include "app/uInfo.h"
#include "app/uMain.h"
#include "sysinfo/UCpu.h"
#include "gfx/Colors.h"
#include "platform/Resources.h"
#include "widgetset/qt/FontRaster.h"
#include "widgetset/qt/FormPeer.h"
#include "widgetset/qt/WidgetPeer.h"
#include "widgetset/qt/WidgetSet.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "base/SysUtils.h"
#include "widgets/Gauges.h"

using widgetset::qt::TWidgetPeer;
using widgetset::qt::TWidgetSet;

namespace {

// Records message boxes instead of showing them, unless told to show the real one.
class TRecordingWidgetSet : public TWidgetSet {
public:
  using TWidgetSet::TWidgetSet;
  struct TCall {
    std::string Text, Caption;
    uint32_t Flags;
  };
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
    if (ShowReal) return TWidgetSet::MessageBox(text, caption, flags);
    Calls.push_back({text, caption, flags});
    return IdOk;
  }
  std::vector<TCall> Calls;
  bool ShowReal = false;
};

// A status bar that hosts controls, as the main window's does.
class THostBar : public TStatusBar {
public:
  explicit THostBar(TComponent* owner) : TStatusBar(owner) { FAcceptsControls = true; }
};

class TTestForm : public TForm {
public:
  explicit TTestForm(TComponent* owner, TFormBorderStyle style = TFormBorderStyle::Single) : TForm(owner) {
    SetCaption("测试窗口");
    SetBorderStyle(style);
    SetBorderIcons(BorderIcon::SystemMenu | BorderIcon::Minimize);
    SetClientSize(300, 200);
    Group = Add<TGroupBox>("Group", this, 8, 8, 150, 100, "组");
    Button = Add<TButton>("Button", Group, 10, 20, 75, 25, "按钮");
    Label = Add<TLabel>("Label", Group, 12, 60, 0, 0, "内存");
    Caption0 = Add<TLabel>("Caption0", Group, 12, 80, 0, 0, "");
    Track = Add<TTrackBar>("Track", this, 170, 8, 120, 30);
    Track->SetMax(100);
    Track->SetPosition(80);
    Track->SetFrequency(10);
    Check = Add<TCheckBox>("Check", this, 170, 44, 120, 17, "开机启动");
    Combo = Add<TComboBox>("Combo", this, 170, 66, 120, 21);
    Combo->SetItems({"一", "二", "三"});
    Edit = Add<TEdit>("Edit", this, 170, 94, 41, 17);
    Edit->SetReadOnly(true);
    Edit->SetBorderStyle(TBorderStyle::None);
    Edit->SetParentColor(true);
    Edit->SetText("1234");
    Panel = Add<TPanel>("Panel", this, 8, 120, 100, 40);
    Panel->SetBorderStyle(TBorderStyle::Single);
    Ok = Add<TButton>("Ok", this, 170, 130, 75, 25, "确定");
    Ok->SetDefault(true);
    Bar = Add<THostBar>("Bar", this, 0, 0, 0, 19);
    Bar->SetPanels({{"CPU频率:", 200, true}, {"", 100, false}});
    Hosted = Add<TImage>("Hosted", Bar, 204, 2, 90, 16);
    gfx::Canvas& canvas = Hosted->Canvas();
    canvas.Brush.Color = clRed;
    canvas.FillRect(Hosted->ClientRect());
    Hosted->Changed();
    EndCreate();
  }
  TGroupBox* Group;
  TButton* Button;
  TLabel* Label;
  TLabel* Caption0;
  TTrackBar* Track;
  TCheckBox* Check;
  TComboBox* Combo;
  TEdit* Edit;
  TPanel* Panel;
  TButton* Ok;
  THostBar* Bar;
  TImage* Hosted;
};

template <class W = QWidget>
W* Native(const TControl* control) {
  auto* peer = dynamic_cast<TWidgetPeer*>(control->Peer());
  return peer ? qobject_cast<W*>(peer->Widget()) : nullptr;
}

// The control's bounds in the form's client coordinates, from the framework's side.
QRect FormBounds(const TControl* control) {
  QPoint origin(control->Left(), control->Top());
  for (const TWinControl* p = control->Parent(); p && !dynamic_cast<const TCustomForm*>(p); p = p->Parent())
    origin += QPoint(p->Left(), p->Top());
  return {origin, QSize(control->Width(), control->Height())};
}

QRgb Rgb(TColor color) { return 0xFF000000u | gfx::ToPixel(color); }

bool PumpUntil(const std::function<bool()>& done, int ms = 2000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Runs the event loop for ms milliseconds.
void RunFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

class QtWidgetSetTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Widgets = new TRecordingWidgetSet(Argc, Argv);
  }
  static void TearDownTestSuite() {
    delete Widgets;
    Widgets = nullptr;
  }
  void SetUp() override {
    Widgets->Calls.clear();
    Widgets->ShowReal = false;
    App = std::make_unique<TApplication>(*Widgets);
    App->SetTitle("Brisko内存整理 4.0");
  }
  void TearDown() override {
    App.reset();
    QCoreApplication::processEvents();
  }
  TTestForm* MakeForm(TFormBorderStyle style = TFormBorderStyle::Single) { return new TTestForm(App.get(), style); }

  static inline int Argc = 1;
  static inline char Name[] = "qt_backend_tests";
  static inline char* Argv[] = {Name, nullptr};
  static inline TRecordingWidgetSet* Widgets = nullptr;
  std::unique_ptr<TApplication> App;
};

TEST_F(QtWidgetSetTest, ChildrenSitAtTheirBoundsAndTheWindowHasItsFixedClientSize) {
  TTestForm* form = MakeForm();
  QWidget* window = Native(form);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->size(), QSize(300, 200));
  EXPECT_EQ(window->minimumSize(), QSize(300, 200));
  EXPECT_EQ(window->maximumSize(), QSize(300, 200));

  // The status bar was aligned to the bottom by the framework: the peer must follow.
  EXPECT_EQ(form->Bar->BoundsRect(), (TRect{0, 181, 300, 200}));
  for (const TControl* control : std::initializer_list<const TControl*>{
           form->Group, form->Button, form->Label, form->Track, form->Check, form->Combo, form->Edit, form->Panel,
           form->Ok, form->Bar, form->Hosted}) {
    QWidget* widget = Native(control);
    ASSERT_NE(widget, nullptr) << control->Name();
    EXPECT_EQ(QRect(widget->mapTo(window, QPoint(0, 0)), widget->size()), FormBounds(control)) << control->Name();
  }
  // Inside a group box, coordinates are the box's own, caption included.
  EXPECT_EQ(Native(form->Button)->parentWidget(), Native(form->Group));
  EXPECT_EQ(Native(form->Button)->geometry(), QRect(10, 20, 75, 25));
  EXPECT_EQ(Native(form->Hosted)->parentWidget(), Native(form->Bar));
  EXPECT_EQ(Native(form->Hosted)->geometry(), QRect(204, 2, 90, 16));

  // Auto-sized labels got their size from the Qt glyph source, so the text fits the label exactly.
  QLabel* label = Native<QLabel>(form->Label);
  EXPECT_EQ(form->Label->Width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
  EXPECT_GT(form->Label->Width(), 0);

  // Moving a control later moves the widget.
  form->Button->SetBounds(20, 30, 60, 20);
  EXPECT_EQ(Native(form->Button)->geometry(), QRect(20, 30, 60, 20));
  form->SetClientSize(320, 210);
  EXPECT_EQ(window->size(), QSize(320, 210));
  EXPECT_EQ(Native(form->Bar)->geometry(), QRect(0, 191, 320, 19));
}

TEST_F(QtWidgetSetTest, WindowFlagsFollowBorderStyleAndIcons) {
  const Qt::WindowFlags single = Native(MakeForm())->windowFlags();
  EXPECT_TRUE(single.testFlag(Qt::Window));
  EXPECT_TRUE(single.testFlag(Qt::WindowTitleHint));
  EXPECT_TRUE(single.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_TRUE(single.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(single.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(single.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(single.testFlag(Qt::FramelessWindowHint));

  const Qt::WindowFlags none = Native(MakeForm(TFormBorderStyle::None))->windowFlags();
  EXPECT_TRUE(none.testFlag(Qt::FramelessWindowHint));

  TTestForm* sizeable = MakeForm(TFormBorderStyle::Sizeable);
  EXPECT_NE(Native(sizeable)->maximumSize(), QSize(300, 200));
  EXPECT_EQ(Native(sizeable)->size(), QSize(300, 200));
}

TEST_F(QtWidgetSetTest, TitleIconColoursAndFonts) {
  TTestForm* form = MakeForm();
  QWidget* window = Native(form);
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("测试窗口"));
  form->SetCaption("Brisko内存整理 4.0");
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Brisko内存整理 4.0"));

  const auto ico = platform::FindResource("MAINICON");
  ASSERT_FALSE(ico.empty());
  form->SetIcon({ico});
  const QList<QSize> sizes = window->windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(32, 32)));
  EXPECT_TRUE(sizes.contains(QSize(48, 48)));
  EXPECT_TRUE(widgetset::qt::IconFromIco({}).isNull());

  // Button face everywhere the framework says so, in the classic scheme.
  EXPECT_TRUE(window->autoFillBackground());
  EXPECT_EQ(window->palette().color(QPalette::Window).rgb(), 0xFFD4D0C8u);
  EXPECT_EQ(Native(form->Group)->palette().color(QPalette::Window).rgb(), 0xFFD4D0C8u);
  QLineEdit* edit = Native<QLineEdit>(form->Edit);
  EXPECT_TRUE(edit->isReadOnly());
  EXPECT_FALSE(edit->hasFrame());
  EXPECT_EQ(edit->text(), "1234");
  EXPECT_EQ(edit->palette().color(QPalette::Base).rgb(), 0xFFD4D0C8u);
  EXPECT_EQ(edit->textMargins(), QMargins(0, 0, 0, 0));
  form->Edit->SetColor(clWindow);
  EXPECT_EQ(edit->palette().color(QPalette::Base).rgb(), 0xFFFFFFFFu);
  // The colour of a parent reaches the children that take it.
  form->SetColor(clSilver);
  EXPECT_EQ(Native(form->Group)->palette().color(QPalette::Window).rgb(), Rgb(clSilver));
  EXPECT_EQ(edit->palette().color(QPalette::Base).rgb(), 0xFFFFFFFFu);

  // The font: "宋体" at 12 pixels, resolved to a Song face; the text colour follows the font's.
  QLabel* label = Native<QLabel>(form->Label);
  EXPECT_EQ(label->font().pixelSize(), 12);
  const QString family = QFontInfo(label->font()).family();
  EXPECT_TRUE(family.contains("UMing") || family.contains("SimSun")) << family.toStdString();
  gfx::TFontSpec navy = form->Label->Font();
  navy.Color = clNavy;
  form->Label->SetFont(navy);
  EXPECT_EQ(label->palette().color(QPalette::Active, QPalette::WindowText).rgb(), Rgb(clNavy));
  EXPECT_NE(Native<QLabel>(form->Caption0)->palette().color(QPalette::Active, QPalette::WindowText).rgb(), Rgb(clNavy));
  EXPECT_EQ(Native(form->Group)->accessibleName(), QString::fromUtf8("组"));
  form->Group->SetCaption("");
  EXPECT_TRUE(Native(form->Group)->accessibleName().isEmpty());
  EXPECT_EQ(Native<QFrame>(form->Panel)->frameShape(), QFrame::Box);
}

TEST_F(QtWidgetSetTest, ClicksAndEnterRunOnClickThroughTheDispatchPoint) {
  TTestForm* form = MakeForm();
  int clicks = 0;
  form->Button->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, form->Button);
    ++clicks;
  };
  Native<QPushButton>(form->Button)->click();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(Widgets->Calls.empty());

  form->Button->OnClick = [](TObject*) { throw Exception("整理失败"); };
  Native<QPushButton>(form->Button)->click();
  ASSERT_EQ(Widgets->Calls.size(), 1u);
  EXPECT_EQ(Widgets->Calls[0].Text, "整理失败.");
  EXPECT_EQ(Widgets->Calls[0].Caption, "Brisko内存整理 4.0");
  EXPECT_EQ(Widgets->Calls[0].Flags, MbOk | MbIconError);

  // Enter presses the default button when no button has the focus; the form decides.
  int okClicks = 0;
  form->Ok->OnClick = [&](TObject*) { ++okClicks; };
  EXPECT_TRUE(Native<QPushButton>(form->Ok)->isDefault());
  form->Show();
  form->Check->SetFocus();
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(Native(form->Check), &enter);
  EXPECT_EQ(okClicks, 1);
  // A disabled control takes no clicks.
  form->Ok->SetEnabled(false);
  Native<QPushButton>(form->Ok)->click();
  EXPECT_EQ(okClicks, 1);
}

TEST_F(QtWidgetSetTest, TrackBarMovesWithoutEchoAndReportsUserMoves) {
  TTestForm* form = MakeForm();
  QSlider* slider = Native<QSlider>(form->Track);
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->orientation(), Qt::Horizontal);
  EXPECT_EQ(slider->tickPosition(), QSlider::TicksBelow);
  EXPECT_EQ(slider->tickInterval(), 10);
  EXPECT_EQ(slider->maximum(), 100);
  EXPECT_EQ(slider->value(), 80);

  std::vector<int> changes;
  form->Track->OnChange = [&](TObject*) { changes.push_back(form->Track->Position()); };
  // What the program pushes must not come back as if the user had moved the thumb.
  int emitted = 0;
  QObject::connect(slider, &QSlider::valueChanged, [&] { ++emitted; });
  // A new maximum below the position pulls it in: one change, and the slider follows silently.
  form->Track->SetMax(60);
  EXPECT_EQ(changes, std::vector<int>{60});
  EXPECT_EQ(slider->maximum(), 60);
  EXPECT_EQ(slider->value(), 60);
  form->Track->SetPosition(10);
  EXPECT_EQ(changes, (std::vector<int>{60, 10}));
  EXPECT_EQ(slider->value(), 10);
  EXPECT_EQ(emitted, 0);

  // The user moves the thumb (setValue without a blocker is what a drag does).
  slider->setValue(25);
  EXPECT_EQ(form->Track->Position(), 25);
  EXPECT_EQ(changes, (std::vector<int>{60, 10, 25}));
  form->Track->SetFrequency(5);
  EXPECT_EQ(slider->tickInterval(), 5);
}

TEST_F(QtWidgetSetTest, CheckBoxAndComboBoxReportOnlyTheUsersChanges) {
  TTestForm* form = MakeForm();
  QCheckBox* box = Native<QCheckBox>(form->Check);
  int checkClicks = 0;
  form->Check->OnClick = [&](TObject*) { ++checkClicks; };
  box->click();
  EXPECT_TRUE(form->Check->Checked());
  EXPECT_EQ(checkClicks, 1);
  // The program's change clicks once too (the framework's rule), and is not echoed back.
  int emitted = 0;
  QObject::connect(box, &QCheckBox::toggled, [&] { ++emitted; });
  form->Check->SetChecked(false);
  EXPECT_EQ(emitted, 0);
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(checkClicks, 2);

  QComboBox* combo = Native<QComboBox>(form->Combo);
  EXPECT_FALSE(combo->isEditable());
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(1), QString::fromUtf8("二"));
  int changes = 0;
  form->Combo->OnChange = [&](TObject*) { ++changes; };
  QObject::connect(combo, &QComboBox::currentIndexChanged, [&] { ++emitted; });
  form->Combo->SetItemIndex(1);
  EXPECT_EQ(combo->currentIndex(), 1);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(emitted, 0);
  emit combo->activated(2);
  EXPECT_EQ(form->Combo->ItemIndex(), 2);
  EXPECT_EQ(combo->currentIndex(), 2);
  EXPECT_EQ(changes, 1);
  form->Combo->SetItems({"甲"});
  EXPECT_EQ(combo->count(), 1);
  EXPECT_EQ(combo->currentIndex(), -1);
}

TEST_F(QtWidgetSetTest, StatusBarDrawsSunkenPanelsUnderItsHostedControl) {
  TTestForm* form = MakeForm();
  QWidget* bar = Native(form->Bar);
  const QImage shot = bar->grab().toImage();
  ASSERT_EQ(shot.size(), QSize(300, 19));
  const QRgb shadow = Rgb(clBtnShadow), white = 0xFFFFFFFFu, face = 0xFFD4D0C8u;
  // Panel 0 spans x 0..197 (two pixels apart from the next), y 2..18: shadow top-left, white bottom-right.
  EXPECT_EQ(shot.pixel(0, 1), face);
  EXPECT_EQ(shot.pixel(0, 2), shadow);
  EXPECT_EQ(shot.pixel(100, 2), shadow);
  EXPECT_EQ(shot.pixel(0, 10), shadow);
  EXPECT_EQ(shot.pixel(100, 18), white);
  EXPECT_EQ(shot.pixel(197, 10), white);
  EXPECT_EQ(shot.pixel(199, 10), face);
  // Panel 1 starts at 200 and reaches the right edge.
  EXPECT_EQ(shot.pixel(200, 10), shadow);
  EXPECT_EQ(shot.pixel(299, 10), white);
  EXPECT_EQ(shot.pixel(202, 10), face);
  // The hosted picture is drawn over panel 1.
  for (const QPoint p : {QPoint(204, 2), QPoint(293, 17), QPoint(250, 10)}) EXPECT_EQ(shot.pixel(p), Rgb(clRed));
  // Panel 0's text is drawn dark, left-aligned (right-to-left reading is ignored here).
  int dark = 0, firstDarkX = 300;
  for (int y = 3; y < 18; ++y)
    for (int x = 1; x < 197; ++x)
      if (qGray(shot.pixel(x, y)) < 80) {
        ++dark;
        firstDarkX = std::min(firstDarkX, x);
      }
  EXPECT_GT(dark, 20);
  EXPECT_LT(firstDarkX, 10);

  // Setting the text neither moves nor hides the hosted control; hiding it uncovers the panel.
  form->Bar->SetPanelText(0, "CPU频率: 2400MHz");
  EXPECT_EQ(Native(form->Hosted)->geometry(), QRect(204, 2, 90, 16));
  form->Hosted->SetVisible(false);
  const QImage uncovered = bar->grab().toImage();
  EXPECT_EQ(uncovered.pixel(250, 10), face);
  EXPECT_EQ(uncovered.pixel(200, 10), shadow);
}

TEST_F(QtWidgetSetTest, PicturesShowTheFinishedBitmapUnscaled) {
  TTestForm* form = MakeForm();
  gfx::Canvas& canvas = form->Hosted->Canvas();
  canvas.Brush.Color = clBlue;
  canvas.FillRect({0, 0, 45, 16});
  canvas.Brush.Color = clYellow;
  canvas.FillRect({45, 0, 90, 16});
  form->Hosted->Changed();
  const QImage shot = Native(form->Hosted)->grab().toImage();
  ASSERT_EQ(shot.size(), QSize(90, 16));
  EXPECT_EQ(shot.pixel(0, 0), Rgb(clBlue));
  EXPECT_EQ(shot.pixel(44, 15), Rgb(clBlue));
  EXPECT_EQ(shot.pixel(45, 0), Rgb(clYellow));
  EXPECT_EQ(shot.pixel(89, 15), Rgb(clYellow));

  // A picture redrawn every tick is painted with the window's next paint; a gauge at once, without
  // the loop, so a handler that holds the loop still shows its last picture.
  struct TPaintCounter : QObject {
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      Paints += event->type() == QEvent::Paint ? 1 : 0;
      return false;
    }
  } image, gauge;
  auto* progress = new TGauge(form);
  progress->SetBounds(10, 10, 100, 16);
  progress->SetParent(form);
  form->Show();
  QCoreApplication::processEvents();
  Native(form->Hosted)->installEventFilter(&image);
  Native(progress)->installEventFilter(&gauge);
  form->Hosted->Changed();
  EXPECT_EQ(image.Paints, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(image.Paints, 1);
  progress->SetProgress(100);
  EXPECT_EQ(gauge.Paints, 1);
}

TEST_F(QtWidgetSetTest, CloseBoxAsksTheFormAndActivationIsReported) {
  TTestForm* form = MakeForm();
  int activations = 0;
  form->OnActivate = [&](TObject*) { ++activations; };
  int closes = 0;
  TCloseAction answer = TCloseAction::None;
  form->OnClose = [&](TObject*, TCloseAction& action) {
    ++closes;
    action = answer;
  };
  form->Show();
  QWidget* window = Native(form);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(PumpUntil([&] { return form->Active(); }));
  EXPECT_EQ(activations, 1);

  // The close box: the form refuses, the window stays.
  EXPECT_FALSE(window->close());
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(form->Visible());
  // The form accepts: it hides (it is not the main window), through the framework.
  answer = TCloseAction::Hide;
  window->close();
  EXPECT_EQ(closes, 2);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(window->isVisible());

  // Another window taking the focus deactivates this one; coming back activates it again.
  form->Show();
  TTestForm* other = MakeForm();
  other->Show();
  EXPECT_TRUE(PumpUntil([&] { return other->Active() && !form->Active(); }));
  Native(form)->activateWindow();
  EXPECT_TRUE(PumpUntil([&] { return form->Active(); }));
  EXPECT_GE(activations, 2);

  // A disabled window (behind a modal one) ignores its close box.
  form->SetEnabled(false);
  window->close();
  EXPECT_EQ(closes, 2);
}

TEST_F(QtWidgetSetTest, ScreenCentreMinimiseAndDesktop) {
  TTestForm* form = MakeForm();
  form->SetPosition(TPosition::ScreenCenter);
  form->Show();
  QWidget* window = Native(form);
  const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE((window->frameGeometry().center() - desk.center()).manhattanLength(), 2);
  const TRect rect = Widgets->DesktopRect();
  EXPECT_EQ(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), desk);

  form->Repaint();
  EXPECT_TRUE(window->windowHandle()->isExposed());
  auto* peer = dynamic_cast<IFormPeer*>(form->Peer());
  peer->SetMinimized(true);
  EXPECT_TRUE(PumpUntil([&] { return window->isMinimized(); }));
  peer->SetMinimized(false);
  EXPECT_TRUE(PumpUntil([&] { return !window->isMinimized() && window->isVisible(); }));
}

TEST_F(QtWidgetSetTest, FormFreedFromItsOwnButtonGoesAwaySafely) {
  TTestForm* form = MakeForm();
  form->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::Free; };
  bool destroyed = false;
  form->OnDestroy = [&](TObject*) { destroyed = true; };
  form->Button->OnClick = [form](TObject*) { form->Close(); };
  QPointer<QWidget> window = Native(form);
  QPointer<QPushButton> button = Native<QPushButton>(form->Button);
  form->Show();
  button->click();
  // Hidden at once, freed only once the click is over (the button's code still runs after the handler).
  EXPECT_FALSE(destroyed);
  ASSERT_FALSE(window.isNull());
  EXPECT_FALSE(window->isVisible());
  Widgets->ProcessMessages();
  EXPECT_TRUE(destroyed);
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(button.isNull());
}

TEST_F(QtWidgetSetTest, MessageWindowsTickPostAndDieInsideTheirOwnProcedure) {
  std::vector<uintptr_t> ticks;
  std::vector<std::tuple<uint32_t, uintptr_t, intptr_t>> posted;
  std::unique_ptr<platform::IMessageWindow> window;
  window = Widgets->CreateMessageWindow([&](uint32_t msg, uintptr_t w, intptr_t l) {
    if (msg == platform::WmTimer)
      ticks.push_back(w);
    else
      posted.emplace_back(msg, w, l);
  });
  window->SetTimer(7, 50);
  window->SetTimer(7, 50);  // a restart, not a second timer
  RunFor(320);
  // About six; a loaded machine may lose a tick or two, a duplicate timer would give about twelve.
  EXPECT_GE(ticks.size(), 3u);
  EXPECT_LE(ticks.size(), 7u);
  for (uintptr_t id : ticks) EXPECT_EQ(id, 7u);
  window->KillTimer(7);
  ticks.clear();
  RunFor(120);
  EXPECT_TRUE(ticks.empty());

  // Posted messages arrive later, in order, with their parameters.
  window->PostMessage(platform::WmUser + 1, 11, -5);
  window->PostMessage(platform::WmUser + 2, 12, 6);
  EXPECT_TRUE(posted.empty());
  Widgets->ProcessMessages();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0], std::make_tuple(platform::WmUser + 1, uintptr_t{11}, intptr_t{-5}));
  EXPECT_EQ(posted[1], std::make_tuple(platform::WmUser + 2, uintptr_t{12}, intptr_t{6}));

  // HandleMessage waits for the next batch and returns with it.
  window->SetTimer(1, 30);
  const auto start = std::chrono::steady_clock::now();
  Widgets->HandleMessage();
  while (ticks.empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) Widgets->HandleMessage();
  EXPECT_EQ(ticks.size(), 1u);

  // Destroyed from its own procedure: nothing more arrives, queued messages are dropped.
  int calls = 0;
  window = Widgets->CreateMessageWindow([&](uint32_t, uintptr_t, intptr_t) {
    ++calls;
    window->PostMessage(platform::WmUser, 0, 0);
    window.reset();
  });
  window->SetTimer(1, 20);
  RunFor(150);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(window, nullptr);

  // A window destroyed with messages queued never runs them.
  calls = 0;
  window = Widgets->CreateMessageWindow([&](uint32_t, uintptr_t, intptr_t) { ++calls; });
  window->PostMessage(platform::WmUser, 0, 0);
  window.reset();
  Widgets->ProcessMessages();
  EXPECT_EQ(calls, 0);
}

TEST_F(QtWidgetSetTest, TTimerTicksThroughTheLoop) {
  TTestForm* form = MakeForm();
  auto* timer = new TTimer(form);
  int ticks = 0;
  timer->OnTimer = [&](TObject*) {
    if (++ticks == 3) timer->SetEnabled(false);
  };
  timer->SetInterval(40);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  RunFor(150);
  EXPECT_EQ(ticks, 3);
}

TEST_F(QtWidgetSetTest, MessageBoxesHaveTheCaptionIconAndButtons) {
  struct TCase {
    uint32_t Flags;
    QMessageBox::Icon Icon;
    int Buttons;
  };
  for (const TCase c : {TCase{MbOk, QMessageBox::NoIcon, 1}, TCase{MbOk | MbIconError, QMessageBox::Critical, 1},
                        TCase{MbOkCancel | MbIconQuestion, QMessageBox::Question, 2},
                        TCase{MbOk | MbIconWarning, QMessageBox::Warning, 1},
                        TCase{MbOkCancel | MbIconInformation, QMessageBox::Information, 2}}) {
    const auto box = TWidgetSet::BuildMessageBox("现在整理内存吗?", "Brisko内存整理 4.0", c.Flags);
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8("Brisko内存整理 4.0"));
    EXPECT_EQ(box->text(), QString::fromUtf8("现在整理内存吗?"));
    EXPECT_EQ(box->icon(), c.Icon) << c.Flags;
    ASSERT_EQ(box->buttons().size(), c.Buttons) << c.Flags;
    EXPECT_EQ(box->defaultButton()->text(), QString::fromUtf8("确定"));
    // Closed without a choice: Cancel where there is one, else OK.
    EXPECT_EQ(TWidgetSet::AnswerOf(*box), c.Buttons == 2 ? IdCancel : IdOk);
  }

  // The real, modal box: answered by clicking its buttons from inside its loop.
  Widgets->ShowReal = true;
  const auto press = [](const char* text) {
    QTimer::singleShot(50, [text] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      for (QAbstractButton* button : box->buttons())
        if (button->text() == QString::fromUtf8(text)) button->click();
    });
  };
  press("取消");
  EXPECT_EQ(App->MessageBox("现在整理内存吗?", "", MbOkCancel | MbIconQuestion), IdCancel);
  press("确定");
  EXPECT_EQ(App->MessageBox("现在整理内存吗?", "", MbOkCancel | MbIconQuestion), IdOk);
  press("确定");
  EXPECT_EQ(App->MessageBox("完成", "", MbOk | MbIconInformation), IdOk);
}

TEST_F(QtWidgetSetTest, WaitCursorIsOneOverrideAtMost) {
  ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
  Screen->SetCursor(TCursor::HourGlass);
  Screen->SetCursor(TCursor::HourGlass);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Screen->SetCursor(TCursor::Default);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  Screen->SetCursor(TCursor::Arrow);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtWidgetSetTest, GlyphsComeFromQtInTwoLevels) {
  gfx::FontRaster& fonts = gfx::CurrentFontRaster();
  EXPECT_EQ(&fonts, &Widgets->Fonts());
  const gfx::TFontSpec song{"宋体", 12, false, clBlack};
  const int width = fonts.TextWidth(song, "内存");
  const int height = fonts.TextHeight(song);
  EXPECT_GT(width, 0);
  EXPECT_GE(height, 12);
  EXPECT_EQ(fonts.TextWidth(song, ""), 0);
  EXPECT_GT(fonts.TextWidth({"宋体", 24, false, clBlack}, "内存"), width);

  const gfx::TTextMask mask = fonts.Render(song, "内存");
  EXPECT_EQ(mask.Width, width);
  EXPECT_EQ(mask.Height, height);
  ASSERT_EQ(mask.Coverage.size(), static_cast<size_t>(width) * height);
  size_t on = 0;
  for (uint8_t c : mask.Coverage) {
    EXPECT_TRUE(c == 0 || c == 255) << int(c);
    on += c == 255;
  }
  EXPECT_GT(on, 20u);
  EXPECT_LT(on, mask.Coverage.size() / 2);

  const QString song12 = QFontInfo(widgetset::qt::ToQFont(song)).family();
  EXPECT_TRUE(song12.contains("UMing") || song12.contains("SimSun")) << song12.toStdString();
  const QString tahoma = QFontInfo(widgetset::qt::ToQFont({"Tahoma", 11, false, clNavy})).family();
  EXPECT_TRUE(tahoma.contains("DejaVu") || tahoma.contains("Tahoma")) << tahoma.toStdString();
  EXPECT_GT(fonts.TextWidth({"Tahoma", 11, false, clNavy}, "45%"), 0);
}

TEST_F(QtWidgetSetTest, TabMovesTheFocusInTheFormsOrderAndLabelsReportClicks) {
  TTestForm* form = MakeForm();
  form->Ok->SetTabOrder(0);
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return form->Active(); }));
  EXPECT_EQ(form->ActiveControl(), form->Ok);
  EXPECT_TRUE(PumpUntil([&] { return QApplication::focusWidget() == Native(form->Ok); }));
  // Tab as the user presses it, into whatever widget has the focus: the window's order, not Qt's.
  const std::vector<const TControl*> order{form->Button, form->Track, form->Check, form->Combo, form->Edit, form->Ok};
  for (const TControl* expected : order) {
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(QApplication::focusWidget(), &tab);
    EXPECT_EQ(form->ActiveControl(), expected) << expected->Name();
    EXPECT_EQ(QApplication::focusWidget(), Native(expected)) << expected->Name();
  }
  QKeyEvent backtab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
  QCoreApplication::sendEvent(QApplication::focusWidget(), &backtab);
  EXPECT_EQ(form->ActiveControl(), form->Edit);
  // A click of the mouse gives a control the focus natively; the form follows.
  Native(form->Check)->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(form->ActiveControl(), form->Check);

  int clicks = 0;
  form->Label->OnClick = [&](TObject*) { ++clicks; };
  QWidget* label = Native(form->Label);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), label->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3), label->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(label, &press);
  QCoreApplication::sendEvent(label, &release);
  EXPECT_EQ(clicks, 1);
}

TEST_F(QtWidgetSetTest, LiveSettersReachTheWidgetAndTheFrameIsFixedOnceTheWindowExists) {
  TTestForm* form = MakeForm();
  form->Edit->SetReadOnly(false);
  form->Edit->SetBorderStyle(TBorderStyle::Single);
  EXPECT_FALSE(Native<QLineEdit>(form->Edit)->isReadOnly());
  EXPECT_TRUE(Native<QLineEdit>(form->Edit)->hasFrame());
  // A bordered panel's children start inside its border, as in a window with a border.
  auto* inside = new TLabel(form);
  inside->SetBounds(4, 5, 20, 12);
  inside->SetParent(form->Panel);
  EXPECT_EQ(Native(inside)->mapTo(Native(form->Panel), QPoint(0, 0)), QPoint(5, 6));
  form->Panel->SetBorderStyle(TBorderStyle::None);
  EXPECT_EQ(Native<QFrame>(form->Panel)->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(Native(inside)->mapTo(Native(form->Panel), QPoint(0, 0)), QPoint(4, 5));
  EXPECT_THROW(form->SetBorderStyle(TFormBorderStyle::None), EInvalidOperation);
  EXPECT_THROW(form->SetBorderIcons(0), EInvalidOperation);
  EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::Single);
}

}  // namespace

TEST_F(QtWidgetSetTest, TheRealMainWindowFollowsItsLayoutTable) {
  TFakeHost host;
  TfrmMain* form = nullptr;
  App->CreateForm(form);
  QWidget* window = Native(form);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle().toStdString(), "Brisko内存整理 4.0");
  EXPECT_EQ(window->size(), QSize(497, 412));
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

  const auto at = [window](const TControl* c) {
    QWidget* w = Native(c);
    return w ? QRect(w->mapTo(window, QPoint(0, 0)), w->size()) : QRect();
  };
  EXPECT_EQ(at(form->btnExit), QRect(412, 237, 75, 25));
  EXPECT_EQ(Native<QPushButton>(form->btnExit)->text().toStdString(), "退出");
  EXPECT_EQ(Native<QPushButton>(form->btnQuick)->text().toStdString(), "快速整理");
  EXPECT_TRUE(Native(form->btnHelp)->isHidden());
  EXPECT_EQ(Native(form->groupCpuShow)->accessibleName().toStdString(), "CPU使用");
  EXPECT_EQ(at(form->groupMemShow), QRect(112, 136, 289, 121));
  EXPECT_EQ(at(form->imgMemShow), QRect(120, 152, 273, 100));
  EXPECT_EQ(at(form->GaugeVirtu), QRect(152, 336, 241, 16));
  EXPECT_EQ(at(form->edtPhicsData), QRect(92, 312, 60, 20));
  EXPECT_EQ(at(form->StatusBar), QRect(0, 393, 497, 19));
  EXPECT_EQ(Native(form->GaugeProgress)->parentWidget(), Native(form->StatusBar));
  EXPECT_TRUE(Native(form->GaugeProgress)->isHidden());
  EXPECT_EQ(at(form->GaugeProgress), QRect(384, 395, 113, 16));
  EXPECT_TRUE(Native(form->PanelSet)->isHidden());
  EXPECT_EQ(Native<QLabel>(form->Label1)->text().toStdString(), "类别");
}

TEST_F(QtWidgetSetTest, AnErrorBoxLeftOpenPastTheSplashStillLetsTheWindowAppear) {
  TFakeHost host;
  host.Registry.SetDWord(platform::TRootKey::CurrentUser, SettingsKey, "IsMemCondition", 1);
  host.Registry.Keys[{platform::TRootKey::CurrentUser, SettingsKey}].Values["Depth"] = {platform::TRegType::String, {'1'}};
  // The real, modal error box, answered after 2.5 s: the splash's 1.2 s timer falls due inside it.
  Widgets->ShowReal = true;
  bool mainShownWhileOpen = false;
  QTimer::singleShot(2500, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text().toStdString(), "Invalid data type for 'Depth'");
    mainShownWhileOpen = frmMain && frmMain->Visible();
    box->buttons().front()->click();
  });
  StartBrisko();
  EXPECT_TRUE(mainShownWhileOpen);
  ASSERT_NE(frmMain, nullptr);
  EXPECT_TRUE(Native(frmMain)->isVisible());
}

TEST_F(QtWidgetSetTest, SystemInformationIsModalOverTheMainWindowUntilItCloses) {
  TFakeHost host;
  host.System.Leaves[0] = {1, 0x756E6547, 0x6C65746E, 0x49656E69};  // GenuineIntel, highest leaf 1
  TfrmMain* form = nullptr;
  App->CreateForm(form);
  form->Show();
  Widgets->ShowReal = true;
  int rounds = 0;
  QPointer<QWidget> previous;
  const std::function<void()> inspect = [&] {
    QWidget* info = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible() && window->windowTitle() == QString::fromUtf8("系统信息")) info = window;
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(previous.isNull()) << "the last one is gone: a fresh window each time";
    previous = info;
    EXPECT_EQ(info->size(), QSize(384, 392));
    EXPECT_FALSE(Native(form)->isEnabled()) << "the main window takes no input";
    EXPECT_EQ(info->findChild<QTabWidget*>()->count(), 3);
    info->close();
  };
  for (; rounds < 2; ++rounds) {
    QTimer::singleShot(100, inspect);
    Native<QPushButton>(form->btnSysInfo)->click();
    EXPECT_TRUE(Native(form)->isEnabled());
    EXPECT_TRUE(PumpUntil([] { return CpuForm == nullptr; })) << "freed after closing";
  }
}

TEST_F(QtWidgetSetTest, PerformanceDetailsShowTheirRowsLevelWithTheLabels) {
  TFakeHost host;
  host.System.Records[platform::SystemInfoFileCache].assign(36, 0);
  TfrmMain* form = nullptr;
  App->CreateForm(form);
  form->Show();
  Widgets->ShowReal = true;
  bool inspected = false;
  QTimer::singleShot(100, [&] {
    ASSERT_NE(InfoForm, nullptr);
    QWidget* window = Native(InfoForm);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(Native(form)->isEnabled());
    auto* list = Native<QListWidget>(InfoForm->ListBoxCache);
    ASSERT_EQ(list->count(), 8);
    EXPECT_EQ(list->frameShape(), QFrame::NoFrame);
    // Row 1 of the list, in the window, against the first label's place.
    const int rowTop = list->viewport()->mapTo(window, list->visualItemRect(list->item(1)).topLeft()).y();
    const int labelTop = Native(InfoForm->Labels[8])->mapTo(window, QPoint(0, 0)).y();
    EXPECT_EQ(list->visualItemRect(list->item(1)).height(), 12);
    EXPECT_LE(std::abs(rowTop - labelTop), 1);
    EXPECT_EQ(Native<QListWidget>(InfoForm->ListBoxIO)->count(), 0) << "no record, no rows";
    inspected = true;
    window->close();
  });
  Native<QPushButton>(form->btnInfo)->click();
  EXPECT_TRUE(inspected);
  EXPECT_TRUE(PumpUntil([] { return InfoForm == nullptr; }));
}

namespace {

// The dark pixels of an image, and the first row that has one.
int DarkPixels(const QImage& image, int* firstRow = nullptr) {
  int dark = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 100) {
        if (firstRow && dark == 0) *firstRow = y;
        ++dark;
      }
  return dark;
}

}  // namespace

TEST_F(QtWidgetSetTest, TheReadOutsShowTheWidestFigureWholeLevelWithTheirHeadings) {
  TFakeHost host;
  TfrmMain* form = nullptr;
  App->CreateForm(form);
  form->Show();
  QWidget* window = Native(form);
  // The widest figure, drawn by itself in the same font: every one of its pixels must show in the box.
  const QString widest = QString::fromUtf8("9999999MB");
  QImage alone(200, 40, QImage::Format_RGB32);
  alone.fill(Qt::white);
  {
    QPainter painter(&alone);
    painter.setFont(Native(form->edtPhicsData)->font());
    painter.setPen(Qt::black);
    painter.drawText(10, 25, widest);
  }
  for (TEdit* readOut : {form->edtPhicsData, form->edtVirtuData, form->edtPageData}) {
    readOut->SetText("9999999MB");
    int textTop = -1, headingTop = -1;
    const int shown = DarkPixels(Native(readOut)->grab().toImage(), &textTop);
    EXPECT_EQ(shown, DarkPixels(alone)) << readOut->Name();
    // Level with the row heading: the first dark row of both, in window coordinates.
    TLabel* heading = readOut == form->edtPhicsData ? form->lblPhics : readOut == form->edtVirtuData ? form->lblVirtu : form->lblPage;
    DarkPixels(Native(heading)->grab().toImage(), &headingTop);
    const int readOutRow = Native(readOut)->mapTo(window, QPoint(0, textTop)).y();
    const int headingRow = Native(heading)->mapTo(window, QPoint(0, headingTop)).y();
    EXPECT_LE(std::abs(readOutRow - headingRow), 1) << readOut->Name();
  }
}
