// Check boxes: the user's toggle goes to the control; BM_SETCHECK from the program sends no BN_CLICKED.
#include "ui/StdCtrls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

class TCheckBoxPeer : public TWindowPeer, public ICheckBoxPeer {
public:
  TCheckBoxPeer(IPeerHost& widgets, TCheckBox& control, HWND parent) : TWindowPeer(widgets, control), FCheckBox(control) {
    Create(0, L"BUTTON", WS_CHILD | WS_CLIPSIBLINGS | BS_AUTOCHECKBOX, parent);
  }

  void SetChecked(bool checked) override { SendMessageW(FHandle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

  void Notified(WORD code) override {
    if (code == BN_CLICKED) FCheckBox.UserToggled(SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED);
  }

private:
  TCheckBox& FCheckBox;
};

}  // namespace

std::unique_ptr<IPeer> MakeCheckBoxPeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TCheckBoxPeer>(widgets, static_cast<TCheckBox&>(control), ParentHandle(parent));
}

}  // namespace widgetset::win32
