// The start-up sequence in its order; everything after it happens in the message loop.
#include "app/Brisko.h"

#include "app/uAbout.h"
#include "app/uMain.h"
#include "measure/CpuUsage.h"
#include "platform/Resources.h"
#include "ui/Forms.h"

const char* const ApplicationTitle = "Brisko内存整理 4.0";

void StartBrisko() {
  InitializeCpuUsage();
  Application->Initialize();
  Application->SetIcon({platform::FindResource("MAINICON")});
  Application->SetShowMainForm(false);
  Application->SetTitle(ApplicationTitle);
  Screen->SetCursor(TCursor::HourGlass);
  AboutForm = new TAboutForm(Application);
  AboutForm->Timer->SetEnabled(true);
  AboutForm->Show();
  AboutForm->Repaint();
  Application->CreateForm(frmMain);
}

int RunBrisko(TCustomWidgetSet& widgets) {
  TApplication application(widgets);
  StartBrisko();
  Application->Run();
  StopCpuStatistics();
  return 0;
}
