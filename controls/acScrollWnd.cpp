// Skinned non-client scroll bars: frame space, hit tests, painting and the
// mouse.
#include "controls/acScrollWnd.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "controls/skindata/sCommonData.h"
#include "framework/Handles.h"
#include "render/paint/sGraphUtils.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

using GetScrollBarInfoProc = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);

GetScrollBarInfoProc ScrollBarInfoFunction() {
  static GetScrollBarInfoProc proc = reinterpret_cast<GetScrollBarInfoProc>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetScrollBarInfo")));
  return proc;
}

constexpr UINT kFrameChanged = SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

UINT ScrollRefreshMessage() {
  static const UINT message = ::RegisterWindowMessageA("TranslitScrollRefresh");
  return message;
}

void TacScrollWnd::PostRefresh() {
  if (FRefreshPosted || !CtrlHandle) return;
  FRefreshPosted = ::PostMessageA(CtrlHandle, ScrollRefreshMessage(), 0, 0) != 0;
}

TacScrollTracking& ScrollTracking() {
  static TacScrollTracking tracking;
  return tracking;
}

// Each destructor of the family detaches while its own overrides (colours,
// bars) can still run.
TacScrollWnd::~TacScrollWnd() { DetachQuietly(false); }

void TacScrollWnd::ReadInfo(TacScrollBar& bar) const {
  bar.Info = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
  if (!::GetScrollInfo(CtrlHandle, bar.Vertical() ? SB_VERT : SB_HORZ, &bar.Info)) {
    bar.Info = SCROLLINFO{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
  }
}

void TacScrollWnd::AttachScrolls() {
  HorzBar = std::make_unique<TacScrollBar>();
  VertBar = std::make_unique<TacScrollBar>();
  HorzBar->Owner = VertBar->Owner = this;
  HorzBar->Kind = sbHorizontal;
  VertBar->Kind = sbVertical;
  ReadInfo(*HorzBar);
  ReadInfo(*VertBar);
  LeftScrollBar = (::GetWindowLongA(CtrlHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const LONG style = ::GetWindowLongA(CtrlHandle, GWL_STYLE);
  HorzBar->Flags = (style & WS_HSCROLL) ? kBarStyleFlag : 0;
  VertBar->Flags = (style & WS_VSCROLL) ? kBarStyleFlag : 0;
  InStyleTrick = false;
  HorzBar->MinThumb = VertBar->MinThumb = 10;
}

void TacScrollWnd::ReleaseTracking() {
  TacScrollTracking& t = ScrollTracking();
  if (t.HotWindow != CtrlHandle) return;
  if (::IsWindow(CtrlHandle)) {
    ::KillTimer(CtrlHandle, kHoverTimer);
    ::KillTimer(CtrlHandle, kFirstDelayTimer);
    ::KillTimer(CtrlHandle, kRepeatTimer);
  }
  const bool pressed = t.PressPart != spNone;
  t = TacScrollTracking{};
  ThumbTracking = false;
  if (pressed && ::GetCapture() == CtrlHandle) ::ReleaseCapture();
}

void TacScrollWnd::DetachScrolls(bool repaint) {
  ReleaseTracking();
  if (HorzBar) HorzBar->Owner = nullptr;
  if (VertBar) VertBar->Owner = nullptr;
  HorzBar.reset();
  VertBar.reset();
  if (::IsWindow(CtrlHandle) && ::IsWindowVisible(CtrlHandle)) {
    if (repaint)
      ::SetWindowPos(CtrlHandle, nullptr, 0, 0, 0, 0, kFrameChanged);
    else
      ::SendMessageA(CtrlHandle, WM_NCPAINT, 1, 0);
  }
}

TacScrollBar* ScrollBarOf(HWND handle, std::uint16_t kind) {
  auto* wnd = dynamic_cast<TacScrollWnd*>(TacMainWnd::FromHandle(handle));
  if (!wnd) return nullptr;
  return kind == sbVertical ? wnd->VertBar.get() : wnd->HorzBar.get();
}

// ---- Geometry ----

RECT TacScrollWnd::BarRect(const TacScrollBar& bar) const {
  RECT w;
  ::GetWindowRect(CtrlHandle, &w);
  const int width = Width(w), height = Height(w);
  const int hThick = HorzBar && HorzBar->Visible ? BarThickness(*HorzBar) : 0;
  const int vThick = VertBar && VertBar->Visible ? BarThickness(*VertBar) : 0;
  RECT r{};
  if (!bar.Vertical()) {
    r.left = LeftEdge + (LeftScrollBar ? vThick : 0);
    r.right = width - RightEdge - (LeftScrollBar ? 0 : vThick);
    r.bottom = height - BottomEdge;
    r.top = r.bottom - BarThickness(bar) * bar.Visible;
  } else {
    r.top = TopEdge;
    r.bottom = height - BottomEdge - hThick;
    if (LeftScrollBar) {
      r.left = LeftEdge;
      r.right = r.left + BarThickness(bar) * bar.Visible;
    } else {
      r.right = width - RightEdge;
      r.left = r.right - BarThickness(bar) * bar.Visible;
    }
  }
  return r;
}

RECT TacScrollWnd::CornerRect() const {
  if (!HorzBar || !VertBar) return RECT{};
  const RECT h = BarRect(*HorzBar), v = BarRect(*VertBar);
  return RECT{v.left, h.top, v.right, h.bottom};
}

RECT TacScrollWnd::ScreenRect(const RECT& r) const {
  RECT w;
  ::GetWindowRect(CtrlHandle, &w);
  return RECT{r.left + w.left, r.top + w.top, r.right + w.left, r.bottom + w.top};
}

bool TacScrollWnd::GripBelongs() const {
  if (!HorzBar || !VertBar || !HorzBar->Visible || !VertBar->Visible) return false;
  HWND parent = ::GetParent(CtrlHandle);
  if (!parent || (::GetWindowLongA(parent, GWL_STYLE) & WS_CHILD)) return false;
  RECT corner = ScreenRect(CornerRect());
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&corner), 2);
  RECT client;
  ::GetClientRect(parent, &client);
  if (corner.bottom + BottomEdge != client.bottom) return false;
  return LeftScrollBar ? corner.left - LeftEdge == client.left : corner.right + RightEdge == client.right;
}

bool TacScrollWnd::BarEnabled(const TacScrollBar& bar) const {
  if (GetScrollBarInfoProc info = ScrollBarInfoFunction()) {
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    if (info(CtrlHandle, bar.Vertical() ? OBJID_VSCROLL : OBJID_HSCROLL, &sbi)) {
      // Windows marks the bar itself; Wine marks only its two arrows.
      const bool bothArrows = (sbi.rgstate[1] & sbi.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) != 0;
      return (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0 && !bothArrows;
    }
  }
  return (::GetWindowLongA(CtrlHandle, GWL_STYLE) & (bar.Vertical() ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

TacScrollBar* TacScrollWnd::BarOfHit(WPARAM hit) const {
  if (hit == HTHSCROLL) return HorzBar.get();
  if (hit == HTVSCROLL) return VertBar.get();
  return nullptr;
}

// ---- Painting ----

ParentCache TacScrollWnd::BarBackground(const RECT& bar) const {
  fw::TBitmap* cache = SkinData ? SkinData->CacheBmp.get() : nullptr;
  RECT w;
  ::GetWindowRect(CtrlHandle, &w);
  if (cache && cache->Width() == Width(w) && cache->Height() == Height(w) && cache->Width() > 0)
    return MakeParentCache(cache, bar.left, bar.top);
  ParentCache colour = EmptyParentCache();
  colour.FillColor = static_cast<fw::TColor>(SkinData ? SkinData->BackgroundColor(0, CtrlHandle) : 0xFFFFFF);
  return colour;
}

void TacScrollWnd::PaintBar(HDC dc, const TacScrollBar& bar, int pressedPart, int thumbStart) {
  TsSkinManager* manager = Manager();
  if (!manager || !bar.Visible) return;
  if (ThumbTracking && thumbStart < 0) return;
  if (bar.Vertical() && Busy && thumbStart < 0) return;
  const RECT r = BarRect(bar);
  const int length = bar.Vertical() ? Height(r) : Width(r);
  if (length <= 1 || Width(r) <= 0 || Height(r) <= 0) return;
  ReadInfo(const_cast<TacScrollBar&>(bar));

  const TacScrollTracking& t = ScrollTracking();
  const bool hot = t.HotWindow == CtrlHandle;
  TacBarLook look;
  look.Enabled = BarEnabled(bar) && (!Control() || Control()->Enabled());
  look.PressedPart = hot ? pressedPart : spNone;
  look.HotPart = hot && look.Enabled && t.HoverBar == BarIndex(&bar) ? t.HoverPart : spNone;
  look.ThumbStart = thumbStart;

  auto picture = NewBitmap32(Width(r), Height(r));
  if (!PaintBarPicture(bar, *manager, *picture, look, BarBackground(r))) return;
  std::unique_ptr<fw::WindowDC> own;
  if (!dc) {
    own = std::make_unique<fw::WindowDC>(CtrlHandle, true);
    dc = own->Get();
  }
  ::BitBlt(dc, r.left, r.top, Width(r), Height(r), picture->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TacScrollWnd::PaintCorner(HDC dc) {
  TsSkinManager* manager = Manager();
  const RECT r = CornerRect();
  if (!manager || Width(r) <= 0 || Height(r) <= 0) return;
  auto picture = NewBitmap32(Width(r), Height(r));
  // The corner shows what the parent shows under it.
  ParentCache parent = SkinData->ParentCacheOf(CtrlHandle);
  parent.X += r.left;
  parent.Y += r.top;
  if (parent.Ready && parent.Bitmap)
    ::BitBlt(picture->Canvas().Handle(), 0, 0, Width(r), Height(r), parent.Bitmap->Canvas().Handle(), parent.X,
             parent.Y, SRCCOPY);
  else
    FillBitmapRect(picture.get(), RECT{0, 0, Width(r), Height(r)}, parent.FillColor);
  if (GripBelongs()) {
    const int grip = manager->MaskIndex(manager->ConstIndexes.GlobalInfoIndex, "GLOBALINFO", "GRIPIMAGE");
    if (manager->IsValidMask(grip)) {
      const TsMaskData& m = manager->Masks[static_cast<std::size_t>(grip)];
      const POINT at{Width(r) - MaskStateWidth(m), Height(r) - MaskStateHeight(m)};
      DrawMaskImage(picture.get(), at, 0, MakeParentCache(picture.get(), 0, 0), m, mlNormal);
    }
  }
  ::BitBlt(dc, r.left, r.top, Width(r), Height(r), picture->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TacScrollWnd::PaintScrollBars(HDC dc, bool printing) {
  if (!HorzBar || !VertBar || !SkinData || SkinData->Updating || (!Visible() && !printing)) return;
  if (SkinData->BGChanged) SendSkinCommand(CtrlHandle, SKINCMD_PREPARE_CACHE);
  if (!HorzBar) return;  // the window let go of us meanwhile
  std::unique_ptr<fw::WindowDC> own;
  if (!dc) {
    own = std::make_unique<fw::WindowDC>(CtrlHandle, true);
    dc = own->Get();
  }
  const TacScrollTracking& t = ScrollTracking();
  const bool pressedHere = t.HotWindow == CtrlHandle && t.PressPart != spNone;
  if (HorzBar->Visible) PaintBar(dc, *HorzBar, pressedHere && t.PressBar == 0 ? t.PressPartNow : spNone);
  if (VertBar->Visible) PaintBar(dc, *VertBar, pressedHere && t.PressBar == 1 ? t.PressPartNow : spNone);
  if (HorzBar->Visible && VertBar->Visible) PaintCorner(dc);
}

void TacScrollWnd::RefreshScrolls(bool repaint) {
  if (!HorzBar || !VertBar || !Visible() || (SkinData && SkinData->Updating)) return;
  ReadInfo(*HorzBar);
  ReadInfo(*VertBar);
  if (repaint && !SkinChangeFreeze) PaintScrollBars(nullptr);
}

// ---- Scrolling ----

void TacScrollWnd::SendScroll(UINT scrollMsg, int code, int position) {
  const LPARAM lock = MAKELPARAM(code, scrollMsg);
  LPARAM lParam = position;
  if (SendSkinCommand(CtrlHandle, SKINCMD_LOCK_REDRAW, lock) != 1) {
    const int which = scrollMsg == WM_VSCROLL ? SB_VERT : SB_HORZ;
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(CtrlHandle, which, &si);
    if (code == SB_THUMBTRACK) {
      si.fMask = SIF_POS;
      si.nPos = position;
      ::SetScrollInfo(CtrlHandle, which, &si, FALSE);
    }
    lParam = 0;
  }
  ::SendMessageA(CtrlHandle, scrollMsg, MAKEWPARAM(code, std::min(position, 0xFFFF)), lParam);
  SendSkinCommand(CtrlHandle, SKINCMD_UNLOCK_REDRAW, lock);
}

// ---- Messages ----

void TacScrollWnd::OnNcCalcSize(fw::TMessage& m) {
  RECT* client =
      m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0] : reinterpret_cast<RECT*>(m.LParam);
  const RECT proposed = *client;
  const LONG style = ::GetWindowLongA(CtrlHandle, GWL_STYLE);
  if (style & (WS_HSCROLL | WS_VSCROLL)) {
    // The platform computes the frame without its bars; the skinned bars
    // take their space below.
    InStyleTrick = true;
    ::SetWindowLongA(CtrlHandle, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
    CallPrev(m);
    ::SetWindowLongA(CtrlHandle, GWL_STYLE, style);
    InStyleTrick = false;
  } else {
    CallPrev(m);
  }
  if (!HorzBar || !VertBar) return;
  LeftEdge = client->left - proposed.left;
  TopEdge = client->top - proposed.top;
  RightEdge = proposed.right - client->right;
  BottomEdge = proposed.bottom - client->bottom;
  HorzBar->Flags = (style & WS_HSCROLL) ? kBarStyleFlag : 0;
  VertBar->Flags = (style & WS_VSCROLL) ? kBarStyleFlag : 0;
  const int vThick = BarThickness(*VertBar), hThick = BarThickness(*HorzBar);
  VertBar->Visible = (style & WS_VSCROLL) && Width(*client) >= vThick ? 1 : 0;
  if (VertBar->Visible) {
    if (LeftScrollBar)
      client->left += vThick;
    else
      client->right -= vThick;
  }
  HorzBar->Visible = (style & WS_HSCROLL) && Height(*client) >= hThick ? 1 : 0;
  if (HorzBar->Visible) client->bottom -= hThick;
}

void TacScrollWnd::OnNcHitTest(fw::TMessage& m) {
  RECT w;
  ::GetWindowRect(CtrlHandle, &w);
  const POINT p{GET_X_LPARAM(m.LParam) - w.left, GET_Y_LPARAM(m.LParam) - w.top};
  for (TacScrollBar* bar : {HorzBar.get(), VertBar.get()}) {
    if (!bar || !bar->Visible) continue;
    const RECT r = BarRect(*bar);
    if (::PtInRect(&r, p)) {
      m.Result = BarEnabled(*bar) ? (bar->Vertical() ? HTVSCROLL : HTHSCROLL) : HTNOWHERE;
      return;
    }
  }
  if (HorzBar && VertBar && HorzBar->Visible && VertBar->Visible) {
    const RECT corner = CornerRect();
    if (::PtInRect(&corner, p) && GripBelongs()) {
      m.Result = HTBOTTOMRIGHT;
      return;
    }
  }
  CallPrev(m);
}

void TacScrollWnd::OnNcMouseMove(fw::TMessage& m) {
  TacScrollBar* bar = BarOfHit(m.WParam);
  if (!bar) return;
  TacScrollTracking& t = ScrollTracking();
  const bool sameWindow = t.HotWindow == CtrlHandle;
  t.HotWindow = CtrlHandle;
  const int index = BarIndex(bar);
  if (index != t.HoverBar || !sameWindow) {
    t.LastHoverPart = t.HoverPart = spNone;
    t.HoverRect = ScreenRect(BarRect(*bar));
    t.HoverBar = index;
    t.HoverTimer = ::SetTimer(CtrlHandle, kHoverTimer, kHoverIntervalMs, nullptr);
    PaintScrollBars(nullptr);
  }
}

bool TacScrollWnd::OnNcButtonDown(fw::TMessage& m) {
  TacScrollBar* bar = BarOfHit(m.WParam);
  if (!bar || !bar->Visible) return false;
  TacScrollTracking& t = ScrollTracking();
  t.HotWindow = CtrlHandle;
  t.ScrollMsg = bar->Vertical() ? WM_VSCROLL : WM_HSCROLL;
  t.PressBar = BarIndex(bar);
  ReadInfo(*bar);
  const RECT screen = ScreenRect(BarRect(*bar));
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const int start = bar->Vertical() ? screen.top : screen.left;
  const int length = bar->Vertical() ? Height(screen) : Width(screen);
  const int a = BarArrowLength(*bar, true, Manager());
  t.PressPart = PartAt(bar->Info, length, a, bar->MinThumb, Along(*bar, p) - start);
  const bool enabled = BarEnabled(*bar);
  switch (t.PressPart) {
    case spFirstArrow:
    case spSecondArrow:
    case spTrackBefore:
    case spTrackAfter:
      ::SetCapture(CtrlHandle);
      if (enabled) {
        t.PressPartNow = t.PressPart;
        PaintBar(nullptr, *bar, t.PressPartNow);
        SendScroll(t.ScrollMsg, t.PressPart, 0);
        t.PressPartNow = t.PressPart;
        t.RepeatTimer = ::SetTimer(CtrlHandle, kFirstDelayTimer, kFirstDelayMs, nullptr);
      }
      break;
    case spThumb: {
      if (!enabled) {
        t.PressPart = spNone;
        return false;
      }
      ::SetCapture(CtrlHandle);
      const TacThumb thumb = ThumbGeometry(bar->Info, length, a, bar->MinThumb);
      t.DragBarRect = screen;
      t.DragThumbSize = thumb.Size;
      t.DragThumbStart = start + thumb.Start;
      ThumbTracking = true;
      bar->Info.nTrackPos = bar->Info.nPos;
      t.DragGrabOffset = Along(*bar, p) - t.DragThumbStart;
      t.LastTrackPos = bar->Info.nPos;
      PaintBar(nullptr, *bar, spThumb, thumb.Start);
      break;
    }
    default:
      t.PressPart = spNone;
      return false;
  }
  m.Result = 0;
  return true;
}

void TacScrollWnd::TrackMouse(POINT screen) {
  TacScrollTracking& t = ScrollTracking();
  TacScrollBar* bar = t.PressBar == 0 ? HorzBar.get() : VertBar.get();
  if (!bar || t.PressPart == spNone) return;
  const int a = BarArrowLength(*bar, true, Manager());
  if (ThumbTracking) {
    const RECT& br = t.DragBarRect;
    const int start = bar->Vertical() ? br.top : br.left;
    const int length = bar->Vertical() ? Height(br) : Width(br);
    const int low = start + a, high = std::max(low, start + length - a - t.DragThumbSize);
    const int thumbStart = std::clamp(Along(*bar, screen) - t.DragGrabOffset, low, high);
    PaintBar(nullptr, *bar, spThumb, thumbStart - start);
    const int pos = DragPosition(bar->Info, thumbStart - low, length - 2 * a, t.DragThumbSize);
    if (pos != t.LastTrackPos) {
      bar->Info.nTrackPos = pos;
      Busy = true;
      SendScroll(t.ScrollMsg, SB_THUMBTRACK, pos);
      Busy = false;
      t.LastTrackPos = pos;
      // The control may have drawn the platform's bar while it scrolled.
      if (HorzBar) PaintBar(nullptr, *bar, spThumb, thumbStart - start);
    }
    return;
  }
  const RECT screenBar = ScreenRect(BarRect(*bar));
  const int start = bar->Vertical() ? screenBar.top : screenBar.left;
  const int length = bar->Vertical() ? Height(screenBar) : Width(screenBar);
  const int across = bar->Vertical() ? screen.x : screen.y;
  const int acrossLow = bar->Vertical() ? screenBar.left : screenBar.top;
  const int acrossHigh = bar->Vertical() ? screenBar.right : screenBar.bottom;
  ReadInfo(*bar);
  int part = spNone;
  if (across >= acrossLow && across < acrossHigh)
    part = PartAt(bar->Info, length, a, bar->MinThumb, Along(*bar, screen) - start);
  t.PressPartNow = part == t.PressPart ? part : spNone;
  PaintBar(nullptr, *bar, t.PressPartNow);
}

void TacScrollWnd::EndPress(bool passOn, fw::TMessage* m) {
  TacScrollTracking& t = ScrollTracking();
  const bool drag = ThumbTracking;
  const UINT scrollMsg = t.ScrollMsg;
  const int barIndex = t.PressBar;
  t.PressPart = spNone;  // first: releasing the capture comes back here
  if (::GetCapture() == CtrlHandle) ::ReleaseCapture();
  if (!drag) {
    ::KillTimer(CtrlHandle, kFirstDelayTimer);
    ::KillTimer(CtrlHandle, kRepeatTimer);
  }
  if (drag) {
    SendScroll(scrollMsg, SB_THUMBPOSITION, t.LastTrackPos);
    ThumbTracking = false;
  }
  Busy = true;
  SendScroll(scrollMsg, SB_ENDSCROLL, drag ? t.LastTrackPos : 0);
  Busy = false;
  t.PressPartNow = spNone;
  t.RepeatTimer = 0;
  t.ScrollMsg = 0;
  t.PressBar = -1;
  if (TacScrollBar* bar = barIndex == 0 ? HorzBar.get() : VertBar.get()) PaintBar(nullptr, *bar, spNone);
  PostRefresh();
  if (passOn && m) CallPrev(*m);
}

void TacScrollWnd::OnTimer(UINT_PTR id) {
  TacScrollTracking& t = ScrollTracking();
  if (t.HotWindow != CtrlHandle) {
    // Another window took the bars' tracking over.
    ::KillTimer(CtrlHandle, id);
    PaintScrollBars(nullptr);
    return;
  }
  switch (id) {
    case kHoverTimer: {
      if (ThumbTracking) return;
      POINT p;
      ::GetCursorPos(&p);
      TacScrollBar* bar = t.HoverBar == 0 ? HorzBar.get() : VertBar.get();
      if (bar && t.HoverBar >= 0 && ::PtInRect(&t.HoverRect, p)) {
        const RECT& r = t.HoverRect;
        const int start = bar->Vertical() ? r.top : r.left;
        const int length = bar->Vertical() ? Height(r) : Width(r);
        ReadInfo(*bar);
        t.HoverPart =
            PartAt(bar->Info, length, BarArrowLength(*bar, true, Manager()), bar->MinThumb, Along(*bar, p) - start);
        if (t.HoverPart != t.LastHoverPart)
          PaintBar(nullptr, *bar, t.PressPart != spNone && t.PressBar == t.HoverBar ? t.PressPartNow : spNone);
        t.LastHoverPart = t.HoverPart;
      } else {
        ::KillTimer(CtrlHandle, kHoverTimer);
        t.HoverTimer = 0;
        t.HoverBar = -1;
        t.HoverPart = t.LastHoverPart = spNone;
        PaintScrollBars(nullptr);
      }
      return;
    }
    case kFirstDelayTimer:
      ::KillTimer(CtrlHandle, kFirstDelayTimer);
      t.RepeatTimer = ::SetTimer(CtrlHandle, kRepeatTimer, kRepeatIntervalMs, nullptr);
      return;
    case kRepeatTimer: {
      if (t.PressPart == spNone) {
        ::KillTimer(CtrlHandle, kRepeatTimer);
        return;
      }
      POINT p;
      ::GetCursorPos(&p);
      TrackMouse(p);
      if (t.PressPartNow != spNone) {
        Busy = true;
        SendScroll(t.ScrollMsg, t.PressPartNow, 0);
        Busy = false;
      }
      return;
    }
    default:
      return;
  }
}

bool TacScrollWnd::ScrollMessage(fw::TMessage& m) {
  TacScrollTracking& t = ScrollTracking();
  const bool pressedHere = t.PressPart != spNone && t.HotWindow == CtrlHandle;
  switch (m.Msg) {
    case WM_UPDATEUISTATE:
      return true;
    case WM_NCCALCSIZE:
      OnNcCalcSize(m);
      return true;
    case WM_NCHITTEST:
      OnNcHitTest(m);
      return true;
    case WM_NCPAINT:
      // The platform paints first: it may draw its own bars where ours go.
      CallPrev(m);
      if (!SkinData->Updating && !Busy) PaintScrollBars(nullptr);
      return true;
    case WM_NCMOUSEMOVE:
      // Over our bars the platform is not told: it would track its own bar's
      // hot look and draw it over ours (Wine does, here and when the mouse
      // leaves the non-client area).
      if (BarOfHit(m.WParam)) {
        OnNcMouseMove(m);
        m.Result = 0;
      } else {
        CallPrev(m);
      }
      return true;
    case WM_NCMOUSELEAVE:
      CallPrev(m);
      if (!SkinData->Updating && !Busy) PaintScrollBars(nullptr);
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if ((m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) && OnNcButtonDown(m)) return true;
      if (m.WParam == HTBOTTOMRIGHT && GripBelongs()) {
        // The grip sizes the top-level window it stands for, not this one.
        m.Result = ::SendMessageA(::GetParent(CtrlHandle), m.Msg, m.WParam, m.LParam);
        return true;
      }
      CallPrev(m);
      return true;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
      if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
        m.Result = 0;
        return true;
      }
      return false;
    case WM_SYSCOMMAND:
      return m.WParam == 0xF077;
    case WM_TIMER: {
      const UINT_PTR id = m.WParam;
      if (id == kHoverTimer || id == kFirstDelayTimer || id == kRepeatTimer)
        OnTimer(id);
      else
        CallPrev(m);
      if (!Detached && !Busy && !ThumbTracking) RefreshScrolls(true);
      return true;
    }
    case WM_MOUSEMOVE:
      if (!pressedHere) return false;
      {
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        ::ClientToScreen(CtrlHandle, &p);
        TrackMouse(p);
      }
      return true;
    case WM_LBUTTONUP:
      if (!pressedHere) return false;
      EndPress(true, &m);
      return true;
    case WM_CAPTURECHANGED:
      // The press ends when another window takes the mouse.
      if (pressedHere && reinterpret_cast<HWND>(m.LParam) != CtrlHandle) EndPress(false, nullptr);
      return false;
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
      if (InStyleTrick) {
        m.Result = 0;
        return true;
      }
      if (m.Msg == WM_STYLECHANGED && m.WParam == static_cast<WPARAM>(GWL_EXSTYLE))
        LeftScrollBar = (reinterpret_cast<STYLESTRUCT*>(m.LParam)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
      return false;
    case WM_NOTIFY:
      CallPrev(m);
      return true;
    case WM_MOUSEWHEEL:
    case fw::CM_MOUSEWHEEL:
      CallPrev(m);
      if (!Busy) RefreshScrolls(true);
      return true;
    case fw::CM_FOCUSCHANGED:
      CallPrev(m);
      RefreshScrolls(true);
      return true;
    case SM_ALPHACMD: {
      const TacSkinMessage s = ReadSkinMessage(m);
      switch (s.Command) {
        case SKINCMD_REFRESH:
          if (ForMyManager(s.LParam)) {
            SkinData->UpdateIndexes();
            SkinData->BGChanged = true;
            // A framework control keeps its own colours in step with the
            // skin (a tree's Color is the background its selection is
            // painted over): it hears the refresh too.
            if (Control()) CallPrev(m);
          }
          return true;
        case SKINCMD_SET_UPDATING:
          SkinData->Updating = s.Argument == 1;
          return true;
        case SKINCMD_GET_BACKGROUND: {
          CallPrev(m);
          auto* request = reinterpret_cast<BackgroundRequest*>(s.LParam);
          if (request && request->Kind == bkNone) SkinData->AnswerBackgroundRequest(*request, 0, CtrlHandle);
          m.Result = 1;
          return true;
        }
        default:
          return false;
      }
    }
    default:
      return false;
  }
}

void TacScrollWnd::WndProc(fw::TMessage& m) {
  if (m.Msg == ScrollRefreshMessage()) {
    FRefreshPosted = false;
    if (Skinned() && HorzBar) RefreshScrolls(true);
    return;
  }
  if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) {
    HandleDestroy(m);
    return;
  }
  if (!Skinned() || !HorzBar) {
    if (m.Msg == SM_ALPHACMD && ReadSkinMessage(m).Command == SKINCMD_NEW_SKIN && SkinData && ForMyManager(m.LParam))
      SkinData->UpdateIndexes();
    CallPrev(m);
    return;
  }
  if (ScrollMessage(m)) return;
  TacMainWnd::WndProc(m);
}

}  // namespace translit
