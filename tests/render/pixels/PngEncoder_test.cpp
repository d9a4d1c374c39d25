// The PNG writer read back by the engine's decoder (and, natively, by
// libpng): both channel orders, with and without alpha, rows top-down and
// bottom-up, every row filter, image data split over several chunks, and the
// sources it refuses.
#include "render/pixels/PngEncoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifdef TRANSLIT_TEST_LIBPNG
#include <png.h>
#endif

#include "framework/core/SysUtils.h"
#include "render/pixels/PngDecoder.h"

using namespace translit;

namespace {

using Bytes = std::vector<std::uint8_t>;

// 32-bit pixels as a DIB holds them (0xAARRGGBB): noise where no filter
// predicts, ramps where the neighbour filters do, so that every filter type
// is chosen somewhere.
std::vector<std::uint32_t> TestPixels(int w, int h, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint32_t v;
      switch ((y / 3) % 4) {
        case 0:
          v = random();
          break;
        case 1:
          v = 0xFF000000u | (x * 7 & 0xFF) << 16 | (y * 5 & 0xFF) << 8 | ((x + y) & 0xFF);
          break;
        case 2:
          v = 0x80000000u | (y * 9 & 0xFF) << 16 | 0x4000 | (y & 0xFF);
          break;
        default:
          v = (x * y & 0xFF) << 24 | (x * x & 0xFF) << 16 | (y * y & 0xFF) << 8 | ((x ^ y) & 0xFF);
          break;
      }
      px[static_cast<std::size_t>(y) * w + x] = v;
    }
  return px;
}

std::uint32_t Opaque(std::uint32_t v) { return v | 0xFF000000u; }

struct Chunks {
  std::vector<std::string> Types;
  Bytes ImageData;  // the IDAT contents joined
};

Chunks ReadChunks(const Bytes& file) {
  Chunks c;
  std::size_t at = 8;
  while (at + 12 <= file.size()) {
    const std::uint32_t length = std::uint32_t{file[at]} << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
    const std::string type(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                           file.begin() + static_cast<std::ptrdiff_t>(at + 8));
    c.Types.push_back(type);
    if (type == "IDAT")
      c.ImageData.insert(c.ImageData.end(), file.begin() + static_cast<std::ptrdiff_t>(at + 8),
                         file.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
    at += 12 + length;
  }
  return c;
}

// The filter type byte of every row.
std::set<int> FilterTypes(const Bytes& file, int width, int height, int bpp) {
  const Bytes z = ReadChunks(file).ImageData;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * bpp + 1;
  Bytes raw(rowBytes * height);
  uLongf size = static_cast<uLongf>(raw.size());
  EXPECT_EQ(uncompress(raw.data(), &size, z.data(), static_cast<uLong>(z.size())), Z_OK);
  EXPECT_EQ(size, raw.size());
  std::set<int> types;
  for (int y = 0; y < height; ++y) types.insert(raw[static_cast<std::size_t>(y) * rowBytes]);
  return types;
}

#ifdef TRANSLIT_TEST_LIBPNG
// The file as libpng reads it, as 0xAARRGGBB.
std::vector<std::uint32_t> DecodeWithLibpng(const Bytes& file, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return {};
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint32_t> px(image.width * image.height);
  if (!png_image_finish_read(&image, nullptr, px.data(), 0, nullptr)) return {};
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return px;
}
#endif

TEST(PngEncoder, ReadsBackExactly) {
  const struct { int w, h; } sizes[] = {{1, 1}, {2, 3}, {5, 2}, {17, 9}, {64, 37}};
  unsigned seed = 1;
  for (auto [w, h] : sizes)
    for (bool alpha : {false, true})
      for (PngChannelOrder order : {PngChannelOrder::Bgra, PngChannelOrder::Rgba})
        for (bool bottomUp : {false, true}) {
          const std::string name = std::to_string(w) + "x" + std::to_string(h) + (alpha ? " RGBA" : " RGB") +
                                   (order == PngChannelOrder::Rgba ? " from RGBA" : " from BGRA") +
                                   (bottomUp ? " bottom-up" : "");
          const std::vector<std::uint32_t> px = TestPixels(w, h, seed++);
          // The source in the order asked for, rows stored upside down for
          // a negative stride, with padding after each row.
          const int stride = w * 4 + 8;
          Bytes store(static_cast<std::size_t>(stride) * h, 0xEE);
          for (int y = 0; y < h; ++y) {
            const int storedRow = bottomUp ? h - 1 - y : y;
            for (int x = 0; x < w; ++x) {
              const std::uint32_t v = px[static_cast<std::size_t>(y) * w + x];
              std::uint8_t* p = &store[static_cast<std::size_t>(storedRow) * stride + x * 4];
              const std::uint8_t r = v >> 16, g = v >> 8, b = v, a = v >> 24;
              if (order == PngChannelOrder::Bgra) {
                p[0] = b, p[1] = g, p[2] = r, p[3] = a;
              } else {
                p[0] = r, p[1] = g, p[2] = b, p[3] = a;
              }
            }
          }
          PngEncodeSource source;
          source.firstRow = bottomUp ? &store[static_cast<std::size_t>(stride) * (h - 1)] : store.data();
          source.rowStride = bottomUp ? -stride : stride;
          source.width = w;
          source.height = h;
          source.order = order;
          source.keepAlpha = alpha;
          const Bytes file = EncodePng(source);

          const PngBitmap decoded = DecodePng(file.data(), file.size());
          ASSERT_EQ(decoded.Layout.Width, w) << name;
          ASSERT_EQ(decoded.Layout.Height, h) << name;
          EXPECT_EQ(decoded.Layout.PixelFormat, alpha ? PngPixelFormat::pf32bit : PngPixelFormat::pf24bit) << name;
          const std::vector<std::uint32_t> got = decoded.ToBGRA32();
          for (int i = 0; i < w * h; ++i) {
            const std::uint32_t want = alpha ? px[i] : Opaque(px[i]);
            ASSERT_EQ(got[i], want) << name << " at " << i % w << "," << i / w;
          }
#ifdef TRANSLIT_TEST_LIBPNG
          int lw = 0, lh = 0;
          const std::vector<std::uint32_t> ref = DecodeWithLibpng(file, lw, lh);
          ASSERT_EQ(lw, w) << name << " (libpng)";
          ASSERT_EQ(lh, h) << name << " (libpng)";
          for (int i = 0; i < w * h; ++i)
            ASSERT_EQ(ref[i], alpha ? px[i] : Opaque(px[i])) << name << " (libpng) at " << i % w << "," << i / w;
#endif
        }
}

// The picture above is only a proof of the filters when they are all used.
TEST(PngEncoder, UsesEveryRowFilter) {
  const std::vector<std::uint32_t> px = TestPixels(64, 96, 7);
  PixelView view{reinterpret_cast<std::uint8_t*>(const_cast<std::uint32_t*>(px.data())), 64 * 4, 64, 96};
  for (bool alpha : {false, true}) {
    const Bytes file = EncodePng(view, alpha);
    EXPECT_EQ(FilterTypes(file, 64, 96, alpha ? 4 : 3), (std::set<int>{0, 1, 2, 3, 4})) << (alpha ? "RGBA" : "RGB");
  }
}

// Data that does not compress runs over several IDAT chunks, which the
// readers join; the level changes the size, never the pixels.
TEST(PngEncoder, LargeDataAndLevels) {
  const int w = 640, h = 480;
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
  std::mt19937 random(3);
  for (auto& v : px) v = random();
  PixelView view{reinterpret_cast<std::uint8_t*>(px.data()), w * 4, w, h};

  const Bytes file = EncodePng(view, true);
  const Chunks chunks = ReadChunks(file);
  ASSERT_GE(chunks.Types.size(), 4u);
  EXPECT_EQ(chunks.Types.front(), "IHDR");
  EXPECT_EQ(chunks.Types.back(), "IEND");
  EXPECT_GE(std::count(chunks.Types.begin(), chunks.Types.end(), "IDAT"), 2);
  EXPECT_EQ(DecodePng(file.data(), file.size()).ToBGRA32(), px);

  // A smooth picture: level 0 stores, level 9 squeezes.
  for (int i = 0; i < w * h; ++i) px[i] = 0xFF000000u | (i % w) << 8 | (i / w & 0xFF);
  const Bytes stored = EncodePng(view, false, 0);
  const Bytes best = EncodePng(view, false, 9);
  EXPECT_GT(stored.size(), static_cast<std::size_t>(w) * h * 3);
  EXPECT_LT(best.size() * 20, stored.size());
  const std::vector<std::uint32_t> a = DecodePng(stored.data(), stored.size()).ToBGRA32();
  EXPECT_EQ(a, DecodePng(best.data(), best.size()).ToBGRA32());
  EXPECT_EQ(a, px);
}

TEST(PngEncoder, RefusesWhatItCannotWrite) {
  std::uint32_t pixel = 0xFF102030;
  auto* bytes = reinterpret_cast<std::uint8_t*>(&pixel);
  const struct {
    const char* name;
    PixelView view;
    int level;
  } cases[] = {
      {"no rows", {nullptr, 4, 1, 1}, 9},
      {"no width", {bytes, 4, 0, 1}, 9},
      {"no height", {bytes, 4, 1, 0}, 9},
      {"negative width", {bytes, 4, -3, 1}, 9},
      {"side above the limit", {bytes, 0, 0x7FFFFFFF, 1}, 9},
      {"level 10", {bytes, 4, 1, 1}, 10},
      {"level -1", {bytes, 4, 1, 1}, -1},
  };
  for (const auto& c : cases) EXPECT_THROW(EncodePng(c.view, false, c.level), fw::EInvalidGraphic) << c.name;
  EXPECT_NO_THROW(EncodePng(PixelView{bytes, 4, 1, 1}, false, 0));
}

}  // namespace
