// Scalar and SSE2 row kernels. The SSE2 functions are compiled for SSE2 with a
// target attribute, so the rest of the 32-bit program still runs on CPUs
// without it; they are only called after a CPU check.
#include "render/PixelKernels.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#define TRANSLIT_X86 1
#include <emmintrin.h>
#define TRANSLIT_SSE2_FN __attribute__((target("sse2")))
#else
#define TRANSLIT_SSE2_FN
#endif

namespace translit::kernels {

namespace {

bool CpuHasSse2() {
#if defined(__x86_64__)
  return true;
#elif defined(TRANSLIT_X86)
  return __builtin_cpu_supports("sse2");
#else
  return false;
#endif
}

constexpr std::uint32_t MixByte(std::uint32_t d, std::uint32_t s, std::uint32_t alpha) {
  return (d * alpha + s * (255 - alpha) + 127) >> 8;
}

constexpr std::uint32_t ComposeByte(std::uint32_t d, std::uint32_t s, std::uint32_t alpha) {
  return (d * (256 - alpha) + s * alpha) >> 8;
}

// Round half to even of n / 100 for n >= 0.
constexpr std::uint32_t RoundedHundredth(std::uint32_t n) {
  std::uint32_t q = n / 100;
  std::uint32_t rem = n - q * 100;
  if (rem > 50 || (rem == 50 && (q & 1) != 0)) ++q;
  return q;
}

}  // namespace

bool UseSse2() {
  static const bool cpu = CpuHasSse2();
  return cpu;
}

void FillRowScalar(std::uint32_t* row, int count, std::uint32_t value) {
  for (int i = 0; i < count; ++i) row[i] = value;
}

void MixRowScalar(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha) {
  for (int i = 0; i < count; ++i) {
    std::uint32_t d = dest[i];
    std::uint32_t s = source[i];
    std::uint32_t out = 0;
    for (int b = 0; b < 32; b += 8) out |= MixByte((d >> b) & 0xFF, (s >> b) & 0xFF, alpha) << b;
    dest[i] = out;
  }
}

void ComposeRowScalar(std::uint32_t* dest, const std::uint32_t* source, int count) {
  for (int i = 0; i < count; ++i) {
    std::uint32_t d = dest[i];
    std::uint32_t s = source[i];
    std::uint32_t a = s >> 24;
    std::uint32_t da = d >> 24;
    std::uint32_t out = (da + a * (255 - da) / 255) << 24;
    for (int b = 0; b < 24; b += 8) out |= ComposeByte((d >> b) & 0xFF, (s >> b) & 0xFF, a) << b;
    dest[i] = out;
  }
}

void TintRowScalar(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor) {
  const std::uint32_t p = static_cast<std::uint32_t>(percent);
  std::uint32_t base[3];
  for (int c = 0; c < 3; ++c) base[c] = (100 - p) * ((pixelColor >> (8 * c)) & 0xFF);
  for (int i = 0; i < count; ++i) {
    std::uint32_t v = row[i];
    std::uint32_t out = v & 0xFF000000u;
    for (int c = 0; c < 3; ++c) out |= RoundedHundredth(p * ((v >> (8 * c)) & 0xFF) + base[c]) << (8 * c);
    row[i] = out;
  }
}

void BlurLineScalar(const std::int16_t* in, std::uint8_t* out, int count, const std::int16_t* weights, int taps,
                    int shift) {
  for (int i = 0; i < count; ++i) {
    std::int32_t sum = 0;
    for (int u = 0; u < taps; ++u) sum += std::int32_t{weights[u]} * in[i + u];
    out[i] = static_cast<std::uint8_t>(std::clamp(sum >> shift, 0, 255));
  }
}

namespace {

void BlurRowsFrom(const std::uint8_t* const* rows, std::uint8_t* out, int begin, int count,
                  const std::int16_t* weights, int taps, int shift) {
  for (int x = begin; x < count; ++x) {
    std::int32_t sum = 0;
    for (int u = 0; u < taps; ++u) sum += std::int32_t{weights[u]} * rows[u][x];
    out[x] = static_cast<std::uint8_t>(std::clamp(sum >> shift, 0, 255));
  }
}

}  // namespace

void BlurRowsScalar(const std::uint8_t* const* rows, std::uint8_t* out, int count, const std::int16_t* weights,
                    int taps, int shift) {
  BlurRowsFrom(rows, out, 0, count, weights, taps, shift);
}

#if defined(TRANSLIT_X86)

TRANSLIT_SSE2_FN void FillRowSse2(std::uint32_t* row, int count, std::uint32_t value) {
  const __m128i v = _mm_set1_epi32(static_cast<int>(value));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), v);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i + 4), v);
  }
  FillRowScalar(row + i, count - i, value);
}

TRANSLIT_SSE2_FN void MixRowSse2(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_set1_epi16(static_cast<short>(alpha));
  const __m128i b = _mm_set1_epi16(static_cast<short>(255 - alpha));
  const __m128i bias = _mm_set1_epi16(127);
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
    __m128i lo = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), a),
                                             _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), b)),
                               bias);
    __m128i hi = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), a),
                                             _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), b)),
                               bias);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i),
                     _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8)));
  }
  MixRowScalar(dest + i, source + i, count - i, alpha);
}

namespace {

// Two pixels widened to 16-bit lanes: round half to even of n / 100 with
// n = percent * v + (100 - percent) * c, as
//   (n + 50) div 100 - (n + 150) div 200 + (n + 149) div 200,
// the last two terms taking 1 off exactly when n + 50 is an odd multiple of
// 100. x div 100 is (x * 5243) >> 19 for x below 43699; n stays below 25700.
// The alpha lanes use percent 100 and c 0, which gives v back.
TRANSLIT_SSE2_FN inline __m128i TintHalf(__m128i v, __m128i percent, __m128i base50) {
  const __m128i m = _mm_set1_epi16(5243);
  __m128i n50 = _mm_add_epi16(_mm_mullo_epi16(v, percent), base50);
  __m128i n150 = _mm_add_epi16(n50, _mm_set1_epi16(100));
  __m128i a = _mm_srli_epi16(_mm_mulhi_epu16(n50, m), 3);
  __m128i b = _mm_srli_epi16(_mm_mulhi_epu16(n150, m), 4);
  __m128i c = _mm_srli_epi16(_mm_mulhi_epu16(_mm_sub_epi16(n150, _mm_set1_epi16(1)), m), 4);
  return _mm_add_epi16(_mm_sub_epi16(a, b), c);
}

}  // namespace

// Four pixels at a time, their even bytes (blue, red) and odd bytes (green,
// alpha) each in 16-bit lanes. Blue, red and green take the source alpha as
// weight; the alpha lane takes weight 0, which keeps da, and then gets
// a (255 - da) div 255 added (x div 255 = (x * 0x8081) >> 23 for 16-bit x).
TRANSLIT_SSE2_FN void ComposeRowSse2(std::uint32_t* dest, const std::uint32_t* source, int count) {
  const __m128i evenBytes = _mm_set1_epi16(0x00FF);
  const __m128i c255 = _mm_set1_epi16(255);
  const __m128i by255 = _mm_set1_epi16(static_cast<short>(0x8081));
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
    __m128i dEven = _mm_and_si128(d, evenBytes), dOdd = _mm_srli_epi16(d, 8);
    __m128i sEven = _mm_and_si128(s, evenBytes), sOdd = _mm_srli_epi16(s, 8);
    __m128i aLow = _mm_srli_epi32(s, 24);           // a in the green lanes, 0 in the alpha lanes
    __m128i aHigh = _mm_slli_epi32(aLow, 16);       // a in the alpha lanes only
    __m128i aBoth = _mm_or_si128(aLow, aHigh);      // a for blue and red
    // d (256 - a) + s a = (d << 8) + (s - d) a: the true value lies in
    // 0..65280, so 16-bit arithmetic that wraps gives it exactly.
    __m128i even = _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(dEven, 8), _mm_mullo_epi16(_mm_sub_epi16(sEven, dEven), aBoth)), 8);
    __m128i odd = _mm_and_si128(_mm_add_epi16(_mm_slli_epi16(dOdd, 8), _mm_mullo_epi16(_mm_sub_epi16(sOdd, dOdd), aLow)),
                               _mm_set1_epi16(static_cast<short>(0xFF00)));
    __m128i x = _mm_mullo_epi16(aHigh, _mm_sub_epi16(c255, dOdd));
    odd = _mm_add_epi16(odd, _mm_slli_epi16(_mm_srli_epi16(_mm_mulhi_epu16(x, by255), 7), 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_or_si128(even, odd));
  }
  ComposeRowScalar(dest + i, source + i, count - i);
}

TRANSLIT_SSE2_FN void TintRowSse2(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor) {
  const __m128i zero = _mm_setzero_si128();
  const int rest = 100 - percent;
  const short cb = static_cast<short>(rest * static_cast<int>(pixelColor & 0xFF) + 50);
  const short cg = static_cast<short>(rest * static_cast<int>((pixelColor >> 8) & 0xFF) + 50);
  const short cr = static_cast<short>(rest * static_cast<int>((pixelColor >> 16) & 0xFF) + 50);
  const short p = static_cast<short>(percent);
  const __m128i base50 = _mm_set_epi16(50, cr, cg, cb, 50, cr, cg, cb);
  const __m128i weights = _mm_set_epi16(100, p, p, p, 100, p, p, p);
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
    __m128i lo = TintHalf(_mm_unpacklo_epi8(v, zero), weights, base50);
    __m128i hi = TintHalf(_mm_unpackhi_epi8(v, zero), weights, base50);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), _mm_packus_epi16(lo, hi));
  }
  TintRowScalar(row + i, count - i, percent, pixelColor);
}

namespace {

TRANSLIT_SSE2_FN inline __m128i WeightPair(const std::int16_t* weights, int u, int taps) {
  std::uint32_t w0 = static_cast<std::uint16_t>(weights[u]);
  std::uint32_t w1 = u + 1 < taps ? static_cast<std::uint16_t>(weights[u + 1]) : 0;
  return _mm_set1_epi32(static_cast<int>(w0 | (w1 << 16)));
}

TRANSLIT_SSE2_FN inline void StoreEight(std::uint8_t* out, __m128i lo, __m128i hi, int shift) {
  const __m128i count = _mm_cvtsi32_si128(shift);
  __m128i words = _mm_packs_epi32(_mm_sra_epi32(lo, count), _mm_sra_epi32(hi, count));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(words, words));
}

}  // namespace

TRANSLIT_SSE2_FN void BlurLineSse2(const std::int16_t* in, std::uint8_t* out, int count, const std::int16_t* weights,
                                   int taps, int shift) {
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    __m128i lo = _mm_setzero_si128();
    __m128i hi = _mm_setzero_si128();
    for (int u = 0; u < taps; u += 2) {
      __m128i w = WeightPair(weights, u, taps);
      __m128i x0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + u));
      __m128i x1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + u + 1));
      lo = _mm_add_epi32(lo, _mm_madd_epi16(_mm_unpacklo_epi16(x0, x1), w));
      hi = _mm_add_epi32(hi, _mm_madd_epi16(_mm_unpackhi_epi16(x0, x1), w));
    }
    StoreEight(out + i, lo, hi, shift);
  }
  BlurLineScalar(in + i, out + i, count - i, weights, taps, shift);
}

TRANSLIT_SSE2_FN void BlurRowsSse2(const std::uint8_t* const* rows, std::uint8_t* out, int count,
                                   const std::int16_t* weights, int taps, int shift) {
  const __m128i zero = _mm_setzero_si128();
  int x = 0;
  for (; x + 8 <= count; x += 8) {
    __m128i lo = _mm_setzero_si128();
    __m128i hi = _mm_setzero_si128();
    for (int u = 0; u < taps; u += 2) {
      __m128i w = WeightPair(weights, u, taps);
      __m128i a = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows[u] + x)), zero);
      __m128i b = u + 1 < taps
                      ? _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows[u + 1] + x)), zero)
                      : zero;
      lo = _mm_add_epi32(lo, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), w));
      hi = _mm_add_epi32(hi, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), w));
    }
    StoreEight(out + x, lo, hi, shift);
  }
  BlurRowsFrom(rows, out, x, count, weights, taps, shift);
}

#else

void FillRowSse2(std::uint32_t* row, int count, std::uint32_t value) { FillRowScalar(row, count, value); }
void MixRowSse2(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha) {
  MixRowScalar(dest, source, count, alpha);
}
void ComposeRowSse2(std::uint32_t* dest, const std::uint32_t* source, int count) {
  ComposeRowScalar(dest, source, count);
}
void TintRowSse2(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor) {
  TintRowScalar(row, count, percent, pixelColor);
}
void BlurLineSse2(const std::int16_t* in, std::uint8_t* out, int count, const std::int16_t* weights, int taps,
                  int shift) {
  BlurLineScalar(in, out, count, weights, taps, shift);
}
void BlurRowsSse2(const std::uint8_t* const* rows, std::uint8_t* out, int count, const std::int16_t* weights,
                  int taps, int shift) {
  BlurRowsScalar(rows, out, count, weights, taps, shift);
}

#endif

void FillRow(std::uint32_t* row, int count, std::uint32_t value) {
  if (UseSse2()) {
    FillRowSse2(row, count, value);
  } else {
    FillRowScalar(row, count, value);
  }
}

void MixRow(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha) {
  if (UseAvx2()) {
    MixRowAvx2(dest, source, count, alpha);
  } else if (UseSse2()) {
    MixRowSse2(dest, source, count, alpha);
  } else {
    MixRowScalar(dest, source, count, alpha);
  }
}

void ComposeRow(std::uint32_t* dest, const std::uint32_t* source, int count) {
  if (UseAvx2()) {
    ComposeRowAvx2(dest, source, count);
  } else if (UseSse2()) {
    ComposeRowSse2(dest, source, count);
  } else {
    ComposeRowScalar(dest, source, count);
  }
}

void TintRow(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor) {
  if (UseAvx2()) {
    TintRowAvx2(row, count, percent, pixelColor);
  } else if (UseSse2()) {
    TintRowSse2(row, count, percent, pixelColor);
  } else {
    TintRowScalar(row, count, percent, pixelColor);
  }
}

void BlurLine(const std::int16_t* in, std::uint8_t* out, int count, const std::int16_t* weights, int taps, int shift) {
  if (UseSse2()) {
    BlurLineSse2(in, out, count, weights, taps, shift);
  } else {
    BlurLineScalar(in, out, count, weights, taps, shift);
  }
}

void BlurRows(const std::uint8_t* const* rows, std::uint8_t* out, int count, const std::int16_t* weights, int taps,
              int shift) {
  if (UseSse2()) {
    BlurRowsSse2(rows, out, count, weights, taps, shift);
  } else {
    BlurRowsScalar(rows, out, count, weights, taps, shift);
  }
}

}  // namespace translit::kernels
