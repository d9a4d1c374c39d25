// The title buttons of a skinned frame as the frame draws them: which glyph
// images the skin gives (the large set for single and sizeable forms, the
// small one for dialogs and tool windows), which buttons the form shows and
// which of them work in its state, the width they reserve at the title's
// right end, their places, and their look in the frame cache. The system
// draws no buttons of its own once the frame is skinned.
#pragma once

#include <windows.h>

#include <memory>

#include "forms/acFrameGeometry.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"

namespace translit {

class TsSkinProvider;
class TsSkinManager;
class TacSBAnimation;

// Hit codes of the system buttons; user button n answers kHitUserButton + n.
constexpr int kHitMinimize = HTMINBUTTON, kHitMaximize = HTMAXBUTTON, kHitClose = HTCLOSE, kHitHelp = HTHELP;
constexpr int kHitUserButton = 1000;

struct TacCaptionButton {
  explicit TacCaptionButton(int hitTestCode = 0);
  ~TacCaptionButton();
  TacCaptionButton(const TacCaptionButton&) = delete;
  TacCaptionButton& operator=(const TacCaptionButton&) = delete;

  int State = 0;       // 0 normal, 1 hot, 2 pressed
  int GlyphMask = -1;  // mask index of the glyph image, -1 none
  RECT Bounds{};       // window (cache) coordinates, set at every paint
  bool LargeGlyphs = false;
  int GlowId = -1;  // the glow shown while hot, -1 none
  std::unique_ptr<TacSBAnimation> Fade;
  int HitTestCode = 0;
};

struct TacCaptionButtons {
  TacCaptionButton Minimize{kHitMinimize};
  TacCaptionButton Maximize{kHitMaximize};
  TacCaptionButton Close{kHitClose};
  TacCaptionButton Help{kHitHelp};
};

// Single and sizeable forms use the large glyphs.
bool LargeTitleStyle(fw::TCustomForm& form);
bool VisibleClose(const TsSkinProvider& provider);
bool VisibleMax(TsSkinProvider& provider);
bool VisibleMin(TsSkinProvider& provider);
bool VisibleHelp(TsSkinProvider& provider);
bool EnabledMax(TsSkinProvider& provider);
bool EnabledMin(TsSkinProvider& provider);
bool EnabledRestore(TsSkinProvider& provider);

// Looks up the glyph images for the form's style.
void ChooseButtonImages(TsSkinProvider& provider);
// A button's width from its glyph image, 21 without one.
int CaptionButtonWidth(TsSkinManager& manager, const TacCaptionButton& button);
int ButtonsAreaWidth(TsSkinProvider& provider);
// Places the visible buttons from the right and draws them in their
// current state into the cache.
void PaintTitleButtons(TsSkinProvider& provider, const TacFrameMetrics& m, fw::TBitmap& cache);
// The button of a hit code (system or user), or none.
TacCaptionButton* CaptionButtonByCode(TsSkinProvider& provider, int code);
// The hit code of the working button at a window point, 0 when none: a
// disabled or hidden user button is title there.
int CaptionButtonAt(TsSkinProvider& provider, POINT windowPoint);
// The glyph a button shows now: the restore image for the maximise button
// of a maximised form and the minimise button of a minimised one.
int ShownGlyphMask(TsSkinProvider& provider, const TacCaptionButton& button);
// Whether a button works in the form's state.
bool CaptionButtonEnabled(TsSkinProvider& provider, const TacCaptionButton& button);
// One button drawn in a state into target with its top left corner at
// `at`: the title behind it from the saved title strip, its glyph image,
// and a user button's own glyph (one pixel down and right when pressed).
void DrawCaptionButton(TsSkinProvider& provider, const TacCaptionButton& button, int state, fw::TBitmap& target,
                       POINT at);

}  // namespace translit
