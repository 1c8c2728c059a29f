// Storage of the off-screen picture.
#include "gfx/Bitmap.h"

namespace gfx {

Bitmap::Bitmap(int width, int height, TPixel fill)
    : FWidth(width > 0 ? width : 0), FHeight(height > 0 ? height : 0),
      FPixels(static_cast<size_t>(FWidth) * FHeight, fill) {}

void Bitmap::SetSize(int width, int height) { *this = Bitmap(width, height); }

}  // namespace gfx
