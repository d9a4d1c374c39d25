// The vector row kernels written once for any register width. A kernel file
// compiles them for one instruction set (SSE2 or AVX2) by giving a set of
// operations V on V::T registers of V::kPixels pixels; the file that does so
// sets the instruction set for everything it defines and includes nothing else
// with inline code, so no code compiled for a wider set escapes into the rest
// of the program. Everything here has internal linkage for the same reason.
//
// Each kernel does the whole vectors of the row and returns how many pixels it
// did; the caller finishes the rest with the scalar form. The kernels load
// from memory a little ahead of the row: the rows of a large picture then
// arrive from the outer caches while the current ones are being worked on.
#pragma once

#include <cstdint>

namespace translit::kernels {
namespace {

// Pixels ahead of the current one that are asked for early (2 KiB).
constexpr int kPrefetchPixels = 512;

// dest[i] = op(dest[i], source[i]) over the whole vectors of the row.
template <typename V, typename Op>
int ForEachVectorPair(std::uint32_t* dest, const std::uint32_t* source, int count, Op op) {
  int i = 0;
  for (; i + V::kPixels <= count; i += V::kPixels) {
    V::Prefetch(dest + i + kPrefetchPixels);
    V::Prefetch(source + i + kPrefetchPixels);
    V::Store(dest + i, op(V::Load(dest + i), V::Load(source + i)));
  }
  return i;
}

template <typename V>
int MixRowVector(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha) {
  using T = typename V::T;
  const T zero = V::Zero();
  const T a = V::Set16(alpha);
  const T b = V::Set16(static_cast<short>(255 - alpha));
  const T bias = V::Set16(127);
  return ForEachVectorPair<V>(dest, source, count, [&](T d, T s) {
    T lo = V::Add16(V::Add16(V::MulLo16(V::UnpackLo8(d, zero), a), V::MulLo16(V::UnpackLo8(s, zero), b)), bias);
    T hi = V::Add16(V::Add16(V::MulLo16(V::UnpackHi8(d, zero), a), V::MulLo16(V::UnpackHi8(s, zero), b)), bias);
    return V::PackUS16(V::template Srli16<8>(lo), V::template Srli16<8>(hi));
  });
}

// The pixels' even bytes (blue, red) and odd bytes (green, alpha) each in
// 16-bit lanes. Blue, red and green take the source alpha as weight; the alpha
// lane takes weight 0, which keeps da, and then gets a (255 - da) div 255
// added. Two constants only: the 32-bit program has eight vector registers.
template <typename V>
int ComposeRowVector(std::uint32_t* dest, const std::uint32_t* source, int count) {
  using T = typename V::T;
  const T lowBytes = V::Set16(0x00FF);
  const T by255 = V::Set16(static_cast<short>(0x8081));
  return ForEachVectorPair<V>(dest, source, count, [&](T d, T s) {
    T dEven = V::And(d, lowBytes), dOdd = V::template Srli16<8>(d);
    T sEven = V::And(s, lowBytes), sOdd = V::template Srli16<8>(s);
    T aLow = V::template Srli32<24>(s);      // a in the green lanes, 0 in the alpha lanes
    T aHigh = V::template Slli32<16>(aLow);  // a in the alpha lanes only
    T aBoth = V::Or(aLow, aHigh);            // a for blue and red
    // d (256 - a) + s a = (d << 8) + (s - d) a: the true value lies in
    // 0..65280, so 16-bit arithmetic that wraps gives it exactly.
    T even = V::template Srli16<8>(V::Add16(V::template Slli16<8>(d), V::MulLo16(V::Sub16(sEven, dEven), aBoth)));
    T odd = V::Add16(V::AndNot(lowBytes, d), V::MulLo16(V::Sub16(sOdd, dOdd), aLow));
    // The alpha lanes: x = a (255 - da), 255 - da being da xor 255, and
    // x div 255 = q >> 7 for q = (x * 0x8081) >> 16. Shifted into the high
    // byte that is (q << 1) with its low byte dropped; the lane holds da << 8
    // with a zero low byte, so the sum carries nothing across.
    T q = V::MulHiU16(V::MulLo16(aHigh, V::Xor(dOdd, lowBytes)), by255);
    odd = V::AndNot(lowBytes, V::Add16(odd, V::template Slli16<1>(q)));
    return V::Or(even, odd);
  });
}

// Round half to even of n / 100 with n = percent * v + (100 - percent) * c,
// as (n + 50) div 100 - (n + 150) div 200 + (n + 149) div 200, the last two
// terms taking 1 off exactly when n + 50 is an odd multiple of 100. x div 100
// is (x * 5243) >> 19 for x below 43699; n stays below 25700. The alpha lanes
// use percent 100 and c 0, which gives v back.
template <typename V>
inline typename V::T TintLanes(typename V::T v, typename V::T percent, typename V::T base50) {
  using T = typename V::T;
  const T m = V::Set16(5243);
  T n50 = V::Add16(V::MulLo16(v, percent), base50);
  T n150 = V::Add16(n50, V::Set16(100));
  T a = V::template Srli16<3>(V::MulHiU16(n50, m));
  T b = V::template Srli16<4>(V::MulHiU16(n150, m));
  T c = V::template Srli16<4>(V::MulHiU16(V::Sub16(n150, V::Set16(1)), m));
  return V::Add16(V::Sub16(a, b), c);
}

template <typename V>
int TintRowVector(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor) {
  using T = typename V::T;
  const T zero = V::Zero();
  const int rest = 100 - percent;
  const short cb = static_cast<short>(rest * static_cast<int>(pixelColor & 0xFF) + 50);
  const short cg = static_cast<short>(rest * static_cast<int>((pixelColor >> 8) & 0xFF) + 50);
  const short cr = static_cast<short>(rest * static_cast<int>((pixelColor >> 16) & 0xFF) + 50);
  const short p = static_cast<short>(percent);
  const T base50 = V::SetPixels16(cb, cg, cr, 50);
  const T weights = V::SetPixels16(p, p, p, 100);
  int i = 0;
  for (; i + V::kPixels <= count; i += V::kPixels) {
    V::Prefetch(row + i + kPrefetchPixels);
    T v = V::Load(row + i);
    T lo = TintLanes<V>(V::UnpackLo8(v, zero), weights, base50);
    T hi = TintLanes<V>(V::UnpackHi8(v, zero), weights, base50);
    V::Store(row + i, V::PackUS16(lo, hi));
  }
  return i;
}

}  // namespace
}  // namespace translit::kernels
