// Edits as EDIT controls; read-only and the sunken border follow the control at any time.
#include "ui/StdCtrls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

class TEditPeer : public TWindowPeer, public IEditPeer {
public:
  TEditPeer(IPeerHost& widgets, TEdit& control, HWND parent) : TWindowPeer(widgets, control) {
    Create(0, L"EDIT", WS_CHILD | WS_CLIPSIBLINGS | ES_LEFT | ES_AUTOHSCROLL, parent);
  }

  void SetReadOnly(bool readOnly) override { SendMessageW(FHandle, EM_SETREADONLY, readOnly, 0); }

  void SetBorder(bool border) override { SetStyleBit(GWL_EXSTYLE, WS_EX_CLIENTEDGE, border); }
};

}  // namespace

std::unique_ptr<IPeer> MakeEditPeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TEditPeer>(widgets, static_cast<TEdit&>(control), ParentHandle(parent));
}

}  // namespace widgetset::win32
