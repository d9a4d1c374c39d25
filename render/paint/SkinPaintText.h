// Skinned text and glyphs: captions in a section's colours with one-pixel
// shadows, text blended into 32-bit pictures by its coverage, blurred glows
// behind text, bitmap glyph strips with their disabled looks, the small check
// box, and the focus and 3-D frames the controls share.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "skin/sSkinSection.h"

namespace translit {

class TsSkinManager;

// rect moved by (dx, dy).
RECT MovedRect(RECT r, int dx, int dy);

// DrawText in the canvas's font and colour; the canvas keeps the colour.
void DrawCanvasText(fw::TCanvas& canvas, const std::string& text, RECT rect, UINT format, fw::TColor color);

// A shadow colour of a look with the direction its copy of the text is
// moved in.
struct TextShadow {
  TColorValue color;
  int dx, dy;
};
// The four shadows of a look: left, top, right, bottom.
std::array<TextShadow, 4> ShadowsOf(const TsGenState& look);

// Text on a canvas through DrawText with format, in the colours of the
// section's normal (or, with hot, hot) look: the shadows that are given,
// then the font colour; disabled text in 40 % font colour over 60 % of the
// section's colour. Nothing without text, manager (null means the default
// manager) or valid section. The canvas's font colour is left at the last
// colour used.
void WriteSkinText(fw::TCanvas& canvas, const std::string& text, bool enabled, TsSkinManager* manager, bool hot,
                   int sectionIndex, UINT format, const RECT& rect);

// Text into a 32-bit bitmap in its canvas's font: each pixel the text
// touches is mixed toward the text colour by its coverage, alpha 255. The
// colour is the section's font colour, the bitmap font's colour without a
// valid section; withShadows writes the section's shadows first.
void WriteTextOnBitmap(fw::TBitmap* bitmap, const std::string& text, bool withShadows, TsSkinManager* manager, bool hot,
                       int sectionIndex, UINT format, const RECT& rect);

// Sides of DrawGlowText: the text is also drawn one pixel that way.
enum TacGlowSide : unsigned { gsLeft = 1, gsUp = 2, gsRight = 4, gsDown = 8, gsAll = 15 };

// A blurred glow in color laid into bitmap around where the text will be
// drawn in rect. maskCache keeps the blurred 8-bit mask and is reused while
// it has the size this glow needs; the caller draws the text itself.
void DrawGlowText(fw::TBitmap* bitmap, const std::string& text, const RECT& rect,
                  std::unique_ptr<fw::TBitmap>& maskCache, fw::TColor color, int size, unsigned sides, UINT format);

// The text as it is, or cut and ended with "..." to fit maxWidth in the
// canvas's font; empty when not even one character fits.
std::string FitTextWithEllipsis(fw::TCanvas& canvas, const std::string& text, int maxWidth);

// How a glyph looks when drawn disabled.
enum TsDisabledGlyphKindFlag : unsigned { dgBlended = 1, dgGrayed = 2 };
using TsDisabledGlyphKind = unsigned;

// One image of glyph (a strip of numGlyphs cells of equal width) at rect's
// top-left in dest (32-bit). kind picks the cell: 0 the first, 1 the second
// (the first of a 4-bit glyph), 2 the cell index + 2 when it exists; flag
// clear means drawn disabled. blend is a percentage of dest kept under the
// glyph where blending applies. The glyph's transparent colour is the
// bottom-left pixel of the cell drawn.
void DrawGlyphImage(fw::TBitmap* glyph, fw::TBitmap* dest, const RECT& rect, int index, int blend, int kind,
                    TsDisabledGlyphKind disabledKind, bool flag, int numGlyphs);

// Width and height of the small check box of list and tree controls: the
// skin's small checked image (plus 2 in width) when the manager (null means
// the default one) is active and has it, else a cell of the system's check
// box bitmap.
SIZE SmallCheckBoxSize(TsSkinManager* manager);

// A small check box for state (0 unchecked, 1 checked, 2 grayed) into
// bitmap inside rect: the skin's image vertically centred at rect's left,
// faded when disabled; without one the platform's check box centred in rect
// over the parent's background.
void PaintSmallCheckBox(const RECT& rect, int state, bool enabled, TsSkinManager* manager, const ParentCache& parent,
                        fw::TBitmap* bitmap);

// Dots every third pixel along the edges of rect (right and bottom
// inclusive after taking one off): color2 on the dot, color1 just before it.
void DrawDottedFocusRect(fw::TCanvas& canvas, const RECT& rect, fw::TColor color1, fw::TColor color2);

// width nested one-pixel frames, top and left in topLeftColor, bottom and
// right in bottomRightColor. rect comes back as the area inside them.
void DrawFrame3D(HDC dc, RECT& rect, fw::TColor topLeftColor, int width, fw::TColor bottomRightColor);

// Clips the visible windowless children of control, each moved by
// (offsetX, offsetY), out of dc.
void ExcludeGraphicControls(HDC dc, fw::TWinControl* control, int offsetY, int offsetX);

}  // namespace translit
