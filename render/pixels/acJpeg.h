// JPEG decoding for skin textures, on libjpeg. Portable: the Windows loader
// puts the rows into framework bitmaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace translit {

// A decoded JPEG: rows top-down, 3 bytes per pixel in blue, green, red order.
struct TacJpegPicture {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Bgr;
};

// Pictures above this many pixels are refused before anything is allocated.
constexpr std::int64_t kMaxJpegPixels = 64ll * 1024 * 1024;

// Decodes a baseline or progressive JPEG (colour or grey). Throws
// fw::Exception "JPEG error #<code>" with libjpeg's message code for data
// libjpeg rejects, and "JPEG image is too large" past kMaxJpegPixels.
TacJpegPicture DecodeJpeg(const std::uint8_t* data, std::size_t size);

}  // namespace translit
