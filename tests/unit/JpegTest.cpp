// JPEG decoding: the embedded artwork decodes at its size, damaged data raises a clear error.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/Jpeg.h"
#include "platform/Resources.h"

namespace {

std::vector<uint8_t> Splash() {
  const auto data = platform::FindResource("SPLASH");
  return {data.begin(), data.end()};
}

TEST(JpegTest, SplashDecodesAtItsSize) {
  const gfx::Bitmap picture = gfx::DecodeJpeg(Splash());
  EXPECT_EQ(picture.Width(), 345);
  EXPECT_EQ(picture.Height(), 182);
}

TEST(JpegTest, DamagedDataRaisesInsteadOfCrashing) {
  const std::vector<uint8_t> good = Splash();
  EXPECT_THROW(gfx::DecodeJpeg({}), gfx::EJpegError);
  std::vector<uint8_t> truncated(good.begin(), good.begin() + good.size() / 2);
  EXPECT_THROW(gfx::DecodeJpeg(truncated), gfx::EJpegError);
  std::vector<uint8_t> header(good.begin(), good.begin() + 20);
  EXPECT_THROW(gfx::DecodeJpeg(header), gfx::EJpegError);
  std::vector<uint8_t> noise(4000, 0xA5);
  EXPECT_THROW(gfx::DecodeJpeg(noise), gfx::EJpegError);
  std::vector<uint8_t> flipped = good;
  for (size_t i = 600; i < flipped.size(); i += 97) flipped[i] ^= 0xFF;
  try {
    gfx::DecodeJpeg(flipped);
  } catch (const gfx::EJpegError& e) {
    EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos);
  }
}

}  // namespace
