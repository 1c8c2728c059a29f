// The standard controls' own properties.
#include "ui/StdCtrls.h"


TLabel::TLabel(TComponent* owner) : TControl(owner) { SetParentColor(true); }

void TLabel::SetAutoSize(bool value) {
  FAutoSize = value;
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (!FAutoSize || Loading()) return;
  auto& fonts = gfx::CurrentFontRaster();
  SetBounds(Left(), Top(), fonts.TextWidth(Font(), Caption()), fonts.TextHeight(Font()));
}

void TLabel::FontChanged() {
  TControl::FontChanged();
  AdjustSize();
}

void TLabel::Loaded() {
  TControl::Loaded();
  AdjustSize();
}

std::unique_ptr<IControlPeer> TLabel::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<ILabelPeer>(*this, parent);
}

TEdit::TEdit(TComponent* owner) : TControl(owner) {
  SetColor(clWindow);
  SetTabStop(true);
}

void TEdit::SetReadOnly(bool value) {
  FReadOnly = value;
  if (auto* peer = PeerAs<IEditPeer>()) peer->SetReadOnly(value);
}

void TEdit::SetBorderStyle(TBorderStyle value) {
  FBorderStyle = value;
  if (auto* peer = PeerAs<IEditPeer>()) peer->SetBorder(value == TBorderStyle::Single);
}

std::unique_ptr<IControlPeer> TEdit::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<IEditPeer>(*this, parent);
}

void TEdit::ReplayProperties() {
  TControl::ReplayProperties();
  auto* peer = PeerAs<IEditPeer>();
  peer->SetReadOnly(FReadOnly);
  peer->SetBorder(FBorderStyle == TBorderStyle::Single);
}

TButton::TButton(TComponent* owner) : TControl(owner) { SetTabStop(true); }

void TButton::Click() { TControl::Click(); }

void TButton::SetDefault(bool value) {
  FDefault = value;
  if (auto* peer = PeerAs<IButtonPeer>()) peer->SetDefault(value);
}

std::unique_ptr<IControlPeer> TButton::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<IButtonPeer>(*this, parent);
}

void TButton::ReplayProperties() {
  TControl::ReplayProperties();
  PeerAs<IButtonPeer>()->SetDefault(FDefault);
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) { SetParentColor(true); }

std::unique_ptr<IControlPeer> TGroupBox::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<IGroupBoxPeer>(*this, parent);
}

TCheckBox::TCheckBox(TComponent* owner) : TControl(owner) {
  SetParentColor(true);
  SetTabStop(true);
}

void TCheckBox::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  if (auto* peer = PeerAs<ICheckBoxPeer>()) peer->SetChecked(value);
  if (!Loading()) Click();
}

void TCheckBox::UserToggled(bool checked) {
  ControlHost->Dispatch([this, checked] { SetChecked(checked); });
}

std::unique_ptr<IControlPeer> TCheckBox::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<ICheckBoxPeer>(*this, parent);
}

void TCheckBox::ReplayProperties() {
  TControl::ReplayProperties();
  PeerAs<ICheckBoxPeer>()->SetChecked(FChecked);
}

TComboBox::TComboBox(TComponent* owner) : TControl(owner) {
  SetColor(clWindow);
  SetTabStop(true);
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  FItems = items;
  if (FItemIndex >= static_cast<int>(FItems.size())) FItemIndex = -1;
  if (auto* peer = PeerAs<IComboBoxPeer>()) {
    peer->SetItems(FItems);
    peer->SetItemIndex(FItemIndex);
  }
}

void TComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(FItems.size())) index = -1;
  if (index == FItemIndex) return;
  FItemIndex = index;
  if (auto* peer = PeerAs<IComboBoxPeer>()) peer->SetItemIndex(index);
}

void TComboBox::UserSelected(int index) {
  ControlHost->Dispatch([this, index] {
    SetItemIndex(index);
    if (OnChange) OnChange(this);
  });
}

std::unique_ptr<IControlPeer> TComboBox::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<IComboBoxPeer>(*this, parent);
}

void TComboBox::ReplayProperties() {
  TControl::ReplayProperties();
  auto* peer = PeerAs<IComboBoxPeer>();
  peer->SetItems(FItems);
  peer->SetItemIndex(FItemIndex);
}

TListBox::TListBox(TComponent* owner) : TControl(owner) {
  SetColor(clWindow);
  SetTabStop(true);
}

void TListBox::AddItem(const std::string& item) {
  FItems.push_back(item);
  if (auto* peer = PeerAs<IListBoxPeer>()) peer->AddItem(item);
}

void TListBox::Clear() {
  FItems.clear();
  if (auto* peer = PeerAs<IListBoxPeer>()) peer->Clear();
}

void TListBox::SetItemHeight(int value) {
  if (value <= 0 || value == FItemHeight) return;
  FItemHeight = value;
  if (auto* peer = PeerAs<IListBoxPeer>()) peer->SetItemHeight(value);
}

void TListBox::SetBorderStyle(TBorderStyle value) {
  FBorderStyle = value;
  if (auto* peer = PeerAs<IListBoxPeer>()) peer->SetBorder(value == TBorderStyle::Single);
}

std::unique_ptr<IControlPeer> TListBox::MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) {
  return widgets.Create<IListBoxPeer>(*this, parent);
}

void TListBox::ReplayProperties() {
  TControl::ReplayProperties();
  auto* peer = PeerAs<IListBoxPeer>();
  peer->SetBorder(FBorderStyle == TBorderStyle::Single);
  peer->SetItemHeight(FItemHeight);
  peer->Clear();
  for (const std::string& item : FItems) peer->AddItem(item);
}
