// One step of dragging a sizeable form by its title, skinned with BlueIce
// (its provider working out where the screen snaps it, the frame shown)
// against the same step for a form of the same size and style in the
// platform's frame, alternating, under Wine. A step is what the system's
// move loop does for each mouse move: WM_MOVING, then the window put at
// the new place; then every paint it causes is done. Each form moves back
// and forth over 20 pixels in its own half of the screen, one pixel a step.
#include <windows.h>

#include <cstdio>

#include "bench/BenchArch.h"
#include "bench/BenchWindows.h"
#include "bench/render_bench.h"
#include "forms/sSkinProvider.h"
#include "framework/Forms.h"
#include "skin/sSkinManager.h"

namespace {

using translit::bench::Pump;

constexpr int kSpan = 20;

// One drag step of a window by a pixel, every paint done.
class Dragged {
 public:
  explicit Dragged(fw::TForm& form) : FForm(form), FHome(form.Left()) {}
  void Step() {
    HWND window = FForm.Handle();
    FStep = (FStep + 1) % (2 * kSpan);
    const int x = FHome + (FStep < kSpan ? FStep : 2 * kSpan - FStep);
    RECT r{};
    ::GetWindowRect(window, &r);
    RECT moving{x, r.top, x + (r.right - r.left), r.bottom};
    ::SendMessageA(window, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&moving));
    ::SetWindowPos(window, nullptr, moving.left, moving.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(window);
    Pump();
  }

 private:
  fw::TForm& FForm;
  int FHome;
  int FStep = 0;
};

}  // namespace

int main() {
  fw::EnsureApplication().Initialize();
  translit::RegisterSkinManagerClasses();
  translit::RegisterSkinProviderClasses();
  auto* manager = new translit::TsSkinManager(nullptr);
  manager->SetSkinDirectory(TRANSLIT_SKINS_WINDOWS_DIR "\\");
  manager->SetSkinName("BlueIce");
  manager->SetActive(true);
  if (manager->Sections.empty()) {
    std::printf("the skin BlueIce in %s did not load\n", TRANSLIT_SKINS_WINDOWS_DIR);
    return 1;
  }
  // Both forms near the screen's top edge, so that the snapping has an edge
  // to look at, side by side.
  auto* skinned = new fw::TForm(fw::Application);
  skinned->SetBounds(20, 14, 440, 340);
  skinned->SetCaption("Dragged, skinned");
  auto* provider = new translit::TsSkinProvider(skinned);
  provider->SetScreenSnap(true);
  auto* platform = new fw::TForm(fw::Application);
  platform->SetBounds(520, 14, 440, 340);
  platform->SetCaption("Dragged, platform's frame");
  skinned->Show();
  platform->Show();
  for (int i = 0; i < 20; ++i) {
    Pump();
    ::Sleep(10);
  }
  if (!provider->SkinnedNow() || !provider->SkinData().CacheBmp) {
    std::printf("the form's frame is not skinned as measured\n");
    return 1;
  }
  Dragged ours(*skinned), reference(*platform);
  const int rounds = 401;
  const auto m = translit::bench::Alternate(
      rounds, [&] { ours.Step(); }, [&] { reference.Step(); });
  std::printf("a drag step of a sizeable form: skinned %.3f ms, the platform's frame %.3f ms (medians of %d)\n",
              m.oursSeconds * 1e3, m.referenceSeconds * 1e3, rounds);
  std::printf("RESULT drag_frame ours=%.3fms reference=%.3fms ratio=%.3f target=1.2%s\n", m.oursSeconds * 1e3,
              m.referenceSeconds * 1e3, m.oursSeconds / m.referenceSeconds, translit::bench::kArchField);
  delete skinned;
  delete platform;
  delete manager;
  return 0;
}
