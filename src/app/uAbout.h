// The splash window shown during start-up, and the "/LOAD" switch that keeps the main window hidden.
#pragma once
#include <string>
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

class TAboutForm : public TForm {
public:
  explicit TAboutForm(TComponent* owner);
  ~TAboutForm() override;

  TImage* imgBack;
  TButton* btnClose;
  TTimer* Timer;

  void TimerTimer(TObject* sender);
  void btnCloseClick(TObject* sender);
  void FormDestroy(TObject* sender);
};

extern TAboutForm* AboutForm;

// True when the first command-line argument, trimmed and in upper case, is "/LOAD".
bool IsLoadSwitch();
// The same test for another switch, given in upper case ("/TRIM").
bool IsSwitch(const std::string& name);
