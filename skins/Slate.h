// The skin "Slate": a dark grey frame with a copper accent, drawn in code
// like BlueIce. It holds the form frame's sections only (the frame, the
// title, the caption plate, the title buttons, the menu bar band and the
// dialog client), every piece of them unlike BlueIce's, so that tests and
// screenshots tell the two frames apart. With cut corners the frame and
// title masks have key-coloured (transparent) corners; without, they are
// square and the window keeps its rectangle.
#pragma once

#include "skins/BlueIce.h"

namespace skingen {

GeneratedSkin GenerateSlate(bool cutCorners);

}  // namespace skingen
