// The loaded skin's records other than sections: skin-wide values of
// "GLOBALINFO", image pieces (masks), large textures (patterns) and the
// indexes cached after every load. Plain data: the loader fills them, the
// lookups of TsSkinTables read them, painters use the indexes.
//
// Bitmaps are the framework's (Windows only); the portable core holds them
// through shared pointers to an incomplete type and never looks inside.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/pixels/KeyColor.h"

namespace fw {
class TBitmap;
}

namespace translit {

class TsSkinTables;

// Colour values are the platform's: 0x00BBGGRR, 0xFF000000 + index for a
// system colour, -1 for "none".
using TColorValue = std::int32_t;
constexpr TColorValue clNone = -1;

// Skin-wide values, one per manager (its GlobalInfo).
struct TsSkinData {
  std::string SkinFolder;  // image files are resolved against it; empty for stored skins
  bool Loaded = false;
  double Version = 0;
  std::string Author;
  std::string Description;
  TColorValue Shadow1Color = 0;
  std::int16_t Shadow1Offset = 0;
  std::int16_t Shadow1Blur = -1;
  std::int16_t Shadow1Transparency = 0;
  std::int16_t BorderWidth = 4;
  std::int16_t TitleHeight = 30;
  std::int16_t MaxTitleHeight = 0;  // 0: the same as TitleHeight
  std::int16_t FormOffset = 0;      // default: the platform's frame width
  std::int16_t AlignOffset = 0;
  std::int16_t CenterOffset = 0;
  std::int16_t BorderMode = 0;
  TColorValue BorderColor = 0;
  std::int16_t BiSpace = 0;
  std::int16_t BiVAlign = 0;
  std::int16_t BiRight = 0;
  std::int16_t BiLeft = 0;
  std::int16_t BiTop = 0;
  std::int16_t BiKeepHue = 0;  // 0 follow the hue; 1 all title buttons keep theirs; else only the close ones
  std::int16_t BiCloseGlow = 0, BiCloseGlowMargin = 0;
  std::int16_t BiMaxGlow = 0, BiMaxGlowMargin = 0;
  std::int16_t BiMinGlow = 0, BiMinGlowMargin = 0;
};

// An image piece: cut from the master bitmap, or with a bitmap of its own.
struct TsMaskData {
  std::shared_ptr<fw::TBitmap> OwnBitmap;  // none: cut from the master bitmap
  std::string Section;
  std::string Prop;
  // Left, Top, Right, Bottom in OwnBitmap or the master bitmap.
  std::int32_t SrcLeft = 0, SrcTop = 0, SrcRight = 0, SrcBottom = 0;
  std::int16_t StateCount = 1;   // state images side by side
  std::int16_t ExtraLayers = 0;  // 0 image only; 1 lower half is a mask; n: n+1 layers; -1 no height
  std::int16_t UniformMargin = 0;
  std::int16_t FillMode = 1;
  std::uint8_t Format = 0;  // syntax it came from; 1 marks textures
  TsSkinTables* Owner = nullptr;
  std::int16_t MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;

  // Computed wide: rectangles come from untrusted skin text.
  std::int64_t Width() const { return std::int64_t{SrcRight} - SrcLeft; }
  std::int64_t Height() const { return std::int64_t{SrcBottom} - SrcTop; }
};
using TsMaskArray = std::vector<TsMaskData>;

// Width and height of one state image of a piece.
int MaskStateWidth(const TsMaskData& mask);
int MaskStateHeight(const TsMaskData& mask);

// Fills the four margins of a piece parsed with all four 0: the uniform margin
// when given, else one cell of a 3 x 3 grid per state and layer. Throws
// fw::EDivByZero-style fw::Exception "Division by zero" when the state count
// is 0 or the layers are -1 (the load then fails like on any bad value).
void ComputeMaskMargins(TsMaskData& mask);

// A JPEG texture of 900 000 pixels or more, kept as a picture.
struct TsPatternData {
  std::shared_ptr<fw::TBitmap> Image;
  std::string Section;  // upper-case
  std::string Prop;     // upper-case
};
using TsPatternArray = std::vector<TsPatternData>;

// JPEG textures of at least this many pixels stay pictures (patterns);
// smaller ones become texture pieces.
constexpr std::int64_t kLargeTexturePixels = 900000;
constexpr bool IsLargeTexture(std::int64_t width, std::int64_t height) { return width * height >= kLargeTexturePixels; }

// Indexes recomputed after every load; -1 where the skin has nothing.
struct TsConstIndexes {
  int GlobalInfoIndex = -1;
  int CheckBoxChecked = -1, CheckBoxUnchecked = -1, CheckBoxGrayed = -1;
  int RadioChecked = -1, RadioUnchecked = -1, RadioGrayed = -1;
  int SmallCheckBoxChecked = -1, SmallCheckBoxUnchecked = -1, SmallCheckBoxGrayed = -1;
  int ExBorder = -1;
  int ComboBtnIndex = -1, ComboBtnBorder = -1, ComboBtnBG = -1, ComboBtnBGHot = -1;
  int ComboGlyph = -1;
  int TabTop = -1, TabBottom = -1, TabLeft = -1, TabRight = -1;
  int TabTopMask = -1, TabBottomMask = -1, TabLeftMask = -1, TabRightMask = -1;
  int ScrollBtnTop = -1, ScrollBtnBottom = -1, ScrollBtnLeft = -1, ScrollBtnRight = -1;
  int ScrollBtnTopMask = -1, ScrollBtnBottomMask = -1, ScrollBtnLeftMask = -1, ScrollBtnRightMask = -1;
  int ArrowTop = -1, ArrowBottom = -1, ArrowLeft = -1, ArrowRight = -1;
  int ScrollBtnTopBG = -1, ScrollBtnBottomBG = -1, ScrollBtnLeftBG = -1, ScrollBtnRightBG = -1;
  int ScrollBtnTopBGHot = -1, ScrollBtnBottomBGHot = -1, ScrollBtnLeftBGHot = -1, ScrollBtnRightBGHot = -1;
  int SliderVert = -1, SliderHorz = -1;
  int SliderVertMask = -1, SliderHorzMask = -1, SliderVertGlyph = -1, SliderHorzGlyph = -1;
  int SliderHorzBG = -1, SliderHorzBGHot = -1, SliderVertBG = -1, SliderVertBGHot = -1;
  int ScrollBar1H = -1, ScrollBar1V = -1, ScrollBar2H = -1, ScrollBar2V = -1;
  int ScrollBar1HMask = -1, ScrollBar1VMask = -1, ScrollBar2HMask = -1, ScrollBar2VMask = -1;
  int ScrollBar1HBG = -1, ScrollBar1VBG = -1, ScrollBar2HBG = -1, ScrollBar2VBG = -1;
  int ScrollBar1HBGHot = -1, ScrollBar1VBGHot = -1, ScrollBar2HBGHot = -1, ScrollBar2VBGHot = -1;
};

}  // namespace translit
