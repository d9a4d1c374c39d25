// JPEG decoding on libjpeg. libjpeg reports fatal errors through a callback
// that must not return; it jumps back to DecodeJpeg, whose own objects all
// outlive the jump.
#include "render/pixels/acJpeg.h"

#include <csetjmp>
#include <cstdio>
#include <exception>
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

void DecodeJpegInto(const std::uint8_t* data, std::size_t size, TacJpegTarget& target) {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.output_message = OutputMessage;
  volatile int failure = 0;  // 0 none, 1 libjpeg, 2 too large, 3 the target threw
  std::exception_ptr targetFailure;
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
      // The target's exceptions must not cross libjpeg's frames: they are
      // kept and raised once the decoder is gone.
      try {
        target.Begin(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
        while (cinfo.output_scanline < cinfo.output_height) {
          JSAMPROW row = target.Row(static_cast<int>(cinfo.output_scanline));
          jpeg_read_scanlines(&cinfo, &row, 1);
        }
      } catch (...) {
        targetFailure = std::current_exception();
        failure = 3;
      }
      if (failure == 0) jpeg_finish_decompress(&cinfo);
    }
  }
  int code = err.pub.msg_code;
  jpeg_destroy_decompress(&cinfo);
  if (failure == 1) throw fw::Exception("JPEG error #" + std::to_string(code));
  if (failure == 2) throw fw::Exception("JPEG image is too large");
  if (failure == 3) std::rethrow_exception(targetFailure);
}

TacJpegPicture DecodeJpeg(const std::uint8_t* data, std::size_t size) {
  class PictureTarget : public TacJpegTarget {
   public:
    explicit PictureTarget(TacJpegPicture& picture) : FPicture(picture) {}
    void Begin(int width, int height) override {
      FPicture.Width = width;
      FPicture.Height = height;
      FPicture.Bgr.resize(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(height));
    }
    std::uint8_t* Row(int y) override {
      return FPicture.Bgr.data() + static_cast<std::size_t>(FPicture.Width) * 3 * static_cast<std::size_t>(y);
    }

   private:
    TacJpegPicture& FPicture;
  };
  TacJpegPicture picture;
  PictureTarget target(picture);
  DecodeJpegInto(data, size, target);
  return picture;
}

}  // namespace translit
