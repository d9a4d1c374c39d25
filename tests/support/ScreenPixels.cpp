// 32-bit pictures for GUI tests.
#include "tests/support/ScreenPixels.h"

namespace testing_gui {

Dib32::Dib32(int w, int h) : FWidth(w), FHeight(h) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  FBitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &FBits, nullptr, 0));
  if (!FBitmap) FBits = nullptr;
}

std::vector<std::uint32_t> Dib32::Rgb() const {
  if (!FBits) return {};
  ::GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(FBits);
  std::vector<std::uint32_t> pixels(p, p + static_cast<std::size_t>(FWidth) * FHeight);
  for (std::uint32_t& v : pixels) v &= 0x00FFFFFFu;
  return pixels;
}

std::vector<std::uint32_t> ScreenPixels(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return {};
  Dib32 dib(w, h);
  fw::UniqueDC memory(::CreateCompatibleDC(nullptr));
  if (!dib.Ok() || !memory) return {};
  HDC screen = ::GetDC(nullptr);
  {
    fw::SelectGuard into(memory.Get(), dib.Handle());
    ::BitBlt(memory.Get(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  }
  ::ReleaseDC(nullptr, screen);
  return dib.Rgb();
}

}  // namespace testing_gui
