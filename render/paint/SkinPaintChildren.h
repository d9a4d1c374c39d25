// The windowless children of a container painted over the container's
// background, for containers that compose their picture off screen.
#pragma once

#include <windows.h>

#include "framework/Controls.h"

namespace translit {

// Paints the windowless children of container over its background into dc,
// each at its place moved by offset. A call made while another runs does
// nothing; an empty clip box only tells the container it is partly outside.
void PaintGraphicChildren(HDC dc, fw::TWinControl* container, POINT offset, bool visibleOnly);

}  // namespace translit
