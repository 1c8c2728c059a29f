// Sliders: horizontal, ticks below; the program's moves are not echoed back as the user's.
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

#include "ui/ComCtrls.h"
#include "widgetset/qt/WidgetPeer.h"

namespace widgetset::qt {

namespace {

class TTrackBarPeer : public TWidgetPeer, public ITrackBarPeer {
public:
  TTrackBarPeer(TTrackBar& control, QWidget* parent)
      : TWidgetPeer(control, new QSlider(Qt::Horizontal, parent), QPalette::Window) {
    auto* slider = As<QSlider>();
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setSingleStep(1);
    Connect(slider, &QSlider::valueChanged, [&control](int value) { control.UserMovedTo(value); });
  }

  void SetRange(int min, int max) override {
    auto* slider = As<QSlider>();
    if (!slider) return;
    const QSignalBlocker blocker(slider);
    slider->setRange(min, max);
    // A classic slider pages by a fifth of its range.
    slider->setPageStep(std::max(1, (max - min) / 5));
  }

  void SetPosition(int position) override {
    auto* slider = As<QSlider>();
    if (!slider) return;
    const QSignalBlocker blocker(slider);
    slider->setValue(position);
  }

  void SetFrequency(int frequency) override {
    if (auto* slider = As<QSlider>()) slider->setTickInterval(std::max(frequency, 0));
  }
};

}  // namespace

std::unique_ptr<IPeer> MakeTrackBarPeer(TComponent& control, IControlPeer* parent) {
  return std::make_unique<TTrackBarPeer>(static_cast<TTrackBar&>(control), ParentWidget(parent));
}

}  // namespace widgetset::qt
