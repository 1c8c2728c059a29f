// Labels as QLabels: plain text, top-left, no margins; clicks are reported like a picture's.
#include <QLabel>

#include "ui/StdCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

class TLabelPeer : public TWidgetPeer, public ILabelPeer {
public:
  TLabelPeer(TLabel& control, QWidget* parent) : TWidgetPeer(control, new QLabel(parent), QPalette::Window) {
    auto* label = As<QLabel>();
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMargin(0);
    label->setIndent(0);
    label->setContentsMargins(0, 0, 0, 0);
    ReportMouse();
  }

  void SetText(const std::string& text) override {
    if (auto* label = As<QLabel>()) label->setText(FromUtf8(text));
  }
};

}  // namespace

std::unique_ptr<IPeer> MakeLabelPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TLabelPeer>(static_cast<TLabel&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
