// The clipboard, as the trims empty it: opened by the application, emptied, closed.
#pragma once

namespace platform {

class IClipboard {
public:
  virtual ~IClipboard() = default;
  // OpenClipboard with the application's window as owner; false when another program holds it.
  virtual bool Open() = 0;
  virtual void Empty() = 0;
  virtual void Close() = 0;
};

}  // namespace platform
