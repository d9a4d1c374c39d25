// A control's caption painted from its skin data: the section's colours
// turned by the control's hue offset and saturation, its shadows and glow.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Graphics.h"

namespace translit {

class TsCommonData;

// A control's text in its section's colours, adjusted by its hue offset and
// saturation: the glow first (into its cache, when the look has one), then
// the shadows, then the text; disabled text in 40 % of the normal font
// colour over 60 % of the skin's global colour. A control drawn on its
// parent takes the parent's section when its own look is transparent. An
// unskinned control gets plain or, disabled, embossed text. The hot look of
// a "WEBBUTTON" is underlined. The canvas's DC comes back as it was.
void WriteControlText(fw::TCanvas& canvas, const std::string& text, bool enabled, bool hot, TsCommonData& data,
                      UINT format, const RECT& rect);

}  // namespace translit
