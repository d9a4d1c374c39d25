// Keyed copies between two 32-bit pictures.
#include "render/paint/SkinPaintKeyed.h"

#include <algorithm>
#include <cstdint>

#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintGeometry.h"
#include "render/pixels/KeyColor.h"
#include "skin/sSkinTables.h"

namespace translit {

using paint::Intersection;

namespace {

bool IsKey(std::uint32_t pixel) { return (pixel & 0x00FFFFFFu) == KeyPixel; }

}  // namespace

void CopyKeyedFromSource(fw::TBitmap* dest, fw::TBitmap* source, const RECT& destRect, int corner,
                         TsSkinTables* manager, int maskIndex, const RECT& sourceRect) {
  const PixelView to = ViewOf(dest);
  const PixelView from = ViewOf(source);
  if (to.Empty() || from.Empty()) return;
  const RECT d = Intersection(destRect, RECT{0, 0, to.width, to.height});
  const RECT s = Intersection(sourceRect, RECT{0, 0, from.width, from.height});
  // Parts cut off at the top-left of either rectangle shift the other one.
  const int skipX = std::max(d.left - destRect.left, s.left - sourceRect.left);
  const int skipY = std::max(d.top - destRect.top, s.top - sourceRect.top);
  const int width = std::min(d.right - destRect.left, s.right - sourceRect.left) - skipX;
  const int height = std::min(d.bottom - destRect.top, s.bottom - sourceRect.top) - skipY;
  if (width <= 0 || height <= 0) return;

  ByteView mask;
  int maskX = 0, maskY = 0;
  if (maskIndex != -1) {
    if (!manager || !manager->IsValidMask(maskIndex)) return;
    const TsMaskData& m = manager->Masks[static_cast<std::size_t>(maskIndex)];
    fw::TBitmap* image = m.OwnBitmap ? m.OwnBitmap.get() : manager->MasterBitmap.get();
    mask = BytesOf(image);
    if (mask.Empty()) return;
    // The test area is the overlap, aligned to the chosen corner of the
    // first state image.
    const int fullWidth = std::min(destRect.right - destRect.left, sourceRect.right - sourceRect.left);
    const int fullHeight = std::min(destRect.bottom - destRect.top, sourceRect.bottom - sourceRect.top);
    maskX = m.SrcLeft;
    maskY = m.SrcTop;
    if (corner == 14 || corner == 17) maskX += MaskStateWidth(m) - fullWidth;
    if (corner == 16 || corner == 17) maskY += MaskStateHeight(m) - fullHeight;
  }

  for (int j = 0; j < height; ++j) {
    const int dy = destRect.top + skipY + j;
    const int sy = sourceRect.top + skipY + j;
    std::uint32_t* destRow = to.Row(dy);
    const std::uint32_t* sourceRow = from.Row(sy);
    for (int i = 0; i < width; ++i) {
      const int dx = destRect.left + skipX + i;
      const int sx = sourceRect.left + skipX + i;
      bool take;
      if (mask.Empty()) {
        take = IsKey(destRow[dx]);
      } else {
        const int mx = maskX + skipX + i;
        const int my = maskY + skipY + j;
        if (mx < 0 || my < 0 || mx >= mask.width || my >= mask.height) continue;
        const std::uint8_t* p = mask.Row(my) + static_cast<std::ptrdiff_t>(mx) * mask.bytesPerPixel;
        take = p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF;
      }
      if (take) destRow[dx] = sourceRow[sx];
    }
  }
}

}  // namespace translit
