// TMyStatusBar: the ordinary status bar, except that other controls may be placed on it (the trim
// progress gauge is), drawn over its panels at their own bounds.
#pragma once
#include "ui/ComCtrls.h"

class TMyStatusBar : public TStatusBar {
public:
  explicit TMyStatusBar(TComponent* owner);
};
