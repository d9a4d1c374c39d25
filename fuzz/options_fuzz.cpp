// Options texts of any bytes: read as INI, every key classified as an image
// value, and the whole text read as a skin's sections (and merged as common
// sections). Strict fields and gradient words may fail with their error;
// nothing else may go wrong.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/core/SysUtils.h"
#include "skin/acIniFile.h"
#include "skin/sImageValue.h"
#include "skin/sSkinOptions.h"

namespace {

class FixedSystem : public translit::TsSystemValues {
 public:
  std::uint32_t SysColor(int index) const override { return static_cast<std::uint32_t>(index) * 0x010101u; }
  int FrameWidth() const override { return 4; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FixedSystem system;
  translit::TacIniFile ini;
  ini.SetText(std::string_view(reinterpret_cast<const char*>(data), size));
  translit::TsSkinTables tables(system);
  for (const auto& s : ini.Sections()) {
    for (const auto& k : s.Keys) {
      for (bool common : {false, true}) {
        try {
          if (auto v = translit::ParseImageValue(s.Name, k.Name, k.Value, common)) {
            translit::FinishOwnBitmapPiece(*v, static_cast<int>(size), static_cast<int>(k.Value.size()));
            tables.Masks.push_back(v->Mask);
          }
        } catch (const fw::Exception&) {
        }
      }
    }
  }
  try {
    translit::ReadGlobalInfo(ini, *tables.GlobalInfo, system);
  } catch (const fw::Exception&) {
  }
  try {
    translit::ReadSkinSections(ini, tables);
    translit::MergeCommonSections(ini, tables);
  } catch (const fw::Exception&) {
  }
  tables.UpdateConstIndexes();
  for (int i = 0; i < static_cast<int>(tables.Masks.size()); ++i) {
    tables.MaskMarginLeft(i);
    tables.MaskMarginBottom(i);
  }
  translit::ShiftSkinColorsHue(tables, 77);
  translit::ScaleSkinColorsSaturation(tables, -40);
  (void)tables.SelectionColor(true);
  (void)tables.SelectionFontColor(false);
  return 0;
}
