// GDI text measurement and rendering into a 32-bit DIB section, and the font cache (see FontRaster.h).
#include "widgetset/win32/FontRaster.h"

#include "platform/win32/Utf16.h"

#include <windows.h>

#include <cstring>

namespace widgetset::win32 {

namespace {

// Chinese face names ("宋体") ask for the GB2312 character set, as the program's fonts are declared;
// Latin names (Tahoma) take whatever set the face offers.
BYTE CharSetFor(const std::string& name) {
  for (unsigned char c : name)
    if (c >= 0x80) return GB2312_CHARSET;
  return DEFAULT_CHARSET;
}

using platform::win32::Wide;

}  // namespace

TFontRaster::TFontRaster() : FDC(CreateCompatibleDC(nullptr)) {
  SetBkMode(FDC, TRANSPARENT);
  SetTextAlign(FDC, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

TFontRaster::~TFontRaster() {
  DeleteDC(FDC);
  for (auto& [key, font] : FFonts) DeleteObject(font);
}

HFONT TFontRaster::Font(const gfx::TFontSpec& description) {
  const TKey key{description.Name, description.PixelSize, description.Bold};
  if (auto found = FFonts.find(key); found != FFonts.end()) return found->second;
  // A negative height asks for the character (em) height, which is what PixelSize means.
  HFONT font = CreateFontW(-description.PixelSize, 0, 0, 0, description.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           CharSetFor(description.Name), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           Wide(description.Name).c_str());
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  else FFonts.emplace(key, font);
  return font;
}

void TFontRaster::Select(const gfx::TFontSpec& font) { SelectObject(FDC, Font(font)); }

int TFontRaster::TextWidth(const gfx::TFontSpec& font, std::string_view utf8) {
  const std::wstring text = Wide(utf8);
  if (text.empty()) return 0;
  Select(font);
  SIZE size{};
  if (!GetTextExtentPoint32W(FDC, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

int TFontRaster::TextHeight(const gfx::TFontSpec& font) {
  Select(font);
  TEXTMETRICW metrics{};
  return GetTextMetricsW(FDC, &metrics) ? metrics.tmHeight : 0;
}

gfx::TTextMask TFontRaster::Render(const gfx::TFontSpec& font, std::string_view utf8) {
  gfx::TTextMask mask;
  mask.Width = TextWidth(font, utf8);
  mask.Height = TextHeight(font);
  mask.Coverage.assign(static_cast<size_t>(mask.Width) * mask.Height, 0);
  if (mask.Width <= 0 || mask.Height <= 0) return mask;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = mask.Width;
  info.bmiHeader.biHeight = -mask.Height;  // top-down, so row y is at y × width
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!picture || !bits) {
    if (picture) DeleteObject(picture);
    return mask;
  }
  HGDIOBJ previous = SelectObject(FDC, picture);
  std::memset(bits, 0, mask.Coverage.size() * 4);
  Select(font);
  SetTextColor(FDC, RGB(255, 255, 255));
  const std::wstring text = Wide(utf8);
  TextOutW(FDC, 0, 0, text.c_str(), static_cast<int>(text.size()));
  GdiFlush();  // the DIB's memory is read directly, after GDI has finished with it
  const auto* pixels = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < mask.Coverage.size(); ++i)
    mask.Coverage[i] = ((pixels[i] >> 8) & 0xFF) >= 0x80 ? 255 : 0;
  SelectObject(FDC, previous);
  DeleteObject(picture);
  return mask;
}

}  // namespace widgetset::win32
