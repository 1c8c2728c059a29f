// Check boxes: the user's toggles go to the control; the program's are not echoed back.
#include <QCheckBox>
#include <QSignalBlocker>

#include "ui/StdCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

class TCheckBoxPeer : public TWidgetPeer, public ICheckBoxPeer {
public:
  TCheckBoxPeer(TCheckBox& control, QWidget* parent) : TWidgetPeer(control, new QCheckBox(parent), QPalette::Window) {
    Connect(As<QCheckBox>(), &QCheckBox::toggled, [&control](bool checked) { control.UserToggled(checked); });
  }

  void SetText(const std::string& text) override {
    if (auto* box = As<QCheckBox>()) box->setText(FromUtf8(text));
  }

  void SetChecked(bool checked) override {
    auto* box = As<QCheckBox>();
    if (!box) return;
    const QSignalBlocker blocker(box);
    box->setChecked(checked);
  }
};

}  // namespace

std::unique_ptr<IPeer> MakeCheckBoxPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TCheckBoxPeer>(static_cast<TCheckBox&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
