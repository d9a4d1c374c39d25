// Mask and texture painters. Key masks go down with GDI blits (edges,
// centres, textures) and keyed copies (corners); masks with a mask layer
// are composed pixel by pixel. Coordinates are widened to 64 bits before
// any sum, since rectangles and margins come from skin files.
#include "render/paint/SkinPaintMasks.h"
#include "controls/protocol/sSkinState.h"
#include "render/paint/SkinPaintGeometry.h"
#include "render/paint/SkinPaintTarget.h"

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

// Where a piece goes: right and bottom exclusive.
struct Area {
  i64 left = 0, top = 0, right = 0, bottom = 0;
};

// Where a piece comes from in its picture.
struct Block {
  i64 x = 0, y = 0, w = 0, h = 0;
};

// A mask's picture as its pieces are cut from it, taken once per painter:
// the bitmap for blits, its pixels, and the mask layer (when the picture
// has one) the given number of rows below each image row.
struct PieceSource {
  fw::TBitmap* image = nullptr;
  PixelView pixels;
  bool maskLayer = false;
  i64 layerOffset = 0;

  static PieceSource Of(fw::TBitmap* image, bool maskLayer, i64 layerOffset) {
    return {image, ViewOf(image), maskLayer, layerOffset};
  }
};

// What shows through a piece's key pixels, taken once per painter: the
// parent's picture (Ready) or colour, and whether key pixels take it
// (fromParent).
struct Underlay {
  bool fromParent = false;
  ParentPixels back;

  static Underlay Of(bool fromParent, const ParentCache& parent) { return {fromParent, PixelsOf(parent)}; }
};

int ClampInt(i64 v) { return static_cast<int>(std::clamp<i64>(v, INT_MIN / 2, INT_MAX / 2)); }

RECT ClampedRect(i64 left, i64 top, i64 right, i64 bottom) {
  return RECT{ClampInt(left), ClampInt(top), ClampInt(right), ClampInt(bottom)};
}

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

PixelRect Inclusive(const Block& b) {
  return {ClampInt(b.x), ClampInt(b.y), ClampInt(b.x + b.w - 1), ClampInt(b.y + b.h - 1)};
}

// A block of source to (dx, dy) of dest, cut to both bitmaps.
void Blit(const TacPaintTarget& dest, i64 dx, i64 dy, fw::TBitmap* source, Block from) {
  if (from.x < 0) {
    dx -= from.x;
    from.w += from.x;
    from.x = 0;
  }
  if (from.y < 0) {
    dy -= from.y;
    from.h += from.y;
    from.y = 0;
  }
  if (dx < 0) {
    from.x -= dx;
    from.w += dx;
    dx = 0;
  }
  if (dy < 0) {
    from.y -= dy;
    from.h += dy;
    dy = 0;
  }
  const i64 w = std::min({from.w, i64{source->Width()} - from.x, i64{dest.Bitmap->Width()} - dx});
  const i64 h = std::min({from.h, i64{source->Height()} - from.y, i64{dest.Bitmap->Height()} - dy});
  if (w <= 0 || h <= 0) return;
  HDC sourceDC = source->Canvas().Handle();
  ::BitBlt(dest.Bitmap->Canvas().Handle(), static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(w),
           static_cast<int>(h), sourceDC, static_cast<int>(from.x), static_cast<int>(from.y), SRCCOPY);
}

// A source block stretched over an area; a block outside its bitmap is not
// drawn. GDI cuts the destination to the bitmap.
void Stretch(const TacPaintTarget& dest, const Area& to, fw::TBitmap* source, const Block& from) {
  const i64 dw = to.right - to.left, dh = to.bottom - to.top;
  if (dw <= 0 || dh <= 0 || from.w <= 0 || from.h <= 0) return;
  if (from.x < 0 || from.y < 0 || from.x + from.w > source->Width() || from.y + from.h > source->Height()) return;
  if (to.left >= dest.Bitmap->Width() || to.top >= dest.Bitmap->Height() || to.right <= 0 || to.bottom <= 0) return;
  if (dw > INT_MAX / 2 || dh > INT_MAX / 2 || to.left < INT_MIN / 2 || to.top < INT_MIN / 2) return;
  HDC sourceDC = source->Canvas().Handle();
  HDC dc = dest.Bitmap->Canvas().Handle();
  fw::SaveDCGuard saved(dc);
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, static_cast<int>(to.left), static_cast<int>(to.top), static_cast<int>(dw), static_cast<int>(dh),
               sourceDC, static_cast<int>(from.x), static_cast<int>(from.y), static_cast<int>(from.w),
               static_cast<int>(from.h), SRCCOPY);
}

// Cells of the cell size laid from the area's top-left corner, the last
// column and row cut at its right and bottom: cell(x, y, width, height).
// Cells wholly outside a bitmap of limitW x limitH are not visited, so a
// huge area costs no more than the bitmap.
template <class Cell>
void ForEachCell(const Area& to, int limitW, int limitH, i64 w, i64 h, Cell cell) {
  if (w <= 0 || h <= 0) return;
  const i64 visibleLeft = std::max<i64>(to.left, 0), visibleTop = std::max<i64>(to.top, 0);
  const i64 visibleRight = std::min<i64>(to.right, limitW), visibleBottom = std::min<i64>(to.bottom, limitH);
  if (visibleRight <= visibleLeft || visibleBottom <= visibleTop) return;
  const i64 firstX = to.left + (visibleLeft - to.left) / w * w;
  const i64 firstY = to.top + (visibleTop - to.top) / h * h;
  for (i64 y = firstY; y < visibleBottom; y += h)
    for (i64 x = firstX; x < visibleRight; x += w) cell(x, y, std::min(w, to.right - x), std::min(h, to.bottom - y));
}

void Tile(const TacPaintTarget& dest, const Area& to, fw::TBitmap* source, const Block& cell) {
  ForEachCell(to, dest.Bitmap->Width(), dest.Bitmap->Height(), cell.w, cell.h, [&](i64 x, i64 y, i64 cw, i64 ch) {
    Blit(dest, x, y, source, Block{cell.x, cell.y, cw, ch});
  });
}

// One piece composed with its mask layer. The rows and columns are the
// smallest both rectangles and both pictures allow; negative left or top
// values shift both rectangles alike.
void ComposeLayered(const PixelView& d, const RECT& destRect, const PieceSource& source, const RECT& sourceRect,
                    const Underlay& under) {
  const PixelView& s = source.pixels;
  if (d.Empty() || s.Empty()) return;
  const i64 layerOffset = source.layerOffset;
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
  const ParentPixels& back = under.back;
  const std::uint32_t fill = ExchangeRB(back.FillColor) | 0xFF000000u;
  const bool opaque = back.Ready && under.fromParent;
  for (i64 r = 0; r < rows; ++r) {
    const i64 y = dt + r;
    std::uint32_t* dRow = d.Row(static_cast<int>(y));
    const std::uint32_t* sRow = s.Row(static_cast<int>(st + r));
    const std::uint32_t* mRow = s.Row(static_cast<int>(st + r + layerOffset));
    for (i64 c = 0; c < cols; ++c) {
      const i64 x = dl + c;
      const std::uint32_t sv = sRow[sl + c];
      if (sv == KeyPixel && !(back.Ready && !under.fromParent)) {
        if (opaque) {
          // A key pixel outside the parent's picture is left alone; the image
          // pixels right of it are still drawn.
          const i64 px = i64{back.X} + x, py = i64{back.Y} + y;
          if (!back.Bitmap.Empty() && px >= 0 && py >= 0 && px < back.Bitmap.width && py < back.Bitmap.height)
            dRow[x] = back.Bitmap.At(static_cast<int>(px), static_cast<int>(py)) | 0xFF000000u;
        } else if (under.fromParent) {
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

void TileLayered(const TacPaintTarget& dest, const Area& to, const PieceSource& source, const Block& cell,
                 const Underlay& under) {
  ForEachCell(to, dest.Bitmap->Width(), dest.Bitmap->Height(), cell.w, cell.h, [&](i64 x, i64 y, i64 cw, i64 ch) {
    ComposeLayered(dest.Pixels, ClampedRect(x, y, x + cw, y + ch), source,
                   ClampedRect(cell.x, cell.y, cell.x + cw, cell.y + ch), under);
  });
}

void CutRun(HRGN region, i64 left, i64 top, i64 right) {
  if (!region) return;
  fw::UniqueRgn run(::CreateRectRgn(ClampInt(left), ClampInt(top), ClampInt(right), ClampInt(top + 1)));
  if (run) ::CombineRgn(region, region, run.Get(), RGN_DIFF);
}

// The parent's background (or colour) into an area of the target.
void FillFromParent(const TacPaintTarget& dest, Area to, const Underlay& under) {
  const PixelView& d = dest.Pixels;
  if (d.Empty()) return;
  to.left = std::max<i64>(to.left, 0);
  to.top = std::max<i64>(to.top, 0);
  to.right = std::min<i64>(to.right, d.width);
  to.bottom = std::min<i64>(to.bottom, d.height);
  if (to.right <= to.left || to.bottom <= to.top) return;
  const ParentPixels& back = under.back;
  if (!back.Ready) {
    FillBitmapRect(d,
                   PixelRect{static_cast<int>(to.left), static_cast<int>(to.top), static_cast<int>(to.right),
                             static_cast<int>(to.bottom)},
                   back.FillColor);
    return;
  }
  const PixelView& p = back.Bitmap;
  if (p.Empty()) return;
  for (i64 y = to.top; y < to.bottom; ++y) {
    const i64 py = back.Y + y;
    if (py < 0 || py >= p.height) continue;
    for (i64 x = to.left; x < to.right; ++x) {
      const i64 px = back.X + x;
      if (px >= 0 && px < p.width)
        d.At(static_cast<int>(x), static_cast<int>(y)) = p.At(static_cast<int>(px), static_cast<int>(py));
    }
  }
}

// One state image composed with its mask layer at (x, y): key pixels and
// pixels whose mask is fully red stay as they are; the destination gains
// opacity where the mask's red channel is low.
void DrawLayered(const PixelView& d, const PieceSource& source, i64 x, i64 y, const Block& from, int look) {
  const PixelView& s = source.pixels;
  const i64 w = std::min({from.w, i64{d.width} - x, i64{s.width} - from.x});
  const i64 h = std::min({from.h, i64{d.height} - y, i64{s.height} - from.y - source.layerOffset});
  if (from.x < 0 || from.y < 0 || w <= 0 || h <= 0) return;
  for (i64 r = 0; r < h; ++r) {
    std::uint32_t* dRow = d.Row(static_cast<int>(y + r)) + x;
    const std::uint32_t* sRow = s.Row(static_cast<int>(from.y + r)) + from.x;
    const std::uint32_t* mRow = s.Row(static_cast<int>(from.y + r + source.layerOffset)) + from.x;
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

// Inclusive corners of a piece of PaintBorderMaskWithRegion: where it goes
// and where it comes from.
struct PieceCorners {
  i64 destLeft, destTop, destRight, destBottom;
  i64 sourceLeft, sourceTop, sourceRight, sourceBottom;
};

// One piece copied whole or composed with its mask layer; with cutKeys its
// key pixels are left alone and cut out of region. Callers check the
// destination's corners and size.
void CopyPiece(const PixelView& d, const PieceSource& source, const PieceCorners& at, HRGN region, bool cutKeys) {
  const PixelView& s = source.pixels;
  if (s.Empty()) return;
  const i64 layerOffset = source.maskLayer ? source.layerOffset : 0;
  i64 sl = at.sourceLeft, st = at.sourceTop, dl = at.destLeft, dt = at.destTop;
  i64 cols = std::min(at.destRight - at.destLeft, at.sourceRight - at.sourceLeft) + 1;
  i64 rows = std::min(at.destBottom - at.destTop, at.sourceBottom - at.sourceTop) + 1;
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
    const std::uint32_t* mRow = source.maskLayer ? s.Row(static_cast<int>(st + r + layerOffset)) + sl : nullptr;
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
      dRow[c] = source.maskLayer ? LayerPixel(dRow[c], sRow[c], mRow[c]) : sRow[c];
    }
  }
}

// The mask layer of border and texture pieces lies half the source
// rectangle's height below the image.
PieceSource LayeredSource(const TsMaskData& mask, fw::TBitmap* image) {
  return PieceSource::Of(image, true, mask.Height() / 2);
}

}  // namespace

fw::TBitmap* MaskImage(const TsMaskData& mask) {
  if (mask.OwnBitmap) return mask.OwnBitmap.get();
  if (mask.Owner && mask.Owner->MasterBitmap) return mask.Owner->MasterBitmap.get();
  return nullptr;
}

void CopyLayeredPiece(const RECT& destRect, const RECT& sourceRect, fw::TBitmap* dest, const TsMaskData& mask,
                      bool fromParent, const ParentCache& parent, fw::TBitmap* image) {
  ComposeLayered(ViewOf(dest), destRect, LayeredSource(mask, image), sourceRect, Underlay::Of(fromParent, parent));
}

void PaintBorderMask(fw::TBitmap* bitmap, const RECT& rect, bool fromParent, int state, const TsMaskData& mask,
                     ParentCache parent) {
  PaintBorderMask(TacPaintTarget(bitmap), rect, fromParent, state, mask, parent);
}

void PaintBorderMask(const TacPaintTarget& target, const RECT& rect, bool fromParent, int state, const TsMaskData& mask,
                     const ParentCache& parent) {
  if (SkinLoadInProgress) return;
  if (!target.Bitmap || (state == 0 && (mask.FillMode & 2) != 0)) return;
  const i64 width = i64{rect.right} - rect.left, height = i64{rect.bottom} - rect.top;
  if (width < 2 || height < 2 || !mask.Owner || mask.StateCount <= 0) return;
  fw::TBitmap* image = MaskImage(mask);
  if (!image || !SourceInside(mask, image) || target.Pixels.Empty()) return;
  const int sw = MaskStateWidth(mask), sh = MaskStateHeight(mask);
  if (sw <= 0 || sh <= 0) return;
  const Margins m = FitMargins(mask, width, height);
  const i64 mw = i64{sw} - m.left - m.right, mh = i64{sh} - m.top - m.bottom;
  if (mw < 0 || mh < 0) return;
  const i64 x0 = mask.SrcLeft + i64{LimitState(state, mask.StateCount)} * sw, y0 = mask.SrcTop;
  const i64 L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  const i64 rightSrc = x0 + sw - m.right, bottomSrc = y0 + sh - m.bottom;
  const bool centre = (mask.FillMode & 4) != 0;
  // The nine pieces in their painting order: corner(dest x, dest y, piece)
  // and edge(area, piece).
  auto layNine = [&](auto corner, auto edge) {
    corner(L, T, Block{x0, y0, m.left, m.top});
    edge(Area{L, T + m.top, L + m.left, B - m.bottom}, Block{x0, y0 + m.top, m.left, mh});
    edge(Area{L + m.left, T, R - m.right, T + m.top}, Block{x0 + m.left, y0, mw, m.top});
    corner(L, B - m.bottom, Block{x0, bottomSrc, m.left, m.bottom});
    edge(Area{L + m.left, B - m.bottom, R - m.right, B}, Block{x0 + m.left, bottomSrc, mw, m.bottom});
    corner(R - m.right, B - m.bottom, Block{rightSrc, bottomSrc, m.right, m.bottom});
    corner(R - m.right, T, Block{rightSrc, y0, m.right, m.top});
    edge(Area{R - m.right, T + m.top, R, B - m.bottom}, Block{rightSrc, y0 + m.top, m.right, mh});
    if (centre) edge(Area{L + m.left, T + m.top, R - m.right, B - m.bottom}, Block{x0 + m.left, y0 + m.top, mw, mh});
  };

  const Underlay under = Underlay::Of(fromParent, parent);
  if (mask.ExtraLayers != 0) {
    const PieceSource source = LayeredSource(mask, image);
    const Underlay none{};
    auto corner = [&](i64 dx, i64 dy, const Block& piece) {
      ComposeLayered(target.Pixels, ClampedRect(dx, dy, dx + piece.w, dy + piece.h), source,
                     ClampedRect(piece.x, piece.y, piece.x + piece.w, piece.y + piece.h), under);
    };
    auto tiles = [&](const Area& to, const Block& cell) { TileLayered(target, to, source, cell, none); };
    layNine(corner, tiles);
    return;
  }

  const bool stretch = (mask.FillMode & 1) != 0;
  const PixelView imagePixels = ViewOf(image);
  auto corner = [&](i64 dx, i64 dy, const Block& piece) {
    if (piece.w <= 0 || piece.h <= 0) return;
    CopyKeyedOverBack(target.Pixels, imagePixels, ClampInt(dx), fromParent, under.back, KeyPixel, Inclusive(piece),
                      ClampInt(dy));
  };
  auto edge = [&](const Area& to, const Block& piece) {
    if (stretch)
      Stretch(target, to, image, piece);
    else
      Tile(target, to, image, piece);
  };
  layNine(corner, edge);
}

void DrawMaskImage(fw::TBitmap* bitmap, POINT position, int state, const ParentCache& parent, const TsMaskData& mask,
                   int look) {
  DrawMaskImage(TacPaintTarget(bitmap), position, state, parent, mask, look);
}

void DrawMaskImage(const TacPaintTarget& target, POINT position, int state, const ParentCache& parent,
                   const TsMaskData& mask, int look) {
  if (SkinLoadInProgress) return;
  fw::TBitmap* image = MaskImage(mask);
  if (!image || mask.StateCount <= 0) return;
  const PixelView& d = target.Pixels;
  if (d.Empty()) return;
  const int sw = MaskStateWidth(mask), sh = MaskStateHeight(mask);
  if (sw <= 0 || sh <= 0) return;
  i64 x = position.x, y = position.y;
  Block piece{mask.SrcLeft + i64{LimitState(state, mask.StateCount)} * sw, mask.SrcTop, sw, sh};
  if (x < 0) {
    piece.x -= x;
    piece.w += x;
    x = 0;
  }
  if (y < 0) {
    piece.y -= y;
    piece.h += y;
    y = 0;
  }
  if (piece.w <= 0 || piece.h <= 0 || x >= d.width || y >= d.height) return;
  const bool own = mask.OwnBitmap != nullptr;
  if (own && (image->Width() < mask.SrcRight || image->Height() < mask.SrcBottom)) return;
  const PieceSource source =
      PieceSource::Of(image, mask.ExtraLayers > 0, mask.ExtraLayers > 0 ? mask.Height() / (mask.ExtraLayers + 1) : 0);
  const PixelView& s = source.pixels;
  if (s.Empty()) return;
  if (own || mask.ExtraLayers > 0) {
    if (mask.ExtraLayers == 0) {
      CopyKeyed(d, s, ClampInt(x), KeyPixel, Inclusive(piece), ClampInt(y));
      return;
    }
    DrawLayered(d, source, x, y, piece, look);
    return;
  }
  if (look == mlNormal)
    CopyKeyedOverBack(d, s, ClampInt(x), true, PixelsOf(parent), KeyPixel, Inclusive(piece), ClampInt(y));
  else
    BlendRectOnto(d, ClampInt(x), ClampInt(y), KeyPixel, 0.5, Inclusive(piece), s);
}

void DrawTexture(fw::TBitmap* target, RECT& rect, fw::TBitmap* picture, int mode, const TsMaskData* mask) {
  DrawTexture(TacPaintTarget(target), rect, picture, mode, mask);
}

void DrawTexture(const TacPaintTarget& target, RECT& rect, fw::TBitmap* picture, int mode, const TsMaskData* mask) {
  if (SkinLoadInProgress) return;
  if (!target.Bitmap) return;
  const RECT none{-1, -1, -1, -1};
  const i64 L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  if (picture && picture->Width() > 0 && picture->Height() > 0) {
    Tile(target, Area{L, T, R, B}, picture, Block{0, 0, picture->Width(), picture->Height()});
    rect = none;
    return;
  }
  fw::TBitmap* image = mask ? MaskImage(*mask) : nullptr;
  if (!image || !SourceInside(*mask, image) || mode < 0) return;
  const i64 tw = mask->Width(), th = mask->Height();
  const Block whole{mask->SrcLeft, mask->SrcTop, tw, th};
  switch (mode) {
    case 0:
    case 10:
      Tile(target, Area{L, T, R, B}, image, whole);
      rect = none;
      return;
    case 1:
      Stretch(target, Area{L, T, R, B}, image, whole);
      rect = none;
      return;
    case 2: {
      const i64 stripBottom = std::clamp(T + th, T, std::max(T, B));
      Tile(target, Area{L, T, R, stripBottom}, image, whole);
      rect.top = static_cast<int>(stripBottom);
      return;
    }
    case 3: {
      const i64 stripRight = std::clamp(L + tw, L, std::max(L, R));
      Tile(target, Area{L, T, stripRight, B}, image, whole);
      rect.left = static_cast<int>(stripRight);
      return;
    }
    case 4: {
      // Stretched across only: a rectangle lower than the texture takes its
      // top rows unscaled.
      const i64 h = std::min(th, std::max<i64>(B - T, 0));
      Stretch(target, Area{L, T, R, T + h}, image, Block{whole.x, whole.y, tw, h});
      rect.top = static_cast<int>(T + h);
      return;
    }
    case 5: {
      const i64 w = std::min(tw, std::max<i64>(R - L, 0));
      Stretch(target, Area{L, T, L + w, B}, image, Block{whole.x, whole.y, w, th});
      rect.left = static_cast<int>(L + w);
      return;
    }
    case 6: {
      const i64 stripTop = std::clamp(B - th, std::min(T, B), B);
      Tile(target, Area{L, stripTop, R, B}, image, whole);
      rect.bottom = static_cast<int>(stripTop);
      return;
    }
    default: {
      const i64 stripLeft = std::clamp(R - tw, std::min(L, R), R);
      Tile(target, Area{stripLeft, T, R, B}, image, whole);
      if (mode == 7) rect.right = static_cast<int>(stripLeft);
      return;
    }
  }
}

void DrawTextureFromMask(fw::TBitmap* bitmap, const RECT& rect, const ParentCache& parent, int mode,
                         const TsMaskData& mask) {
  DrawTextureFromMask(TacPaintTarget(bitmap), rect, parent, mode, mask);
}

void DrawTextureFromMask(const TacPaintTarget& target, const RECT& rect, const ParentCache& parent, int mode,
                         const TsMaskData& mask) {
  if (SkinLoadInProgress) return;
  if (mode != 0 && mode != 10) return;
  fw::TBitmap* image = MaskImage(mask);
  if (!image || target.Pixels.Empty()) return;
  const i64 cellW = MaskStateWidth(mask), cellH = mask.Height() / 2;
  if (cellW <= 0 || cellH <= 0) return;
  const i64 L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  if (R <= L || B <= T) return;
  const PieceSource source = LayeredSource(mask, image);
  const Underlay under = Underlay::Of(true, parent);
  const Block cell{mask.SrcLeft, mask.SrcTop, cellW, cellH};
  if (mode == 0) {
    TileLayered(target, Area{L, T, R, B}, source, cell, under);
    return;
  }
  const i64 wholeRight = L + (R - L) / cellW * cellW, wholeBottom = T + (B - T) / cellH * cellH;
  TileLayered(target, Area{L, T, wholeRight, wholeBottom}, source, cell, under);
  FillFromParent(target, Area{wholeRight, T, R, wholeBottom}, under);
  FillFromParent(target, Area{L, wholeBottom, R, B}, under);
}

void CopyMaskPiece(int destLeft, int destTop, int destRight, int destBottom, int sourceLeft, int sourceTop,
                   int sourceRight, int sourceBottom, fw::TBitmap* dest, HRGN region, const TsMaskData& mask,
                   bool cutKeys) {
  if (destLeft < 0 || destTop < 0 || destRight < 0 || destBottom < 0 || !mask.Owner) return;
  const PixelView d = ViewOf(dest);
  if (d.Empty() || d.width < 2 || d.height < 2) return;
  const bool layered = mask.ExtraLayers == 1;
  CopyPiece(d, PieceSource::Of(MaskImage(mask), layered, layered ? mask.Height() / 2 : 0),
            PieceCorners{destLeft, destTop, destRight, destBottom, sourceLeft, sourceTop, sourceRight, sourceBottom},
            region, cutKeys);
}

void PaintBorderMaskWithRegion(fw::TBitmap* bitmap, HRGN region, bool drawCentre, const TsMaskData& mask, int state) {
  if (SkinLoadInProgress) return;
  if (!bitmap || bitmap->Width() < 2 || bitmap->Height() < 2 || !mask.Owner) return;
  fw::TBitmap* image = MaskImage(mask);
  if (!image || mask.ExtraLayers + 1 <= 0) return;
  const TacPaintTarget target(bitmap);
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
  const bool layered = mask.ExtraLayers == 1;
  const bool stretch = (mask.FillMode & 1) != 0 && !layered;
  const PieceSource source = PieceSource::Of(image, layered, layered ? mask.Height() / 2 : 0);

  // A piece at (dx, dy); corners cut their key pixels out of the region.
  auto copy = [&](i64 dx, i64 dy, const Block& piece, bool cut) {
    if (piece.w <= 0 || piece.h <= 0) return;
    const PieceCorners at{
        ClampInt(dx),      ClampInt(dy),      ClampInt(dx + piece.w - 1),      ClampInt(dy + piece.h - 1),
        ClampInt(piece.x), ClampInt(piece.y), ClampInt(piece.x + piece.w - 1), ClampInt(piece.y + piece.h - 1)};
    if (at.destLeft < 0 || at.destTop < 0 || at.destRight < 0 || at.destBottom < 0) return;
    CopyPiece(target.Pixels, source, at, region, cut);
  };
  // Edges and the centre: stretched over the area, or whole copies from its
  // top-left corner with the last one cut.
  auto fill = [&](const Area& to, const Block& cell) {
    if (stretch) {
      Stretch(target, to, image, cell);
      return;
    }
    ForEachCell(to, bitmap->Width(), bitmap->Height(), cell.w, cell.h, [&](i64 x, i64 y, i64 cw, i64 ch) {
      copy(x, y, Block{cell.x, cell.y, cw, ch}, false);
    });
  };
  const i64 bottomSrc = y0 + lh - m.bottom, rightSrc = x0 + sw - m.right;
  copy(0, 0, Block{x0, y0, m.left, m.top}, true);
  copy(0, H - m.bottom, Block{x0, bottomSrc, m.left, m.bottom}, true);
  if (mh > 0) fill(Area{0, m.top, m.left, H - m.bottom}, Block{x0, y0 + ownTop, m.left, mh});
  if (mw > 0) fill(Area{m.left, 0, W - m.right, m.top}, Block{x0 + ownLeft, y0, mw, m.top});
  if (mw > 0) fill(Area{m.left, H - m.bottom, W - m.right, H}, Block{x0 + ownLeft, bottomSrc, mw, m.bottom});
  if (mh > 0) fill(Area{W - m.right, m.top, W, H - m.bottom}, Block{rightSrc, y0 + ownTop, m.right, mh});
  copy(W - m.right, H - m.bottom, Block{rightSrc, bottomSrc, m.right, m.bottom}, true);
  copy(W - m.right, 0, Block{rightSrc, y0, m.right, m.top}, true);
  if (drawCentre && (mask.FillMode & 4) != 0 && mw > 0 && mh > 0)
    fill(Area{m.left, m.top, W - m.right, H - m.bottom}, Block{x0 + ownLeft, y0 + ownTop, mw, mh});
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
