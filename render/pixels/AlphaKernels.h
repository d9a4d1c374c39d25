// The pixel layer under every skinned surface, on views of pixel rows: colour
// arithmetic (red/blue exchange, mixing, hue, saturation) and the per-pixel
// operations on one or two 32-bit pictures (fills, tints, alpha, grey,
// mixing, alpha composition, keyed copies). Portable: the bitmap layer in
// sAlphaGraph hands views of its DIB sections to these functions.
//
// Pixels are 0xAARRGGBB read as little-endian integers; colours are
// 0x00BBGGRR. Rectangles exclude Right and Bottom unless a function says it
// treats them as inclusive. Every function clips to the pictures it touches.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/pixels/KeyColor.h"
#include "render/pixels/PixelView.h"

namespace translit {

struct PixelRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

struct PixelPoint {
  int X = 0;
  int Y = 0;
};

// Rows of 3- or 4-byte pixels (24-bit or 32-bit pictures), blue first.
struct ByteView {
  std::uint8_t* firstRow = nullptr;
  std::ptrdiff_t rowStride = 0;
  int width = 0;
  int height = 0;
  int bytesPerPixel = 4;

  bool Empty() const { return firstRow == nullptr || width <= 0 || height <= 0; }
  std::uint8_t* Row(int y) const { return firstRow + static_cast<std::ptrdiff_t>(y) * rowStride; }
};

inline ByteView AsBytes(const PixelView& v) { return {v.firstRow, v.rowStride, v.width, v.height, 4}; }

// The framework's "no colour" value, used as "no tint".
inline constexpr std::uint32_t NoColor = 0x1FFFFFFF;

constexpr std::uint32_t ExchangeRB(std::uint32_t value) {
  return (value & 0xFF00FF00u) | ((value >> 16) & 0xFFu) | ((value & 0xFFu) << 16);
}

constexpr std::uint32_t ChannelOf(std::uint32_t value, int byteIndex) { return (value >> (8 * byteIndex)) & 0xFFu; }

// round(weightA * a + (1 - weightA) * b) per colour byte; the top byte is A's.
std::uint32_t BlendColor(std::uint32_t a, std::uint32_t b, double weightA);
// Hue rotation of a value in pixel order (byte 2 is red). Greys come back as
// they are.
std::uint32_t ShiftHue(std::uint32_t pixel, int degrees);
// The same for a colour in colour order.
std::uint32_t ShiftHueRGB(std::uint32_t color, int degrees);
// Saturation change by amount percent: 100 doubles each channel's distance
// from the mean, -100 gives grey. Symmetric in red and blue.
std::uint32_t ScaleSaturation(std::uint32_t value, int amount);

// Where a painter finds the background under a control: a picture with the
// control's offset in it (Ready), or a plain colour.
struct ParentPixels {
  PixelView Bitmap;
  int X = 0;
  int Y = 0;
  std::uint32_t FillColor = 0;
  bool Ready = false;
};

// Operations on one picture. A picture narrower or lower than two pixels
// cannot be addressed by row stride and is left alone by FillBitmapRect
// unless it is one row high.
void FillBitmapRect(const PixelView& bitmap, PixelRect rect, std::uint32_t color);
// Percent (0..100) is the weight of the pixel; the rectangle is inclusive.
void TintRect(const PixelView& bitmap, PixelRect rect, int percent, std::uint32_t color);
void SetRectAlpha(const PixelView& bitmap, PixelRect rect, std::uint8_t alpha, bool skipKey);
void GrayBitmap(const PixelView& bitmap);
void GrayBitmapKeyed(const PixelView& bitmap, std::uint32_t key);
void ShiftBitmapHue(const PixelView& bitmap, int degrees);
void ScaleBitmapSaturation(const PixelView& bitmap, int amount);
void TintToward(const PixelView& bitmap, std::uint32_t color, double factor);

// Operations between two pictures.
// d' = (d * alpha + s * (255 - alpha) + 127) >> 8 on all four bytes, when the
// two pictures have the same size.
void MixBitmaps(const PixelView& dest, const PixelView& source, std::uint8_t alpha);
void MixBitmapsAt(const PixelView& dest, const PixelView& source, std::uint8_t alpha, PixelPoint destPoint,
                  PixelRect sourceRect);
// The mixing loop of a bound pair, destination rectangle against the source
// rectangle of the same size; clipped to both pictures.
void MixRect(const PixelView& dest, PixelRect destRect, const PixelView& source, PixelPoint sourceTopLeft,
             std::uint8_t alpha);
// Weight is the share of the destination; the source rectangle is inclusive.
void BlendRectOnto(const PixelView& dest, int x, int y, std::uint32_t key, double weight, PixelRect sourceRect,
                   const PixelView& source);
void ComposeAlpha(PixelRect destRect, PixelRect sourceRect, const PixelView& dest, bool fromParent,
                  const ParentPixels& parent, const PixelView& source);
// Fade is a percentage taken from the source's alpha; tint is NoColor or a
// colour in colour order.
void DrawAlphaPart(PixelRect destRect, PixelRect sourceRect, const PixelView& dest, bool reflect, int fade,
                   std::uint32_t tint, bool fromParent, const ParentPixels& parent, const PixelView& source);
// Source may be 32-bit or 24-bit; key is a colour.
void CopyOpaque(const PixelView& dest, const ByteView& source, int x, std::uint32_t key, int y);
void CopyKeyed(const PixelView& dest, const PixelView& source, int x, std::uint32_t key, PixelRect sourceRect, int y);
void CopyKeyedOverBack(const PixelView& dest, const PixelView& source, int x, bool fromParent,
                       const ParentPixels& parent, std::uint32_t key, PixelRect sourceRect, int y);
// d = (level * (a - b) + 256 * b) >> 8, level 0..256 or per byte from mask.
void MergeByMask(const PixelView& dest, const PixelView& a, const PixelView& b, int level, const PixelView* mask);
void MaskWithColor(const PixelView& dest, const PixelView& mask, std::uint32_t color);
void CopyChannel(const PixelView& wide, const GrayView& narrow, int index, bool toNarrow);

}  // namespace translit
