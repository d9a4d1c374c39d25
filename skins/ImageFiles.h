// The file formats the generator writes: PNG (8-bit RGB or RGBA, zlib
// deflate, adaptive row filters), BMP (24 bits, bottom-up, as the skin's
// plain bitmap names and the master bitmap are read) and baseline JPEG
// through libjpeg.
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

// The CRC-32 of PNG chunks, from its definition (reflected polynomial
// 0xEDB88320), continuing from crc (0 to start).
std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size);

}  // namespace skingen
