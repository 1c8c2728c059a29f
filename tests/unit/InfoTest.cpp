// The performance details window headless, against the fake host's query records: the number
// formats, the layout, the fill steps with their failures, and the window's life as a modal window.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "TestApplication.h"
#include "app/Brisko.h"
#include "app/uInfo.h"
#include "app/uMain.h"

namespace {

TEST(InfoFormats, FixedKilobytesWholeKilobytesAndHours) {
  for (const auto& [count, text] : {std::pair<uint32_t, const char*>{0, " 0.00K"}, {1024, " 1.00K"}, {1536, " 1.50K"},
                                    {1152, " 1.13K"}, {10234, " 9.99K"}, {10235, "10.00K"}, {51200, "50.00K"},
                                    {102400, "100.00K"}, {0xFFFFFFFF, "4194304.00K"}})
    EXPECT_EQ(FormatF(count), text) << count;
  EXPECT_EQ(FormatKB(10485760), "10240K");
  EXPECT_EQ(FormatKB(1023), "0K");
  EXPECT_EQ(FormatH(36000000000), "1");
  EXPECT_EQ(FormatH(35999999999), "0");
  EXPECT_EQ(FormatH(-36000000000), "-1") << "toward zero";
}

template <class T>
void Put(std::vector<uint8_t>& record, size_t offset, T value) {
  std::memcpy(record.data() + offset, &value, sizeof value);
}

class InfoTest : public ::testing::Test {
protected:
  TTestApplication Env;
  void SetUp() override {
    auto& records = Env.Host.System.Records;
    std::vector<uint8_t>& cache = records[platform::SystemInfoFileCache];
    cache.resize(36);
    Put<uint32_t>(cache, 0, 10485760);
    Put<uint32_t>(cache, 4, 20480);
    Put<uint32_t>(cache, 12, 1152);   // minimum working set
    Put<uint32_t>(cache, 16, 51200);  // maximum
    std::vector<uint8_t>& perf = records[platform::SystemInfoPerformance];
    perf.resize(312);
    for (size_t offset : {32, 36, 40, 44, 48, 52, 56, 84, 112, 116, 128, 132}) Put<uint32_t>(perf, offset, static_cast<uint32_t>(offset) * 1024);
    std::vector<uint8_t>& cpu = records[platform::SystemInfoProcessorTimes];
    cpu.resize(48);
    Put<int64_t>(cpu, 0, 72000000000);
    Put<int64_t>(cpu, 8, 35999999999);
    Put<int64_t>(cpu, 32, 36000000000);
    Put<uint32_t>(cpu, 40, 123456789);
    Env.Host.System.Threads = 812;
    Env.Host.Processes.Processes.clear();
    for (uint32_t pid = 1; pid <= 300; ++pid) Env.Host.Processes.Processes.push_back({pid * 4});
  }
  TInfoForm* Open(TInfoFigures figures = {}) {
    auto* form = new TInfoForm(&Env.App, std::move(figures));
    form->Show();
    return form;
  }
  // The values of a list: its odd rows, once every even row is checked to be empty.
  static std::vector<std::string> Values(const TListBox* list) {
    std::vector<std::string> values;
    for (size_t k = 0; k < list->Items().size(); ++k) {
      if (k % 2 == 0) EXPECT_EQ(list->Items()[k], "") << list->Name();
      else values.push_back(list->Items()[k]);
    }
    return values;
  }
  using TRows = std::vector<std::string>;
};

TEST_F(InfoTest, TheLayoutPutsEveryValueRowLevelWithItsLabel) {
  TInfoForm* form = Open();
  EXPECT_EQ(form->Caption(), "详细信息");
  EXPECT_EQ(form->ClientWidth(), 434);
  EXPECT_EQ(form->ClientHeight(), 403);
  EXPECT_EQ(form->GroupBoxIO->BoundsRect(), (TRect{224, 8, 425, 129}));
  EXPECT_EQ(form->GroupBoxPageFile->Caption(), "分页池信息");
  EXPECT_EQ(form->ListBoxPageFile->BoundsRect(), (TRect{136, 16, 193, 121}));
  EXPECT_EQ(form->ListBoxPageFile->BorderStyle(), TBorderStyle::None);
  EXPECT_EQ(form->ListBoxPageFile->Color(), form->GroupBoxPageFile->Color());
  EXPECT_EQ(form->Labels[7]->Caption(), "读页I/O操作数:");
  EXPECT_EQ(form->Labels[7]->Parent(), form->GroupBoxIO);
  EXPECT_EQ(form->FindComponent("Label8"), form->Labels[7]);
  // Value k sits on row 2k + 1 of 12 pixels below the list's top: level with label k.
  for (int k = 0; k < 4; ++k) {
    const int valueTop = form->ListBoxIO->Top() + (2 * k + 1) * form->ListBoxIO->ItemHeight();
    EXPECT_LE(std::abs(valueTop - form->Labels[4 + k]->Top()), 1) << k;
  }
  EXPECT_EQ(form->GroupTotal->TabOrder(), 0);
  EXPECT_EQ(form->GroupBoxIO->TabOrder(), 5);
}

TEST_F(InfoTest, EachGroupShowsItsRecordsFieldsInTheirFormats) {
  TInfoForm* form = Open({"511MB", "137MB"});
  EXPECT_EQ(Values(form->ListBoxCache), (TRows{"10240K", "20K", "50.00K", " 1.13K"}));
  EXPECT_EQ(Values(form->ListBoxIO), (TRows{"32.00K", "36.00K", "40.00K", "84.00K"}));
  EXPECT_EQ(Values(form->ListBoxPage), (TRows{"44.00K", "48.00K", "52.00K", "56.00K"}));
  EXPECT_EQ(Values(form->ListBoxPageFile), (TRows{"112.00K", "116.00K", "128.00K", "132.00K"}));
  EXPECT_EQ(Values(form->ListBoxCpu), (TRows{"2", "0", "1", "123456789"}));
  // Every process, not the first 256; the figures given.
  EXPECT_EQ(Values(form->ListBoxBase), (TRows{"300", "812", "511MB", "137MB"}));
  EXPECT_TRUE(Env.Widgets.MessageBoxes.empty());
}

TEST_F(InfoTest, AFailedQueryEmptiesExactlyItsListsAndAShowingTakesAFreshSnapshot) {
  Env.Host.System.Records.erase(platform::SystemInfoPerformance);
  Env.Host.Processes.EnumFails = true;
  TInfoForm* form = Open();
  EXPECT_EQ(form->ListBoxCache->Items().size(), 8u);
  EXPECT_EQ(form->ListBoxCpu->Items().size(), 8u);
  for (const TListBox* list : {form->ListBoxIO, form->ListBoxPage, form->ListBoxPageFile}) EXPECT_TRUE(list->Items().empty());
  EXPECT_EQ(Values(form->ListBoxBase)[0], "0");
  EXPECT_TRUE(Env.Widgets.MessageBoxes.empty());

  Env.Host.System.Records.clear();
  Env.Host.Processes.EnumFails = false;
  form->Hide();
  form->Show();
  EXPECT_TRUE(form->ListBoxCache->Items().empty()) << "cleared before the fill";
  EXPECT_TRUE(form->ListBoxCpu->Items().empty());
  EXPECT_EQ(Values(form->ListBoxBase)[0], "300");
}

TEST_F(InfoTest, TheButtonOpensAFreshModalWindowEachTimeAndFreesIt) {
  StartBrisko();
  Env.Widgets.Advance(1200);
  for (int opening = 0; opening < 2; ++opening) {
    bool mainTookNoInput = false;
    TRows basic;
    frmMain->edtPhicsData->SetText(std::to_string(100 + opening) + "MB");
    auto* closer = new TTimer(&Env.App);
    closer->SetInterval(100);
    closer->OnTimer = [&, closer](TObject*) {
      closer->SetEnabled(false);
      mainTookNoInput = !frmMain->Enabled() && InfoForm && InfoForm->Visible() && InfoForm->Owner() == frmMain;
      basic = Values(InfoForm->ListBoxBase);
      InfoForm->Close();
    };
    frmMain->btnInfo->UserClicked();
    EXPECT_TRUE(mainTookNoInput);
    // The main window's figures as they read at the click.
    ASSERT_EQ(basic.size(), 4u);
    EXPECT_EQ(basic[2], std::to_string(frmMain->trackDepth->Max()) + "MB");
    EXPECT_EQ(basic[3], std::to_string(100 + opening) + "MB");
    Env.Widgets.ProcessMessages();
    EXPECT_EQ(frmMain->FindComponent("InfoForm"), nullptr);
  }
}

}  // namespace
