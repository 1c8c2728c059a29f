// Icons as the framework holds them: the images of an icon (colours and mask), loaded from icon file
// bytes or set from images, with a notification on every change.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/Ico.h"
#include "base/Classes.h"

class TIcon : public TObject {
public:
  bool Empty() const { return FImages.empty(); }
  const std::vector<gfx::TIconImage>& Images() const { return FImages; }
  // Replaces the images with those of an icon file (none when it holds no readable image).
  void LoadFromIco(std::span<const uint8_t> file);
  void SetImages(std::vector<gfx::TIconImage> images);
  void Assign(const TIcon& other) { SetImages(other.FImages); }
  // The smallest image at least side pixels wide, else the largest; null when the icon is empty.
  const gfx::TIconImage* ImageFor(int side) const;

  TNotifyEvent OnChange;

private:
  std::vector<gfx::TIconImage> FImages;
};
