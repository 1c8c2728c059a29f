// libFuzzer target for the JPEG decoder: any bytes give a picture or EJpegError, nothing else.
// libFuzzer seeds: resources/splash.jpg
#include <cstdint>

#include "gfx/Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    (void)gfx::DecodeJpeg({data, size});
  } catch (const gfx::EJpegError&) {
  }
  return 0;
}
