// The notification-area icon component (see ShellTrayIcon.h). Messages use the Windows numbers; the
// widget set's notification area translates where the desktop speaks another language.
#include "tray/ShellTrayIcon.h"
#include "ui/WindowsNumbers.h"

#include <algorithm>

namespace {

std::unique_ptr<TTrayIconHandler> Shared;

void AcquireTrayHandler(TShellTrayIcon* icon) {
  if (!Shared) Shared = std::make_unique<TTrayIconHandler>();
  ++Shared->UserCount;
  Shared->Icons.push_back(icon);
}

void ReleaseTrayHandler(TShellTrayIcon* icon) {
  if (!Shared) return;
  std::erase(Shared->Icons, icon);
  if (Shared->UserCount > 0) --Shared->UserCount;
  if (Shared->UserCount == 0) Shared.reset();
}

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

TTrayIconHandler* SharedTrayHandler() { return Shared.get(); }

std::string CutUtf8(const std::string& text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = limit;
  while (end > 0 && IsUtf8Continuation(text[end])) --end;
  return text.substr(0, end);
}

TTrayIconHandler::TTrayIconHandler()
    : TrayWindow(Application->WidgetSet().CreateMessageWindow(
          [this](uint32_t msg, uintptr_t wParam, intptr_t lParam) { TrayWindowProc(msg, wParam, lParam); })) {}

void TTrayIconHandler::TrayWindowProc(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (msg != TrayCallbackMessage) return;
  const auto icon = std::find_if(Icons.begin(), Icons.end(), [wParam](TShellTrayIcon* i) { return i->TrayId() == wParam; });
  if (icon == Icons.end()) return;
  TShellTrayIcon* target = *icon;
  Application->Dispatch([target, lParam] { target->HandleTrayMessage(static_cast<uint32_t>(lParam)); });
}

// Construction and destruction ------------------------------------------------------------------

TShellTrayIcon::TShellTrayIcon(TComponent* owner) : TComponent(owner) {
  AcquireTrayHandler(this);
  FIcon.OnChange = [this](TObject*) { UpdateTrayIcon(); };
  FIconCycleTimer = TSimpleTimer::CreateWithPeriod(1000, [this](TObject*) { CycleTick(); });
  FClickDelayTimer = TSimpleTimer::CreateWithPeriod(1000, [this](TObject*) { ClickTick(); });
  FLeavePollTimer = TSimpleTimer::CreateWithPeriod(20, [this](TObject*) { LeaveTick(); });
  Application->HookMainWindow(this, [this](TMessage& m) {
    ApplicationHook(m);
    return false;
  });
  if (TCustomForm* form = OwnerForm()) form->HookWindow(this, [this](TMessage& m) { return OwnerWindowHook(m); });
}

TShellTrayIcon::~TShellTrayIcon() {
  SetIconVisible(false);
  FIconCycleTimer.reset();
  FClickDelayTimer.reset();
  FLeavePollTimer.reset();
  FIcon.OnChange = nullptr;
  Application->UnhookMainWindow(this);
  if (TCustomForm* form = OwnerForm()) form->UnhookWindow(this);
  ReleaseTrayHandler(this);
}

TCustomForm* TShellTrayIcon::OwnerForm() const { return dynamic_cast<TCustomForm*>(Owner()); }

void TShellTrayIcon::Loaded() {
  TComponent::Loaded();
  if (OwnerForm()) {
    bool showMainForm = true;
    if (OnStartup) OnStartup(this, showMainForm);
    if (!showMainForm) {
      Application->SetShowMainForm(false);
      HideMainWindow();
    }
  }
  UpdateTrayIcon();
  SetIconVisible(FIconVisible);
  SetCycleIcons(FCycleIcons);
  SetWantEnterExitEvents(FWantEnterExitEvents);
}

void TShellTrayIcon::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::Remove) return;
  if (component == FIconList) SetIconList(nullptr);
  if (component == FPopupMenu) FPopupMenu = nullptr;
}

// Properties ------------------------------------------------------------------------------------

void TShellTrayIcon::SetIconList(TCustomImageList* list) {
  FIconList = list;
  SetIconIndex(0);
}

void TShellTrayIcon::SetCycleIcons(bool value) {
  FCycleIcons = value;
  if (!value) {
    FIconCycleTimer->SetActive(false);
    return;
  }
  SetIconIndex(0);
  FIconCycleTimer->SetPeriod(FCycleInterval);
  FIconCycleTimer->SetActive(true);
}

void TShellTrayIcon::SetCycleInterval(uint32_t value) {
  FCycleInterval = value;
  SetCycleIcons(FCycleIcons);
}

void TShellTrayIcon::SetHint(const std::string& value) {
  FHint = value;
  UpdateTrayIcon();
}

void TShellTrayIcon::SetShowHint(bool value) {
  FShowHint = value;
  UpdateTrayIcon();
}

void TShellTrayIcon::SetIcon(const TIcon& icon) {
  TNotifyEvent notify = std::move(FIcon.OnChange);
  FIcon.OnChange = nullptr;
  FIcon.Assign(icon);
  FIcon.OnChange = std::move(notify);
  UpdateTrayIcon();
}

void TShellTrayIcon::SetIconVisible(bool value) {
  if (value) AddTrayIcon();
  else RemoveTrayIcon();
}

void TShellTrayIcon::SetIconIndex(int value) {
  if (!FIconList) {
    FIconIndex = 0;
  } else {
    FIconIndex = value >= FIconList->Count() ? FIconList->Count() - 1 : value;
    FIconList->GetIcon(FIconIndex, FIcon);
  }
  UpdateTrayIcon();
}

void TShellTrayIcon::SetWantEnterExitEvents(bool value) {
  FWantEnterExitEvents = value;
  FLeavePollTimer->SetActive(value);
}

// The desktop -----------------------------------------------------------------------------------

bool TShellTrayIcon::CallDesktop(TNotifyIconOp op) {
  TNotifyIconData data;
  data.Window = Shared->TrayWindow.get();
  data.Id = TrayId();
  data.CallbackMessage = TrayCallbackMessage;
  data.Icon = FIcon.ImageFor(16);
  // Cut whole characters: the tip is UTF-8, and half a character would show as garbage.
  if (!FHint.empty() && FShowHint) data.Tip = CutUtf8(FHint, TrayTipLimit);
  return Application->WidgetSet().NotifyIcon(op, data);
}

bool TShellTrayIcon::AddTrayIcon() {
  FIconVisible = true;
  return CallDesktop(TNotifyIconOp::Add);
}

bool TShellTrayIcon::RemoveTrayIcon() {
  FIconVisible = false;
  return CallDesktop(TNotifyIconOp::Delete);
}

bool TShellTrayIcon::UpdateTrayIcon() { return CallDesktop(TNotifyIconOp::Modify); }

// Callbacks -------------------------------------------------------------------------------------

void TShellTrayIcon::HandleTrayMessage(uint32_t code) {
  using namespace TrayMessage;
  switch (code) {
    case BalloonShow:
      if (OnBalloonHintShow) OnBalloonHintShow(this);
      return;
    case BalloonHide:
      if (OnBalloonHintHide) OnBalloonHintHide(this);
      return;
    case BalloonTimeout:
      if (OnBalloonHintTimeout) OnBalloonHintTimeout(this);
      return;
    case BalloonUserClick:
      if (OnBalloonHintClick) OnBalloonHintClick(this);
      return;
    default:
      break;
  }
  if (!FEnabled) return;
  TCustomWidgetSet& widgets = Application->WidgetSet();
  const unsigned keys = widgets.KeyboardShiftState();
  const TPoint at = widgets.CursorPos();
  switch (code) {
    case MouseMove:
      if (FWantEnterExitEvents && FOutsideIcon) {
        NotifyMouseEnter();
        FOutsideIcon = false;
      }
      NotifyMouseMove(keys, at.X, at.Y);
      FLastHoverPoint = at;
      return;
    case LButtonDown:
      if (OnDblClick) {
        FClickDelayTimer->SetPeriod(widgets.DoubleClickTime());
        FClickDelayTimer->SetActive(true);
      }
      NotifyMouseDown(TMouseButton::Left, keys | ShiftState::Left, at.X, at.Y);
      FLeftDownSeen = true;
      if (FLeftPopup) ShowPopupAtCursor();
      return;
    case LButtonUp:
      if (FLeftDownSeen) FClickWaiting = true;
      if (FLeftDownSeen && !FClickDelayTimer->Active()) {
        FLeftDownSeen = false;
        FClickWaiting = false;
        NotifyClick();
      }
      FLeftDownSeen = false;
      NotifyMouseUp(TMouseButton::Left, keys | ShiftState::Left, at.X, at.Y);
      return;
    case LButtonDblClk:
      FClickWaiting = false;
      FDblClickSeen = true;
      NotifyDblClick();
      if (FPopupMenu && FPopupMenu->AutoPopup() && !FLeftPopup) {
        const auto& items = FPopupMenu->Items();
        const auto item = std::find_if(items.begin(), items.end(), [](TMenuItem* i) { return i->Default(); });
        if (item != items.end()) (*item)->Click();
      }
      return;
    case RButtonDown:
      NotifyMouseDown(TMouseButton::Right, keys | ShiftState::Right, at.X, at.Y);
      ShowPopupAtCursor();
      return;
    case RButtonUp:
      NotifyMouseUp(TMouseButton::Right, keys | ShiftState::Right, at.X, at.Y);
      return;
    case MButtonDown:
      NotifyMouseDown(TMouseButton::Middle, keys | ShiftState::Middle, at.X, at.Y);
      return;
    case MButtonUp:
      NotifyMouseUp(TMouseButton::Middle, keys | ShiftState::Middle, at.X, at.Y);
      return;
    default:
      return;
  }
}

void TShellTrayIcon::ClickTick() {
  FClickDelayTimer->SetActive(false);
  if (!FDblClickSeen && FClickWaiting) {
    FClickWaiting = false;
    NotifyClick();
  }
  FDblClickSeen = false;
}

void TShellTrayIcon::LeaveTick() {
  if (FOutsideIcon) return;
  const TPoint at = Application->WidgetSet().CursorPos();
  if (at.X == FLastHoverPoint.X && at.Y == FLastHoverPoint.Y) return;
  FOutsideIcon = true;
  NotifyMouseExit();
}

int TShellTrayIcon::NextIndex() const {
  return FIconList && FIconIndex < FIconList->Count() - 1 ? FIconIndex + 1 : 0;
}

void TShellTrayIcon::CycleTick() {
  if (FIconList) FIconList->GetIcon(FIconIndex, FIcon);
  NotifyCycle();
  SetIconIndex(NextIndex());
}

void TShellTrayIcon::ShowPopupAtCursor() {
  if (!FPopupMenu || !FPopupMenu->AutoPopup()) return;
  const TPoint at = Application->WidgetSet().CursorPos();
  // Whatever is pending goes first; the widget set brings the program to the foreground for the menu.
  Application->ProcessMessages();
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(at.X, at.Y);
}

// Minimising to the notification area ------------------------------------------------------------

void TShellTrayIcon::SendToTray() {
  HideMainWindow();
  SetIconVisible(true);
}

void TShellTrayIcon::HideMainWindow() {
  if (!OwnerForm() || !Application->MainForm()) return;
  Application->MainForm()->SetVisible(false);
  HideTaskbarButton();
}

// The main window carries the program's taskbar button: hidden, the button goes with it.
void TShellTrayIcon::HideTaskbarButton() {
  TCustomForm* main = Application->MainForm();
  if (main && main->Visible()) main->SetVisible(false);
}

bool TShellTrayIcon::TryMinimizeToTray(TMessage& message) {
  if (!FMinimizeToTray || !OnMinimizeToTray) return false;
  OnMinimizeToTray(this);
  SendToTray();
  message.Result = 1;
  return true;
}

bool TShellTrayIcon::OwnerWindowHook(TMessage& message) {
  using namespace WindowMessage;
  if (message.Msg == ShowWindow && message.WParam == 1 && message.LParam == 0) {
    if (TCustomForm* main = Application->MainForm()) main->BringToFront();
    OwnerForm()->BringToFront();
    return false;
  }
  if (message.Msg == ShowWindow && message.WParam == 0 && message.LParam == SwParentClosing)
    return !Application->Terminated() && TryMinimizeToTray(message);
  if (message.Msg == SysCommand && message.WParam == ScMinimize) return TryMinimizeToTray(message);
  return false;
}

void TShellTrayIcon::ApplicationHook(const TMessage& message) {
  using namespace WindowMessage;
  if (message.Msg == Size && message.WParam == SizeMinimized && FMinimizeToTray) SendToTray();
  if (message.Msg == SysCommand && message.WParam == ScRestore && Application->MainForm())
    Application->MainForm()->SetVisible(true);
  const uint32_t taskbarCreated = Application->WidgetSet().TaskbarCreatedMessage();
  if (taskbarCreated != 0 && message.Msg == taskbarCreated && FIconVisible) AddTrayIcon();
}

// Events ----------------------------------------------------------------------------------------

void TShellTrayIcon::NotifyClick() {
  if (OnClick) OnClick(this);
}
void TShellTrayIcon::NotifyDblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TShellTrayIcon::NotifyCycle() {
  if (OnCycle) OnCycle(this, NextIndex());
}
void TShellTrayIcon::NotifyMouseDown(TMouseButton button, unsigned shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TShellTrayIcon::NotifyMouseUp(TMouseButton button, unsigned shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TShellTrayIcon::NotifyMouseMove(unsigned shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
void TShellTrayIcon::NotifyMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TShellTrayIcon::NotifyMouseExit() {
  if (OnMouseExit) OnMouseExit(this);
}
