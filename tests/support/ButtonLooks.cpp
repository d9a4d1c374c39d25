// The platform's push button looks, drawn for comparison.
#include "tests/support/ButtonLooks.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "framework/Handles.h"
#include "tests/support/ScreenPixels.h"

namespace testing_gui {

namespace {

// A picture drawn into a 32-bit bitmap by draw(dc, rect) over back.
Picture Drawn(int w, int h, COLORREF back, const std::function<void(HDC, const RECT&)>& draw) {
  Dib32 dib(w, h);
  fw::UniqueDC dc(::CreateCompatibleDC(nullptr));
  if (!dib.Ok() || !dc) return Picture{};
  {
    fw::SelectGuard into(dc.Get(), dib.Handle());
    const RECT r{0, 0, w, h};
    fw::UniqueBrush brush(::CreateSolidBrush(back));
    ::FillRect(dc.Get(), &r, brush.Get());
    draw(dc.Get(), r);
  }
  return Picture{w, h, dib.Rgb()};
}

}  // namespace

Picture ThemedButton(HWND window, int w, int h, int state, COLORREF back) {
  const std::unique_ptr<void, decltype(&::CloseThemeData)> theme(::OpenThemeData(window, L"BUTTON"), &::CloseThemeData);
  if (!theme) return Picture{};
  return Drawn(w, h, back, [&](HDC dc, const RECT& r) {
    ::DrawThemeBackground(theme.get(), dc, BP_PUSHBUTTON, state, &r, nullptr);
  });
}

Picture ClassicButton(int w, int h, COLORREF back) {
  return Drawn(w, h, back, [](HDC dc, const RECT& r) {
    RECT frame = r;
    ::DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  });
}

Picture OnScreen(HWND window, int w, int h) {
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  return Picture{w, h, ScreenPixels(RECT{origin.x, origin.y, origin.x + w, origin.y + h})};
}

int Differing(const Picture& a, const Picture& b, int ring) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height + b.width * b.height;
  int n = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) {
      const int edge = std::min(std::min(x, a.width - 1 - x), std::min(y, a.height - 1 - y));
      if (ring > 0 && edge >= ring) continue;
      n += a.At(x, y) != b.At(x, y);
    }
  return n;
}

}  // namespace testing_gui
