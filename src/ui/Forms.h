// Top-level windows and the application: creation in the loading state, showing, closing, modal
// loops, the message loop, message and error boxes, the cursor, and the one dispatch point through
// which every native event and tick enters the program.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/Controls.h"
#include "ui/WindowsNumbers.h"


enum class TFormBorderStyle { None, Single, Sizeable };
enum class TPosition { Designed, ScreenCenter, MainFormCenter };
enum class TCloseAction { None, Hide, Free, Minimize };
enum class TWindowState { Normal, Minimized };

namespace BorderIcon {
constexpr unsigned SystemMenu = 1;
constexpr unsigned Minimize = 2;
constexpr unsigned Maximize = 4;
}  // namespace BorderIcon

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

// A message of a window, with the Windows numbers, as its peer reports it: WM_SYSCOMMAND, WM_SIZE,
// WM_SHOWWINDOW and the taskbar's re-creation. A hook answers true when it handled the message; the
// window then does nothing more with it and answers Result.
struct TMessage {
  uint32_t Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};
using TWindowHook = std::function<bool(TMessage& message)>;

namespace WindowMessage {
constexpr uint32_t Size = 0x0005;
constexpr uint32_t ShowWindow = 0x0018;
constexpr uint32_t SysCommand = 0x0112;
constexpr uintptr_t SizeMinimized = 1;
constexpr uintptr_t ScMinimize = 0xF020;
constexpr uintptr_t ScRestore = 0xF120;
constexpr intptr_t SwParentClosing = 1;
}  // namespace WindowMessage

// Hooks by their owner, in the order they were set.
class THookList {
public:
  void Set(const void* owner, TWindowHook hook);
  void Remove(const void* owner);
  // Runs the hooks until one handles the message; true when one did.
  bool Run(TMessage& message) const;

private:
  std::vector<std::pair<const void*, TWindowHook>> FHooks;
};

class TCustomForm : public TWinControl, public IFocusHost {
public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }
  // The frame is the native window's: it is chosen before the window is made and fixed afterwards.
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  unsigned BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(unsigned value);
  // Where the window is placed when it is first shown (and again once its frame is known).
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition value) { FPosition = value; }
  const TIconData& Icon() const { return FIcon; }
  void SetIcon(const TIconData& icon);

  // Showing a window the first time places it; OnShow runs before it appears. Hiding deactivates it.
  void SetVisible(bool visible) override;
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Asks OnClose what closing means (hide by default; nothing, minimise or free); closing the main
  // window ends the program. A modal window only sets its ModalResult: its loop does the rest.
  void Close();
  // Frees the window once no handler is running (see TApplication::Dispatch); safe from the window's
  // own handlers, which may still be on the stack, and from inside its modal loop.
  void Release();
  // Shows the window and runs its loop until ModalResult is set; every other window is disabled
  // meanwhile. Answers the result (IdCancel when the window was closed or hidden without one).
  int ShowModal();
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int value) { FModalResult = value; }
  // Paints the window now (the splash is shown before the message loop runs).
  void Repaint();
  bool Active() const { return FActive; }
  // The control that has the keyboard focus in this window (null when none has).
  IFocusHost* FocusHost() const override { return const_cast<TCustomForm*>(this); }
  TControl* ActiveControl() const override { return FActiveControl; }
  void SetActiveControl(TControl* control) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;

  // Native input from the window's peer.
  void UserActivated();
  void UserDeactivated();
  void UserClosed();
  // A key pressed in the window: Tab and Shift+Tab move the focus along the tab order, Enter
  // presses the focused button or else the default button. True when the key was used.
  bool UserKeyDown(TKey key, unsigned shift);
  // The window manager framed the window (or changed its frame): a placed window is placed again.
  void UserFrameChanged();
  // A window message: the application's hooks see it first when this is the main window (it is what
  // carries the program's taskbar button), then this window's hooks. True when a hook handled it.
  bool UserWindowMessage(TMessage& message);

  // Hooks on this window's messages, one per owner (a component replacing the window procedure).
  void HookWindow(const void* owner, TWindowHook hook) { FHooks.Set(owner, std::move(hook)); }
  void UnhookWindow(const void* owner) { FHooks.Remove(owner); }
  // Brings the window to the foreground.
  void BringToFront();
  // Minimises or restores the window (a hidden window stays hidden).
  void SetWindowState(TWindowState state);
  // A disabled window (behind a modal one) takes no input but shows its controls as they are.
  bool PassesEnabledOn() const override { return false; }

  // Creates this window's peer and its children's (the window has no parent peer).
  void CreateWindowPeer();

  // From the controls: one of them took the focus, or is leaving the window.
  void FocusChanged(TControl* control) override;
  void ControlRemoved(TControl* control) override;

protected:
  // Creates a control of the window's layout: owner this window, the given parent and bounds.
  template <class T>
  T* Add(const char* name, TWinControl* parent, int left, int top, int width, int height,
         const std::string& caption = "") {
    T* control = new T(this);
    control->SetName(name);
    control->SetBounds(left, top, width, height);
    control->SetCaption(caption);
    control->SetParent(parent);
    return control;
  }
  // Ends construction: loading state off, Loaded everywhere, native peers, then OnCreate. Every
  // concrete window calls it last in its constructor.
  void EndCreate();
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;
  // Runs OnDestroy while the derived window still exists.
  void BeforeDestruction() override;

private:
  void Place();
  void Activate();
  // Moves the focus to the next (or previous) tab stop after the active control.
  void SelectNext(bool forward);
  // The visible, enabled default button, if there is one.
  TControl* DefaultButton() const;
  // OnClose at the end of a modal loop; false when the window refuses to close.
  bool CloseModal();
  bool FModal = false;
  TFormBorderStyle FBorderStyle = TFormBorderStyle::Sizeable;
  unsigned FBorderIcons = BorderIcon::SystemMenu | BorderIcon::Minimize | BorderIcon::Maximize;
  TPosition FPosition = TPosition::Designed;
  TIconData FIcon;
  int FModalResult = 0;
  bool FActive = false;
  bool FPlaced = false;
  TControl* FActiveControl = nullptr;
  THookList FHooks;
};

class TForm : public TCustomForm {
public:
  using TCustomForm::TCustomForm;
};

class TScreen {
public:
  explicit TScreen(TCustomWidgetSet& widgets) : FWidgets(widgets) {}
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);

private:
  TCustomWidgetSet& FWidgets;
  TCursor FCursor = TCursor::Default;
};

class TApplication : public TComponent, public IControlHost {
public:
  explicit TApplication(TCustomWidgetSet& widgets);
  ~TApplication() override;

  TCustomWidgetSet& WidgetSet() override { return FWidgets; }
  void Initialize() {}
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }
  const TIconData& Icon() const { return FIcon; }
  void SetIcon(const TIconData& icon) { FIcon = icon; }
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool value) { FShowMainForm = value; }
  TCustomForm* MainForm() const { return FMainForm; }

  // Creates a window owned by the application; the first one becomes the main window, already while
  // its creation handler runs (a message box there pumps the loop, and a timer may ask for it).
  template <class T>
  void CreateForm(T*& reference) {
    FCreatingMainForm = !FMainForm;
    reference = new T(this);
    FCreatingMainForm = false;
    if (!FMainForm) FMainForm = reference;
  }

  void Run();
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  void HandleMessage() { FWidgets.HandleMessage(); }
  void ProcessMessages() { FWidgets.ProcessMessages(); }

  bool Minimized() const { return FMinimized; }
  void Minimize();
  void Restore();

  // A modal message box; an empty caption means the application title.
  int MessageBox(const std::string& text, const std::string& caption = "", uint32_t flags = MbOk);
  // The error box: the message (with a full stop appended when its last character sorts after the
  // full stop), the application title, the error icon, one OK button.
  void HandleException(const std::exception& error);
  // Runs an entry from the host into the program; errors end up in the error box. Entries nest when a
  // handler pumps messages; DispatchDepth counts them.
  void Dispatch(const std::function<void()>& entry) override;
  int DispatchDepth() const { return FDispatchDepth; }
  // Frees a window later, through a posted message, at a moment when no handler runs (depth 0).
  void ReleaseLater(TCustomForm* form);
  // Hooks that see every message of the application's own window (the main window here) before it
  // is handled; they never claim one.
  void HookMainWindow(const void* owner, TWindowHook hook) { FMainWindowHooks.Set(owner, std::move(hook)); }
  void UnhookMainWindow(const void* owner) { FMainWindowHooks.Remove(owner); }

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TCustomForm;
  void WindowProc(uint32_t msg);
  void FreeReleased();
  void CancelRelease(TCustomForm* form);

  TCustomWidgetSet& FWidgets;
  std::unique_ptr<platform::IMessageWindow> FWindow;
  std::vector<TCustomForm*> FReleased;
  bool FReleasePosted = false;
  bool FCreatingMainForm = false;
  int FDispatchDepth = 0;
  std::string FTitle;
  TIconData FIcon;
  bool FShowMainForm = true;
  bool FTerminated = false;
  bool FMinimized = false;
  TCustomForm* FMainForm = nullptr;
  THookList FMainWindowHooks;
};

extern TApplication* Application;
extern TScreen* Screen;
