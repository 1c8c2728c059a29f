// Window lifetimes headless: a window freed from its own handler, handlers that pump messages, a modal
// window made per click and freed when it closes, and re-entry through the pump. The sanitizer build
// runs these too, so a window freed while its handler still runs is caught there.
#include <gtest/gtest.h>

#include "TestApplication.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"
#include "base/SysUtils.h"
#include "ui/WindowsNumbers.h"

namespace {

class TProbeForm : public TForm {
public:
  TProbeForm(TComponent* owner, int& destroyed) : TForm(owner), FDestroyed(destroyed) {
    SetClientSize(200, 100);
    Button = Add<TButton>("Button", this, 8, 8, 75, 25, "关闭");
    Timer = new TTimer(this);
    Timer->SetEnabled(false);
    Timer->SetInterval(10);
    OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::Free; };
    // A destroy handler that reads the derived window: it must run while the window is whole.
    OnDestroy = [this](TObject*) { FDestroyed += Button->Caption() == "关闭" ? 1 : 100; };
    EndCreate();
  }
  TButton* Button;
  TTimer* Timer;

private:
  int& FDestroyed;
};

class FormsTest : public ::testing::Test {
protected:
  TTestApplication Env;
  int Destroyed = 0;
  TProbeForm* Make(TComponent* owner = nullptr) { return new TProbeForm(owner ? owner : Application, Destroyed); }
};

TEST_F(FormsTest, AWindowClosedByItsOwnHandlerIsFreedAfterTheHandlerEvenWhenItPumps) {
  TProbeForm* form = Make();
  form->Show();
  bool aliveAfterPump = false;
  form->Button->OnClick = [&](TObject*) {
    form->Close();
    Application->ProcessMessages();
    // Still whole: the handler runs on in a window the user closed.
    aliveAfterPump = Destroyed == 0 && form->Button->Caption() == "关闭";
    EXPECT_EQ(Application->DispatchDepth(), 1);
  };
  form->Button->UserClicked();
  EXPECT_TRUE(aliveAfterPump);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(Destroyed, 0);
  Env.Widgets.ProcessMessages();
  EXPECT_EQ(Destroyed, 1);
  EXPECT_EQ(Application->Components().size(), 0u);
}

TEST_F(FormsTest, ReleasedTwiceOrFreedByItsOwnerMeanwhileIsFreedOnce) {
  TProbeForm* owner = Make();
  TProbeForm* child = Make(owner);
  child->Release();
  child->Release();
  owner->Free();  // takes the child with it before the release arrives
  EXPECT_EQ(Destroyed, 2);
  Env.Widgets.ProcessMessages();
  EXPECT_EQ(Destroyed, 2);
}

TEST_F(FormsTest, AModalWindowMadePerClickRunsItsLoopAndIsFreedWhenItCloses) {
  TProbeForm* main = Make();
  main->Show();
  int result = 0;
  main->Button->OnClick = [&](TObject*) {
    TProbeForm* dialog = Make(main);
    // The dialog's own tick pumps messages and then closes it.
    dialog->Timer->OnTimer = [dialog](TObject*) {
      Application->ProcessMessages();
      dialog->Close();
    };
    dialog->Timer->SetEnabled(true);
    result = dialog->ShowModal();
    // After the loop the window is hidden but still readable; it goes once this handler is over.
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(dialog->ModalResult(), IdCancel);
    EXPECT_EQ(Destroyed, 0);
  };
  main->Button->UserClicked();
  EXPECT_EQ(result, IdCancel);
  EXPECT_TRUE(main->Enabled());
  Env.Widgets.ProcessMessages();
  EXPECT_EQ(Destroyed, 1);
  EXPECT_EQ(main->Components().size(), 2u);  // its own button and timer
}

TEST_F(FormsTest, TheOtherWindowsTakeNoInputWhileAModalOneIsOpen) {
  TProbeForm* main = Make();
  main->Show();
  bool mainEnabledInside = true;
  main->Button->OnClick = [&](TObject*) {
    TProbeForm* dialog = Make(main);
    dialog->Timer->OnTimer = [&, dialog](TObject*) {
      mainEnabledInside = main->Enabled();
      dialog->SetModalResult(IdOk);
    };
    dialog->Timer->SetEnabled(true);
    EXPECT_EQ(dialog->ShowModal(), IdOk);
  };
  main->Button->UserClicked();
  EXPECT_FALSE(mainEnabledInside);
  EXPECT_TRUE(main->Enabled());
}

TEST_F(FormsTest, AModalWindowThatRefusesToCloseStaysInItsLoop) {
  TProbeForm* dialog = Make();
  int asked = 0;
  dialog->OnClose = [&](TObject*, TCloseAction& action) { action = ++asked < 2 ? TCloseAction::None : TCloseAction::Hide; };
  dialog->Timer->OnTimer = [dialog](TObject*) { dialog->Close(); };
  dialog->Timer->SetEnabled(true);
  EXPECT_EQ(dialog->ShowModal(), IdCancel);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(Destroyed, 0);  // hidden, not freed
}

TEST_F(FormsTest, AHandlerReenteredThroughThePumpRunsNestedAndReleasesWaitForTheOutermost) {
  TProbeForm* form = Make();
  TProbeForm* victim = Make();
  std::vector<int> depths;
  form->Timer->OnTimer = [&](TObject*) {
    depths.push_back(Application->DispatchDepth());
    victim->Release();
  };
  form->Timer->SetEnabled(true);
  form->Button->OnClick = [&](TObject*) {
    // A long handler that keeps the window live: ticks run inside it.
    for (int i = 0; i < 3; ++i) Env.Widgets.Advance(10);
    EXPECT_EQ(Destroyed, 0);
  };
  form->Button->UserClicked();
  EXPECT_EQ(depths, (std::vector<int>{2, 2, 2}));
  EXPECT_EQ(Destroyed, 0);
  Env.Widgets.ProcessMessages();
  EXPECT_EQ(Destroyed, 1);
}

TEST_F(FormsTest, ErrorsInNestedHandlersReachTheErrorBoxAndTheDepthUnwinds) {
  TProbeForm* form = Make();
  form->Timer->OnTimer = [](TObject*) { throw Exception("内层"); };
  form->Timer->SetEnabled(true);
  form->Button->OnClick = [&](TObject*) {
    Env.Widgets.Advance(10);
    throw Exception("外层");
  };
  form->Button->UserClicked();
  ASSERT_EQ(Env.Widgets.MessageBoxes.size(), 2u);
  EXPECT_EQ(Env.Widgets.MessageBoxes[0].Text, "内层.");
  EXPECT_EQ(Env.Widgets.MessageBoxes[1].Text, "外层.");
  EXPECT_EQ(Application->DispatchDepth(), 0);
}

}  // namespace

namespace {

// A window with a group of two buttons, a label, an edit and a check box, and a default button.
class TKeyForm : public TForm {
public:
  explicit TKeyForm(TComponent* owner) : TForm(owner) {
    SetClientSize(300, 200);
    Group = Add<TGroupBox>("Group", this, 8, 8, 150, 100, "组");
    First = Add<TButton>("First", Group, 8, 16, 75, 25, "一");
    Second = Add<TButton>("Second", Group, 8, 48, 75, 25, "二");
    Label = Add<TLabel>("Label", this, 170, 8, 50, 12, "标签");
    Edit = Add<TEdit>("Edit", this, 170, 30, 60, 20);
    Check = Add<TCheckBox>("Check", this, 170, 60, 100, 17, "选项");
    Ok = Add<TButton>("Ok", this, 170, 160, 75, 25, "确定");
    Ok->SetDefault(true);
    for (TButton* b : {First, Second, Ok}) b->OnClick = [this](TObject* s) { Clicked.push_back(static_cast<TButton*>(s)); };
    EndCreate();
  }
  TGroupBox* Group;
  TButton *First, *Second, *Ok;
  TLabel* Label;
  TEdit* Edit;
  TCheckBox* Check;
  std::vector<TButton*> Clicked;
};

class KeyboardTest : public ::testing::Test {
protected:
  TTestApplication Env;
  TKeyForm* Form = new TKeyForm(Application);
  std::vector<TControl*> Walk(int steps, unsigned shift = 0) {
    std::vector<TControl*> seen;
    for (int k = 0; k < steps; ++k) {
      EXPECT_TRUE(Form->UserKeyDown(TKey::Tab, shift));
      seen.push_back(Form->ActiveControl());
    }
    return seen;
  }
};

TEST_F(KeyboardTest, AWindowComesUpOnItsFirstTabStopAndTabWalksTheTabOrderDepthFirst) {
  Form->Show();
  EXPECT_EQ(Form->ActiveControl(), Form->First);
  EXPECT_EQ(Walk(5), (std::vector<TControl*>{Form->Second, Form->Edit, Form->Check, Form->Ok, Form->First}));
  EXPECT_EQ(Walk(2, ShiftState::Shift), (std::vector<TControl*>{Form->Ok, Form->Check}));
  // Hidden and disabled controls, and everything in a disabled container, are passed over.
  Form->Edit->Hide();
  Form->Group->SetEnabled(false);
  EXPECT_EQ(Walk(3), (std::vector<TControl*>{Form->Ok, Form->Check, Form->Ok}));
}

TEST_F(KeyboardTest, TabOrderCanBeSetAmongSiblings) {
  Form->Ok->SetTabOrder(0);
  Form->Check->SetTabOrder(1);
  Form->Second->SetTabOrder(0);
  EXPECT_EQ(Form->Ok->TabOrder(), 0);
  EXPECT_EQ(Form->Group->TabOrder(), 2);
  Form->Show();
  EXPECT_EQ(Form->ActiveControl(), Form->Ok);
  EXPECT_EQ(Walk(4), (std::vector<TControl*>{Form->Check, Form->Second, Form->First, Form->Edit}));
}

TEST_F(KeyboardTest, EnterPressesTheFocusedButtonElseTheDefaultOne) {
  Form->Show();
  EXPECT_TRUE(Form->UserKeyDown(TKey::Return, 0));
  Form->Check->SetFocus();
  EXPECT_TRUE(Form->UserKeyDown(TKey::Return, 0));
  Form->Ok->SetEnabled(false);
  EXPECT_FALSE(Form->UserKeyDown(TKey::Return, 0));
  EXPECT_EQ(Form->Clicked, (std::vector<TButton*>{Form->First, Form->Ok}));
  EXPECT_FALSE(Form->UserKeyDown(TKey::Escape, 0));
}

TEST_F(KeyboardTest, APressAndReleaseInsideAControlIsItsClick) {
  int clicks = 0;
  Form->Label->OnClick = [&](TObject*) { ++clicks; };
  ASSERT_EQ(Form->Label->Width(), 24);  // auto-sized to the box font's two characters
  Form->Label->UserMouseDown(3, 3);
  Form->Label->UserMouseUp(23, 11);
  Form->Label->UserMouseDown(3, 3);
  Form->Label->UserMouseUp(24, 3);  // released beside it
  Form->Label->UserMouseUp(5, 5);   // a release without a press
  EXPECT_EQ(clicks, 1);
  Form->Label->SetEnabled(false);
  Form->Label->UserMouseDown(3, 3);
  Form->Label->UserMouseUp(3, 3);
  EXPECT_EQ(clicks, 1);
}

TEST_F(KeyboardTest, WindowsAreCentredOnTheDesktopOrOnTheMainWindow) {
  TKeyForm* main = nullptr;
  Application->CreateForm(main);
  main->SetPosition(TPosition::ScreenCenter);
  main->Show();
  EXPECT_EQ(main->BoundsRect(), (TRect{362, 284, 662, 484}));  // 1024 × 768, no frame without a peer
  Form->SetClientSize(100, 50);
  Form->SetPosition(TPosition::MainFormCenter);
  Form->Show();
  EXPECT_EQ(Form->BoundsRect(), (TRect{462, 359, 562, 409}));
}

}  // namespace
