// Row kernels of the PNG decoder: the standard's row filters undone, and the
// conversion of 8-bit RGB and RGBA rows into the bitmap's blue-first order.
// Each has a plain scalar reference and, on x86, an SSE2 form that gives the
// same bytes; the decoder calls the dispatching names, tests call both forms
// on the same random rows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace translit::kernels {

// Undoes filter type filter (0 none, 1 sub, 2 up, 3 average, 4 Paeth; other
// values leave the row as it is) on cur, a row of size bytes without its
// filter byte. prev is the row above, already unfiltered (zeros for the first
// row of an image or pass); bpp is the distance the filters look back: bytes
// per complete pixel, at least 1. The SSE2 form vectorises up for every bpp
// and sub, average and Paeth for 3 and 4 bytes per pixel (8-bit RGB and RGBA).
void UnfilterRowScalar(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t size, std::size_t bpp);
void UnfilterRowSse2(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t size, std::size_t bpp);
void UnfilterRow(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t size, std::size_t bpp);

// count pixels of 8-bit RGBA become BGRA in target (source and target do not overlap).
void RgbaToBgraRowScalar(const std::uint8_t* source, std::uint8_t* target, std::size_t count);
void RgbaToBgraRowSse2(const std::uint8_t* source, std::uint8_t* target, std::size_t count);
void RgbaToBgraRow(const std::uint8_t* source, std::uint8_t* target, std::size_t count);

// count pixels of 8-bit RGB become BGR in target (source and target do not overlap).
void RgbToBgrRowScalar(const std::uint8_t* source, std::uint8_t* target, std::size_t count);
void RgbToBgrRowSse2(const std::uint8_t* source, std::uint8_t* target, std::size_t count);
void RgbToBgrRow(const std::uint8_t* source, std::uint8_t* target, std::size_t count);

// The scalar filters from byte begin of the row on, the bytes before it
// already undone: the tail of the vector forms.
void UnfilterRowScalarFrom(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t begin, std::size_t size,
                           std::size_t bpp);

}  // namespace translit::kernels
