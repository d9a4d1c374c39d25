// PNG decoding speed: our decoder against libpng, libspng and stb_image on the
// same files in the same run, with zlib's inflate of the same image data alone
// as the floor of any decoder built on zlib. The files are made here,
// deterministically, by a small encoder that follows libpng's default
// settings (zlib level 6, a filter chosen per row by the least sum of
// absolute values, none for palette pictures, 8 KiB IDAT chunks), so that the
// native and the Windows runs decode the very same bytes: a photo-like
// 1920x1080 RGBA picture and a set of small skin-sized images in the colour
// types skins use.
//
// Every decoder writes 8-bit samples into freshly allocated memory, in the
// layout closest to ours it offers: libpng exactly ours (BGRA, BGR, indexes,
// grey without alpha); libspng and stb_image RGBA for the photo, and for the
// small files libspng the file's own layout, stb_image the file's own channels
// (palettes expanded, which it always does). Our bitmap is filled with the
// background colour before the rows arrive, as every target of the decoder
// is; the peers' buffers are not cleared. Each output is checked once
// against the samples the file was made from before anything is timed.
//
// The Windows build has zlib and stb_image in the same run; libpng and
// libspng exist only natively, so their native medians are handed over by
// bench/run (PEER lines) and printed beside ours under Wine for context.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/render_bench.h"
#include "render/pixels/PngDecoder.h"
#include "tests/support/PngWriter.h"

#if TRANSLIT_PEER
#include <png.h>
#include <spng.h>

#include "tests/render/pixels/pngsuite/LibpngMemory.h"
#include "bench/BenchArch.h"
#endif

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wuseless-cast"
#pragma GCC diagnostic ignored "-Wcast-qual"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

enum ColorType { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

int Channels(int colorType) {
  switch (colorType) {
    case kRgba:
      return 4;
    case kRgb:
      return 3;
    case kGreyAlpha:
      return 2;
    default:
      return 1;
  }
}

struct Picture {
  std::string name;
  int width = 0, height = 0, colorType = kRgba;
  Bytes samples;  // rows of packed 8-bit samples in PNG order
  Bytes palette;  // RGB triples
};

// ---------------------------------------------------------------------------
// The encoder.

// The sum of a filtered row's bytes taken as signed: the usual guess at
// which filter compresses best.
unsigned long FilteredCost(const Bytes& filtered) {
  unsigned long sum = 0;
  for (std::size_t i = 1; i < filtered.size(); ++i)
    sum += static_cast<unsigned long>(std::abs(static_cast<std::int8_t>(filtered[i])));
  return sum;
}

Bytes Encode(const Picture& p) {
  const std::size_t bpp = static_cast<std::size_t>(Channels(p.colorType));
  const std::size_t rowBytes = static_cast<std::size_t>(p.width) * bpp;
  const int bitsPerPixel = static_cast<int>(bpp) * 8;
  const bool adaptive = p.colorType != kPalette;
  Bytes filtered;
  filtered.reserve((rowBytes + 1) * static_cast<std::size_t>(p.height));
  Bytes prev(rowBytes, 0);
  for (int y = 0; y < p.height; ++y) {
    const auto first = p.samples.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<std::size_t>(y));
    Bytes row(first, first + static_cast<std::ptrdiff_t>(rowBytes));
    Bytes best = pngtest::FilterRow(row, prev, 0, bitsPerPixel);
    if (adaptive) {
      unsigned long bestCost = FilteredCost(best);
      for (int type = 1; type < 5; ++type) {
        Bytes candidate = pngtest::FilterRow(row, prev, type, bitsPerPixel);
        const unsigned long cost = FilteredCost(candidate);
        if (cost < bestCost) {
          bestCost = cost;
          best.swap(candidate);
        }
      }
    }
    filtered.insert(filtered.end(), best.begin(), best.end());
    prev.swap(row);
  }

  z_stream z{};
  if (deflateInit2(&z, 6, Z_DEFLATED, 15, 8, adaptive ? Z_FILTERED : Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  Bytes compressed(deflateBound(&z, static_cast<uLong>(filtered.size())));
  z.next_in = filtered.data();
  z.avail_in = static_cast<uInt>(filtered.size());
  z.next_out = compressed.data();
  z.avail_out = static_cast<uInt>(compressed.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  compressed.resize(z.total_out);
  deflateEnd(&z);

  std::vector<pngtest::Chunk> chunks{{"IHDR", pngtest::Ihdr(static_cast<std::uint32_t>(p.width),
                                                            static_cast<std::uint32_t>(p.height), 8, p.colorType)}};
  if (!p.palette.empty()) chunks.push_back({"PLTE", p.palette});
  for (pngtest::Chunk& idat : pngtest::SplitIdat(compressed, {8192})) chunks.push_back(std::move(idat));
  chunks.push_back({"IEND", {}});
  return pngtest::Assemble(chunks);
}

// ---------------------------------------------------------------------------
// The pictures.

// A smooth scene with texture: gradients, soft discs, fine noise and an alpha
// vignette, so that the filters and the compressor see what a photo gives them.
Picture PhotoLike(int width, int height, std::uint32_t seed) {
  Picture p{"photo", width, height, kRgba, {}, {}};
  p.samples.resize(static_cast<std::size_t>(width) * height * 4);
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(0.0, 3.0);
  struct Disc {
    double x, y, r, cr, cg, cb;
  };
  std::vector<Disc> discs;
  discs.reserve(24);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  for (int i = 0; i < 24; ++i)
    discs.push_back({u(rng) * width, u(rng) * height, 40 + u(rng) * 250, u(rng) * 255, u(rng) * 255, u(rng) * 255});
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      double fx = double(x) / width, fy = double(y) / height;
      double r = 90 + 120 * fx + 30 * std::sin(fy * 7.0);
      double g = 60 + 100 * fy + 25 * std::cos(fx * 5.0 + fy * 3.0);
      double b = 140 - 80 * fx * fy + 20 * std::sin((fx + fy) * 11.0);
      for (const Disc& d : discs) {
        double dx = x - d.x, dy = y - d.y, dist = std::sqrt(dx * dx + dy * dy);
        if (dist < d.r) {
          double w = 0.6 * (1 - dist / d.r);
          r += (d.cr - r) * w;
          g += (d.cg - g) * w;
          b += (d.cb - b) * w;
        }
      }
      double vx = fx - 0.5, vy = fy - 0.5;
      double a = 255 * std::clamp(1.3 - 2.0 * std::sqrt(vx * vx + vy * vy), 0.0, 1.0);
      std::uint8_t* px = &p.samples[(static_cast<std::size_t>(y) * width + x) * 4];
      px[0] = static_cast<std::uint8_t>(std::clamp(r + noise(rng), 0.0, 255.0));
      px[1] = static_cast<std::uint8_t>(std::clamp(g + noise(rng), 0.0, 255.0));
      px[2] = static_cast<std::uint8_t>(std::clamp(b + noise(rng), 0.0, 255.0));
      px[3] = static_cast<std::uint8_t>(a);
    }
  return p;
}

// Small pictures as skins hold them: glyphs, button and frame pieces,
// gradients with rounded, anti-aliased edges.
std::vector<Picture> SkinSized(std::uint32_t seed) {
  std::vector<Picture> set;
  std::mt19937 rng(seed);
  const int sizes[][2] = {{16, 16}, {24, 24},  {32, 32}, {48, 48}, {75, 23},  {120, 30},
                          {64, 64}, {200, 21}, {9, 180}, {90, 90}, {160, 44}, {36, 108}};
  const int types[] = {kRgba, kRgba, kRgba, kRgb, kPalette, kGreyAlpha};
  int n = 0;
  for (int round = 0; round < 4; ++round)
    for (const auto& s : sizes) {
      Picture p;
      p.width = s[0];
      p.height = s[1];
      p.colorType = types[n % 6];
      p.name = "skin" + std::to_string(n++);
      const int channels = Channels(p.colorType);
      if (p.colorType == kPalette)
        for (int i = 0; i < 256; ++i)
          p.palette.insert(p.palette.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                             static_cast<std::uint8_t>(i / 2)});
      const int base = static_cast<int>(rng() % 200);
      for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
          double cx = (x + 0.5) / p.width - 0.5, cy = (y + 0.5) / p.height - 0.5;
          double edge = std::clamp((0.48 - std::max(std::abs(cx), std::abs(cy))) * 40.0, 0.0, 1.0);
          int shade = base + (40 * y) / p.height + static_cast<int>(rng() % 3);
          std::uint8_t v[4] = {
              static_cast<std::uint8_t>(std::min(255, shade)), static_cast<std::uint8_t>(std::min(255, shade + 20)),
              static_cast<std::uint8_t>(std::min(255, shade + 35 - x % 7)), static_cast<std::uint8_t>(255 * edge)};
          if (channels == 1) p.samples.push_back(v[0]);
          if (channels == 2) p.samples.insert(p.samples.end(), {v[0], v[3]});
          if (channels == 3) p.samples.insert(p.samples.end(), v, v + 3);
          if (channels == 4) p.samples.insert(p.samples.end(), v, v + 4);
        }
      set.push_back(std::move(p));
    }
  return set;
}

// What a decoder should give for a picture: layout "ours" (BGR order, grey
// without alpha, indexes), "file" (the samples as stored) or "expanded"
// (palette entries looked up, stb_image's way).
enum class Layout { Ours, File, Expanded };

Bytes Expected(const Picture& p, Layout layout) {
  if (layout == Layout::File) return p.samples;
  Bytes out;
  const int channels = Channels(p.colorType);
  for (std::size_t i = 0; i < p.samples.size(); i += static_cast<std::size_t>(channels)) {
    const std::uint8_t* s = &p.samples[i];
    if (layout == Layout::Expanded) {
      if (p.colorType == kPalette)
        out.insert(out.end(), p.palette.begin() + 3 * s[0], p.palette.begin() + 3 * s[0] + 3);
      else
        out.insert(out.end(), s, s + channels);
      continue;
    }
    switch (p.colorType) {
      case kRgba:
        out.insert(out.end(), {s[2], s[1], s[0], s[3]});
        break;
      case kRgb:
        out.insert(out.end(), {s[2], s[1], s[0]});
        break;
      default:
        out.push_back(s[0]);
        break;  // grey (alpha dropped) or index
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// The decoders. Each returns the decoded rows in memory it allocated itself,
// as it wrote them: the peers' buffers are not cleared first, and stb_image's
// own allocation is kept.

struct Output {
  std::shared_ptr<std::uint8_t> data;
  std::size_t size = 0;
  Bytes Copy() const { return data ? Bytes(data.get(), data.get() + size) : Bytes(); }
};

Output Uncleared(std::size_t size) {
  return {std::shared_ptr<std::uint8_t>(new std::uint8_t[size], std::default_delete<std::uint8_t[]>()), size};
}

struct File {
  Bytes png;
  Bytes idat;  // the zlib stream alone, for the floor
  std::size_t filteredBytes = 0;
  int colorType = kRgba;
};

Output DecodeOurs(const File& f) {
  auto bitmap = std::make_shared<translit::PngBitmap>(translit::DecodePng(f.png.data(), f.png.size()));
  return {std::shared_ptr<std::uint8_t>(bitmap, bitmap->Pixels.data()), bitmap->Pixels.size()};
}

// stb_image: RGBA for 4-channel files, else the file's channels.
Output DecodeStb(const File& f) {
  int w = 0, h = 0, n = 0;
  const int want = f.colorType == kRgba ? 4 : 0;
  stbi_uc* pixels = stbi_load_from_memory(f.png.data(), static_cast<int>(f.png.size()), &w, &h, &n, want);
  if (!pixels) throw std::runtime_error("stb_image failed");
  return {std::shared_ptr<std::uint8_t>(pixels, stbi_image_free),
          static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * static_cast<std::size_t>(want ? want : n)};
}

// zlib alone: the image data inflated into a buffer of the filtered rows.
Output InflateOnly(const File& f) {
  Output out = Uncleared(f.filteredBytes);
  z_stream z{};
  inflateInit(&z);
  z.next_in = const_cast<Bytef*>(f.idat.data());
  z.avail_in = static_cast<uInt>(f.idat.size());
  z.next_out = out.data.get();
  z.avail_out = static_cast<uInt>(out.size);
  const int result = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  if (result != Z_STREAM_END) throw std::runtime_error("inflate failed");
  return out;
}

#if TRANSLIT_PEER
// libpng producing the rows our decoder produces: blue first, grey without alpha.
Output DecodeLibpng(const File& f) {
  Output pixels;
  pngtest::LibpngMemoryReader reader{&f.png, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng failed");
  png_set_read_fn(png, &reader, pngtest::LibpngReadFromMemory);
  png_read_info(png, info);
  const int type = png_get_color_type(png, info);
  if (type & PNG_COLOR_MASK_COLOR) png_set_bgr(png);
  if (type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_strip_alpha(png);
  png_read_update_info(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  pixels = Uncleared(rowBytes * height);
  for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, pixels.data.get() + rowBytes * y, nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return pixels;
}

// libspng: RGBA for RGBA files, else the file's own layout.
Output DecodeSpng(const File& f) {
  spng_ctx* ctx = spng_ctx_new(0);
  const int fmt = f.colorType == kRgba ? SPNG_FMT_RGBA8 : SPNG_FMT_PNG;
  std::size_t size = 0;
  if (!ctx || spng_set_png_buffer(ctx, f.png.data(), f.png.size()) || spng_decoded_image_size(ctx, fmt, &size))
    throw std::runtime_error("libspng failed");
  Output out = Uncleared(size);
  if (spng_decode_image(ctx, out.data.get(), out.size, fmt, 0)) throw std::runtime_error("libspng failed");
  spng_ctx_free(ctx);
  return out;
}
#endif

File Prepare(const Picture& p) {
  File f;
  f.png = Encode(p);
  f.colorType = p.colorType;
  f.filteredBytes = (static_cast<std::size_t>(p.width) * static_cast<std::size_t>(Channels(p.colorType)) + 1) *
                    static_cast<std::size_t>(p.height);
  // The IDAT payloads, one after another.
  for (std::size_t at = 8; at + 12 <= f.png.size();) {
    const std::uint32_t length = (std::uint32_t{f.png[at]} << 24) | (std::uint32_t{f.png[at + 1]} << 16) |
                                 (std::uint32_t{f.png[at + 2]} << 8) | f.png[at + 3];
    if (std::memcmp(&f.png[at + 4], "IDAT", 4) == 0)
      f.idat.insert(f.idat.end(), f.png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                    f.png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
    at += 12 + length;
  }
  return f;
}

struct Decoder {
  std::string name;
  std::function<Output(const File&)> decode;
  Layout layout;  // what its output is checked against
  bool peer;      // a reference; zlib alone and ours are not
};

struct Workload {
  std::string name;
  std::vector<Picture> pictures;
  std::vector<File> files;
  double pixels = 0;
  int repeat = 1;
  std::vector<double> medians;  // seconds per pass, one per decoder
};

// Wall-clock seconds of one pass, and the processor time it took where the
// C library counts that (natively; on Windows clock() is wall-clock time).
struct PassTime {
  double wall = 0, processor = 0;
};

PassTime TimePass(const Workload& w, const Decoder& d) {
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t startClock = std::clock();
  std::size_t sink = 0;
  for (int r = 0; r < w.repeat; ++r)
    for (const File& f : w.files) sink += d.decode(f).size;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double processor = static_cast<double>(std::clock() - startClock) / CLOCKS_PER_SEC;
  if (sink == 0) std::printf("nothing decoded\n");
  return {wall / w.repeat, processor / w.repeat};
}

// Median and quartiles.
struct Spread {
  double median = 0, q1 = 0, q3 = 0;
};

Spread SpreadOf(std::vector<double> t) {
  if (t.empty()) return {};
  std::sort(t.begin(), t.end());
  return {t[t.size() / 2], t[t.size() / 4], t[t.size() * 3 / 4]};
}

}  // namespace

int main() {
  std::vector<Decoder> decoders = {
    {"ours", DecodeOurs, Layout::Ours, false},
#if TRANSLIT_PEER
    {"libpng", DecodeLibpng, Layout::Ours, true},
    {"libspng", DecodeSpng, Layout::File, true},
#endif
    {"stb_image", DecodeStb, Layout::Expanded, true},
    {"zlib inflate alone", InflateOnly, Layout::File, false},
  };

  std::vector<Workload> loads(2);
  loads[0].name = "photo-like 1920x1080 RGBA";
  loads[0].pictures.push_back(PhotoLike(1920, 1080, 2024));
  loads[0].repeat = 1;
  loads[1].name = "48 skin-sized images (RGBA, RGB, indexed, grey+alpha)";
  loads[1].pictures = SkinSized(7);
  loads[1].repeat = 8;
  for (Workload& w : loads)
    for (const Picture& p : w.pictures) {
      w.files.push_back(Prepare(p));
      w.pixels += double(p.width) * p.height;
    }

  // Every decoder once on every file, against the samples the file holds.
  for (Workload& w : loads)
    for (std::size_t i = 0; i < w.files.size(); ++i)
      for (const Decoder& d : decoders) {
        if (!d.peer && d.name != "ours") continue;
        const Picture& p = w.pictures[i];
        const Layout layout = d.layout == Layout::File && p.colorType == kRgba ? Layout::File : d.layout;
        if (d.decode(w.files[i]).Copy() != Expected(p, layout)) {
          std::printf("%s decodes %s of %s wrongly\n", d.name.c_str(), p.name.c_str(), w.name.c_str());
          return 1;
        }
      }

  // For a profiler run: PNG_BENCH_ROUNDS=1, PNG_BENCH_ONLY=ours times one
  // decoder, PNG_BENCH_WORKLOAD=0 or 1 one workload.
  const char* roundsEnv = std::getenv("PNG_BENCH_ROUNDS");
  // Many short rounds: on a shared machine the load changes within seconds,
  // and every decoder should meet it alike.
  const int rounds = roundsEnv ? std::max(1, std::atoi(roundsEnv)) : 41;
  const char* only = std::getenv("PNG_BENCH_ONLY");
  const char* onlyWorkload = std::getenv("PNG_BENCH_WORKLOAD");
  for (Workload& w : loads) {
    if (onlyWorkload && &w - loads.data() != std::atoi(onlyWorkload)) continue;
    std::vector<std::vector<double>> times(decoders.size()), processor(decoders.size());
    for (int r = 0; r < rounds; ++r)
      // Who goes first turns round by round, so that none always finds the caches warm.
      for (std::size_t k = 0; k < decoders.size(); ++k) {
        const std::size_t i = (k + static_cast<std::size_t>(r)) % decoders.size();
        if (only && decoders[i].name != only) continue;
        const PassTime t = TimePass(w, decoders[i]);
        times[i].push_back(t.wall);
        processor[i].push_back(t.processor);
      }
    std::size_t bytes = 0;
    for (const File& f : w.files) bytes += f.png.size();
    std::printf("%s, %zu bytes of PNG, per pass:\n", w.name.c_str(), bytes);
    for (std::size_t i = 0; i < decoders.size(); ++i) {
      const Spread wall = SpreadOf(times[i]);
      w.medians.push_back(wall.median);
      std::printf("  %-20s %8.2f ms (quartiles %.2f-%.2f) %7.1f Mpix/s", decoders[i].name.c_str(), wall.median * 1e3,
                  wall.q1 * 1e3, wall.q3 * 1e3, wall.median > 0 ? w.pixels / wall.median / 1e6 : 0.0);
#if !defined(_WIN32)
      const Spread cpu = SpreadOf(processor[i]);
      std::printf("; processor time %.2f ms (%.2f-%.2f)", cpu.median * 1e3, cpu.q1 * 1e3, cpu.q3 * 1e3);
#endif
      std::printf("\n");
    }
  }
  if (only || onlyWorkload) return 0;

  // Ours against the fastest peer of each workload, both workloads counted once.
  double ours = 0, reference = 0;
  for (Workload& w : loads) {
    std::size_t fastest = 0;
    for (std::size_t i = 0; i < decoders.size(); ++i)
      if (decoders[i].peer && (fastest == 0 || w.medians[i] < w.medians[fastest])) fastest = i;
    std::printf("%s: ours / %s (fastest peer) %.3f, ours / zlib inflate alone %.3f\n", w.name.c_str(),
                decoders[fastest].name.c_str(), w.medians[0] / w.medians[fastest], w.medians[0] / w.medians.back());
    ours += w.medians[0];
    reference += w.medians[fastest];
  }
  std::printf("median of %d rounds, the decoders' order turning each round\n", rounds);
#if TRANSLIT_PEER
  std::printf("libpng %s, libspng %s\n", png_get_libpng_ver(nullptr), spng_version_string());
  for (std::size_t l = 0; l < loads.size(); ++l)
    for (std::size_t i = 0; i < decoders.size(); ++i)
      if (decoders[i].name == "libpng" || decoders[i].name == "libspng")
        translit::bench::PrintPeer("png-" + decoders[i].name + "-" + std::to_string(l), loads[l].medians[i]);
  const char* suffix = "";
#else
  // The native peers, handed over, for context only: they ran 64-bit and
  // without Wine, so the in-run peer is what ours is measured against here.
  for (std::size_t l = 0; l < loads.size(); ++l)
    for (const char* peer : {"libpng", "libspng"}) {
      const double s = translit::bench::HandedOverPeerSeconds("png-" + std::string(peer) + "-" + std::to_string(l));
      if (s > 0)
        std::printf("%s, %s natively (handed over): %.2f ms; ours under Wine / it %.3f\n", loads[l].name.c_str(), peer,
                    s * 1e3, loads[l].medians[0] / s);
    }
  const char* suffix = "-wine";
#endif
  std::printf("RESULT png%s ours=%.2fms reference=%.2fms ratio=%.3f target=1.0%s\n", suffix, ours * 1e3,
              reference * 1e3, ours / reference, translit::bench::kArchField);
  return 0;
}
