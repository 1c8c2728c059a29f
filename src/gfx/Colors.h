// Colours as the framework names them: 0x00BBGGRR for RGB colours, 0xFF000000 + index for system
// colours (resolved when drawn), clNone; and the conversion to the bitmap's 0x00RRGGBB pixels.
#pragma once
#include <cstdint>

using TColor = uint32_t;

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (static_cast<uint32_t>(b) << 16); }
constexpr TColor SystemColor(uint32_t index) { return 0xFF000000u | index; }

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clGreen = RGB(0, 128, 0);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clLime = RGB(0, 255, 0);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clAqua = RGB(0, 255, 255);
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clBtnText = SystemColor(18);

namespace gfx {

// 0x00RRGGBB, the layout of Bitmap pixels.
using TPixel = uint32_t;

// Resolves system colours through the classic Windows scheme, so drawings are the same everywhere.
TPixel ToPixel(TColor color);
// The RGB colour (0x00BBGGRR) a colour value resolves to.
TColor ColorToRGB(TColor color);

}  // namespace gfx
