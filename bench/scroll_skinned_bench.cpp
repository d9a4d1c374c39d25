// Two tree views of 2 000 nodes side by side on a shown form, one skinned
// (its bars painted from the skin's scroll sections after every line) and
// one whose section is not in the skin (the platform draws its bars), both
// scrolled from top to bottom one line at a time (WM_VSCROLL SB_LINEDOWN,
// then the repaint it causes). Lines alternate between the two trees and
// each line is timed on its own, so that the load of a shared machine falls
// on both alike; the medians of the line times are compared.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "controls/sTreeView.h"
#include "framework/Application.h"
#include "framework/Forms.h"
#include "skin/sSkinManager.h"
#include "bench/BenchArch.h"
#include "bench/BenchWindows.h"

namespace {

using translit::bench::Pump;

constexpr int kNodes = 2000;
constexpr int kRounds = 3;

// One line down with its repaint; seconds, or a negative value at the end.
double LineDown(HWND wnd) {
  const int before = ::GetScrollPos(wnd, SB_VERT);
  const auto start = std::chrono::steady_clock::now();
  ::SendMessageA(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  ::UpdateWindow(wnd);
  Pump();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return ::GetScrollPos(wnd, SB_VERT) == before ? -1.0 : seconds;
}

void ToTop(HWND wnd) {
  ::SendMessageA(wnd, WM_VSCROLL, SB_TOP, 0);
  ::UpdateWindow(wnd);
  Pump();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

#ifndef TRANSLIT_SKINS_WINDOWS_DIR
// A skin with scroll sections for machines without the generated BlueIce.
std::string WriteFallbackSkin() {
  char tmp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, tmp);
  const std::string dir = std::string(tmp) + "scrollbench\\";
  ::CreateDirectoryA(dir.c_str(), nullptr);
  ::CreateDirectoryA((dir + "S").c_str(), nullptr);
  const char* options =
      "[GLOBALINFO]\r\nVERSION=7.2\r\n[EDIT]\r\nCOLOR=0xF0E0D0\r\nFONTCOLOR=0x203040\r\n"
      "[SCROLLBAR1V]\r\nCOLOR=0x0000C0\r\nSTATES=3\r\n[SCROLLBAR2V]\r\nCOLOR=0x00C000\r\nSTATES=3\r\n"
      "[SCROLLBAR1H]\r\nCOLOR=0x0000C0\r\n[SCROLLBAR2H]\r\nCOLOR=0x00C000\r\n"
      "[SCROLLBTNTOP]\r\nCOLOR=0xC00000\r\nSTATES=3\r\n[SCROLLBTNBOTTOM]\r\nCOLOR=0xC00000\r\nSTATES=3\r\n"
      "[SCROLLSLIDERV]\r\nCOLOR=0x808000\r\nSTATES=3\r\n";
  HANDLE f = ::CreateFileA((dir + "S\\Options.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(f, options, static_cast<DWORD>(std::strlen(options)), &written, nullptr);
  ::CloseHandle(f);
  return dir;
}
#endif

}  // namespace

int main() {
  fw::EnsureApplication().Initialize();
  translit::RegisterSkinManagerClasses();
  translit::RegisterTreeViewClasses();
  auto* manager = new translit::TsSkinManager(nullptr);
#ifdef TRANSLIT_SKINS_WINDOWS_DIR
  const std::string skinDir = TRANSLIT_SKINS_WINDOWS_DIR "\\";
  const char* skinName = "BlueIce";
#else
  const std::string skinDir = WriteFallbackSkin();
  const char* skinName = "S";
#endif
  manager->SetSkinDirectory(skinDir);
  manager->SetSkinName(skinName);
  if (manager->Sections.empty()) {
    std::printf("the skin %s in %s did not load\n", skinName, skinDir.c_str());
    return 1;
  }

  auto* form = new fw::TForm(fw::Application);
  form->SetBounds(40, 40, 620, 420);
  translit::TsTreeView* trees[2] = {new translit::TsTreeView(form), new translit::TsTreeView(form)};
  trees[1]->SkinData().SetSkinSection("NOSUCHSECTION");  // left to the platform
  for (int t = 0; t < 2; ++t) {
    trees[t]->SetParent(form);
    trees[t]->SetBounds(10 + 300 * t, 10, 280, 360);
  }
  form->Show();
  for (auto* tree : trees) {
    tree->Items().BeginUpdate();
    for (int i = 0; i < kNodes; ++i) tree->Items().AddChild(nullptr, "Folder " + std::to_string(i));
    tree->Items().EndUpdate();
  }
  Pump();
  if (!trees[0]->ScrollWnd() || trees[1]->ScrollWnd()) {
    std::printf("the first tree is to be skinned and the second not\n");
    return 1;
  }

  std::vector<double> skinned, platform;
  for (int r = 0; r < kRounds; ++r) {
    ToTop(trees[0]->Handle());
    ToTop(trees[1]->Handle());
    std::vector<double> roundSkinned, roundPlatform;
    for (;;) {
      const double a = LineDown(trees[0]->Handle());
      const double b = LineDown(trees[1]->Handle());
      if (a < 0 || b < 0) break;
      roundSkinned.push_back(a);
      roundPlatform.push_back(b);
    }
    std::printf("round %d: %zu lines, median %.3f ms skinned, %.3f ms platform\n", r + 1, roundSkinned.size(),
                Median(roundSkinned) * 1000.0, Median(roundPlatform) * 1000.0);
    skinned.insert(skinned.end(), roundSkinned.begin(), roundSkinned.end());
    platform.insert(platform.end(), roundPlatform.begin(), roundPlatform.end());
  }
  const double ours = Median(skinned) * 1000.0, reference = Median(platform) * 1000.0;
  std::printf(
      "scrolling %d nodes line by line with the skin %s: %.3f ms a line skinned, %.3f ms a line with the "
      "platform's bars (medians of %zu lines each)\n",
      kNodes, skinName, ours, reference, skinned.size());
  std::printf("RESULT scroll_skinned ours=%.3fms reference=%.3fms ratio=%.3f target=1.5%s\n", ours, reference,
              ours / reference, translit::bench::kArchField);
  delete form;
  delete manager;
  return 0;
}
