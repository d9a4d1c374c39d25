// The loaded skin as the skin manager holds it: sections, image pieces,
// large textures, the master bitmap, the skin-wide values and the cached
// indexes, with every lookup the painting code uses. The manager owns (or
// is) one TsSkinTables; the loader fills it as a whole on every load.
//
// Indexes are 0-based; -1 means "none" everywhere. Names compare exactly
// (case-sensitive). Parent chains that return to an earlier section are cut.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "skin/sSkinData.h"
#include "skin/sSkinSection.h"

namespace translit {

// What the data model asks of the platform: current system colours (for
// colour to RGB) and the frame width used as the default form offset. The
// Windows layer answers with GetSysColor and GetSystemMetrics.
class TsSystemValues {
 public:
  virtual ~TsSystemValues() = default;
  virtual std::uint32_t SysColor(int index) const = 0;
  virtual int FrameWidth() const = 0;
};

// System colours as colour values (0xFF000000 + the platform's index).
constexpr TColorValue clSysWindow = static_cast<TColorValue>(0xFF000005);
constexpr TColorValue clSysWindowText = static_cast<TColorValue>(0xFF000008);
constexpr TColorValue clSysHighlight = static_cast<TColorValue>(0xFF00000D);
constexpr TColorValue clSysHighlightText = static_cast<TColorValue>(0xFF00000E);
constexpr TColorValue clSysBtnFace = static_cast<TColorValue>(0xFF00000F);

class TsSkinTables {
 public:
  explicit TsSkinTables(const TsSystemValues& system);
  virtual ~TsSkinTables();
  TsSkinTables(const TsSkinTables&) = delete;
  TsSkinTables& operator=(const TsSkinTables&) = delete;

  TsGeneralDataArray Sections;
  TsMaskArray Masks;
  TsPatternArray Patterns;
  std::shared_ptr<fw::TBitmap> MasterBitmap;
  std::unique_ptr<TsSkinData> GlobalInfo;
  TsConstIndexes ConstIndexes;

  const TsSystemValues& System() const { return *FSystem; }
  // A negative value becomes the system colour of its low byte; others pass.
  TColorValue ColorToRGB(TColorValue color) const;

  // Lookups.
  int SectionIndex(std::string_view name) const;
  int MaskIndex(int sectionIndex, std::string_view sectionName, std::string_view propName) const;
  int MaskIndexDirect(std::string_view sectionName, std::string_view propName) const;
  int TextureIndex(int sectionIndex, std::string_view sectionName, std::string_view propName) const;
  int PatternIndex(int sectionIndex, std::string_view sectionName, std::string_view propName) const;
  bool IsValidSection(int index) const;
  bool IsValidMask(int index) const;

  // Derived sizes of a piece (0 for an invalid index). A margin falls back to
  // the uniform margin, then to the state size; a state count of 0 is set to
  // 1 on the way, as painting from a piece with no states means one.
  int MaskMarginLeft(int maskIndex);
  int MaskMarginTop(int maskIndex);
  int MaskMarginRight(int maskIndex);
  int MaskMarginBottom(int maskIndex);
  int MaskStateWidth(int maskIndex) const;
  int MaskStateHeight(int maskIndex) const;

  // Colour queries; RGB values unless noted.
  TColorValue GlobalColor() const;
  TColorValue GlobalFontColor() const;
  TColorValue GlobalHotColor() const;
  TColorValue EditFontColor() const;                   // unconverted clWindowText without "EDIT"
  TColorValue SelectionColor(bool focused) const;      // unconverted clHighlight as last resort
  TColorValue SelectionFontColor(bool focused) const;  // unconverted clHighlightText as last resort

  // Recomputes ConstIndexes and the frame indexes of every section (after a
  // load; all -1 after a removal).
  void UpdateConstIndexes();
  // BorderIndex and the corner indexes of every section but "GLOBALINFO".
  void UpdateFrameIndexes();
  // Frees the pieces (last to first), the master bitmap, the patterns and
  // the sections; GlobalInfo stays, not loaded.
  void ClearSkin();

 protected:
  // Called at the end of UpdateConstIndexes: an owner rebuilds there what
  // it derives from the cached indexes.
  virtual void ConstIndexesUpdated() {}

 private:
  template <class Match>
  int FindWithParents(int sectionIndex, std::string_view sectionName, std::string_view propName, Match match) const;
  int MarginOrFallback(int maskIndex, std::int16_t TsMaskData::*margin, bool horizontal);

  const TsSystemValues* FSystem;
};

}  // namespace translit
