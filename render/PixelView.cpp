// Views carry no code of their own; this unit anchors the core library.
#include "render/PixelView.h"
