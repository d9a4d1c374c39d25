// AVX2 forms of the mix, compose and tint row kernels: eight pixels a step.
// Everything defined below is compiled for AVX2 and only called after a CPU
// check. The 256-bit unpack and pack instructions work within each 128-bit
// half, so unpacking and packing again keeps pixel order.
#include "render/pixels/PixelKernels.h"

#if defined(__x86_64__) || defined(__i386__)

// The instruction set is given to the functions of this file only, never to
// the whole file (no -mavx2 on its command line): a compiler flag would
// also compile the inline functions of the headers included here (the
// standard library's templates, the scalar kernels) for AVX2, and the
// linker may keep that copy for the whole program. GCC takes the target
// pragma for everything after it; clang ignores that pragma and takes an
// attribute pushed onto every function declared up to the pop at the end.
// clang's intrinsic headers declare every instruction set's intrinsics
// whatever the target, so they come before the push; GCC wants the target
// set before its header.
#if defined(__clang__)
#include <immintrin.h>
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC target("avx2")
#include <immintrin.h>
#endif

#include "render/pixels/PixelKernelsVector.h"

namespace translit::kernels {

namespace {

struct Avx2 {
  using T = __m256i;
  static constexpr int kPixels = 8;
  static T Load(const std::uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const T*>(p)); }
  static void Store(std::uint32_t* p, T v) { _mm256_storeu_si256(reinterpret_cast<T*>(p), v); }
  static void Prefetch(const std::uint32_t* p) { _mm_prefetch(reinterpret_cast<const char*>(p), _MM_HINT_T0); }
  static T Zero() { return _mm256_setzero_si256(); }
  static T Set16(short v) { return _mm256_set1_epi16(v); }
  // One pixel's 16-bit lanes, blue first, repeated.
  static T SetPixels16(short b, short g, short r, short a) {
    return _mm256_set_epi16(a, r, g, b, a, r, g, b, a, r, g, b, a, r, g, b);
  }
  static T And(T a, T b) { return _mm256_and_si256(a, b); }
  static T Or(T a, T b) { return _mm256_or_si256(a, b); }
  static T Xor(T a, T b) { return _mm256_xor_si256(a, b); }
  // ~a & b
  static T AndNot(T a, T b) { return _mm256_andnot_si256(a, b); }
  static T Add16(T a, T b) { return _mm256_add_epi16(a, b); }
  static T Sub16(T a, T b) { return _mm256_sub_epi16(a, b); }
  static T MulLo16(T a, T b) { return _mm256_mullo_epi16(a, b); }
  static T MulHiU16(T a, T b) { return _mm256_mulhi_epu16(a, b); }
  template <int N>
  static T Srli16(T v) {
    return _mm256_srli_epi16(v, N);
  }
  template <int N>
  static T Slli16(T v) {
    return _mm256_slli_epi16(v, N);
  }
  template <int N>
  static T Srli32(T v) {
    return _mm256_srli_epi32(v, N);
  }
  template <int N>
  static T Slli32(T v) {
    return _mm256_slli_epi32(v, N);
  }
  static T UnpackLo8(T a, T b) { return _mm256_unpacklo_epi8(a, b); }
  static T UnpackHi8(T a, T b) { return _mm256_unpackhi_epi8(a, b); }
  static T PackUS16(T a, T b) { return _mm256_packus_epi16(a, b); }
};

}  // namespace

void MixRowAvx2(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha) {
  int done = MixRowVector<Avx2>(dest, source, count, alpha);
  MixRowScalar(dest + done, source + done, count - done, alpha);
}

void ComposeRowAvx2(std::uint32_t* dest, const std::uint32_t* source, int count) {
  int done = ComposeRowVector<Avx2>(dest, source, count);
  ComposeRowScalar(dest + done, source + done, count - done);
}

void TintRowAvx2(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor) {
  int done = TintRowVector<Avx2>(row, count, percent, pixelColor);
  TintRowScalar(row + done, count - done, percent, pixelColor);
}

}  // namespace translit::kernels

#if defined(__clang__)
#pragma clang attribute pop
#endif

#endif  // x86
