// Status bar with panels, and the slider.
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
