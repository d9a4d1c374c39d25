// BlurGray8 with sigma 2 on a 1920 x 1080 grey mask against libvips'
// gaussblur on one thread, on the same bytes. libvips is given a minimum
// amplitude that makes its mask as wide as ours (11 taps), so that both do
// the same work. The Windows build measures our blur under Wine against the
// libvips median of the native run handed over by bench/run.
#if TRANSLIT_PEER
#include <vips/vips.h>
#endif

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench/render_bench.h"
#include "render/pixels/FilterKernels.h"

int main(int, char** argv) {
  using namespace translit;
  const int w = 1920, h = 1080;
  const double sigma = 2.0;
  const char* what = "BlurGray8 sigma 2 on 1920 x 1080 (copy of the input included)";
  const char* peer = "libvips gaussblur (1 thread)";
  std::mt19937 rng(3);
  std::vector<std::uint8_t> input(static_cast<size_t>(w) * h);
  // Text-like: blocks of white on black with some noise.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      input[static_cast<size_t>(y) * w + x] = ((x / 7 + y / 11) % 3 == 0) ? 255 : static_cast<std::uint8_t>(rng() % 32);
  std::vector<std::uint8_t> ours = input;
  auto runOurs = [&] {
    ours = input;
    BlurGray8(GrayView{ours.data(), w, w, h}, sigma);
  };

#if TRANSLIT_PEER
  setenv("VIPS_CONCURRENCY", "1", 1);
  if (VIPS_INIT(argv[0])) vips_error_exit(nullptr);
  vips_concurrency_set(1);
  vips_cache_set_max(0);
  const double minAmplitude = 0.04;
  std::vector<std::uint8_t> theirs;
  VipsImage* mask = nullptr;
  vips_gaussmat(&mask, sigma, minAmplitude, "separable", TRUE, "precision", VIPS_PRECISION_INTEGER, nullptr);
  const int vipsTaps = mask ? mask->Xsize : 0;
  if (mask) g_object_unref(mask);

  auto runVips = [&] {
    VipsImage* in = vips_image_new_from_memory(input.data(), input.size(), w, h, 1, VIPS_FORMAT_UCHAR);
    VipsImage* out = nullptr;
    if (vips_gaussblur(in, &out, sigma, "min_ampl", minAmplitude, nullptr)) vips_error_exit(nullptr);
    size_t size = 0;
    void* bytes = vips_image_write_to_memory(out, &size);
    theirs.assign(static_cast<std::uint8_t*>(bytes), static_cast<std::uint8_t*>(bytes) + size);
    g_free(bytes);
    g_object_unref(out);
    g_object_unref(in);
  };
  auto m = bench::Alternate(21, runOurs, runVips);

  double diff = 0;
  for (size_t i = 0; i < ours.size() && i < theirs.size(); ++i) diff += std::abs(int(ours[i]) - int(theirs[i]));
  std::printf("kernel: ours %d taps, libvips %d taps; mean absolute difference of the results %.3f\n",
              2 * MakeBlurKernel(sigma).Radius + 1, vipsTaps, diff / static_cast<double>(ours.size()));
  bench::Report("blur", what, peer, double(w) * h, m, "1");
  bench::PrintPeer("blur", m.referenceSeconds);
  vips_shutdown();
#else
  (void)argv;
  bench::ReportAgainstHandedOverPeer("blur", what, peer, double(w) * h, bench::MedianSeconds(21, runOurs), "1");
#endif
  return 0;
}
