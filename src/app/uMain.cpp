// The main window's layout, read as a table (name, parent, left, top, width, height, caption), and
// its frame handlers: creation, show, first activation, help and exit.
#include "app/uMain.h"

#include <algorithm>
#include <cmath>

#include "app/Sampling.h"
#include "app/Trimming.h"
#include "app/defrag.h"
#include "app/fMessageBox.h"
#include "app/uInfo.h"
#include "platform/Host.h"
#include "platform/Resources.h"
#include "sysinfo/UCpu.h"
#include "base/SysUtils.h"
#include "ui/WindowsNumbers.h"

TfrmMain* frmMain = nullptr;

namespace {

constexpr int ReadOutLeft = 92, ReadOutWidth = 60;

// "宋体" 12 px is the window's font; the labels' headings differ only in colour.
gfx::TFontSpec WindowFont(TColor color = clBlack) { return {"宋体", 12, false, color}; }

void StyleMemoryGauge(TGauge* gauge) {
  gauge->SetForeColor(clBlue);
  gauge->SetBackColor(clRed);
  gauge->SetColor(clSilver);
}

void StyleReadOut(TEdit* edit) {
  edit->SetReadOnly(true);
  edit->SetBorderStyle(TBorderStyle::None);
  edit->SetParentColor(true);
}

}  // namespace

TfrmMain::TfrmMain(TComponent* owner) : TForm(owner) {
  frmMain = this;
  SetName("frmMain");
  SetCaption("内存优化");
  SetBorderStyle(TFormBorderStyle::Single);
  SetBorderIcons(BorderIcon::SystemMenu | BorderIcon::Minimize);
  SetPosition(TPosition::ScreenCenter);
  SetClientSize(497, 412);
  SetFont(WindowFont());
  SetColor(clBtnFace);
  BuildLayout();
  BindHandlers();
  EndCreate();
}

void TfrmMain::BuildLayout() {
  groupCpuShow  = Add<TGroupBox>("groupCpuShow", this, 8, 8, 97, 121, "CPU使用");
  imgCpuShow    = Add<TImage>("imgCpuShow", groupCpuShow, 8, 12, 81, 105);
  groupCpuChart = Add<TGroupBox>("groupCpuChart", this, 112, 8, 289, 121, "CPU使用纪录");
  imgCpuChart   = Add<TImage>("imgCpuChart", groupCpuChart, 8, 16, 273, 100);
  groupMemChart = Add<TGroupBox>("groupMemChart", this, 8, 136, 97, 121, "内存使用");
  imgMemChart   = Add<TImage>("imgMemChart", groupMemChart, 8, 12, 81, 105);
  groupMemShow  = Add<TGroupBox>("groupMemShow", this, 112, 136, 289, 121, "内存使用纪录");
  imgMemShow    = Add<TImage>("imgMemShow", groupMemShow, 8, 16, 273, 100);
  BuildMemoryTable();
  BuildButtons();
  BuildStatusBar();
  BuildSettingsPanel();

  timerShow = new TTimer(this);
  timerShow->SetName("timerShow");
  timerShow->SetInterval(1000);
  timerAuto = new TTimer(this);
  timerAuto->SetName("timerAuto");
  timerAuto->SetInterval(100000);
  BuildTray();

  // The keyboard's order, which is not the order the controls were made in.
  int order = 0;
  for (TControl* c : std::initializer_list<TControl*>{btnQuick, btnDepth, btnSet, btnHelp, edtPhicsData, edtVirtuData,
                                                      edtPageData, btnInfo, btnSysInfo, btnExit, PanelSet})
    c->SetTabOrder(order++);
}

void TfrmMain::BuildMemoryTable() {
  goupMemInfo  = Add<TGroupBox>("goupMemInfo", this, 8, 264, 393, 121);
  Label1       = Add<TLabel>("Label1", goupMemInfo, 24, 20, 0, 0, "类别");
  Label2       = Add<TLabel>("Label2", goupMemInfo, 96, 20, 0, 0, "数值");
  Label3       = Add<TLabel>("Label3", goupMemInfo, 248, 20, 0, 0, "比例");
  lblPhics     = Add<TLabel>("lblPhics", goupMemInfo, 8, 48, 81, 12, "可用物理内存");
  lblVirtu     = Add<TLabel>("lblVirtu", goupMemInfo, 8, 72, 0, 0, "可用虚拟内存");
  lblPage      = Add<TLabel>("lblPage", goupMemInfo, 8, 96, 0, 0, "可用的交换区");
  // The read-outs reach from just after the row headings to the gauges, wide enough for 9999999MB.
  edtPhicsData = Add<TEdit>("edtPhicsData", this, ReadOutLeft, 312, ReadOutWidth, 20);
  edtVirtuData = Add<TEdit>("edtVirtuData", this, ReadOutLeft, 336, ReadOutWidth, 17);
  edtPageData  = Add<TEdit>("edtPageData", this, ReadOutLeft, 360, ReadOutWidth, 17);
  GaugePhyics  = Add<TGauge>("GaugePhyics", goupMemInfo, 144, 48, 241, 16);
  GaugeVirtu   = Add<TGauge>("GaugeVirtu", goupMemInfo, 144, 72, 241, 16);
  GaugePage    = Add<TGauge>("GaugePage", goupMemInfo, 144, 96, 241, 16);

  for (TLabel* heading : {Label1, Label2, Label3}) heading->SetFont(WindowFont(clNavy));
  lblPhics->SetAutoSize(false);
  for (TEdit* readOut : {edtPhicsData, edtVirtuData, edtPageData}) StyleReadOut(readOut);
  for (TGauge* gauge : {GaugePhyics, GaugeVirtu, GaugePage}) StyleMemoryGauge(gauge);
}

void TfrmMain::BuildButtons() {
  btnQuick   = Add<TButton>("btnQuick", this, 412, 12, 75, 25, "快速整理");
  btnDepth   = Add<TButton>("btnDepth", this, 412, 48, 75, 25, "深度整理");
  btnSysInfo = Add<TButton>("btnSysInfo", this, 412, 101, 75, 25, "系统信息");
  btnInfo    = Add<TButton>("btnInfo", this, 412, 138, 75, 25, "性能信息");
  btnSet     = Add<TButton>("btnSet", this, 412, 199, 75, 25, "设置");
  btnHelp    = Add<TButton>("btnHelp", this, 412, 236, 75, 25, "帮助");
  btnExit    = Add<TButton>("btnExit", this, 412, 237, 75, 25, "退出");
  btnHelp->SetVisible(false);
}

void TfrmMain::BuildSettingsPanel() {
  PanelSet      = Add<TPanel>("PanelSet", this, 8, 6, 393, 379);
  lblZL         = Add<TLabel>("lblZL", PanelSet, 16, 12, 73, 17, "深度整理时，");
  lblDepth      = Add<TLabel>("lblDepth", PanelSet, 88, 12, 225, 12, "整理全部内存空间，释放尽可能多的内存");
  trackDepth    = Add<TTrackBar>("trackDepth", PanelSet, 8, 30, 369, 33);
  chkMemory     = Add<TCheckBox>("chkMemory", PanelSet, 16, 70, 129, 17, "当可用物理内存小于");
  lblMem        = Add<TLabel>("lblMem", PanelSet, 152, 70, 33, 17, "10%");
  lblMZ         = Add<TLabel>("lblMZ", PanelSet, 184, 70, 201, 12, "自动进行内存整理");
  trackMemory   = Add<TTrackBar>("trackMemory", PanelSet, 8, 92, 369, 33);
  chkCpu        = Add<TCheckBox>("chkCpu", PanelSet, 16, 130, 137, 17, "当可用cpu使用率小于");
  lblCpu        = Add<TLabel>("lblCpu", PanelSet, 152, 130, 33, 17, "10%");
  lblZ          = Add<TLabel>("lblZ", PanelSet, 184, 130, 201, 12, "不进行内存整理");
  trackCpu      = Add<TTrackBar>("trackCpu", PanelSet, 8, 160, 369, 33);
  groupOption   = Add<TGroupBox>("groupOption", PanelSet, 16, 208, 353, 121, "选项");
  chkAutoRun    = Add<TCheckBox>("chkAutoRun", groupOption, 16, 16, 257, 16, "系统启动时，自动启动该程序");
  chkClip       = Add<TCheckBox>("chkClip", groupOption, 16, 40, 225, 16, "整理内存自动清空Windows粘贴板内容");
  chkAutoScale  = Add<TCheckBox>("chkAutoScale", groupOption, 16, 64, 225, 16, "启动时自动缩小为任务栏小图标");
  chkTrayShow   = Add<TCheckBox>("chkTrayShow", groupOption, 16, 88, 185, 16, "运行时任务栏显示动态图标为");
  comboTrayShow = Add<TComboBox>("comboTrayShow", groupOption, 192, 88, 121, 20);
  btnSuggest    = Add<TButton>("btnSuggest", PanelSet, 32, 336, 75, 25, "推荐");
  btnSure       = Add<TButton>("btnSure", PanelSet, 160, 336, 75, 25, "确定");
  btnReturn     = Add<TButton>("btnReturn", PanelSet, 280, 336, 75, 25, "返回");

  PanelSet->SetBorderStyle(TBorderStyle::Single);
  PanelSet->SetVisible(false);
  for (TLabel* label : {lblZL, lblDepth, lblMem, lblMZ, lblCpu, lblZ}) label->SetAutoSize(false);
  trackDepth->SetMin(1);
  trackDepth->SetFrequency(10);
  trackDepth->SetPosition(1);
  for (TTrackBar* track : {trackMemory, trackCpu}) {
    track->SetMax(50);
    track->SetPosition(10);
  }
  chkMemory->SetChecked(true);
  chkCpu->SetChecked(true);
  chkTrayShow->SetChecked(true);
  chkAutoScale->SetVisible(false);
  chkTrayShow->SetVisible(false);
  comboTrayShow->SetItems({"可用物理内存百分比", "CPU使用百分比", "可用交换区百分比", "可用虚拟内存百分比"});
  comboTrayShow->SetItemIndex(1);
  comboTrayShow->SetVisible(false);
}

void TfrmMain::BuildStatusBar() {
  StatusBar = Add<TMyStatusBar>("StatusBar", this, 0, 393, 497, 19);
  StatusBar->SetPanels({{"CPU频率:", 380, true}, {"", 342, false}});
  GaugeProgress = Add<TGauge>("GaugeProgress", StatusBar, 384, 2, 113, 16);
  GaugeProgress->SetVisible(false);
  GaugeProgress->SetColor(clActiveCaption);
  GaugeProgress->SetForeColor(clNavy);
  GaugeProgress->SetFont({"Tahoma", 11, false, clNavy});
}

void TfrmMain::BuildTray() {
  popTray = new TPopupMenu(this);
  popTray->SetName("popTray");
  const auto item = [this](const char* name, const char* caption) {
    auto* menuItem = new TMenuItem(this);
    menuItem->SetName(name);
    menuItem->SetCaption(caption);
    popTray->Add(menuItem);
    return menuItem;
  };
  N1 = item("N1", "快速整理");
  N3 = item("N3", "-");
  m_ShowMain = item("m_ShowMain", "显示/隐藏主窗口(&M)");
  m_ShowMain->SetChecked(true);
  N2 = item("N2", "-");
  m_Exit = item("m_Exit", "退出(&X)");

  // In the order a window description sets them: the stored icon goes into the notification area
  // first, and the font that follows replaces it with the drawn picture (the background icon alone,
  // since the window never writes a text).
  TextTrayIcon = new TTextTrayIcon(this);
  TextTrayIcon->SetName("TextTrayIcon");
  TIcon stored;
  stored.LoadFromIco(platform::FindResource("TRAYICON"));
  TextTrayIcon->SetIcon(stored);
  TextTrayIcon->SetIconVisible(true);
  TextTrayIcon->SetPopupMenu(popTray);
  TextTrayIcon->SetMinimizeToTray(true);
  TextTrayIcon->BackgroundIcon().LoadFromIco(platform::FindResource("MAINICON"));
  TextTrayIcon->SetFont({"Microsoft Sans Serif", 10, false, clRed});
  TextTrayIcon->SetBorder(false);
}

void TfrmMain::BindHandlers() {
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };
  btnExit->OnClick = [this](TObject* s) { btnExitClick(s); };
  btnHelp->OnClick = [this](TObject* s) { btnHelpClick(s); };
  btnInfo->OnClick = [this](TObject* s) { btnInfoClick(s); };
  btnSysInfo->OnClick = [this](TObject* s) { btnSysInfoClick(s); };
  btnQuick->OnClick = [this](TObject* s) { btnQuickClick(s); };
  btnDepth->OnClick = [this](TObject* s) { btnDepthClick(s); };
  timerAuto->OnTimer = [this](TObject* s) { timerAutoTimer(s); };
  btnSet->OnClick = [this](TObject* s) { btnSetClick(s); };
  btnReturn->OnClick = [this](TObject* s) { btnReturnClick(s); };
  btnSuggest->OnClick = [this](TObject* s) { btnSuggestClick(s); };
  btnSure->OnClick = [this](TObject* s) { btnSureClick(s); };
  trackDepth->OnChange = [this](TObject* s) { trackDepthChange(s); };
  trackMemory->OnChange = [this](TObject* s) { trackMemoryChange(s); };
  trackCpu->OnChange = [this](TObject* s) { trackCpuChange(s); };
  timerShow->OnTimer = [this](TObject* s) { timerShowTimer(s); };
  N1->OnClick = [this](TObject* s) { btnQuickClick(s); };
  m_ShowMain->OnClick = [this](TObject* s) { m_ShowMainClick(s); };
  m_Exit->OnClick = [this](TObject* s) { m_ExitClick(s); };
  TextTrayIcon->OnClick = [this](TObject* s) { m_ShowMainClick(s); };
  TextTrayIcon->OnMinimizeToTray = [this](TObject* s) { textTrayIconMinimizeToTray(s); };
}

TfrmMain::~TfrmMain() {
  // Windows made later (the information windows) read the main window through this.
  if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::FormCreate(TObject*) {
  SetIcon(Application->Icon());
  SetCaption(Application->Title());
  TextTrayIcon->SetHint(Application->Title());
  CpuHistory.Reset();
  MemHistory.Reset();
  DrawChartGrid(imgCpuChart);
  DrawChartGrid(imgMemShow);
  DrawMeterBackground(imgMemChart);
  DrawMeterBackground(imgCpuShow);
  GetMemoryLoadPercent();
  LoadSettings();
  StatusBar->SetPanelText(0, "CPU频率: " + std::to_string(static_cast<long long>(std::ceil(MeasureCpuMhz()))) + "MHz");
}

void TfrmMain::FormShow(TObject*) {
  if (Application->Minimized()) Application->Restore();
}

void TfrmMain::FormActivate(TObject*) {
  Screen->SetCursor(TCursor::Default);
  OnActivate = nullptr;
}

void TfrmMain::btnExitClick(TObject*) { Close(); }

void TfrmMain::btnHelpClick(TObject*) {
  // The current folder's copy first (a program run where it was built), then the installed one.
  platform::IShell& shell = *platform::Host().Shell;
  if (!shell.OpenDocument("open", "Help.htm")) shell.OpenDocument("open", shell.InstalledDocument("Help.htm"));
}

// The information windows -----------------------------------------------------------------------

void TfrmMain::btnInfoClick(TObject*) {
  auto* form = new TInfoForm(this, {std::to_string(trackDepth->Max()) + "MB", edtPhicsData->Text()});
  form->ShowModal();
  form->Release();
}

void TfrmMain::btnSysInfoClick(TObject*) {
  // A fresh window each time, freed once its modal loop (and every handler) has ended.
  auto* form = new TCpuForm(this);
  form->ShowModal();
  form->Release();
}

// The notification icon ------------------------------------------------------------------------

void TfrmMain::m_ShowMainClick(TObject*) {
  SetVisible(!Visible());
  if (Visible()) SetWindowState(TWindowState::Normal);
  m_ShowMain->SetChecked(Visible());
}

void TfrmMain::textTrayIconMinimizeToTray(TObject*) {
  SetVisible(false);
  m_ShowMain->SetChecked(Visible());
}

void TfrmMain::m_ExitClick(TObject*) { Close(); }

// Trimming ------------------------------------------------------------------------------------

namespace {

// Runs a trim's restoring step whether or not the trim ended in an error.
template <class F>
class TFinally {
public:
  explicit TFinally(F f) : FRestore(std::move(f)) {}
  ~TFinally() { FRestore(); }
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;

private:
  F FRestore;
};

}  // namespace

void TfrmMain::btnQuickClick(TObject*) { QuickTrim(true); }

void TfrmMain::QuickTrim(bool askedByUser) {
  bool reachedOthers = true;
  {
    const TTrimScope scope;
    const uint64_t freeBefore = platform::Host().System->FreePhysicalMemory();
    const TFinally restore([this] {
      timerAuto->SetEnabled(true);
      GaugeProgress->Hide();
      Screen->SetCursor(TCursor::Default);
    });
    Screen->SetCursor(TCursor::HourGlass);
    GaugeProgress->Show();
    timerAuto->SetEnabled(false);
    if (chkClip->Checked()) EmptyClipboard();
    if (IsNtFamily()) {
      if (TrimAllWorkingSets(&reachedOthers)) Application->ProcessMessages();
      // Without the right to reach other programs, what the user's rights allow.
      if (!reachedOthers) platform::Host().Processes->ReclaimWithinRights();
    }
    ShowTrimResult(freeBefore, !reachedOthers);
    GaugeProgress->SetProgress(GaugeProgress->MaxValue());
    platform::Host().System->Sleep(1000);
  }
  if (!reachedOthers && askedByUser && !FRightsExplained) {
    FRightsExplained = true;
    Application->MessageBox(RightsAdviceText(platform::Host().Processes->RightsAdvice()), Application->Title(),
                            MbOk | MbIconInformation);
  }
}

void TfrmMain::btnDepthClick(TObject*) {
  if (AskOkCancel("确定进行'深度整理'吗?") != IdOk) return;
  const TTrimScope scope;
  const TFinally restore([this] {
    btnQuick->SetEnabled(true);
    btnDepth->SetEnabled(true);
    timerAuto->SetEnabled(true);
    GaugeProgress->Hide();
    Screen->SetCursor(TCursor::Default);
  });
  GaugeProgress->Show();
  Screen->SetCursor(TCursor::HourGlass);
  timerAuto->SetEnabled(false);
  btnQuick->SetEnabled(false);
  btnDepth->SetEnabled(false);
  if (chkClip->Checked()) EmptyClipboard();
  const int32_t blocks = std::min(trackDepth->Position(), DeepTrimMaxBlocks);
  GaugeProgress->SetProgress(0);
  GaugeProgress->SetMaxValue(2 * blocks);
  const uint64_t freeBefore = platform::Host().System->FreePhysicalMemory();
  // Pending messages are processed at every block (the window repaints, sampling ticks run, the tray
  // menu answers), then the progress gauge advances.
  DeepTrimMemory(trackDepth->Position(), [this] {
    Application->ProcessMessages();
    GaugeProgress->AdvanceProgress(1);
  });
  ShowTrimResult(freeBefore, false);
}

void TfrmMain::timerAutoTimer(TObject*) {
  if (!chkMemory->Checked()) return;
  const int freePercent = 100 - GetMemoryLoadPercent();
  if (freePercent >= trackMemory->Position()) return;
  timerShow->SetEnabled(false);
  const TFinally restore([this] { timerShow->SetEnabled(true); });
  if (!chkCpu->Checked() || GetCpuUsagePercent() > trackCpu->Position()) QuickTrim(false);
}

void TfrmMain::ShowTrimResult(uint64_t freeBefore, bool rightsMissing) {
  StatusBar->SetPanelText(1, rightsMissing ? "权限不足" : FreedText(freeBefore, platform::Host().System->FreePhysicalMemory()));
}

// Settings panel ------------------------------------------------------------------------------

namespace {

std::unique_ptr<platform::IRegistryKey> OpenSettings() {
  return platform::Host().Registry->CreateKey(platform::TRootKey::CurrentUser, SettingsKey);
}

std::string Percent(int value) { return std::to_string(value) + "%"; }

}  // namespace

void TfrmMain::LoadSettings() {
  const auto key = OpenSettings();
  const bool stored = key && key->ValueExists("IsMemCondition");
  if (stored) UpdateData();
  else ApplySuggestedSettings();
}

void TfrmMain::btnSetClick(TObject*) {
  PanelSet->Show();
  for (TButton* button : {btnQuick, btnDepth, btnSet}) button->SetEnabled(false);
  timerShow->SetEnabled(false);
}

void TfrmMain::btnReturnClick(TObject*) {
  PanelSet->Hide();
  timerShow->SetEnabled(true);
  for (TButton* button : {btnQuick, btnDepth, btnSet}) button->SetEnabled(true);
}

void TfrmMain::btnSuggestClick(TObject*) { ApplySuggestedSettings(); }

void TfrmMain::btnSureClick(TObject* sender) {
  {
    const auto key = OpenSettings();
    if (!key) RaiseNotStored();
    WriteSettings(*key, PanelSettings());
  }
  auto run = platform::Host().Registry->CreateKey(platform::TRootKey::LocalMachine, RunKey);
  if (!run) return;
  const bool written = chkAutoRun->Checked()
                           ? run->WriteString(RunValue, AutorunCommand(platform::Host().System->ExecutablePath()))
                           : run->DeleteValue(RunValue);
  if (!written) throw Exception(Format("Failed to set data for '%s'", RunValue));
  run.reset();
  Application->MessageBox("设置成功！", Application->Title(), MbOk);
  btnReturnClick(sender);
}

TSettings TfrmMain::PanelSettings() const {
  TSettings s;
  s.Depth = trackDepth->Position();
  s.MemCondition = trackMemory->Position();
  s.IsMemCondition = chkMemory->Checked();
  s.CpuCondition = trackCpu->Position();
  s.IsCpuCondition = chkCpu->Checked();
  s.Autorun = chkAutoRun->Checked();
  s.IsClearPaste = chkClip->Checked();
  s.IsTaskBar = chkAutoScale->Checked();
  s.IsTaskShow = chkTrayShow->Checked();
  s.TaskShow = comboTrayShow->ItemIndex();
  return s;
}

void TfrmMain::ShowSettings(const TSettings& s) {
  trackDepth->SetPosition(s.Depth);
  trackDepthChange(trackDepth);
  chkMemory->SetChecked(s.IsMemCondition);
  trackMemory->SetPosition(s.MemCondition);
  lblMem->SetCaption(Percent(trackMemory->Position()));
  chkCpu->SetChecked(s.IsCpuCondition);
  trackCpu->SetPosition(s.CpuCondition);
  lblCpu->SetCaption(Percent(trackCpu->Position()));
  chkAutoRun->SetChecked(s.Autorun);
  chkClip->SetChecked(s.IsClearPaste);
  chkAutoScale->SetChecked(s.IsTaskBar);
  chkTrayShow->SetChecked(s.IsTaskShow);
  comboTrayShow->SetItemIndex(s.TaskShow);
}

void TfrmMain::trackDepthChange(TObject*) {
  const int p = trackDepth->Position();
  lblDepth->SetCaption(p == trackDepth->Max() ? "整理全部内存空间，释放尽可能多的内存"
                                              : "整理0-" + std::to_string(p) + "M的内存空间");
}

void TfrmMain::trackMemoryChange(TObject*) { lblMem->SetCaption(Percent(trackMemory->Position())); }

void TfrmMain::trackCpuChange(TObject*) { lblCpu->SetCaption(Percent(trackCpu->Position())); }

void TfrmMain::ApplySuggestedSettings() { ShowSettings(TSettings::Recommended(trackDepth->Max())); }

void TfrmMain::UpdateData() {
  const auto key = OpenSettings();
  if (!key) return;
  // What was read before a value that cannot be read stays in effect.
  TSettings s = PanelSettings();
  try {
    ReadSettings(*key, s);
  } catch (...) {
    ShowSettings(s);
    throw;
  }
  ShowSettings(s);
}

// Sampling ------------------------------------------------------------------------------------

int TfrmMain::GetMemoryLoadPercent() {
  const platform::TMemoryStatus status = platform::Host().System->GetMemoryStatus();
  trackDepth->SetMax(MegaBytes(status.TotalPhys));
  return MemoryLoadPercent(status);
}

namespace {

void SetGauge(TGauge* gauge, uint64_t total, uint64_t available) {
  gauge->SetMinValue(1);
  // A total of 0 (a machine without swap) is an empty gauge, not a maximum below the minimum.
  gauge->SetMaxValue(std::max(MegaBytes(total), 1));
  gauge->SetProgress(MegaBytes(available));
}

}  // namespace

void TfrmMain::UpdateMemoryInfo() {
  const platform::TMemoryStatus status = platform::Host().System->GetMemoryStatus();
  edtPhicsData->SetText(std::to_string(MegaBytes(status.AvailPhys)) + "MB");
  edtVirtuData->SetText(std::to_string(MegaBytes(status.AvailVirtual)) + "MB");
  edtPageData->SetText(std::to_string(MegaBytes(status.AvailPageFile)) + "MB");
  SetGauge(GaugePhyics, status.TotalPhys, status.AvailPhys);
  trackDepth->SetMax(GaugePhyics->MaxValue());
  SetGauge(GaugeVirtu, status.TotalVirtual, status.AvailVirtual);
  SetGauge(GaugePage, status.TotalPageFile, status.AvailPageFile);
}

void TfrmMain::timerShowTimer(TObject*) {
  try {
    const int cpu = GetCpuUsagePercent();
    int bars = cpu / 5;
    if (bars < 20 && cpu % 5 != 0) ++bars;
    DrawMeter(imgCpuShow, 20, false, TMeterKind::CpuMeter, cpu);
    DrawMeter(imgCpuShow, bars, true, TMeterKind::CpuMeter, cpu);
    imgCpuShow->Changed();
    const int mem = GetMemoryLoadPercent();
    DrawMeter(imgMemChart, 20, false, TMeterKind::MemoryMeter, mem);
    DrawMeter(imgMemChart, mem / 5, true, TMeterKind::MemoryMeter, mem);
    imgMemChart->Changed();
    UpdateChart(imgCpuChart, cpu, CpuHistory);
    UpdateChart(imgMemShow, mem, MemHistory);
    UpdateMemoryInfo();
  } catch (const std::exception&) {
    // A failed tick leaves the pictures as they were; the next one starts afresh.
  }
}
