// The icon in a skinned title: whether it shows, where, and its drawing into
// the frame cache (a replacement glyph, the form's or the application's icon,
// the program's default or the system's), keeping the cache's alpha valid.
#pragma once

#include <windows.h>

#include "forms/acFrameGeometry.h"
#include "framework/Graphics.h"

namespace translit {

class TsSkinProvider;

// Single and sizeable forms with ShowAppIcon and a system menu.
bool IconVisible(TsSkinProvider& provider);
SIZE TitleIconSize(TsSkinProvider& provider, const TacFrameMetrics& m);
RECT TitleIconRect(TsSkinProvider& provider, const TacFrameMetrics& m);
// Draws the icon when it is visible; answers the width it takes (0 when none).
int DrawTitleIcon(TsSkinProvider& provider, const TacFrameMetrics& m, fw::TBitmap& cache);

}  // namespace translit
