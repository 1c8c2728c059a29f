// The splash: borderless, centred, the artwork unscaled from the top-left corner; its timer ends it
// and shows the main window unless the program was started with "/LOAD".
#include "app/uAbout.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "gfx/Jpeg.h"
#include "platform/Host.h"
#include "platform/Resources.h"

TAboutForm* AboutForm = nullptr;

TAboutForm::TAboutForm(TComponent* owner) : TForm(owner) {
  SetName("AboutForm");
  SetCaption("关于");
  SetBorderStyle(TFormBorderStyle::None);
  SetBorderIcons(0);
  SetPosition(TPosition::ScreenCenter);
  SetClientSize(344, 181);

  imgBack = Add<TImage>("imgBack", this, 0, 0, 344, 181);
  btnClose = Add<TButton>("btnClose", this, 135, 152, 75, 21, "关闭");
  btnClose->SetVisible(false);
  btnClose->SetDefault(true);
  Timer = new TTimer(this);
  Timer->SetName("Timer");
  Timer->SetInterval(1200);
  Timer->SetEnabled(false);

  btnClose->OnClick = [this](TObject* s) { btnCloseClick(s); };
  Timer->OnTimer = [this](TObject* s) { TimerTimer(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };

  const gfx::Bitmap artwork = gfx::DecodeJpeg(platform::FindResource("SPLASH"));
  imgBack->Canvas().Draw(0, 0, artwork);
  EndCreate();
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::TimerTimer(TObject*) {
  Timer->SetEnabled(false);
  // Hidden, the program is reached through its notification icon; without a notification area it
  // would be out of reach.
  const bool hidden = IsLoadSwitch() && Application->WidgetSet().NotifyAreaAvailable();
  if (IsLoadSwitch() && !hidden) std::fputs("brisko: the desktop has no notification area; the window shows despite /LOAD\n", stderr);
  if (!hidden && Application->MainForm()) Application->MainForm()->Show();
  Close();
}

void TAboutForm::btnCloseClick(TObject*) { Close(); }

void TAboutForm::FormDestroy(TObject*) { AboutForm = nullptr; }

bool IsLoadSwitch() { return IsSwitch("/LOAD"); }

bool IsSwitch(const std::string& name) {
  const auto args = platform::Host().System->CommandLineArgs();
  if (args.empty()) return false;
  std::string first = args.front();
  const auto blank = [](unsigned char c) { return c <= ' '; };
  first.erase(first.begin(), std::find_if_not(first.begin(), first.end(), blank));
  first.erase(std::find_if_not(first.rbegin(), first.rend(), blank).base(), first.end());
  std::transform(first.begin(), first.end(), first.begin(), [](unsigned char c) { return std::toupper(c); });
  return first == name;
}
