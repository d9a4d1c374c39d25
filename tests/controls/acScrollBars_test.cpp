// The arithmetic of a skinned scroll bar: where the thumb is and how long,
// which part lies under a point, and which position a dragged thumb stands
// for, on bars of 100 pixels with arrows of 16 unless a case says otherwise.
#include "controls/acScrollBars.h"

#include <gtest/gtest.h>

#include <climits>

namespace translit {
namespace {

SCROLLINFO Info(int min, int max, UINT page, int pos) {
  return SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, min, max, page, pos, 0};
}

TEST(ScrollBarGeometry, ThumbSizeAndStart) {
  struct Case {
    const char* what;
    SCROLLINFO info;
    int length, arrow;
    int size, start;
  } cases[] = {
      {"a small page is held at the minimum size", Info(0, 99, 10, 0), 100, 16, 10, 16},
      {"the last position puts the thumb against the second arrow", Info(0, 99, 10, 90), 100, 16, 10, 74},
      {"half a page", Info(0, 99, 50, 25), 100, 16, 34, 33},
      {"a position past the end stays in the track", Info(0, 99, 50, 500), 100, 16, 34, 50},
      {"a position before nMin stays in the track", Info(10, 109, 10, 0), 100, 16, 10, 16},
      {"range 0 without a page: as long as an arrow", Info(0, 0, 0, 0), 100, 16, 16, 16},
      {"no page on a range: as long as an arrow", Info(0, 99, 0, 50), 100, 16, 16, 16 + 26},
      {"a range too large for the platform: no thumb", Info(-2000000000, 2000000000, 10, 0), 100, 16, 0, 16},
      {"nMax below nMin counts as too large", Info(10, 5, 10, 0), 100, 16, 0, 16},
      {"the largest range with a thumb, at its start", Info(INT_MIN, -2, 10, INT_MIN), 100, 16, 10, 16},
      {"the largest range with a thumb, past its end", Info(INT_MIN, -2, 10, INT_MAX), 100, 16, 10, 74},
      {"the largest range with a thumb, in its middle", Info(INT_MIN, -2, 10, -1073741829), 100, 16, 10, 45},
  };
  for (const auto& c : cases) {
    const TacThumb t = ThumbGeometry(c.info, c.length, c.arrow, 10);
    EXPECT_EQ(t.Size, c.size) << c.what;
    EXPECT_EQ(t.Start, c.start) << c.what;
  }
}

TEST(ScrollBarGeometry, PartsUnderPoints) {
  const SCROLLINFO top = Info(0, 99, 10, 0);      // thumb at 16..26
  const SCROLLINFO middle = Info(0, 99, 10, 45);  // thumb at 45..55
  struct Case {
    SCROLLINFO info;
    int length, arrow, pos, part;
  } cases[] = {
      {top, 100, 16, -1, spNone},
      {top, 100, 16, 0, spFirstArrow},
      {top, 100, 16, 15, spFirstArrow},
      {top, 100, 16, 16, spThumb},
      {top, 100, 16, 25, spThumb},
      {top, 100, 16, 26, spTrackAfter},
      {top, 100, 16, 83, spTrackAfter},
      {top, 100, 16, 84, spSecondArrow},
      {top, 100, 16, 99, spSecondArrow},
      {top, 100, 16, 100, spNone},
      {middle, 100, 16, 30, spTrackBefore},
      {middle, 100, 16, 50, spThumb},
      {middle, 100, 16, 60, spTrackAfter},
      // Shorter than two arrows: two halves, nothing between.
      {top, 20, 16, 0, spFirstArrow},
      {top, 20, 16, 9, spFirstArrow},
      {top, 20, 16, 10, spSecondArrow},
      {top, 20, 16, 19, spSecondArrow},
      // A thumb that fills the track leaves no track and no thumb to hit.
      {Info(0, 99, 100, 0), 100, 16, 50, spNone},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PartAt(c.info, c.length, c.arrow, 10, c.pos), c.part)
        << "pos " << c.pos << " on a bar of " << c.length << ", thumb at " << c.info.nPos;
}

TEST(ScrollBarGeometry, PositionsOfADraggedThumb) {
  struct Case {
    const char* what;
    SCROLLINFO info;
    int offset, track, thumb, pos;
  } cases[] = {
      {"track start", Info(0, 99, 10, 0), 0, 68, 10, 0},
      {"track end: the last page", Info(0, 99, 10, 0), 58, 68, 10, 90},
      {"middle", Info(0, 99, 10, 0), 29, 68, 10, 45},
      {"past the end is held", Info(0, 99, 10, 0), 80, 68, 10, 90},
      {"counted from nMin", Info(10, 109, 10, 0), 58, 68, 10, 100},
      {"range 0", Info(0, 0, 0, 0), 20, 68, 16, 0},
      // Ranges wider than 32 bits can count.
      {"a range above INT_MAX, middle", Info(-2000000000, 2000000000, 10, 0), 29, 68, 10, -4},
      {"a range above INT_MAX, track end", Info(-2000000000, 2000000000, 10, 0), 58, 68, 10, 1999999991},
      {"a range above INT_MAX, track start", Info(-2000000000, 2000000000, 10, 0), 0, 68, 10, -2000000000},
      {"the whole 32-bit range, track end", Info(INT_MIN, INT_MAX, 1, 0), 58, 68, 10, INT_MAX},
  };
  for (const auto& c : cases) EXPECT_EQ(DragPosition(c.info, c.offset, c.track, c.thumb), c.pos) << c.what;
}

}  // namespace
}  // namespace translit
