// Skin item painting: everything the skinned controls and forms draw skin
// sections, masks and textures with.
#pragma once

#include "render/paint/SkinPaintChildren.h"
#include "render/paint/SkinPaintDisabled.h"
#include "render/paint/SkinPaintFills.h"
#include "render/paint/SkinPaintFrameImage.h"
#include "render/paint/SkinPaintItem.h"
#include "render/paint/SkinPaintKeyed.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintParent.h"
#include "render/paint/SkinPaintText.h"
