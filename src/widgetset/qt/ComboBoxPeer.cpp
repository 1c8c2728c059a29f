// Drop-down lists: only the user's choice (activated) is reported, never the program's.
#include <QComboBox>
#include <QSignalBlocker>

#include "ui/StdCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

class TComboBoxPeer : public TWidgetPeer, public IComboBoxPeer {
public:
  TComboBoxPeer(TComboBox& control, QWidget* parent) : TWidgetPeer(control, new QComboBox(parent), QPalette::Base) {
    auto* combo = As<QComboBox>();
    combo->setEditable(false);
    Connect(combo, &QComboBox::activated, [&control](int index) { control.UserSelected(index); });
  }

  void SetItems(const std::vector<std::string>& items) override {
    auto* combo = As<QComboBox>();
    if (!combo) return;
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const std::string& item : items) combo->addItem(FromUtf8(item));
  }

  void SetItemIndex(int index) override {
    auto* combo = As<QComboBox>();
    if (!combo) return;
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index);
  }
};

}  // namespace

std::unique_ptr<IPeer> MakeComboBoxPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TComboBoxPeer>(static_cast<TComboBox&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
