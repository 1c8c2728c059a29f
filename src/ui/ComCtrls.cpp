// Status bar panels, the slider's range and position rules, and the page control's pages.
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

namespace {
constexpr int TabHeight = 20;  // the tabs' row above the pages, as a classic tab control draws it
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  SetParent(pageControl);
  if (pageControl) pageControl->PageAdded(this);
}

int TTabSheet::PageIndex() const {
  const TPageControl* control = PageControl();
  for (int i = 0; control && i < control->PageCount(); ++i)
    if (control->Pages(i) == this) return i;
  return -1;
}

std::unique_ptr<IControlPeer> TTabSheet::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<ITabSheetPeer>(*this, parent);
}

void TTabSheet::ReplayProperties() {
  TWinControl::ReplayProperties();
  // The page control's peer had no tabs when it was told which is active.
  if (TPageControl* control = PageControl(); control && control->Peer()) control->ReplayProperties();
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {}

int TPageControl::PageCount() const {
  return static_cast<int>(std::count_if(Controls().begin(), Controls().end(),
                                        [](TControl* c) { return dynamic_cast<TTabSheet*>(c) != nullptr; }));
}

TTabSheet* TPageControl::Pages(int index) const {
  for (TControl* c : Controls())
    if (auto* page = dynamic_cast<TTabSheet*>(c); page && index-- == 0) return page;
  return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->PageControl() != this) return;
  FActivePage = page;
  for (int i = 0; i < PageCount(); ++i) Pages(i)->SetVisible(Pages(i) == page);
  if (auto* peer = PeerAs<IPageControlPeer>()) peer->SetTabIndex(page ? page->PageIndex() : -1);
}

void TPageControl::UserSelected(int index) {
  Application->Dispatch([this, index] {
    SetActivePage(Pages(index));
    if (OnChange) OnChange(this);
  });
}

TRect TPageControl::DisplayRect() const { return {4, TabHeight + 4, Width() - 4, Height() - 4}; }

void TPageControl::PageAdded(TTabSheet* page) {
  const TRect r = DisplayRect();
  page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  if (!FActivePage) SetActivePage(page);
  else page->SetVisible(false);
}

void TPageControl::BoundsChanged() {
  TWinControl::BoundsChanged();
  const TRect r = DisplayRect();
  for (int i = 0; i < PageCount(); ++i) Pages(i)->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TPageControl::Loaded() {
  TWinControl::Loaded();
  if (!FActivePage && PageCount() > 0) SetActivePage(Pages(0));
}

std::unique_ptr<IControlPeer> TPageControl::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<IPageControlPeer>(*this, parent);
}

void TPageControl::ReplayProperties() {
  TWinControl::ReplayProperties();
  PeerAs<IPageControlPeer>()->SetTabIndex(FActivePage ? FActivePage->PageIndex() : -1);
}
