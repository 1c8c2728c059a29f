// The notification icon component headless, with the manual widget set as the desktop: the click
// orders with and without a double-click handler, the menu, Enabled, the tooltip cut, the image list
// rules, the shared window, the taskbar's re-creation and minimising into the notification area.
#include <gtest/gtest.h>

#include "TestApplication.h"
#include "tray/ShellTrayIcon.h"
#include "ui/WindowsNumbers.h"

namespace {

using namespace TrayMessage;

// A window owning a tray icon and a menu, built as a window description builds it.
class TTrayForm : public TForm {
public:
  explicit TTrayForm(TComponent* owner) : TForm(owner) {
    Menu = new TPopupMenu(this);
    for (const char* caption : {"one", "two", "three"}) {
      auto* item = new TMenuItem(this);
      item->SetCaption(caption);
      item->OnClick = [this, caption](TObject*) { Events.push_back(std::string("item ") + caption); };
      Menu->Add(item);
    }
    Tray = new TShellTrayIcon(this);
    Tray->SetIconVisible(true);
    Tray->SetPopupMenu(Menu);
    Tray->OnClick = [this](TObject*) { Events.push_back("click"); };
    Tray->OnMouseDown = [this](TObject*, TMouseButton b, unsigned, int, int) { Events.push_back("down " + Name(b)); };
    Tray->OnMouseUp = [this](TObject*, TMouseButton b, unsigned, int, int) { Events.push_back("up " + Name(b)); };
    EndCreate();
  }
  static std::string Name(TMouseButton b) { return b == TMouseButton::Left ? "left" : b == TMouseButton::Right ? "right" : "middle"; }

  TShellTrayIcon* Tray;
  TPopupMenu* Menu;
  std::vector<std::string> Events;
};

class TrayIconTest : public ::testing::Test {
protected:
  TTestApplication Env;
  TTrayForm* Form = nullptr;
  void SetUp() override { Env.App.CreateForm(Form); }
  void Mouse(std::initializer_list<uint32_t> codes) {
    for (uint32_t code : codes) Env.Widgets.TrayMouse(code);
  }
  std::vector<std::string>& Events() { return Form->Events; }
  const TNotifyIconData& Desktop() { return Env.Widgets.TrayIcons.begin()->second.Data; }
};

TEST_F(TrayIconTest, ClickOrdersWithAndWithoutADoubleClickHandler) {
  Mouse({LButtonDown, LButtonUp});
  EXPECT_EQ(Events(), (std::vector<std::string>{"down left", "click", "up left"}));

  Form->Tray->OnDblClick = [this](TObject*) { Events().push_back("double"); };
  Events().clear();
  Mouse({LButtonDown, LButtonUp});
  EXPECT_EQ(Events(), (std::vector<std::string>{"down left", "up left"}));
  Env.Widgets.Advance(499);
  EXPECT_EQ(Events().size(), 2u);
  Env.Widgets.Advance(1);  // the double-click time counted from the press
  EXPECT_EQ(Events().back(), "click");

  Events().clear();  // held past the double-click time: the click comes at the release
  Mouse({LButtonDown});
  Env.Widgets.Advance(700);
  Mouse({LButtonUp});
  EXPECT_EQ(Events(), (std::vector<std::string>{"down left", "click", "up left"}));

  Events().clear();  // a double click clicks the first default item, and no single click follows
  Form->Menu->Items()[1]->SetDefault(true);
  Form->Menu->Items()[2]->SetDefault(true);
  Mouse({LButtonDown, LButtonUp, LButtonDblClk, LButtonUp});
  Env.Widgets.Advance(1000);
  EXPECT_EQ(Events(), (std::vector<std::string>{"down left", "up left", "double", "item two", "up left"}));
  Form->Tray->SetLeftPopup(true);
  Events().clear();
  Mouse({LButtonDblClk});
  EXPECT_EQ(Events(), std::vector<std::string>{"double"});
}

TEST_F(TrayIconTest, TheRightButtonPopsTheMenuUpAtTheCursorAndDisabledIconsStaySilent) {
  Env.Widgets.Cursor = {1000, 760};
  Env.Widgets.MenuAnswers.push_back(2);
  Env.Widgets.WhileMenuOpen = [this] { Events().push_back("menu"); };
  Mouse({RButtonDown, RButtonUp, MButtonDown, MButtonUp});
  EXPECT_EQ(Events(), (std::vector<std::string>{"down right", "menu", "item three", "up right", "down middle", "up middle"}));
  ASSERT_EQ(Env.Widgets.Menus.size(), 1u);
  EXPECT_EQ(Env.Widgets.Menus[0].At.X, 1000);
  EXPECT_EQ(Env.Widgets.Menus[0].Entries.size(), 3u);
  EXPECT_EQ(Form->Menu->PopupComponent(), Form->Tray);

  Form->Tray->SetEnabled(false);
  Form->Tray->OnDblClick = [this](TObject*) { Events().push_back("double"); };
  Form->Tray->OnBalloonHintClick = [this](TObject*) { Events().push_back("balloon"); };
  Events().clear();
  Mouse({LButtonDown, LButtonUp, LButtonDblClk, RButtonDown, MouseMove, BalloonUserClick});
  Env.Widgets.Advance(1000);
  EXPECT_EQ(Events(), std::vector<std::string>{"balloon"});
  EXPECT_EQ(Env.Widgets.Menus.size(), 1u);
}

TEST_F(TrayIconTest, TheTooltipIsCutAtWholeCharactersWithin127Bytes) {
  std::string hint;
  for (int i = 0; i < 60; ++i) hint += "内";  // 3 bytes each: 126 bytes fit, the 43rd character does not
  Form->Tray->SetHint(hint);
  EXPECT_EQ(Desktop().Tip, hint.substr(0, 126));
  Form->Tray->SetHint(std::string(200, 'a'));
  EXPECT_EQ(Desktop().Tip, std::string(127, 'a'));
  Form->Tray->SetShowHint(false);
  EXPECT_EQ(Desktop().Tip, "");
}

TEST_F(TrayIconTest, ImageIndexRulesAndCycling) {
  TCustomImageList list(nullptr);
  for (gfx::TPixel colour : {0xFF0000u, 0x00FF00u, 0x0000FFu}) list.AddMasked(gfx::Bitmap(16, 16, colour), clNone);
  TShellTrayIcon& tray = *Form->Tray;
  tray.SetIconIndex(5);
  EXPECT_EQ(tray.IconIndex(), 0);  // no list
  tray.SetIconList(&list);
  tray.SetIconIndex(7);
  EXPECT_EQ(tray.IconIndex(), 2);
  EXPECT_EQ(Env.Widgets.TrayIcons.begin()->second.Icon.Color.Pixel(0, 0), 0x0000FFu);

  std::vector<int> next;
  tray.OnCycle = [&](TObject*, int n) { next.push_back(n); };
  tray.SetCycleIcons(true);  // interval 0: no cycling
  Env.Widgets.Advance(5000);
  EXPECT_TRUE(next.empty());
  tray.SetCycleInterval(100);
  Env.Widgets.Advance(300);
  EXPECT_EQ(next, (std::vector<int>{1, 2, 0}));
  tray.SetCycleIcons(false);

  TCustomImageList empty(nullptr);
  tray.SetIconList(&empty);
  tray.SetIconIndex(3);
  EXPECT_EQ(tray.IconIndex(), -1);
}

TEST_F(TrayIconTest, TheDesktopGetsTheIconBackAfterItsTaskbarIsRecreatedOnlyWhenItWasThere) {
  Env.Widgets.TrayIcons.clear();  // the desktop restarted
  TMessage created{Env.Widgets.TaskbarCreated};
  Form->UserWindowMessage(created);
  EXPECT_EQ(Env.Widgets.TrayIcons.size(), 1u);
  Form->Tray->SetIconVisible(false);
  Form->UserWindowMessage(created);
  EXPECT_TRUE(Env.Widgets.TrayIcons.empty());
}

TEST_F(TrayIconTest, MinimisingHidesTheWindowIntoTheNotificationAreaWhenAskedTo) {
  Form->Show();
  TMessage minimize{WindowMessage::SysCommand, WindowMessage::ScMinimize};
  EXPECT_FALSE(Form->UserWindowMessage(minimize));  // MinimizeToTray off: the window minimises

  Form->Tray->SetMinimizeToTray(true);
  EXPECT_FALSE(Form->UserWindowMessage(minimize));  // without OnMinimizeToTray, also
  TMessage minimized{WindowMessage::Size, WindowMessage::SizeMinimized};
  Form->UserWindowMessage(minimized);  // ... and once minimised, it goes into the notification area
  EXPECT_FALSE(Form->Visible());

  Form->Show();
  Form->Tray->OnMinimizeToTray = [this](TObject*) { Events().push_back("to tray"); };
  EXPECT_TRUE(Form->UserWindowMessage(minimize));
  EXPECT_EQ(minimize.Result, 1);
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Events(), std::vector<std::string>{"to tray"});
  EXPECT_EQ(Env.Widgets.TrayIcons.size(), 1u);
}

TEST(TrayIconLifetime, TheLastIconTakesTheSharedWindowWithItAndRemovesItsIcon) {
  TTestApplication env;
  auto* a = new TShellTrayIcon(&env.App);
  auto* b = new TShellTrayIcon(&env.App);
  a->SetIconVisible(true);
  EXPECT_EQ(env.Widgets.TrayIcons.size(), 1u);
  a->Free();
  EXPECT_TRUE(env.Widgets.TrayIcons.empty());
  EXPECT_NE(SharedTrayHandler(), nullptr);
  b->Free();
  EXPECT_EQ(SharedTrayHandler(), nullptr);
  new TShellTrayIcon(&env.App);
  EXPECT_NE(SharedTrayHandler(), nullptr);
}

}  // namespace
