// Views carry no code of their own; this unit anchors the core library.
#include "render/pixels/PixelView.h"
