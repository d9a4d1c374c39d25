// JPEG decoding on libjpeg. libjpeg reports fatal errors through a callback
// that must not return; it jumps back to DecodeJpeg, whose own objects all
// outlive the jump.
#include "render/pixels/acJpeg.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

#include "framework/core/SysUtils.h"

namespace translit {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

// Warnings (damaged but readable data) are not worth a line on stderr.
void OutputMessage(j_common_ptr) {}

}  // namespace

TacJpegPicture DecodeJpeg(const std::uint8_t* data, std::size_t size) {
  TacJpegPicture picture;
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.output_message = OutputMessage;
  volatile int failure = 0;  // 0 none, 1 libjpeg, 2 too large
  if (setjmp(err.jump)) {
    failure = 1;
  } else {
    jpeg_create_decompress(&cinfo);
    // libjpeg takes an unsigned long size; nothing bigger is a texture.
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (static_cast<std::int64_t>(cinfo.image_width) * cinfo.image_height > kMaxJpegPixels) {
      failure = 2;
    } else {
      cinfo.out_color_space = JCS_EXT_BGR;
      jpeg_start_decompress(&cinfo);
      picture.Width = static_cast<int>(cinfo.output_width);
      picture.Height = static_cast<int>(cinfo.output_height);
      const std::size_t rowBytes = static_cast<std::size_t>(picture.Width) * 3;
      picture.Bgr.resize(rowBytes * static_cast<std::size_t>(picture.Height));
      while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = picture.Bgr.data() + rowBytes * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
      }
      jpeg_finish_decompress(&cinfo);
    }
  }
  int code = err.pub.msg_code;
  jpeg_destroy_decompress(&cinfo);
  if (failure == 1) throw fw::Exception("JPEG error #" + std::to_string(code));
  if (failure == 2) throw fw::Exception("JPEG image is too large");
  return picture;
}

}  // namespace translit
