// Reading a skin's options into the tables: the skin-wide values of
// "GLOBALINFO", one section record per INI section with keys inherited along
// PARENTCLASS, the merge of the manager's common sections, and the hue and
// saturation changes of the colours read.
#pragma once

#include <string>
#include <string_view>

#include "skin/acIniFile.h"
#include "skin/sSkinTables.h"

namespace translit {

// A key of the section, else of its PARENTCLASS section and so on, else def.
// A chain that returns to a section it passed ends there.
std::string ReadInheritedString(const TacIniFile& ini, std::string_view section, std::string_view key,
                                std::string_view def);
// The same for integers ("0x" allowed); -1 and unreadable text count as
// absent. A value of the section itself comes back as written, one found
// through the chain as colour to RGB, and def unconverted.
TColorValue ReadInheritedInteger(const TacIniFile& ini, const TsSkinTables& tables, std::string_view section,
                                 std::string_view key, TColorValue def);

// Fills the skin-wide values from "GLOBALINFO". The strict keys (shadow
// offset, blur, transparency and the title button glows) throw
// fw::EConvertError on text that is not a number.
void ReadGlobalInfo(const TacIniFile& ini, TsSkinData& info, const TsSystemValues& system);

// Rebuilds Sections: one record per INI section in file order. Throws the
// gradient parser's conversion error for a bad gradient text.
void ReadSkinSections(const TacIniFile& ini, TsSkinTables& tables);

// Appends the sections of the common text that the skin does not define
// itself, each based on the skin section its PARENTCLASS names.
void MergeCommonSections(const TacIniFile& common, TsSkinTables& tables);

// The section and skin-wide colours shifted in hue or scaled in saturation
// (the bitmaps are the loader's).
void ShiftSkinColorsHue(TsSkinTables& tables, int degrees);
void ScaleSkinColorsSaturation(TsSkinTables& tables, int amount);
// A saturation setting brought into -100..100 (signed remainder by 101).
constexpr int ReduceSaturation(int amount) { return amount % 101; }

}  // namespace translit
