// Image lists of 16 × 16 masked images: icons scaled into them, bitmaps added with a transparent
// colour, an image copied out as an icon or drawn over a bitmap.
#pragma once
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Colors.h"
#include "base/Classes.h"
#include "ui/Graphics.h"

class TCustomImageList : public TComponent {
public:
  explicit TCustomImageList(TComponent* owner, int width = 16, int height = 16);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Count() const { return static_cast<int>(FImages.size()); }
  // Adds the icon's image nearest the list's size, scaled to it; answers its index (-1 for an empty icon).
  int AddIcon(const TIcon& icon);
  // Adds a bitmap of the list's size; its pixels of the colour are transparent (none for clNone).
  int AddMasked(const gfx::Bitmap& bitmap, TColor transparent);
  // Makes image n the icon's only image; nothing for an index outside the list.
  void GetIcon(int n, TIcon& icon) const;
  // Draws image n onto target with its top-left corner at (x, y), transparent pixels left as they are.
  void Draw(gfx::Bitmap& target, int x, int y, int n) const;

private:
  int FWidth, FHeight;
  std::vector<gfx::TIconImage> FImages;
};
