// A small PNG writer for tests: raw sample rows in, chunks out, with every
// filter type used in turn and Adam7 when asked. Chunks can be split, renamed
// or given a wrong CRC, which is what the broken-file cases need. Uses zlib's
// own crc32, so the decoder's CRC is checked against an independent one.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/pixels/PngInterlace.h"

namespace pngtest {

using Bytes = std::vector<std::uint8_t>;

inline void PutBE32(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 24));
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

struct Chunk {
  std::string type;
  Bytes data;
  bool badCrc = false;
};

inline Bytes ChunkBytes(const Chunk& c) {
  Bytes out;
  out.reserve(12 + c.data.size());
  PutBE32(out, static_cast<std::uint32_t>(c.data.size()));
  out.insert(out.end(), c.type.begin(), c.type.end());
  out.insert(out.end(), c.data.begin(), c.data.end());
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(c.type.data()), 4);
  if (!c.data.empty()) crc = crc32(crc, c.data.data(), static_cast<uInt>(c.data.size()));
  if (c.badCrc) crc ^= 0x00010000;
  PutBE32(out, static_cast<std::uint32_t>(crc));
  return out;
}

inline Bytes Signature() { return {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}; }

inline Bytes Assemble(const std::vector<Chunk>& chunks) {
  Bytes out = Signature();
  for (const Chunk& c : chunks) {
    Bytes b = ChunkBytes(c);
    out.insert(out.end(), b.begin(), b.end());
  }
  return out;
}

inline Bytes Ihdr(std::uint32_t w, std::uint32_t h, int depth, int colorType, int interlace = 0, int compression = 0,
                  int filter = 0) {
  Bytes d;
  PutBE32(d, w);
  PutBE32(d, h);
  d.push_back(static_cast<std::uint8_t>(depth));
  d.push_back(static_cast<std::uint8_t>(colorType));
  d.push_back(static_cast<std::uint8_t>(compression));
  d.push_back(static_cast<std::uint8_t>(filter));
  d.push_back(static_cast<std::uint8_t>(interlace));
  return d;
}

inline Bytes Zlib(const Bytes& raw, int level = 6) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level) != Z_OK)
    throw std::runtime_error("compress2 failed");
  out.resize(size);
  return out;
}

inline int SamplesOf(int colorType) {
  switch (colorType) {
    case 0:
      return 1;
    case 2:
      return 3;
    case 3:
      return 1;
    case 4:
      return 2;
    case 6:
      return 4;
  }
  return 1;
}

// A picture as raw samples: one row of packed big-endian samples per line,
// as the standard stores them before filtering.
struct RawImage {
  std::uint32_t width = 0, height = 0;
  int depth = 8, colorType = 6;
  std::vector<Bytes> rows;

  int BitsPerPixel() const { return depth * SamplesOf(colorType); }
  std::size_t RowBytes(std::uint32_t w) const { return (static_cast<std::size_t>(w) * BitsPerPixel() + 7) / 8; }

  // The bits of pixel x of row y.
  std::uint64_t Pixel(std::uint32_t x, std::uint32_t y) const {
    const int bpp = BitsPerPixel();
    if (bpp < 8) {
      std::size_t bit = static_cast<std::size_t>(x) * bpp;
      return (rows[y][bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
    }
    std::uint64_t v = 0;
    for (int i = 0; i < bpp / 8; ++i) v = (v << 8) | rows[y][static_cast<std::size_t>(x) * (bpp / 8) + i];
    return v;
  }
};

inline void PutPixel(Bytes& row, std::uint32_t x, int bpp, std::uint64_t v) {
  if (bpp < 8) {
    std::size_t bit = static_cast<std::size_t>(x) * bpp;
    int shift = 8 - bpp - static_cast<int>(bit % 8);
    row[bit / 8] = static_cast<std::uint8_t>(row[bit / 8] | (v << shift));
    return;
  }
  for (int i = bpp / 8 - 1; i >= 0; --i, v >>= 8) row[static_cast<std::size_t>(x) * (bpp / 8) + i] = v & 0xFF;
}

// Random samples below 2^depth (palette indexes below paletteSize).
inline RawImage RandomImage(std::uint32_t w, std::uint32_t h, int depth, int colorType, std::uint32_t seed,
                            int paletteSize = 256) {
  RawImage img;
  img.width = w;
  img.height = h;
  img.depth = depth;
  img.colorType = colorType;
  std::mt19937 rng(seed);
  const int bpp = img.BitsPerPixel();
  for (std::uint32_t y = 0; y < h; ++y) {
    Bytes row(img.RowBytes(w), 0);
    for (std::uint32_t x = 0; x < w; ++x) {
      std::uint64_t v = 0;
      if (colorType == 3) {
        v = rng() % static_cast<std::uint32_t>(std::min(paletteSize, 1 << depth));
      } else {
        for (int s = 0; s < SamplesOf(colorType); ++s) v = (v << depth) | (rng() & ((1u << depth) - 1));
      }
      PutPixel(row, x, bpp, v);
    }
    img.rows.push_back(std::move(row));
  }
  return img;
}

// An 8-bit RGB (alpha false) or RGBA picture; pixel(x, y) gives 0xAARRGGBB.
template <class PixelFn>
inline RawImage Rgb8Image(std::uint32_t w, std::uint32_t h, bool alpha, PixelFn pixel) {
  RawImage img;
  img.width = w;
  img.height = h;
  img.depth = 8;
  img.colorType = alpha ? 6 : 2;
  for (std::uint32_t y = 0; y < h; ++y) {
    Bytes row;
    for (std::uint32_t x = 0; x < w; ++x) {
      const std::uint32_t p = pixel(x, y);
      row.insert(row.end(),
                 {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p)});
      if (alpha) row.push_back(static_cast<std::uint8_t>(p >> 24));
    }
    img.rows.push_back(std::move(row));
  }
  return img;
}

inline std::uint8_t Paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<std::uint8_t>((pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c));
}

// One filtered scan line: filter byte, then the row filtered against prev.
inline Bytes FilterRow(const Bytes& row, const Bytes& prev, int filter, int bpp) {
  const std::size_t k = static_cast<std::size_t>(std::max(1, bpp / 8));
  Bytes out{static_cast<std::uint8_t>(filter)};
  for (std::size_t i = 0; i < row.size(); ++i) {
    int a = i >= k ? row[i - k] : 0, b = prev[i], c = i >= k ? prev[i - k] : 0;
    int pred = 0;
    switch (filter) {
      case 1:
        pred = a;
        break;
      case 2:
        pred = b;
        break;
      case 3:
        pred = (a + b) / 2;
        break;
      case 4:
        pred = Paeth(a, b, c);
        break;
    }
    out.push_back(static_cast<std::uint8_t>(row[i] - pred));
  }
  return out;
}

// The filtered image data (before compression); filters cycle 0..4 by line.
inline Bytes Scanlines(const RawImage& img, bool interlace, int firstFilter = 0) {
  Bytes out;
  int filter = firstFilter;
  const int bpp = img.BitsPerPixel();
  auto emit = [&](const std::vector<Bytes>& rows) {
    if (rows.empty() || rows[0].empty()) return;
    Bytes prev(rows[0].size(), 0);
    for (const Bytes& r : rows) {
      Bytes f = FilterRow(r, prev, filter, bpp);
      filter = (filter + 1) % 5;
      out.insert(out.end(), f.begin(), f.end());
      prev = r;
    }
  };
  if (!interlace) {
    emit(img.rows);
    return out;
  }
  for (const translit::Adam7Pass& pass : translit::Adam7Passes) {
    const std::uint32_t pw = translit::Adam7PassWidth(pass, img.width);
    if (pw == 0 || translit::Adam7PassHeight(pass, img.height) == 0) continue;
    std::vector<Bytes> rows;
    for (std::uint32_t y = pass.rowStart; y < img.height; y += pass.rowStep) {
      Bytes row(img.RowBytes(pw), 0);
      for (std::uint32_t i = 0; i < pw; ++i) PutPixel(row, i, bpp, img.Pixel(pass.colStart + i * pass.colStep, y));
      rows.push_back(std::move(row));
    }
    emit(rows);
  }
  return out;
}

// Splits data into IDAT chunks of the given sizes (cycled); a size of 0 makes
// an empty chunk.
inline std::vector<Chunk> SplitIdat(const Bytes& z, const std::vector<std::size_t>& sizes) {
  std::vector<Chunk> out;
  std::size_t pos = 0, i = 0;
  while (pos < z.size()) {
    std::size_t n = std::min(sizes[i++ % sizes.size()], z.size() - pos);
    out.push_back({"IDAT", Bytes(z.begin() + static_cast<std::ptrdiff_t>(pos),
                                 z.begin() + static_cast<std::ptrdiff_t>(pos + n))});
    pos += n;
  }
  return out;
}

inline Bytes TestPalette(int entries) {
  Bytes p;
  for (int i = 0; i < entries; ++i) {
    auto v = static_cast<std::uint8_t>(i * 255 / std::max(1, entries - 1));
    p.insert(p.end(), {v, static_cast<std::uint8_t>(255 - v), static_cast<std::uint8_t>(i * 37)});
  }
  return p;
}

// The chunks of a complete file for img; extra chunks go after IHDR (and
// PLTE), before the image data.
inline std::vector<Chunk> ImageChunks(const RawImage& img, bool interlace, std::vector<Chunk> extra = {},
                                      std::vector<std::size_t> split = {}) {
  std::vector<Chunk> chunks{{"IHDR", Ihdr(img.width, img.height, img.depth, img.colorType, interlace ? 1 : 0)}};
  if (img.colorType == 3) chunks.push_back({"PLTE", TestPalette(1 << img.depth)});
  chunks.insert(chunks.end(), extra.begin(), extra.end());
  Bytes z = Zlib(Scanlines(img, interlace));
  if (split.empty()) {
    chunks.push_back({"IDAT", z});
  } else {
    std::vector<Chunk> idats = SplitIdat(z, split);
    chunks.insert(chunks.end(), idats.begin(), idats.end());
  }
  chunks.push_back({"IEND", {}});
  return chunks;
}

inline Bytes Encode(const RawImage& img, bool interlace) { return Assemble(ImageChunks(img, interlace)); }

}  // namespace pngtest
