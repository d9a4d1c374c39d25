// The headers of BMP files and packed DIBs (a BMP file after its 14-byte file
// header, as bitmap resources hold them): the info header in its core form
// (12 bytes) or any of the longer forms (40 to 124 bytes), the colour masks,
// the palette and where the pixels start, read into a plain record and
// checked against the bytes that are there. The platform decodes the pixels;
// this only makes sure that everything it will read lies inside the buffer.
// Portable.
#pragma once

#include <cstddef>
#include <cstdint>

namespace translit {

// Compression codes of the info header.
enum : std::uint32_t { kBmpRgb = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitFields = 3 };

// Why a header was refused.
enum class BmpFault {
  None,
  Truncated,    // shorter than its headers, palette or pixels
  Signature,    // the file does not start with "BM"
  HeaderSize,   // info header of an unknown size, or cutting the bit-field masks
  Dimensions,   // width or height 0, negative width, or beyond 32767
  BitCount,     // not 1, 4, 8, 16, 24 or 32 bits per pixel
  Compression,  // unknown, not for the bit count, or RLE top-down or without its size
  Palette,      // more colours than the bit count can index
  PixelOffset,  // the file's pixel offset points into the headers
};

const char* BmpFaultText(BmpFault fault);

struct BmpLayout {
  std::uint32_t HeaderSize = 0;  // 12 for the core header, else 40..124
  std::int32_t Width = 0;
  std::int32_t Height = 0;  // negative: rows stored top-down
  int BitCount = 0;
  std::uint32_t Compression = kBmpRgb;
  std::uint32_t SizeImage = 0;  // as the header says (the pixel bytes of RLE)
  // Red, green and blue masks of bit-field pixels, 0 otherwise.
  std::uint32_t Masks[3] = {0, 0, 0};
  // The palette: ColorCount entries of 3 (core header) or 4 bytes each at
  // ColorsOffset. Pictures of more than 8 bits may carry a palette too,
  // which is skipped.
  std::uint32_t ColorCount = 0;
  std::uint32_t ColorBytes = 4;
  std::size_t ColorsOffset = 0;
  // The pixels: PixelBytes bytes at PixelOffset (rows of RowBytes, or the
  // compressed stream).
  std::size_t PixelOffset = 0;
  std::size_t PixelBytes = 0;
  std::size_t RowBytes = 0;

  int AbsHeight() const { return Height < 0 ? -Height : Height; }
  bool TopDown() const { return Height < 0; }
  // Palette entry i as 0x00RRGGBB (i < ColorCount).
  std::uint32_t Color(const std::uint8_t* data, std::uint32_t i) const;
};

// A packed DIB of size bytes. pixelOffset is where the pixels start counted
// from data (a BMP file's pixel offset), 0 when they follow the palette.
// Offsets in the layout count from data.
BmpFault ParseDib(const std::uint8_t* data, std::size_t size, std::size_t pixelOffset, BmpLayout& layout);

// A whole BMP file: "BM", the file header, then a packed DIB. Offsets in the
// layout count from the start of the file; a pixel offset of 0 in the file
// header means right after the palette.
BmpFault ParseBmpFile(const std::uint8_t* data, std::size_t size, BmpLayout& layout);

}  // namespace translit
