// The main window's layout, read as a table (name, parent, left, top, width, height, caption), and
// its frame handlers: creation, show, first activation, help and exit.
#include "app/uMain.h"

#include "platform/Host.h"

TfrmMain* frmMain = nullptr;

namespace {

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
  PanelSet = Add<TPanel>("PanelSet", this, 8, 6, 393, 379);
  PanelSet->SetBorderStyle(TBorderStyle::Single);
  PanelSet->SetVisible(false);

  timerShow = new TTimer(this);
  timerShow->SetName("timerShow");
  timerShow->SetInterval(1000);
  timerAuto = new TTimer(this);
  timerAuto->SetName("timerAuto");
  timerAuto->SetInterval(100000);
}

void TfrmMain::BuildMemoryTable() {
  goupMemInfo  = Add<TGroupBox>("goupMemInfo", this, 8, 264, 393, 121);
  Label1       = Add<TLabel>("Label1", goupMemInfo, 24, 20, 0, 0, "类别");
  Label2       = Add<TLabel>("Label2", goupMemInfo, 96, 20, 0, 0, "数值");
  Label3       = Add<TLabel>("Label3", goupMemInfo, 248, 20, 0, 0, "比例");
  lblPhics     = Add<TLabel>("lblPhics", goupMemInfo, 8, 48, 81, 12, "可用物理内存");
  lblVirtu     = Add<TLabel>("lblVirtu", goupMemInfo, 8, 72, 0, 0, "可用虚拟内存");
  lblPage      = Add<TLabel>("lblPage", goupMemInfo, 8, 96, 0, 0, "可用的交换区");
  edtPhicsData = Add<TEdit>("edtPhicsData", this, 104, 312, 41, 20);
  edtVirtuData = Add<TEdit>("edtVirtuData", this, 104, 336, 41, 17);
  edtPageData  = Add<TEdit>("edtPageData", this, 104, 360, 41, 17);
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

void TfrmMain::BuildStatusBar() {
  StatusBar = Add<TMyStatusBar>("StatusBar", this, 0, 393, 497, 19);
  StatusBar->SetPanels({{"CPU频率:", 380, true}, {"", 342, false}});
  GaugeProgress = Add<TGauge>("GaugeProgress", StatusBar, 384, 2, 113, 16);
  GaugeProgress->SetVisible(false);
  GaugeProgress->SetColor(clActiveCaption);
  GaugeProgress->SetForeColor(clNavy);
  GaugeProgress->SetFont({"Tahoma", 11, false, clNavy});
}

void TfrmMain::BindHandlers() {
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };
  btnExit->OnClick = [this](TObject* s) { btnExitClick(s); };
  btnHelp->OnClick = [this](TObject* s) { btnHelpClick(s); };
}

void TfrmMain::FormCreate(TObject*) {
  SetIcon(Application->Icon());
  SetCaption(Application->Title());
}

void TfrmMain::FormShow(TObject*) {
  if (Application->Minimized()) Application->Restore();
}

void TfrmMain::FormActivate(TObject*) {
  Screen->SetCursor(TCursor::Default);
  OnActivate = nullptr;
}

void TfrmMain::btnExitClick(TObject*) { Close(); }

void TfrmMain::btnHelpClick(TObject*) { platform::Host().Shell->OpenDocument("open", "Help.htm"); }
