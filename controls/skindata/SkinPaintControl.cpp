// Painting from a control's skin data.
#include "controls/skindata/SkinPaintControl.h"

#include "controls/protocol/sSkinState.h"
#include <algorithm>

#include "controls/skindata/sCommonData.h"
#include "render/paint/SkinPaintItem.h"
#include "render/paint/SkinPaintGeometry.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintFills.h"
#include "render/paint/SkinPaintParent.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

using paint::LiesInside;
using paint::LimitState;

const TsMaskData* BorderOf(TsCommonData& data, TsSkinManager& manager) {
  return manager.IsValidMask(data.BorderIndex) ? &manager.Masks[static_cast<std::size_t>(data.BorderIndex)] : nullptr;
}

// What the owner's parent shows under the owner.
BackgroundRequest AskParent(TsCommonData& data) {
  BackgroundRequest request;
  fw::TControl* owner = data.OwnerControl;
  if (owner && owner->Parent()) QueryParentBackground(request, owner->Parent(), false);
  return request;
}

// The parent's answer as a parent cache that points at the owner's place in
// the parent's picture: the answer's offset is the parent's own (0 for a
// skinned parent), the owner's position is added here.
ParentCache ParentCacheAtOwner(const BackgroundRequest& request, TsCommonData& data) {
  ParentCache parent = RequestToParentCache(request);
  fw::TControl* owner = data.OwnerControl;
  if (parent.Ready && owner) {
    parent.X += owner->Left();
    parent.Y += owner->Top();
  }
  return parent;
}

}  // namespace

void PaintControlBackground(TsCommonData& data, ParentCache parent, int state, fw::TBitmap* bitmap, POINT offset,
                            const RECT& rect) {
  if (SkinLoadInProgress) return;
  TsSkinManager* manager = data.SkinManager();
  const TsGeneralData* section = data.Section();
  if (!manager || !section) return;
  const fw::TColor override =
      data.CustomColor() ? static_cast<fw::TColor>(data.OwnColor() & 0xFFFFFFu) : clSkinTransparent;
  PaintSkinBackground(data.SkinIndex, data.SkinSection(), parent, override, data.HotTexture, data.Texture, manager,
                      bitmap, offset, rect, LimitState(state, section->StateCount));
}

void PaintControlItem(TsCommonData& data, ParentCache parent, bool fromParent, fw::TBitmap* bitmap, POINT offset,
                      const RECT& rect, int state) {
  if (SkinLoadInProgress) return;
  TsSkinManager* manager = data.SkinManager();
  const TsGeneralData* section = data.Section();
  if (!bitmap || !manager || !section || !LiesInside(rect, bitmap)) return;
  state = LimitState(state, section->StateCount);
  PaintControlBackground(data, parent, state, bitmap, offset, rect);
  DrawCornerImages(*manager, *section, bitmap, rect, state);
  parent.X += offset.x;
  parent.Y += offset.y;
  const TsMaskData* border = BorderOf(data, *manager);
  if (!border || (state == 0 && (border->FillMode & 2))) {
    // Without a border to draw, a transparent look is finished: its parent
    // shows through and needs no recolouring.
    if (section->States[std::min(state, 1)].Transparency != 0) return;
  } else {
    PaintBorderMask(bitmap, rect, fromParent, state, *border, parent);
  }
  if (data.HUEOffset() != 0) ShiftBitmapHue(bitmap, data.HUEOffset());
  if (data.Saturation() != 0) ScaleBitmapSaturation(bitmap, data.Saturation());
}

void FillCornerHoles(TsCommonData& data, int state) {
  if (SkinLoadInProgress) return;
  TsSkinManager* manager = data.SkinManager();
  const TsGeneralData* section = data.Section();
  fw::TBitmap* cache = data.CacheBmp.get();
  if (!manager || !section || !cache || cache->Width() < 2 || cache->Height() < 2) return;
  const TsMaskData* border = BorderOf(data, *manager);
  fw::TBitmap* image = border ? MaskImage(*border) : nullptr;
  if (!image || image->Width() < 2 || image->Height() < 2) return;
  const ParentCache parent = ParentCacheAtOwner(AskParent(data), data);
  const int sw = MaskStateWidth(*border), sh = MaskStateHeight(*border);
  const int s = LimitState(state, border->StateCount);
  const int srcLeft = border->SrcLeft + s * sw, srcTop = border->SrcTop;
  const int ml = border->MarginLeft, mt = border->MarginTop, mr = border->MarginRight, mb = border->MarginBottom;
  const int w = cache->Width(), h = cache->Height();
  TacFast32 dest, mask, back;
  if (!dest.Bind(cache) || !mask.Bind(image)) return;
  const bool fromBitmap = parent.Ready && parent.Bitmap && back.Bind(parent.Bitmap);
  // Each corner cell: where it lies in the cache and where in the image.
  struct Cell {
    int x, y, cw, ch, sx, sy;
  } cells[] = {{0, 0, ml, mt, srcLeft, srcTop},
               {w - mr, 0, mr, mt, srcLeft + sw - mr, srcTop},
               {0, h - mb, ml, mb, srcLeft, srcTop + sh - mb},
               {w - mr, h - mb, mr, mb, srcLeft + sw - mr, srcTop + sh - mb}};
  for (const Cell& c : cells) {
    for (int row = 0; row < c.ch; ++row) {
      const int y = c.y + row, my = c.sy + row;
      if (y < 0 || y >= h || my < 0 || my >= static_cast<int>(mask.Height)) continue;
      for (int col = 0; col < c.cw; ++col) {
        const int x = c.x + col, mx = c.sx + col;
        if (x < 0 || x >= w || mx < 0 || mx >= static_cast<int>(mask.Width)) continue;
        if ((mask.ReadPixel(mx, my) & 0xFFFFFFu) != static_cast<std::uint32_t>(clSkinTransparent)) continue;
        if (fromBitmap) {
          const int px = parent.X + x, py = parent.Y + y;
          if (px < 0 || py < 0 || px >= static_cast<int>(back.Width) || py >= static_cast<int>(back.Height)) continue;
          dest.WritePixel(x, y, back.ReadPixel(px, py));
        } else {
          dest.WritePixel(x, y, 0xFF000000u | (static_cast<std::uint32_t>(parent.FillColor) & 0xFFFFFFu));
        }
      }
    }
  }
}

void PaintPlainFrameBorder(HDC dc, const RECT& rect, int borderWidth, TsCommonData& data, int state, RECT& innerRect) {
  if (SkinLoadInProgress) return;
  TsSkinManager* manager = data.SkinManager();
  const fw::TColor col = static_cast<fw::TColor>(data.BackgroundColor(state) & 0xFFFFFFu);
  const BackgroundRequest request = AskParent(data);
  const int b = borderWidth;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const TsMaskData* border = manager ? BorderOf(data, *manager) : nullptr;
  fw::TBitmap* cache = data.CacheBmp.get();
  if (!border || !cache) {
    if (b != 0) FillBorderSolid(dc, rect, b, col, b, b, b);
    return;
  }
  if (const TsGeneralData* section = data.Section()) state = LimitState(state, section->StateCount);
  data.UpdateIndexes();
  border = BorderOf(data, *manager);
  if (!border) return;
  HDC cacheDC = cache->Canvas().Handle();
  const int ml = border->MarginLeft, mt = border->MarginTop, mr = border->MarginRight, mb = border->MarginBottom;
  if (border->ExtraLayers == 1) {
    fw::TControl* owner = data.OwnerControl;
    if (request.Kind == bkBitmap && request.Bitmap && owner) {
      ::BitBlt(cacheDC, rect.left, rect.top, w, h, request.Bitmap->Canvas().Handle(),
               owner->Left() + request.OffsetX + rect.left, owner->Top() + request.OffsetY + rect.top, SRCCOPY);
    } else {
      FillBorderSolid(cacheDC, rect, ml, col, mb, mr, mt);
    }
  }
  PaintBorderMask(cache, rect, true, state, *border, ParentCacheAtOwner(request, data));
  innerRect = RECT{rect.left + ml, rect.top + mt, rect.right - mr, rect.bottom - mb};
  if (b == 0) return;
  const int left = std::max(std::min(b, w - mr) - ml, 0);
  const int top = std::max(std::min(b, h - mb) - mt, 0);
  const int right = std::max(std::min(b, w - ml) - mr, 0);
  const int bottom = std::max(std::min(b, h - mt) - mb, 0);
  const RECT& in = innerRect;
  // The four strips of the band, laid out as the solid border strips are.
  FillBitmapRect(cache, RECT{in.left, in.top, in.right, in.top + top}, col);
  FillBitmapRect(cache, RECT{in.left, in.top + top, in.left + left, in.bottom}, col);
  FillBitmapRect(cache, RECT{in.left + left, in.bottom - bottom, in.right, in.bottom}, col);
  FillBitmapRect(cache, RECT{in.right - right, in.top + top, in.right, in.bottom - bottom}, col);
  innerRect = RECT{rect.left + b, rect.top + b, rect.right - b, rect.bottom - b};
  innerRect.right = std::max(innerRect.right, innerRect.left);
  innerRect.bottom = std::max(innerRect.bottom, innerRect.top);
  if (dc != cacheDC) CopyBorderStrips(dc, rect.left, rect.top, w, h, cacheDC, rect.left, rect.top, b);
}

}  // namespace translit
