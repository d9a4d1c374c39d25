// Magenta, the transparent key of every skin image. Where a colour is asked
// for and none is known, the same value answers "unknown". Red and blue are
// equal in it, so the colour (0x00BBGGRR) and the 32-bit pixel (blue first,
// alpha 0) are one number; the two names differ only in type.
#pragma once

#include <cstdint>

namespace translit {

// As a pixel of a 32-bit picture.
inline constexpr std::uint32_t KeyPixel = 0x00FF00FF;
// As a colour value (the framework's TColor, a skin's colour value).
inline constexpr std::int32_t clSkinTransparent = static_cast<std::int32_t>(KeyPixel);

}  // namespace translit
