// The frame cache of a skinned form: one 32-bit picture of the whole window
// (borders, title with icon, caption and buttons, menu bar band, client
// background), redrawn only when the skin data's background-changed flag is
// set, and the copy of its frame strips to the window.
#pragma once

#include <windows.h>

#include "forms/acFrameGeometry.h"
#include "framework/Graphics.h"

namespace translit {

class TsSkinProvider;

// Redraws the cache when it is marked (or missing); nothing without a valid
// form section.
void PaintFrameCache(TsSkinProvider& provider, const TacFrameMetrics& m);

// Copies the parts of the cache around the client area to a window DC: the
// top band, the left and right sides and the bottom band. Never the client.
void CopyFrameStrips(HDC windowDC, fw::TBitmap& cache, const TacFrameMetrics& m);

}  // namespace translit
