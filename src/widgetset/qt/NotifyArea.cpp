// Notification icons and pop-up menus on Qt (see NotifyArea.h).
#include "widgetset/qt/NotifyArea.h"

#include <QImage>
#include <QMenu>
#include <QPixmap>

#include "widgetset/qt/WidgetPeer.h"
#include "ui/WindowsNumbers.h"

namespace widgetset::qt {

namespace {

QIcon IconOf(const gfx::TIconImage* image) {
  if (!image || image->Empty()) return {};
  QImage picture(image->Color.Width(), image->Color.Height(), QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) row[x] = image->Transparent(x, y) ? 0u : 0xFF000000u | image->Color.Pixel(x, y);
  }
  return QIcon(QPixmap::fromImage(picture));
}

// The callback messages a Windows desktop would have sent for the activation.
std::vector<uint32_t> MessagesFor(QSystemTrayIcon::ActivationReason reason) {
  using namespace TrayMessage;
  switch (reason) {
    case QSystemTrayIcon::Trigger: return {LButtonDown, LButtonUp};
    case QSystemTrayIcon::DoubleClick: return {LButtonDblClk, LButtonUp};
    case QSystemTrayIcon::Context: return {RButtonDown, RButtonUp};
    case QSystemTrayIcon::MiddleClick: return {MButtonDown, MButtonUp};
    default: return {};
  }
}

}  // namespace

bool TNotifyArea::Call(TNotifyIconOp op, const TNotifyIconData& data) {
  const auto found = FIcons.find(data.Id);
  switch (op) {
    case TNotifyIconOp::Add: {
      if (found != FIcons.end()) return false;
      auto icon = std::make_unique<QSystemTrayIcon>();
      QObject::connect(icon.get(), &QSystemTrayIcon::activated,
                       [window = data.Window, message = data.CallbackMessage, id = data.Id](QSystemTrayIcon::ActivationReason reason) {
                         for (uint32_t code : MessagesFor(reason)) window->SendMessage(message, id, code);
                       });
      Apply(*icon, data);
      icon->show();
      FIcons[data.Id] = std::move(icon);
      return true;
    }
    case TNotifyIconOp::Modify:
      if (found == FIcons.end()) return false;
      Apply(*found->second, data);
      return true;
    case TNotifyIconOp::Delete:
      if (found == FIcons.end()) return false;
      // Later: the icon may be the one whose activation is being answered.
      found->second.release()->deleteLater();
      FIcons.erase(found);
      return true;
  }
  return false;
}

void TNotifyArea::Apply(QSystemTrayIcon& icon, const TNotifyIconData& data) {
  icon.setIcon(IconOf(data.Icon));
  icon.setToolTip(FromUtf8(data.Tip));
}

int PopupMenu(const std::vector<TMenuEntry>& entries, TPoint at) {
  QMenu menu;
  std::vector<QAction*> actions;
  for (const TMenuEntry& entry : entries) {
    QAction* action = entry.Separator ? menu.addSeparator() : menu.addAction(FromUtf8(entry.Caption));
    action->setCheckable(entry.Checked);
    action->setChecked(entry.Checked);
    action->setEnabled(entry.Enabled);
    if (entry.Default) menu.setDefaultAction(action);
    actions.push_back(action);
  }
  menu.activateWindow();
  QAction* chosen = menu.exec(QPoint(at.X, at.Y));
  const auto index = std::find(actions.begin(), actions.end(), chosen);
  return chosen && index != actions.end() ? static_cast<int>(index - actions.begin()) : -1;
}

}  // namespace widgetset::qt
