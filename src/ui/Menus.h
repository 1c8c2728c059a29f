// Pop-up menus: items with a caption ("&" marks the accelerator, "-" is a separator), a check mark and
// a default flag; the menu pops up at a screen point, modally, and the chosen item's click runs once
// it has closed.
#pragma once
#include <string>
#include <vector>

#include "base/Classes.h"

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* owner) : TComponent(owner) {}

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  bool IsLine() const { return FCaption == "-"; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool value) { FChecked = value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool value) { FDefault = value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }

  TNotifyEvent OnClick;
  // Runs OnClick, as choosing the item does; nothing for a disabled item.
  void Click();

private:
  std::string FCaption;
  bool FChecked = false;
  bool FDefault = false;
  bool FEnabled = true;
};

class TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent* owner) : TComponent(owner) {}

  // The top-level items, in order; the menu does not own them (their owner does).
  const std::vector<TMenuItem*>& Items() const { return FItems; }
  void Add(TMenuItem* item) { FItems.push_back(item); }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool value) { FAutoPopup = value; }
  // The component the menu was last popped up for.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* component) { FPopupComponent = component; }

  // Shows the menu at the screen point until the user chooses or dismisses; then the chosen item clicks.
  void Popup(int x, int y);

private:
  std::vector<TMenuItem*> FItems;
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
};
