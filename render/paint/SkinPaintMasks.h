// Painting of a skin's image pieces: nine-part border masks (colour-keyed or
// with a mask layer), single state images, textures laid by mode, and the
// window outlines cut from a mask's key-coloured corner pixels. Everything
// paints into 32-bit DIB sections and clips to every bitmap it touches:
// rectangles and margins come from skin files and are not trusted. The
// painters that take a paint target use its pixel view as it is: a caller
// laying several pieces takes the view once.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Graphics.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintTarget.h"
#include "skin/sSkinData.h"

namespace translit {

// Look of DrawMaskImage.
enum TacMaskLook { mlNormal = 1, mlFaded = 2 };

// The nine parts of a border mask around rect. Corners of key masks show
// the parent's background (or colour) through their key pixels.
void PaintBorderMask(fw::TBitmap* bitmap, const RECT& rect, bool fromParent, int state, const TsMaskData& mask,
                     ParentCache parent);
void PaintBorderMask(const TacPaintTarget& target, const RECT& rect, bool fromParent, int state, const TsMaskData& mask,
                     const ParentCache& parent);
// One piece of image composed with its mask layer, which lies half the
// piece's source height below each image row.
void CopyLayeredPiece(const RECT& destRect, const RECT& sourceRect, fw::TBitmap* dest, const TsMaskData& mask,
                      bool fromParent, const ParentCache& parent, fw::TBitmap* image);
// One state of a mask image with its top-left corner at position.
void DrawMaskImage(fw::TBitmap* bitmap, POINT position, int state, const ParentCache& parent, const TsMaskData& mask,
                   int look);
void DrawMaskImage(const TacPaintTarget& target, POINT position, int state, const ParentCache& parent,
                   const TsMaskData& mask, int look);
// picture: a large texture picture (may be null); rect comes back as the area
// left for the colour, or (-1,-1,-1,-1).
void DrawTexture(fw::TBitmap* target, RECT& rect, fw::TBitmap* picture, int mode, const TsMaskData* mask);
void DrawTexture(const TacPaintTarget& target, RECT& rect, fw::TBitmap* picture, int mode, const TsMaskData* mask);
// A texture whose mask has a mask layer, modes 0 and 10 only.
void DrawTextureFromMask(fw::TBitmap* bitmap, const RECT& rect, const ParentCache& parent, int mode,
                         const TsMaskData& mask);
void DrawTextureFromMask(const TacPaintTarget& target, const RECT& rect, const ParentCache& parent, int mode,
                         const TsMaskData& mask);
// A border mask over the whole bitmap; the key pixels of its corners are
// left unpainted and cut out of region (may be null).
void PaintBorderMaskWithRegion(fw::TBitmap* bitmap, HRGN region, bool drawCentre, const TsMaskData& mask, int state);
// One piece for PaintBorderMaskWithRegion; corners are inclusive.
void CopyMaskPiece(int destLeft, int destTop, int destRight, int destBottom, int sourceLeft, int sourceTop,
                   int sourceRight, int sourceBottom, fw::TBitmap* dest, HRGN region, const TsMaskData& mask,
                   bool cutKeys);
// Runs of key-coloured pixels in the left and right corner cells of a frame
// mask, as one-pixel-high rectangles of a window width wide.
void CollectMaskRegionRects(std::vector<RECT>& rects, int width, const TsMaskData& mask, bool bottom, int offset);
// The picture a mask is cut from: its own bitmap, else its owner's master
// bitmap; null without either.
fw::TBitmap* MaskImage(const TsMaskData& mask);

}  // namespace translit
