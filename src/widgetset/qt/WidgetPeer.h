// The base of the Qt peers: one widget per control at its exact bounds (no layouts), palettes in the
// classic colour scheme, properties translated into widget calls, user input handed to the control's
// User* sinks. What the program pushes never comes back as input.
#pragma once
#include <QColor>
#include <QMetaObject>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/Controls.h"
#include "ui/WidgetSet.h"

namespace widgetset::qt {

QColor ToQColor(TColor color);
QString FromUtf8(const std::string& text);
// Text in the font's colour while the widget is enabled; disabled text keeps the style's grey.
void SetTextColour(QWidget* widget, TColor color);

// Deletes now, or later when a handler of the program is running (the widget may be the one whose
// signal is being handled); the loop deletes what waits once no handler runs.
void Dispose(QObject* object);

// The control a widget stands for (the widget or its nearest ancestor that is a peer's); null if none.
TControl* ControlOf(const QWidget* widget);

// A peer over one widget, which it owns.
class TWidgetPeer : public virtual IControlPeer {
public:
  ~TWidgetPeer() override;
  TWidgetPeer(const TWidgetPeer&) = delete;
  TWidgetPeer& operator=(const TWidgetPeer&) = delete;

  // Null once the widget is gone with its parent's (a group box destroyed before its children).
  QWidget* Widget() const { return FWidget; }
  // The widget the children's widgets are made in.
  virtual QWidget* ClientWidget() const { return FWidget; }
  template <class W>
  W* As() const {
    return static_cast<W*>(FWidget.data());
  }

  void SetBounds(const TRect& bounds) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetText(const std::string&) override {}
  void SetFont(const gfx::TFontSpec& font) override;
  void SetColor(TColor color) override;
  void SetFocus() override;

protected:
  // background: the palette role the control's colour paints; NoRole leaves the background alone.
  TWidgetPeer(TControl& control, QWidget* widget, QPalette::ColorRole background);
  // Connections are cut when the peer goes, so a widget waiting for deletion calls nothing back.
  template <class Sender, class Signal, class Slot>
  void Connect(Sender* sender, Signal signal, Slot slot) {
    FConnections.push_back(QObject::connect(sender, signal, FWidget, slot));
  }
  // Left presses and releases go to the control, which decides what is a click (labels, pictures).
  void ReportMouse();

  TControl& FControl;

private:
  QPointer<QWidget> FWidget;
  QPalette::ColorRole FBackground;
  std::vector<QMetaObject::Connection> FConnections;
};

// The parent widget of a new peer: the widget of the parent control's peer.
QWidget* ParentWidget(IControlPeer* parent);

}  // namespace widgetset::qt
