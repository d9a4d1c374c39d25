// The mouse and the window menu on a skinned frame.
#include "forms/acFrameMouse.h"

#include <windows.h>

#include "forms/acCaptionButtons.h"
#include "forms/acFrameHitTest.h"
#include "forms/acFrameIcon.h"
#include "forms/acFrameRubberBand.h"
#include "forms/acTitleButtonStates.h"
#include "forms/sSkinProvider.h"
#include "forms/sSystemMenu.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

// The system's request to open the window menu (a right click on the task
// bar button).
constexpr UINT kSystemMenuRequest = 0x0313;
// A press on the title starting the system's drag of the window.
constexpr WPARAM kDragMove = SC_MOVE | HTCAPTION;
constexpr DWORD kDoubleClickWait = 200;

POINT MessagePoint(const fw::TMessage& m) {
  return POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
}

bool SkinnedPopups(TsSkinProvider& p) {
  TsSkinManager* manager = p.SkinData().SkinManager();
  return manager && manager->SkinnedPopups();
}

// The top left corner of the system menu opened from the icon: below it,
// a click on it puts the menu under the title's border too.
POINT BelowIcon(TsSkinProvider& p, bool clicked) {
  const TacFrameMetrics m = p.Metrics();
  RECT r{};
  ::GetWindowRect(p.OwnerForm->Handle(), &r);
  int y = r.top + m.TopFrame + m.BorderWidth + TitleIconSize(p, m).cy;
  if (clicked) {
    y += m.TopFrame;
  } else if (m.Minimised) {
    y -= 16;
  }
  return POINT{r.left + m.FrameBorder, y};
}

// Maximise or restore may be asked of the form now.
bool MaximiseOrRestoreWorks(TsSkinProvider& p) { return EnabledMax(p) || EnabledRestore(p); }

void ShowSystemMenu(TsSkinProvider& p, POINT screen) { p.ShowSystemMenuAt(screen.x, screen.y); }

bool LeftDown(TsSkinProvider& p, fw::TMessage& m) {
  HWND window = p.OwnerForm->Handle();
  const int code = static_cast<int>(m.WParam);
  if (code == HTSYSMENU) {
    m.Result = 0;
    p.CallDefault(m);
    if (m.Result != 0) return true;
    SetHotButton(p, 0, true);
    if (!SkinnedPopups(p)) {
      // The system's menu would take the second click of a double click.
      MSG next;
      const DWORD until = ::GetTickCount() + kDoubleClickWait;
      while (::GetTickCount() < until) {
        if (::PeekMessageA(&next, window, WM_NCLBUTTONDBLCLK, WM_NCLBUTTONDBLCLK, PM_NOREMOVE)) return true;
        ::Sleep(10);
      }
    }
    ShowSystemMenu(p, BelowIcon(p, true));
    return true;
  }
  if (::IsIconic(window)) {
    ::SendMessageA(window, WM_SYSCOMMAND, kDragMove, m.LParam);
    m.Result = 0;
    return true;
  }
  if (::IsZoomed(window) && code == HTCAPTION) {
    // A maximised form stays where it is; a press only activates it.
    if (::GetActiveWindow() != window) ::SetForegroundWindow(window);
    m.Result = 0;
    return true;
  }
  BOOL fullDrag = FALSE;
  ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
  if (fullDrag && p.ResizeMode() == rmBorder && p.OwnerForm->Enabled() && StartRubberBand(p, code)) {
    m.Result = 0;
    return true;
  }
  return false;
}

// The system's handling of a double click is never asked: it would act on
// the window's own styles, not on what the skinned title shows.
void LeftDoubleClick(TsSkinProvider& p, fw::TMessage& m) {
  HWND window = p.OwnerForm->Handle();
  m.Result = 0;
  const bool minimised = ::IsIconic(window) != 0;
  if (m.WParam == HTCAPTION) {
    if ((VisibleClose(p) && MaximiseOrRestoreWorks(p)) || (!HasFrame(*p.OwnerForm) && minimised)) {
      ::SendMessageA(window, WM_SYSCOMMAND, minimised || ::IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE, 0);
      if (p.SystemMenu()) p.SystemMenu()->UpdateItems();
    } else if (minimised) {
      ::SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    }
  } else if (m.WParam == HTSYSMENU) {
    ::SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
}

bool SysCommand(TsSkinProvider& p, fw::TMessage& m) {
  HWND window = p.OwnerForm->Handle();
  switch (m.WParam & 0xFFF0) {
    case SC_KEYMENU:
      if (m.LParam != VK_SPACE) return false;
      ShowSystemMenu(p, BelowIcon(p, false));
      m.Result = 0;
      return true;
    case SC_MINIMIZE:
      p.CallDefault(m);
      // A minimised form is drawn anew, as its title bar.
      if (p.SkinData().CacheBmp) p.SkinData().CacheBmp->SetSize(0, 0);
      return true;
    case SC_MAXIMIZE:
      SetHotButton(p, 0, true);
      p.CallDefault(m);
      return true;
    case SC_RESTORE:
      SetHotButton(p, 0, true);
      p.CallDefault(m);
      p.RegionDirty = true;
      p.MarkFrameDirty();
      if (HasFrame(*p.OwnerForm)) {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
      } else {
        ::SetWindowRgn(window, nullptr, TRUE);
      }
      return true;
    default:
      if (m.WParam != kDragMove) return false;
      p.CallDefault(m);
      ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      return true;
  }
}

bool OnTitleOrIcon(const fw::TMessage& m) { return m.WParam == HTCAPTION || m.WParam == HTSYSMENU; }

}  // namespace

bool FrameMouseMessage(TsSkinProvider& p, fw::TMessage& m) {
  if (RubberBandMessage(p, m)) return true;
  if (!p.DrawNonClientArea()) return false;
  switch (m.Msg) {
    case WM_NCLBUTTONDOWN:
      return !IsTitleButtonCode(static_cast<int>(m.WParam)) && LeftDown(p, m);
    case WM_NCLBUTTONDBLCLK:
      if (IsTitleButtonCode(static_cast<int>(m.WParam))) return false;
      LeftDoubleClick(p, m);
      return true;
    case WM_NCRBUTTONDOWN:
      // The system would open its own window menu from here.
      if (!OnTitleOrIcon(m)) return false;
      m.Result = 0;
      return true;
    case WM_NCRBUTTONUP:
      if (!OnTitleOrIcon(m)) return false;
      ShowSystemMenu(p, MessagePoint(m));
      m.Result = 0;
      return true;
    case kSystemMenuRequest: {
      POINT cursor{};
      ::GetCursorPos(&cursor);
      ShowSystemMenu(p, cursor);
      m.Result = 0;
      return true;
    }
    case WM_SYSCOMMAND:
      return SysCommand(p, m);
    default:
      return false;
  }
}

}  // namespace translit
