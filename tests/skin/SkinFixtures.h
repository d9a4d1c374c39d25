// Shared pieces of the skin tests: fixed system values and tables read from
// an options text.
#pragma once

#include <string_view>

#include "skin/sSkinOptions.h"

namespace translit::test {

// System colour i reads 0x000100 * i + 0x11, so a converted value shows
// which index it came from; frames are 4 pixels wide.
class FakeSystemValues : public TsSystemValues {
 public:
  std::uint32_t SysColor(int index) const override { return 0x000100u * static_cast<std::uint32_t>(index) + 0x11; }
  int FrameWidth() const override { return 4; }
};

inline const FakeSystemValues& FakeSystem() {
  static const FakeSystemValues values;
  return values;
}

// Tables with the sections of the text read in, nothing else.
struct TablesFromText {
  explicit TablesFromText(std::string_view options) : tables(FakeSystem()) {
    ini.SetText(options);
    ReadGlobalInfo(ini, *tables.GlobalInfo, FakeSystem());
    ReadSkinSections(ini, tables);
  }
  // Adds a piece cut from the master bitmap.
  int AddMask(std::string section, std::string prop, std::uint8_t format = 0) {
    TsMaskData m;
    m.Section = std::move(section);
    m.Prop = std::move(prop);
    m.Format = format;
    m.Owner = &tables;
    tables.Masks.push_back(std::move(m));
    return static_cast<int>(tables.Masks.size()) - 1;
  }
  TacIniFile ini;
  TsSkinTables tables;
};

}  // namespace translit::test
