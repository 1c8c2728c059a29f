// The Win32 widget set: native controls (common controls 6) for the framework's controls, one peer
// file per control kind, GDI glyphs for the canvas (installed while the set exists), hidden windows
// for timers, the GetMessage loop (which hands Tab and Enter to the windows' forms), MessageBoxW and
// the application-wide cursor. Peers translate; the framework decides.
#pragma once
#include <map>
#include <memory>

#include "ui/WidgetSet.h"
#include "widgetset/win32/NotifyArea.h"
#include "widgetset/win32/PeerHost.h"

namespace widgetset::win32 {

class TWidgetSet : public TCustomWidgetSet, public IPeerHost {
public:
  // Null: the executable's own module. Registers the window classes and initialises the common controls.
  explicit TWidgetSet(HINSTANCE__* instance = nullptr);
  ~TWidgetSet() override;
  TWidgetSet(const TWidgetSet&) = delete;
  TWidgetSet& operator=(const TWidgetSet&) = delete;

  std::unique_ptr<platform::IMessageWindow> CreateMessageWindow(platform::TWindowProc proc) override;
  // GetMessageW and dispatch; WM_QUIT ends the application, and from then on nothing waits here.
  void HandleMessage() override;
  void ProcessMessages() override;
  // MessageBoxW owned by the active window.
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  // The hourglass (or arrow) holds over the client areas of the program's windows until Default.
  void SetCursor(TCursor cursor) override;
  // The work area: the desktop without the taskbar.
  TRect DesktopRect() override;
  int PopupMenu(const std::vector<TMenuEntry>& entries, TPoint at) override;
  bool NotifyIcon(TNotifyIconOp op, const TNotifyIconData& data) override { return FNotifyArea.Call(op, data); }
  // The shell of every Windows version has one.
  bool NotifyAreaAvailable() override { return true; }
  uint32_t TaskbarCreatedMessage() override;
  TPoint CursorPos() override;
  unsigned KeyboardShiftState() override;
  uint32_t DoubleClickTime() override;

  // For the peers.
  HINSTANCE__* Instance() const override { return FInstance; }
  TFontRaster& Fonts() override { return *FFonts; }
  HBRUSH__* Brush(TColor color) override;
  HICON__* OverrideCursor() const override { return FOverrideCursor; }

private:
  using TPeerMaker = std::unique_ptr<IPeer> (*)(IPeerHost&, TComponent&, IControlPeer*);
  template <class Peer>
  void Add(TPeerMaker make) {
    Register<Peer>([this, make](TComponent& component, IControlPeer* parent) { return make(*this, component, parent); });
  }
  void QuitReceived();
  HINSTANCE__* FInstance;
  std::unique_ptr<TFontRaster> FFonts;
  std::map<TColor, HBRUSH__*> FBrushes;
  HICON__* FOverrideCursor = nullptr;
  bool FQuit = false;
  TNotifyArea FNotifyArea;
  std::unique_ptr<platform::IMessageWindow> FMenuOwner;
};

}  // namespace widgetset::win32
