// Hit testing of a skinned frame.
#include "forms/acFrameHitTest.h"

#include "forms/acCaptionButtons.h"
#include "forms/acFrameGrip.h"
#include "forms/acFrameIcon.h"
#include "forms/acTitleButtonStates.h"
#include "forms/sSkinProvider.h"

namespace translit {

namespace {

// The sizing zone at a point, 0 when none. Each zone takes the frame's
// last pixels on the far sides as well as its first on the near sides, so
// that no pixel of the frame is left to the default handling, whose corner
// zones are wider than the frame.
int SizingZone(const TacFrameMetrics& m, POINT p) {
  const int b = m.FrameBorder;
  int code = 0;
  if (p.y >= m.Height - b) {
    code = HTBOTTOM;
  } else if (p.y < m.TopFrame) {
    code = HTTOP;
  }
  if (p.x < b) {
    code = code == HTTOP ? HTTOPLEFT : code == HTBOTTOM ? HTBOTTOMLEFT : HTLEFT;
  } else if (p.x >= m.Width - b) {
    code = code == HTTOP ? HTTOPRIGHT : code == HTBOTTOM ? HTBOTTOMRIGHT : HTRIGHT;
  }
  return code;
}

}  // namespace

bool IsTitleButtonCode(int code) {
  return code == HTMINBUTTON || code == HTMAXBUTTON || code == HTCLOSE || code == HTHELP || code >= kUserButtonHitCode;
}

bool HitCodeLeftToDefault(int code) {
  return code == HTNOWHERE || code == HTCLIENT || code == HTCAPTION || code == HTMENU;
}

int FrameHitCode(TsSkinProvider& p, const TacFrameMetrics& m, POINT pt) {
  if (const int button = CaptionButtonAt(p, pt)) return button;
  fw::TCustomForm& form = *p.OwnerForm;
  const DWORD style = static_cast<DWORD>(::GetWindowLongA(form.Handle(), GWL_STYLE));
  if (!m.Maximised && !m.Minimised && (style & WS_THICKFRAME))
    if (const int zone = SizingZone(m, pt)) return zone;
  // The title band, both ends included; its last row may already be the
  // menu bar's.
  const int band = m.TopFrame + SystemCaption(form);
  if (pt.y >= 0 && pt.y <= band) {
    if (pt.y == band && pt.y <= m.TopFrame + m.Caption + m.MenuBar) return HTMENU;
    if (IconVisible(p)) {
      const RECT icon = TitleIconRect(p, m);
      if (::PtInRect(&icon, pt)) return HTSYSMENU;
    }
    return HTCAPTION;
  }
  if (pt.y > band + m.MenuLines * m.MenuBar) {
    const RECT grip = FrameGripRect(p, m);
    if (!::IsRectEmpty(&grip) && pt.x >= grip.left && pt.y >= grip.top) return HTBOTTOMRIGHT;
    return HTCLIENT;
  }
  return HTMENU;
}

void FrameHitTest(TsSkinProvider& p, fw::TMessage& m) {
  const TacFrameMetrics metrics = p.Metrics();
  if (metrics.Caption == 0 || !p.DrawNonClientArea()) {
    p.CallDefault(m);
    return;
  }
  RECT r{};
  ::GetWindowRect(p.OwnerForm->Handle(), &r);
  const POINT pt{static_cast<short>(LOWORD(m.LParam)) - r.left, static_cast<short>(HIWORD(m.LParam)) - r.top};
  const int code = FrameHitCode(p, metrics, pt);
  if (HitCodeLeftToDefault(code)) {
    SetHotButton(p, 0, true);
    p.CallDefault(m);
    // The system's caption is a row shorter than the title the frame draws
    // over it, and finds nothing on the title's last row.
    if (m.Result == HTNOWHERE) m.Result = code;
    return;
  }
  // A title button becomes the hot one, and so does the grip (as the
  // sizing corner it is); a sizing zone or the icon releases the hot button.
  const bool grip = code == HTBOTTOMRIGHT && SizingZone(metrics, pt) == 0;
  SetHotButton(p, IsTitleButtonCode(code) || grip ? code : 0, true);
  m.Result = code;
}

}  // namespace translit
