// List boxes as LISTBOX controls. A new font makes the list measure its rows again, so the fixed row
// height is set after every font.
#include "platform/win32/Utf16.h"
#include "ui/StdCtrls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

using platform::win32::Wide;

class TListBoxPeer : public TWindowPeer, public IListBoxPeer {
public:
  TListBoxPeer(IPeerHost& widgets, TListBox& control, HWND parent) : TWindowPeer(widgets, control) {
    Create(0, L"LISTBOX", WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, parent);
  }

  void AddItem(const std::string& item) override {
    SendMessageW(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  }
  void Clear() override { SendMessageW(FHandle, LB_RESETCONTENT, 0, 0); }
  void SetItemHeight(int height) override {
    FItemHeight = height;
    SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0));
  }
  void SetBorder(bool border) override { SetStyleBit(GWL_EXSTYLE, WS_EX_CLIENTEDGE, border); }
  void SetFont(const gfx::TFontSpec& font) override {
    TWindowPeer::SetFont(font);
    SetItemHeight(FItemHeight);
  }

private:
  int FItemHeight = 13;
};

}  // namespace

std::unique_ptr<IPeer> MakeListBoxPeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TListBoxPeer>(widgets, static_cast<TListBox&>(control), ParentHandle(parent));
}

}  // namespace widgetset::win32
