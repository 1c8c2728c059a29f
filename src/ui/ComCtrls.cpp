// Status bar panels and the slider's range and position rules.
#include "ui/ComCtrls.h"

#include <algorithm>

#include "ui/Forms.h"

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 0, 19);
  SetAlign(TAlign::Bottom);
}

void TStatusBar::SetPanels(const std::vector<TStatusPanelSpec>& panels) {
  FPanels = panels;
  if (auto* peer = PeerAs<IStatusBarPeer>()) peer->SetPanels(FPanels);
}

void TStatusBar::SetPanelText(size_t index, const std::string& text) {
  if (index >= FPanels.size()) return;
  FPanels[index].Text = text;
  if (auto* peer = PeerAs<IStatusBarPeer>()) peer->SetPanels(FPanels);
}

std::unique_ptr<IControlPeer> TStatusBar::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<IStatusBarPeer>(*this, parent);
}

void TStatusBar::ReplayProperties() {
  TWinControl::ReplayProperties();
  PeerAs<IStatusBarPeer>()->SetPanels(FPanels);
}

TTrackBar::TTrackBar(TComponent* owner) : TControl(owner) {
  SetParentColor(true);
  SetTabStop(true);
}

void TTrackBar::SetMin(int value) {
  FMin = value;
  if (FMax < FMin) FMax = FMin;
  if (auto* peer = PeerAs<ITrackBarPeer>()) peer->SetRange(FMin, FMax);
  ApplyPosition(FPosition);
}

void TTrackBar::SetMax(int value) {
  FMax = value;
  if (FMin > FMax) FMin = FMax;
  if (auto* peer = PeerAs<ITrackBarPeer>()) peer->SetRange(FMin, FMax);
  ApplyPosition(FPosition);
}

void TTrackBar::SetPosition(int value) { ApplyPosition(value); }

void TTrackBar::ApplyPosition(int value) {
  value = std::clamp(value, FMin, FMax);
  if (value == FPosition) return;
  FPosition = value;
  if (auto* peer = PeerAs<ITrackBarPeer>()) peer->SetPosition(value);
  if (OnChange) OnChange(this);
}

void TTrackBar::SetFrequency(int value) {
  FFrequency = value;
  if (auto* peer = PeerAs<ITrackBarPeer>()) peer->SetFrequency(value);
}

void TTrackBar::UserMovedTo(int position) {
  Application->Dispatch([this, position] { ApplyPosition(position); });
}

std::unique_ptr<IControlPeer> TTrackBar::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<ITrackBarPeer>(*this, parent);
}

void TTrackBar::ReplayProperties() {
  TControl::ReplayProperties();
  auto* peer = PeerAs<ITrackBarPeer>();
  peer->SetRange(FMin, FMax);
  peer->SetPosition(FPosition);
  peer->SetFrequency(FFrequency);
}
