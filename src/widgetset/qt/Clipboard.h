// The clipboard on Qt: the desktop's clipboard (not the selection), which Qt always lets the program
// clear.
#pragma once
#include "platform/Clipboard.h"

namespace widgetset::qt {

class TClipboard : public platform::IClipboard {
public:
  bool Open() override { return true; }
  void Empty() override;
  void Close() override {}
};

}  // namespace widgetset::qt
