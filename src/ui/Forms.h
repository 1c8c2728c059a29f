// Top-level windows and the application: creation in the loading state, showing, closing, modal
// loops, the message loop, message and error boxes, the cursor, and the one dispatch point through
// which every native event and tick enters the program.
#pragma once
#include <functional>
#include <string>

#include "ui/Controls.h"

enum class TFormBorderStyle { None, Single, Sizeable };
enum class TPosition { Designed, ScreenCenter };
enum class TCloseAction { None, Hide, Free, Minimize };

namespace BorderIcon {
constexpr unsigned SystemMenu = 1;
constexpr unsigned Minimize = 2;
constexpr unsigned Maximize = 4;
}  // namespace BorderIcon

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

class TCustomForm : public TWinControl {
public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value) { FBorderStyle = value; }
  unsigned BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(unsigned value) { FBorderIcons = value; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition value) { FPosition = value; }
  const TIconData& Icon() const { return FIcon; }
  void SetIcon(const TIconData& icon);

  void Show();
  void Hide();
  void Close();
  int ShowModal();
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int value) { FModalResult = value; }
  // Paints the window now (the splash is shown before the message loop runs).
  void Repaint();
  bool Active() const { return FActive; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;

  // Native input from the window's peer.
  void UserActivated();
  void UserDeactivated();
  void UserClosed();

  // Creates this window's peer and its children's (the window has no parent peer).
  void CreatePeer(IWidgetSet& widgets, IControlPeer& parent) override;
  void CreateWindowPeer();

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
  std::unique_ptr<IControlPeer> MakePeer(IWidgetSet& widgets, IControlPeer& parent) override;
  void ReplayProperties() override;

private:
  void PlaceAtCentre();
  void Activate();
  TFormBorderStyle FBorderStyle = TFormBorderStyle::Sizeable;
  unsigned FBorderIcons = BorderIcon::SystemMenu | BorderIcon::Minimize | BorderIcon::Maximize;
  TPosition FPosition = TPosition::Designed;
  TIconData FIcon;
  int FModalResult = 0;
  bool FActive = false;
  bool FPlaced = false;
};

class TForm : public TCustomForm {
public:
  using TCustomForm::TCustomForm;
};

class TScreen {
public:
  explicit TScreen(IWidgetSet& widgets) : FWidgets(widgets) {}
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);

private:
  IWidgetSet& FWidgets;
  TCursor FCursor = TCursor::Default;
};

class TApplication : public TComponent {
public:
  explicit TApplication(IWidgetSet& widgets);
  ~TApplication() override;

  IWidgetSet& WidgetSet() { return FWidgets; }
  void Initialize() {}
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }
  const TIconData& Icon() const { return FIcon; }
  void SetIcon(const TIconData& icon) { FIcon = icon; }
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool value) { FShowMainForm = value; }
  TCustomForm* MainForm() const { return FMainForm; }

  // Creates a window owned by the application; the first one becomes the main window.
  template <class T>
  void CreateForm(T*& reference) {
    reference = new T(this);
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
  // The error box: the message, the application title, the error icon, one OK button.
  void HandleException(const std::exception& error);
  // Runs an entry from the host into the program; errors end up in the error box.
  void Dispatch(const std::function<void()>& entry);

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  IWidgetSet& FWidgets;
  std::string FTitle;
  TIconData FIcon;
  bool FShowMainForm = true;
  bool FTerminated = false;
  bool FMinimized = false;
  TCustomForm* FMainForm = nullptr;
};

extern TApplication* Application;
extern TScreen* Screen;
