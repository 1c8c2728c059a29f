// The main window in the notification area, headless: a "/LOAD" start reached through the icon, the
// show/hide toggle and its check mark, minimising into the notification area, and the menu's quick
// trim and exit.
#include <gtest/gtest.h>

#include "TestApplication.h"
#include "app/Brisko.h"
#include "app/uMain.h"
#include "ui/WindowsNumbers.h"

namespace {

using namespace TrayMessage;

class MainTrayTest : public ::testing::Test {
protected:
  TTestApplication Env;
  void Start(std::vector<std::string> args) {
    Env.Host.System.Args = std::move(args);
    StartBrisko();
    Env.Widgets.Advance(1200);
  }
  void Click() {
    Env.Widgets.TrayMouse(LButtonDown);
    Env.Widgets.TrayMouse(LButtonUp);
  }
  const TNotifyIconData& Icon() const { return Env.Widgets.TrayIcons.begin()->second.Data; }
};

TEST_F(MainTrayTest, ALoadStartIsReachedThroughTheIconWhoseClicksToggleTheWindow) {
  Start({"/LOAD"});
  EXPECT_FALSE(frmMain->Visible());
  ASSERT_EQ(Env.Widgets.TrayIcons.size(), 1u);
  EXPECT_EQ(Icon().Tip, "Brisko内存整理 4.0");
  EXPECT_FALSE(Env.Widgets.TrayIcons.begin()->second.Icon.Empty());
  EXPECT_TRUE(frmMain->m_ShowMain->Checked());  // on although hidden
  Click();
  EXPECT_TRUE(frmMain->Visible());
  EXPECT_TRUE(frmMain->m_ShowMain->Checked());
  Click();
  EXPECT_FALSE(frmMain->Visible());
  EXPECT_FALSE(frmMain->m_ShowMain->Checked());
}

TEST_F(MainTrayTest, MinimisingHidesTheWindowIntoTheNotificationArea) {
  Start({});
  TMessage minimize{WindowMessage::SysCommand, WindowMessage::ScMinimize};
  EXPECT_TRUE(frmMain->UserWindowMessage(minimize));
  EXPECT_FALSE(frmMain->Visible());
  EXPECT_FALSE(frmMain->m_ShowMain->Checked());
  Click();
  EXPECT_TRUE(frmMain->Visible());
}

TEST_F(MainTrayTest, TheMenuTrimsWhileTheWindowIsHiddenAndExitsWithoutAQuestion) {
  Start({"/LOAD"});
  Env.Widgets.MenuAnswers = {0, 4};
  Env.Widgets.TrayMouse(RButtonDown);
  const auto& entries = Env.Widgets.Menus.at(0).Entries;
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].Caption, "快速整理");
  EXPECT_TRUE(entries[1].Separator);
  EXPECT_EQ(entries[2].Caption, "显示/隐藏主窗口(&M)");
  EXPECT_TRUE(entries[2].Checked);
  EXPECT_EQ(entries[4].Caption, "退出(&X)");
  EXPECT_FALSE(Env.Host.Processes.Events.empty());  // a whole quick trim ran
  EXPECT_EQ(Env.Host.System.Sleeps.back(), 1000u);
  Env.Widgets.TrayMouse(RButtonDown);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(Env.Widgets.MessageBoxes.empty());
}

TEST_F(MainTrayTest, WithoutANotificationAreaALoadStartShowsTheWindow) {
  Env.Widgets.HasNotifyArea = false;
  Start({"/LOAD"});
  EXPECT_TRUE(frmMain->Visible());
}

}  // namespace
