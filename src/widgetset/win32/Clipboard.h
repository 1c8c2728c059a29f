// The clipboard on Windows: OpenClipboard owned by a hidden window of the program's, EmptyClipboard,
// CloseClipboard.
#pragma once
#include <memory>

#include "platform/Clipboard.h"
#include "platform/MessageWindow.h"

namespace widgetset::win32 {

class IPeerHost;

class TClipboard : public platform::IClipboard {
public:
  explicit TClipboard(IPeerHost& widgets);
  bool Open() override;
  void Empty() override;
  void Close() override;

private:
  std::unique_ptr<platform::IMessageWindow> FOwner;
};

}  // namespace widgetset::win32
