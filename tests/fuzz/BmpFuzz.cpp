// libFuzzer target for bitmap files: any bytes give a picture or none, read within the file.
// libFuzzer seeds: resources/os.bmp resources/cpu.bmp
#include <cstdint>
#include <span>

#include "gfx/Bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  (void)gfx::DecodeBmp(std::span<const uint8_t>(data, size));
  return 0;
}
