// libFuzzer entry point of the PNG decoder: any bytes decode or fail with one
// of the framework's exceptions, without memory errors or undefined behaviour.
#include <cstddef>
#include <cstdint>

#include "render/pixels/PngDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    // A small pixel limit keeps each run fast; larger pictures take the same paths.
    translit::PngBitmap bitmap = translit::DecodePng(data, size, std::uint64_t{1} << 20);
    volatile std::size_t sink = bitmap.ToBGRA32().size();
    (void)sink;
  } catch (const fw::Exception&) {
  }
  return 0;
}
