// A component that owns one icon in the desktop's notification area: it keeps the icon there (added
// again when the taskbar is re-created), turns the desktop's callbacks into click, double-click,
// button, move and pointer enter and leave events, pops up a menu, cycles through an image list, and
// minimises the window that owns it into the notification area. All instances share one hidden
// window for the callbacks; three light timers pace the clicks, the cycling and the leave poll.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tray/SimpleTimer.h"
#include "ui/Forms.h"
#include "ui/Graphics.h"
#include "ui/ImgList.h"
#include "ui/Menus.h"

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, unsigned shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, unsigned shift, int x, int y)>;
using TCycleEvent = std::function<void(TObject* sender, int nextIndex)>;
using TStartupEvent = std::function<void(TObject* sender, bool& showMainForm)>;

class TShellTrayIcon;

// The shared hidden window that receives every icon's callbacks, and the count of the icons on it.
class TTrayIconHandler {
public:
  TTrayIconHandler();
  uint32_t UserCount = 0;
  std::unique_ptr<platform::IMessageWindow> TrayWindow;
  std::vector<TShellTrayIcon*> Icons;

private:
  void TrayWindowProc(uint32_t msg, uintptr_t wParam, intptr_t lParam);
};

// The message the desktop sends for an icon (WM_USER + 1024).
constexpr uint32_t TrayCallbackMessage = 0x800;
// The longest tooltip, in bytes.
constexpr size_t TrayTipLimit = 127;

class TShellTrayIcon : public TComponent {
public:
  explicit TShellTrayIcon(TComponent* owner);
  ~TShellTrayIcon() override;

  TCustomImageList* IconList() const { return FIconList; }
  void SetIconList(TCustomImageList* list);
  bool CycleIcons() const { return FCycleIcons; }
  void SetCycleIcons(bool value);
  uint32_t CycleInterval() const { return FCycleInterval; }
  void SetCycleInterval(uint32_t value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value);
  TIcon& Icon() { return FIcon; }
  void SetIcon(const TIcon& icon);
  bool IconVisible() const { return FIconVisible; }
  void SetIconVisible(bool value);
  int IconIndex() const { return FIconIndex; }
  void SetIconIndex(int value);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu) { FPopupMenu = menu; }
  bool LeftPopup() const { return FLeftPopup; }
  void SetLeftPopup(bool value) { FLeftPopup = value; }
  bool WantEnterExitEvents() const { return FWantEnterExitEvents; }
  void SetWantEnterExitEvents(bool value);
  bool MinimizeToTray() const { return FMinimizeToTray; }
  void SetMinimizeToTray(bool value) { FMinimizeToTray = value; }

  TNotifyEvent OnClick, OnDblClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter, OnMouseExit;
  TCycleEvent OnCycle;
  TNotifyEvent OnBalloonHintShow, OnBalloonHintHide, OnBalloonHintTimeout, OnBalloonHintClick;
  TNotifyEvent OnMinimizeToTray;
  TStartupEvent OnStartup;

  // The desktop's add, delete and modify of the icon; true when the desktop took it.
  virtual bool AddTrayIcon();
  virtual bool RemoveTrayIcon();
  virtual bool UpdateTrayIcon();

  // The desktop's callback for this icon (code: the mouse or notification message).
  void HandleTrayMessage(uint32_t code);
  uintptr_t TrayId() const { return reinterpret_cast<uintptr_t>(this); }

protected:
  virtual void NotifyClick();
  virtual void NotifyDblClick();
  virtual void NotifyCycle();
  virtual void NotifyMouseDown(TMouseButton button, unsigned shift, int x, int y);
  virtual void NotifyMouseUp(TMouseButton button, unsigned shift, int x, int y);
  virtual void NotifyMouseMove(unsigned shift, int x, int y);
  virtual void NotifyMouseEnter();
  virtual void NotifyMouseExit();
  // Hides the main window and its taskbar button; the icon stays.
  virtual void SendToTray();

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  bool CallDesktop(TNotifyIconOp op);
  // The index the cycle step after the current one selects.
  int NextIndex() const;
  void ShowPopupAtCursor();
  void HideMainWindow();
  void HideTaskbarButton();
  bool TryMinimizeToTray(TMessage& message);
  bool OwnerWindowHook(TMessage& message);
  void ApplicationHook(const TMessage& message);
  void ClickTick();
  void CycleTick();
  void LeaveTick();
  TCustomForm* OwnerForm() const;

  TCustomImageList* FIconList = nullptr;
  bool FCycleIcons = false;
  uint32_t FCycleInterval = 0;
  bool FEnabled = true;
  std::string FHint;
  bool FShowHint = true;
  TIcon FIcon;
  bool FIconVisible = false;
  int FIconIndex = 0;
  TPopupMenu* FPopupMenu = nullptr;
  bool FLeftPopup = false;
  bool FWantEnterExitEvents = false;
  bool FMinimizeToTray = false;

  bool FLeftDownSeen = false, FClickWaiting = false, FDblClickSeen = false;
  std::unique_ptr<TSimpleTimer> FIconCycleTimer, FClickDelayTimer, FLeavePollTimer;
  TPoint FLastHoverPoint{0, 0};
  bool FOutsideIcon = true;
};

// The longest prefix of text that fits in limit bytes without cutting a UTF-8 sequence.
std::string CutUtf8(const std::string& text, size_t limit);

// The shared handler while an icon lives (null otherwise); for tests.
TTrayIconHandler* SharedTrayHandler();
