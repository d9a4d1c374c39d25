// Whether painting calls stand still while a skin is being loaded: each
// call of a table paints nothing into its picture while the flag is set,
// and something once it is clear (so that an untouched picture shows the
// standstill, not a call that never paints).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "controls/protocol/sSkinState.h"
#include "render/bitmaps/sAlphaGraph.h"

namespace translit::test {

struct PaintCall {
  const char* name;
  fw::TBitmap* picture;  // where the call paints; none: a fresh picture of the table's size
  std::function<void(fw::TBitmap*)> paint;
};

// The pixels of the picture that the call changed from a filled colour.
inline int PixelsPainted(const PaintCall& call, SIZE size) {
  constexpr std::uint32_t kUntouched = 0x654321;
  auto fresh = NewBitmap32(size.cx, size.cy);
  fw::TBitmap* target = call.picture ? call.picture : fresh.get();
  FillBitmapRect(target, RECT{0, 0, size.cx, size.cy}, static_cast<fw::TColor>(kUntouched));
  call.paint(target);
  const PixelView view = ViewOf(target);
  int changed = 0;
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < size.cx; ++x) changed += (view.At(x, y) & 0xFFFFFFu) != ExchangeRB(kUntouched);
  return changed;
}

inline void ExpectStillWhileASkinLoads(const std::vector<PaintCall>& calls, SIZE size) {
  for (const PaintCall& call : calls) {
    SkinLoadInProgress = true;
    const int whileLoading = PixelsPainted(call, size);
    SkinLoadInProgress = false;
    EXPECT_EQ(whileLoading, 0) << call.name << " painted " << whileLoading << " pixels during the load";
    EXPECT_GT(PixelsPainted(call, size), 0) << call.name << " paints nothing at all here";
  }
}

}  // namespace translit::test
