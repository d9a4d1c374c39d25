// Glyph and caption placement of buttons.
#include "framework/core/ButtonLayout.h"

#include <algorithm>

namespace fw {

namespace {

int FloorHalf(int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

}  // namespace

TGlyphCaptionPlacement LayoutGlyphAndCaption(const TGlyphCaptionInput& in) {
  TButtonLayout layout = in.layout;
  if (in.rightToLeft) {
    if (layout == blGlyphLeft) {
      layout = blGlyphRight;
    } else if (layout == blGlyphRight) {
      layout = blGlyphLeft;
    }
  }
  const bool across = layout == blGlyphLeft || layout == blGlyphRight;
  const int w = in.width, h = in.height;
  const int gw = in.glyphWidth, gh = in.glyphHeight;
  int cw = in.captionWidth;
  const int ch = in.captionHeight;

  TGlyphCaptionPlacement p;
  if (across) {
    p.glyphY = (h - gh + 1) / 2;
    p.captionTop = (h + 1 - ch) / 2;
  } else {
    p.glyphX = (w - gw + 1) / 2;
    p.captionLeft = (w + 1 - cw) / 2;
  }

  int spacing = in.spacing, margin = in.margin;
  if (cw == 0 || gw == 0) spacing = 0;
  // Lengths along the axis the glyph and caption share.
  const int total = across ? w : h;
  const int block = across ? gw + cw : gh + ch;
  if (margin == -1) {
    if (spacing < 0) {
      spacing = margin = (total - block) / 3;
    } else if (in.alignment == taCenter) {
      const int used = spacing + block;
      margin = FloorHalf(total - used + 1);
      if (used - total >= 2 && (used - total) % 2 == 0) ++margin;
    } else {
      margin = 2;
    }
  } else if (spacing < 0) {
    spacing = (total - margin - block) / 2;
  }

  switch (layout) {
    case blGlyphLeft:
      if (in.alignment == taLeftJustify) {
        p.glyphX = margin;
        p.captionLeft = margin + gw + spacing;
        cw = std::min(cw, w - margin - p.captionLeft);
      } else if (in.alignment == taRightJustify) {
        p.captionLeft = w - margin - cw;
        p.glyphX = p.captionLeft - spacing - gw;
      } else {
        p.glyphX = std::max((w - cw - spacing - gw) / 2, margin);
        p.captionLeft = p.glyphX + gw + spacing;
      }
      break;
    case blGlyphRight:
      if (in.alignment == taLeftJustify) {
        p.glyphX = margin + cw + spacing;
        p.captionLeft = margin;
      } else if (in.alignment == taRightJustify) {
        p.glyphX = w - margin - gw;
        p.captionLeft = p.glyphX - spacing - cw;
      } else {
        p.captionLeft = (w - cw - spacing - gw) / 2;
        p.glyphX = p.captionLeft + cw + spacing;
      }
      break;
    case blGlyphTop:
      p.glyphY = (h - gh - spacing - ch) / 2;
      p.captionTop = p.glyphY + gh + spacing;
      break;
    case blGlyphBottom: {
      const int free = h - gh - spacing - ch;
      p.glyphY = h - gh - free / 2;
      p.captionTop = p.glyphY - spacing - ch;
      break;
    }
  }
  if (in.pressed) {
    ++p.glyphX, ++p.glyphY, ++p.captionLeft, ++p.captionTop;
  }
  p.captionRight = p.captionLeft + std::max(cw, 0);
  p.captionBottom = p.captionTop + ch;
  return p;
}

}  // namespace fw
