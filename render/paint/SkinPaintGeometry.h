// Small geometry the skin painters share: rectangle sizes, emptiness and
// overlap, whether a rectangle lies inside a bitmap, and a state limited to a
// piece's states.
#pragma once

#include <windows.h>

#include <algorithm>

#include "framework/Graphics.h"

namespace translit::paint {

inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }
inline bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// The overlap of a and b; an empty one keeps its left and top corner.
inline RECT Intersection(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

// Not empty, and wholly inside the bitmap.
inline bool LiesInside(const RECT& r, fw::TBitmap* bitmap) {
  return r.left >= 0 && r.top >= 0 && r.right <= bitmap->Width() && r.bottom <= bitmap->Height() && r.right > r.left &&
         r.bottom > r.top;
}

// State 0 .. stateCount - 1 (0 when there are no states).
inline int LimitState(int state, int stateCount) { return std::clamp(state, 0, std::max(stateCount - 1, 0)); }

}  // namespace translit::paint
