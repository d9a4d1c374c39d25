// The parent's background under the see-through corners of an image with a
// mask layer, found by a flood fill from each corner cell's outer corner.
#include "render/paint/SkinPaintAlphaCorners.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/Colors.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintMasks.h"

namespace translit {

namespace {

// Two opposite margins shrunk to fit size as the border painters shrink
// them: both lose half the excess, the far one a pixel more on an odd size.
void FitPair(int& nearSide, int& farSide, int size) {
  if (size >= nearSide + farSide) return;
  const int excess = (nearSide + farSide - size) / 2;
  nearSide = std::max(nearSide - excess, 0);
  farSide = std::max(farSide - excess - (size % 2 != 0 ? 1 : 0), 0);
}

}  // namespace

void PutParentUnderAlphaCorners(fw::TBitmap* cache, const TsMaskData& mask, int state, const ParentCache& parent) {
  fw::TBitmap* image = MaskImage(mask);
  TacFast32 dest, source, back;
  if (!image || mask.StateCount <= 0 || !dest.Bind(cache) || !source.Bind(image)) return;
  const bool fromBitmap = parent.Ready && parent.Bitmap && back.Bind(parent.Bitmap);
  // A system colour stands for the colour the platform gives it.
  const fw::TColor fill = fw::ColorToRGB(parent.FillColor);
  const int w = cache->Width(), h = cache->Height();
  const int sw = MaskStateWidth(mask);
  const int layer = static_cast<int>(mask.Height() / 2);
  int ml = std::max<int>(mask.MarginLeft, 0), mr = std::max<int>(mask.MarginRight, 0);
  int mt = std::max<int>(mask.MarginTop, 0), mb = std::max<int>(mask.MarginBottom, 0);
  FitPair(ml, mr, w);
  FitPair(mt, mb, h);
  const int x0 = mask.SrcLeft + std::clamp(state, 0, mask.StateCount - 1) * sw, y0 = mask.SrcTop;
  struct Cell {
    int dx, dy, cw, ch, sx, sy;
    bool right, bottom;
  };
  const Cell cells[] = {{0, 0, ml, mt, x0, y0, false, false},
                        {w - mr, 0, mr, mt, x0 + sw - mr, y0, true, false},
                        {0, h - mb, ml, mb, x0, y0 + layer - mb, false, true},
                        {w - mr, h - mb, mr, mb, x0 + sw - mr, y0 + layer - mb, true, true}};
  std::vector<std::uint8_t> state8;
  for (const Cell& c : cells) {
    if (c.cw <= 0 || c.ch <= 0) continue;
    // 0 unknown, 1 joins the outer corner, 2 its partly covered rim.
    state8.assign(static_cast<std::size_t>(c.cw * c.ch), 0);
    auto maskAt = [&](int x, int y) -> std::uint32_t {
      const int sx = c.sx + x, sy = c.sy + y + layer;
      if (sx < 0 || sy < 0 || sx >= static_cast<int>(source.Width) || sy >= static_cast<int>(source.Height)) return 0;
      return source.ReadPixel(sx, sy) & 0xFFFFFFu;
    };
    std::vector<POINT> todo{POINT{c.right ? c.cw - 1 : 0, c.bottom ? c.ch - 1 : 0}};
    while (!todo.empty()) {
      const POINT p = todo.back();
      todo.pop_back();
      if (p.x < 0 || p.y < 0 || p.x >= c.cw || p.y >= c.ch) continue;
      std::uint8_t& mark = state8[static_cast<std::size_t>(p.y * c.cw + p.x)];
      if (mark) continue;
      const std::uint32_t m = maskAt(p.x, p.y);
      if (m == 0xFFFFFFu) {
        mark = 1;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx)
            if (dx || dy) todo.push_back(POINT{p.x + dx, p.y + dy});
      } else if (m != 0) {
        mark = 2;
      }
    }
    for (int y = 0; y < c.ch; ++y)
      for (int x = 0; x < c.cw; ++x) {
        if (!state8[static_cast<std::size_t>(y * c.cw + x)]) continue;
        const int cx = c.dx + x, cy = c.dy + y;
        if (cx < 0 || cy < 0 || cx >= w || cy >= h) continue;
        if (fromBitmap) {
          const int px = parent.X + cx, py = parent.Y + cy;
          if (px >= 0 && py >= 0 && px < static_cast<int>(back.Width) && py < static_cast<int>(back.Height))
            dest.WritePixel(cx, cy, back.ReadPixel(px, py));
        } else {
          dest.WritePixel(cx, cy, 0xFF000000u | (static_cast<std::uint32_t>(fill) & 0xFFFFFFu));
        }
      }
  }
}

}  // namespace translit
