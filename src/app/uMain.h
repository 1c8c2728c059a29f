// The main window: meters, charts, the availability table, the buttons, the status bar with its
// hosted progress gauge, the (hidden) settings panel, the two timers, and the notification icon with
// its menu.
#pragma once
#include <string>

#include "app/Charts.h"
#include "app/Settings.h"
#include "platform/Host.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"
#include "tray/TextTrayIcon.h"
#include "widgets/Gauges.h"
#include "widgets/MyStatusBar.h"

class TfrmMain : public TForm {
public:
  explicit TfrmMain(TComponent* owner);
  ~TfrmMain() override;

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
  TLabel* lblZL;
  TLabel* lblDepth;
  TTrackBar* trackDepth;
  TCheckBox* chkMemory;
  TLabel* lblMem;
  TLabel* lblMZ;
  TTrackBar* trackMemory;
  TCheckBox* chkCpu;
  TLabel* lblCpu;
  TLabel* lblZ;
  TTrackBar* trackCpu;
  TGroupBox* groupOption;
  TCheckBox* chkAutoRun;
  TCheckBox* chkClip;
  TCheckBox* chkAutoScale;
  TCheckBox* chkTrayShow;
  TComboBox* comboTrayShow;
  TButton* btnSuggest;
  TButton* btnSure;
  TButton* btnReturn;
  TTimer* timerShow;
  TTimer* timerAuto;
  TTextTrayIcon* TextTrayIcon;
  TPopupMenu* popTray;
  TMenuItem* N1;
  TMenuItem* N3;
  TMenuItem* m_ShowMain;
  TMenuItem* N2;
  TMenuItem* m_Exit;

  TSampleHistory CpuHistory;
  TSampleHistory MemHistory;

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormActivate(TObject* sender);
  void btnExitClick(TObject* sender);
  void btnHelpClick(TObject* sender);

  // The information windows.
  void btnInfoClick(TObject* sender);
  void btnSysInfoClick(TObject* sender);

  // The notification icon and its menu.
  void m_ShowMainClick(TObject* sender);
  void textTrayIconMinimizeToTray(TObject* sender);
  void m_ExitClick(TObject* sender);

  // Trimming.
  void btnQuickClick(TObject* sender);
  void btnDepthClick(TObject* sender);
  void timerAutoTimer(TObject* sender);

  // Settings panel.
  void btnSetClick(TObject* sender);
  void btnReturnClick(TObject* sender);
  void btnSuggestClick(TObject* sender);
  void btnSureClick(TObject* sender);
  void trackDepthChange(TObject* sender);
  void trackMemoryChange(TObject* sender);
  void trackCpuChange(TObject* sender);
  void UpdateData();
  void ApplySuggestedSettings();

  // Sampling.
  void timerShowTimer(TObject* sender);
  int GetMemoryLoadPercent();
  void UpdateMemoryInfo();

  // The settings the panel shows, and showing a record in the panel.
  TSettings PanelSettings() const;
  void ShowSettings(const TSettings& settings);

private:
  // The quick trim; askedByUser: a button or menu item, not the automatic check.
  void QuickTrim(bool askedByUser);
  // Status bar panel 1 after a trim: the physical memory it freed, or that rights were missing.
  void ShowTrimResult(uint64_t freeBefore, bool rightsMissing);
  bool FRightsExplained = false;

  void BuildLayout();
  void BuildSettingsPanel();
  void BuildTray();
  void LoadSettings();
  void BuildMemoryTable();
  void BuildButtons();
  void BuildStatusBar();
  void BindHandlers();
};

extern TfrmMain* frmMain;
