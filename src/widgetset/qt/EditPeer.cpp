// Edits as QLineEdits without margins; the text sits at the top and its beginning shows, as in a
// classic edit.
#include <QLineEdit>
#include <QSignalBlocker>

#include "ui/StdCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

class TEditPeer : public TWidgetPeer, public IEditPeer {
public:
  TEditPeer(TEdit& control, QWidget* parent) : TWidgetPeer(control, new QLineEdit(parent), QPalette::Base) {
    auto* edit = As<QLineEdit>();
    edit->setTextMargins(0, 0, 0, 0);
    edit->setContentsMargins(0, 0, 0, 0);
    // The text at the top, as a classic edit draws it, level with a label beside it.
    edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }

  void SetText(const std::string& text) override {
    auto* edit = As<QLineEdit>();
    if (!edit) return;
    const QSignalBlocker blocker(edit);
    edit->setText(FromUtf8(text));
    edit->setCursorPosition(0);
  }

  void SetReadOnly(bool readOnly) override {
    if (auto* edit = As<QLineEdit>()) edit->setReadOnly(readOnly);
  }

  void SetBorder(bool border) override {
    if (auto* edit = As<QLineEdit>()) edit->setFrame(border);
  }
};

}  // namespace

std::unique_ptr<IPeer> MakeEditPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TEditPeer>(static_cast<TEdit&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
