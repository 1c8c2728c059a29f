// The trims driven headless against the fake processes: the quick trim's steps and list, the deep
// trim's blocks, gauge and question, the automatic check's thresholds, the restoring step after an
// error, re-entry through the message pump, and what the status bar reports.
#include <gtest/gtest.h>

#include "PerfBlockBuilder.h"
#include "TestApplication.h"
#include "app/Brisko.h"
#include "app/TrimCommand.h"
#include "app/defrag.h"
#include "app/uMain.h"
#include "measure/CpuUsage.h"
#include "ui/WindowsNumbers.h"

namespace {

class TrimTest : public ::testing::Test {
protected:
  TTestApplication Env;
  TFakeProcesses& Processes = Env.Host.Processes;

  void SetUp() override {
    StartBrisko();
    Env.Widgets.Advance(1200);
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& m : Env.Widgets.MessageBoxes) out.push_back(m.Text);
    return out;
  }
  bool Restored() const {
    return !frmMain->GaugeProgress->Visible() && frmMain->timerAuto->Enabled() && frmMain->btnQuick->Enabled() &&
           frmMain->btnDepth->Enabled() && Screen->Cursor() == TCursor::Default;
  }
  std::string ResultPanel() const { return frmMain->StatusBar->Panels()[1].Text; }
};

TEST_F(TrimTest, QuickTrimOpensEveryProcessWithTheTwoRightsItNeedsAndRestoresAfterASecond) {
  Processes.Processes[1].Openable = false;
  Processes.OnEmptyWorkingSet = [this] { Env.Host.System.FreePhys += 50ull << 20; };
  bool gaugeFullDuringPause = false;
  const size_t sleepsBefore = Env.Host.System.Sleeps.size();
  frmMain->btnQuick->UserClicked();
  EXPECT_EQ(Processes.Events, (std::vector<std::string>{"privilege SeDebugPrivilege", "open 4", "trim 4", "close 4", "open 108",
                                                        "open 2000", "trim 2000", "close 2000"}));
  EXPECT_EQ(Processes.LastAccess, 0x0100u | 0x0400u);  // the fake system is Windows XP: no limited right
  EXPECT_EQ(Env.Host.System.Sleeps.back(), 1000u);
  EXPECT_EQ(Env.Host.System.Sleeps.size(), sleepsBefore + 1);
  gaugeFullDuringPause = frmMain->GaugeProgress->Progress() == frmMain->GaugeProgress->MaxValue();
  EXPECT_TRUE(gaugeFullDuringPause);
  EXPECT_TRUE(Restored());
  EXPECT_EQ(ResultPanel(), "释放 100MB");
  EXPECT_EQ(Processes.Begun, 1);
  EXPECT_EQ(Processes.Ended, 1);
  EXPECT_TRUE(Messages().empty());
  Env.Host.System.Version.MajorVersion = 6;
  frmMain->btnQuick->UserClicked();
  EXPECT_EQ(Processes.LastAccess, 0x0100u | 0x1000u);
}

TEST_F(TrimTest, ThreeHundredProcessesAreAllTrimmedInTheirOrder) {
  Processes.Processes.clear();
  for (uint32_t pid = 1; pid <= 300; ++pid) Processes.Processes.push_back({pid * 4});
  frmMain->btnQuick->UserClicked();
  for (const auto& p : Processes.Processes) EXPECT_EQ(p.Trims, 1) << p.Pid;
  EXPECT_EQ(Processes.EnumBufferBytes, (std::vector<uint32_t>{1024, 2048}));
  EXPECT_EQ(Processes.Events[1], "open 4");
  EXPECT_EQ(Processes.Events.back(), "close 1200");
}

TEST_F(TrimTest, AnUnreadableListTrimsNothingButTheGaugeStillFillsForASecond) {
  Processes.EnumFails = true;
  frmMain->btnQuick->UserClicked();
  EXPECT_EQ(Processes.Events, std::vector<std::string>{"privilege SeDebugPrivilege"});
  EXPECT_EQ(Env.Host.System.Sleeps.back(), 1000u);
  EXPECT_TRUE(Restored());
}

TEST_F(TrimTest, TheNineXFamilyOnlyEmptiesTheClipboardAndPauses) {
  Env.Host.System.Version.PlatformId = platform::PlatformWin32Windows;
  frmMain->chkClip->SetChecked(true);
  frmMain->btnQuick->UserClicked();
  EXPECT_TRUE(Processes.Events.empty());
  EXPECT_EQ(Env.Host.Clipboard.Emptied, 1);
  EXPECT_EQ(Env.Host.System.Sleeps.back(), 1000u);
}

TEST_F(TrimTest, AClipboardThatCannotBeOpenedStopsTheTrimAndIsReportedAfterRestoring) {
  frmMain->chkClip->SetChecked(true);
  Env.Host.Clipboard.Openable = false;
  bool restoredBeforeTheBox = false;
  Env.Widgets.WhileMessageBoxOpen = [&] { restoredBeforeTheBox = Restored(); };
  frmMain->btnQuick->UserClicked();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Cannot open clipboard."});
  EXPECT_EQ(Env.Widgets.MessageBoxes[0].Flags, MbOk | MbIconError);
  EXPECT_TRUE(restoredBeforeTheBox);
  EXPECT_TRUE(Processes.Events.empty());
  Env.Widgets.WhileMessageBoxOpen = nullptr;
  frmMain->btnDepth->UserClicked();
  EXPECT_EQ(Messages().back(), "Cannot open clipboard.");
  EXPECT_EQ(Processes.Committed, 0);
  EXPECT_TRUE(Restored());
}

TEST_F(TrimTest, MissingRightsAreReportedAndExplainedOnceToTheUserNeverToTheAutomaticCheck) {
  Processes.PrivilegeHeld = false;
  Env.Host.System.SetMemoryMB(1000, 50);  // 5 % free, below the recommended 10 %
  frmMain->chkCpu->SetChecked(false);
  Env.Host.System.FreePhys = 0;
  Env.Widgets.Advance(100000);  // the automatic check trims, silently
  EXPECT_EQ(Processes.Reclaims, 1);
  EXPECT_EQ(ResultPanel(), "权限不足");
  EXPECT_TRUE(Messages().empty());
  frmMain->btnQuick->UserClicked();
  frmMain->btnQuick->UserClicked();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("以管理员身份运行"), std::string::npos);
  EXPECT_EQ(Env.Widgets.MessageBoxes[0].Flags, MbOk | MbIconInformation);
}

TEST_F(TrimTest, DeepTrimAsksThenCommitsAndReleasesEveryBlockWithTheGaugeRunningTwiceTheBlocks) {
  struct TCase {
    int Depth, Blocks;
  };
  for (const TCase c : {TCase{1, 1}, TCase{2048, 1024}}) {
    SCOPED_TRACE(c.Depth);
    Env.Host.System.SetMemoryMB(2048, 1024);
    frmMain->GetMemoryLoadPercent();  // as a tick does: the slider's maximum is the physical memory
    frmMain->trackDepth->SetPosition(c.Depth);
    Processes.Committed = Processes.Released = 0;
    std::vector<int> gaugeAtCommit;
    Processes.OnCommit = [&] { gaugeAtCommit.push_back(frmMain->GaugeProgress->Progress()); };
    frmMain->btnDepth->UserClicked();
    const auto& box = Env.Widgets.MessageBoxes.back();
    EXPECT_EQ(box.Text, "确定进行'深度整理'吗?");
    EXPECT_EQ(box.Caption, "Brisko内存整理 4.0");
    EXPECT_EQ(box.Flags, MbOkCancel | MbIconQuestion);
    EXPECT_EQ(Processes.Committed, c.Blocks);
    EXPECT_EQ(Processes.Released, c.Blocks);
    EXPECT_TRUE(Processes.HeldBlocks.empty());
    EXPECT_EQ(frmMain->GaugeProgress->MaxValue(), 2 * c.Blocks);
    EXPECT_EQ(frmMain->GaugeProgress->Progress(), 2 * c.Blocks);
    EXPECT_EQ(gaugeAtCommit.front(), 0);  // a second deep trim starts from an empty gauge
    EXPECT_FALSE(DeepTrimBusy);
    EXPECT_TRUE(Restored());
  }
}

TEST_F(TrimTest, CancelChangesNothing) {
  frmMain->chkClip->SetChecked(true);
  Env.Widgets.Answers.push_back(IdCancel);
  frmMain->btnDepth->UserClicked();
  EXPECT_EQ(Env.Host.Clipboard.Emptied, 0);
  EXPECT_EQ(Processes.Committed, 0);
  EXPECT_EQ(Processes.Begun, 0);
  EXPECT_EQ(Env.Widgets.Cursors.back(), TCursor::Default);
  EXPECT_TRUE(frmMain->timerAuto->Enabled());
}

TEST_F(TrimTest, ABlockTheSystemCannotSupplyEndsTheDeepTrimWithEveryHeldBlockReleased) {
  frmMain->trackDepth->SetPosition(100);
  Processes.BlocksAvailable = 40;
  frmMain->btnDepth->UserClicked();
  EXPECT_EQ(Processes.Committed, 40);
  EXPECT_EQ(Processes.Released, 40);
  EXPECT_EQ(Processes.BadReleases, 0);
  EXPECT_FALSE(DeepTrimBusy);
  EXPECT_EQ(frmMain->GaugeProgress->Progress(), 80);
  EXPECT_TRUE(Restored());
}

TEST_F(TrimTest, TheDeepTrimStaysLiveAndTheTrayQuickTrimRunsInsideIt) {
  frmMain->trackDepth->SetPosition(30);
  int ticks = 0, nested = 0;
  frmMain->timerShow->OnTimer = [&](TObject*) { ++ticks; };
  // A step after the tenth block: time passes, and the user asks for a quick trim and a second deep trim.
  Processes.OnCommit = [&] {
    if (Processes.Committed != 10) return;
    Env.Widgets.Advance(2000);
    frmMain->btnQuickClick(nullptr);
    ++nested;
    frmMain->btnDepthClick(nullptr);  // returns at once: a deep trim is under way
  };
  frmMain->btnDepth->UserClicked();
  EXPECT_GE(ticks, 2);
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(Processes.Committed, 30);
  EXPECT_EQ(Processes.Released, 30);
  EXPECT_EQ(Processes.Begun, Processes.Ended);
  EXPECT_TRUE(Restored());
}

TEST_F(TrimTest, ExitDuringADeepTrimEndsTheProgramOnceTheBlocksAreReleased) {
  frmMain->trackDepth->SetPosition(20);
  Processes.OnCommit = [&] {
    if (Processes.Committed == 5) frmMain->btnExit->UserClicked();
  };
  frmMain->btnDepth->UserClicked();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(Processes.Released, 20);
  EXPECT_TRUE(Processes.HeldBlocks.empty());
}

TEST_F(TrimTest, TheAutomaticCheckTrimsBelowTheFreeThresholdWhenTheProcessorIsBusier) {
  struct TCase {
    bool MemoryOn, CpuOn;
    int FreeMB;  // of 1024: 256 MB is 25 % free, 245 MB 24 %
    int64_t IdlePerSecond;  // in 100 ns units: 7500000 is 25 % busy, 5000000 is 50 %
    bool Trims;
  };
  const TCase cases[] = {
      {false, false, 100, 0, false},         // the memory condition off: never
      {true, false, 256, 0, false},          // free equal to the threshold: no trim
      {true, false, 245, 0, true},           // one percent lower
      {true, true, 245, 7500000, false},     // busy equal to the threshold: no trim
      {true, true, 245, 5000000, true},      // busier
  };
  frmMain->trackMemory->SetPosition(25);
  frmMain->trackCpu->SetPosition(25);
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.FreeMB) + " MB free, idle " + std::to_string(c.IdlePerSecond));
    frmMain->chkMemory->SetChecked(c.MemoryOn);
    frmMain->chkCpu->SetChecked(c.CpuOn);
    Env.Host.System.SetMemoryMB(1024, c.FreeMB);
    // The counter's previous sample, and the one the check takes a second later.
    Env.Host.Registry.PerfBlock = ProcessorBlock({2024, 1, 1, 0, 0, 0, 0}, {0}).Bytes;
    TakeCpuSample();
    Env.Host.Registry.PerfBlock = ProcessorBlock({2024, 1, 1, 0, 0, 1, 0}, {c.IdlePerSecond}).Bytes;
    Processes.Events.clear();
    frmMain->timerAutoTimer(nullptr);
    EXPECT_EQ(!Processes.Events.empty(), c.Trims);
    EXPECT_TRUE(frmMain->timerShow->Enabled());
  }
}

TEST_F(TrimTest, AnErrorInTheAutomaticCheckRestartsSamplingBeforeTheErrorBox) {
  Env.Host.System.SetMemoryMB(1000, 50);
  Env.Host.Registry.PerfBlock.clear();  // the processor sample fails
  bool samplingRestarted = false;
  Env.Widgets.WhileMessageBoxOpen = [&] { samplingRestarted = frmMain->timerShow->Enabled(); };
  Env.Widgets.Advance(100000);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Unable to locate the \"Processor\" performance object."});
  EXPECT_TRUE(samplingRestarted);
  EXPECT_TRUE(Processes.Events.empty());
}

// The command line's trim: its one line and its exit status for each outcome.
TEST_F(TrimTest, TheCommandLineTrimPrintsOneLineAndAnswersItsStatus) {
  const auto run = [&](int& status) {
    std::FILE* out = std::tmpfile();
    status = RunTrimCommand(out);
    std::rewind(out);
    char line[512] = {};
    if (!std::fgets(line, sizeof line, out)) line[0] = 0;
    std::fclose(out);
    return std::string(line);
  };
  Processes.OnEmptyWorkingSet = [&] { Env.Host.System.FreePhys += 10ull << 20; };
  int status = -1;
  EXPECT_EQ(run(status), "释放 30MB\n") << "three processes, 10 MB each";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Processes.Begun, Processes.Ended);

  Processes.PrivilegeHeld = false;
  EXPECT_EQ(run(status).rfind("释放 30MB（权限不足：", 0), 0u);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(Processes.Reclaims, 1);

  Processes.EnumFails = true;
  EXPECT_EQ(run(status), "brisko: the process list cannot be read\n");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Processes.Begun, Processes.Ended);
}

}  // namespace
