// Row kernels of the hot pixel loops, each as a plain scalar reference and,
// on x86, SSE2 (and for some AVX2) paths that give the same bytes. The operations of
// AlphaKernels and FilterKernels call the dispatching names; tests call both
// variants on the same random rows.
#pragma once

#include <cstdint>

namespace translit::kernels {

// True when the SSE2 paths are used (always on x86-64, by CPU check on x86).
bool UseSse2();
// AVX2 forms of mix, compose and tint (eight pixels a step), when the CPU and
// the system have it.
bool UseAvx2();

// Every pixel of the row becomes value.
void FillRowScalar(std::uint32_t* row, int count, std::uint32_t value);
void FillRowSse2(std::uint32_t* row, int count, std::uint32_t value);
void FillRow(std::uint32_t* row, int count, std::uint32_t value);

// d' = (d * alpha + s * (255 - alpha) + 127) >> 8 on every byte.
void MixRowScalar(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha);
void MixRowSse2(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha);
void MixRowAvx2(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha);
void MixRow(std::uint32_t* dest, const std::uint32_t* source, int count, std::uint8_t alpha);

// Source-over with the source's alpha a: colour bytes ((s - d) * a + 256 d) >> 8,
// alpha da + a * (255 - da) div 255.
void ComposeRowScalar(std::uint32_t* dest, const std::uint32_t* source, int count);
void ComposeRowSse2(std::uint32_t* dest, const std::uint32_t* source, int count);
void ComposeRowAvx2(std::uint32_t* dest, const std::uint32_t* source, int count);
void ComposeRow(std::uint32_t* dest, const std::uint32_t* source, int count);

// Each colour byte v becomes round(percent% of v + the rest of the colour's
// byte), halves to even, computed exactly; alpha kept. percent is 0..100 and
// color in pixel order.
void TintRowScalar(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor);
void TintRowSse2(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor);
void TintRowAvx2(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor);
void TintRow(std::uint32_t* row, int count, int percent, std::uint32_t pixelColor);

// One pass of the grey blur over a padded line: out[i] = clamp((sum over u of
// weights[u] * in[i + u]) >> shift), u = 0..taps-1. in holds count + taps
// values (one spare past the last tap). Weights are non-negative.
void BlurLineScalar(const std::int16_t* in, std::uint8_t* out, int count, const std::int16_t* weights, int taps,
                    int shift);
void BlurLineSse2(const std::int16_t* in, std::uint8_t* out, int count, const std::int16_t* weights, int taps,
                  int shift);
void BlurLine(const std::int16_t* in, std::uint8_t* out, int count, const std::int16_t* weights, int taps, int shift);

// The column pass: out[x] = clamp((sum over u of weights[u] * rows[u][x]) >> shift).
void BlurRowsScalar(const std::uint8_t* const* rows, std::uint8_t* out, int count, const std::int16_t* weights,
                    int taps, int shift);
// The same from column begin on (the tail of the vector forms).
void BlurRowsScalarFrom(const std::uint8_t* const* rows, std::uint8_t* out, int begin, int count,
                        const std::int16_t* weights, int taps, int shift);
void BlurRowsSse2(const std::uint8_t* const* rows, std::uint8_t* out, int count, const std::int16_t* weights, int taps,
                  int shift);
void BlurRows(const std::uint8_t* const* rows, std::uint8_t* out, int count, const std::int16_t* weights, int taps,
              int shift);

}  // namespace translit::kernels
