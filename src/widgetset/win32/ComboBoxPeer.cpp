// Drop-down lists: CBN_SELCHANGE is the user's choice (CB_SETCURSEL from the program sends none).
#include <algorithm>

#include "platform/win32/Utf16.h"
#include "ui/StdCtrls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

using platform::win32::Wide;

class TComboBoxPeer : public TWindowPeer, public IComboBoxPeer {
public:
  TComboBoxPeer(IPeerHost& widgets, TComboBox& control, HWND parent) : TWindowPeer(widgets, control), FComboBox(control) {
    Create(0, L"COMBOBOX", WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_DROPDOWNLIST, parent);
  }

  void SetBounds(const TRect& r) override {
    // A drop-down list's window height includes the list it drops; the closed box keeps the font's height.
    const int items = static_cast<int>(std::clamp<size_t>(FItemCount, 1, 8));
    const int height = std::max(r.Height(), 0);
    SetWindowPos(FHandle, nullptr, r.Left, r.Top, std::max(r.Width(), 0), height + items * height + 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void SetItems(const std::vector<std::string>& items) override {
    SendMessageW(FHandle, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    FItemCount = items.size();
    SetBounds(FControl.BoundsRect());
  }

  void SetItemIndex(int index) override { SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

  void Notified(WORD code) override {
    if (code == CBN_SELCHANGE) FComboBox.UserSelected(static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0)));
  }

  HBRUSH ControlColor(HDC) override { return nullptr; }

private:
  TComboBox& FComboBox;
  size_t FItemCount = 0;
};

}  // namespace

std::unique_ptr<IPeer> MakeComboBoxPeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TComboBoxPeer>(widgets, static_cast<TComboBox&>(control), ParentHandle(parent));
}

}  // namespace widgetset::win32
