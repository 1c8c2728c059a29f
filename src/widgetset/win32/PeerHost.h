// What the native peers need of their widget set: the module their windows belong to, the fonts and
// brushes it keeps, the cursor it overrides with, hidden message windows and the message that
// announces a new taskbar. The peers see this and not the set, which makes them.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/MessageWindow.h"
#include "gfx/Colors.h"

// The handle types, declared as windows.h declares them, so the program's entry needs no windows.h.
struct HINSTANCE__;
struct HBRUSH__;
struct HICON__;

namespace widgetset::win32 {

class TFontRaster;

class IPeerHost {
public:
  virtual ~IPeerHost() = default;
  virtual HINSTANCE__* Instance() const = 0;
  virtual TFontRaster& Fonts() = 0;
  // A brush of the colour, kept by the set; system colours give the system's own brushes.
  virtual HBRUSH__* Brush(TColor color) = 0;
  // Null while the cursor is the default one.
  virtual HICON__* OverrideCursor() const = 0;
  virtual std::unique_ptr<platform::IMessageWindow> CreateMessageWindow(platform::TWindowProc proc) = 0;
  // RegisterWindowMessageW("TaskbarCreated").
  virtual uint32_t TaskbarCreatedMessage() = 0;
};

}  // namespace widgetset::win32
