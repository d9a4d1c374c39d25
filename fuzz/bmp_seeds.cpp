// Writes the seed files of the BMP header fuzzer: every header form (core,
// 40 bytes, the longer ones with masks inside), every bit count, palettes
// full and short, bit fields, RLE, top-down rows, a gap before the pixels and
// a palette a 24-bit picture does not use.
//   fuzz_bmp_make_seeds OUT_DIR
#include <filesystem>
#include <fstream>
#include <exception>
#include <iostream>
#include <string>

#include "tests/render/pixels/bmp/BmpWriter.h"

using bmptest::BmpFile;
using bmptest::Bytes;

namespace {

void Write(const std::filesystem::path& file, const Bytes& data) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

BmpFile Picture(int width, int height, int bits) {
  BmpFile s;
  s.width = width;
  s.height = height;
  s.bits = static_cast<std::uint16_t>(bits);
  const int rowBytes = (width * bits + 31) / 32 * 4;
  for (int i = 0; i < rowBytes * (height < 0 ? -height : height); ++i)
    s.pixels.push_back(static_cast<std::uint8_t>(i * 29));
  if (bits <= 8)
    for (int i = 0; i < (1 << bits); ++i) s.palette.push_back(static_cast<std::uint32_t>(i) * 0x030507u);
  return s;
}

int Run(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fuzz_bmp_make_seeds OUT_DIR\n";
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    Write(out / ("info-" + std::to_string(bits) + ".bmp"), bmptest::WriteBmp(Picture(5, 3, bits)));
    BmpFile top = Picture(3, -2, bits);
    Write(out / ("top-down-" + std::to_string(bits) + ".bmp"), bmptest::WriteBmp(top));
  }
  for (int bits : {1, 4, 8, 24}) {
    BmpFile core = Picture(4, 2, bits);
    core.headerSize = 12;
    Write(out / ("core-" + std::to_string(bits) + ".bmp"), bmptest::WriteBmp(core));
  }
  for (std::uint32_t size : {40u, 52u, 56u, 108u, 124u}) {
    for (int bits : {16, 32}) {
      BmpFile s = Picture(3, 2, bits);
      s.headerSize = size;
      s.compression = 3;
      s.masks = bits == 16 ? std::vector<std::uint32_t>{0xF800, 0x07E0, 0x001F}
                           : std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF};
      Write(out / ("bitfields-" + std::to_string(size) + "-" + std::to_string(bits) + ".bmp"), bmptest::WriteBmp(s));
    }
  }
  BmpFile shortPalette = Picture(4, 4, 8);
  shortPalette.palette.resize(5);
  shortPalette.clrUsed = 5;
  Write(out / "short-palette.bmp", bmptest::WriteBmp(shortPalette));
  BmpFile rle8 = Picture(4, 2, 8);
  rle8.compression = 1;
  rle8.pixels = {4, 1, 0, 0, 2, 3, 0, 1};
  Write(out / "rle8.bmp", bmptest::WriteBmp(rle8));
  BmpFile rle4 = Picture(4, 2, 4);
  rle4.compression = 2;
  rle4.pixels = {4, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 1};
  Write(out / "rle4.bmp", bmptest::WriteBmp(rle4));
  BmpFile gap = Picture(3, 3, 24);
  gap.gap = 17;
  Write(out / "gap.bmp", bmptest::WriteBmp(gap));
  BmpFile unused = Picture(3, 3, 24);
  unused.palette = {1, 2, 3, 4};
  unused.clrUsed = 4;
  Write(out / "unused-palette.bmp", bmptest::WriteBmp(unused));
  BmpFile noOffset = Picture(2, 2, 8);
  noOffset.offBits = 0;
  Write(out / "no-offset.bmp", bmptest::WriteBmp(noOffset));
  return 0;
}

}  // namespace

// A seed that cannot be written is a failed build step with its reason.
int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "fuzz_bmp_make_seeds: " << e.what() << "\n";
    return 1;
  }
}
