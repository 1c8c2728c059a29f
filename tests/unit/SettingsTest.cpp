// The settings panel against the fake registry: first start, loading with its errors and limits,
// saving in order with the logon entry, the panel's open and closed states.
#include <gtest/gtest.h>

#include <cstring>

#include "TestApplication.h"
#include "app/Brisko.h"
#include "app/uAbout.h"
#include "app/uMain.h"
#include "ui/WindowsNumbers.h"

namespace {

using platform::TRootKey;

class SettingsTest : public ::testing::Test {
protected:
  TTestApplication Env;
  TFakeRegistry& Registry = Env.Host.Registry;

  void Store(const std::map<std::string, uint32_t>& values) {
    for (const auto& [name, value] : values) Registry.SetDWord(TRootKey::CurrentUser, SettingsKey, name, value);
  }
  void StoreAll() {
    Store({{"Depth", 512}, {"MemCondition", 20}, {"IsMemCondition", 1}, {"CpuCondition", 30}, {"IsCpuCondition", 1},
           {"Autorun", 1}, {"IsClearPaste", 1}, {"IsTaskBar", 0}, {"IsTaskShow", 1}, {"TaskShow", 3}});
  }
  void Start(uint64_t physicalMB = 1024) {
    Env.Host.System.SetMemoryMB(physicalMB, physicalMB / 4);
    StartBrisko();
  }
  TFakeRegistry::TKey* Settings() { return Registry.Find(TRootKey::CurrentUser, SettingsKey); }
  TFakeRegistry::TKey* Run() { return Registry.Find(TRootKey::LocalMachine, RunKey); }
  uint32_t Stored(const std::string& name) {
    uint32_t v = 0;
    std::memcpy(&v, Settings()->Values.at(name).Data.data(), 4);
    return v;
  }
  std::string RunText() {
    const auto& data = Run()->Values.at(RunValue).Data;
    return {data.begin(), data.end()};
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const auto& m : Env.Widgets.MessageBoxes) out.push_back(m.Text);
    return out;
  }
};

TEST_F(SettingsTest, FirstStartShowsTheRecommendedValuesAndStoresNothing) {
  Start();
  EXPECT_EQ(frmMain->trackDepth->Max(), 1024);
  EXPECT_EQ(frmMain->trackDepth->Position(), 1024);
  EXPECT_EQ(frmMain->lblDepth->Caption(), "整理全部内存空间，释放尽可能多的内存");
  EXPECT_TRUE(frmMain->chkMemory->Checked());
  EXPECT_TRUE(frmMain->chkCpu->Checked());
  EXPECT_EQ(frmMain->lblMem->Caption(), "10%");
  EXPECT_EQ(frmMain->lblCpu->Caption(), "10%");
  EXPECT_FALSE(frmMain->chkAutoRun->Checked());
  EXPECT_FALSE(frmMain->chkClip->Checked());
  EXPECT_EQ(frmMain->comboTrayShow->ItemIndex(), 1);
  ASSERT_NE(Settings(), nullptr);
  EXPECT_TRUE(Settings()->Values.empty());
  EXPECT_TRUE(Env.Widgets.MessageBoxes.empty());
}

TEST_F(SettingsTest, SavesTheTenValuesAndTheLogonEntryThenLoadsThemBack) {
  Start();
  frmMain->btnSetClick(nullptr);
  frmMain->trackDepth->UserMovedTo(300);
  frmMain->trackMemory->UserMovedTo(25);
  frmMain->chkAutoRun->UserToggled(true);
  frmMain->btnSure->UserClicked();
  EXPECT_EQ(Messages(), std::vector<std::string>{"设置成功！"});
  EXPECT_EQ(Env.Widgets.MessageBoxes[0].Caption, "Brisko内存整理 4.0");
  EXPECT_FALSE(frmMain->PanelSet->Visible());
  EXPECT_EQ(Stored("Depth"), 300u);
  EXPECT_EQ(Stored("MemCondition"), 25u);
  EXPECT_EQ(Stored("Autorun"), 1u);
  EXPECT_EQ(Stored("TaskShow"), 1u);
  EXPECT_EQ(Settings()->Values.size(), 10u);
  EXPECT_EQ(RunText(), "C:\\Brisko\\brisko.exe /LOAD");

  frmMain->chkAutoRun->SetChecked(false);
  frmMain->btnSure->UserClicked();
  EXPECT_EQ(Run()->Values.count(RunValue), 0u);

  frmMain->Free();
  Application->CreateForm(frmMain);
  EXPECT_EQ(frmMain->trackDepth->Position(), 300);
  EXPECT_EQ(frmMain->lblDepth->Caption(), "整理0-300M的内存空间");
  EXPECT_EQ(frmMain->trackMemory->Position(), 25);
  EXPECT_EQ(frmMain->lblMem->Caption(), "25%");
  EXPECT_FALSE(frmMain->chkAutoRun->Checked());
}

TEST_F(SettingsTest, LogonCommandQuotesAPathWithBlanksOrQuotes) {
  Env.Host.System.ExePath = "C:\\Program Files\\Brisko\\brisko.exe";
  Start();
  frmMain->chkAutoRun->SetChecked(true);
  frmMain->btnSureClick(nullptr);
  EXPECT_EQ(RunText(), "\"C:\\Program Files\\Brisko\\brisko.exe\" /LOAD");
  EXPECT_EQ(AutorunCommand("/usr/bin/brisko"), "/usr/bin/brisko /LOAD");
  EXPECT_EQ(AutorunCommand("/opt/a \"b\\/brisko"), "\"/opt/a \\\"b\\/brisko\" /LOAD");
}

TEST_F(SettingsTest, StoredValuesAreKeptWithinTheSliders) {
  StoreAll();
  Store({{"Depth", 5000}, {"MemCondition", 80}});
  Start();
  EXPECT_EQ(frmMain->trackDepth->Position(), 1024);
  EXPECT_EQ(frmMain->lblDepth->Caption(), "整理全部内存空间，释放尽可能多的内存");
  EXPECT_EQ(frmMain->trackMemory->Position(), 50);
  EXPECT_EQ(frmMain->lblMem->Caption(), "50%");
  EXPECT_EQ(frmMain->trackCpu->Position(), 30);
  EXPECT_TRUE(frmMain->chkAutoRun->Checked());
  EXPECT_TRUE(frmMain->chkClip->Checked());
  EXPECT_EQ(frmMain->comboTrayShow->ItemIndex(), 3);
}

TEST_F(SettingsTest, DepthZeroShowsOneAndHalfTheMemoryIsDescribed) {
  StoreAll();
  Store({{"Depth", 0}});
  Start();
  EXPECT_EQ(frmMain->trackDepth->Position(), 1);
  EXPECT_EQ(frmMain->lblDepth->Caption(), "整理0-1M的内存空间");
  frmMain->trackDepth->SetPosition(512);
  EXPECT_EQ(frmMain->lblDepth->Caption(), "整理0-512M的内存空间");
}

TEST_F(SettingsTest, SmallerMemoryPullsTheDepthDownAndTheLabelFollows) {
  StoreAll();
  Start();
  EXPECT_EQ(frmMain->lblDepth->Caption(), "整理0-512M的内存空间");
  frmMain->trackDepth->SetMax(400);
  EXPECT_EQ(frmMain->trackDepth->Position(), 400);
  EXPECT_EQ(frmMain->lblDepth->Caption(), "整理全部内存空间，释放尽可能多的内存");
}

TEST_F(SettingsTest, ClearedConditionsLeaveTheirSlidersAtTen) {
  StoreAll();
  Store({{"IsMemCondition", 0}, {"MemCondition", 30}, {"IsCpuCondition", 0}, {"IsTaskShow", 0}, {"TaskShow", 3}});
  Start();
  EXPECT_FALSE(frmMain->chkMemory->Checked());
  EXPECT_EQ(frmMain->trackMemory->Position(), 10);
  EXPECT_EQ(frmMain->lblMem->Caption(), "10%");
  EXPECT_FALSE(frmMain->chkCpu->Checked());
  EXPECT_FALSE(frmMain->chkTrayShow->Checked());
  EXPECT_EQ(frmMain->comboTrayShow->ItemIndex(), 1);
  frmMain->btnSureClick(nullptr);
  EXPECT_EQ(Stored("IsTaskShow"), 0u);
}

TEST_F(SettingsTest, AMissingValueStopsLoadingThereAndStartUpGoesOn) {
  StoreAll();
  Settings()->Values.erase("CpuCondition");
  Start();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Failed to get data for 'CpuCondition'"});
  EXPECT_EQ(Env.Widgets.MessageBoxes[0].Flags, MbOk | MbIconError);
  EXPECT_EQ(frmMain->trackDepth->Position(), 512);
  EXPECT_EQ(frmMain->trackMemory->Position(), 20);
  EXPECT_EQ(frmMain->lblCpu->Caption(), "10%");
  EXPECT_FALSE(frmMain->chkAutoRun->Checked());  // not reached
  Env.Widgets.Advance(1200);
  EXPECT_TRUE(frmMain->Visible());
}

TEST_F(SettingsTest, AValueOfTheWrongTypeIsReportedByName) {
  StoreAll();
  Settings()->Values["MemCondition"] = {platform::TRegType::String, {'2', '0'}};
  Start();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Invalid data type for 'MemCondition'"});
  EXPECT_TRUE(frmMain->chkMemory->Checked());
  EXPECT_EQ(frmMain->trackMemory->Position(), 10);
}

TEST_F(SettingsTest, AFailedWriteIsReportedAndLeavesThePanelOpen) {
  Start();
  frmMain->btnSet->UserClicked();
  Registry.FailingWrites.insert("IsClearPaste");
  frmMain->btnSure->UserClicked();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Failed to set data for 'IsClearPaste'"});
  EXPECT_TRUE(frmMain->PanelSet->Visible());
  EXPECT_EQ(Settings()->Values.count("Autorun"), 1u);
  EXPECT_EQ(Settings()->Values.count("IsTaskBar"), 0u);
  EXPECT_EQ(Run(), nullptr);
}

TEST_F(SettingsTest, ASettingsStoreThatCannotBeOpenedIsAFailedSaveNotASuccess) {
  Start();
  Registry.Unopenable.insert({TRootKey::CurrentUser, SettingsKey});
  frmMain->btnSet->UserClicked();
  frmMain->btnSure->UserClicked();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Failed to set data for 'Depth'"});
  EXPECT_TRUE(frmMain->PanelSet->Visible());
  EXPECT_EQ(Run(), nullptr);
}

TEST_F(SettingsTest, AnErrorBoxLeftOpenPastTheSplashStillLetsTheWindowAppear) {
  StoreAll();
  Settings()->Values["Depth"] = {platform::TRegType::String, {'1'}};
  // The user reads the error box for five seconds; the splash timer falls due meanwhile.
  Env.Widgets.WhileMessageBoxOpen = [this] { Env.Widgets.Advance(5000); };
  Start();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Invalid data type for 'Depth'"});
  EXPECT_EQ(Application->MainForm(), frmMain);
  EXPECT_TRUE(frmMain->Visible());
  EXPECT_FALSE(AboutForm->Visible());
  EXPECT_EQ(frmMain->StatusBar->Panels()[0].Text, "CPU频率:");  // as far as it was built: no clock
}

TEST_F(SettingsTest, AnUnopenableLogonListSavesTheRestSilentlyAndKeepsThePanelOpen) {
  Registry.Unopenable.insert({TRootKey::LocalMachine, RunKey});
  Start();
  frmMain->btnSet->UserClicked();
  frmMain->chkAutoRun->SetChecked(true);
  frmMain->btnSure->UserClicked();
  EXPECT_TRUE(Env.Widgets.MessageBoxes.empty());
  EXPECT_TRUE(frmMain->PanelSet->Visible());
  EXPECT_EQ(Settings()->Values.size(), 10u);
  frmMain->btnReturn->UserClicked();
  EXPECT_FALSE(frmMain->PanelSet->Visible());
}

TEST_F(SettingsTest, OpenPanelFreezesSamplingAndDisablesTheTrimButtons) {
  Start();
  frmMain->btnSet->UserClicked();
  EXPECT_TRUE(frmMain->PanelSet->Visible());
  EXPECT_FALSE(frmMain->btnQuick->Enabled());
  EXPECT_FALSE(frmMain->btnDepth->Enabled());
  EXPECT_FALSE(frmMain->btnSet->Enabled());
  EXPECT_TRUE(frmMain->btnExit->Enabled());
  EXPECT_FALSE(frmMain->timerShow->Enabled());
  EXPECT_TRUE(frmMain->timerAuto->Enabled());
  frmMain->btnReturn->UserClicked();
  EXPECT_TRUE(frmMain->btnSet->Enabled());
  EXPECT_TRUE(frmMain->timerShow->Enabled());
}

TEST_F(SettingsTest, RecommendedValuesThenReturnStayInEffectUnstored) {
  StoreAll();
  Start();
  frmMain->btnSet->UserClicked();
  frmMain->btnSuggest->UserClicked();
  frmMain->btnReturn->UserClicked();
  EXPECT_EQ(frmMain->trackDepth->Position(), 1024);
  EXPECT_EQ(frmMain->trackCpu->Position(), 10);
  EXPECT_FALSE(frmMain->chkAutoRun->Checked());
  EXPECT_EQ(Stored("Depth"), 512u);
  EXPECT_EQ(Stored("CpuCondition"), 30u);
}

TEST_F(SettingsTest, SlidersMoveTheirLabels) {
  Start();
  frmMain->trackCpu->UserMovedTo(42);
  EXPECT_EQ(frmMain->lblCpu->Caption(), "42%");
  frmMain->trackMemory->UserMovedTo(77);
  EXPECT_EQ(frmMain->lblMem->Caption(), "50%");
  EXPECT_EQ(frmMain->trackDepth->Frequency(), 10);
}

}  // namespace
