// What the tests of the skinned frame share: a skin manager with the skins
// the generator draws (BlueIce, and Slate with and without cut corners),
// dialogs and forms to put a provider on, and the window's pixels as the
// screen shows them next to the frame cache's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "forms/sSkinProvider.h"
#include "framework/Application.h"
#include "framework/Forms.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "skin/sSkinManager.h"
#include "tests/support/GuiPump.h"

namespace translit::test {

using testing_gui::PumpFor;
using testing_gui::PumpUntil;

// The skins, as the native build writes them, on Wine's drive of the host's
// root.
inline std::string SkinsFolder() { return std::string(TRANSLIT_SKINS_WINDOWS_DIR) + "\\"; }

// The process's one manager for these tests (the first made is the default
// one every provider uses).
inline TsSkinManager& FrameManager(const std::string& skin = "BlueIce") {
  static TsSkinManager* manager = [] {
    fw::EnsureApplication().Initialize();
    RegisterSkinManagerClasses();
    RegisterSkinProviderClasses();
    auto* m = new TsSkinManager(nullptr);
    m->SetSkinDirectory(SkinsFolder());
    return m;
  }();
  if (!manager->Active()) manager->SetActive(true);
  if (manager->SkinName() != skin || manager->Sections.empty()) manager->SetSkinName(skin);
  return *manager;
}

// The main dialog's kind of form: a dialog frame with the system menu only.
inline std::unique_ptr<fw::TForm> MakeDialog(const std::string& caption, int left = 120, int top = 100) {
  auto form = std::make_unique<fw::TForm>(fw::Application);
  form->SetBorderStyle(fw::bsDialog);
  form->SetBorderIcons(fw::biSystemMenu);
  form->SetBounds(left, top, 380, 300);
  form->SetCaption(caption);
  return form;
}

// A 32-bit copy of what the screen shows of a window (its whole rectangle).
inline std::unique_ptr<fw::TBitmap> ScreenOfWindow(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  auto shot = NewBitmap32(r.right - r.left, r.bottom - r.top);
  HDC screen = ::GetDC(nullptr);
  ::BitBlt(shot->Canvas().Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ::ReleaseDC(nullptr, screen);
  ::GdiFlush();
  return shot;
}

inline std::uint32_t Pixel(fw::TBitmap& bitmap, int x, int y) { return ViewOf(&bitmap).At(x, y) & 0xFFFFFFu; }

// The title band of a window as the screen shows it: the rows of the
// caption, inside the side borders (where no corner is cut away).
inline std::vector<std::uint32_t> TitleBand(HWND window, fw::TBitmap& shot) {
  const int border = ::GetSystemMetrics(SM_CXDLGFRAME), top = border;
  const int bottom = top + ::GetSystemMetrics(SM_CYCAPTION) - 1;
  std::vector<std::uint32_t> band;
  RECT r{};
  ::GetWindowRect(window, &r);
  for (int y = top; y < bottom; ++y)
    for (int x = border + 8; x < (r.right - r.left) - border - 8; ++x) band.push_back(Pixel(shot, x, y));
  return band;
}

// The colours the platform paints a dialog's title with, active and
// inactive, read from the screen once.
inline const std::set<std::uint32_t>& SystemTitleColours() {
  static const std::set<std::uint32_t> colours = [] {
    std::set<std::uint32_t> seen;
    auto plain = MakeDialog("The system's own title", 500, 300);
    auto other = MakeDialog("Another window", 60, 420);
    plain->Show();
    ::SetForegroundWindow(plain->Handle());
    PumpFor(150);
    for (std::uint32_t c : TitleBand(plain->Handle(), *ScreenOfWindow(plain->Handle()))) seen.insert(c);
    other->Show();
    ::SetForegroundWindow(other->Handle());
    PumpFor(150);
    for (std::uint32_t c : TitleBand(plain->Handle(), *ScreenOfWindow(plain->Handle()))) seen.insert(c);
    for (int index :
         {COLOR_ACTIVECAPTION, COLOR_INACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION}) {
      const COLORREF c = ::GetSysColor(index);
      seen.insert(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
    }
    return seen;
  }();
  return colours;
}

// The title band on screen against the frame cache and against the
// system's title colours (those the skin's own title does not use).
struct TitleOnScreen {
  int pixels = 0;
  int likeCache = 0;
  int platform = 0;
};

inline TitleOnScreen CompareTitle(TsSkinProvider& provider) {
  const std::set<std::uint32_t>& system = SystemTitleColours();
  HWND window = provider.OwnerForm->Handle();
  auto shot = ScreenOfWindow(window);
  const std::vector<std::uint32_t> screen = TitleBand(window, *shot);
  fw::TBitmap* cache = provider.SkinData().CacheBmp.get();
  std::vector<std::uint32_t> cached;
  if (cache && cache->Width() == shot->Width() && cache->Height() >= ::GetSystemMetrics(SM_CYCAPTION))
    cached = TitleBand(window, *cache);
  const std::set<std::uint32_t> skin(cached.begin(), cached.end());
  TitleOnScreen seen;
  for (std::size_t i = 0; i < screen.size(); ++i) {
    ++seen.pixels;
    if (i < cached.size()) seen.likeCache += screen[i] == cached[i];
    seen.platform += system.count(screen[i]) && !skin.count(screen[i]);
  }
  return seen;
}

}  // namespace translit::test
