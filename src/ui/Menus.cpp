// Pop-up menus through the widget set's modal menu (see Menus.h).
#include "ui/Menus.h"

#include "ui/Forms.h"

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(this);
}

void TPopupMenu::Popup(int x, int y) {
  std::vector<TMenuEntry> entries;
  for (const TMenuItem* item : FItems)
    entries.push_back({item->Caption(), item->IsLine(), item->Checked(), item->Default(), item->Enabled()});
  const int chosen = Application->WidgetSet().PopupMenu(entries, {x, y});
  if (chosen >= 0 && chosen < static_cast<int>(FItems.size())) FItems[static_cast<size_t>(chosen)]->Click();
}
