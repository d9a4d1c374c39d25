// Scalar row kernels and the choice of the vector forms by the CPU.
#include "render/pixels/PixelKernels.h"

#include <algorithm>

namespace translit::kernels {

namespace {

bool CpuHasSse2() {
#if defined(__x86_64__)
  return true;
#elif defined(__i386__)
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

bool UseAvx2() {
#if defined(__x86_64__) || defined(__i386__)
  static const bool cpu = __builtin_cpu_supports("avx2");
  return cpu;
#else
  return false;
#endif
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

void BlurRowsScalarFrom(const std::uint8_t* const* rows, std::uint8_t* out, int begin, int count,
                        const std::int16_t* weights, int taps, int shift) {
  for (int x = begin; x < count; ++x) {
    std::int32_t sum = 0;
    for (int u = 0; u < taps; ++u) sum += std::int32_t{weights[u]} * rows[u][x];
    out[x] = static_cast<std::uint8_t>(std::clamp(sum >> shift, 0, 255));
  }
}

void BlurRowsScalar(const std::uint8_t* const* rows, std::uint8_t* out, int count, const std::int16_t* weights,
                    int taps, int shift) {
  BlurRowsScalarFrom(rows, out, 0, count, weights, taps, shift);
}

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

#if !defined(__x86_64__) && !defined(__i386__)

// Elsewhere the vector names give the scalar results, so callers and tests
// need no conditions of their own.
void FillRowSse2(std::uint32_t* row, int count, std::uint32_t value) { FillRowScalar(row, count, value); }
void MixRowSse2(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha) {
  MixRowScalar(dest, source, count, alpha);
}
void MixRowAvx2(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha) {
  MixRowScalar(dest, source, count, alpha);
}
void ComposeRowSse2(std::uint32_t* dest, const std::uint32_t* source, int count) {
  ComposeRowScalar(dest, source, count);
}
void ComposeRowAvx2(std::uint32_t* dest, const std::uint32_t* source, int count) {
  ComposeRowScalar(dest, source, count);
}
void TintRowSse2(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor) {
  TintRowScalar(row, count, percent, pixelColor);
}
void TintRowAvx2(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor) {
  TintRowScalar(row, count, percent, pixelColor);
}
void BlurLineSse2(const std::int16_t* in, std::uint8_t* out, int count, const std::int16_t* weights, int taps,
                  int shift) {
  BlurLineScalar(in, out, count, weights, taps, shift);
}
void BlurRowsSse2(const std::uint8_t* const* rows, std::uint8_t* out, int count, const std::int16_t* weights, int taps,
                  int shift) {
  BlurRowsScalar(rows, out, count, weights, taps, shift);
}

#endif

}  // namespace translit::kernels
