// A title button turning hot: the mouse's hit test over the main dialog's
// close button until the button's first new frame is on the screen. Ours is
// the skinned dialog with BlueIce (the hit test finds the button, makes it
// hot and starts its fade: the first frame, with the glow, is put into its
// layered window); the reference is the same dialog in the platform's look,
// whose hit test answers the caption button and whose caption button is
// drawn in its hot state (the platform's own caption button painter). Each
// hover is undone, unmeasured, before the next: the mouse leaves and the
// skinned button fades out. Alternating, in rounds; the
// medians are compared.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/BenchArch.h"
#include "bench/BenchWindows.h"
#include "forms/acTitleButtonFade.h"
#include "forms/acTitleButtonStates.h"
#include "forms/sSkinProvider.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "render/effects/acEffects.h"
#include "skin/sSkinManager.h"

namespace {

using translit::bench::Pump;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 15;
constexpr int kHoversPerRound = 20;

fw::TForm* MakeDialog(int left) {
  auto* form = new fw::TForm(fw::Application);
  form->SetBorderStyle(fw::bsDialog);
  form->SetBorderIcons(fw::biSystemMenu);
  form->SetBounds(left, 100, 380, 300);
  form->SetCaption("Title hover");
  return form;
}

LPARAM ScreenPoint(HWND window, POINT inWindow) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return MAKELPARAM(r.left + inWindow.x, r.top + inWindow.y);
}

// The skinned close button turns hot; answers the seconds until its first
// frame is out.
double HoverSkinned(translit::TsSkinProvider& p) {
  HWND window = p.OwnerForm->Handle();
  const RECT& b = p.CaptionButtons.Close.Bounds;
  const LPARAM over = ScreenPoint(window, POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2});
  const auto start = Clock::now();
  const LRESULT code = ::SendMessageA(window, WM_NCHITTEST, 0, over);
  ::SendMessageA(window, WM_NCMOUSEMOVE, static_cast<WPARAM>(code), over);
  ::GdiFlush();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (code != HTCLOSE || p.HotHitCode != HTCLOSE) return -1;
  // Undone as the mouse leaving does it: the button fades out.
  translit::SetHotButton(p, 0, true);
  const auto until = Clock::now() + std::chrono::seconds(2);
  while (p.CaptionButtons.Close.Fade && p.CaptionButtons.Close.Fade->Target() >= 0 && Clock::now() < until) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    Pump();
  }
  return seconds;
}

// The platform's close button of the same dialog turns hot.
double HoverPlatform(HWND window) {
  const int frame = ::GetSystemMetrics(SM_CXFIXEDFRAME), caption = ::GetSystemMetrics(SM_CYCAPTION);
  const int size = ::GetSystemMetrics(SM_CYSIZE) - 4;
  RECT r{};
  ::GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const RECT button{width - frame - size - 2, frame + 2, width - frame - 2, frame + 2 + size};
  const LPARAM over = ScreenPoint(window, POINT{(button.left + button.right) / 2, frame + caption / 2});
  const auto start = Clock::now();
  const LRESULT code = ::SendMessageA(window, WM_NCHITTEST, 0, over);
  ::SendMessageA(window, WM_NCMOUSEMOVE, static_cast<WPARAM>(code), over);
  {
    fw::WindowDC dc(window, true);
    RECT hot = button;
    ::DrawFrameControl(dc.Get(), &hot, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_HOT);
  }
  ::GdiFlush();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (code != HTCLOSE) return -1;
  Pump();
  return seconds;
}

}  // namespace

int main() {
  fw::EnsureApplication().Initialize();
  translit::RegisterSkinManagerClasses();
  translit::RegisterSkinProviderClasses();
  translit::InstallEffects();
  fw::TForm* platformForm = MakeDialog(520);
  platformForm->Show();
  Pump();
  auto* manager = new translit::TsSkinManager(nullptr);
  manager->SetSkinDirectory(TRANSLIT_SKINS_WINDOWS_DIR "\\");
  manager->SetSkinName("BlueIce");
  if (manager->Sections.empty()) {
    std::printf("the skin BlueIce in %s did not load\n", TRANSLIT_SKINS_WINDOWS_DIR);
    return 1;
  }
  // The platform's dialog keeps its own look.
  platformForm->Show();
  fw::TForm* skinnedForm = MakeDialog(80);
  auto* provider = new translit::TsSkinProvider(skinnedForm);
  skinnedForm->Show();
  ::SetForegroundWindow(skinnedForm->Handle());
  Pump();
  ::Sleep(50);
  Pump();
  if (!manager->Effects().AllowGlowing()) std::printf("note: glowing is not allowed here, no fade is timed\n");
  // Once each before timing: fonts, window classes, the skin's pieces.
  if (HoverSkinned(*provider) < 0 || HoverPlatform(platformForm->Handle()) < 0) {
    std::printf("a close button did not answer the hit test\n");
    return 1;
  }

  const auto medians = translit::bench::PairedRounds(
      kRounds, kHoversPerRound, [&] { return HoverSkinned(*provider); },
      [&] { return HoverPlatform(platformForm->Handle()); });
  if (!medians) {
    std::printf("a close button did not answer the hit test\n");
    return 1;
  }
  const double o = medians->oursMs, ref = medians->referenceMs;
  std::printf(
      "a close button turning hot until its first frame is out: %.3f ms skinned with BlueIce (fade and glow), "
      "%.3f ms for the platform's caption button (medians of %zu hovers each)\n",
      o, ref, medians->count);
  std::printf("RESULT title_hover ours=%.3fms reference=%.3fms ratio=%.3f target=1.5%s\n", o, ref, o / ref,
              translit::bench::kArchField);
  delete skinnedForm;
  delete platformForm;
  delete manager;
  translit::ShutdownEffects();
  return 0;
}
