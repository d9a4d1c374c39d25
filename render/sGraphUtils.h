// Skin item painting: everything the skinned controls and forms draw skin
// sections, masks and textures with.
#pragma once

#include "render/SkinPaintControl.h"
#include "render/SkinPaintItem.h"
#include "render/SkinPaintMasks.h"
#include "render/SkinPaintParent.h"
#include "render/SkinPaintText.h"
