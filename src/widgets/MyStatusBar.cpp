// The status bar that accepts child controls.
#include "widgets/MyStatusBar.h"

TMyStatusBar::TMyStatusBar(TComponent* owner) : TStatusBar(owner) { FAcceptsControls = true; }
