// Status bar with panels, the slider, and tabbed pages.
#pragma once
#include <vector>

#include "ui/Controls.h"

class TStatusBar : public TWinControl {
public:
  explicit TStatusBar(TComponent* owner);
  const std::vector<TStatusPanelSpec>& Panels() const { return FPanels; }
  void SetPanels(const std::vector<TStatusPanelSpec>& panels);
  void SetPanelText(size_t index, const std::string& text);
  // Whether other controls may be placed on the bar.
  bool AcceptsControls() const { return FAcceptsControls; }

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;
  bool FAcceptsControls = false;

private:
  std::vector<TStatusPanelSpec> FPanels;
};

// A slider. Its change notification is raised on every position change, whether the user or the
// program made it, including when a new range pulls the position in.
class TTrackBar : public TControl {
public:
  explicit TTrackBar(TComponent* owner);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  int Frequency() const { return FFrequency; }
  void SetMin(int value);
  void SetMax(int value);
  void SetPosition(int value);
  void SetFrequency(int value);
  TNotifyEvent OnChange;

  // Native input: the user moved the thumb.
  void UserMovedTo(int position);

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;

private:
  void ApplyPosition(int value);
  int FMin = 0;
  int FMax = 10;
  int FPosition = 0;
  int FFrequency = 1;
};

class TPageControl;

// One page of a page control; its caption is its tab's text. Only the active page is visible.
class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* owner);
  TPageControl* PageControl() const;
  // Makes the sheet the last page of the page control (its parent).
  void SetPageControl(TPageControl* pageControl);
  int PageIndex() const;

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;
};

// Tabbed pages: the sheets it holds, in order, one of them active (the first unless set). The sheets
// fill its display area below the tabs.
class TPageControl : public TWinControl {
public:
  explicit TPageControl(TComponent* owner);
  int PageCount() const;
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* page);
  TNotifyEvent OnChange;

  // Native input: the user chose the tab of page index.
  void UserSelected(int index);
  // Where the sheets lie: the client area less the tabs and the frame.
  TRect DisplayRect() const;

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;
  void BoundsChanged() override;
  void Loaded() override;

private:
  friend class TTabSheet;
  void PageAdded(TTabSheet* page);
  TTabSheet* FActivePage = nullptr;
};
