// SSE2 forms of the row kernels: four pixels (or eight grey values) a step.
// Everything defined below is compiled for SSE2, so the rest of the 32-bit
// program still runs on CPUs without it; it is only called after a CPU check.
#include "render/pixels/PixelKernels.h"

#if defined(__x86_64__) || defined(__i386__)

// The instruction set is given to the functions of this file only, never to
// the whole file (no -msse2 on its command line): a compiler flag would
// also compile the inline functions of the headers included here (the
// standard library's templates, the scalar kernels) for SSE2, and the
// linker may keep that copy for the whole program. GCC takes the target
// pragma for everything after it; clang ignores that pragma and takes an
// attribute pushed onto every function declared up to the pop at the end.
// clang's intrinsic headers declare every instruction set's intrinsics
// whatever the target, so they come before the push; GCC wants the target
// set before its header.
#if defined(__clang__)
#include <emmintrin.h>
#pragma clang attribute push(__attribute__((target("sse2"))), apply_to = function)
#else
#pragma GCC target("sse2")
#include <emmintrin.h>
#endif

#include "render/pixels/PixelKernelsVector.h"

namespace translit::kernels {

namespace {

struct Sse2 {
  using T = __m128i;
  static constexpr int kPixels = 4;
  static T Load(const std::uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const T*>(p)); }
  static void Store(std::uint32_t* p, T v) { _mm_storeu_si128(reinterpret_cast<T*>(p), v); }
  static void Prefetch(const std::uint32_t* p) { _mm_prefetch(reinterpret_cast<const char*>(p), _MM_HINT_T0); }
  static T Zero() { return _mm_setzero_si128(); }
  static T Set16(short v) { return _mm_set1_epi16(v); }
  // One pixel's 16-bit lanes, blue first, repeated.
  static T SetPixels16(short b, short g, short r, short a) { return _mm_set_epi16(a, r, g, b, a, r, g, b); }
  static T And(T a, T b) { return _mm_and_si128(a, b); }
  static T Or(T a, T b) { return _mm_or_si128(a, b); }
  static T Xor(T a, T b) { return _mm_xor_si128(a, b); }
  // ~a & b
  static T AndNot(T a, T b) { return _mm_andnot_si128(a, b); }
  static T Add16(T a, T b) { return _mm_add_epi16(a, b); }
  static T Sub16(T a, T b) { return _mm_sub_epi16(a, b); }
  static T MulLo16(T a, T b) { return _mm_mullo_epi16(a, b); }
  static T MulHiU16(T a, T b) { return _mm_mulhi_epu16(a, b); }
  template <int N>
  static T Srli16(T v) {
    return _mm_srli_epi16(v, N);
  }
  template <int N>
  static T Slli16(T v) {
    return _mm_slli_epi16(v, N);
  }
  template <int N>
  static T Srli32(T v) {
    return _mm_srli_epi32(v, N);
  }
  template <int N>
  static T Slli32(T v) {
    return _mm_slli_epi32(v, N);
  }
  static T UnpackLo8(T a, T b) { return _mm_unpacklo_epi8(a, b); }
  static T UnpackHi8(T a, T b) { return _mm_unpackhi_epi8(a, b); }
  static T PackUS16(T a, T b) { return _mm_packus_epi16(a, b); }
};

// Two neighbouring blur weights as the pair a 16-bit multiply-add takes.
inline __m128i WeightPair(const std::int16_t* weights, int u, int taps) {
  std::uint32_t w0 = static_cast<std::uint16_t>(weights[u]);
  std::uint32_t w1 = u + 1 < taps ? static_cast<std::uint16_t>(weights[u + 1]) : 0;
  return _mm_set1_epi32(static_cast<int>(w0 | (w1 << 16)));
}

inline void StoreEight(std::uint8_t* out, __m128i lo, __m128i hi, int shift) {
  const __m128i count = _mm_cvtsi32_si128(shift);
  __m128i words = _mm_packs_epi32(_mm_sra_epi32(lo, count), _mm_sra_epi32(hi, count));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(words, words));
}

}  // namespace

void FillRowSse2(std::uint32_t* row, int count, std::uint32_t value) {
  const __m128i v = _mm_set1_epi32(static_cast<int>(value));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), v);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i + 4), v);
  }
  FillRowScalar(row + i, count - i, value);
}

void MixRowSse2(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha) {
  int done = MixRowVector<Sse2>(dest, source, count, alpha);
  MixRowScalar(dest + done, source + done, count - done, alpha);
}

void ComposeRowSse2(std::uint32_t* dest, const std::uint32_t* source, int count) {
  int done = ComposeRowVector<Sse2>(dest, source, count);
  ComposeRowScalar(dest + done, source + done, count - done);
}

void TintRowSse2(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor) {
  int done = TintRowVector<Sse2>(row, count, percent, pixelColor);
  TintRowScalar(row + done, count - done, percent, pixelColor);
}

void BlurLineSse2(const std::int16_t* in, std::uint8_t* out, int count, const std::int16_t* weights, int taps,
                  int shift) {
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

void BlurRowsSse2(const std::uint8_t* const* rows, std::uint8_t* out, int count, const std::int16_t* weights, int taps,
                  int shift) {
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
  BlurRowsScalarFrom(rows, out, x, count, weights, taps, shift);
}

}  // namespace translit::kernels

#if defined(__clang__)
#pragma clang attribute pop
#endif

#endif  // x86
