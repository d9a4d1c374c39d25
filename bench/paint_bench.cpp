// Painting the renaming dialog with the skin BlueIce against painting the
// same dialog with the platform's look, under Wine, round by round:
//  - paint_dialog: a full repaint right after a skin change (every cache
//    picture stale) against the unskinned full repaint;
//  - paint_cached: a full repaint when nothing changed (every cache picture
//    fresh, as when the window is uncovered) against the unskinned one;
//  - fade_frame: one frame of the button's fade (the mix and the copy to the
//    screen) against the 10 ms tick it must fit in.
// Two dialogs are up side by side; the second one's controls and frame follow
// its own skin manager, which has no skin, so that both are painted in every
// round. The frame is counted on both sides: the skinned dialog repaints its
// skinned frame (from its cache, redrawn after the change), the other the
// platform's. The tree is skinned too.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/Unit1.h"
#include "bench/render_bench.h"
#include "controls/protocol/sVclUtils.h"
#include "framework/Application.h"
#include "render/effects/acEffects.h"
#include "render/effects/sFade.h"
#include "bench/BenchArch.h"
#include "bench/BenchWindows.h"

namespace {

using translit::bench::Pump;

using translit::app::TForm1;

// One tick of a control's fade, called directly.
class FrameTicker : public translit::TsFadeTimer {
 public:
  using translit::TsFadeTimer::TsFadeTimer;
  void Tick() { Timer(); }
};

// Everything of the dialog drawn again at once: frame, background, children.
void Repaint(TForm1* form) {
  ::RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
}

// What a skin change leaves: the skinned controls' pictures stale.
void MakeCachesStale(TForm1* form) {
  const LPARAM manager = reinterpret_cast<LPARAM>(form->sSkinManager1);
  for (fw::TWinControl* c :
       {static_cast<fw::TWinControl*>(form->sBitBtn1), static_cast<fw::TWinControl*>(form->sStatusBar1),
        static_cast<fw::TWinControl*>(form->sShellTreeView1)})
    translit::SendSkinCommand(c->Handle(), translit::SKINCMD_REFRESH, manager);
  form->sSkinProvider1->MarkFrameDirty();
}

}  // namespace

int main() {
#ifndef TRANSLIT_SKINS_DIR
  std::printf("the skin BlueIce was not built (configure with TRANSLIT_SKINS): nothing measured\n");
  return 0;
#else
  fw::EnsureApplication().Initialize();
  translit::app::RegisterAppClasses();
  translit::InstallEffects();
  // The first dialog's manager is the default one: its controls follow it.
  auto* skinned = new TForm1(fw::Application);
  auto* plain = new TForm1(fw::Application);
  skinned->sSkinManager1->SetSkinDirectory(translit::bench::WindowsPath(TRANSLIT_SKINS_DIR));
  skinned->sSkinManager1->SetSkinName("BlueIce");
  skinned->sSkinManager1->SetActive(true);
  // A skin installed at the stored folder (the run command puts BlueIce
  // there) must not skin the reference.
  plain->sSkinManager1->SetActive(false);
  plain->sBitBtn1->SkinData().SetSkinManager(plain->sSkinManager1);
  plain->sStatusBar1->SkinData().SetSkinManager(plain->sSkinManager1);
  plain->sShellTreeView1->SkinData().SetSkinManager(plain->sSkinManager1);
  plain->sSkinProvider1->SkinData().SetSkinManager(plain->sSkinManager1);
  if (!skinned->sBitBtn1->SkinData().Skinned() || !skinned->sStatusBar1->SkinData().Skinned() ||
      !skinned->sShellTreeView1->SkinData().Skinned() || !skinned->sSkinProvider1->SkinData().Skinned() ||
      plain->sSkinProvider1->SkinData().Skinned() || plain->sBitBtn1->SkinData().Skinned() ||
      plain->sStatusBar1->SkinData().Skinned() || plain->sShellTreeView1->SkinData().Skinned()) {
    std::printf("the dialogs are not set up as measured (skin not loaded?)\n");
    return 1;
  }
  skinned->SetLeft(40);
  plain->SetLeft(460);
  skinned->SetTop(40);
  plain->SetTop(40);
  skinned->Show();
  plain->Show();
  for (int i = 0; i < 20; ++i) {
    Pump();
    ::Sleep(10);
  }

  const int rounds = 101;
  const auto afterChange = translit::bench::Alternate(
      rounds,
      [&] {
        MakeCachesStale(skinned);
        Repaint(skinned);
      },
      [&] { Repaint(plain); });
  // The invalidations of the skin change are not part of the repaint.
  const auto cached = translit::bench::Alternate(
      rounds, [&] { Repaint(skinned); }, [&] { Repaint(plain); });
  std::printf(
      "full repaint of the dialog: skinned, every picture stale %.3f ms; skinned, pictures fresh %.3f ms;"
      " unskinned %.3f ms (medians of %d)\n",
      afterChange.oursSeconds * 1e3, cached.oursSeconds * 1e3, cached.referenceSeconds * 1e3, rounds);

  // The fade of the dialog's button from its normal look into its hot one.
  translit::TsBitBtn* button = skinned->sBitBtn1;
  FrameTicker ticker(button->SkinData(), nullptr);
  ticker.Prepare(false);
  button->PaintButtonCache();
  const double frame = translit::bench::MedianSeconds(201, [&] {
    ticker.Step = 1;
    ticker.Tick();
  });
  constexpr double kTick = 0.010;
  std::printf("one fade frame of the %dx%d button (mix and copy to the screen): %.3f ms of the %.0f ms tick\n",
              button->Width(), button->Height(), frame * 1e3, kTick * 1e3);

  std::printf("RESULT paint_dialog ours=%.3fms reference=%.3fms ratio=%.3f target=1.5%s\n",
              afterChange.oursSeconds * 1e3, afterChange.referenceSeconds * 1e3,
              afterChange.oursSeconds / afterChange.referenceSeconds, translit::bench::kArchField);
  std::printf("RESULT paint_cached ours=%.3fms reference=%.3fms ratio=%.3f target=1.0%s\n", cached.oursSeconds * 1e3,
              cached.referenceSeconds * 1e3, cached.oursSeconds / cached.referenceSeconds, translit::bench::kArchField);
  std::printf("RESULT fade_frame ours=%.3fms reference=%.3fms ratio=%.3f target=0.1%s\n", frame * 1e3, kTick * 1e3,
              frame / kTick, translit::bench::kArchField);
  delete plain;
  delete skinned;
  translit::ShutdownEffects();
  return 0;
#endif
}
