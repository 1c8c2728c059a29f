// Icons for the Win32 services from the framework's icon images: CreateIconIndirect over a 32-bit
// colour bitmap (alpha from the mask) and the monochrome mask.
#pragma once
#include "gfx/Ico.h"

struct HICON__;

namespace widgetset::win32 {

// The image scaled to side × side pixels as an icon handle the caller destroys; null on failure.
HICON__* MakeIcon(const gfx::TIconImage& image, int side);

}  // namespace widgetset::win32
