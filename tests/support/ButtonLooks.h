// The platform's push button looks, drawn the platform's way for tests to
// compare a button on screen with: the themed one in a state, and the
// classic frame.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace testing_gui {

// A w x h picture as 0xRRGGBB pixels, row by row.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// The theme's push button part (1 normal, 2 hot, 3 pressed, 4 disabled,
// 5 defaulted) for window's theme over a background of colour back (RGB as
// the platform writes it); empty when no theme is in effect for the window.
Picture ThemedButton(HWND window, int w, int h, int state, COLORREF back);
// The classic push button frame, not pressed, without the default look.
Picture ClassicButton(int w, int h, COLORREF back);
// What the screen shows of a w x h rectangle of a window's client area.
Picture OnScreen(HWND window, int w, int h);
// The number of pixels in which two pictures of one size differ; with ring
// above 0 only those less than ring pixels from an edge count (a button's
// frame, without what its focus rectangle changes inside).
int Differing(const Picture& a, const Picture& b, int ring = 0);

}  // namespace testing_gui
