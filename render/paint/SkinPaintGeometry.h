// Small geometry the skin painters share: rectangle sizes, whether a
// rectangle lies inside a bitmap, and a state limited to a piece's states.
#pragma once

#include <windows.h>

#include <algorithm>

#include "framework/Graphics.h"

namespace translit::paint {

inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }

// Not empty, and wholly inside the bitmap.
inline bool LiesInside(const RECT& r, fw::TBitmap* bitmap) {
  return r.left >= 0 && r.top >= 0 && r.right <= bitmap->Width() && r.bottom <= bitmap->Height() &&
         r.right > r.left && r.bottom > r.top;
}

// State 0 .. stateCount - 1 (0 when there are no states).
inline int LimitState(int state, int stateCount) { return std::clamp(state, 0, std::max(stateCount - 1, 0)); }

}  // namespace translit::paint
