// The notification area on Qt: one QSystemTrayIcon per icon (Qt talks StatusNotifierItem over D-Bus
// or the desktop's XEmbed tray). Qt reports activations, not button messages; they are translated
// into the callback messages a Windows desktop sends, and the portable component decides: a click
// is a left press and release, a double click a double click and release, the context request a
// right press and release, a middle click a middle press and release. Qt reports no pointer moves
// over the icon, so the component's enter and leave events stay silent here.
#pragma once
#include <QSystemTrayIcon>
#include <map>
#include <memory>

#include "ui/WidgetSet.h"

namespace widgetset::qt {

class TNotifyArea {
public:
  bool Call(TNotifyIconOp op, const TNotifyIconData& data);
  static bool Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

private:
  void Apply(QSystemTrayIcon& icon, const TNotifyIconData& data);
  std::map<uintptr_t, std::unique_ptr<QSystemTrayIcon>> FIcons;
};

// The pop-up menu on Qt: a QMenu built for one showing, the default entry in bold.
int PopupMenu(const std::vector<TMenuEntry>& entries, TPoint at);

}  // namespace widgetset::qt
