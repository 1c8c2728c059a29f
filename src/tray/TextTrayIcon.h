// A notification icon whose picture is drawn: a short text in a chosen font, rendered into 16 × 16
// pixels (centred in a 15-pixel box) and laid over a background icon, with one key colour
// transparent. Every change of the text or of a drawing setting regenerates the picture at once.
#pragma once
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/FontRaster.h"
#include "tray/ShellTrayIcon.h"

// Three layout numbers of the text: its offsets and the extra distance between lines.
class TOffsetOptions : public TObject {
public:
  int OffsetX() const { return FOffsetX; }
  void SetOffsetX(int value) { Store(FOffsetX, value); }
  int OffsetY() const { return FOffsetY; }
  void SetOffsetY(int value) { Store(FOffsetY, value); }
  int LineDistance() const { return FLineDistance; }
  void SetLineDistance(int value) { Store(FLineDistance, value); }
  // Copies the three numbers (no change notification).
  void Assign(const TOffsetOptions& other);

  TNotifyEvent OnChange;

protected:
  virtual void NotifyChange();

private:
  void Store(int& field, int value);
  int FOffsetX = 0, FOffsetY = 0, FLineDistance = 0;
};

class TTextTrayIcon : public TShellTrayIcon {
public:
  explicit TTextTrayIcon(TComponent* owner);

  // Changing the background icon in place regenerates nothing; only the setter does.
  TIcon& BackgroundIcon() { return FBackgroundIcon; }
  void SetBackgroundIcon(const TIcon& icon);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);
  const gfx::TFontSpec& Font() const { return FFont; }
  void SetFont(const gfx::TFontSpec& font);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  bool Border() const { return FBorder; }
  void SetBorder(bool border);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor color);
  const TOffsetOptions& Options() const { return FOptions; }
  TOffsetOptions& Options() { return FOptions; }
  void SetOptions(const TOffsetOptions& options);

  // The transparent colour of the last rendering, and the rendering itself.
  TColor KeyColor() const { return FKeyColor; }
  const gfx::Bitmap& TextBitmap() const { return FTextBitmap; }

  // The lines of text: split at carriage returns only (a line feed stays with the next line).
  static std::vector<std::string> SplitLines(const std::string& text);

protected:
  // Draws Text into TextBitmap.
  virtual void RenderText();

private:
  void RebuildIcon();
  // The colour that stands for transparency when the text's own colour must stay visible.
  TColor ComplementaryKey(TColor color) const;
  void ComposeOnBackground(const gfx::Bitmap& text, TIcon& icon, TColor color);

  TIcon FBackgroundIcon;
  std::string FText;
  gfx::TFontSpec FFont;
  TColor FColor = clBtnFace;
  TColor FKeyColor = clBtnFace;
  bool FBorder = false;
  TColor FBorderColor = clBlack;
  gfx::Bitmap FTextBitmap;
  TOffsetOptions FOptions;
};

// A 16 × 16 masked image of the bitmap, its pixels of the transparent colour see-through, made the
// icon's only image.
void MakeIconFromBitmap(const gfx::Bitmap& bitmap, TIcon& icon, TColor transparent);
