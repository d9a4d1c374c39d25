// Scalar forms of the PNG row kernels and the choice of the vector forms.
#include "render/pixels/PngKernels.h"

#include <algorithm>
#include <cstring>

#include "render/pixels/PixelKernels.h"

namespace translit::kernels {

namespace {

// The row filters of the standard from byte begin on. With BPP known at
// compile time the channels of a pixel are independent of each other, which
// is where the speed of the sub, average and Paeth loops comes from.
template <std::size_t BPP>
void UnfilterFixed(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t begin, std::size_t size) {
  // The first pixel has no left neighbour: a = c = 0.
  const std::size_t head = std::min(BPP, size);
  const std::size_t body = std::max(BPP, begin);
  switch (filter) {
    case 1:
      for (std::size_t i = body; i < size; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + cur[i - BPP]);
      break;
    case 2:
      for (std::size_t i = begin; i < size; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + prev[i]);
      break;
    case 3:
      for (std::size_t i = begin; i < head; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + (prev[i] >> 1));
      for (std::size_t i = body; i < size; ++i)
        cur[i] = static_cast<std::uint8_t>(cur[i] + ((cur[i - BPP] + prev[i]) >> 1));
      break;
    case 4:
      // With a = c = 0 the predictor is the byte above.
      for (std::size_t i = begin; i < head; ++i) cur[i] = static_cast<std::uint8_t>(cur[i] + prev[i]);
      for (std::size_t i = body; i < size; ++i) {
        int a = cur[i - BPP], b = prev[i], c = prev[i - BPP];
        int p = b - c, q = a - c;
        int pa = p < 0 ? -p : p, pb = q < 0 ? -q : q, pc = p + q < 0 ? -(p + q) : p + q;
        // The standard's order of preference: a, then b, then c.
        if (pb < pa) {
          pa = pb;
          a = b;
        }
        if (pc < pa) a = c;
        cur[i] = static_cast<std::uint8_t>(cur[i] + a);
      }
      break;
    default:
      // None, and filter types the standard does not define: bytes stay.
      break;
  }
}

}  // namespace

void UnfilterRowScalarFrom(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t begin, std::size_t size,
                           std::size_t bpp) {
  switch (bpp) {
    case 1:
      UnfilterFixed<1>(filter, cur, prev, begin, size);
      break;
    case 2:
      UnfilterFixed<2>(filter, cur, prev, begin, size);
      break;
    case 3:
      UnfilterFixed<3>(filter, cur, prev, begin, size);
      break;
    case 4:
      UnfilterFixed<4>(filter, cur, prev, begin, size);
      break;
    case 6:
      UnfilterFixed<6>(filter, cur, prev, begin, size);
      break;
    default:
      UnfilterFixed<8>(filter, cur, prev, begin, size);
      break;
  }
}

void UnfilterRowScalar(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t size, std::size_t bpp) {
  UnfilterRowScalarFrom(filter, cur, prev, 0, size, bpp);
}

void UnfilterRow(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t size, std::size_t bpp) {
  if (UseSse2()) {
    UnfilterRowSse2(filter, cur, prev, size, bpp);
  } else {
    UnfilterRowScalar(filter, cur, prev, size, bpp);
  }
}

void RgbaToBgraRowScalar(const std::uint8_t* source, std::uint8_t* target, std::size_t count) {
  // Bytes 0 and 2 of every pixel exchange places.
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t v;
    std::memcpy(&v, source + 4 * i, 4);
    v = (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
    std::memcpy(target + 4 * i, &v, 4);
  }
}

void RgbaToBgraRow(const std::uint8_t* source, std::uint8_t* target, std::size_t count) {
  if (UseSse2()) {
    RgbaToBgraRowSse2(source, target, count);
  } else {
    RgbaToBgraRowScalar(source, target, count);
  }
}

void RgbToBgrRowScalar(const std::uint8_t* source, std::uint8_t* target, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i, source += 3, target += 3) {
    target[0] = source[2];
    target[1] = source[1];
    target[2] = source[0];
  }
}

void RgbToBgrRow(const std::uint8_t* source, std::uint8_t* target, std::size_t count) {
  if (UseSse2()) {
    RgbToBgrRowSse2(source, target, count);
  } else {
    RgbToBgrRowScalar(source, target, count);
  }
}

#if !defined(__x86_64__) && !defined(__i386__)

// Elsewhere the vector names give the scalar results, so callers and tests
// need no conditions of their own.
void UnfilterRowSse2(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t size, std::size_t bpp) {
  UnfilterRowScalar(filter, cur, prev, size, bpp);
}
void RgbaToBgraRowSse2(const std::uint8_t* source, std::uint8_t* target, std::size_t count) {
  RgbaToBgraRowScalar(source, target, count);
}
void RgbToBgrRowSse2(const std::uint8_t* source, std::uint8_t* target, std::size_t count) {
  RgbToBgrRowScalar(source, target, count);
}

#endif

}  // namespace translit::kernels
