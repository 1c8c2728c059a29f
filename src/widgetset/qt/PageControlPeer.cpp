// Tabbed pages as a QTabWidget: each sheet's widget is a page of it, placed and shown by the tab
// widget (the framework's bounds and visibility of a sheet are the tab widget's business here); a tab
// the user chooses goes to the page control, which decides.
#include <QSignalBlocker>
#include <QTabWidget>

#include "ui/ComCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

class TPageControlPeer : public TWidgetPeer, public IPageControlPeer {
public:
  TPageControlPeer(TPageControl& control, QWidget* parent) : TWidgetPeer(control, new QTabWidget(parent), QPalette::Window) {
    auto* tabs = As<QTabWidget>();
    tabs->setFocusPolicy(Qt::NoFocus);
    Connect(tabs, &QTabWidget::currentChanged, [&control](int index) { control.UserSelected(index); });
  }

  void SetTabIndex(int index) override {
    auto* tabs = As<QTabWidget>();
    if (!tabs) return;
    const QSignalBlocker quiet(tabs);
    tabs->setCurrentIndex(index);
  }

  void AddPage(QWidget* page) {
    if (auto* tabs = As<QTabWidget>()) tabs->addTab(page, QString());
  }

  void SetPageText(QWidget* page, const std::string& text) {
    if (auto* tabs = As<QTabWidget>()) tabs->setTabText(tabs->indexOf(page), FromUtf8(text));
  }
};

class TTabSheetPeer : public TWidgetPeer, public ITabSheetPeer {
public:
  TTabSheetPeer(TTabSheet& sheet, TPageControlPeer* pages)
      : TWidgetPeer(sheet, new QWidget(), QPalette::Window), FPages(pages) {
    if (FPages) FPages->AddPage(Widget());
  }

  void SetBounds(const TRect&) override {}
  void SetVisible(bool) override {}
  void SetText(const std::string& text) override {
    if (FPages && Widget()) FPages->SetPageText(Widget(), text);
  }

private:
  TPageControlPeer* FPages;
};

}  // namespace

std::unique_ptr<IPeer> MakePageControlPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TPageControlPeer>(static_cast<TPageControl&>(control), ParentWidget(parent));
}

std::unique_ptr<IPeer> MakeTabSheetPeer(TComponent& sheet, IControlPeer* parent) {
  return std::make_unique<TTabSheetPeer>(static_cast<TTabSheet&>(sheet), dynamic_cast<TPageControlPeer*>(parent));
}

}  // namespace widgetset::qt
