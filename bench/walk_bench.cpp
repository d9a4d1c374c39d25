// The folder walk of the renaming dialog against a bare loop of the same
// FindFirstFileW / FindNextFileW / MoveFileW calls without the dialog, on
// generated trees of 20 000 files in 2 000 folders, a third of them with
// Cyrillic names. Each round walks a freshly generated tree with each.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/Transliterate.h"
#include "app/Unit1.h"
#include "framework/Application.h"
#include "tests/support/TempFolder.h"
#include "bench/BenchArch.h"

namespace {

constexpr int kFolders = 2000;
constexpr int kFilesPerFolder = 10;

// Folders 10 to a parent, two levels deep below root (ending in a
// backslash); every third name is Cyrillic (code page 1251).
void Generate(const std::string& root) {
  const std::string cyr = "\xCF\xE5\xF1\xED\xFF";  // "Песня"
  for (int f = 0; f < kFolders; ++f) {
    std::string parent = root + "g" + std::to_string(f / 100);
    ::CreateDirectoryA(parent.c_str(), nullptr);
    std::string dir = parent + "\\" + (f % 3 == 0 ? cyr + " " : std::string("dir ")) + std::to_string(f);
    ::CreateDirectoryA(dir.c_str(), nullptr);
    for (int i = 0; i < kFilesPerFolder; ++i) {
      int n = f * kFilesPerFolder + i;
      std::string file = dir + "\\";
      file += n % 3 == 0 ? cyr : std::string("track");
      file += ' ';
      file += std::to_string(n);
      file += ".mp3";
      HANDLE h = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      ::CloseHandle(h);
    }
  }
}

long gFiles = 0;

// The reference: the same platform calls in the same order, nothing else.
void BareWalk(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  HANDLE h = ::FindFirstFileW((path + L"*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ++gFiles;
      std::wstring target = path + translit::app::TransliterateName(std::wstring_view(fd.cFileName));
      WIN32_FIND_DATAW existing;
      HANDLE e = ::FindFirstFileW(target.c_str(), &existing);
      bool taken = e != INVALID_HANDLE_VALUE && !(existing.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
      if (e != INVALID_HANDLE_VALUE) ::FindClose(e);
      if (!taken) ::MoveFileW((path + fd.cFileName).c_str(), target.c_str());
    } else if (std::wcscmp(fd.cFileName, L".") != 0 && std::wcscmp(fd.cFileName, L"..") != 0) {
      BareWalk(path + fd.cFileName + L"\\");
    }
  } while (::FindNextFileW(h, &fd));
  ::FindClose(h);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  fw::EnsureApplication();
  translit::app::RegisterAppClasses();
  auto* form = new translit::app::TForm1(fw::Application);
#ifdef TRANSLIT_SKINS_DIR
  // The dialog as the user of the skin has it: its status bar skinned.
  std::string skins = std::string("Z:") + TRANSLIT_SKINS_DIR + "/";
  for (char& c : skins)
    if (c == '/') c = '\\';
  form->sSkinManager1->SetSkinDirectory(skins);
  form->sSkinManager1->SetSkinName("BlueIce");
  form->sSkinManager1->SetActive(true);
#endif
  std::printf("status bar %s\n", form->sStatusBar1->SkinData().Skinned() ? "skinned (BlueIce)" : "not skinned");
  // The dialog as the user has it: on screen and painted before the walk.
  form->Show();
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  const int rounds = 4;
  std::vector<double> ours, bare;
  using clock = std::chrono::steady_clock;
  for (int r = 0; r < rounds; ++r) {
    testing_files::TempFolder a, b;
    Generate(a.Path());
    Generate(b.Path());
    // Alternate which goes first, so that neither always meets the disk
    // still busy writing the trees just made.
    auto timeOurs = [&] {
      auto t0 = clock::now();
      form->ScanFolder(a.Path(), "*.mp3");
      ours.push_back(std::chrono::duration<double>(clock::now() - t0).count());
    };
    auto timeBare = [&] {
      gFiles = 0;
      auto t0 = clock::now();
      BareWalk(b.Root() + L"\\");
      bare.push_back(std::chrono::duration<double>(clock::now() - t0).count());
    };
    if (r % 2 == 0) {
      timeOurs();
      timeBare();
    } else {
      timeBare();
      timeOurs();
    }
    std::printf("round %d: dialog walk %.3f s, bare loop %.3f s (%ld files)\n", r + 1, ours.back(), bare.back(),
                gFiles);
  }
  // What the walk does that the bare loop does not: the file's name into the
  // status bar, once per file.
  auto s0 = clock::now();
  for (int i = 0; i < kFolders * kFilesPerFolder; ++i)
    form->sStatusBar1->Panels()[0].SetText("track " + std::to_string(i) + ".mp3");
  double statusUs = std::chrono::duration<double, std::micro>(clock::now() - s0).count() / (kFolders * kFilesPerFolder);
  std::printf("status bar text alone: %.2f us per file\n", statusUs);
  double files = static_cast<double>(kFolders) * kFilesPerFolder;
  double oursRate = files / Median(ours), bareRate = files / Median(bare);
  std::printf("walk of %d files in %d folders (a third Cyrillic): dialog %.0f files/s, bare loop %.0f files/s\n",
              kFolders * kFilesPerFolder, kFolders, oursRate, bareRate);
  std::printf("RESULT walk ours=%.0ffiles/s reference=%.0ffiles/s ratio=%.3f target=1.15%s\n", oursRate, bareRate,
              Median(ours) / Median(bare), translit::bench::kArchField);
  delete form;
  delete fw::Application;
  return 0;
}
