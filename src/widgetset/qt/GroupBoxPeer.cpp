// Group boxes: the children are placed by hand relative to the box's top-left; no layout moves them.
#include <QGroupBox>

#include "ui/StdCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

class TGroupBoxPeer : public TWidgetPeer, public IGroupBoxPeer {
public:
  TGroupBoxPeer(TGroupBox& control, QWidget* parent) : TWidgetPeer(control, new QGroupBox(parent), QPalette::Window) {
    As<QGroupBox>()->setContentsMargins(0, 0, 0, 0);
  }

  void SetText(const std::string& text) override {
    if (auto* box = As<QGroupBox>()) box->setTitle(FromUtf8(text));
  }
};

}  // namespace

std::unique_ptr<IPeer> MakeGroupBoxPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TGroupBoxPeer>(static_cast<TGroupBox&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
