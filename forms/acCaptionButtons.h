// The system title buttons of a skinned frame as far as the frame itself
// needs them: which glyph images the skin gives (the large set for single
// and sizeable forms, the small one for dialogs and tool windows), the width
// they reserve at the title's right end, their places, and their normal
// look in the frame cache. The close place answers the hit test and closes
// the form on a click, since the system draws no buttons of its own once the
// frame is skinned.
#pragma once

#include <windows.h>

#include "forms/acFrameGeometry.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"

namespace translit {

class TsSkinProvider;
class TsSkinManager;

// Hit codes of the system buttons.
constexpr int kHitMinimize = HTMINBUTTON, kHitMaximize = HTMAXBUTTON, kHitClose = HTCLOSE, kHitHelp = HTHELP;

struct TacCaptionButton {
  int State = 0;       // 0 normal, 1 hot, 2 pressed
  int GlyphMask = -1;  // mask index of the glyph image, -1 none
  RECT Bounds{};       // window (cache) coordinates, set at every paint
  bool LargeGlyphs = false;
  int HitTestCode = 0;
};

struct TacCaptionButtons {
  TacCaptionButton Minimize{0, -1, {}, false, kHitMinimize};
  TacCaptionButton Maximize{0, -1, {}, false, kHitMaximize};
  TacCaptionButton Close{0, -1, {}, false, kHitClose};
  TacCaptionButton Help{0, -1, {}, false, kHitHelp};
};

// Single and sizeable forms use the large glyphs.
bool LargeTitleStyle(fw::TCustomForm& form);
bool VisibleClose(const TsSkinProvider& provider);
bool VisibleMax(TsSkinProvider& provider);
bool VisibleMin(TsSkinProvider& provider);
bool VisibleHelp(TsSkinProvider& provider);

// Looks up the glyph images for the form's style.
void ChooseButtonImages(TsSkinProvider& provider);
// A button's width from its glyph image, 21 without one.
int CaptionButtonWidth(TsSkinManager& manager, const TacCaptionButton& button);
int ButtonsAreaWidth(TsSkinProvider& provider);
// Places the visible buttons from the right and draws them in their
// current state into the cache.
void PaintTitleButtons(TsSkinProvider& provider, const TacFrameMetrics& m, fw::TBitmap& cache);
// The hit code of the button at a window point, 0 when none.
int CaptionButtonAt(TsSkinProvider& provider, POINT windowPoint);

}  // namespace translit
