// A PNG writer for rows of 8-bit RGBA or BGRA pixels: 8-bit RGB or RGBA
// output, adaptive row filters, zlib deflate. The skin generator writes its
// images with it and the skin sheet tool its pictures of painted skins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/pixels/PixelView.h"

namespace translit {

// The byte order of the four channels of one source pixel. A 32-bit DIB
// (PixelView) holds blue, green, red, alpha.
enum class PngChannelOrder { Rgba, Bgra };

struct PngEncodeSource {
  const std::uint8_t* firstRow = nullptr;
  std::ptrdiff_t rowStride = 0;  // negative for bottom-up rows
  int width = 0;
  int height = 0;
  PngChannelOrder order = PngChannelOrder::Rgba;
  // RGBA output with the source's alpha; else RGB and the alpha is dropped.
  bool keepAlpha = false;
};

// zlib's levels 0..9.
inline constexpr int kPngBestCompression = 9;

// The whole file. Raises fw::EInvalidGraphic for an empty source, a side of
// more than 2^28 pixels or a level outside 0..9.
std::vector<std::uint8_t> EncodePng(const PngEncodeSource& source, int level = kPngBestCompression);
// The pixels of a view (blue, green, red, alpha in memory).
std::vector<std::uint8_t> EncodePng(const PixelView& pixels, bool keepAlpha, int level = kPngBestCompression);

}  // namespace translit
