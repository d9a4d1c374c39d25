// A tree view of 2 000 nodes on a shown form, scrolled from top to bottom
// one line at a time (WM_VSCROLL SB_LINEDOWN, then the repaint it causes):
// with the skin loaded, the skinned tree repaints its bars from the skin's
// scroll sections after every line; the reference is the same tree with the
// skin manager switched off, where the platform draws its own bars. Rounds
// alternate, the median of each side counts.
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

namespace {

constexpr int kNodes = 2000;
constexpr int kRounds = 3;

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// Seconds to scroll from the top to the last page, line by line.
double ScrollThrough(translit::TsTreeView& tree, int& lines) {
  HWND wnd = tree.Handle();
  ::SendMessageA(wnd, WM_VSCROLL, SB_TOP, 0);
  ::UpdateWindow(wnd);
  Pump();
  lines = 0;
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    const int before = ::GetScrollPos(wnd, SB_VERT);
    ::SendMessageA(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
    ::UpdateWindow(wnd);
    Pump();
    if (::GetScrollPos(wnd, SB_VERT) == before) break;
    ++lines;
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
  form->SetBounds(40, 40, 320, 420);
  auto* tree = new translit::TsTreeView(form);
  tree->SetParent(form);
  tree->SetBounds(10, 10, 280, 360);
  form->Show();
  tree->Items().BeginUpdate();
  for (int i = 0; i < kNodes; ++i) tree->Items().AddChild(nullptr, "Folder " + std::to_string(i));
  tree->Items().EndUpdate();
  Pump();

  std::vector<double> skinned, platform;
  int lines = 0;
  for (int r = 0; r < kRounds; ++r) {
    manager->SetActive(true);
    Pump();
    if (!tree->ScrollWnd()) {
      std::printf("the tree is not skinned\n");
      return 1;
    }
    skinned.push_back(ScrollThrough(*tree, lines));
    manager->SetActive(false);
    Pump();
    int platformLines = 0;
    platform.push_back(ScrollThrough(*tree, platformLines));
    std::printf("round %d: skinned bars %.3f s, platform bars %.3f s (%d and %d lines)\n", r + 1, skinned.back(),
                platform.back(), lines, platformLines);
  }
  const double ours = Median(skinned) * 1000.0 / lines, reference = Median(platform) * 1000.0 / lines;
  std::printf("scrolling %d nodes line by line with the skin %s: %.3f ms a line skinned, %.3f ms a line with the "
              "platform's bars\n",
              kNodes, skinName, ours, reference);
  std::printf("RESULT scroll_skinned ours=%.3fms reference=%.3fms ratio=%.3f target=1.5\n", ours, reference,
              ours / reference);
  delete form;
  delete manager;
  return 0;
}
