// Controls: bounds, visibility, enabled state, caption, font and colour held by the control, pushed to
// a native peer when there is one. A control without a peer is complete, which is what tests use.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Canvas.h"
#include "base/Classes.h"
#include "ui/Peers.h"
#include "ui/WidgetSet.h"

class TControl;
class TWinControl;

// The application as the controls see it: the one dispatch point through which every native event
// enters the program, and the widget set that makes the peers. The application is it while it exists.
class IControlHost {
public:
  virtual void Dispatch(const std::function<void()>& entry) = 0;
  virtual TCustomWidgetSet& WidgetSet() = 0;

protected:
  ~IControlHost() = default;
};
extern IControlHost* ControlHost;

// The window a control lies in, as the control sees it: the focus it takes part in, and the controls
// it must forget when they leave it.
class IFocusHost {
public:
  virtual TControl* ActiveControl() const = 0;
  virtual void SetActiveControl(TControl* control) = 0;
  virtual void FocusChanged(TControl* control) = 0;
  virtual void ControlRemoved(TControl* control) = 0;

protected:
  ~IFocusHost() = default;
};

enum class TAlign { None, Top, Bottom, Left, Right, Client, Custom };

class TControl : public TComponent {
  friend class TWinControl;

public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  void SetParent(TWinControl* parent);
  // The window the control lies in (the control itself when it is one); null while it has none.
  virtual IFocusHost* FocusHost() const;
  // Enter in a window clicks the focused control when it takes Enter, else the window's default one.
  virtual bool TakesReturn() const { return false; }
  virtual bool IsDefault() const { return false; }
  void ClickByReturn() { Click(); }

  int Left() const { return FBounds.Left; }
  int Top() const { return FBounds.Top; }
  int Width() const { return FBounds.Width(); }
  int Height() const { return FBounds.Height(); }
  TRect BoundsRect() const { return FBounds; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
  void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
  TRect ClientRect() const { return {0, 0, Width(), Height()}; }

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign align);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  // Enabled, and so is every container it sits in up to its window: what its peer shows (a control
  // in a disabled group box is greyed and takes no input). Windows pass nothing on.
  bool EffectivelyEnabled() const;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);

  // The font in effect: the parent's while ParentFont is set.
  const gfx::TFontSpec& Font() const;
  void SetFont(const gfx::TFontSpec& font);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);
  // The colour in effect: the parent's while ParentColor is set.
  TColor Color() const;
  void SetColor(TColor color);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);

  // Keyboard focus. A control takes part in the tab order while TabStop is set; TabOrder is its
  // place among its siblings (creation order unless set). Focusable kinds set TabStop themselves.
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool value) { FTabStop = value; }
  int TabOrder() const;
  void SetTabOrder(int order);
  // Visible and enabled, itself and every parent up to its window, and a tab stop.
  bool CanFocus() const;
  // Gives the control the focus in its window.
  void SetFocus();
  bool Focused() const;

  TNotifyEvent OnClick;

  // Native input, from the peer. Runs through the application's dispatch point.
  void UserClicked();
  // A left press and release: a click when the release falls inside the control after its press.
  void UserMouseDown(int x, int y);
  void UserMouseUp(int x, int y);
  // The control received the keyboard focus.
  void UserFocused();

  // Creates the native peer (and those of the children) when the parent has one.
  virtual void CreatePeer(TCustomWidgetSet& widgets, IControlPeer* parent);
  IControlPeer* Peer() const { return FPeer.get(); }
  void DestroyPeer();

protected:
  // This control's own peer, made by the widget set for the control's kind.
  virtual std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) = 0;
  virtual void Click();
  // Pushes every property to a newly created peer.
  virtual void ReplayProperties();
  virtual void BoundsChanged() {}
  virtual void CaptionChanged() {}
  virtual void FontChanged();
  virtual void ColorChanged();
  void Loaded() override;

  template <class P>
  P* PeerAs() const { return dynamic_cast<P*>(FPeer.get()); }
  void AttachPeer(std::unique_ptr<IControlPeer> peer);
  // Pushes the effective enabled state to the peer (and, for containers, to their children's).
  virtual void EnabledChanged();

  std::unique_ptr<IControlPeer> FPeer;

private:
  TWinControl* FParent = nullptr;
  TRect FBounds;
  TAlign FAlign = TAlign::None;
  bool FVisible = true;
  bool FEnabled = true;
  std::string FCaption;
  gfx::TFontSpec FFont;
  bool FParentFont = true;
  TColor FColor = clBtnFace;
  bool FParentColor = false;
  bool FTabStop = false;
  bool FMouseDown = false;
};

class TWinControl : public TControl {
public:
  using TControl::TControl;
  ~TWinControl() override;

  const std::vector<TControl*>& Controls() const { return FControls; }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // The children in tab order.
  const std::vector<TControl*>& TabList() const { return FTabList; }
  // Every control under this one that can take the focus, in tab order, depth first.
  void CollectTabStops(std::vector<TControl*>& stops) const;
  // Places the aligned children (the bottom-aligned status bar) within the client area.
  void AlignControls();
  virtual int ClientWidth() const { return Width(); }
  virtual int ClientHeight() const { return Height(); }
  // Whether disabling this container disables what it holds; a window does not.
  virtual bool PassesEnabledOn() const { return true; }

protected:
  void EnabledChanged() override;

public:

  void CreatePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;

protected:
  void CreateChildPeers(TCustomWidgetSet& widgets);
  void FontChanged() override;
  void ColorChanged() override;
  void BoundsChanged() override;

private:
  friend class TControl;
  std::vector<TControl*> FControls;
  std::vector<TControl*> FTabList;
};

// A control without a window of its own: it draws into an off-screen surface that its peer shows.
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* owner);

  const gfx::Bitmap& Surface() const { return FSurface; }
  // Paints now and shows the result.
  void Repaint();

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;
  virtual void Paint() = 0;
  // The picture the peer shows once painted: the surface, unless the control holds a finished one.
  virtual const gfx::Bitmap& Shown() const { return FSurface; }
  // Whether a repaint reaches the screen before Repaint returns (a progress gauge shown while a
  // handler holds the loop), or with the window's next paint (pictures redrawn every tick).
  virtual bool ShownAtOnce() const { return true; }
  gfx::Canvas& Canvas() { return FCanvas; }
  void BoundsChanged() override;
  void Loaded() override;

private:
  gfx::Bitmap FSurface;
  gfx::Canvas FCanvas{FSurface};
};
