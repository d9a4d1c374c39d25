// Hot, pressed and released title buttons.
#include "forms/acTitleButtonStates.h"

#include "controls/protocol/sVclUtils.h"
#include "forms/acCaptionButtons.h"
#include "forms/acTitleButtonFade.h"
#include "forms/sSkinProvider.h"
#include "forms/sSystemMenu.h"
#include "framework/Application.h"
#include "framework/Handles.h"
#include "render/effects/acGlow.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

TsTitleButton* UserButton(TsSkinProvider& p, int code) {
  const int index = code - kHitUserButton;
  if (index < 0 || index >= p.TitleButtons().Count()) return nullptr;
  return &p.TitleButtons().Items(index);
}

// A change fades where the form can carry the fade's window over its
// title: a top-level form with glowing allowed and no animation running.
bool Fades(TsSkinProvider& p) {
  TsSkinManager* manager = p.SkinData().SkinManager();
  if (!manager || !manager->Effects().AllowGlowing() || p.ShowAnimating) return false;
  return !p.OwnerForm->Parent() && p.OwnerForm->FormStyle() != fw::fsMDIChild;
}

bool TopLevel(TsSkinProvider& p) { return !p.OwnerForm->Parent() && p.OwnerForm->FormStyle() != fw::fsMDIChild; }

void HideGlow(TacCaptionButton& button) {
  if (button.GlowId < 0) return;
  HideGlowEffect(button.GlowId);
  button.GlowId = -1;
}

// The glow of a button that turned hot, shown in place on the screen.
void ShowGlow(TsSkinProvider& p, TacCaptionButton& button) {
  TsSkinManager* manager = p.SkinData().SkinManager();
  const TacTitleGlow glow = TitleGlowOf(p, button);
  if (!manager || glow.Size <= 0 || !manager->Effects().AllowGlowing() || !TopLevel(p)) return;
  HWND window = p.OwnerForm->Handle();
  RECT r{};
  ::GetWindowRect(window, &r);
  RECT screen = button.Bounds;
  ::OffsetRect(&screen, r.left, r.top);
  button.GlowId = ShowGlowEffect(screen, screen, "GLOBALINFO", manager, window, glow.Margin, TitleGlowBase(p, button));
}

// Set while the platform is asked to report the mouse leaving: it hit-tests
// the window there, at a cursor place that may lag behind the mouse, and
// that answer must not take the hot state away again.
bool Tracking = false;

// The hot state ends with the mouse leaving the frame: the form is told.
void TrackLeave(HWND window) {
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_LEAVE | TME_NONCLIENT;
  track.hwndTrack = window;
  Tracking = true;
  ::TrackMouseEvent(&track);
  Tracking = false;
}

void Unhot(TsSkinProvider& p, int code, bool repaint) {
  TacCaptionButton* button = CaptionButtonByCode(p, code);
  if (!button) return;
  button->State = 0;
  if (TsTitleButton* user = UserButton(p, code)) user->HideHint();
  if (repaint) RepaintTitleButton(p, code);
}

// The skinned system menu's items follow the window's new state.
void UpdateMenu(TsSkinProvider& p) {
  if (TsSystemMenu* menu = p.SystemMenu()) menu->UpdateItems();
}

// The provider still serves the window after something that may have
// closed and freed the form.
bool StillServes(HWND window, TsSkinProvider* p) {
  return ::IsWindow(window) && reinterpret_cast<TsSkinProvider*>(SendSkinCommand(window, SKINCMD_GET_PROVIDER)) == p;
}

}  // namespace

void SetHotButton(TsSkinProvider& p, int code, bool repaint) {
  if (Tracking) return;
  if (!CaptionButtonByCode(p, code)) code = 0;
  if (code == p.HotHitCode) return;
  if (p.HotHitCode != 0) Unhot(p, p.HotHitCode, repaint);
  TsSkinProvider::ButtonPressed = false;
  p.HotHitCode = code;
  if (code == 0) return;
  CaptionButtonByCode(p, code)->State = 1;
  if (TsTitleButton* user = UserButton(p, code)) user->ShowHint(p.OwnerForm->Handle());
  if (repaint) RepaintTitleButton(p, code);
  TrackLeave(p.OwnerForm->Handle());
}

void MouseLeft(TsSkinProvider& p) {
  HWND window = p.OwnerForm->Handle();
  POINT cursor{};
  RECT r{};
  int code = 0;
  if (::GetCursorPos(&cursor) && ::WindowFromPoint(cursor) == window && ::GetWindowRect(window, &r))
    code = CaptionButtonAt(p, POINT{cursor.x - r.left, cursor.y - r.top});
  SetHotButton(p, code, true);
}

void PressButton(TsSkinProvider& p, int code, POINT screen) {
  TacCaptionButton* button = CaptionButtonByCode(p, code);
  if (!button) return;
  if (p.HotHitCode != 0 && p.HotHitCode != code) Unhot(p, p.HotHitCode, true);
  p.HotHitCode = code;
  if (code == kHitMaximize && !EnabledMax(p) && !(::IsZoomed(p.OwnerForm->Handle()) && EnabledRestore(p))) {
    p.HotHitCode = 0;
    return;
  }
  button->State = 2;
  TsSkinProvider::ButtonPressed = true;
  RepaintTitleButton(p, code);
  if (TsTitleButton* user = UserButton(p, code); user && user->OnMouseDown)
    user->OnMouseDown(*user, mbLeft, 0, screen.x, screen.y);
}

bool ReleaseButton(TsSkinProvider& p, int code, POINT screen) {
  TacCaptionButton* button = CaptionButtonByCode(p, code);
  if (!button) {
    SetHotButton(p, 0, true);
    return false;
  }
  // Only the button pressed acts, and only while the mouse never left it.
  if (!TsSkinProvider::ButtonPressed || p.HotHitCode != code) {
    SetHotButton(p, 0, true);
    return true;
  }
  HWND window = p.OwnerForm->Handle();
  switch (code) {
    case kHitMinimize: {
      RECT r{};
      ::GetWindowRect(window, &r);
      const POINT at{screen.x - r.left, screen.y - r.top};
      if (!::PtInRect(&button->Bounds, at)) return false;
      SetHotButton(p, 0, true);
      const bool main = fw::Application && fw::Application->MainForm() == p.OwnerForm;
      ::SendMessageA(window, WM_SYSCOMMAND, !main && ::IsIconic(window) ? SC_RESTORE : SC_MINIMIZE, 0);
      if (!StillServes(window, &p)) return true;
      p.MarkFrameDirty();
      p.RegionDirty = true;
      UpdateMenu(p);
      return true;
    }
    case kHitMaximize:
      if (!EnabledMax(p) && !(::IsZoomed(window) && EnabledRestore(p))) return true;
      SetHotButton(p, 0, true);
      if (::IsZoomed(window)) {
        ::SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        if (!StillServes(window, &p)) return true;
        p.MarkFrameDirty();
        p.RepaintNonClient();
      } else {
        ::SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        if (!StillServes(window, &p)) return true;
      }
      UpdateMenu(p);
      return true;
    case kHitClose:
      button->State = 0;
      ::SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      if (!StillServes(window, &p)) return true;
      DropTitleAnimations(p);
      // A form only hidden comes back with no button hot.
      SetHotButton(p, 0, ::IsWindowVisible(window) != 0);
      return true;
    case kHitHelp:
      ::SendMessageA(window, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      if (!StillServes(window, &p)) return true;
      SetHotButton(p, 0, true);
      UpdateMenu(p);
      ::SendMessageA(window, WM_NCPAINT, 1, 0);
      return true;
    default:
      break;
  }
  if (TsTitleButton* user = UserButton(p, code); user && user->OnMouseUp) {
    user->OnMouseUp(*user, mbLeft, 0, screen.x, screen.y);
    if (!StillServes(window, &p)) return true;
  }
  SetHotButton(p, 0, true);
  return true;
}

void RepaintTitleButton(TsSkinProvider& p, int code) {
  TacCaptionButton* button = CaptionButtonByCode(p, code);
  fw::TBitmap* cache = p.SkinData().CacheBmp.get();
  if (!button || !cache || !p.SkinnedNow() || !p.Initialized || !p.DrawNonClientArea()) return;
  HWND window = p.OwnerForm->Handle();
  if (!::IsWindowVisible(window) || ::IsRectEmpty(&button->Bounds)) return;
  if (Fades(p)) {
    HideGlow(*button);
    if (!button->Fade) button->Fade = std::make_unique<TacSBAnimation>(p, *button);
    button->Fade->FadeTo(button->State);
    return;
  }
  const RECT& b = button->Bounds;
  DrawCaptionButton(p, *button, button->State, *cache, POINT{b.left, b.top});
  {
    fw::WindowDC dc(window, true);
    ::BitBlt(dc.Get(), b.left, b.top, b.right - b.left, b.bottom - b.top, cache->Canvas().Handle(), b.left, b.top,
             SRCCOPY);
  }
  if (button->State == 1 && button->GlowId < 0) {
    ShowGlow(p, *button);
  } else if (button->State != 1) {
    HideGlow(*button);
  }
}

void DropTitleAnimations(TsSkinProvider& p) {
  fw::TBitmap* cache = p.SkinData().CacheBmp.get();
  auto drop = [&](TacCaptionButton& button) {
    HideGlow(button);
    if (!button.Fade) return;
    button.Fade.reset();
    // The frame showed the normal look under the fade; it shows the
    // button's own state again.
    if (cache && !::IsRectEmpty(&button.Bounds))
      DrawCaptionButton(p, button, button.State, *cache, POINT{button.Bounds.left, button.Bounds.top});
  };
  TacCaptionButtons& b = p.CaptionButtons;
  for (TacCaptionButton* button : {&b.Close, &b.Maximize, &b.Minimize, &b.Help}) drop(*button);
  for (int i = 0; i < p.TitleButtons().Count(); ++i) drop(p.TitleButtons().Items(i).CaptionButton());
}

bool EndsTitleAnimations(UINT msg, WPARAM wParam) {
  return msg == WM_MOVE || msg == WM_SIZE || msg == WM_DESTROY || (msg == WM_SHOWWINDOW && !wParam);
}

}  // namespace translit
