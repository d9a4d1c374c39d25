// Glyph and caption placement: every layout and alignment, margins and
// spacings chosen from the free space, right-to-left and the pressed offset.
#include "framework/core/ButtonLayout.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

struct Case {
  const char* what;
  TGlyphCaptionInput in;
  int glyphX, glyphY, captionLeft, captionTop, captionRight;
};

TGlyphCaptionInput Input(int w, int h, int gw, int gh, int cw, int ch, TButtonLayout layout, int margin, int spacing,
                         TAlignment alignment, bool rtl = false, bool pressed = false) {
  TGlyphCaptionInput in;
  in.width = w, in.height = h, in.glyphWidth = gw, in.glyphHeight = gh, in.captionWidth = cw, in.captionHeight = ch;
  in.layout = layout, in.margin = margin, in.spacing = spacing, in.alignment = alignment;
  in.rightToLeft = rtl, in.pressed = pressed;
  return in;
}

TEST(ButtonLayout, PlacesGlyphAndCaption) {
  const Case cases[] = {
      // The main dialog's tall button: no glyph, so no spacing; centred both ways.
      {"caption only", Input(113, 281, 0, 0, 80, 13, blGlyphLeft, -1, 4, taCenter), 17, 141, 17, 134, 97},
      {"glyph left, centred", Input(100, 30, 16, 16, 40, 13, blGlyphLeft, -1, 4, taCenter), 20, 7, 40, 9, 80},
      {"glyph left, left: caption cut to the margin", Input(50, 30, 16, 16, 40, 13, blGlyphLeft, 2, 4, taLeftJustify),
       2, 7, 22, 9, 48},
      {"glyph left, right: margin 2", Input(100, 30, 16, 16, 40, 13, blGlyphLeft, -1, 4, taRightJustify), 38, 7, 58, 9,
       98},
      {"glyph right, centred", Input(100, 30, 16, 16, 40, 13, blGlyphRight, -1, 4, taCenter), 64, 7, 20, 9, 60},
      {"glyph right, left", Input(100, 30, 16, 16, 40, 13, blGlyphRight, 3, 4, taLeftJustify), 47, 7, 3, 9, 43},
      {"glyph right, right", Input(100, 30, 16, 16, 40, 13, blGlyphRight, 3, 4, taRightJustify), 81, 7, 37, 9, 77},
      {"glyph top", Input(100, 60, 16, 16, 40, 13, blGlyphTop, -1, 4, taCenter), 42, 13, 30, 33, 70},
      {"glyph bottom", Input(100, 60, 16, 16, 40, 13, blGlyphBottom, -1, 4, taCenter), 42, 31, 30, 14, 70},
      {"spacing and margin a third of the free length", Input(100, 30, 16, 16, 40, 13, blGlyphLeft, -1, -1, taCenter),
       15, 7, 45, 9, 85},
      {"given margin, spacing half of the rest", Input(100, 30, 16, 16, 40, 13, blGlyphLeft, 5, -1, taLeftJustify), 5,
       7, 40, 9, 80},
      {"right-to-left puts a left glyph right", Input(100, 30, 16, 16, 40, 13, blGlyphLeft, -1, 4, taCenter, true), 64,
       7, 20, 9, 60},
      {"pressed moves both by one", Input(100, 30, 16, 16, 40, 13, blGlyphLeft, -1, 4, taCenter, false, true), 21, 8,
       41, 10, 81},
      // A caption wider than the button: the block's excess is even, so the
      // margin rounds up; with an odd excess it does not.
      {"wider caption, even excess", Input(20, 20, 0, 0, 40, 13, blGlyphLeft, -1, 4, taCenter), -9, 10, -9, 4, 31},
      {"wider caption, odd excess", Input(21, 20, 0, 0, 40, 13, blGlyphLeft, -1, 4, taCenter), -9, 10, -9, 4, 31},
  };
  for (const Case& c : cases) {
    TGlyphCaptionPlacement p = LayoutGlyphAndCaption(c.in);
    EXPECT_EQ(p.glyphX, c.glyphX) << c.what;
    EXPECT_EQ(p.glyphY, c.glyphY) << c.what;
    EXPECT_EQ(p.captionLeft, c.captionLeft) << c.what;
    EXPECT_EQ(p.captionTop, c.captionTop) << c.what;
    EXPECT_EQ(p.captionRight, c.captionRight) << c.what;
    EXPECT_EQ(p.captionBottom - p.captionTop, c.in.captionHeight) << c.what;
  }
}

}  // namespace
}  // namespace fw
