// The hint window.
#include "framework/HintWindow.h"

#include "framework/Application.h"
#include "framework/core/SysUtils.h"

namespace fw {

namespace {
constexpr const char* kHintClass = "THintWindow";
// Room between the border and the text.
constexpr int kPadding = 2;
}  // namespace

THintWindow::THintWindow() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!::GetClassInfoA(instance, kHintClass, &wc)) {
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kHintClass;
    ::RegisterClassA(&wc);
  }
}

HFONT THintWindow::Font() const {
  if (!FFont) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
      FFont.Reset(::CreateFontIndirectA(&metrics.lfStatusFont));
  }
  return FFont ? FFont.Get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

SIZE THintWindow::CalcHintSize(int maxWidth, const std::string& text) const {
  WindowDC screen(nullptr);
  SelectGuard font(screen.Get(), Font());
  RECT r{0, 0, maxWidth, 0};
  ::DrawTextA(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  // The border and the padding on both sides.
  return SIZE{r.right + 2 * (kPadding + 1) + 4, r.bottom + 2 * (kPadding + 1)};
}

void THintWindow::ActivateHint(const RECT& rect, const std::string& text, HWND owner, bool blend) {
  FText = text;
  if (!FWindow) {
    FWindow.Reset(::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kHintClass, "",
                                    WS_POPUP | WS_BORDER, 0, 0, 0, 0, owner, nullptr, ::GetModuleHandleA(nullptr),
                                    nullptr));
    if (!FWindow) throw EOutOfResources("Out of system resources");
    ::SetWindowLongPtrA(FWindow.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ::SetWindowTextA(FWindow.Get(), text.c_str());
  ::SetWindowPos(FWindow.Get(), HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOACTIVATE);
  if (blend && ::AnimateWindow(FWindow.Get(), 200, AW_BLEND)) return;
  ::ShowWindow(FWindow.Get(), SW_SHOWNOACTIVATE);
  ::InvalidateRect(FWindow.Get(), nullptr, TRUE);
}

void THintWindow::Hide() {
  if (FWindow) ::ShowWindow(FWindow.Get(), SW_HIDE);
}

void THintWindow::Paint(HDC dc) const {
  RECT r{};
  ::GetClientRect(FWindow.Get(), &r);
  const UniqueBrush back(::CreateSolidBrush(::GetSysColor(COLOR_INFOBK)));
  ::FillRect(dc, &r, back.Get());
  SelectGuard font(dc, Font());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
  ::InflateRect(&r, -kPadding, -kPadding);
  ::DrawTextA(dc, FText.c_str(), static_cast<int>(FText.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT CALLBACK THintWindow::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<THintWindow*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
  try {
    switch (msg) {
      case WM_NCHITTEST:
        // The mouse goes through to the title under the hint.
        return HTTRANSPARENT;
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
      case WM_ERASEBKGND:
        return 1;
      case WM_PRINTCLIENT:
        if (self) self->Paint(reinterpret_cast<HDC>(wParam));
        return 0;
      case WM_PAINT: {
        PaintScope paint(wnd);
        if (self) self->Paint(paint.DC());
        return 0;
      }
      default:
        break;
    }
  } catch (...) {
    HandleCurrentException();
    return 0;
  }
  return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

}  // namespace fw
