// Icons (see Graphics.h).
#include "ui/Graphics.h"

void TIcon::LoadFromIco(std::span<const uint8_t> file) { SetImages(gfx::DecodeIco(file)); }

void TIcon::SetImages(std::vector<gfx::TIconImage> images) {
  FImages = std::move(images);
  if (OnChange) OnChange(this);
}

const gfx::TIconImage* TIcon::ImageFor(int side) const {
  const gfx::TIconImage* best = nullptr;
  for (const gfx::TIconImage& image : FImages) {
    const int width = image.Color.Width();
    if (!best) best = &image;
    const int bestWidth = best->Color.Width();
    // Prefer a fitting image; among fitting ones the smallest, otherwise the largest.
    if ((width >= side && (bestWidth < side || width < bestWidth)) || (bestWidth < side && width > bestWidth)) best = &image;
  }
  return best;
}
