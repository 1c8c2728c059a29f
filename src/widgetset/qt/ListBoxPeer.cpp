// List boxes as QListWidgets whose rows all have the control's item height.
#include <QListWidget>

#include "ui/StdCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

class TListBoxPeer : public TWidgetPeer, public IListBoxPeer {
public:
  TListBoxPeer(TListBox& control, QWidget* parent) : TWidgetPeer(control, new QListWidget(parent), QPalette::Base) {
    auto* list = As<QListWidget>();
    list->setUniformItemSizes(true);
    list->setSpacing(0);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }

  void AddItem(const std::string& item) override {
    auto* list = As<QListWidget>();
    if (!list) return;
    auto* row = new QListWidgetItem(FromUtf8(item), list);
    row->setSizeHint(QSize(0, FItemHeight));
  }
  void Clear() override {
    if (auto* list = As<QListWidget>()) list->clear();
  }
  void SetItemHeight(int height) override {
    FItemHeight = height;
    auto* list = As<QListWidget>();
    if (!list) return;
    for (int k = 0; k < list->count(); ++k) list->item(k)->setSizeHint(QSize(0, height));
  }
  void SetBorder(bool border) override {
    if (auto* list = As<QListWidget>()) list->setFrameShape(border ? QFrame::StyledPanel : QFrame::NoFrame);
  }

private:
  int FItemHeight = 13;
};

}  // namespace

std::unique_ptr<IPeer> MakeListBoxPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TListBoxPeer>(static_cast<TListBox&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
