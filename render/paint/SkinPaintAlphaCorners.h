// The see-through corners of a frame image with a mask layer, filled with
// the parent's background before the image is laid over them.
#pragma once

#include "framework/Graphics.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "skin/sSkinData.h"

namespace translit {

// An image with a mask layer has no key pixels to cut the outline with: its
// rounded corners are composed over whatever lies under them. Under the part
// of each corner cell that lies outside the frame (the pixels the mask lets
// wholly through that join the cell's outer corner, and the partly covered
// rim around them) the parent's background is put first, so that the corners
// show the parent as they would through a cut outline; inside the frame the
// picture's own face stays. cache is the control's picture, state the
// image's state column.
void PutParentUnderAlphaCorners(fw::TBitmap* cache, const TsMaskData& mask, int state, const ParentCache& parent);

}  // namespace translit
