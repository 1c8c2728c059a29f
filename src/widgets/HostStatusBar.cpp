// The status bar that accepts child controls.
#include "widgets/HostStatusBar.h"

TMyStatusBar::TMyStatusBar(TComponent* owner) : TStatusBar(owner) { FAcceptsControls = true; }
