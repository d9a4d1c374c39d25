// Options texts of any bytes: read as INI, every key read as a number and
// classified as an image value (strict fields may fail with their error).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/SysUtils.h"
#include "skin/acIniFile.h"
#include "skin/sImageValue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  translit::TacIniFile ini;
  ini.SetText(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const auto& s : ini.Sections()) {
    for (const auto& k : s.Keys) {
      (void)ini.ReadInteger(s.Name, k.Name, -1);
      for (bool common : {false, true}) {
        try {
          if (auto v = translit::ParseImageValue(s.Name, k.Name, k.Value, common))
            translit::FinishOwnBitmapPiece(*v, static_cast<int>(size), static_cast<int>(k.Value.size()));
        } catch (const fw::Exception&) {
        }
      }
    }
  }
  return 0;
}
