// libjpeg reports fatal errors by calling error_exit, which must not return: it jumps back here,
// where the decoder is torn down and the message raised as EJpegError. Warnings (a truncated
// stream is one) are treated as fatal too, so no half-decoded picture is ever shown; a picture
// larger than 4096 pixels a side is refused before anything is allocated for it.
#include "gfx/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

namespace gfx {

namespace {

struct TErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info) {
  auto* err = reinterpret_cast<TErrorManager*>(info->err);
  err->Base.format_message(info, err->Message);
  std::longjmp(err->Jump, 1);
}

void EmitMessage(j_common_ptr info, int level) {
  if (level < 0) ErrorExit(info);  // a warning: corrupt data
}

// The largest picture decoded: a header may announce any size up to 65535 a side (16 GiB of pixels).
constexpr JDIMENSION MaxSide = 4096;

// Kept free of C++ objects with destructors, since longjmp skips them.
bool Decode(jpeg_decompress_struct& cinfo, TErrorManager& err, std::span<const uint8_t> data, Bitmap& out) {
  if (setjmp(err.Jump)) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width > MaxSide || cinfo.image_height > MaxSide) {
    std::snprintf(err.Message, sizeof err.Message, "the picture is larger than %u pixels a side", MaxSide);
    return false;
  }
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  out.SetSize(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              cinfo.output_width * 3, 1);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, row, 1);
    TPixel* target = out.Row(y);
    for (JDIMENSION x = 0; x < cinfo.output_width; ++x)
      target[x] = (row[0][3 * x] << 16) | (row[0][3 * x + 1] << 8) | row[0][3 * x + 2];
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

Bitmap DecodeJpeg(std::span<const uint8_t> data) {
  if (data.empty()) throw EJpegError("JPEG data is empty");
  jpeg_decompress_struct cinfo{};
  TErrorManager err{};
  cinfo.err = jpeg_std_error(&err.Base);
  err.Base.error_exit = ErrorExit;
  err.Base.emit_message = EmitMessage;
  Bitmap out;
  const bool ok = Decode(cinfo, err, data, out);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) throw EJpegError(std::string("Corrupt JPEG data: ") + err.Message);
  return out;
}

}  // namespace gfx
