// Framework bitmaps handed to the pixel kernels, and the few operations that
// need GDI.
#include "render/bitmaps/sAlphaGraph.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "framework/Handles.h"
#include "framework/core/SysUtils.h"

namespace translit {

namespace {

PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::uint32_t Bits(fw::TColor c) { return static_cast<std::uint32_t>(c); }

// Signed distance from row 0 to row 1 as the bitmap stores them.
std::ptrdiff_t RowDistance(fw::TBitmap& bitmap) {
  if (bitmap.Height() >= 2)
    return static_cast<std::uint8_t*>(bitmap.ScanLine(1)) - static_cast<std::uint8_t*>(bitmap.ScanLine(0));
  return -static_cast<std::ptrdiff_t>(bitmap.BytesPerRow());
}

bool HasRows(fw::TBitmap* bitmap) {
  return bitmap && bitmap->Width() > 0 && bitmap->Height() > 0 && bitmap->HandleType() == fw::bmDIB;
}

}  // namespace

std::unique_ptr<fw::TBitmap> NewBitmap32(int width, int height) {
  auto bitmap = std::make_unique<fw::TBitmap>();
  bitmap->SetPixelFormat(fw::pf32bit);
  bitmap->SetHandleType(fw::bmDIB);
  bitmap->SetWidth(width);
  bitmap->SetHeight(height);
  return bitmap;
}

std::unique_ptr<fw::TBitmap> NewBitmapLike(fw::TBitmap& source) {
  auto bitmap = std::make_unique<fw::TBitmap>();
  bitmap->SetPixelFormat(source.PixelFormat());
  bitmap->SetSize(source.Width(), source.Height());
  return bitmap;
}

void CopyPicture(fw::TBitmap& dest, fw::TBitmap& source) {
  if (dest.Width() != source.Width() || dest.Height() != source.Height()) dest.SetSize(source.Width(), source.Height());
  ::BitBlt(dest.Canvas().Handle(), 0, 0, source.Width(), source.Height(), source.Canvas().Handle(), 0, 0, SRCCOPY);
}

PixelView ViewOf(fw::TBitmap* bitmap) {
  if (!HasRows(bitmap) || bitmap->PixelFormat() != fw::pf32bit) return {};
  return {static_cast<std::uint8_t*>(bitmap->ScanLine(0)), RowDistance(*bitmap), bitmap->Width(), bitmap->Height()};
}

ByteView BytesOf(fw::TBitmap* bitmap) {
  if (!HasRows(bitmap)) return {};
  const int bpp = bitmap->PixelFormat() == fw::pf32bit ? 4 : bitmap->PixelFormat() == fw::pf24bit ? 3 : 0;
  if (bpp == 0) return {};
  return {static_cast<std::uint8_t*>(bitmap->ScanLine(0)), RowDistance(*bitmap), bitmap->Width(), bitmap->Height(),
          bpp};
}

GrayView GrayOf(fw::TBitmap* bitmap) {
  if (!HasRows(bitmap) || bitmap->PixelFormat() != fw::pf8bit) return {};
  return {static_cast<std::uint8_t*>(bitmap->ScanLine(0)), RowDistance(*bitmap), bitmap->Width(), bitmap->Height()};
}

ParentPixels PixelsOf(const ParentCache& parent) {
  return {ViewOf(parent.Bitmap), parent.X, parent.Y, Bits(parent.FillColor), parent.Ready};
}

bool TacFast32::Bind(fw::TBitmap* bitmap) {
  if (!bitmap || bitmap->Width() < 2 || bitmap->Height() < 2) {
    Width = 0;
    return false;
  }
  Bitmap = bitmap;
  Width = static_cast<std::uint32_t>(bitmap->Width());
  Height = static_cast<std::uint32_t>(bitmap->Height());
  if (bitmap->PixelFormat() != fw::pf32bit) throw fw::EAssertionFailed("Bitmap format is not supported");
  FirstRow = static_cast<std::uint8_t*>(bitmap->ScanLine(0));
  RowStride = static_cast<std::int32_t>(RowDistance(*bitmap));
  return true;
}

std::uint32_t TacFast32::ReadPixel(int x, int y) const {
  std::uint32_t v;
  std::memcpy(&v, PixelAddress(x, y), 4);
  return (v & 0xFF000000u) | ExchangeRB(v & 0x00FFFFFFu);
}

void TacFast32::WritePixel(int x, int y, std::uint32_t color) {
  std::uint32_t v = (color & 0xFF000000u) | ExchangeRB(color & 0x00FFFFFFu);
  std::memcpy(PixelAddress(x, y), &v, 4);
}

PixelView TacFast32::View() const {
  if (Width == 0) return {};
  return {FirstRow, RowStride, static_cast<int>(Width), static_cast<int>(Height)};
}

void TacFast32::FillArea(const RECT& rect, std::uint32_t pixel) {
  const PixelView v = View();
  if (v.Empty()) return;
  const PixelRect r = {std::max<int>(rect.left, 0), std::max<int>(rect.top, 0), std::min<int>(rect.right, v.width),
                       std::min<int>(rect.bottom, v.height)};
  const std::uint32_t value = pixel | 0xFF000000u;
  for (int y = r.Top; y < r.Bottom; ++y) std::fill(v.Row(y) + r.Left, v.Row(y) + std::max(r.Left, r.Right), value);
}

bool TacFastSum32::Bind(fw::TBitmap* source, fw::TBitmap* dest) {
  if (!source || !dest || source->Width() < 2 || source->Height() < 2 || dest->Width() < 2 || dest->Height() < 2)
    return false;
  Source = source;
  Dest = dest;
  Width = static_cast<std::uint32_t>(std::min(source->Width(), dest->Width()));
  Height = static_cast<std::uint32_t>(std::min(source->Height(), dest->Height()));
  SourceFirstRow = static_cast<std::uint8_t*>(source->ScanLine(0));
  DestFirstRow = static_cast<std::uint8_t*>(dest->ScanLine(0));
  SourceStride = static_cast<std::int32_t>(RowDistance(*source));
  DestStride = static_cast<std::int32_t>(RowDistance(*dest));
  return true;
}

void TacFastSum32::Mix() {
  if (!Source || !Dest) return;
  const PixelView dest{DestFirstRow, DestStride, Dest->Width(), Dest->Height()};
  const PixelView source{SourceFirstRow, SourceStride, Source->Width(), Source->Height()};
  // The source row of a destination row counts up from SourceBottom, its
  // column from SourceLeft.
  const long long sourceTop = static_cast<long long>(SourceBottom) - (static_cast<long long>(DestBottom) - DestTop);
  if (sourceTop < INT_MIN || sourceTop > INT_MAX) return;
  MixRect(dest, {DestLeft, DestTop, DestRight, DestBottom}, source, {SourceLeft, static_cast<int>(sourceTop)}, Alpha);
}

void FillBitmapRect(fw::TBitmap* bitmap, const RECT& rect, fw::TColor color) {
  if (!HasRows(bitmap)) return;
  if (bitmap->Height() == 1) {
    if (bitmap->PixelFormat() == fw::pf32bit) FillBitmapRect(ViewOf(bitmap), ToPixelRect(rect), Bits(color));
    return;
  }
  TacFast32 fast;
  if (!fast.Bind(bitmap)) return;
  fast.FillArea(rect, ExchangeRB(Bits(color)));
}

void TintRect(fw::TBitmap* bitmap, const RECT& rect, int percent, fw::TColor color) {
  TintRect(ViewOf(bitmap), ToPixelRect(rect), percent, Bits(fw::ColorToRGB(color)));
}

void SetRectAlpha(fw::TBitmap* bitmap, const RECT& rect, std::uint8_t alpha, bool skipKey) {
  SetRectAlpha(ViewOf(bitmap), ToPixelRect(rect), alpha, skipKey);
}

void GrayBitmap(fw::TBitmap* bitmap) { GrayBitmap(ViewOf(bitmap)); }
void GrayBitmapKeyed(fw::TBitmap* bitmap, fw::TColor key) { GrayBitmapKeyed(ViewOf(bitmap), Bits(key)); }
void ShiftBitmapHue(fw::TBitmap* bitmap, int degrees) { ShiftBitmapHue(ViewOf(bitmap), degrees); }
void ScaleBitmapSaturation(fw::TBitmap* bitmap, int amount) { ScaleBitmapSaturation(ViewOf(bitmap), amount); }
void TintToward(fw::TBitmap* bitmap, fw::TColor color, double factor) {
  TintToward(ViewOf(bitmap), Bits(color), factor);
}

void MixBitmaps(fw::TBitmap* dest, fw::TBitmap* source, std::uint8_t alpha) {
  MixBitmaps(ViewOf(dest), ViewOf(source), alpha);
}

void MixBitmapsAt(fw::TBitmap* dest, fw::TBitmap* source, std::uint8_t alpha, POINT destPoint, const RECT& sourceRect) {
  MixBitmapsAt(ViewOf(dest), ViewOf(source), alpha, {destPoint.x, destPoint.y}, ToPixelRect(sourceRect));
}

void BlendRectOnto(fw::TBitmap* dest, int x, int y, fw::TColor key, double weight, const RECT& sourceRect,
                   fw::TBitmap* source) {
  BlendRectOnto(ViewOf(dest), x, y, Bits(key), weight, ToPixelRect(sourceRect), ViewOf(source));
}

void ComposeAlpha(const RECT& destRect, const RECT& sourceRect, fw::TBitmap* dest, bool fromParent,
                  const ParentCache& parent, fw::TBitmap* source) {
  if (!source) return;
  ComposeAlpha(ToPixelRect(destRect), ToPixelRect(sourceRect), ViewOf(dest), fromParent, PixelsOf(parent),
               ViewOf(source));
}

void DrawAlphaPart(const RECT& destRect, const RECT& sourceRect, fw::TBitmap* dest, bool reflect, int fade,
                   fw::TColor tint, bool fromParent, const ParentCache& parent, fw::TBitmap* source) {
  if (!source) return;
  source->SetPixelFormat(fw::pf32bit);
  DrawAlphaPart(ToPixelRect(destRect), ToPixelRect(sourceRect), ViewOf(dest), reflect, fade, Bits(tint), fromParent,
                PixelsOf(parent), ViewOf(source));
}

void CopyOpaque(fw::TBitmap* dest, fw::TBitmap* source, int x, fw::TColor key, int y) {
  if (!source) return;
  if (source->PixelFormat() != fw::pf32bit) source->SetPixelFormat(fw::pf24bit);
  CopyOpaque(ViewOf(dest), BytesOf(source), x, Bits(key), y);
}

void CopyKeyed(fw::TBitmap* dest, fw::TBitmap* source, int x, fw::TColor key, const RECT& sourceRect, int y) {
  CopyKeyed(ViewOf(dest), ViewOf(source), x, Bits(key), ToPixelRect(sourceRect), y);
}

void CopyKeyedOverBack(fw::TBitmap* dest, fw::TBitmap* source, int x, bool fromParent, const ParentCache& parent,
                       fw::TColor key, const RECT& sourceRect, int y) {
  if (fromParent && parent.Ready && parent.Bitmap) {
    // The parent is read through a bound accessor: a parent that is not
    // 32-bit is an error, one below 2 x 2 paints nothing.
    TacFast32 fast;
    if (!fast.Bind(parent.Bitmap)) return;
  }
  CopyKeyedOverBack(ViewOf(dest), ViewOf(source), x, fromParent, PixelsOf(parent), Bits(key), ToPixelRect(sourceRect),
                    y);
}

void MergeByMask(fw::TBitmap* dest, fw::TBitmap* a, fw::TBitmap* b, int level, fw::TBitmap* mask) {
  const PixelView maskView = ViewOf(mask);
  MergeByMask(ViewOf(dest), ViewOf(a), ViewOf(b), level, mask ? &maskView : nullptr);
}

void MaskWithColor(fw::TBitmap* dest, fw::TBitmap* mask, fw::TColor color) {
  MaskWithColor(ViewOf(dest), ViewOf(mask), Bits(color));
}

void CopyChannel(fw::TBitmap* wide, fw::TBitmap* narrow, int index, bool toNarrow) {
  CopyChannel(ViewOf(wide), GrayOf(narrow), index, toNarrow);
}

void ShadeRect(fw::TBitmap* bitmap, const RECT& rect, int level, fw::TColor color, int size, int radius) {
  if (!HasRows(bitmap)) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  const int s = std::max(0, std::min({w / 2, h / 2, size}));
  const int r = std::max(0, std::min({w / 2, h / 2, radius}));
  const int d = level * 255 / 100;

  auto picture = NewBitmap32(w, h);
  ::BitBlt(picture->Canvas().Handle(), 0, 0, w, h, bitmap->Canvas().Handle(), rect.left, rect.top, SRCCOPY);

  auto mask = NewBitmap32(w, h);
  {
    HDC dc = mask->Canvas().Handle();
    fw::SelectGuard pen(dc, ::GetStockObject(NULL_PEN));
    auto ring = [&](int t, int grey, int corner) {
      const std::uint8_t g = static_cast<std::uint8_t>(std::clamp(grey, 0, 255));
      fw::UniqueBrush brush(::CreateSolidBrush(RGB(g, g, g)));
      fw::SelectGuard select(dc, brush.Get());
      ::RoundRect(dc, t, t, w - t, h - t, corner, corner);
    };
    for (int t = 0; t <= s; ++t) {
      const int grey = t == 0 ? 255 : d + static_cast<int>(std::nearbyint((255.0 - d) / (s + 1) * (s + 1 - t)));
      ring(t, grey, r);
    }
    ring(s, d, s);
  }
  ::GdiFlush();
  MaskWithColor(ViewOf(picture.get()), ViewOf(mask.get()), Bits(fw::ColorToRGB(color)));
  ::BitBlt(bitmap->Canvas().Handle(), rect.left, rect.top, w, h, picture->Canvas().Handle(), 0, 0, SRCCOPY);
  ::GdiFlush();
}

}  // namespace translit
