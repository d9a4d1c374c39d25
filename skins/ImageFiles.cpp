// Image file writers of the skin generator.
#include "skins/ImageFiles.h"

#include <cstdio>  // jpeglib.h needs FILE declared first

#include <jpeglib.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "render/pixels/PngEncoder.h"

namespace skingen {

namespace {

void Put16LE(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32LE(Bytes& b, std::uint32_t v) {
  Put16LE(b, v & 0xFFFF);
  Put16LE(b, v >> 16);
}

}  // namespace

Bytes EncodePng(const Image& image) {
  translit::PngEncodeSource source;
  source.firstRow = image.Rgba.data();
  source.rowStride = static_cast<std::ptrdiff_t>(image.Width) * 4;
  source.width = image.Width;
  source.height = image.Height;
  source.order = translit::PngChannelOrder::Rgba;
  source.keepAlpha = image.HasAlpha;
  return translit::EncodePng(source);
}

Bytes EncodeBmp(const Image& image) {
  if (image.Width <= 0 || image.Height <= 0) throw std::invalid_argument("empty BMP");
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(image.Width) * 3 + 3) & ~3u;
  const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(image.Height);
  Bytes b = {'B', 'M'};
  Put32LE(b, 14 + 40 + pixelBytes);
  Put32LE(b, 0);
  Put32LE(b, 14 + 40);
  Put32LE(b, 40);  // BITMAPINFOHEADER
  Put32LE(b, static_cast<std::uint32_t>(image.Width));
  Put32LE(b, static_cast<std::uint32_t>(image.Height));  // positive: bottom-up
  Put16LE(b, 1);
  Put16LE(b, 24);
  Put32LE(b, 0);  // BI_RGB
  Put32LE(b, pixelBytes);
  Put32LE(b, 3780);  // 96 DPI in pixels per metre
  Put32LE(b, 3780);
  Put32LE(b, 0);
  Put32LE(b, 0);
  for (int y = image.Height - 1; y >= 0; --y) {
    const std::size_t start = b.size();
    for (int x = 0; x < image.Width; ++x) {
      Rgb c = image.ColorAt(x, y);
      b.push_back(c.b);
      b.push_back(c.g);
      b.push_back(c.r);
    }
    b.resize(start + rowBytes, 0);
  }
  return b;
}

namespace {

struct JpegError : jpeg_error_mgr {
  static void Exit(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    throw std::runtime_error(std::string("libjpeg: ") + message);
  }
};

}  // namespace

Bytes EncodeJpeg(const Image& image, int quality) {
  jpeg_compress_struct c{};
  JpegError err;
  c.err = jpeg_std_error(&err);
  err.error_exit = &JpegError::Exit;
  unsigned char* mem = nullptr;
  unsigned long memSize = 0;
  Bytes out;
  try {
    jpeg_create_compress(&c);
    jpeg_mem_dest(&c, &mem, &memSize);
    c.image_width = static_cast<JDIMENSION>(image.Width);
    c.image_height = static_cast<JDIMENSION>(image.Height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    c.optimize_coding = TRUE;
    jpeg_start_compress(&c, TRUE);
    Bytes row(static_cast<std::size_t>(image.Width) * 3);
    while (c.next_scanline < c.image_height) {
      const int y = static_cast<int>(c.next_scanline);
      for (int x = 0; x < image.Width; ++x) {
        Rgb px = image.ColorAt(x, y);
        row[static_cast<std::size_t>(x) * 3] = px.r;
        row[static_cast<std::size_t>(x) * 3 + 1] = px.g;
        row[static_cast<std::size_t>(x) * 3 + 2] = px.b;
      }
      JSAMPROW rows[1] = {row.data()};
      jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    out.assign(mem, mem + memSize);
  } catch (...) {
    jpeg_destroy_compress(&c);
    std::free(mem);
    throw;
  }
  jpeg_destroy_compress(&c);
  std::free(mem);
  return out;
}

}  // namespace skingen
