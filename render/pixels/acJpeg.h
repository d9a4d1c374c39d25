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

// Where DecodeJpegInto puts the rows: Begin is told the size once, then Row
// answers where each row of width x 3 bytes (blue, green, red) goes. Either
// may throw; the decoder is then cleaned up and the exception passed on.
class TacJpegTarget {
 public:
  virtual ~TacJpegTarget() = default;
  virtual void Begin(int width, int height) = 0;
  virtual std::uint8_t* Row(int y) = 0;
};

// The same decoding into the caller's rows (a bitmap, with no copy between).
void DecodeJpegInto(const std::uint8_t* data, std::size_t size, TacJpegTarget& target);

}  // namespace translit
