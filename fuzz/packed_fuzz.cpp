// Packed skin files of any bytes: parsed, and every image looked up, or a
// load error; nothing else.
#include <cstddef>
#include <cstdint>

#include "skin/acSkinPack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  translit::TacSkinConvertor c;
  try {
    c.LoadFromBytes(data, size);
    for (const auto& f : c.Files) c.FindImage(translit::UpperCase(f.FileName));
    (void)c.OptionsText();
  } catch (const fw::Exception&) {
  }
  return 0;
}
