// Property storage and the push to the peer.
#include "ui/Controls.h"

#include <algorithm>


TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
  if (FParent) FParent->RemoveControl(this);
  FPeer.reset();
}

IControlHost* ControlHost = nullptr;

IFocusHost* TControl::FocusHost() const { return FParent ? FParent->FocusHost() : nullptr; }

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
  EnabledChanged();
}

bool TControl::EffectivelyEnabled() const {
  return FEnabled && (!FParent || !FParent->PassesEnabledOn() || FParent->EffectivelyEnabled());
}

void TControl::EnabledChanged() {
  if (FPeer) FPeer->SetEnabled(EffectivelyEnabled());
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
  ControlHost->Dispatch([this] { Click(); });
}

void TControl::UserMouseDown(int, int) { FMouseDown = true; }

void TControl::UserMouseUp(int x, int y) {
  const bool click = FMouseDown && x >= 0 && y >= 0 && x < Width() && y < Height();
  FMouseDown = false;
  if (click && Enabled()) UserClicked();
}

void TControl::UserFocused() {
  if (IFocusHost* form = FocusHost()) form->FocusChanged(this);
}

int TControl::TabOrder() const {
  if (!FParent) return -1;
  const auto& list = FParent->FTabList;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TControl::SetTabOrder(int order) {
  if (!FParent) return;
  auto& list = FParent->FTabList;
  list.erase(std::find(list.begin(), list.end(), this));
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
}

bool TControl::CanFocus() const {
  if (!FTabStop) return false;
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TControl::SetFocus() {
  if (IFocusHost* form = FocusHost()) form->SetActiveControl(this);
}

bool TControl::Focused() const {
  const IFocusHost* form = FocusHost();
  return form && form->ActiveControl() == this;
}

void TControl::CreatePeer(TCustomWidgetSet& widgets, IControlPeer* parent) { AttachPeer(MakePeer(widgets, parent)); }

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::ReplayProperties() {
  FPeer->SetFont(Font());
  FPeer->SetColor(Color());
  FPeer->SetText(FCaption);
  FPeer->SetBounds(FBounds);
  FPeer->SetEnabled(EffectivelyEnabled());
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

void TWinControl::EnabledChanged() {
  TControl::EnabledChanged();
  if (PassesEnabledOn())
    for (TControl* child : FControls) child->EnabledChanged();
}

void TWinControl::InsertControl(TControl* control) {
  FControls.push_back(control);
  FTabList.push_back(control);
  control->FParent = this;
  if (FPeer && ControlHost) control->CreatePeer(ControlHost->WidgetSet(), FPeer.get());
  if (control->Align() != TAlign::None) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
  if (IFocusHost* form = FocusHost()) form->ControlRemoved(control);
  std::erase(FControls, control);
  std::erase(FTabList, control);
  control->FParent = nullptr;
}

void TWinControl::CollectTabStops(std::vector<TControl*>& stops) const {
  for (TControl* c : FTabList) {
    if (c->CanFocus()) stops.push_back(c);
    if (auto* container = dynamic_cast<const TWinControl*>(c)) container->CollectTabStops(stops);
  }
}

void TWinControl::AlignControls() {
  for (TControl* c : FControls)
    if (c->Align() == TAlign::Bottom)
      c->SetBounds(0, ClientHeight() - c->Height(), ClientWidth(), c->Height());
}

void TWinControl::CreatePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  TControl::CreatePeer(widgets, parent);
  CreateChildPeers(widgets);
}

void TWinControl::CreateChildPeers(TCustomWidgetSet& widgets) {
  if (!FPeer) return;
  for (TControl* child : FControls) child->CreatePeer(widgets, FPeer.get());
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
  // Only a control that paints into its surface keeps one, of its own size.
  if (&Shown() != &FSurface) FSurface = gfx::Bitmap();
  else if (FSurface.Width() != Width() || FSurface.Height() != Height()) FSurface.SetSize(Width(), Height());
  Paint();
  if (auto* peer = PeerAs<IPicturePeer>()) peer->SetPicture(Shown(), ShownAtOnce());
}

std::unique_ptr<IControlPeer> TGraphicControl::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<IPicturePeer>(*this, parent);
}

void TGraphicControl::ReplayProperties() {
  TControl::ReplayProperties();
  PeerAs<IPicturePeer>()->SetPicture(Shown(), false);
}

void TGraphicControl::BoundsChanged() { Repaint(); }

void TGraphicControl::Loaded() {
  TControl::Loaded();
  Repaint();
}
