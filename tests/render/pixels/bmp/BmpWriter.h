// BMP files and packed DIBs written field by field for the header tests and
// the fuzzer's seeds: any header size, palette, masks, a gap before the
// pixels and a pixel offset that may lie. Portable.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace bmptest {

using Bytes = std::vector<std::uint8_t>;

struct BmpFile {
  std::uint32_t headerSize = 40;  // 12: core header (16-bit sizes, 3-byte palette entries)
  std::int32_t width = 2;
  std::int32_t height = 2;
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::optional<std::uint32_t> sizeImage;  // default: the pixel bytes written
  std::uint32_t clrUsed = 0;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB each
  // Written after a 40-byte header, into a longer one at offset 40.
  std::vector<std::uint32_t> masks;
  std::size_t gap = 0;  // junk bytes between the palette and the pixels
  Bytes pixels;
  bool fileHeader = true;
  std::optional<std::uint32_t> offBits;  // default: where the pixels are
};

inline void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

inline Bytes WriteBmp(const BmpFile& s) {
  Bytes dib;
  Put32(dib, s.headerSize);
  if (s.headerSize == 12) {
    Put16(dib, static_cast<std::uint32_t>(s.width));
    Put16(dib, static_cast<std::uint32_t>(s.height));
    Put16(dib, 1);
    Put16(dib, s.bits);
  } else {
    Put32(dib, static_cast<std::uint32_t>(s.width));
    Put32(dib, static_cast<std::uint32_t>(s.height));
    Put16(dib, 1);
    Put16(dib, s.bits);
    Put32(dib, s.compression);
    Put32(dib, s.sizeImage ? *s.sizeImage : static_cast<std::uint32_t>(s.pixels.size()));
    Put32(dib, 2835);
    Put32(dib, 2835);
    Put32(dib, s.clrUsed);
    Put32(dib, 0);
    if (s.headerSize > 40) {
      for (std::uint32_t m : s.masks) Put32(dib, m);
      // Bytes of the longer headers past the masks (alpha mask, colour space).
      for (std::uint32_t i = 0; dib.size() < s.headerSize; ++i) dib.push_back(static_cast<std::uint8_t>(i * 37));
      dib.resize(s.headerSize);
    } else {
      for (std::uint32_t m : s.masks) Put32(dib, m);
    }
  }
  for (std::uint32_t c : s.palette) {
    dib.push_back(static_cast<std::uint8_t>(c));
    dib.push_back(static_cast<std::uint8_t>(c >> 8));
    dib.push_back(static_cast<std::uint8_t>(c >> 16));
    if (s.headerSize != 12) dib.push_back(0);
  }
  for (std::size_t i = 0; i < s.gap; ++i) dib.push_back(static_cast<std::uint8_t>(0xA5 ^ i));
  const std::size_t pixelsAt = dib.size();
  dib.insert(dib.end(), s.pixels.begin(), s.pixels.end());
  if (!s.fileHeader) return dib;
  Bytes file = {'B', 'M'};
  Put32(file, static_cast<std::uint32_t>(14 + dib.size()));
  Put32(file, 0);
  Put32(file, s.offBits ? *s.offBits : static_cast<std::uint32_t>(14 + pixelsAt));
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

}  // namespace bmptest
