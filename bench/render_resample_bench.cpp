// Resample with the Mitchell kernel from 1920 x 1080 to 960 x 540 (32-bit)
// against ImageMagick's Mitchell resize on one thread, on the same pixels.
// The Windows build measures our resampling under Wine against the
// ImageMagick median of the native run handed over by bench/run.
#if TRANSLIT_PEER
#include <magick/MagickCore.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench/render_bench.h"
#include "render/pixels/FilterKernels.h"

int main(int, char** argv) {
  using namespace translit;
  const int w = 1920, h = 1080, nw = 960, nh = 540;
  const char* what = "Resample Mitchell 1920 x 1080 -> 960 x 540, 32-bit";
  const char* peer = "ImageMagick ResizeImage Mitchell (1 thread)";
  std::mt19937 rng(4);
  std::vector<std::uint8_t> source(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = &source[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = static_cast<std::uint8_t>(x);
      p[1] = static_cast<std::uint8_t>(y);
      p[2] = static_cast<std::uint8_t>(rng());
      p[3] = 255;
    }
  std::vector<std::uint8_t> dest(static_cast<size_t>(nw) * nh * 4);
  auto runOurs = [&] {
    Resample(ByteView{source.data(), w * 4, w, h, 4}, ByteView{dest.data(), nw * 4, nw, nh, 4}, rfMitchell);
  };

#if TRANSLIT_PEER
  setenv("MAGICK_THREAD_LIMIT", "1", 1);
  MagickCoreGenesis(argv[0], MagickFalse);
  SetMagickResourceLimit(ThreadResource, 1);
  ExceptionInfo* exception = AcquireExceptionInfo();
  Image* image = ConstituteImage(w, h, "BGRA", CharPixel, source.data(), exception);
  if (!image) return 1;
  auto runMagick = [&] {
    Image* resized = ResizeImage(image, nw, nh, MitchellFilter, 1.0, exception);
    if (resized) DestroyImage(resized);
  };
  auto m = bench::Alternate(15, runOurs, runMagick);
  bench::Report("resample", what, peer, double(w) * h, m, "1");
  bench::PrintPeer("resample", m.referenceSeconds);
  DestroyImage(image);
  DestroyExceptionInfo(exception);
  MagickCoreTerminus();
#else
  (void)argv;
  bench::ReportAgainstHandedOverPeer("resample", what, peer, double(w) * h, bench::MedianSeconds(15, runOurs), "1");
#endif
  return 0;
}
