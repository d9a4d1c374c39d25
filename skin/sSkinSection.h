// A skin section as loaded: one TsGeneralData per INI section of the options,
// with its two looks (normal and hot) in States.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "render/pixels/GradientKernels.h"
#include "skin/sSkinData.h"

namespace translit {

// One look of a section; States[0] is the normal one, States[1] the hot one.
struct TsGenState {
  TColorValue Color = 0;
  TColorValue FontColor = 0;
  TColorValue TcLeft = clNone, TcTop = clNone, TcRight = clNone, TcBottom = clNone;
  std::int32_t GradientPercent = 0;
  std::string GradientData;
  TsGradArray GradientArray;
  std::int32_t ImagePercent = 0;
  TColorValue GlowColor = 0;
  std::uint8_t GlowSize = 0;
  std::int32_t Transparency = 0;
};
using TsProps = std::array<TsGenState, 2>;

struct TsGeneralData {
  std::string Parent;  // PARENTCLASS; empty = none
  std::string Name;    // as written in the file
  std::int32_t StateCount = 4;
  TsProps States;
  bool OwnFont = false;
  bool ReservedFlag = false;
  bool FocusVisible = false;
  std::int32_t Glow = 0;
  std::int32_t GlowMargin = 0;
  std::int32_t BorderIndex = -1;
  std::int32_t CornerTL = -1, CornerTR = -1, CornerBL = -1, CornerBR = -1;
  // The values as read; States are filled from them.
  TColorValue Color = 0xFFFFFF;
  std::int32_t Transparency = 0;
  std::int32_t GradientPercent = 0;
  std::string GradientData = " ";
  TsGradArray GradientArray;
  std::int32_t ImagePercent = 0;
  TColorValue FontColor = 0;
  TColorValue TcLeft = clNone, TcTop = clNone, TcRight = clNone, TcBottom = clNone;
  TColorValue HotColor = 0xFFFFFF;
  std::int32_t HotTransparency = 0;
  std::int32_t HotGradientPercent = 0;
  std::string HotGradientData;
  TsGradArray HotGradientArray;
  std::int32_t HotImagePercent = 0;
  TColorValue HotFontColor = 0;
  TColorValue HotTcLeft = clNone, HotTcTop = clNone, HotTcRight = clNone, HotTcBottom = clNone;
  bool FadingEnabled = false;
  std::int32_t FadingIterations = 5;
  TColorValue HotGlowColor = 0xFFFFFF;
  TColorValue GlowColor = 0xFFFFFF;
  std::uint8_t HotGlowSize = 0;
  std::uint8_t GlowSize = 0;
};
using TsGeneralDataArray = std::vector<TsGeneralData>;

// Fills States[0] and States[1] from the flat values; with fewer than two
// states the hot look is a copy of the normal one. A gradient text shorter
// than two characters gives that look gradient percent 0 and no stops.
void FillSectionStates(TsGeneralData& section);

}  // namespace translit
