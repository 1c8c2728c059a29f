// Property storage and the push to the peer.
#include "ui/Controls.h"

#include <algorithm>

#include "ui/Forms.h"

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
  if (FParent) FParent->RemoveControl(this);
  FPeer.reset();
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) FParent->RemoveControl(this);
  DestroyPeer();
  if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  const TRect bounds{left, top, left + std::max(width, 0), top + std::max(height, 0)};
  if (bounds == FBounds) return;
  FBounds = bounds;
  if (FPeer) FPeer->SetBounds(FBounds);
  BoundsChanged();
}

void TControl::SetAlign(TAlign align) {
  FAlign = align;
  if (FParent) FParent->AlignControls();
}

void TControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  if (FPeer) FPeer->SetVisible(visible);
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  if (FPeer) FPeer->SetEnabled(enabled);
}

void TControl::SetCaption(const std::string& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  if (FPeer) FPeer->SetText(caption);
  CaptionChanged();
}

const gfx::TFontSpec& TControl::Font() const {
  return FParentFont && FParent ? FParent->Font() : FFont;
}

void TControl::SetFont(const gfx::TFontSpec& font) {
  FFont = font;
  FParentFont = false;
  FontChanged();
}

void TControl::SetParentFont(bool value) {
  FParentFont = value;
  FontChanged();
}

TColor TControl::Color() const { return FParentColor && FParent ? FParent->Color() : FColor; }

void TControl::SetColor(TColor color) {
  FColor = color;
  FParentColor = false;
  ColorChanged();
}

void TControl::SetParentColor(bool value) {
  FParentColor = value;
  ColorChanged();
}

void TControl::FontChanged() {
  if (FPeer) FPeer->SetFont(Font());
}

void TControl::ColorChanged() {
  if (FPeer) FPeer->SetColor(Color());
}

void TControl::UserClicked() {
  Application->Dispatch([this] { Click(); });
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::ReplayProperties() {
  FPeer->SetFont(Font());
  FPeer->SetColor(Color());
  FPeer->SetText(FCaption);
  FPeer->SetBounds(FBounds);
  FPeer->SetEnabled(FEnabled);
  FPeer->SetVisible(FVisible);
}

void TControl::Loaded() {
  if (FParent && FAlign != TAlign::None) FParent->AlignControls();
}

void TControl::AttachPeer(std::unique_ptr<IControlPeer> peer) {
  FPeer = std::move(peer);
  if (FPeer) ReplayProperties();
}

void TControl::DestroyPeer() {
  if (auto* self = dynamic_cast<TWinControl*>(this))
    for (TControl* child : self->Controls()) child->DestroyPeer();
  FPeer.reset();
}

TWinControl::~TWinControl() {
  // Children outlive this part of the object only as orphans; they must not call back.
  for (TControl* child : FControls) child->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* control) {
  FControls.push_back(control);
  control->FParent = this;
  if (FPeer && Application) control->CreatePeer(Application->WidgetSet(), *FPeer);
  if (control->Align() != TAlign::None) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
  control->FParent = nullptr;
}

void TWinControl::AlignControls() {
  for (TControl* c : FControls)
    if (c->Align() == TAlign::Bottom)
      c->SetBounds(0, ClientHeight() - c->Height(), ClientWidth(), c->Height());
}

void TWinControl::CreatePeer(IWidgetSet& widgets, IControlPeer& parent) {
  AttachPeer(MakePeer(widgets, parent));
  CreateChildPeers(widgets);
}

void TWinControl::CreateChildPeers(IWidgetSet& widgets) {
  if (!FPeer) return;
  for (TControl* child : FControls) child->CreatePeer(widgets, *FPeer);
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : FControls)
    if (c->ParentFont()) c->SetParentFont(true);
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  for (TControl* c : FControls)
    if (c->ParentColor()) c->SetParentColor(true);
}

void TWinControl::BoundsChanged() { AlignControls(); }

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::Repaint() {
  if (Loading()) return;
  Paint();
  if (auto* peer = PeerAs<IPicturePeer>()) peer->SetPicture(FSurface);
}

void TGraphicControl::CreatePeer(IWidgetSet& widgets, IControlPeer& parent) {
  AttachPeer(widgets.CreatePicture(*this, parent));
  if (auto* peer = PeerAs<IPicturePeer>()) peer->SetPicture(FSurface);
}

void TGraphicControl::BoundsChanged() {
  FSurface.SetSize(Width(), Height());
  Repaint();
}

void TGraphicControl::Loaded() {
  TControl::Loaded();
  Repaint();
}
