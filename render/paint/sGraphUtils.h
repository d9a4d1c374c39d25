// Skin item painting: everything the skinned controls and forms draw skin
// sections, masks and textures with.
#pragma once

#include "render/paint/SkinPaintItem.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintParent.h"
#include "render/paint/SkinPaintText.h"
