// Frame geometry of a skinned form.
#include "forms/acFrameGeometry.h"

#include <algorithm>

#include "controls/protocol/sVclUtils.h"
#include "framework/SystemMetrics.h"

namespace translit {

namespace {

bool IsToolBorder(fw::TCustomForm& form) {
  return form.BorderStyle() == fw::bsToolWindow || form.BorderStyle() == fw::bsSizeToolWin;
}

DWORD StyleOf(fw::TCustomForm& form) { return static_cast<DWORD>(::GetWindowLongA(form.Handle(), GWL_STYLE)); }

}  // namespace

int FrameBorder(HWND window) {
  const DWORD style = static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE));
  if (style & WS_THICKFRAME) return ::GetSystemMetrics(SM_CXFRAME);
  if (style & WS_BORDER) return ::GetSystemMetrics(SM_CXDLGFRAME);
  return 0;
}

int SystemCaption(fw::TCustomForm& form) {
  return fw::SystemMetric(IsToolBorder(form) && !::IsIconic(form.Handle()) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

bool HasFrame(fw::TCustomForm& form) {
  return form.BorderStyle() != fw::bsNone || (StyleOf(form) & WS_CHILD) || form.FormStyle() == fw::fsMDIChild;
}

int CaptionHeight(fw::TCustomForm& form) {
  const bool minimised = ::IsIconic(form.Handle()) != 0;
  if (!((HasFrame(form) && (StyleOf(form) & WS_CAPTION) == WS_CAPTION) || minimised)) return 0;
  return fw::SystemMetric(IsToolBorder(form) && !minimised ? SM_CYSMCAPTION : SM_CYCAPTION);
}

int MenuBarHeight(fw::TCustomForm& form) {
  if (form.FormStyle() == fw::fsMDIChild || form.BorderStyle() == fw::bsDialog) return 0;
  HMENU menu = ::GetMenu(form.Handle());
  if (!menu || ::GetMenuItemCount(menu) <= 0) return 0;
  return fw::SystemMetric(SM_CYMENU) - 1;
}

int CountMenuLines(fw::TCustomForm& form, int topFrame, int borderWidth) {
  HWND window = form.Handle();
  HMENU menu = ::GetMenu(window);
  if (MenuBarHeight(form) == 0 || ::IsIconic(window)) return 0;
  RECT first{};
  if (!::GetMenuItemRect(window, menu, 0, &first)) return 1;
  POINT clientTop{0, 0};
  ::ClientToScreen(window, &clientTop);
  const int top = clientTop.y - topFrame - 2 * borderWidth;
  const int row = std::max(1, fw::SystemMetric(SM_CYMENU) - 1);
  return first.bottom < top ? 1 + (top - first.bottom) / row : 1;
}

TacFrameMetrics MeasureFrame(fw::TCustomForm& form, int& menuLineCount) {
  HWND window = form.Handle();
  TacFrameMetrics m;
  RECT r{};
  ::GetWindowRect(window, &r);
  m.Width = r.right - r.left;
  m.Height = r.bottom - r.top;
  m.Minimised = ::IsIconic(window) != 0;
  m.Maximised = ::IsZoomed(window) != 0;
  m.MinimisedNonMain = m.Minimised && !(fw::Application && fw::Application->MainForm() == &form);
  m.FrameBorder = FrameBorder(window);
  m.TopFrame = m.FrameBorder;
  m.Caption = CaptionHeight(form);
  m.MenuBar = MenuBarHeight(form);
  m.BorderWidth = form.BorderWidth();
  if (menuLineCount < 0) menuLineCount = CountMenuLines(form, m.TopFrame, m.BorderWidth);
  m.MenuLines = m.MenuBar > 0 ? menuLineCount : 0;
  m.FrameWidth = m.Width;
  m.CacheHeight = m.MinimisedNonMain ? m.TopFrame + m.Caption + 2 : m.Height;
  if (m.Minimised) {
    m.Client = RECT{0, m.Height, m.Width, m.Height};
  } else {
    // The real place of the client area: the system's frame may be wider on
    // one side than the style's border metric says.
    m.Client = ClientRectInWindow(window);
  }
  return m;
}

int IconSizeForCaption(int captionHeight) {
  if (captionHeight >= -100 && captionHeight <= 8) return 1;
  if (captionHeight >= 9 && captionHeight <= 16) return 8;
  return 16;
}

}  // namespace translit
