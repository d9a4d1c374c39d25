// The stored layout reader on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/core/LayoutParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    fw::ParseLayout(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const fw::ELayoutError&) {
  }
  return 0;
}
