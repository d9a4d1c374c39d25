// Derived sizes of image pieces.
#include "skin/sSkinData.h"

#include "framework/core/SysUtils.h"

namespace translit {

int MaskStateWidth(const TsMaskData& mask) {
  if (mask.StateCount == 0) return 0;
  return static_cast<int>(mask.Width() / mask.StateCount);
}

int MaskStateHeight(const TsMaskData& mask) {
  if (mask.ExtraLayers == -1) return 0;
  return static_cast<int>(mask.Height() / (mask.ExtraLayers + 1));
}

void ComputeMaskMargins(TsMaskData& mask) {
  if (mask.UniformMargin != 0) {
    mask.MarginLeft = mask.MarginTop = mask.MarginRight = mask.MarginBottom = mask.UniformMargin;
    return;
  }
  std::int64_t across = mask.StateCount * 3;
  std::int64_t down = (mask.ExtraLayers + 1) * 3;
  // Tested before dividing: a skin with a zero count fails its load instead
  // of taking the program down.
  if (across == 0 || down == 0) throw fw::Exception("Division by zero");
  mask.MarginLeft = mask.MarginRight = static_cast<std::int16_t>(mask.Width() / across);
  mask.MarginTop = mask.MarginBottom = static_cast<std::int16_t>(mask.Height() / down);
}

}  // namespace translit
