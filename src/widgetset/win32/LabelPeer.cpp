// Labels as STATIC controls without word wrap (a caption longer than the label is cut off, as a label
// without WordWrap shows it); presses and releases go to the control.
#include "ui/StdCtrls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

class TLabelPeer : public TWindowPeer, public ILabelPeer {
public:
  TLabelPeer(IPeerHost& widgets, TLabel& control, HWND parent) : TWindowPeer(widgets, control) {
    // SS_NOTIFY: without it a static control lets the mouse through to its parent.
    Create(0, L"STATIC", WS_CHILD | WS_CLIPSIBLINGS | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, parent);
    ReportMouse();
  }
};

}  // namespace

std::unique_ptr<IPeer> MakeLabelPeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TLabelPeer>(widgets, static_cast<TLabel&>(control), ParentHandle(parent));
}

}  // namespace widgetset::win32
