// The file formats the generator writes: PNG (the engine's writer, 8-bit RGB
// or RGBA), BMP (24 bits, bottom-up, as the skin's plain bitmap names and the
// master bitmap are read) and baseline JPEG through libjpeg.
#pragma once

#include <cstdint>
#include <vector>

#include "skins/SkinCanvas.h"

namespace skingen {

using Bytes = std::vector<std::uint8_t>;

// RGBA when the image has alpha, else RGB.
Bytes EncodePng(const Image& image);
Bytes EncodeBmp(const Image& image);
Bytes EncodeJpeg(const Image& image, int quality);

}  // namespace skingen
