// Pictures read back from the files the skin generator writes: PNG and JPEG
// through the engine's decoders, BMP (only the 24-bit uncompressed bottom-up
// kind the generator writes) by reading its headers here.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/core/Classes.h"
#include "render/pixels/PngDecoder.h"
#include "render/pixels/acJpeg.h"

namespace translit::test {

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& p) {
  fw::TMemoryStream s;
  s.LoadFromFile(p.string());
  return s.Bytes();
}

constexpr std::uint32_t kKey = 0xFF00FF;

// A decoded picture: pixels 0xAARRGGBB, row by row.
struct Picture {
  int Width = 0;
  int Height = 0;
  bool HasAlpha = false;
  std::vector<std::uint32_t> Pixels;
  std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
  std::uint32_t Rgb(int x, int y) const { return At(x, y) & 0xFFFFFFu; }
};

inline Picture FromPng(const std::vector<std::uint8_t>& bytes) {
  PngBitmap png = DecodePng(bytes.data(), bytes.size());
  return Picture{png.Layout.Width, png.Layout.Height, png.Layout.PixelFormat == PngPixelFormat::pf32bit,
                 png.ToBGRA32()};
}

inline Picture FromBmp(const std::vector<std::uint8_t>& b) {
  auto u16 = [&](std::size_t at) { return static_cast<std::uint32_t>(b.at(at) | b.at(at + 1) << 8); };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  EXPECT_EQ(b.at(0), 'B');
  EXPECT_EQ(b.at(1), 'M');
  EXPECT_EQ(u32(14), 40u) << "info header size";
  EXPECT_EQ(u16(28), 24u) << "bits per pixel";
  EXPECT_EQ(u32(30), 0u) << "compression";
  Picture p{static_cast<int>(u32(18)), static_cast<int>(u32(22)), false, {}};
  const std::size_t offset = u32(10), stride = (static_cast<std::size_t>(p.Width) * 3 + 3) & ~std::size_t{3};
  EXPECT_EQ(b.size(), offset + stride * static_cast<std::size_t>(p.Height));
  EXPECT_EQ(u32(2), b.size()) << "file size field";
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x) {
      std::size_t at = offset + static_cast<std::size_t>(p.Height - 1 - y) * stride + static_cast<std::size_t>(x) * 3;
      p.Pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(b.at(at + 2)) << 16 |
                         static_cast<std::uint32_t>(b.at(at + 1)) << 8 | b.at(at));
    }
  return p;
}

inline Picture FromJpeg(const std::vector<std::uint8_t>& bytes) {
  TacJpegPicture j = DecodeJpeg(bytes.data(), bytes.size());
  Picture p{j.Width, j.Height, false, {}};
  for (std::size_t i = 0; i + 2 < j.Bgr.size(); i += 3)
    p.Pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(j.Bgr[i + 2]) << 16 |
                       static_cast<std::uint32_t>(j.Bgr[i + 1]) << 8 | j.Bgr[i]);
  return p;
}

inline bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// By the upper-case file name's extension.
inline Picture Decode(const std::string& upperName, const std::vector<std::uint8_t>& bytes) {
  if (EndsWith(upperName, ".PNG")) return FromPng(bytes);
  if (EndsWith(upperName, ".BMP")) return FromBmp(bytes);
  return FromJpeg(bytes);
}

}  // namespace translit::test
