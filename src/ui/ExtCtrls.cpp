// Panel, image and timer behaviour.
#include "ui/ExtCtrls.h"

#include "ui/Forms.h"

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {}

void TPanel::SetBorderStyle(TBorderStyle value) {
  FBorderStyle = value;
  if (auto* peer = PeerAs<IPanelPeer>()) peer->SetBorder(value == TBorderStyle::Single);
}

std::unique_ptr<IControlPeer> TPanel::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<IPanelPeer>(*this, parent);
}

void TPanel::ReplayProperties() {
  TWinControl::ReplayProperties();
  PeerAs<IPanelPeer>()->SetBorder(FBorderStyle == TBorderStyle::Single);
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {}

void TImage::SetPicture(const gfx::Bitmap& picture) {
  FPicture = picture;
  Repaint();
}

bool TImage::Covers() const { return FPicture.Width() == Width() && FPicture.Height() == Height(); }

void TImage::Paint() {
  // A picture of the control's size is shown as it is; another is placed on the control's colour.
  if (Covers()) return;
  gfx::Canvas& target = TGraphicControl::Canvas();
  target.Brush = {Color(), gfx::TBrushStyle::Solid};
  target.FillRect(ClientRect());
  target.Draw(0, 0, FPicture);
}

const gfx::Bitmap& TImage::Shown() const { return Covers() ? FPicture : Surface(); }

void TImage::BoundsChanged() {
  // The picture takes the control's size, as a drawing surface does before anything is drawn.
  if (FPicture.Width() != Width() || FPicture.Height() != Height()) FPicture.SetSize(Width(), Height());
  TGraphicControl::BoundsChanged();
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  UpdateTimer();
}

void TTimer::SetInterval(uint32_t value) {
  if (value == FInterval) return;
  FInterval = value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (Loading()) return;
  if (FWindow) FWindow->KillTimer(1);
  if (!FEnabled || FInterval == 0) return;
  if (!FWindow)
    FWindow = Application->WidgetSet().CreateMessageWindow([this](uint32_t msg, uintptr_t, intptr_t) {
      if (msg == platform::WmTimer)
        Application->Dispatch([this] {
          if (OnTimer) OnTimer(this);
        });
    });
  FWindow->SetTimer(1, FInterval);
}
