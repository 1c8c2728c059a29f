// Windows bitmap files (.bmp) of 24 or 32 bits a pixel without compression, rows bottom-up or
// top-down, at most 4096 pixels a side, into a Bitmap; every size and offset in the file is checked
// against the file.
#pragma once
#include <cstdint>
#include <span>

#include "gfx/Bitmap.h"

namespace gfx {

// The picture; an empty Bitmap when the file is not such a bitmap or is damaged.
Bitmap DecodeBmp(std::span<const uint8_t> file);

}  // namespace gfx
