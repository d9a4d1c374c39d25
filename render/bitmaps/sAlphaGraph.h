// 32-bit off-screen pictures of the skin engine: their creation, the two
// accessor classes that address their pixels by row address and stride, and
// the pixel operations on framework bitmaps. The arithmetic itself lives in
// the portable AlphaKernels; this unit takes the rows of DIB sections and
// adds what needs the platform (GDI rounded rectangles, format conversion).
#pragma once

#include <cstdint>
#include <memory>

#include "framework/Graphics.h"
#include "render/pixels/AlphaKernels.h"

namespace translit {

// Where a painter finds its parent's background: a composed 32-bit picture
// with this control's position in it (Ready), or a plain colour.
struct ParentCache {
  fw::TBitmap* Bitmap = nullptr;  // not owned
  int X = 0;
  int Y = 0;
  fw::TColor FillColor = 0;  // clSkinTransparent: unknown
  bool Ready = false;
};

// A 32-bit DIB: pixel format first, then handle type, width and height.
std::unique_ptr<fw::TBitmap> NewBitmap32(int width, int height);
// Source's size and pixel format; the content is undefined.
std::unique_ptr<fw::TBitmap> NewBitmapLike(fw::TBitmap& source);
// Dest takes source's size and pixels.
void CopyPicture(fw::TBitmap& dest, fw::TBitmap& source);

// The rows of a framework bitmap as the kernels see them. Empty views for
// missing bitmaps and other pixel formats.
PixelView ViewOf(fw::TBitmap* bitmap);
ByteView BytesOf(fw::TBitmap* bitmap);  // 24-bit and 32-bit
GrayView GrayOf(fw::TBitmap* bitmap);   // 8-bit
ParentPixels PixelsOf(const ParentCache& parent);

// Direct access to the pixels of one 32-bit bitmap of at least 2 x 2.
class TacFast32 {
 public:
  fw::TBitmap* Bitmap = nullptr;
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::int32_t RowStride = 0;
  std::uint8_t* FirstRow = nullptr;

  // False (and nothing bound) below 2 x 2; raises fw::EAssertionFailed
  // "Bitmap format is not supported" for any format but 32-bit.
  bool Bind(fw::TBitmap* bitmap);
  // Callers check X and Y against the bound bitmap.
  std::uint8_t* PixelAddress(int x, int y) const {
    return FirstRow + static_cast<std::ptrdiff_t>(y) * RowStride + 4 * x;
  }
  // The pixel in colour order with alpha on top (0xAABBGGRR).
  std::uint32_t ReadPixel(int x, int y) const;
  void WritePixel(int x, int y, std::uint32_t color);
  // Fills with a pixel-order value made opaque; clipped to the bitmap.
  void FillArea(const RECT& rect, std::uint32_t pixel);
  PixelView View() const;
};

// Mixing of a source rectangle into a destination rectangle of two bound
// 32-bit bitmaps: d' = (d * Alpha + s * (255 - Alpha) + 127) >> 8 on all four
// bytes.
class TacFastSum32 {
 public:
  fw::TBitmap* Source = nullptr;
  fw::TBitmap* Dest = nullptr;
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::uint8_t* SourceFirstRow = nullptr;
  std::uint8_t* DestFirstRow = nullptr;
  std::int32_t SourceStride = 0;
  std::int32_t DestStride = 0;
  std::uint8_t Alpha = 0;
  std::int32_t DestLeft = 0, DestTop = 0, DestRight = 0, DestBottom = 0;
  std::int32_t SourceLeft = 0, SourceTop = 0, SourceRight = 0, SourceBottom = 0;

  bool Bind(fw::TBitmap* source, fw::TBitmap* dest);
  // The rectangles are clipped to both bitmaps.
  void Mix();
};

// Operations on one 32-bit bitmap; see AlphaKernels for the arithmetic.
// FillBitmapRect wants an RGB colour; TintRect resolves system colours.
void FillBitmapRect(fw::TBitmap* bitmap, const RECT& rect, fw::TColor color);
void TintRect(fw::TBitmap* bitmap, const RECT& rect, int percent, fw::TColor color);
void SetRectAlpha(fw::TBitmap* bitmap, const RECT& rect, std::uint8_t alpha, bool skipKey);
void GrayBitmap(fw::TBitmap* bitmap);
void GrayBitmapKeyed(fw::TBitmap* bitmap, fw::TColor key);
void ShiftBitmapHue(fw::TBitmap* bitmap, int degrees);
void ScaleBitmapSaturation(fw::TBitmap* bitmap, int amount);
void TintToward(fw::TBitmap* bitmap, fw::TColor color, double factor);

// Operations between two bitmaps.
void MixBitmaps(fw::TBitmap* dest, fw::TBitmap* source, std::uint8_t alpha);
void MixBitmapsAt(fw::TBitmap* dest, fw::TBitmap* source, std::uint8_t alpha, POINT destPoint, const RECT& sourceRect);
void BlendRectOnto(fw::TBitmap* dest, int x, int y, fw::TColor key, double weight, const RECT& sourceRect,
                   fw::TBitmap* source);
void ComposeAlpha(const RECT& destRect, const RECT& sourceRect, fw::TBitmap* dest, bool fromParent,
                  const ParentCache& parent, fw::TBitmap* source);
// Converts source to 32-bit first.
void DrawAlphaPart(const RECT& destRect, const RECT& sourceRect, fw::TBitmap* dest, bool reflect, int fade,
                   fw::TColor tint, bool fromParent, const ParentCache& parent, fw::TBitmap* source);
// A source that is not 32-bit is converted to 24-bit.
void CopyOpaque(fw::TBitmap* dest, fw::TBitmap* source, int x, fw::TColor key, int y);
void CopyKeyed(fw::TBitmap* dest, fw::TBitmap* source, int x, fw::TColor key, const RECT& sourceRect, int y);
void CopyKeyedOverBack(fw::TBitmap* dest, fw::TBitmap* source, int x, bool fromParent, const ParentCache& parent,
                       fw::TColor key, const RECT& sourceRect, int y);
void MergeByMask(fw::TBitmap* dest, fw::TBitmap* a, fw::TBitmap* b, int level, fw::TBitmap* mask);
void MaskWithColor(fw::TBitmap* dest, fw::TBitmap* mask, fw::TColor color);
void CopyChannel(fw::TBitmap* wide, fw::TBitmap* narrow, int index, bool toNarrow);
// Tints the part under rect toward color through rounded rings that fade
// out toward the edges; Level is the share of the picture that stays where
// the shade is strongest.
void ShadeRect(fw::TBitmap* bitmap, const RECT& rect, int level, fw::TColor color, int size, int radius);

}  // namespace translit
