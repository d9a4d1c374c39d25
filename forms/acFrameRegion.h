// The outline of a skinned form: the key-coloured corners of the frame masks
// ("BORDERSMASK" of the form section, top and bottom, and of the title
// section, top) are cut out of the window with a window region.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/acFrameGeometry.h"

namespace translit {

class TsSkinManager;
class TsSkinProvider;

// The transparent parts of the masks across a window of width x height.
std::vector<RECT> CollectFrameRegionRects(TsSkinManager& manager, int formMask, int titleMask, int width, int height);

// Rebuilds the provider's RegionRects and sets the window's region; a frame
// with nothing to cut gets no region at all, so the window stays whole
// whatever size it takes.
void UpdateFrameRegion(TsSkinProvider& provider, const TacFrameMetrics& m);

}  // namespace translit
