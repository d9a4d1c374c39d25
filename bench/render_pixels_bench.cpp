// One pixel operation of the bitmap layer against memcpy of the destination
// picture (the memory-bandwidth bound), on a 1920 x 1080 picture and on
// button-sized 64 x 24 pictures painted over and over. The operation is
// chosen at build time (RENDER_BENCH_KERNEL), one executable per operation.
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/render_bench.h"
#include "render/pixels/AlphaKernels.h"
#include "render/pixels/GradientKernels.h"

namespace {

using namespace translit;

// Bottom-up rows, as DIB sections store them.
struct Picture {
  int width, height;
  std::vector<std::uint32_t> pixels;
  Picture(int w, int h, std::mt19937& rng) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {
    for (auto& p : pixels) p = static_cast<std::uint32_t>(rng());
  }
  PixelView View() {
    return {reinterpret_cast<std::uint8_t*>(pixels.data() + static_cast<size_t>(width) * (height - 1)),
            -static_cast<std::ptrdiff_t>(width) * 4, width, height};
  }
  size_t Bytes() const { return pixels.size() * 4; }
};

const std::string kernel = RENDER_BENCH_KERNEL;
const TsGradArray vertical = ParseGradient("255;16711680;40;0;0;16711680;65280;60;0;0");
const TsGradArray horizontal = ParseGradient("255;16711680;40;1;0;16711680;65280;60;1;0");

void Run(Picture& dest, Picture& source) {
  const PixelRect all{0, 0, dest.width, dest.height};
  if (kernel == "mix") {
    MixBitmaps(dest.View(), source.View(), 100);
  } else if (kernel == "compose") {
    ComposeAlpha(all, all, dest.View(), false, ParentPixels{}, source.View());
  } else if (kernel == "fill") {
    FillBitmapRect(dest.View(), all, 0x00336699);
  } else if (kernel == "tint") {
    TintRect(dest.View(), all, 40, 0x00336699);
  } else if (kernel == "gradient-v") {
    PaintGradient(dest.View(), all, vertical);
  } else if (kernel == "gradient-h") {
    PaintGradient(dest.View(), all, horizontal);
  }
}

volatile std::uint32_t sink;

}  // namespace

int main() {
  std::mt19937 rng(1);
  {
    Picture dest(1920, 1080, rng), source(1920, 1080, rng), copy(1920, 1080, rng);
    auto m = bench::Alternate(
        41, [&] { Run(dest, source); },
        [&] {
          std::memcpy(dest.pixels.data(), copy.pixels.data(), dest.Bytes());
          sink = dest.pixels[12345];
        });
    bench::Report(kernel, kernel + " on 1920 x 1080", "memcpy of the destination", 1920.0 * 1080, m, "3");
  }
  {
    // 64 items of 64 x 24, each painted 40 times a round.
    std::vector<Picture> dests, sources, copies;
    for (int i = 0; i < 64; ++i) {
      dests.emplace_back(64, 24, rng);
      sources.emplace_back(64, 24, rng);
      copies.emplace_back(64, 24, rng);
    }
    const int repeats = 40;
    auto m = bench::Alternate(
        41,
        [&] {
          for (int r = 0; r < repeats; ++r)
            for (size_t i = 0; i < dests.size(); ++i) Run(dests[i], sources[i]);
        },
        [&] {
          for (int r = 0; r < repeats; ++r)
            for (size_t i = 0; i < dests.size(); ++i) {
              std::memcpy(dests[i].pixels.data(), copies[i].pixels.data(), dests[i].Bytes());
              sink = dests[i].pixels[7];
            }
        });
    // The bound is set for the large picture; small items are compared with
    // a memcpy that runs from the first-level cache.
    bench::Report(kernel + "-small", kernel + " on 64 x 24 items", "memcpy of the destination",
                  64.0 * 24 * 64 * repeats, m, "none");
  }
  return 0;
}
