// Feeding libpng from a byte vector, for the comparisons with our decoder.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace pngtest {

struct LibpngMemoryReader {
  const std::vector<std::uint8_t>* data;
  std::size_t pos;
};

inline void LibpngReadFromMemory(png_structp png, png_bytep out, png_size_t n) {
  auto* r = static_cast<LibpngMemoryReader*>(png_get_io_ptr(png));
  if (r->pos + n > r->data->size()) png_error(png, "read past the end");
  std::memcpy(out, r->data->data() + r->pos, n);
  r->pos += n;
}

}  // namespace pngtest
