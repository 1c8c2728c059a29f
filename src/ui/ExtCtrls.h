// Panel, image and timer.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/MessageWindow.h"
#include "ui/Controls.h"
#include "ui/StdCtrls.h"

class TPanel : public TWinControl {
public:
  explicit TPanel(TComponent* owner);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);

protected:
  std::unique_ptr<IControlPeer> MakePeer(TCustomWidgetSet& widgets, IControlPeer* parent) override;
  void ReplayProperties() override;

private:
  TBorderStyle FBorderStyle = TBorderStyle::None;
};

// A drawing surface: its picture has the control's size, the program draws on Canvas() and then
// calls Changed() to have it shown.
class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* owner);
  const gfx::Bitmap& Picture() const { return FPicture; }
  void SetPicture(const gfx::Bitmap& picture);
  gfx::Canvas& Canvas() { return FCanvas; }
  void Changed() { Repaint(); }

protected:
  void Paint() override;
  const gfx::Bitmap& Shown() const override;
  bool ShownAtOnce() const override { return false; }
  void BoundsChanged() override;

private:
  bool Covers() const;
  gfx::Bitmap FPicture;
  gfx::Canvas FCanvas{FPicture};
};

// Ticks on the user-interface thread through a hidden message window, every Interval ms while Enabled.
class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t value);
  TNotifyEvent OnTimer;

protected:
  void Loaded() override { UpdateTimer(); }

private:
  void UpdateTimer();
  bool FEnabled = true;
  uint32_t FInterval = 1000;
  std::unique_ptr<platform::IMessageWindow> FWindow;
};
