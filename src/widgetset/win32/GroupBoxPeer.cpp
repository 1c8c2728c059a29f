// Group boxes: a container with the native group frame beneath its children.
#include "ui/StdCtrls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

class TGroupBoxPeer : public TContainerPeer, public IGroupBoxPeer {
public:
  TGroupBoxPeer(IPeerHost& widgets, TGroupBox& control, HWND parent) : TContainerPeer(widgets, control, parent, true) {}
};

}  // namespace

std::unique_ptr<IPeer> MakeGroupBoxPeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TGroupBoxPeer>(widgets, static_cast<TGroupBox&>(control), ParentHandle(parent));
}

}  // namespace widgetset::win32
