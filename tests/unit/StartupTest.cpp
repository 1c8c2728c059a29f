// Start-up, splash and main window driven headless: the order of the start-up steps, the splash
// timing on the manual clock, the "/LOAD" switch, the layout, first activation, help and exit.
#include <gtest/gtest.h>

#include "TestApplication.h"
#include "app/Brisko.h"
#include "app/uAbout.h"
#include "app/uMain.h"
#include "base/SysUtils.h"
#include "ui/WindowsNumbers.h"

namespace {

class StartupTest : public ::testing::Test {
protected:
  TTestApplication Env;
  void Start(std::vector<std::string> args = {}) {
    Env.Host.System.Args = std::move(args);
    StartBrisko();
  }
};

TEST_F(StartupTest, SplashShowsFirstThenTheMainWindowAfter1200ms) {
  Start();
  ASSERT_NE(AboutForm, nullptr);
  ASSERT_NE(frmMain, nullptr);
  EXPECT_EQ(Application->MainForm(), frmMain);
  EXPECT_TRUE(AboutForm->Visible());
  EXPECT_FALSE(frmMain->Visible());
  EXPECT_EQ(Env.Widgets.Cursors.front(), TCursor::HourGlass);
  Env.Widgets.Advance(1199);
  EXPECT_TRUE(AboutForm->Visible());
  EXPECT_FALSE(frmMain->Visible());
  Env.Widgets.Advance(1);
  EXPECT_FALSE(AboutForm->Visible());
  EXPECT_TRUE(frmMain->Visible());
  EXPECT_FALSE(AboutForm->Timer->Enabled());
  EXPECT_NE(AboutForm, nullptr);  // hidden, not destroyed
  Env.Widgets.Advance(5000);      // the splash timer fired once only
  EXPECT_FALSE(AboutForm->Visible());
}

TEST_F(StartupTest, MainWindowIsCentredWithTheTitleAndTheIcon) {
  Start();
  Env.Widgets.Advance(1200);
  EXPECT_EQ(frmMain->Caption(), "Brisko内存整理 4.0");
  EXPECT_EQ(frmMain->Width(), 497);
  EXPECT_EQ(frmMain->Height(), 412);
  EXPECT_EQ(frmMain->Left(), (1024 - 497) / 2);
  EXPECT_EQ(frmMain->Top(), (768 - 412) / 2);
  EXPECT_FALSE(frmMain->Icon().IcoFile.empty());
  EXPECT_EQ(AboutForm->Left(), (1024 - 344) / 2);
  EXPECT_EQ(AboutForm->Caption(), "关于");
  EXPECT_EQ(frmMain->BorderIcons(), BorderIcon::SystemMenu | BorderIcon::Minimize);
}

TEST_F(StartupTest, FirstActivationRestoresTheCursorOnce) {
  Start();
  Env.Widgets.Advance(1200);
  ASSERT_EQ(Env.Widgets.Cursors.size(), 2u);
  EXPECT_EQ(Env.Widgets.Cursors.back(), TCursor::Default);
  EXPECT_FALSE(frmMain->OnActivate);
  Screen->SetCursor(TCursor::HourGlass);
  frmMain->Hide();
  frmMain->Show();
  EXPECT_EQ(Screen->Cursor(), TCursor::HourGlass);
}

TEST_F(StartupTest, LoadSwitchKeepsTheWindowHiddenWhileSamplingTimersRun) {
  Start({"  /load "});
  Env.Widgets.Advance(1200);
  EXPECT_FALSE(frmMain->Visible());
  EXPECT_FALSE(AboutForm->Visible());
  EXPECT_FALSE(Application->Terminated());
  EXPECT_EQ(Screen->Cursor(), TCursor::HourGlass);
  EXPECT_TRUE(frmMain->timerShow->Enabled());
}

TEST_F(StartupTest, LoadSwitchRules) {
  const auto isLoad = [this](std::vector<std::string> args) {
    Env.Host.System.Args = std::move(args);
    return IsLoadSwitch();
  };
  EXPECT_FALSE(isLoad({}));
  EXPECT_TRUE(isLoad({"/LOAD"}));
  EXPECT_TRUE(isLoad({"/Load"}));
  EXPECT_TRUE(isLoad({"\t/load  "}));
  EXPECT_FALSE(isLoad({"/LOADX"}));
  EXPECT_FALSE(isLoad({"-load"}));
  EXPECT_FALSE(isLoad({"x", "/LOAD"}));
  EXPECT_FALSE(isLoad({""}));
}

TEST_F(StartupTest, SecondArgumentLoadShowsTheWindow) {
  Start({"extra", "/LOAD"});
  Env.Widgets.Advance(1200);
  EXPECT_TRUE(frmMain->Visible());
}

TEST_F(StartupTest, ExitButtonAndCloseBoxEndTheLoopWithoutAQuestion) {
  Start();
  Env.Widgets.Advance(1200);
  frmMain->btnExit->UserClicked();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(Env.Widgets.MessageBoxes.empty());
}

TEST_F(StartupTest, CloseBoxEndsTheProgramToo) {
  Start();
  Env.Widgets.Advance(1200);
  frmMain->UserClosed();
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(StartupTest, HelpOpensTheRelativePageElseTheInstalledOne) {
  Start();
  frmMain->btnHelp->UserClicked();
  EXPECT_EQ(Env.Host.Shell.Opened, std::vector<std::string>{"open Help.htm"});
  Env.Host.Shell.Openable = {"/usr/share/brisko/Help.htm"};
  frmMain->btnHelp->UserClicked();
  EXPECT_EQ(Env.Host.Shell.Opened,
            (std::vector<std::string>{"open Help.htm", "open Help.htm", "open /usr/share/brisko/Help.htm"}));
}

TEST_F(StartupTest, SplashArtworkIsDrawnUnscaledAndCropped) {
  Start();
  const gfx::Bitmap& picture = AboutForm->imgBack->Picture();
  EXPECT_EQ(picture.Width(), 344);
  EXPECT_EQ(picture.Height(), 181);
  EXPECT_FALSE(AboutForm->btnClose->Visible());
  EXPECT_TRUE(AboutForm->btnClose->Default());
  int nonBlack = 0;
  for (gfx::TPixel p : picture.Pixels()) nonBlack += p != 0;
  EXPECT_GT(nonBlack, 344 * 181 / 2);
}

TEST_F(StartupTest, LayoutFollowsTheWindowTable) {
  Start();
  const auto at = [](TControl* c) { return std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()}; };
  using V = std::vector<int>;
  EXPECT_EQ(at(frmMain->groupCpuShow), (V{8, 8, 97, 121}));
  EXPECT_EQ(at(frmMain->imgCpuChart), (V{8, 16, 273, 100}));
  EXPECT_EQ(frmMain->imgCpuChart->Parent(), frmMain->groupCpuChart);
  EXPECT_EQ(at(frmMain->goupMemInfo), (V{8, 264, 393, 121}));
  EXPECT_EQ(at(frmMain->GaugePage), (V{144, 96, 241, 16}));
  EXPECT_EQ(at(frmMain->edtVirtuData), (V{92, 336, 60, 17}));
  EXPECT_EQ(at(frmMain->btnSet), (V{412, 199, 75, 25}));
  EXPECT_EQ(at(frmMain->PanelSet), (V{8, 6, 393, 379}));
  EXPECT_FALSE(frmMain->PanelSet->Visible());
  EXPECT_FALSE(frmMain->btnHelp->Visible());
  EXPECT_TRUE(frmMain->btnExit->Visible());
  EXPECT_EQ(frmMain->btnExit->Caption(), "退出");
  EXPECT_EQ(frmMain->Label2->Font().Color, clNavy);
  EXPECT_EQ(frmMain->lblPhics->Font().Name, "宋体");
  EXPECT_EQ(frmMain->timerShow->Interval(), 1000u);
  EXPECT_EQ(frmMain->timerAuto->Interval(), 100000u);
  EXPECT_TRUE(frmMain->edtPhicsData->ReadOnly());
  EXPECT_EQ(frmMain->edtPhicsData->Color(), clBtnFace);
}

TEST_F(StartupTest, TheKeyboardWalksTheWindowInItsOwnOrderFromQuickTrim) {
  Start();
  Env.Widgets.Advance(1200);
  EXPECT_EQ(frmMain->ActiveControl(), frmMain->btnQuick);
  std::vector<TControl*> seen;
  for (int k = 0; k < 9; ++k) {
    frmMain->UserKeyDown(TKey::Tab, 0);
    seen.push_back(frmMain->ActiveControl());
  }
  // The hidden help button and settings panel are passed over.
  EXPECT_EQ(seen, (std::vector<TControl*>{frmMain->btnDepth, frmMain->btnSet, frmMain->edtPhicsData, frmMain->edtVirtuData,
                                          frmMain->edtPageData, frmMain->btnInfo, frmMain->btnSysInfo, frmMain->btnExit,
                                          frmMain->btnQuick}));
  frmMain->btnSet->UserClicked();
  frmMain->SetActiveControl(frmMain->btnExit);
  frmMain->UserKeyDown(TKey::Tab, 0);
  EXPECT_EQ(frmMain->ActiveControl(), frmMain->trackDepth);  // then the open panel's controls
}

TEST_F(StartupTest, StatusBarSitsAtTheBottomAndHostsTheHiddenProgressGauge) {
  Start();
  TMyStatusBar* bar = frmMain->StatusBar;
  EXPECT_EQ(bar->Top(), 393);
  EXPECT_EQ(bar->Width(), 497);
  EXPECT_EQ(bar->Height(), 19);
  EXPECT_TRUE(bar->AcceptsControls());
  ASSERT_EQ(bar->Panels().size(), 2u);
  EXPECT_EQ(bar->Panels()[0].Width, 380);
  EXPECT_EQ(bar->Panels()[0].Text, "CPU频率: 1000MHz");  // the fake clock runs at 1 GHz
  EXPECT_EQ(bar->Panels()[1].Width, 342);
  TGauge* gauge = frmMain->GaugeProgress;
  EXPECT_EQ(gauge->Parent(), bar);
  EXPECT_FALSE(gauge->Visible());
  bar->SetPanelText(0, "CPU频率: 2400MHz");
  EXPECT_EQ(gauge->BoundsRect(), (TRect{384, 2, 497, 18}));
  EXPECT_FALSE(gauge->Visible());
  EXPECT_EQ(gauge->Font().Name, "Tahoma");
  EXPECT_EQ(gauge->ForeColor(), clNavy);
}

TEST(DispatchTest, AnErrorInAHandlerEndsUpInTheErrorBox) {
  TTestApplication env;
  env.App.SetTitle("Brisko内存整理 4.0");
  TForm form(nullptr);
  auto* button = new TButton(&form);
  button->OnClick = [](TObject*) { throw Exception("broken"); };
  button->UserClicked();
  ASSERT_EQ(env.Widgets.MessageBoxes.size(), 1u);
  EXPECT_EQ(env.Widgets.MessageBoxes[0].Text, "broken.");  // a full stop after a letter
  EXPECT_EQ(env.Widgets.MessageBoxes[0].Caption, "Brisko内存整理 4.0");
  EXPECT_EQ(env.Widgets.MessageBoxes[0].Flags, MbOk | MbIconError);
  // Nothing after what sorts before or at the full stop: a bracket, a quote, the full stop itself.
  for (const char* message : {"not supported)", "'Depth'", "done."}) {
    button->OnClick = [message](TObject*) { throw Exception(message); };
    button->UserClicked();
    EXPECT_EQ(env.Widgets.MessageBoxes.back().Text, message);
  }
}

}  // namespace

namespace {

TEST(ComponentTest, AComponentMadeAtRunTimeUnderALoadedOwnerIsLoadedAtOnce) {
  TTestApplication env;
  TForm form(nullptr);
  auto* early = new TTimer(&form);
  EXPECT_TRUE(early->Loading());
  form.EndLoading();
  EXPECT_FALSE(early->Loading());
  auto* late = new TTimer(&form);
  int ticks = 0;
  late->OnTimer = [&](TObject*) { ++ticks; };
  late->SetInterval(50);
  env.Widgets.Advance(100);
  EXPECT_FALSE(late->Loading());
  EXPECT_EQ(ticks, 2);
}

}  // namespace
