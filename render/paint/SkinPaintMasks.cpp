// Mask and texture painters. Key masks go down with GDI blits (edges,
// centres, textures) and keyed copies (corners); masks with a mask layer
// are composed pixel by pixel. Coordinates are widened to 64 bits before
// any sum, since rectangles and margins come from skin files.
#include "render/paint/SkinPaintMasks.h"
#include "controls/protocol/sSkinState.h"
#include "render/paint/SkinPaintGeometry.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "framework/Handles.h"
#include "skin/sSkinTables.h"

namespace translit {
namespace {

using paint::LimitState;

using i64 = long long;

struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

int ClampInt(i64 v) { return static_cast<int>(std::clamp<i64>(v, INT_MIN / 2, INT_MAX / 2)); }

// Two opposite margins shrunk to fit size: both lose half the excess, the
// far one a pixel more on an odd size.
void ShrinkPair(int& nearSide, int& farSide, i64 size) {
  if (size >= i64{nearSide} + farSide) return;
  const int excess = static_cast<int>((i64{nearSide} + farSide - size) / 2);
  nearSide = std::max(nearSide - excess, 0);
  farSide = std::max(farSide - excess - (size % 2 != 0 ? 1 : 0), 0);
}

Margins FitMargins(const TsMaskData& mask, i64 width, i64 height) {
  Margins m{std::max<int>(mask.MarginLeft, 0), std::max<int>(mask.MarginTop, 0), std::max<int>(mask.MarginRight, 0),
            std::max<int>(mask.MarginBottom, 0)};
  ShrinkPair(m.left, m.right, width);
  ShrinkPair(m.top, m.bottom, height);
  return m;
}

bool SourceInside(const TsMaskData& mask, fw::TBitmap* image) {
  return mask.SrcLeft >= 0 && mask.SrcTop >= 0 && mask.SrcRight > mask.SrcLeft && mask.SrcBottom > mask.SrcTop &&
         mask.SrcRight <= image->Width() && mask.SrcBottom <= image->Height();
}

// One colour byte composed with its mask byte: 255 lets the destination
// through, 0 shows the image.
constexpr std::uint32_t LayerByte(int d, int s, int m) {
  return static_cast<std::uint32_t>(((d - s) * m + 256 * s) >> 8);
}

std::uint32_t LayerPixel(std::uint32_t d, std::uint32_t s, std::uint32_t m) {
  std::uint32_t out = d & 0xFF000000u;
  for (int c = 0; c < 3; ++c)
    out |= LayerByte(static_cast<int>(ChannelOf(d, c)), static_cast<int>(ChannelOf(s, c)),
                     static_cast<int>(ChannelOf(m, c)))
           << (8 * c);
  return out;
}

PixelRect Inclusive(i64 left, i64 top, i64 width, i64 height) {
  return {ClampInt(left), ClampInt(top), ClampInt(left + width - 1), ClampInt(top + height - 1)};
}

// A block of w x h from source to dest, cut to both bitmaps.
void Blit(fw::TBitmap* dest, i64 dx, i64 dy, i64 w, i64 h, fw::TBitmap* source, i64 sx, i64 sy) {
  if (sx < 0) {
    dx -= sx;
    w += sx;
    sx = 0;
  }
  if (sy < 0) {
    dy -= sy;
    h += sy;
    sy = 0;
  }
  if (dx < 0) {
    sx -= dx;
    w += dx;
    dx = 0;
  }
  if (dy < 0) {
    sy -= dy;
    h += dy;
    dy = 0;
  }
  w = std::min({w, i64{source->Width()} - sx, i64{dest->Width()} - dx});
  h = std::min({h, i64{source->Height()} - sy, i64{dest->Height()} - dy});
  if (w <= 0 || h <= 0) return;
  HDC sourceDC = source->Canvas().Handle();
  ::BitBlt(dest->Canvas().Handle(), static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(w),
           static_cast<int>(h), sourceDC, static_cast<int>(sx), static_cast<int>(sy), SRCCOPY);
}

// Source block stretched over destArea; a source block outside its bitmap
// is not drawn. GDI cuts the destination to the bitmap.
void Stretch(fw::TBitmap* dest, i64 dl, i64 dt, i64 dw, i64 dh, fw::TBitmap* source, i64 sx, i64 sy, i64 sw, i64 sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (sx < 0 || sy < 0 || sx + sw > source->Width() || sy + sh > source->Height()) return;
  if (dl >= dest->Width() || dt >= dest->Height() || dl + dw <= 0 || dt + dh <= 0) return;
  if (dw > INT_MAX / 2 || dh > INT_MAX / 2 || dl < INT_MIN / 2 || dt < INT_MIN / 2) return;
  HDC sourceDC = source->Canvas().Handle();
  HDC dc = dest->Canvas().Handle();
  fw::SaveDCGuard saved(dc);
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, static_cast<int>(dl), static_cast<int>(dt), static_cast<int>(dw), static_cast<int>(dh), sourceDC,
               static_cast<int>(sx), static_cast<int>(sy), static_cast<int>(sw), static_cast<int>(sh), SRCCOPY);
}

// Cells of w x h laid from the area's top-left corner, the last column and
// row cut at its right and bottom. Cells wholly outside a bitmap of
// limitW x limitH are not visited, so a huge area costs no more than the
// bitmap.
template <class Cell>
void ForEachCell(i64 left, i64 top, i64 right, i64 bottom, int limitW, int limitH, i64 w, i64 h, Cell cell) {
  if (w <= 0 || h <= 0) return;
  const i64 visibleLeft = std::max<i64>(left, 0), visibleTop = std::max<i64>(top, 0);
  const i64 visibleRight = std::min<i64>(right, limitW), visibleBottom = std::min<i64>(bottom, limitH);
  if (visibleRight <= visibleLeft || visibleBottom <= visibleTop) return;
  const i64 firstX = left + (visibleLeft - left) / w * w;
  const i64 firstY = top + (visibleTop - top) / h * h;
  for (i64 y = firstY; y < visibleBottom; y += h)
    for (i64 x = firstX; x < visibleRight; x += w) cell(x, y, std::min(w, right - x), std::min(h, bottom - y));
}

void Tile(fw::TBitmap* dest, i64 left, i64 top, i64 right, i64 bottom, fw::TBitmap* source, i64 sx, i64 sy, i64 w,
          i64 h) {
  ForEachCell(left, top, right, bottom, dest->Width(), dest->Height(), w, h,
              [&](i64 x, i64 y, i64 cw, i64 ch) { Blit(dest, x, y, cw, ch, source, sx, sy); });
}

void TileLayered(fw::TBitmap* dest, i64 left, i64 top, i64 right, i64 bottom, fw::TBitmap* image, i64 sx, i64 sy, i64 w,
                 i64 h, const TsMaskData& mask, bool fromParent, const ParentCache& parent) {
  ForEachCell(left, top, right, bottom, dest->Width(), dest->Height(), w, h, [&](i64 x, i64 y, i64 cw, i64 ch) {
    RECT d{ClampInt(x), ClampInt(y), ClampInt(x + cw), ClampInt(y + ch)};
    RECT s{ClampInt(sx), ClampInt(sy), ClampInt(sx + cw), ClampInt(sy + ch)};
    CopyLayeredPiece(d, s, dest, mask, fromParent, parent, image);
  });
}

void CutRun(HRGN region, i64 left, i64 top, i64 right) {
  if (!region) return;
  fw::UniqueRgn run(::CreateRectRgn(ClampInt(left), ClampInt(top), ClampInt(right), ClampInt(top + 1)));
  if (run) ::CombineRgn(region, region, run.Get(), RGN_DIFF);
}

// The parent's background (or colour) into an area of bitmap.
void FillFromParent(fw::TBitmap* bitmap, i64 left, i64 top, i64 right, i64 bottom, const ParentCache& parent) {
  PixelView d = ViewOf(bitmap);
  if (d.Empty()) return;
  left = std::max<i64>(left, 0);
  top = std::max<i64>(top, 0);
  right = std::min<i64>(right, d.width);
  bottom = std::min<i64>(bottom, d.height);
  if (right <= left || bottom <= top) return;
  if (!parent.Ready) {
    FillBitmapRect(
        bitmap, RECT{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)},
        parent.FillColor);
    return;
  }
  PixelView p = ViewOf(parent.Bitmap);
  if (p.Empty()) return;
  for (i64 y = top; y < bottom; ++y) {
    const i64 py = parent.Y + y;
    if (py < 0 || py >= p.height) continue;
    for (i64 x = left; x < right; ++x) {
      const i64 px = parent.X + x;
      if (px >= 0 && px < p.width)
        d.At(static_cast<int>(x), static_cast<int>(y)) = p.At(static_cast<int>(px), static_cast<int>(py));
    }
  }
}

// One state image composed with its mask layer (layerOffset rows below):
// key pixels and pixels whose mask is fully red stay as they are; the
// destination gains opacity where the mask's red channel is low.
void DrawLayered(const PixelView& d, const PixelView& s, i64 x, i64 y, i64 sx, i64 sy, i64 w, i64 h, i64 layerOffset,
                 int look) {
  w = std::min({w, i64{d.width} - x, i64{s.width} - sx});
  h = std::min({h, i64{d.height} - y, i64{s.height} - sy - layerOffset});
  if (sx < 0 || sy < 0 || w <= 0 || h <= 0) return;
  for (i64 r = 0; r < h; ++r) {
    std::uint32_t* dRow = d.Row(static_cast<int>(y + r)) + x;
    const std::uint32_t* sRow = s.Row(static_cast<int>(sy + r)) + sx;
    const std::uint32_t* mRow = s.Row(static_cast<int>(sy + r + layerOffset)) + sx;
    for (i64 c = 0; c < w; ++c) {
      const std::uint32_t sv = sRow[c], mv = mRow[c];
      const std::uint32_t red = ChannelOf(mv, 2);
      if (sv == KeyPixel || red == 255) continue;
      const std::uint32_t dv = dRow[c];
      std::uint32_t out = 0;
      for (int ch = 0; ch < 3; ++ch) {
        int m = static_cast<int>(ChannelOf(mv, ch));
        if (look != mlNormal) m = std::min(m + 100, 255);
        const int v = ((static_cast<int>(ChannelOf(dv, ch)) - static_cast<int>(ChannelOf(sv, ch))) * m +
                       256 * static_cast<int>(ChannelOf(sv, ch))) >>
                      8;
        out |= static_cast<std::uint32_t>(std::clamp(v, 0, 255)) << (8 * ch);
      }
      const std::uint32_t a = dv >> 24;
      out |= (a + (255 - a) * (255 - red) / 255) << 24;
      dRow[c] = out;
    }
  }
}

}  // namespace

fw::TBitmap* MaskImage(const TsMaskData& mask) {
  if (mask.OwnBitmap) return mask.OwnBitmap.get();
  if (mask.Owner && mask.Owner->MasterBitmap) return mask.Owner->MasterBitmap.get();
  return nullptr;
}

void CopyLayeredPiece(const RECT& destRect, const RECT& sourceRect, fw::TBitmap* dest, const TsMaskData& mask,
                      bool fromParent, const ParentCache& parent, fw::TBitmap* image) {
  PixelView d = ViewOf(dest), s = ViewOf(image);
  if (d.Empty() || s.Empty()) return;
  const i64 layerOffset = mask.Height() / 2;
  if (layerOffset <= 0) return;
  i64 dl = destRect.left, dt = destRect.top, sl = sourceRect.left, st = sourceRect.top;
  i64 cols = std::min(i64{destRect.right} - destRect.left, i64{sourceRect.right} - sourceRect.left);
  i64 rows = std::min(i64{destRect.bottom} - destRect.top, i64{sourceRect.bottom} - sourceRect.top);
  const i64 shiftX = std::max({i64{0}, -dl, -sl}), shiftY = std::max({i64{0}, -dt, -st});
  dl += shiftX, sl += shiftX, cols -= shiftX;
  dt += shiftY, st += shiftY, rows -= shiftY;
  cols = std::min({cols, i64{d.width} - dl, i64{s.width} - sl});
  rows = std::min({rows, i64{d.height} - dt, i64{s.height} - st - layerOffset});
  if (cols <= 0 || rows <= 0) return;
  const ParentPixels back = PixelsOf(parent);
  const std::uint32_t fill = ExchangeRB(back.FillColor) | 0xFF000000u;
  const bool opaque = parent.Ready && fromParent;
  for (i64 r = 0; r < rows; ++r) {
    const i64 y = dt + r;
    std::uint32_t* dRow = d.Row(static_cast<int>(y));
    const std::uint32_t* sRow = s.Row(static_cast<int>(st + r));
    const std::uint32_t* mRow = s.Row(static_cast<int>(st + r + layerOffset));
    for (i64 c = 0; c < cols; ++c) {
      const i64 x = dl + c;
      const std::uint32_t sv = sRow[sl + c];
      if (sv == KeyPixel && !(parent.Ready && !fromParent)) {
        if (opaque) {
          // A key pixel outside the parent's picture is left alone; the image
          // pixels right of it are still drawn.
          const i64 px = i64{back.X} + x, py = i64{back.Y} + y;
          if (!back.Bitmap.Empty() && px >= 0 && py >= 0 && px < back.Bitmap.width && py < back.Bitmap.height)
            dRow[x] = back.Bitmap.At(static_cast<int>(px), static_cast<int>(py)) | 0xFF000000u;
        } else if (fromParent) {
          dRow[x] = fill;
        }
        continue;
      }
      std::uint32_t out = LayerPixel(dRow[x], sv, mRow[sl + c]);
      if (opaque) out |= 0xFF000000u;
      dRow[x] = out;
    }
  }
}

void PaintBorderMask(fw::TBitmap* bitmap, const RECT& rect, bool fromParent, int state, const TsMaskData& mask,
                     ParentCache parent) {
  if (SkinLoadInProgress) return;
  if (!bitmap || (state == 0 && (mask.FillMode & 2) != 0)) return;
  const i64 width = i64{rect.right} - rect.left, height = i64{rect.bottom} - rect.top;
  if (width < 2 || height < 2 || !mask.Owner || mask.StateCount <= 0) return;
  fw::TBitmap* image = MaskImage(mask);
  if (!image || !SourceInside(mask, image) || ViewOf(bitmap).Empty()) return;
  const int sw = MaskStateWidth(mask), sh = MaskStateHeight(mask);
  if (sw <= 0 || sh <= 0) return;
  const Margins m = FitMargins(mask, width, height);
  const i64 mw = i64{sw} - m.left - m.right, mh = i64{sh} - m.top - m.bottom;
  if (mw < 0 || mh < 0) return;
  const i64 x0 = mask.SrcLeft + i64{LimitState(state, mask.StateCount)} * sw, y0 = mask.SrcTop;
  const i64 L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  const i64 rightSrc = x0 + sw - m.right, bottomSrc = y0 + sh - m.bottom;
  const bool centre = (mask.FillMode & 4) != 0;
  // The nine pieces in their painting order: corner(dest x, y, source x, y,
  // w, h) and edge(dest left, top, right, bottom, source x, y, w, h).
  auto layNine = [&](auto corner, auto edge) {
    corner(L, T, x0, y0, m.left, m.top);
    edge(L, T + m.top, L + m.left, B - m.bottom, x0, y0 + m.top, m.left, mh);
    edge(L + m.left, T, R - m.right, T + m.top, x0 + m.left, y0, mw, m.top);
    corner(L, B - m.bottom, x0, bottomSrc, m.left, m.bottom);
    edge(L + m.left, B - m.bottom, R - m.right, B, x0 + m.left, bottomSrc, mw, m.bottom);
    corner(R - m.right, B - m.bottom, rightSrc, bottomSrc, m.right, m.bottom);
    corner(R - m.right, T, rightSrc, y0, m.right, m.top);
    edge(R - m.right, T + m.top, R, B - m.bottom, rightSrc, y0 + m.top, m.right, mh);
    if (centre) edge(L + m.left, T + m.top, R - m.right, B - m.bottom, x0 + m.left, y0 + m.top, mw, mh);
  };

  if (mask.ExtraLayers != 0) {
    const ParentCache none{};
    auto corner = [&](i64 dx, i64 dy, i64 sx, i64 sy, i64 w, i64 h) {
      CopyLayeredPiece(RECT{ClampInt(dx), ClampInt(dy), ClampInt(dx + w), ClampInt(dy + h)},
                       RECT{ClampInt(sx), ClampInt(sy), ClampInt(sx + w), ClampInt(sy + h)}, bitmap, mask, fromParent,
                       parent, image);
    };
    auto tiles = [&](i64 l, i64 t, i64 r, i64 b, i64 sx, i64 sy, i64 w, i64 h) {
      TileLayered(bitmap, l, t, r, b, image, sx, sy, w, h, mask, false, none);
    };
    layNine(corner, tiles);
    return;
  }

  const bool stretch = (mask.FillMode & 1) != 0;
  auto corner = [&](i64 dx, i64 dy, i64 sx, i64 sy, i64 w, i64 h) {
    if (w <= 0 || h <= 0) return;
    CopyKeyedOverBack(ViewOf(bitmap), ViewOf(image), ClampInt(dx), fromParent, PixelsOf(parent), KeyPixel,
                      Inclusive(sx, sy, w, h), ClampInt(dy));
  };
  auto piece = [&](i64 l, i64 t, i64 r, i64 b, i64 sx, i64 sy, i64 w, i64 h) {
    if (stretch)
      Stretch(bitmap, l, t, r - l, b - t, image, sx, sy, w, h);
    else
      Tile(bitmap, l, t, r, b, image, sx, sy, w, h);
  };
  layNine(corner, piece);
}

void DrawMaskImage(fw::TBitmap* bitmap, POINT position, int state, const ParentCache& parent, const TsMaskData& mask,
                   int look) {
  if (SkinLoadInProgress) return;
  fw::TBitmap* image = MaskImage(mask);
  if (!image || mask.StateCount <= 0) return;
  PixelView d = ViewOf(bitmap);
  if (d.Empty()) return;
  const int sw = MaskStateWidth(mask), sh = MaskStateHeight(mask);
  if (sw <= 0 || sh <= 0) return;
  i64 x = position.x, y = position.y, w = sw, h = sh;
  i64 sx = mask.SrcLeft + i64{LimitState(state, mask.StateCount)} * sw, sy = mask.SrcTop;
  if (x < 0) {
    sx -= x;
    w += x;
    x = 0;
  }
  if (y < 0) {
    sy -= y;
    h += y;
    y = 0;
  }
  if (w <= 0 || h <= 0 || x >= d.width || y >= d.height) return;
  const bool own = mask.OwnBitmap != nullptr;
  if (own && (image->Width() < mask.SrcRight || image->Height() < mask.SrcBottom)) return;
  PixelView s = ViewOf(image);
  if (s.Empty()) return;
  if (own || mask.ExtraLayers > 0) {
    if (mask.ExtraLayers == 0) {
      CopyKeyed(d, s, ClampInt(x), KeyPixel, Inclusive(sx, sy, w, h), ClampInt(y));
      return;
    }
    DrawLayered(d, s, x, y, sx, sy, w, h, mask.Height() / (mask.ExtraLayers + 1), look);
    return;
  }
  if (look == mlNormal)
    CopyKeyedOverBack(d, s, ClampInt(x), true, PixelsOf(parent), KeyPixel, Inclusive(sx, sy, w, h), ClampInt(y));
  else
    BlendRectOnto(d, ClampInt(x), ClampInt(y), KeyPixel, 0.5, Inclusive(sx, sy, w, h), s);
}

void DrawTexture(fw::TBitmap* target, RECT& rect, fw::TBitmap* picture, int mode, const TsMaskData* mask) {
  if (SkinLoadInProgress) return;
  if (!target) return;
  const RECT none{-1, -1, -1, -1};
  const i64 L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  if (picture && picture->Width() > 0 && picture->Height() > 0) {
    Tile(target, L, T, R, B, picture, 0, 0, picture->Width(), picture->Height());
    rect = none;
    return;
  }
  fw::TBitmap* image = mask ? MaskImage(*mask) : nullptr;
  if (!image || !SourceInside(*mask, image) || mode < 0) return;
  const i64 sx = mask->SrcLeft, sy = mask->SrcTop, tw = mask->Width(), th = mask->Height();
  switch (mode) {
    case 0:
    case 10:
      Tile(target, L, T, R, B, image, sx, sy, tw, th);
      rect = none;
      return;
    case 1:
      Stretch(target, L, T, R - L, B - T, image, sx, sy, tw, th);
      rect = none;
      return;
    case 2: {
      const i64 stripBottom = std::clamp(T + th, T, std::max(T, B));
      Tile(target, L, T, R, stripBottom, image, sx, sy, tw, th);
      rect.top = static_cast<int>(stripBottom);
      return;
    }
    case 3: {
      const i64 stripRight = std::clamp(L + tw, L, std::max(L, R));
      Tile(target, L, T, stripRight, B, image, sx, sy, tw, th);
      rect.left = static_cast<int>(stripRight);
      return;
    }
    case 4: {
      // Stretched across only: a rectangle lower than the texture takes its
      // top rows unscaled.
      const i64 h = std::min(th, std::max<i64>(B - T, 0));
      Stretch(target, L, T, R - L, h, image, sx, sy, tw, h);
      rect.top = static_cast<int>(T + h);
      return;
    }
    case 5: {
      const i64 w = std::min(tw, std::max<i64>(R - L, 0));
      Stretch(target, L, T, w, B - T, image, sx, sy, w, th);
      rect.left = static_cast<int>(L + w);
      return;
    }
    case 6: {
      const i64 stripTop = std::clamp(B - th, std::min(T, B), B);
      Tile(target, L, stripTop, R, B, image, sx, sy, tw, th);
      rect.bottom = static_cast<int>(stripTop);
      return;
    }
    default: {
      const i64 stripLeft = std::clamp(R - tw, std::min(L, R), R);
      Tile(target, stripLeft, T, R, B, image, sx, sy, tw, th);
      if (mode == 7) rect.right = static_cast<int>(stripLeft);
      return;
    }
  }
}

void DrawTextureFromMask(fw::TBitmap* bitmap, const RECT& rect, const ParentCache& parent, int mode,
                         const TsMaskData& mask) {
  if (SkinLoadInProgress) return;
  if (mode != 0 && mode != 10) return;
  fw::TBitmap* image = MaskImage(mask);
  if (!image || ViewOf(bitmap).Empty()) return;
  const i64 cellW = MaskStateWidth(mask), cellH = mask.Height() / 2;
  if (cellW <= 0 || cellH <= 0) return;
  const i64 L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  if (R <= L || B <= T) return;
  if (mode == 0) {
    TileLayered(bitmap, L, T, R, B, image, mask.SrcLeft, mask.SrcTop, cellW, cellH, mask, true, parent);
    return;
  }
  const i64 wholeRight = L + (R - L) / cellW * cellW, wholeBottom = T + (B - T) / cellH * cellH;
  TileLayered(bitmap, L, T, wholeRight, wholeBottom, image, mask.SrcLeft, mask.SrcTop, cellW, cellH, mask, true,
              parent);
  FillFromParent(bitmap, wholeRight, T, R, wholeBottom, parent);
  FillFromParent(bitmap, L, wholeBottom, R, B, parent);
}

void CopyMaskPiece(int destLeft, int destTop, int destRight, int destBottom, int sourceLeft, int sourceTop,
                   int sourceRight, int sourceBottom, fw::TBitmap* dest, HRGN region, const TsMaskData& mask,
                   bool cutKeys) {
  if (destLeft < 0 || destTop < 0 || destRight < 0 || destBottom < 0 || !mask.Owner) return;
  PixelView d = ViewOf(dest);
  if (d.Empty() || d.width < 2 || d.height < 2) return;
  fw::TBitmap* image = MaskImage(mask);
  PixelView s = ViewOf(image);
  if (s.Empty()) return;
  const bool layered = mask.ExtraLayers == 1;
  const i64 layerOffset = layered ? mask.Height() / 2 : 0;
  i64 sl = sourceLeft, st = sourceTop, dl = destLeft, dt = destTop;
  i64 cols = std::min(i64{destRight} - destLeft, i64{sourceRight} - sourceLeft) + 1;
  i64 rows = std::min(i64{destBottom} - destTop, i64{sourceBottom} - sourceTop) + 1;
  if (sl < 0) {
    dl -= sl;
    cols += sl;
    sl = 0;
  }
  if (st < 0) {
    dt -= st;
    rows += st;
    st = 0;
  }
  cols = std::min({cols, i64{d.width} - dl, i64{s.width} - sl});
  rows = std::min({rows, i64{d.height} - dt, i64{s.height} - st - layerOffset});
  if (cols <= 0 || rows <= 0) return;
  for (i64 r = 0; r < rows; ++r) {
    std::uint32_t* dRow = d.Row(static_cast<int>(dt + r)) + dl;
    const std::uint32_t* sRow = s.Row(static_cast<int>(st + r)) + sl;
    const std::uint32_t* mRow = layered ? s.Row(static_cast<int>(st + r + layerOffset)) + sl : nullptr;
    i64 runStart = -1;
    for (i64 c = 0; c <= cols; ++c) {
      const bool key = c < cols && cutKeys && sRow[c] == KeyPixel;
      if (key) {
        if (runStart < 0) runStart = c;
        continue;
      }
      if (runStart >= 0) {
        CutRun(region, dl + runStart, dt + r, dl + c);
        runStart = -1;
      }
      if (c == cols) break;
      dRow[c] = layered ? LayerPixel(dRow[c], sRow[c], mRow[c]) : sRow[c];
    }
  }
}

void PaintBorderMaskWithRegion(fw::TBitmap* bitmap, HRGN region, bool drawCentre, const TsMaskData& mask, int state) {
  if (SkinLoadInProgress) return;
  if (!bitmap || bitmap->Width() < 2 || bitmap->Height() < 2 || !mask.Owner) return;
  fw::TBitmap* image = MaskImage(mask);
  if (!image || mask.ExtraLayers + 1 <= 0) return;
  i64 srcLeft = mask.SrcLeft, srcTop = mask.SrcTop, srcWidth = mask.Width(), srcHeight = mask.Height();
  int count = mask.StateCount;
  if (count < 1) {
    count = 1;
    if (mask.OwnBitmap) srcLeft = 0, srcTop = 0, srcWidth = image->Width(), srcHeight = image->Height();
  }
  const i64 W = bitmap->Width(), H = bitmap->Height();
  const Margins m = FitMargins(mask, W, H);
  const i64 sw = srcWidth / count, lh = srcHeight / (mask.ExtraLayers + 1);
  const i64 x0 = srcLeft + i64{LimitState(state, count)} * sw, y0 = srcTop;
  const i64 ownLeft = std::max<int>(mask.MarginLeft, 0), ownTop = std::max<int>(mask.MarginTop, 0);
  const i64 mw = std::max<i64>(sw - ownLeft - std::max<int>(mask.MarginRight, 0), 0);
  const i64 mh = std::max<i64>(lh - ownTop - std::max<int>(mask.MarginBottom, 0), 0);
  const bool stretch = (mask.FillMode & 1) != 0 && mask.ExtraLayers != 1;

  auto copy = [&](i64 dl, i64 dt, i64 w, i64 h, i64 sl, i64 st, bool cut) {
    if (w <= 0 || h <= 0) return;
    CopyMaskPiece(ClampInt(dl), ClampInt(dt), ClampInt(dl + w - 1), ClampInt(dt + h - 1), ClampInt(sl), ClampInt(st),
                  ClampInt(sl + w - 1), ClampInt(st + h - 1), bitmap, region, mask, cut);
  };
  // Edges and the centre: stretched over the area, or whole copies from its
  // top-left corner with the last one cut.
  auto fill = [&](i64 l, i64 t, i64 r, i64 b, i64 sl, i64 st, i64 w, i64 h) {
    if (stretch) {
      Stretch(bitmap, l, t, r - l, b - t, image, sl, st, w, h);
      return;
    }
    ForEachCell(l, t, r, b, bitmap->Width(), bitmap->Height(), w, h,
                [&](i64 x, i64 y, i64 cw, i64 ch) { copy(x, y, cw, ch, sl, st, false); });
  };
  const i64 bottomSrc = y0 + lh - m.bottom, rightSrc = x0 + sw - m.right;
  copy(0, 0, m.left, m.top, x0, y0, true);
  copy(0, H - m.bottom, m.left, m.bottom, x0, bottomSrc, true);
  if (mh > 0) fill(0, m.top, m.left, H - m.bottom, x0, y0 + ownTop, m.left, mh);
  if (mw > 0) fill(m.left, 0, W - m.right, m.top, x0 + ownLeft, y0, mw, m.top);
  if (mw > 0) fill(m.left, H - m.bottom, W - m.right, H, x0 + ownLeft, bottomSrc, mw, m.bottom);
  if (mh > 0) fill(W - m.right, m.top, W, H - m.bottom, rightSrc, y0 + ownTop, m.right, mh);
  copy(W - m.right, H - m.bottom, m.right, m.bottom, rightSrc, bottomSrc, true);
  copy(W - m.right, 0, m.right, m.top, rightSrc, y0, true);
  if (drawCentre && (mask.FillMode & 4) != 0 && mw > 0 && mh > 0)
    fill(m.left, m.top, W - m.right, H - m.bottom, x0 + ownLeft, y0 + ownTop, mw, mh);
}

void CollectMaskRegionRects(std::vector<RECT>& rects, int width, const TsMaskData& mask, bool bottom, int offset) {
  if (!mask.Owner || mask.ExtraLayers + 1 <= 0) return;
  PixelView s = ViewOf(MaskImage(mask));
  if (s.Empty()) return;
  const i64 cellHeight = bottom ? mask.MarginBottom : mask.MarginTop;
  const i64 firstRow = mask.SrcTop + (bottom ? mask.Height() / (mask.ExtraLayers + 1) - mask.MarginBottom : 0);
  if (cellHeight <= 0 || firstRow < 0 || s.height < firstRow + cellHeight) return;
  const i64 stateWidth = MaskStateWidth(mask);
  auto scan = [&](i64 firstColumn, i64 lastColumn, i64 shift) {
    for (i64 row = 0; row < cellHeight; ++row) {
      const std::uint32_t* line = s.Row(static_cast<int>(firstRow + row));
      i64 runStart = -1;
      for (i64 column = firstColumn; column <= lastColumn + 1; ++column) {
        const i64 x = mask.SrcLeft + column;
        const bool key = column <= lastColumn && x >= 0 && x < s.width && line[x] == KeyPixel;
        if (key) {
          if (runStart < 0) runStart = column;
          continue;
        }
        if (runStart >= 0) {
          rects.push_back(RECT{ClampInt(runStart + shift), ClampInt(offset + row), ClampInt(column + shift),
                               ClampInt(offset + row + 1)});
          runStart = -1;
        }
      }
    }
  };
  // Columns past the image's edge can hold no key pixel.
  const i64 lastInImage = i64{s.width} - 1 - mask.SrcLeft;
  scan(0, std::min(i64{mask.MarginLeft} - 1, lastInImage), 0);
  scan(stateWidth - mask.MarginRight, std::min(stateWidth - 1, lastInImage), i64{width} - stateWidth);
}

}  // namespace translit
