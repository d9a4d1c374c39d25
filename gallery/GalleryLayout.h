// Where the gallery's controls go in its client area: three columns, the
// skin buttons and the push buttons at a fixed width on the left, the tree
// over the edit and the shell tree sharing what is left. Each control leaves
// room above it for the caption bound to it. The columns on the right take
// every change of the form's size; the left one keeps its size.
#pragma once

#include <windows.h>

#include <array>

namespace translit::gallery {

// The push buttons that show what a skinned button can look like.
enum TDemoButton { dbPlain, dbGlyph, dbGlyphTop, dbToggle, dbDisabled, kDemoButtons };

struct TGalleryPlaces {
  std::array<RECT, 3> SkinButtons;
  std::array<RECT, kDemoButtons> Buttons;
  RECT Tree, Memo, ShellTree;
};

// The room a bound caption takes above its control.
inline constexpr int kCaptionRoom = 18;

// The places for a client area of width x height (the status bar's height
// already taken away); an area smaller than GalleryMinimum() is laid out as
// that minimum.
TGalleryPlaces PlaceGallery(int width, int height);
SIZE GalleryMinimum();

}  // namespace translit::gallery
