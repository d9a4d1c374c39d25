// The seven passes of Adam7, the PNG interlace method: pass by pass, a
// coarse picture first and then the pixels between. Pass p holds every
// rowStep-th row from rowStart and in it every colStep-th pixel from
// colStart.
#pragma once

#include <cstdint>

namespace translit {

struct Adam7Pass {
  std::uint32_t rowStart, rowStep, colStart, colStep;
};

inline constexpr Adam7Pass Adam7Passes[7] = {
    {0, 8, 0, 8}, {0, 8, 4, 8}, {4, 8, 0, 4}, {0, 4, 2, 4}, {2, 4, 0, 2}, {0, 2, 1, 2}, {1, 2, 0, 1},
};

// Pixels a row of the pass holds in a picture width wide; 0 when the pass
// has no column there.
constexpr std::uint32_t Adam7PassWidth(const Adam7Pass& pass, std::uint32_t width) {
  return (width + pass.colStep - pass.colStart - 1) / pass.colStep;
}
// Rows of the pass in a picture height high; 0 when the pass has no row there.
constexpr std::uint32_t Adam7PassHeight(const Adam7Pass& pass, std::uint32_t height) {
  return (height + pass.rowStep - pass.rowStart - 1) / pass.rowStep;
}

}  // namespace translit
