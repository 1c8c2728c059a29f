// Push buttons: BN_CLICKED goes to the control; the default one is drawn as such, while what Enter
// presses is the window's decision.
#include "ui/StdCtrls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

class TButtonPeer : public TWindowPeer, public IButtonPeer {
public:
  TButtonPeer(IPeerHost& widgets, TButton& control, HWND parent) : TWindowPeer(widgets, control) {
    Create(0, L"BUTTON", WS_CHILD | WS_CLIPSIBLINGS | BS_PUSHBUTTON, parent);
  }

  void SetDefault(bool isDefault) override {
    SendMessageW(FHandle, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }

  void Notified(WORD code) override {
    if (code == BN_CLICKED) FControl.UserClicked();
  }

  HBRUSH ControlColor(HDC) override { return nullptr; }
};

}  // namespace

std::unique_ptr<IPeer> MakeButtonPeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TButtonPeer>(widgets, static_cast<TButton&>(control), ParentHandle(parent));
}

}  // namespace widgetset::win32
