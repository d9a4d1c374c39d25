// The looks of a skin section.
#include "skin/sSkinSection.h"

namespace translit {

namespace {

TsGenState MakeState(TColorValue color, TColorValue fontColor, TColorValue l, TColorValue t, TColorValue r,
                     TColorValue b, std::int32_t gradientPercent, const std::string& gradientData,
                     const TsGradArray& gradient, std::int32_t imagePercent, TColorValue glowColor,
                     std::uint8_t glowSize, std::int32_t transparency) {
  TsGenState s;
  s.Color = color;
  s.FontColor = fontColor;
  s.TcLeft = l;
  s.TcTop = t;
  s.TcRight = r;
  s.TcBottom = b;
  s.GradientData = gradientData;
  if (gradientData.size() < 2) {
    s.GradientPercent = 0;
  } else {
    s.GradientPercent = gradientPercent;
    s.GradientArray = gradient;
  }
  s.ImagePercent = imagePercent;
  s.GlowColor = glowColor;
  s.GlowSize = glowSize;
  s.Transparency = transparency;
  return s;
}

}  // namespace

void FillSectionStates(TsGeneralData& g) {
  g.States[0] = MakeState(g.Color, g.FontColor, g.TcLeft, g.TcTop, g.TcRight, g.TcBottom, g.GradientPercent,
                          g.GradientData, g.GradientArray, g.ImagePercent, g.GlowColor, g.GlowSize, g.Transparency);
  if (g.StateCount < 2) {
    g.States[1] = g.States[0];
    return;
  }
  g.States[1] = MakeState(g.HotColor, g.HotFontColor, g.HotTcLeft, g.HotTcTop, g.HotTcRight, g.HotTcBottom,
                          g.HotGradientPercent, g.HotGradientData, g.HotGradientArray, g.HotImagePercent,
                          g.HotGlowColor, g.HotGlowSize, g.HotTransparency);
}

}  // namespace translit
