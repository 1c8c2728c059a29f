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
  // A header announcing 65000 × 65000 pixels is refused before anything is allocated for them.
  std::vector<uint8_t> huge = good;
  for (size_t i = 0; i + 9 < huge.size(); ++i)
    if (huge[i] == 0xFF && (huge[i + 1] == 0xC0 || huge[i + 1] == 0xC2)) {
      huge[i + 5] = huge[i + 7] = 0xFD;
      huge[i + 6] = huge[i + 8] = 0xE8;
      break;
    }
  try {
    gfx::DecodeJpeg(huge);
    ADD_FAILURE() << "decoded";
  } catch (const gfx::EJpegError& e) {
    EXPECT_NE(std::string(e.what()).find("larger than 4096"), std::string::npos) << e.what();
  }
  std::vector<uint8_t> flipped = good;
  for (size_t i = 600; i < flipped.size(); i += 97) flipped[i] ^= 0xFF;
  try {
    gfx::DecodeJpeg(flipped);
  } catch (const gfx::EJpegError& e) {
    EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos);
  }
}

}  // namespace
