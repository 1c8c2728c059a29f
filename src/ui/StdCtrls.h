// The standard controls: label, read-only edit, button, group box, check box, drop-down list, list box.
#pragma once
#include <string>
#include <vector>

#include "ui/Controls.h"

class TLabel : public TControl {
public:
  explicit TLabel(TComponent* owner);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void CaptionChanged() override { AdjustSize(); }
  void FontChanged() override;
  void Loaded() override;

private:
  void AdjustSize();
  bool FAutoSize = true;
};

enum class TBorderStyle { None, Single };

class TEdit : public TControl {
public:
  explicit TEdit(TComponent* owner);
  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;

private:
  bool FReadOnly = false;
  TBorderStyle FBorderStyle = TBorderStyle::Single;
};

class TButton : public TControl {
public:
  explicit TButton(TComponent* owner);
  // The button Enter presses when no other button has the focus.
  bool Default() const { return FDefault; }
  bool TakesReturn() const override { return true; }
  bool IsDefault() const override { return FDefault; }
  void SetDefault(bool value);
  // Presses the button: runs OnClick.
  void Click() override;

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;

private:
  bool FDefault = false;
};

class TGroupBox : public TWinControl {
public:
  explicit TGroupBox(TComponent* owner);

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
};

class TCheckBox : public TControl {
public:
  explicit TCheckBox(TComponent* owner);
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  // Native input: the user toggled the box.
  void UserToggled(bool checked);

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;

private:
  bool FChecked = false;
};

// A drop-down list: the user picks one of the items, nothing can be typed.
class TComboBox : public TControl {
public:
  explicit TComboBox(TComponent* owner);
  const std::vector<std::string>& Items() const { return FItems; }
  void SetItems(const std::vector<std::string>& items);
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int index);
  TNotifyEvent OnChange;
  void UserSelected(int index);

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;

private:
  std::vector<std::string> FItems;
  int FItemIndex = -1;
};

// A list of text rows of one fixed height, the rows the program added in their order.
class TListBox : public TControl {
public:
  explicit TListBox(TComponent* owner);
  const std::vector<std::string>& Items() const { return FItems; }
  void AddItem(const std::string& item);
  void Clear();
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;

private:
  std::vector<std::string> FItems;
  int FItemHeight = 13;
  TBorderStyle FBorderStyle = TBorderStyle::Single;
};
