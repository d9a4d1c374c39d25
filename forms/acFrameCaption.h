// The caption text of a skinned frame: where it goes in the title (after the
// icon, before the title buttons, aligned as the form asks and mirrored for
// right-to-left reading), the added title text after it, the optional
// "CAPTION" plate behind it and the glow around it.
#pragma once

#include <windows.h>

#include "forms/acFrameGeometry.h"
#include "framework/Graphics.h"
#include "framework/core/ButtonLayout.h"

namespace translit {

class TsSkinProvider;

// DrawText flags of the caption; right-to-left reading adds DT_RTLREADING.
constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

// The rectangle the caption may use before it is centred and aligned.
RECT CaptionTextArea(const TacFrameMetrics& m, int iconWidth, int biLeft, bool captionSection, int buttonsAreaWidth);

// Moves the text rectangle's ends for the alignment (mirrored when the form
// reads right to left); the widths are the measured caption and added text.
void AlignCaptionRect(RECT& rect, int captionWidth, int addedWidth, fw::TAlignment alignment, bool rightToLeft);

// Draws the caption and the added title into the cache.
void DrawFrameCaption(TsSkinProvider& provider, const TacFrameMetrics& m, fw::TBitmap& cache, int iconWidth);

}  // namespace translit
