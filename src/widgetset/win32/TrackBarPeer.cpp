// Sliders as trackbars; the notifications a pushed value causes are not taken for the user's.
#include "ui/ComCtrls.h"
#include "widgetset/win32/WindowPeer.h"

namespace widgetset::win32 {

namespace {

class TTrackBarPeer : public TWindowPeer, public ITrackBarPeer {
public:
  TTrackBarPeer(IPeerHost& widgets, TTrackBar& control, HWND parent) : TWindowPeer(widgets, control), FTrackBar(control) {
    Create(0, TRACKBAR_CLASSW, WS_CHILD | WS_CLIPSIBLINGS | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, parent);
  }

  void SetRange(int min, int max) override {
    FPushing = true;
    SendMessageW(FHandle, TBM_SETRANGEMIN, FALSE, min);
    SendMessageW(FHandle, TBM_SETRANGEMAX, TRUE, max);
    FPushing = false;
  }

  void SetPosition(int position) override {
    FPushing = true;
    SendMessageW(FHandle, TBM_SETPOS, TRUE, position);
    FPushing = false;
  }

  void SetFrequency(int frequency) override { SendMessageW(FHandle, TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0); }

  void Scrolled() override {
    if (!FPushing) FTrackBar.UserMovedTo(static_cast<int>(SendMessageW(FHandle, TBM_GETPOS, 0, 0)));
  }

private:
  TTrackBar& FTrackBar;
  bool FPushing = false;
};

}  // namespace

std::unique_ptr<IPeer> MakeTrackBarPeer(IPeerHost& widgets, TComponent& control, IControlPeer* parent) {
  return std::make_unique<TTrackBarPeer>(widgets, static_cast<TTrackBar&>(control), ParentHandle(parent));
}

}  // namespace widgetset::win32
