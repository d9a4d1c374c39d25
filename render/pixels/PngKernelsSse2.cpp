// SSE2 forms of the PNG row kernels. Everything defined below is compiled for
// SSE2, so the rest of the 32-bit program still runs on CPUs without it; it is
// only called after a CPU check. Headers with inline code come before the
// switch, so that none of it is compiled for SSE2 here.
#include "render/pixels/PngKernels.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)

#pragma GCC target("sse2")
#include <emmintrin.h>

namespace translit::kernels {

namespace {

// One pixel of 3 or 4 bytes is worked on in the low 32 bits of a register.
// For 3-byte pixels the fourth byte loaded belongs to the next pixel: it is
// carried along and never stored. A pixel is stored as its own bytes only: a
// 4-byte store would overlap the next pixel's load, which then waits for it.
inline __m128i Load4(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return _mm_cvtsi32_si128(static_cast<int>(v));
}

template <std::size_t BPP>
inline void StorePixel(std::uint8_t* p, __m128i v) {
  const auto x = static_cast<std::uint32_t>(_mm_cvtsi128_si32(v));
  std::memcpy(p, &x, BPP);
}

// mask ? x : y, lane by lane.
inline __m128i Select(__m128i mask, __m128i x, __m128i y) {
  return _mm_or_si128(_mm_and_si128(mask, x), _mm_andnot_si128(mask, y));
}

// Each of the loops below starts at the second pixel, with the first one
// undone, and stops where a 4-byte access would leave the row; it returns
// where the scalar filter goes on.

template <std::size_t BPP>
std::size_t SubPixels(std::uint8_t* cur, std::size_t size) {
  std::size_t i = BPP;
  if (i + 4 > size) return 0;
  __m128i a = Load4(cur);
  for (; i + 4 <= size; i += BPP) {
    __m128i x = _mm_add_epi8(Load4(cur + i), a);
    StorePixel<BPP>(cur + i, x);
    a = x;
  }
  return i;
}

std::size_t UpBytes(std::uint8_t* cur, const std::uint8_t* prev, std::size_t size) {
  std::size_t i = 0;
  for (; i + 16 <= size; i += 16) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cur + i));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(cur + i), _mm_add_epi8(x, b));
  }
  return i;
}

// The average in complements: with A = ~a, (a + b) >> 1 is ~avg(A, ~b),
// avg being the rounding-up average of the instruction set, and then the
// next pixel's A = ~x = avg(A, ~b) - cur. Two steps from one pixel to the
// next; the complement of the bytes the row keeps is taken off that chain.
template <std::size_t BPP>
std::size_t AveragePixels(std::uint8_t* cur, const std::uint8_t* prev, std::size_t size) {
  std::size_t i = BPP;
  if (i + 4 > size) return 0;
  for (std::size_t k = 0; k < BPP; ++k) cur[k] = static_cast<std::uint8_t>(cur[k] + (prev[k] >> 1));
  const __m128i ones = _mm_cmpeq_epi8(_mm_setzero_si128(), _mm_setzero_si128());
  __m128i notA = _mm_xor_si128(Load4(cur), ones);
  for (; i + 4 <= size; i += BPP) {
    const __m128i notB = _mm_xor_si128(Load4(prev + i), ones);
    notA = _mm_sub_epi8(_mm_avg_epu8(notA, notB), Load4(cur + i));
    StorePixel<BPP>(cur + i, _mm_xor_si128(notA, ones));
  }
  return i;
}

// Paeth without leaving bytes. The distances are |b - c| (to a), |a - c|
// (to b) and |a + b - 2c| (to c); they stay the same when every value x is
// taken as 255 - x, so lanes with b < c are turned over first and b >= c
// holds. Then, as a function of a, the predictor is
//   a  for a >= b or a <= 3c - 2b,
//   b  for ceil((3c - b) / 2) <= a < b,
//   c  in between,
// with the nearest winning and a before b before c on ties. The bounds and
// the sums with b and c depend on the row above only and are worked out
// ahead (PaethAhead); from one pixel to the next there are a flip, a signed
// compare (the flip also moves the bytes into the signed range) and a
// select (PaethStep).
struct PaethAhead {
  __m128i flip, b, low, high;  // in the signed range
  __m128i x, withB, withC;     // the filtered bytes, and with b or c added
};

inline PaethAhead Ahead(__m128i b, __m128i c, __m128i x) {
  const __m128i zero = _mm_setzero_si128(), ones = _mm_cmpeq_epi8(zero, zero), sign = _mm_set1_epi8(-128);
  // Lanes with b < c are turned over.
  const __m128i turn = _mm_xor_si128(_mm_cmpeq_epi8(_mm_max_epu8(b, c), b), ones);
  const __m128i bt = _mm_xor_si128(b, turn), ct = _mm_xor_si128(c, turn);
  const __m128i d = _mm_sub_epi8(bt, ct);
  // a <= 3c - 2b is a < low, low = max(c + 1 - 2d, 0); c = 255 only with
  // b = 255, where a >= b takes the lane anyway.
  const __m128i low = _mm_subs_epu8(_mm_subs_epu8(_mm_adds_epu8(ct, _mm_set1_epi8(1)), d), d);
  // ceil((3c - b) / 2) = c - floor(d / 2), at least 0.
  const __m128i high = _mm_subs_epu8(ct, _mm_and_si128(_mm_srli_epi16(d, 1), _mm_set1_epi8(0x7F)));
  return {_mm_xor_si128(turn, sign), _mm_xor_si128(bt, sign), _mm_xor_si128(low, sign), _mm_xor_si128(high, sign), x,
          _mm_add_epi8(x, b),        _mm_add_epi8(x, c)};
}

// The unfiltered bytes for left neighbours a (valid in the lanes whose
// neighbours a holds).
inline __m128i PaethStep(const PaethAhead& h, __m128i a) {
  const __m128i as = _mm_xor_si128(a, h.flip);
  const __m128i notA = _mm_andnot_si128(_mm_cmpgt_epi8(h.low, as), _mm_cmpgt_epi8(h.b, as));
  const __m128i withBC = Select(_mm_cmpgt_epi8(h.high, as), h.withC, h.withB);
  return Select(notA, withBC, _mm_add_epi8(h.x, a));
}

// Four pixels a block while 16 bytes can be read: the bounds of the block at
// once, then each pixel's result shifted on as the next one's left neighbour.
template <std::size_t BPP>
std::size_t PaethPixels(std::uint8_t* cur, const std::uint8_t* prev, std::size_t size) {
  std::size_t i = BPP;
  if (i + 4 > size) return 0;
  for (std::size_t k = 0; k < BPP; ++k) cur[k] = static_cast<std::uint8_t>(cur[k] + prev[k]);
  const __m128i ones = _mm_cmpeq_epi8(_mm_setzero_si128(), _mm_setzero_si128());
  // Byte masks of pixels 0, 1, 2 and 3 of a block.
  const __m128i upTo1 = _mm_srli_si128(ones, 16 - BPP), upTo2 = _mm_srli_si128(ones, 16 - 2 * BPP),
                upTo3 = _mm_srli_si128(ones, 16 - 3 * BPP);
  __m128i a = Load4(cur);
  for (; i + 16 <= size; i += 4 * BPP) {
    const PaethAhead h = Ahead(_mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i)),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i - BPP)),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(cur + i)));
    const __m128i r0 = PaethStep(h, a);
    const __m128i r1 = PaethStep(h, _mm_slli_si128(r0, BPP));
    const __m128i r2 = PaethStep(h, _mm_slli_si128(r1, BPP));
    const __m128i r3 = PaethStep(h, _mm_slli_si128(r2, BPP));
    const __m128i out = Select(upTo2, Select(upTo1, r0, r1), Select(upTo3, r2, r3));
    if constexpr (BPP == 4) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(cur + i), out);
    } else {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(cur + i), out);
      StorePixel<4>(cur + i + 8, _mm_srli_si128(out, 8));
    }
    a = _mm_srli_si128(r3, 3 * BPP);
  }
  for (; i + 4 <= size; i += BPP) {
    a = PaethStep(Ahead(Load4(prev + i), Load4(prev + i - BPP), Load4(cur + i)), a);
    StorePixel<BPP>(cur + i, a);
  }
  return i;
}

template <std::size_t BPP>
std::size_t PixelFilter(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t size) {
  switch (filter) {
    case 1:
      return SubPixels<BPP>(cur, size);
    case 3:
      return AveragePixels<BPP>(cur, prev, size);
    case 4:
      return PaethPixels<BPP>(cur, prev, size);
    default:
      return 0;
  }
}

}  // namespace

void UnfilterRowSse2(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t size, std::size_t bpp) {
  std::size_t done = 0;
  if (filter == 2) {
    done = UpBytes(cur, prev, size);
  } else if (bpp == 4) {
    done = PixelFilter<4>(filter, cur, prev, size);
  } else if (bpp == 3) {
    done = PixelFilter<3>(filter, cur, prev, size);
  }
  UnfilterRowScalarFrom(filter, cur, prev, done, size, bpp);
}

void RgbaToBgraRowSse2(const std::uint8_t* source, std::uint8_t* target, std::size_t count) {
  const __m128i greenAlpha = _mm_set1_epi32(static_cast<int>(0xFF00FF00u));
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 4 * i));
    __m128i redBlue = _mm_andnot_si128(greenAlpha, v);
    redBlue = _mm_or_si128(_mm_srli_epi32(redBlue, 16), _mm_slli_epi32(redBlue, 16));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 4 * i), _mm_or_si128(_mm_and_si128(v, greenAlpha), redBlue));
  }
  RgbaToBgraRowScalar(source + 4 * i, target + 4 * i, count - i);
}

// Five pixels (15 bytes) a step: in a 16-byte block starting at a pixel,
// byte j takes byte j + 2 (j mod 3 = 0), j (green) or j - 2 (j mod 3 = 2).
// The sixteenth byte stored is the next step's first and is written again.
void RgbToBgrRowSse2(const std::uint8_t* source, std::uint8_t* target, std::size_t count) {
  const __m128i green = _mm_setr_epi8(0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0);
  const __m128i fromRight = _mm_setr_epi8(-1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, 0);
  const __m128i fromLeft = _mm_setr_epi8(0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0);
  std::size_t i = 0;
  for (; 3 * i + 16 <= 3 * count; i += 5) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 3 * i));
    __m128i out = _mm_or_si128(_mm_and_si128(v, green), _mm_or_si128(_mm_and_si128(_mm_srli_si128(v, 2), fromRight),
                                                                     _mm_and_si128(_mm_slli_si128(v, 2), fromLeft)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 3 * i), out);
  }
  RgbToBgrRowScalar(source + 3 * i, target + 3 * i, count - i);
}

}  // namespace translit::kernels

#endif
