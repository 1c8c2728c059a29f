// The main window: meters, charts, the availability table, the buttons, the status bar with its
// hosted progress gauge, the (hidden) settings panel and the two timers.
#pragma once
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "widgets/Gauges.h"
#include "widgets/HostStatusBar.h"

class TfrmMain : public TForm {
public:
  explicit TfrmMain(TComponent* owner);

  TGroupBox* groupCpuShow;
  TImage* imgCpuShow;
  TGroupBox* groupCpuChart;
  TImage* imgCpuChart;
  TGroupBox* groupMemChart;
  TImage* imgMemChart;
  TGroupBox* groupMemShow;
  TImage* imgMemShow;
  TGroupBox* goupMemInfo;
  TLabel* Label1;
  TLabel* Label2;
  TLabel* Label3;
  TLabel* lblPhics;
  TLabel* lblVirtu;
  TLabel* lblPage;
  TEdit* edtPhicsData;
  TEdit* edtVirtuData;
  TEdit* edtPageData;
  TGauge* GaugePhyics;
  TGauge* GaugeVirtu;
  TGauge* GaugePage;
  TButton* btnQuick;
  TButton* btnDepth;
  TButton* btnSysInfo;
  TButton* btnInfo;
  TButton* btnSet;
  TButton* btnHelp;
  TButton* btnExit;
  TMyStatusBar* StatusBar;
  TGauge* GaugeProgress;
  TPanel* PanelSet;
  TTimer* timerShow;
  TTimer* timerAuto;

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormActivate(TObject* sender);
  void btnExitClick(TObject* sender);
  void btnHelpClick(TObject* sender);

private:
  void BuildLayout();
  void BuildMemoryTable();
  void BuildButtons();
  void BuildStatusBar();
  void BindHandlers();
};

extern TfrmMain* frmMain;
