// Image file writers of the skin generator.
#include "skins/ImageFiles.h"

#include <cstdio>  // jpeglib.h needs FILE declared first

#include <jpeglib.h>
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <stdexcept>
#include <string>

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

void Put32BE(Bytes& b, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(v >> shift));
}

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void Chunk(Bytes& out, const char (&type)[5], const Bytes& data) {
  Put32BE(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t at = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32BE(out, Crc32(0, out.data() + at, data.size() + 4));
}

int Paeth(int a, int b, int c) {
  int p = a + b - c;
  int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Row filters 0..4 of the PNG specification applied to one row; bpp is the
// distance to the byte of the pixel on the left.
Bytes FilterRow(int type, const std::uint8_t* row, const std::uint8_t* prior, std::size_t size, std::size_t bpp) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) {
    int a = i >= bpp ? row[i - bpp] : 0;
    int b = prior ? prior[i] : 0;
    int c = (prior && i >= bpp) ? prior[i - bpp] : 0;
    int predictor = 0;
    switch (type) {
      case 1: predictor = a; break;
      case 2: predictor = b; break;
      case 3: predictor = (a + b) / 2; break;
      case 4: predictor = Paeth(a, b, c); break;
      default: break;
    }
    out[i] = static_cast<std::uint8_t>(row[i] - predictor);
  }
  return out;
}

// The usual heuristic: the filter whose output, read as signed bytes, has
// the smallest sum of magnitudes.
std::size_t Cost(const Bytes& filtered) {
  std::size_t sum = 0;
  for (std::uint8_t v : filtered) sum += static_cast<std::size_t>(std::abs(static_cast<int>(static_cast<std::int8_t>(v))));
  return sum;
}

}  // namespace

std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
  const auto& table = CrcTable();
  crc ^= 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

Bytes EncodePng(const Image& image) {
  if (image.Width <= 0 || image.Height <= 0) throw std::invalid_argument("empty PNG");
  const std::size_t bpp = image.HasAlpha ? 4 : 3;
  const std::size_t rowBytes = bpp * static_cast<std::size_t>(image.Width);

  Bytes raw;
  raw.reserve((rowBytes + 1) * static_cast<std::size_t>(image.Height));
  Bytes prior, row(rowBytes);
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      Rgb c = image.ColorAt(x, y);
      std::uint8_t* p = &row[static_cast<std::size_t>(x) * bpp];
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
      if (image.HasAlpha) p[3] = image.AlphaAt(x, y);
    }
    int bestType = 0;
    Bytes best;
    for (int type = 0; type <= 4; ++type) {
      Bytes f = FilterRow(type, row.data(), prior.empty() ? nullptr : prior.data(), rowBytes, bpp);
      if (best.empty() || Cost(f) < Cost(best)) {
        best = std::move(f);
        bestType = type;
      }
    }
    raw.push_back(static_cast<std::uint8_t>(bestType));
    raw.insert(raw.end(), best.begin(), best.end());
    prior = row;
  }

  uLongf zSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes z(zSize);
  if (compress2(z.data(), &zSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
    throw std::runtime_error("deflate failed");
  z.resize(zSize);

  Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  Put32BE(header, static_cast<std::uint32_t>(image.Width));
  Put32BE(header, static_cast<std::uint32_t>(image.Height));
  // 8 bits per sample, colour type 6 (RGBA) or 2 (RGB), deflate, adaptive
  // filters, not interlaced.
  header.insert(header.end(), {8, static_cast<std::uint8_t>(image.HasAlpha ? 6 : 2), 0, 0, 0});
  Chunk(out, "IHDR", header);
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", {});
  return out;
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
