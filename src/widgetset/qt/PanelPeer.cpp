// Panels as QFrames: a single border is a one-pixel line around the panel, and the children are
// placed inside it (in a client widget one border in), as in a window with a border.
#include <QFrame>
#include <QPointer>

#include "ui/ExtCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

class TPanelPeer : public TWidgetPeer, public IPanelPeer {
public:
  TPanelPeer(TPanel& control, QWidget* parent) : TWidgetPeer(control, new QFrame(parent), QPalette::Window) {
    auto* frame = As<QFrame>();
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setLineWidth(1);
    FClient = new QWidget(frame);
    FClient->show();
  }

  QWidget* ClientWidget() const override { return FClient; }

  void SetBounds(const TRect& bounds) override {
    TWidgetPeer::SetBounds(bounds);
    PlaceClient();
  }

  void SetBorder(bool border) override {
    auto* frame = As<QFrame>();
    if (!frame) return;
    frame->setFrameStyle(border ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    PlaceClient();
  }

private:
  void PlaceClient() {
    auto* frame = As<QFrame>();
    if (!frame || !FClient) return;
    const int b = frame->frameWidth();
    FClient->setGeometry(b, b, frame->width() - 2 * b, frame->height() - 2 * b);
  }

  QPointer<QWidget> FClient;
};

}  // namespace

std::unique_ptr<IPeer> MakePanelPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TPanelPeer>(static_cast<TPanel&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
