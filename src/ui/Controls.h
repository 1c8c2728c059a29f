// Controls: bounds, visibility, enabled state, caption, font and colour held by the control, pushed to
// a native peer when there is one. A control without a peer is complete, which is what tests use.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "gfx/Canvas.h"
#include "ui/Classes.h"
#include "ui/Peers.h"

class TWinControl;

enum class TAlign { None, Top, Bottom, Left, Right, Client, Custom };

class TControl : public TComponent {
  friend class TWinControl;

public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  void SetParent(TWinControl* parent);

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
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);

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

  TNotifyEvent OnClick;

  // Native input, from the peer. Runs through the application's dispatch point.
  void UserClicked();

  // Creates the native peer (and those of the children) when the parent has one.
  virtual void CreatePeer(IWidgetSet& widgets, IControlPeer& parent) = 0;
  IControlPeer* Peer() const { return FPeer.get(); }
  void DestroyPeer();

protected:
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
};

class TWinControl : public TControl {
public:
  using TControl::TControl;
  ~TWinControl() override;

  const std::vector<TControl*>& Controls() const { return FControls; }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // Places the aligned children (the bottom-aligned status bar) within the client area.
  void AlignControls();
  virtual int ClientWidth() const { return Width(); }
  virtual int ClientHeight() const { return Height(); }

  void CreatePeer(IWidgetSet& widgets, IControlPeer& parent) override;

protected:
  // Creates only this control's own peer; CreatePeer then creates the children's.
  virtual std::unique_ptr<IControlPeer> MakePeer(IWidgetSet& widgets, IControlPeer& parent) = 0;
  void CreateChildPeers(IWidgetSet& widgets);
  void FontChanged() override;
  void ColorChanged() override;
  void BoundsChanged() override;

private:
  std::vector<TControl*> FControls;
};

// A control without a window of its own: it draws into an off-screen surface that its peer shows.
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* owner);

  const gfx::Bitmap& Surface() const { return FSurface; }
  // Paints now and shows the result.
  void Repaint();
  void CreatePeer(IWidgetSet& widgets, IControlPeer& parent) override;

protected:
  virtual void Paint() = 0;
  gfx::Canvas& Canvas() { return FCanvas; }
  void BoundsChanged() override;
  void Loaded() override;

private:
  gfx::Bitmap FSurface;
  gfx::Canvas FCanvas{FSurface};
};
