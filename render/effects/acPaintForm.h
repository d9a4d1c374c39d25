// Pictures of forms and controls with all their child windows, the pictures
// the window animations start from. Skinned windows paint themselves into
// the picture through WM_PRINT with their painter set; the rest paint the
// framework's way.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/Controls.h"
#include "framework/Graphics.h"

namespace translit {

class TacAnimationProvider;

// Paints control and its visible child windows into bitmap with the
// control's top-left corner (its client area for a form) at (x, y).
void PaintFormTo(fw::TBitmap* bitmap, fw::TControl* control, int x, int y, TacAnimationProvider* provider = nullptr);

// The picture of a whole window as the animations show it, of the window's
// size (the frame cache's size with a provider, which paints the frame).
// Without a provider the frame is the platform's, printed by the window
// (WM_PRINT of the non-client area), and the client area is painted by
// PaintFormTo at its place; a window that is no framework control prints
// itself whole. With opaque, every pixel gets alpha 255.
std::unique_ptr<fw::TBitmap> WindowPicture(HWND window, TacAnimationProvider* provider, bool opaque);

}  // namespace translit
