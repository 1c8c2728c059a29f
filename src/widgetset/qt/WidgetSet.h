// The Qt widget set: the QApplication, a peer factory for every control kind (each kind in its own
// peer file), hidden message windows on precise Qt timers, the message loop over processEvents,
// message boxes, the wait cursor and focus changes. It also installs the Qt glyph source for the
// canvas. Everything runs on the thread that made it.
#pragma once
#include <QMetaObject>
#include <memory>

#include "widgetset/qt/FontRaster.h"
#include "widgetset/qt/NotifyArea.h"
#include "ui/WidgetSet.h"

class QApplication;
class QMessageBox;

namespace widgetset::qt {

class TWidgetSet : public TCustomWidgetSet {
public:
  // Makes the application object (or uses the one that exists) and installs the glyph source.
  // argc and argv must outlive the widget set, as Qt keeps them.
  TWidgetSet(int& argc, char** argv);
  ~TWidgetSet() override;
  TWidgetSet(const TWidgetSet&) = delete;
  TWidgetSet& operator=(const TWidgetSet&) = delete;

  // Timers are Qt precise timers; periods below 10 ms run at 10 ms, the shortest a Windows timer has.
  std::unique_ptr<platform::IMessageWindow> CreateMessageWindow(platform::TWindowProc proc) override;
  // Waits until events arrive and dispatches that batch.
  void HandleMessage() override;
  void ProcessMessages() override;
  // A QMessageBox, modal for the application; "确定" is OK, "取消" (and Escape) is Cancel. Closing a box
  // that has only OK answers OK.
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  void SetCursor(TCursor cursor) override;
  TRect DesktopRect() override;
  int PopupMenu(const std::vector<TMenuEntry>& entries, TPoint at) override { return qt::PopupMenu(entries, at); }
  bool NotifyIcon(TNotifyIconOp op, const TNotifyIconData& data) override { return FNotifyArea.Call(op, data); }
  bool NotifyAreaAvailable() override { return TNotifyArea::Available(); }
  // Qt docks its icons again itself when the desktop's tray comes back.
  uint32_t TaskbarCreatedMessage() override { return 0; }
  TPoint CursorPos() override;
  unsigned KeyboardShiftState() override;
  uint32_t DoubleClickTime() override;

  // The box MessageBox shows, not yet shown; and the answer a finished box gives.
  static std::unique_ptr<QMessageBox> BuildMessageBox(const std::string& text, const std::string& caption,
                                                      uint32_t flags);
  static int AnswerOf(const QMessageBox& box);

  TFontRaster& Fonts() { return FFonts; }

private:
  std::unique_ptr<QApplication> FApplication;
  TFontRaster FFonts;
  bool FWaitCursor = false;
  TNotifyArea FNotifyArea;
  QMetaObject::Connection FFocusConnection;
};

}  // namespace widgetset::qt
