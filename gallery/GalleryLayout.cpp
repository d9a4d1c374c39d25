// The gallery's layout.
#include "gallery/GalleryLayout.h"

#include <algorithm>

namespace translit::gallery {

namespace {

constexpr int kMargin = 8;
constexpr int kGap = 16;  // between columns, and between a control and the next caption
constexpr int kLeftWidth = 170;
constexpr int kRowHeight = 26;
constexpr int kRowStep = kRowHeight + 4;
constexpr int kTallRow = 52;  // the button with its glyph above its caption
constexpr int kMinColumn = 150;
constexpr int kMinTree = 60;

constexpr int ButtonHeight(int button) { return button == dbGlyphTop ? kTallRow : kRowHeight; }

// The bottom of the left column's last button.
constexpr int LeftColumnBottom() {
  int y = kMargin + kCaptionRoom + 3 * kRowStep - 4 + kGap + kCaptionRoom;
  for (int b = 0; b < kDemoButtons; ++b) y += ButtonHeight(b) + 4;
  return y - 4;
}

constexpr int RightColumnsLeft() { return kMargin + kLeftWidth + kGap; }

}  // namespace

SIZE GalleryMinimum() {
  const int treesHeight = kMargin + kCaptionRoom + kMinTree + kGap + kCaptionRoom + kMinTree + kMargin;
  return SIZE{RightColumnsLeft() + 2 * kMinColumn + kGap + kMargin,
              std::max(LeftColumnBottom() + kMargin, treesHeight)};
}

TGalleryPlaces PlaceGallery(int width, int height) {
  const SIZE least = GalleryMinimum();
  width = std::max<int>(width, least.cx);
  height = std::max<int>(height, least.cy);
  TGalleryPlaces p{};

  int y = kMargin + kCaptionRoom;
  for (RECT& r : p.SkinButtons) {
    r = RECT{kMargin, y, kMargin + kLeftWidth, y + kRowHeight};
    y += kRowStep;
  }
  y += kGap - 4 + kCaptionRoom;
  for (int b = 0; b < kDemoButtons; ++b) {
    p.Buttons[b] = RECT{kMargin, y, kMargin + kLeftWidth, y + ButtonHeight(b)};
    y += ButtonHeight(b) + 4;
  }

  const int left = RightColumnsLeft();
  const int column = (width - left - kMargin - kGap) / 2;
  const int top = kMargin + kCaptionRoom, bottom = height - kMargin;
  // The edit takes the lower part of the middle column, its caption above it.
  const int treeBottom = top + (bottom - top - kGap - kCaptionRoom) / 2;
  p.Tree = RECT{left, top, left + column, treeBottom};
  p.Memo = RECT{left, treeBottom + kGap + kCaptionRoom, left + column, bottom};
  const int right = left + column + kGap;
  p.ShellTree = RECT{right, top, width - kMargin, bottom};
  return p;
}

}  // namespace translit::gallery
