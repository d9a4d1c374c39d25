// Small image files made in code for the tests: BMP (24 or 32 bit), PNG (RGB
// or RGBA, through PngWriter.h) and JPEG (through libjpeg), all of one colour
// or from a pixel function.
#pragma once

#include <jpeglib.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/PngWriter.h"

namespace translit::test {

using Bytes = std::vector<std::uint8_t>;
// Pixel at (x, y) as 0xAARRGGBB.
using PixelFn = std::function<std::uint32_t(int x, int y)>;

inline void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A bottom-up BMP file of 24 or 32 bits per pixel.
inline Bytes MakeBmp(int w, int h, int bits, const PixelFn& pixel) {
  const int rowBytes = ((w * bits / 8) + 3) & ~3;
  Bytes b = {'B', 'M'};
  Put32(b, 54 + static_cast<std::uint32_t>(rowBytes * h));
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(w));
  Put32(b, static_cast<std::uint32_t>(h));
  Put16(b, 1);
  Put16(b, static_cast<std::uint32_t>(bits));
  Put32(b, 0);
  Put32(b, static_cast<std::uint32_t>(rowBytes * h));
  for (int i = 0; i < 4; ++i) Put32(b, 0);
  for (int y = h - 1; y >= 0; --y) {
    std::size_t start = b.size();
    for (int x = 0; x < w; ++x) {
      std::uint32_t p = pixel(x, y);
      b.push_back(static_cast<std::uint8_t>(p));
      b.push_back(static_cast<std::uint8_t>(p >> 8));
      b.push_back(static_cast<std::uint8_t>(p >> 16));
      if (bits == 32) b.push_back(static_cast<std::uint8_t>(p >> 24));
    }
    while (b.size() - start < static_cast<std::size_t>(rowBytes)) b.push_back(0);
  }
  return b;
}

// An 8-bit RGB (alpha false) or RGBA PNG file, written by the tests' PNG
// writer.
inline Bytes MakePng(int w, int h, bool alpha, const PixelFn& pixel) {
  auto at = [&pixel](std::uint32_t x, std::uint32_t y) { return pixel(static_cast<int>(x), static_cast<int>(y)); };
  return pngtest::Encode(pngtest::Rgb8Image(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), alpha, at),
                         false);
}

// A baseline JPEG of the given size and quality.
inline Bytes MakeJpeg(int w, int h, const PixelFn& pixel, int quality = 90) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long memSize = 0;
  jpeg_mem_dest(&c, &mem, &memSize);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(w) * 3);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::uint32_t p = pixel(x, y);
      row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(p >> 16);
      row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(p >> 8);
      row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(p);
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  Bytes out(mem, mem + memSize);
  jpeg_destroy_compress(&c);
  std::free(mem);
  return out;
}

inline PixelFn Solid(std::uint32_t argb) {
  return [argb](int, int) { return argb; };
}

}  // namespace translit::test
