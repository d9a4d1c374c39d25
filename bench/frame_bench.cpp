// The renaming dialog's skinned frame against the platform's own frame of
// the same window, under Wine, round by round:
//  - frame_paint: the frame's non-client paint right after a skin change
//    (the frame cache redrawn, then its four strips copied) against the
//    platform's non-client paint of the window;
//  - frame_cached: the non-client paint with the cache still good (four
//    strips copied) against the same.
// The platform's paint is the form's default handling of WM_NCPAINT on the
// skinned window itself, so both draw the same area; it draws no title
// buttons there, as the skinned window has no system menu of its own.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/Unit1.h"
#include "bench/BenchArch.h"
#include "bench/BenchWindows.h"
#include "bench/render_bench.h"
#include "framework/Application.h"
#include "render/effects/acEffects.h"

namespace {

using translit::bench::Pump;

using translit::app::TForm1;

}  // namespace

int main() {
#ifndef TRANSLIT_SKINS_DIR
  std::printf("the skin BlueIce was not built (configure with TRANSLIT_SKINS): nothing measured\n");
  return 0;
#else
  fw::EnsureApplication().Initialize();
  translit::app::RegisterAppClasses();
  translit::InstallEffects();
  auto* form = new TForm1(fw::Application);
  form->sSkinManager1->SetSkinDirectory(translit::bench::WindowsPath(TRANSLIT_SKINS_DIR));
  form->sSkinManager1->SetSkinName("BlueIce");
  form->sSkinManager1->SetActive(true);
  form->SetLeft(40);
  form->SetTop(40);
  form->Show();
  for (int i = 0; i < 20; ++i) {
    Pump();
    ::Sleep(10);
  }
  translit::TsSkinProvider* provider = form->sSkinProvider1;
  if (!provider->SkinnedNow() || !provider->SkinData().CacheBmp) {
    std::printf("the dialog's frame is not skinned as measured (skin not loaded?)\n");
    return 1;
  }
  HWND window = form->Handle();
  auto ours = [&] { ::SendMessageA(window, WM_NCPAINT, 1, 0); };
  auto platform = [&] {
    fw::TMessage m{WM_NCPAINT, 1, 0, 0};
    provider->CallDefault(m);
  };
  const int rounds = 201;
  const auto afterChange = translit::bench::Alternate(
      rounds,
      [&] {
        // What a skin change leaves the frame: its picture stale.
        provider->MarkFrameDirty();
        ours();
      },
      platform);
  const auto cached = translit::bench::Alternate(rounds, ours, platform);
  const translit::TacFrameMetrics m = provider->Metrics();
  std::printf(
      "non-client paint of the %dx%d dialog: skinned, cache redrawn %.3f ms; skinned, cache good %.3f ms;"
      " the platform's %.3f ms (medians of %d)\n",
      m.Width, m.Height, afterChange.oursSeconds * 1e3, cached.oursSeconds * 1e3, cached.referenceSeconds * 1e3,
      rounds);
  std::printf("RESULT frame_paint ours=%.3fms reference=%.3fms ratio=%.3f target=1.3%s\n",
              afterChange.oursSeconds * 1e3, afterChange.referenceSeconds * 1e3,
              afterChange.oursSeconds / afterChange.referenceSeconds, translit::bench::kArchField);
  std::printf("RESULT frame_cached ours=%.3fms reference=%.3fms ratio=%.3f target=0.8%s\n", cached.oursSeconds * 1e3,
              cached.referenceSeconds * 1e3, cached.oursSeconds / cached.referenceSeconds, translit::bench::kArchField);
  delete form;
  translit::ShutdownEffects();
  return 0;
#endif
}
