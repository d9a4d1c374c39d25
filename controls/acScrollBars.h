// One skinned non-client scroll bar: its record, its sizes, the place of its
// thumb, which part lies under a point, and its picture painted from the
// skin's scroll sections.
#pragma once

#include <windows.h>

#include <cstdint>

#include "render/bitmaps/sAlphaGraph.h"

namespace translit {

class TacScrollWnd;
class TsSkinManager;

// Parts of a bar, numbered as the scroll codes they send.
enum TacScrollPart : int {
  spNone = -1,
  spFirstArrow = SB_LINEUP,   // left or up
  spSecondArrow = SB_LINEDOWN,
  spTrackBefore = SB_PAGEUP,
  spTrackAfter = SB_PAGEDOWN,
  spThumb = SB_THUMBTRACK,
};

enum : std::uint16_t { sbHorizontal = 0, sbVertical = 1 };
// Flags value: the window style asks for the bar.
constexpr std::uint16_t kBarStyleFlag = 8;

struct TacScrollBar {
  std::uint16_t Flags = 0;
  std::uint8_t Visible = 0;
  SCROLLINFO Info{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
  // 0 or more: pixels; -n: n times the system size.
  std::int32_t ArrowLength = -1;
  std::int32_t Thickness = -1;
  std::uint16_t Kind = sbHorizontal;
  std::uint16_t MinThumb = 10;
  TacScrollWnd* Owner = nullptr;

  bool Vertical() const { return Kind == sbVertical; }
};

// GetSystemMetrics(SM_CXHSCROLL), read once.
int SystemArrowSize();

// Thickness across the bar, in pixels.
int BarThickness(const TacScrollBar& bar);
// Length of one arrow along the bar. Skinned: the arrow button's border mask
// may make it longer ("SCROLLBTNLEFT" / "SCROLLBTNTOP" with RESERVEDBOOLEAN).
int BarArrowLength(const TacScrollBar& bar, bool skinned, TsSkinManager* manager);

// The thumb of a bar of length pixels with arrows of arrow pixels: its size
// and its start, counted from the bar's start. Size 0: no thumb.
struct TacThumb {
  int Size = 0;
  int Start = 0;
};
TacThumb ThumbGeometry(const SCROLLINFO& info, int length, int arrow, int minThumb);
// The part at pos pixels from the bar's start (-1 outside the bar).
int PartAt(const SCROLLINFO& info, int length, int arrow, int minThumb, int pos);
// The position a thumb dragged to offset pixels into the track stands for.
int DragPosition(const SCROLLINFO& info, int offset, int trackLength, int thumbSize);

// How a bar is to look in one paint.
struct TacBarLook {
  bool Enabled = true;
  int PressedPart = spNone;  // drawn in state 2
  int HotPart = spNone;      // drawn in state 1
  int ThumbStart = -1;       // a dragged thumb's start from the bar's start; -1: from the scroll info
};

// Paints the bar into a picture of its size: tracks split at the thumb's
// centre, arrows, thumb with glyphs, toned down when disabled. parent is the
// background under the bar (the window's frame picture at the bar's place).
// False when the skin has no track section for the bar (nothing painted).
bool PaintBarPicture(const TacScrollBar& bar, TsSkinManager& manager, fw::TBitmap& picture, const TacBarLook& look,
                     const ParentCache& parent);

}  // namespace translit
