// Panels: a container whose single border is the window's own one-pixel border (WS_BORDER), so the
// children's positions start inside it.
#include "ui/ExtCtrls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

class TPanelPeer : public TContainerPeer, public IPanelPeer {
public:
  TPanelPeer(IPeerHost& widgets, TPanel& control, HWND parent) : TContainerPeer(widgets, control, parent, false) {}

  void SetBorder(bool border) override { SetStyleBit(GWL_STYLE, WS_BORDER, border); }
};

}  // namespace

std::unique_ptr<IPeer> MakePanelPeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TPanelPeer>(widgets, static_cast<TPanel&>(control), ParentHandle(parent));
}

}  // namespace widgetset::win32
