// JPEG decoding (libjpeg-turbo) into a Bitmap; corrupt or truncated data raises EJpegError.
#pragma once
#include <cstdint>
#include <span>
#include <stdexcept>

#include "gfx/Bitmap.h"

namespace gfx {

class EJpegError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

Bitmap DecodeJpeg(std::span<const uint8_t> data);

}  // namespace gfx
