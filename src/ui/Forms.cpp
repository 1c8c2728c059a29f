// Window and application behaviour, portable: the widget set only shows what is decided here.
#include "ui/Forms.h"

#include <algorithm>
#include <memory>

#include "base/SysUtils.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
std::unique_ptr<TScreen> TheScreen;
// The application window's message that frees released windows.
constexpr uint32_t CmRelease = platform::WmUser + 0x100;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  BeginLoading();
  SetVisible(false);
  SetFont(gfx::TFontSpec{});
}

TCustomForm::~TCustomForm() {
  if (Application) Application->CancelRelease(this);
  DestroyComponents();
}

void TCustomForm::BeforeDestruction() {
  if (OnDestroy && Application) Application->Dispatch([this] { OnDestroy(this); });
}

void TCustomForm::SetIcon(const TIconData& icon) {
  FIcon = icon;
  if (auto* peer = PeerAs<IFormPeer>()) peer->SetIcon(icon);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  if (FPeer) throw EInvalidOperation("Cannot change the border of a window that exists");
  FBorderStyle = value;
}

void TCustomForm::SetBorderIcons(unsigned value) {
  if (value == FBorderIcons) return;
  if (FPeer) throw EInvalidOperation("Cannot change the border of a window that exists");
  FBorderIcons = value;
}

void TCustomForm::EndCreate() {
  if (Application->FCreatingMainForm && Owner() == Application && !Application->FMainForm) Application->FMainForm = this;
  EndLoading();
  CreateWindowPeer();
  if (OnCreate) Application->Dispatch([this] { OnCreate(this); });
}

void TCustomForm::CreateWindowPeer() {
  if (FPeer) return;
  CreatePeer(Application->WidgetSet(), nullptr);
}

std::unique_ptr<IControlPeer> TCustomForm::MakePeer(TCustomWidgetSet& widgets, IControlPeer*) {
  return widgets.Create<IFormPeer>(*this, nullptr);
}

void TCustomForm::ReplayProperties() {
  TWinControl::ReplayProperties();
  PeerAs<IFormPeer>()->SetIcon(FIcon);
}

void TCustomForm::Place() {
  TRect area;
  if (FPosition == TPosition::ScreenCenter) {
    area = Application->WidgetSet().DesktopRect();
  } else if (FPosition == TPosition::MainFormCenter && Application->MainForm() && Application->MainForm() != this) {
    const TCustomForm* main = Application->MainForm();
    auto* mainPeer = dynamic_cast<IFormPeer*>(main->Peer());
    const TRect m = mainPeer ? mainPeer->FrameExtents() : TRect{};
    area = {main->Left() - m.Left, main->Top() - m.Top, main->Left() + main->Width() + m.Right,
            main->Top() + main->Height() + m.Bottom};
  } else {
    return;
  }
  // The frame is centred; the window's bounds are its client area inside the frame.
  auto* peer = PeerAs<IFormPeer>();
  const TRect frame = peer ? peer->FrameExtents() : TRect{};
  const int frameWidth = Width() + frame.Left + frame.Right, frameHeight = Height() + frame.Top + frame.Bottom;
  SetBounds(area.Left + (area.Width() - frameWidth) / 2 + frame.Left, area.Top + (area.Height() - frameHeight) / 2 + frame.Top,
            Width(), Height());
}

void THookList::Set(const void* owner, TWindowHook hook) {
  Remove(owner);
  FHooks.emplace_back(owner, std::move(hook));
}

void THookList::Remove(const void* owner) {
  std::erase_if(FHooks, [owner](const auto& entry) { return entry.first == owner; });
}

bool THookList::Run(TMessage& message) const {
  // A copy: a hook may remove hooks (its own component going away).
  const auto hooks = FHooks;
  for (const auto& [owner, hook] : hooks)
    if (hook(message)) return true;
  return false;
}

bool TCustomForm::UserWindowMessage(TMessage& message) {
  if (Application && Application->MainForm() == this) {
    TMessage copy = message;
    Application->FMainWindowHooks.Run(copy);
  }
  return FHooks.Run(message);
}

void TCustomForm::BringToFront() {
  if (auto* peer = PeerAs<IFormPeer>()) peer->BringToFront();
}

void TCustomForm::SetWindowState(TWindowState state) {
  if (auto* peer = PeerAs<IFormPeer>(); peer && Visible()) peer->SetMinimized(state == TWindowState::Minimized);
}

void TCustomForm::UserFrameChanged() {
  Application->Dispatch([this] {
    if (FPlaced) Place();
  });
}

void TCustomForm::SetVisible(bool visible) {
  if (visible == Visible()) return;
  if (!visible) {
    TWinControl::SetVisible(false);
    FActive = false;
    return;
  }
  if (!FPlaced) {
    FPlaced = true;
    Place();
  }
  // An error in the show handler is reported, and the window still appears with what it filled.
  if (OnShow) Application->Dispatch([this] { OnShow(this); });
  TWinControl::SetVisible(true);
  // Without a window manager behind it, a shown window is the active one at once.
  if (!FPeer) Activate();
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = IdCancel;
    return;
  }
  TCloseAction action = TCloseAction::Hide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::None) return;
  if (Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  if (action == TCloseAction::Minimize) {
    if (auto* peer = PeerAs<IFormPeer>()) peer->SetMinimized(true);
    return;
  }
  Hide();
  if (action == TCloseAction::Free) Release();
}

void TCustomForm::Release() { Application->ReleaseLater(this); }

namespace {

// Every visible, enabled window of the program, owned by the application or by one of its windows.
void CollectEnabledWindows(TComponent* owner, const TCustomForm* except, std::vector<TCustomForm*>& found) {
  for (TComponent* c : owner->Components())
    if (auto* form = dynamic_cast<TCustomForm*>(c)) {
      if (form != except && form->Visible() && form->Enabled()) found.push_back(form);
      CollectEnabledWindows(form, except, found);
    }
}

}  // namespace

bool TCustomForm::CloseModal() {
  TCloseAction action = TCloseAction::Hide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::None) return false;
  if (action == TCloseAction::Free) Release();
  return true;
}

int TCustomForm::ShowModal() {
  // Every other window is disabled until this one closes, as a modal dialog does.
  std::vector<TCustomForm*> disabled;
  CollectEnabledWindows(Application, this, disabled);
  for (TCustomForm* form : disabled) form->SetEnabled(false);
  FModalResult = 0;
  FModal = true;
  Show();
  for (;;) {
    while (FModalResult == 0 && Visible() && !Application->Terminated()) Application->HandleMessage();
    if (FModalResult == 0) FModalResult = IdCancel;
    if (Application->Terminated() || CloseModal()) break;
    FModalResult = 0;
  }
  FModal = false;
  Hide();
  for (TCustomForm* form : disabled) form->SetEnabled(true);
  return FModalResult;
}

void TCustomForm::Repaint() {
  if (auto* peer = PeerAs<IFormPeer>()) peer->Repaint();
}

void TCustomForm::Activate() {
  FActive = true;
  // A window comes up with the focus on its first tab stop, or where it was when it was left.
  if (FActiveControl && FActiveControl->CanFocus()) SetActiveControl(FActiveControl);
  else SelectNext(true);
  // A copy, since a handler may unbind itself while it runs.
  const TNotifyEvent handler = OnActivate;
  if (handler) handler(this);
}

void TCustomForm::UserActivated() {
  Application->Dispatch([this] {
    if (!FActive) Activate();
  });
}

void TCustomForm::UserDeactivated() { FActive = false; }

void TCustomForm::SetActiveControl(TControl* control) {
  FActiveControl = control;
  if (control && control->Peer()) control->Peer()->SetFocus();
}

void TCustomForm::FocusChanged(TControl* control) { FActiveControl = control; }

void TCustomForm::ControlRemoved(TControl* control) {
  if (FActiveControl == control) FActiveControl = nullptr;
}

void TCustomForm::SelectNext(bool forward) {
  std::vector<TControl*> stops;
  CollectTabStops(stops);
  if (stops.empty()) return;
  const auto at = std::find(stops.begin(), stops.end(), FActiveControl);
  size_t next;
  if (at == stops.end()) next = forward ? 0 : stops.size() - 1;
  else next = (static_cast<size_t>(at - stops.begin()) + (forward ? 1 : stops.size() - 1)) % stops.size();
  SetActiveControl(stops[next]);
}

bool TCustomForm::UserKeyDown(TKey key, unsigned shift) {
  bool used = false;
  Application->Dispatch([&] {
    if (!Enabled()) return;
    if (key == TKey::Tab) {
      SelectNext(!(shift & ShiftState::Shift));
      used = true;
    } else if (key == TKey::Return) {
      TControl* target = FActiveControl && FActiveControl->TakesReturn() ? FActiveControl : nullptr;
      if (!target || !target->CanFocus()) target = DefaultButton();
      if (!target) return;
      used = true;
      target->ClickByReturn();
    }
  });
  return used;
}

TControl* TCustomForm::DefaultButton() const {
  std::vector<TControl*> all;
  CollectTabStops(all);
  for (TControl* c : all)
    if (c->IsDefault()) return c;
  return nullptr;
}

void TCustomForm::UserClosed() {
  Application->Dispatch([this] { Close(); });
}

void TScreen::SetCursor(TCursor cursor) {
  FCursor = cursor;
  FWidgets.SetCursor(cursor);
}

TApplication::TApplication(TCustomWidgetSet& widgets) : TComponent(nullptr), FWidgets(widgets) {
  Application = this;
  ControlHost = this;
  TheScreen = std::make_unique<TScreen>(widgets);
  Screen = TheScreen.get();
  FWindow = widgets.CreateMessageWindow([this](uint32_t msg, uintptr_t, intptr_t) { WindowProc(msg); });
  EndLoading();
}

TApplication::~TApplication() {
  DestroyComponents();
  FWindow.reset();
  Screen = nullptr;
  TheScreen.reset();
  Application = nullptr;
  ControlHost = nullptr;
}

void TApplication::Run() {
  if (FShowMainForm && FMainForm) FMainForm->Show();
  while (!FTerminated) FWidgets.HandleMessage();
}

void TApplication::Minimize() {
  if (FMinimized) return;
  FMinimized = true;
  if (FMainForm)
    if (auto* peer = dynamic_cast<IFormPeer*>(FMainForm->Peer())) peer->SetMinimized(true);
}

void TApplication::Restore() {
  if (!FMinimized) return;
  FMinimized = false;
  if (FMainForm)
    if (auto* peer = dynamic_cast<IFormPeer*>(FMainForm->Peer())) peer->SetMinimized(false);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  return FWidgets.MessageBox(text, caption.empty() ? FTitle : caption, flags);
}

void TApplication::HandleException(const std::exception& error) {
  std::string message = error.what();
  // A message that does not end in punctuation gets a full stop.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  MessageBox(message, FTitle, MbOk | MbIconError);
}

void TApplication::Dispatch(const std::function<void()>& entry) {
  struct TDepth {
    TApplication& App;
    explicit TDepth(TApplication& app) : App(app) { ++App.FDispatchDepth; }
    ~TDepth() {
      // The outermost entry is over: windows released meanwhile can go now, through the loop.
      if (--App.FDispatchDepth == 0 && !App.FReleased.empty() && !App.FReleasePosted) {
        App.FReleasePosted = true;
        App.FWindow->PostMessage(CmRelease, 0, 0);
      }
    }
  } depth(*this);
  try {
    entry();
  } catch (const std::exception& error) {
    HandleException(error);
  }
}

void TApplication::ReleaseLater(TCustomForm* form) {
  if (std::find(FReleased.begin(), FReleased.end(), form) != FReleased.end()) return;
  FReleased.push_back(form);
  if (FReleasePosted) return;
  FReleasePosted = true;
  FWindow->PostMessage(CmRelease, 0, 0);
}

void TApplication::WindowProc(uint32_t msg) {
  if (msg != CmRelease) return;
  FReleasePosted = false;
  // Pumped from inside a handler: the end of the outermost entry posts the message again.
  if (FDispatchDepth == 0) FreeReleased();
}

void TApplication::FreeReleased() {
  while (!FReleased.empty()) {
    TCustomForm* form = FReleased.back();
    FReleased.pop_back();
    form->Free();
  }
}

void TApplication::CancelRelease(TCustomForm* form) { std::erase(FReleased, form); }

void TApplication::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::Remove && component == FMainForm) FMainForm = nullptr;
}
