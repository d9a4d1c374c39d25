// PNG decoding speed: our decoder against libpng on the same files in the same
// run. The files are made here, deterministically, and written by libpng with
// its default settings: a photo-like 1920x1080 RGBA picture and a set of small
// skin-sized images in the colour types skins use. Both decoders produce the
// same rows (BGRA, BGR, indexes or grey) into freshly allocated memory; the
// outputs are compared once before timing.
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/pixels/PngDecoder.h"
#include "tests/render/pixels/pngsuite/LibpngMemory.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Picture {
  std::string name;
  int width = 0, height = 0, colorType = PNG_COLOR_TYPE_RGBA;
  Bytes samples;  // rows of packed 8-bit samples in PNG order
  std::vector<png_color> palette;
};

void WriteToMemory(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
void Flush(png_structp) {}

Bytes EncodeWithLibpng(const Picture& p) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng could not write " + p.name);
  png_set_write_fn(png, &out, WriteToMemory, Flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height), 8, p.colorType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!p.palette.empty()) png_set_PLTE(png, info, p.palette.data(), static_cast<int>(p.palette.size()));
  png_write_info(png, info);
  const int channels = p.colorType == PNG_COLOR_TYPE_RGBA         ? 4
                       : p.colorType == PNG_COLOR_TYPE_RGB        ? 3
                       : p.colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                  : 1;
  for (int y = 0; y < p.height; ++y)
    png_write_row(png, p.samples.data() + static_cast<std::size_t>(y) * p.width * channels);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

// A smooth scene with texture: gradients, soft discs, fine noise and an alpha
// vignette, so that the filters and the compressor see what a photo gives them.
Picture PhotoLike(int width, int height, std::uint32_t seed) {
  Picture p{"photo", width, height, PNG_COLOR_TYPE_RGBA, {}, {}};
  p.samples.resize(static_cast<std::size_t>(width) * height * 4);
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(0.0, 3.0);
  struct Disc {
    double x, y, r, cr, cg, cb;
  };
  std::vector<Disc> discs;
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
  const int sizes[][2] = {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {75, 23}, {120, 30},
                          {64, 64}, {200, 21}, {9, 180}, {90, 90}, {160, 44}, {36, 108}};
  const int types[] = {PNG_COLOR_TYPE_RGBA, PNG_COLOR_TYPE_RGBA, PNG_COLOR_TYPE_RGBA, PNG_COLOR_TYPE_RGB,
                       PNG_COLOR_TYPE_PALETTE, PNG_COLOR_TYPE_GRAY_ALPHA};
  int n = 0;
  for (int round = 0; round < 4; ++round)
    for (const auto& s : sizes) {
      Picture p;
      p.width = s[0];
      p.height = s[1];
      p.colorType = types[n % 6];
      p.name = "skin" + std::to_string(n++);
      const int channels = p.colorType == PNG_COLOR_TYPE_RGBA         ? 4
                           : p.colorType == PNG_COLOR_TYPE_RGB        ? 3
                           : p.colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                      : 1;
      if (p.colorType == PNG_COLOR_TYPE_PALETTE)
        for (int i = 0; i < 256; ++i)
          p.palette.push_back({static_cast<png_byte>(i), static_cast<png_byte>(255 - i), static_cast<png_byte>(i / 2)});
      const int base = static_cast<int>(rng() % 200);
      for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
          double cx = (x + 0.5) / p.width - 0.5, cy = (y + 0.5) / p.height - 0.5;
          double edge = std::clamp((0.48 - std::max(std::abs(cx), std::abs(cy))) * 40.0, 0.0, 1.0);
          int shade = base + (40 * y) / p.height + static_cast<int>(rng() % 3);
          std::uint8_t v[4] = {static_cast<std::uint8_t>(std::min(255, shade)),
                               static_cast<std::uint8_t>(std::min(255, shade + 20)),
                               static_cast<std::uint8_t>(std::min(255, shade + 35 - x % 7)),
                               static_cast<std::uint8_t>(255 * edge)};
          if (channels == 1) p.samples.push_back(v[0]);
          if (channels == 2) p.samples.insert(p.samples.end(), {v[0], v[3]});
          if (channels == 3) p.samples.insert(p.samples.end(), v, v + 3);
          if (channels == 4) p.samples.insert(p.samples.end(), v, v + 4);
        }
      set.push_back(std::move(p));
    }
  return set;
}

// libpng producing the rows our decoder produces: blue first, grey without alpha.
Bytes DecodeWithLibpng(const Bytes& file) {
  Bytes pixels;
  pngtest::LibpngMemoryReader reader{&file, 0};
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
  pixels.resize(rowBytes * height);
  for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, pixels.data() + rowBytes * y, nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return pixels;
}

Bytes DecodeOurs(const Bytes& file) { return translit::DecodePng(file.data(), file.size()).Pixels; }

double Seconds(const std::chrono::steady_clock::time_point& since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

template <class F>
double TimeSet(const std::vector<Bytes>& files, int repeat, F decode) {
  auto start = std::chrono::steady_clock::now();
  std::size_t sink = 0;
  for (int r = 0; r < repeat; ++r)
    for (const Bytes& f : files) sink += decode(f).size();
  double t = Seconds(start);
  if (sink == 0) std::printf("nothing decoded\n");
  return t / repeat;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Workload {
  std::string name;
  std::vector<Bytes> files;
  double pixels = 0;
  int repeat = 1;
  double ours = 0, reference = 0;
};

}  // namespace

int main() {
  std::vector<Workload> loads(2);
  Picture photo = PhotoLike(1920, 1080, 2024);
  loads[0].name = "photo-like 1920x1080 RGBA";
  loads[0].files.push_back(EncodeWithLibpng(photo));
  loads[0].pixels = 1920.0 * 1080.0;
  loads[0].repeat = 2;
  loads[1].name = "48 skin-sized images (RGBA, RGB, indexed, grey+alpha)";
  for (const Picture& p : SkinSized(7)) {
    loads[1].files.push_back(EncodeWithLibpng(p));
    loads[1].pixels += double(p.width) * p.height;
  }
  loads[1].repeat = 40;

  for (Workload& w : loads)
    for (const Bytes& f : w.files)
      if (DecodeOurs(f) != DecodeWithLibpng(f)) {
        std::printf("the decoders disagree on a file of %s\n", w.name.c_str());
        return 1;
      }

  // PNG_BENCH_ROUNDS=1 for a profiler run.
  const char* roundsEnv = std::getenv("PNG_BENCH_ROUNDS");
  const int rounds = roundsEnv ? std::max(1, std::atoi(roundsEnv)) : 11;
  for (Workload& w : loads) {
    std::vector<double> ours, ref;
    for (int r = 0; r < rounds; ++r) {
      ours.push_back(TimeSet(w.files, w.repeat, DecodeOurs));
      ref.push_back(TimeSet(w.files, w.repeat, DecodeWithLibpng));
    }
    w.ours = Median(ours);
    w.reference = Median(ref);
    std::size_t bytes = 0;
    for (const Bytes& f : w.files) bytes += f.size();
    std::printf("%s (%zu bytes of PNG): ours %.2f ms, libpng %.2f ms per pass; %.1f vs %.1f Mpix/s; time ratio %.3f\n",
                w.name.c_str(), bytes, w.ours * 1e3, w.reference * 1e3, w.pixels / w.ours / 1e6,
                w.pixels / w.reference / 1e6, w.ours / w.reference);
  }
  // Both workloads together, each pass counted once.
  double pixels = loads[0].pixels + loads[1].pixels;
  double ours = loads[0].ours + loads[1].ours, reference = loads[0].reference + loads[1].reference;
  std::printf("median of %d alternating rounds; %s\n", rounds, png_get_libpng_ver(nullptr));
  std::printf("RESULT png ours=%.1fMpix/s reference=%.1fMpix/s ratio=%.3f target=1.0\n", pixels / ours / 1e6,
              pixels / reference / 1e6, ours / reference);
  return 0;
}
