// The Qt widget set: the QApplication, native peers for every control kind, hidden message windows on
// precise Qt timers, the message loop over processEvents, message boxes and the wait cursor. It also
// installs the Qt glyph source for the canvas. Everything runs on the thread that made it.
#pragma once
#include <memory>

#include "widgetset/qt/FontRaster.h"
#include "ui/Peers.h"

class QApplication;
class QMessageBox;

namespace widgetset::qt {

class TWidgetSet : public IWidgetSet {
public:
  // Makes the application object (or uses the one that exists) and installs the glyph source.
  // argc and argv must outlive the widget set, as Qt keeps them.
  TWidgetSet(int& argc, char** argv);
  ~TWidgetSet() override;
  TWidgetSet(const TWidgetSet&) = delete;
  TWidgetSet& operator=(const TWidgetSet&) = delete;

  std::unique_ptr<IFormPeer> CreateForm(TCustomForm& form) override;
  std::unique_ptr<IControlPeer> CreateLabel(TLabel& control, IControlPeer& parent) override;
  std::unique_ptr<IControlPeer> CreateEdit(TEdit& control, IControlPeer& parent) override;
  std::unique_ptr<IControlPeer> CreateGroupBox(TGroupBox& control, IControlPeer& parent) override;
  std::unique_ptr<IControlPeer> CreatePanel(TPanel& control, IControlPeer& parent) override;
  std::unique_ptr<IButtonPeer> CreateButton(TButton& control, IControlPeer& parent) override;
  std::unique_ptr<ICheckBoxPeer> CreateCheckBox(TCheckBox& control, IControlPeer& parent) override;
  std::unique_ptr<IComboBoxPeer> CreateComboBox(TComboBox& control, IControlPeer& parent) override;
  std::unique_ptr<ITrackBarPeer> CreateTrackBar(TTrackBar& control, IControlPeer& parent) override;
  std::unique_ptr<IStatusBarPeer> CreateStatusBar(TStatusBar& control, IControlPeer& parent) override;
  std::unique_ptr<IPicturePeer> CreatePicture(TGraphicControl& control, IControlPeer& parent) override;

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

  // The box MessageBox shows, not yet shown; and the answer a finished box gives.
  static std::unique_ptr<QMessageBox> BuildMessageBox(const std::string& text, const std::string& caption,
                                                      uint32_t flags);
  static int AnswerOf(const QMessageBox& box);

  TFontRaster& Fonts() { return FFonts; }

private:
  std::unique_ptr<QApplication> FApplication;
  TFontRaster FFonts;
  bool FWaitCursor = false;
};

}  // namespace widgetset::qt
