// Icon files: the program's own icons decode with their sizes, depths and masks; a damaged file
// gives the images it still holds whole; scaling keeps the majority of an area's transparency.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/Ico.h"
#include "platform/Resources.h"

TEST(Ico, TheProgramsIconsDecodeAndDamageCostsOnlyTheDamagedImages) {
  const auto tray = gfx::DecodeIco(platform::FindResource("TRAYICON"));
  ASSERT_EQ(tray.size(), 1u);
  EXPECT_EQ(tray[0].Color.Width(), 16);
  EXPECT_EQ(tray[0].BitCount, 4);
  const std::span<const uint8_t> main = platform::FindResource("MAINICON");
  const auto both = gfx::DecodeIco(main);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[1].Color.Width(), 48);
  EXPECT_TRUE(both[0].Transparent(0, 0));  // a corner of the artwork
  EXPECT_FALSE(both[0].Transparent(16, 16));
  // Cut inside the second image: the first stays.
  EXPECT_EQ(gfx::DecodeIco(main.first(main.size() - 100)).size(), 1u);
  EXPECT_TRUE(gfx::DecodeIco(main.first(10)).empty());
}

TEST(Ico, ScalingAveragesOpaquePixelsAndKeepsTheMajoritysTransparency) {
  gfx::TIconImage image{gfx::Bitmap(2, 2, 0x000000), gfx::Bitmap(2, 2), 32};
  image.Color.SetPixel(0, 0, 0x0000FF);
  image.Color.SetPixel(1, 0, 0x0000FF);
  image.Mask.SetPixel(1, 1, gfx::MaskTransparent);
  const gfx::TIconImage one = gfx::ScaleIcon(image, 1, 1);
  EXPECT_FALSE(one.Transparent(0, 0));
  EXPECT_EQ(one.Color.Pixel(0, 0), 0x0000AAu);  // (255 + 255 + 0) / 3
  image.Mask.SetPixel(1, 0, gfx::MaskTransparent);
  image.Mask.SetPixel(0, 1, gfx::MaskTransparent);
  EXPECT_TRUE(gfx::ScaleIcon(image, 1, 1).Transparent(0, 0));
}
