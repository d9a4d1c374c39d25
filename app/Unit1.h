// The program's one dialog: the shell folder tree, the rename button, a status bar,
// the skin manager and the skinned frame. Pressing the button renames, below the selected folder, every file
// whose name holds Cyrillic letters, then says "Готово!" and closes.
#pragma once

#include <windows.h>

#include <string>

#include "controls/sBitBtn.h"
#include "controls/sStatusBar.h"
#include "forms/sSkinProvider.h"
#include "framework/Forms.h"
#include "shell/tree/acShellTreeView.h"
#include "skin/sSkinManager.h"

namespace translit::app {

class TForm1 : public fw::TForm {
 public:
  explicit TForm1(fw::TComponent* owner);
  const char* ClassName() const override { return "TForm1"; }

  TsShellTreeView* sShellTreeView1 = nullptr;
  TsBitBtn* sBitBtn1 = nullptr;
  TsStatusBar* sStatusBar1 = nullptr;
  TsSkinManager* sSkinManager1 = nullptr;
  // The dialog's skinned frame, with every property at its default.
  TsSkinProvider* sSkinProvider1 = nullptr;

  void sBitBtn1Click(fw::TComponent* sender);
  // Walks the selected folder; false when no folder is selected.
  bool RenameSelectedFolder();
  // Renames the files of Path and of every folder below it, depth first.
  // Mask is handed down unchanged; every file is a candidate. A path that is
  // not absolute (a virtual folder's name, a relative path) walks nothing.
  // Folders that are links (junctions, symbolic links) are not entered.
  // Names are read and renamed in full, also where the code page cannot
  // hold them.
  void ScanFolder(std::wstring path, const std::wstring& mask);
  // The same for a path in the code page.
  void ScanFolder(const std::string& path, const std::string& mask);
  // Renames one file of Path (ending in "\") to its Latin spelling unless a
  // file of that name exists. A new name too long for the file system is
  // not made: the file keeps its name. Any other failed rename raises
  // EInOutError.
  void RenameEntry(const WIN32_FIND_DATAW& entry, const std::wstring& path);
  static std::string TransliterateName(const std::string& name);
  static std::wstring TransliterateName(const std::wstring& name);
};

// Registers the dialog's component classes with the layout reader.
void RegisterAppClasses();

}  // namespace translit::app
