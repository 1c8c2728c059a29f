// The widget set: a factory of peers per kind, the message loop and the application-wide services
// (message boxes, the cursor, pop-up menus, the notification area).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "gfx/Ico.h"
#include "platform/MessageWindow.h"
#include "ui/Peers.h"

class TComponent;

enum class TCursor { Default, HourGlass, Arrow };

// One row of a pop-up menu as the widget set shows it.
struct TMenuEntry {
  std::string Caption;  // "&" marks the accelerator
  bool Separator = false;
  bool Checked = false;
  bool Default = false;
  bool Enabled = true;
};

// An icon in the desktop's notification area, as Shell_NotifyIcon takes it. The desktop reports the
// mouse on the icon by sending CallbackMessage to Window, wParam the icon's Id and lParam one of the
// mouse messages below.
enum class TNotifyIconOp { Add, Modify, Delete };
struct TNotifyIconData {
  platform::IMessageWindow* Window = nullptr;
  uintptr_t Id = 0;
  uint32_t CallbackMessage = 0;
  const gfx::TIconImage* Icon = nullptr;  // 16 × 16; null shows an empty slot
  std::string Tip;                        // empty: no tooltip
};

// The widget set: a factory of peers per kind, the message loop and the application-wide services.
// A kind the set registers no factory for gets no peer: its controls stay complete headless
// controls (the test widget set registers none at all).
class TCustomWidgetSet {
public:
  virtual ~TCustomWidgetSet() = default;

  // The peer of the given kind (its interface) for a component, made in the parent's peer.
  template <class Peer>
  std::unique_ptr<Peer> Create(TComponent& component, IControlPeer* parent) {
    const auto factory = FFactories.find(typeid(Peer));
    if (factory == FFactories.end()) return nullptr;
    std::unique_ptr<IPeer> peer = factory->second(component, parent);
    return std::unique_ptr<Peer>(dynamic_cast<Peer*>(peer.release()));
  }

  virtual std::unique_ptr<platform::IMessageWindow> CreateMessageWindow(platform::TWindowProc proc) = 0;
  // Waits for the next message and dispatches it.
  virtual void HandleMessage() = 0;
  // Dispatches every pending message and returns.
  virtual void ProcessMessages() = 0;
  // Modal message box; flags and result use the Windows MB_ / ID numbers.
  virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  virtual TRect DesktopRect() = 0;
  // Shows a pop-up menu at a screen point, with the program brought to the foreground so that a click
  // elsewhere closes it; answers the index of the chosen entry, or -1.
  virtual int PopupMenu(const std::vector<TMenuEntry>& entries, TPoint at) = 0;

  // The notification area: false when the desktop refuses (a modify or delete of an icon it does not
  // have, an add of one it has).
  virtual bool NotifyIcon(TNotifyIconOp op, const TNotifyIconData& data) = 0;
  // Whether the desktop has a notification area at all.
  virtual bool NotifyAreaAvailable() = 0;
  // The message the desktop broadcasts to top-level windows when its taskbar was re-created; 0 where
  // the toolkit restores its icons itself.
  virtual uint32_t TaskbarCreatedMessage() = 0;
  // The pointer on the screen, the modifier keys held now (ShiftState bits), the double-click time.
  virtual TPoint CursorPos() = 0;
  virtual unsigned KeyboardShiftState() = 0;
  virtual uint32_t DoubleClickTime() = 0;

protected:
  using TFactory = std::function<std::unique_ptr<IPeer>(TComponent& component, IControlPeer* parent)>;
  // Makes peers of kind Peer with factory.
  template <class Peer>
  void Register(TFactory factory) {
    FFactories[typeid(Peer)] = std::move(factory);
  }

private:
  std::unordered_map<std::type_index, TFactory> FFactories;
};
