// BMP headers of any bytes, as a file and as a packed DIB: refused with a
// fault, or a layout whose palette and pixels lie wholly inside the input.
// Every byte the layout names is read (the sanitizers see a read outside),
// and the layout's own sums are checked.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/pixels/BmpHeader.h"

namespace {

void Check(const std::uint8_t* data, std::size_t size, const translit::BmpLayout& l) {
  if (l.PixelOffset > size || l.PixelBytes > size - l.PixelOffset) std::abort();
  if (l.ColorsOffset + static_cast<std::size_t>(l.ColorCount) * l.ColorBytes > l.PixelOffset) std::abort();
  if (l.Width <= 0 || l.AbsHeight() <= 0 || l.RowBytes == 0) std::abort();
  const bool rle = l.Compression == translit::kBmpRle8 || l.Compression == translit::kBmpRle4;
  if (!rle && l.PixelBytes != l.RowBytes * static_cast<std::size_t>(l.AbsHeight())) std::abort();
  std::uint32_t sum = 0;
  for (std::uint32_t i = 0; i < l.ColorCount; ++i) sum += l.Color(data, i);
  for (std::size_t i = 0; i < l.PixelBytes; ++i) sum += data[l.PixelOffset + i];
  volatile std::uint32_t sink = sum;
  (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  translit::BmpLayout layout;
  if (translit::ParseBmpFile(data, size, layout) == translit::BmpFault::None) Check(data, size, layout);
  // The same bytes after the file header as a resource's packed DIB.
  if (size > 14 && translit::ParseDib(data + 14, size - 14, 0, layout) == translit::BmpFault::None)
    Check(data + 14, size - 14, layout);
  return 0;
}
