// Where a button puts its glyph and its caption: the arithmetic alone, shared
// by the framework's bitmap button and the buttons built on it.
#pragma once

namespace fw {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TGlyphCaptionInput {
  int width = 0, height = 0;                // the client rectangle's size
  int glyphWidth = 0, glyphHeight = 0;      // 0 x 0 without a glyph
  int captionWidth = 0, captionHeight = 0;  // the measured caption
  TButtonLayout layout = blGlyphLeft;
  int margin = -1;  // -1: chosen from the free space
  int spacing = 4;  // negative: chosen from the free space
  TAlignment alignment = taCenter;
  bool rightToLeft = false;
  bool pressed = false;  // content moves by (1, 1)
};

struct TGlyphCaptionPlacement {
  int glyphX = 0, glyphY = 0;
  int captionLeft = 0, captionTop = 0, captionRight = 0, captionBottom = 0;
};

// Positions relative to the client rectangle's top-left corner.
TGlyphCaptionPlacement LayoutGlyphAndCaption(const TGlyphCaptionInput& in);

}  // namespace fw
