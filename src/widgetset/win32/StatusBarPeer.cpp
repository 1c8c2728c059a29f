// The native status bar, placed by the framework (not by the bar itself), in the system's status-bar
// font drawn without smoothing like every other text; controls placed on it are child windows drawn
// over its panels.
#include <vector>

#include "platform/win32/Utf16.h"
#include "ui/ComCtrls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

using platform::win32::Wide;

class TStatusBarPeer : public TWindowPeer, public IStatusBarPeer {
public:
  TStatusBarPeer(IPeerHost& widgets, TStatusBar& control, HWND parent) : TWindowPeer(widgets, control) {
    Create(0, STATUSCLASSNAMEW, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CCS_NOPARENTALIGN | CCS_NORESIZE, parent);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    metrics.lfStatusFont.lfQuality = NONANTIALIASED_QUALITY;
    FFont = CreateFontIndirectW(&metrics.lfStatusFont);
    if (FFont) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);
  }

  ~TStatusBarPeer() override {
    // The bar goes first: it must not be left holding a deleted font.
    if (FHandle) {
      HWND window = FHandle;
      Detach();
      DestroyWindow(window);
    }
    if (FFont) DeleteObject(FFont);
  }

  void SetText(const std::string&) override {}
  void SetFont(const gfx::TFontSpec&) override {}

  void SetPanels(const std::vector<TStatusPanelSpec>& panels) override {
    // SB_SETPARTS takes each part's right edge; the last part reaches the end of the bar.
    std::vector<int> edges;
    int right = 0;
    for (const TStatusPanelSpec& panel : panels) edges.push_back(right += panel.Width);
    if (edges.empty()) edges.push_back(0);
    edges.back() = -1;
    SendMessageW(FHandle, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < panels.size(); ++i) {
      const WPARAM part = i | (panels[i].RightToLeft ? SBT_RTLREADING : 0);
      SendMessageW(FHandle, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(Wide(panels[i].Text).c_str()));
    }
  }

private:
  HFONT FFont = nullptr;
};

}  // namespace

std::unique_ptr<IPeer> MakeStatusBarPeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TStatusBarPeer>(widgets, static_cast<TStatusBar&>(control), ParentHandle(parent));
}

}  // namespace widgetset::win32
