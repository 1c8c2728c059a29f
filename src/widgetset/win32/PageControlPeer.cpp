// Tabbed pages: a native tab control (WC_TABCONTROL) whose sheets are container windows inside it,
// placed in its display area (TabCtrl_AdjustRect) and shown by the page control; a tab the user
// chooses (TCN_SELCHANGE) goes to the page control, which decides.
#include "platform/win32/Utf16.h"
#include "ui/ComCtrls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

using platform::win32::Wide;

class TPageControlPeer : public TWindowPeer, public IPageControlPeer {
public:
  TPageControlPeer(IPeerHost& widgets, TPageControl& control, HWND parent) : TWindowPeer(widgets, control), FPages(control) {
    Create(WS_EX_CONTROLPARENT, WC_TABCONTROLW, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, parent);
  }

  void SetTabIndex(int index) override { TabCtrl_SetCurSel(FHandle, index); }

  bool Notify(const NMHDR& header, LRESULT& result) override {
    if (header.code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    FPages.UserSelected(TabCtrl_GetCurSel(FHandle));
    result = 0;
    return true;
  }

  // A new page's tab, at the end.
  void AddTab() {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"");
    TabCtrl_InsertItem(FHandle, TabCtrl_GetItemCount(FHandle), &item);
  }

  void SetTabText(int index, const std::string& text) {
    std::wstring wide = Wide(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    TabCtrl_SetItem(FHandle, index, &item);
  }

  // The area below the tabs, in the tab control's client coordinates.
  RECT DisplayArea() const {
    RECT area;
    GetClientRect(FHandle, &area);
    TabCtrl_AdjustRect(FHandle, FALSE, &area);
    return area;
  }

private:
  TPageControl& FPages;
};

class TTabSheetPeer : public TContainerPeer, public ITabSheetPeer {
public:
  TTabSheetPeer(IPeerHost& widgets, TTabSheet& sheet, TPageControlPeer* pages)
      : TContainerPeer(widgets, sheet, pages ? pages->Handle() : nullptr, false), FSheet(sheet), FPages(pages) {
    if (FPages) FPages->AddTab();
  }

  // The page fills the tab control's display area, whatever the framework's nominal bounds.
  void SetBounds(const TRect&) override {
    if (!FPages) return;
    const RECT area = FPages->DisplayArea();
    SetWindowPos(FHandle, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void SetText(const std::string& text) override {
    if (FPages) FPages->SetTabText(FSheet.PageIndex(), text);
  }

private:
  TTabSheet& FSheet;
  TPageControlPeer* FPages;
};

}  // namespace

std::unique_ptr<IPeer> MakePageControlPeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TPageControlPeer>(widgets, static_cast<TPageControl&>(control), ParentHandle(parent));
}

std::unique_ptr<IPeer> MakeTabSheetPeer(IPeerHost& widgets, TComponent& sheet, IControlPeer* parent) {
  return std::make_unique<TTabSheetPeer>(widgets, static_cast<TTabSheet&>(sheet), dynamic_cast<TPageControlPeer*>(parent));
}

}  // namespace widgetset::win32
