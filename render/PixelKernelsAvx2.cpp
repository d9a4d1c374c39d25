// AVX2 forms of the mix, compose and tint row kernels: the SSE2 formulas on
// eight pixels at a time. Compiled for AVX2 with a target attribute and only
// called after a CPU check. The 256-bit unpack and pack instructions work
// within each 128-bit half, so unpacking and packing again keeps pixel order.
#include "render/PixelKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TRANSLIT_AVX2 1
#define TRANSLIT_AVX2_FN __attribute__((target("avx2")))
#endif

namespace translit::kernels {

#if defined(TRANSLIT_AVX2)

bool UseAvx2() {
  static const bool cpu = __builtin_cpu_supports("avx2");
  return cpu;
}

TRANSLIT_AVX2_FN void MixRowAvx2(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i a = _mm256_set1_epi16(static_cast<short>(alpha));
  const __m256i b = _mm256_set1_epi16(static_cast<short>(255 - alpha));
  const __m256i bias = _mm256_set1_epi16(127);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest + i));
    __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
    __m256i lo = _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), a),
                                                   _mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), b)),
                                  bias);
    __m256i hi = _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), a),
                                                   _mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), b)),
                                  bias);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i),
                        _mm256_packus_epi16(_mm256_srli_epi16(lo, 8), _mm256_srli_epi16(hi, 8)));
  }
  MixRowSse2(dest + i, source + i, count - i, alpha);
}

TRANSLIT_AVX2_FN void ComposeRowAvx2(std::uint32_t* dest, const std::uint32_t* source, int count) {
  const __m256i evenBytes = _mm256_set1_epi16(0x00FF);
  const __m256i c255 = _mm256_set1_epi16(255);
  const __m256i by255 = _mm256_set1_epi16(static_cast<short>(0x8081));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest + i));
    __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
    __m256i dEven = _mm256_and_si256(d, evenBytes), dOdd = _mm256_srli_epi16(d, 8);
    __m256i sEven = _mm256_and_si256(s, evenBytes), sOdd = _mm256_srli_epi16(s, 8);
    __m256i aLow = _mm256_srli_epi32(s, 24);
    __m256i aHigh = _mm256_slli_epi32(aLow, 16);
    __m256i aBoth = _mm256_or_si256(aLow, aHigh);
    // d (256 - a) + s a = (d << 8) + (s - d) a: the true value lies in
    // 0..65280, so 16-bit arithmetic that wraps gives it exactly.
    __m256i even = _mm256_srli_epi16(_mm256_add_epi16(_mm256_slli_epi16(dEven, 8), _mm256_mullo_epi16(_mm256_sub_epi16(sEven, dEven), aBoth)), 8);
    __m256i odd = _mm256_and_si256(_mm256_add_epi16(_mm256_slli_epi16(dOdd, 8), _mm256_mullo_epi16(_mm256_sub_epi16(sOdd, dOdd), aLow)),
                               _mm256_set1_epi16(static_cast<short>(0xFF00)));
    __m256i x = _mm256_mullo_epi16(aHigh, _mm256_sub_epi16(c255, dOdd));
    odd = _mm256_add_epi16(odd, _mm256_slli_epi16(_mm256_srli_epi16(_mm256_mulhi_epu16(x, by255), 7), 8));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), _mm256_or_si256(even, odd));
  }
  ComposeRowSse2(dest + i, source + i, count - i);
}

namespace {

// The tint of sixteen channels in 16-bit lanes; see the SSE2 form.
TRANSLIT_AVX2_FN inline __m256i TintHalf(__m256i v, __m256i percent, __m256i base50) {
  const __m256i m = _mm256_set1_epi16(5243);
  __m256i n50 = _mm256_add_epi16(_mm256_mullo_epi16(v, percent), base50);
  __m256i n150 = _mm256_add_epi16(n50, _mm256_set1_epi16(100));
  __m256i a = _mm256_srli_epi16(_mm256_mulhi_epu16(n50, m), 3);
  __m256i b = _mm256_srli_epi16(_mm256_mulhi_epu16(n150, m), 4);
  __m256i c = _mm256_srli_epi16(_mm256_mulhi_epu16(_mm256_sub_epi16(n150, _mm256_set1_epi16(1)), m), 4);
  return _mm256_add_epi16(_mm256_sub_epi16(a, b), c);
}

}  // namespace

TRANSLIT_AVX2_FN void TintRowAvx2(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor) {
  const __m256i zero = _mm256_setzero_si256();
  const int rest = 100 - percent;
  const short cb = static_cast<short>(rest * static_cast<int>(pixelColor & 0xFF) + 50);
  const short cg = static_cast<short>(rest * static_cast<int>((pixelColor >> 8) & 0xFF) + 50);
  const short cr = static_cast<short>(rest * static_cast<int>((pixelColor >> 16) & 0xFF) + 50);
  const short p = static_cast<short>(percent);
  const __m256i base50 = _mm256_set_epi16(50, cr, cg, cb, 50, cr, cg, cb, 50, cr, cg, cb, 50, cr, cg, cb);
  const __m256i weights = _mm256_set_epi16(100, p, p, p, 100, p, p, p, 100, p, p, p, 100, p, p, p);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + i));
    __m256i lo = TintHalf(_mm256_unpacklo_epi8(v, zero), weights, base50);
    __m256i hi = TintHalf(_mm256_unpackhi_epi8(v, zero), weights, base50);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + i), _mm256_packus_epi16(lo, hi));
  }
  TintRowSse2(row + i, count - i, percent, pixelColor);
}

#else

bool UseAvx2() { return false; }
void MixRowAvx2(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha) {
  MixRowScalar(dest, source, count, alpha);
}
void ComposeRowAvx2(std::uint32_t* dest, const std::uint32_t* source, int count) {
  ComposeRowScalar(dest, source, count);
}
void TintRowAvx2(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor) {
  TintRowScalar(row, count, percent, pixelColor);
}

#endif

}  // namespace translit::kernels
