// Opening a popup menu of 20 items until it is on screen and painted, once
// skinned with BlueIce (owner-drawn items over the popup's background
// picture, the frame strips, the window subclass) and once in the
// platform's look, alternating, in rounds; the medians are compared. The
// menu is open once its loop first goes idle (the platform paints the
// popup before that), and is closed there.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchArch.h"
#include "bench/BenchWindows.h"
#include "forms/sSkinableMenus.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/sSkinManager.h"

namespace {

using translit::bench::Pump;

constexpr int kItems = 20;
constexpr int kRounds = 15;
constexpr int kOpensPerRound = 10;

using Clock = std::chrono::steady_clock;
Clock::time_point idleAt;
bool idle = false;
WNDPROC ownerProc = nullptr;

LRESULT CALLBACK OwnerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ENTERIDLE && wp == MSGF_MENU && !idle) {
    idleAt = Clock::now();
    idle = true;
    ::EndMenu();
  }
  return ::CallWindowProcA(ownerProc, w, msg, wp, lp);
}

// Seconds from asking for the menu to its first idle moment, or -1.
double Open(fw::TPopupMenu& menu) {
  idle = false;
  const auto start = Clock::now();
  menu.Popup(200, 100);
  Pump();
  if (!idle) return -1;
  return std::chrono::duration<double>(idleAt - start).count();
}

fw::TPopupMenu* MakeMenu(fw::TComponent* owner) {
  auto* menu = new fw::TPopupMenu(owner);
  for (int i = 0; i < kItems; ++i) {
    fw::TMenuItem* item = menu->Items().Add(i % 7 == 6 ? "-" : "Menu item number &" + std::to_string(i));
    if (i % 5 == 1) item->SetChecked(true);
    if (i % 9 == 4) item->SetEnabled(false);
    if (i % 4 == 3) item->SetShortCut(fw::MakeShortCut(static_cast<WORD>('A' + i), fw::scCtrl));
  }
  return menu;
}

}  // namespace

int main() {
  fw::EnsureApplication().Initialize();
  translit::RegisterSkinManagerClasses();
  translit::InstallMenuSkinning();
  auto* form = new fw::TForm(fw::Application);
  form->SetBounds(40, 40, 500, 400);
  fw::TPopupMenu* skinned = MakeMenu(form);
  fw::TPopupMenu* platform = MakeMenu(form);
  auto* manager = new translit::TsSkinManager(nullptr);
  // As the program's stored layout leaves it: the picture band on.
  manager->MenuSupport().IcoLineSkin = "ICOLINE";
  manager->SetSkinDirectory(TRANSLIT_SKINS_WINDOWS_DIR "\\");
  manager->SetSkinName("BlueIce");
  if (manager->Sections.empty() || !manager->SkinableMenus()) {
    std::printf("the skin BlueIce in %s did not load\n", TRANSLIT_SKINS_WINDOWS_DIR);
    return 1;
  }
  // The reference keeps the platform's look.
  auto& menus = *static_cast<translit::TsSkinableMenus*>(manager->SkinableMenus());
  menus.InitPopup(*platform, false);
  if (!skinned->OwnerDraw() || platform->OwnerDraw()) {
    std::printf("the first menu is to be skinned and the second not\n");
    return 1;
  }
  form->Show();
  Pump();
  HWND owner = fw::TPopupMenu::PopupListWindow();
  ownerProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(static_cast<WNDPROC>(OwnerProc))));
  // Once each before timing: fonts, the owner window, the skin's pieces.
  Open(*skinned);
  Open(*platform);

  const auto medians = translit::bench::PairedRounds(
      kRounds, kOpensPerRound, [&] { return Open(*skinned); }, [&] { return Open(*platform); });
  if (!medians) {
    std::printf("a menu did not open\n");
    return 1;
  }
  const double o = medians->oursMs, ref = medians->referenceMs;
  std::printf(
      "opening a popup menu of %d items until painted: %.3f ms skinned with BlueIce, %.3f ms in the platform's "
      "look (medians of %zu openings each)\n",
      kItems, o, ref, medians->count);
  std::printf("RESULT menu_popup ours=%.3fms reference=%.3fms ratio=%.3f target=1.5%s\n", o, ref, o / ref,
              translit::bench::kArchField);
  ::SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ownerProc));
  delete form;
  delete manager;
  return 0;
}
