// libFuzzer target for icon files: every image decoded lies within the file's bounds and has a mask
// of its own size.
// libFuzzer seeds: resources/brisko.ico resources/tray.ico
#include <cstdint>
#include <cstdlib>
#include <span>

#include "gfx/Ico.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const gfx::TIconImage& image : gfx::DecodeIco(std::span<const uint8_t>(data, size))) {
    if (image.Mask.Width() != image.Color.Width() || image.Mask.Height() != image.Color.Height()) std::abort();
    (void)gfx::ScaleIcon(image, 16, 16);
  }
  return 0;
}
