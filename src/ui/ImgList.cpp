// Image lists (see ImgList.h).
#include "ui/ImgList.h"

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FWidth(width), FHeight(height) {}

int TCustomImageList::AddIcon(const TIcon& icon) {
  const gfx::TIconImage* image = icon.ImageFor(FWidth);
  if (!image) return -1;
  FImages.push_back(gfx::ScaleIcon(*image, FWidth, FHeight));
  return Count() - 1;
}

int TCustomImageList::AddMasked(const gfx::Bitmap& bitmap, TColor transparent) {
  gfx::TIconImage image{gfx::Bitmap(FWidth, FHeight), gfx::Bitmap(FWidth, FHeight), 32};
  const gfx::TPixel key = gfx::ToPixel(transparent);
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const gfx::TPixel p = bitmap.Contains(x, y) ? bitmap.Pixel(x, y) : 0;
      // A transparent pixel is black in the colour image, as the masked list keeps it.
      if (transparent != clNone && p == key) image.Mask.SetPixel(x, y, gfx::MaskTransparent);
      else image.Color.SetPixel(x, y, p);
    }
  FImages.push_back(std::move(image));
  return Count() - 1;
}

void TCustomImageList::GetIcon(int n, TIcon& icon) const {
  if (n >= 0 && n < Count()) icon.SetImages({FImages[static_cast<size_t>(n)]});
}

void TCustomImageList::Draw(gfx::Bitmap& target, int x, int y, int n) const {
  if (n < 0 || n >= Count()) return;
  const gfx::TIconImage& image = FImages[static_cast<size_t>(n)];
  for (int sy = 0; sy < FHeight; ++sy)
    for (int sx = 0; sx < FWidth; ++sx)
      if (!image.Transparent(sx, sy) && target.Contains(x + sx, y + sy)) target.SetPixel(x + sx, y + sy, image.Color.Pixel(sx, sy));
}
