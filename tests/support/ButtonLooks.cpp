// The platform's push button looks, drawn for comparison.
#include "tests/support/ButtonLooks.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "framework/Handles.h"

namespace testing_gui {

namespace {

// A picture drawn into a 32-bit bitmap by draw(dc, rect) over back.
Picture Drawn(int w, int h, COLORREF back, const std::function<void(HDC, const RECT&)>& draw) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  fw::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  fw::UniqueDC dc(::CreateCompatibleDC(nullptr));
  if (!bitmap || !bits || !dc) return Picture{};
  {
    fw::SelectGuard into(dc.Get(), bitmap.Get());
    const RECT r{0, 0, w, h};
    fw::UniqueBrush brush(::CreateSolidBrush(back));
    ::FillRect(dc.Get(), &r, brush.Get());
    draw(dc.Get(), r);
    ::GdiFlush();
  }
  const auto* px = static_cast<const std::uint32_t*>(bits);
  Picture p{w, h, std::vector<std::uint32_t>(px, px + static_cast<std::size_t>(w) * h)};
  for (std::uint32_t& v : p.pixels) v &= 0xFFFFFFu;
  return p;
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
  Picture p{w, h, {}};
  p.pixels.reserve(static_cast<std::size_t>(w) * h);
  HDC screen = ::GetDC(nullptr);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = ::GetPixel(screen, origin.x + x, origin.y + y);
      p.pixels.push_back(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
    }
  ::ReleaseDC(nullptr, screen);
  return p;
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
