// The main window: meters, charts, the availability table, the buttons, the status bar with its
// hosted progress gauge, the (hidden) settings panel, the two timers, and the notification icon with
// its menu.
#pragma once
#include <string>

#include "app/Charts.h"
#include "app/Settings.h"
#include "platform/Host.h"
#include "base/Extended.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"
#include "tray/TextTrayIcon.h"
#include "widgets/Gauges.h"
#include "widgets/HostStatusBar.h"

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

// The processor percent: the ceiling of the busy fraction since the previous sample × 100, of the
// whole processor (the "_Total" instance when there is one).
int GetCpuUsagePercent();
// ceiling(fraction × 100) with the product in the extended format, so 0.3 × 100 stays just below 30
// as it should; X is the number type it is computed in (the tests run both).
template <class X>
int64_t CeilPercent(double fraction) {
  return Ceil(X(fraction) * X(int64_t{100}));
}
// Time-stamp counter ticks per microsecond over 500 ms at real-time priority.
double MeasureCpuMhz();

// Enables a privilege in the program's own token; answers whether the system's call succeeded (also
// when it did not assign the privilege); held, when given, tells whether the program holds it now.
bool EnableProcessPrivilege(const std::string& name, bool* held = nullptr);
// Asks every process that can be opened to give back its whole working set, in the order the system
// lists them, the program itself included; false when the process list cannot be read. reachedOthers,
// when given, tells whether the program had the right to trim other users' programs.
bool TrimAllWorkingSets(bool* reachedOthers = nullptr);
// Empties the clipboard; raises "Cannot open clipboard" when another program holds it.
void EmptyClipboard();

// Holds what the host keeps for one trim (begun and ended in pairs, also around nested trims).
class TTrimScope {
public:
  TTrimScope() { platform::Host().Processes->BeginTrim(); }
  ~TTrimScope() { platform::Host().Processes->EndTrim(); }
  TTrimScope(const TTrimScope&) = delete;
  TTrimScope& operator=(const TTrimScope&) = delete;
};

