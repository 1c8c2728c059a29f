// Push buttons: the default one is drawn as such; what Enter presses is the window's decision.
#include <QPushButton>

#include "ui/StdCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

class TButtonPeer : public TWidgetPeer, public IButtonPeer {
public:
  TButtonPeer(TButton& control, QWidget* parent) : TWidgetPeer(control, new QPushButton(parent), QPalette::Button) {
    auto* button = As<QPushButton>();
    button->setAutoDefault(false);
    Connect(button, &QPushButton::clicked, [&control] { control.UserClicked(); });
  }

  void SetText(const std::string& text) override {
    if (auto* button = As<QPushButton>()) button->setText(FromUtf8(text));
  }

  void SetDefault(bool isDefault) override {
    if (auto* button = As<QPushButton>()) button->setDefault(isDefault);
  }
};

}  // namespace

std::unique_ptr<IPeer> MakeButtonPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TButtonPeer>(static_cast<TButton&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
