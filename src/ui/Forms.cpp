// Window and application behaviour, portable: the widget set only shows what is decided here.
#include "ui/Forms.h"

#include <memory>

#include "ui/SysUtils.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
std::unique_ptr<TScreen> TheScreen;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  BeginLoading();
  SetVisible(false);
  SetFont(gfx::TFontSpec{});
}

TCustomForm::~TCustomForm() {
  if (OnDestroy) Application->Dispatch([this] { OnDestroy(this); });
  DestroyComponents();
}

void TCustomForm::SetIcon(const TIconData& icon) {
  FIcon = icon;
  if (auto* peer = PeerAs<IFormPeer>()) peer->SetIcon(icon);
}

void TCustomForm::EndCreate() {
  EndLoading();
  CreateWindowPeer();
  if (OnCreate) Application->Dispatch([this] { OnCreate(this); });
}

void TCustomForm::CreateWindowPeer() {
  if (FPeer) return;
  AttachPeer(Application->WidgetSet().CreateForm(*this));
  CreateChildPeers(Application->WidgetSet());
}

void TCustomForm::CreatePeer(IWidgetSet&, IControlPeer&) { CreateWindowPeer(); }

std::unique_ptr<IControlPeer> TCustomForm::MakePeer(IWidgetSet& widgets, IControlPeer&) {
  return widgets.CreateForm(*this);
}

void TCustomForm::ReplayProperties() {
  TWinControl::ReplayProperties();
  PeerAs<IFormPeer>()->SetIcon(FIcon);
}

void TCustomForm::PlaceAtCentre() {
  if (FPlaced) return;
  FPlaced = true;
  if (FPosition != TPosition::ScreenCenter) return;
  const TRect desk = Application->WidgetSet().DesktopRect();
  SetBounds(desk.Left + (desk.Width() - Width()) / 2, desk.Top + (desk.Height() - Height()) / 2, Width(), Height());
  if (auto* peer = PeerAs<IFormPeer>()) peer->CenterOnDesktop();
}

void TCustomForm::Show() {
  if (Visible()) return;
  PlaceAtCentre();
  if (OnShow) OnShow(this);
  SetVisible(true);
  // Without a window manager behind it, a shown window is the active one at once.
  if (!FPeer) Activate();
}

void TCustomForm::Hide() {
  SetVisible(false);
  FActive = false;
}

void TCustomForm::Close() {
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
  if (action == TCloseAction::Free) delete this;
}

int TCustomForm::ShowModal() {
  // Every other visible window is disabled until this one closes, as a modal dialog does.
  std::vector<TCustomForm*> disabled;
  for (TComponent* c : Application->Components())
    if (auto* form = dynamic_cast<TCustomForm*>(c); form && form != this && form->Visible() && form->Enabled()) {
      form->SetEnabled(false);
      disabled.push_back(form);
    }
  FModalResult = 0;
  Show();
  while (FModalResult == 0 && Visible() && !Application->Terminated()) Application->HandleMessage();
  if (FModalResult == 0) FModalResult = IdCancel;
  Hide();
  for (TCustomForm* form : disabled) form->SetEnabled(true);
  return FModalResult;
}

void TCustomForm::Repaint() {
  if (auto* peer = PeerAs<IFormPeer>()) peer->Repaint();
}

void TCustomForm::Activate() {
  FActive = true;
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

void TCustomForm::UserClosed() {
  Application->Dispatch([this] { Close(); });
}

void TScreen::SetCursor(TCursor cursor) {
  FCursor = cursor;
  FWidgets.SetCursor(cursor);
}

TApplication::TApplication(IWidgetSet& widgets) : TComponent(nullptr), FWidgets(widgets) {
  Application = this;
  TheScreen = std::make_unique<TScreen>(widgets);
  Screen = TheScreen.get();
  EndLoading();
}

TApplication::~TApplication() {
  DestroyComponents();
  Screen = nullptr;
  TheScreen.reset();
  Application = nullptr;
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
  MessageBox(error.what(), FTitle, MbOk | MbIconError);
}

void TApplication::Dispatch(const std::function<void()>& entry) {
  try {
    entry();
  } catch (const std::exception& error) {
    HandleException(error);
  }
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::Remove && component == FMainForm) FMainForm = nullptr;
}
