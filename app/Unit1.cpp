// The renaming dialog and its folder walk.
#include "app/Unit1.h"

#include <cstring>

#include "app/Transliterate.h"
#include "framework/ClassRegistry.h"
#include "framework/Dialogs.h"
#include "framework/Handles.h"

namespace translit::app {

namespace {

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

// A folder named from the root of a drive ("C:\...") or of a network share
// ("\\server\share\..."). Anything else (a virtual folder's display name,
// a relative or drive-relative path, "\" alone) would be resolved against
// the current folder, which the user never chose.
bool IsAbsoluteFolder(const std::string& path) {
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (path.size() >= 3 && letter(path[0]) && path[1] == ':' && path[2] == '\\') return true;
  return path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
}

}  // namespace

TForm1::TForm1(fw::TComponent* owner) : fw::TForm(owner) {
  PublishField("sShellTreeView1", sShellTreeView1);
  PublishField("sBitBtn1", sBitBtn1);
  PublishField("sStatusBar1", sStatusBar1);
  PublishField("sSkinManager1", sSkinManager1);
  PublishMethod("sBitBtn1Click", [this](fw::TComponent* sender) { sBitBtn1Click(sender); });
  LoadLayout();
}

void TForm1::sBitBtn1Click(fw::TComponent*) {
  // With no folder selected there is nothing to walk: the dialog stays as it
  // is rather than walking the current drive's root.
  if (!RenameSelectedFolder()) return;
  fw::ShowMessage("\xC3\xEE\xF2\xEE\xE2\xEE!");  // "Готово!" in code page 1251
  Close();
}

bool TForm1::RenameSelectedFolder() {
  std::string path = sShellTreeView1->CurrentPath();
  if (path.empty()) return false;
  ScanFolder(path + "\\", "*.mp3");
  return true;
}

void TForm1::ScanFolder(std::string path, const std::string& mask) {
  // The computer and other virtual folders have no folder on disk: nothing
  // of theirs is walked.
  if (!IsAbsoluteFolder(path)) return;
  if (path.back() != '\\') path += '\\';
  // The enumeration filters by no attribute: hidden and system files and
  // folders are visited like any other.
  WIN32_FIND_DATAA entry;
  fw::FindHandle find(::FindFirstFileA((path + "*.*").c_str(), &entry));
  if (!find.Valid()) return;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      sStatusBar1->Panels()[0].SetText(entry.cFileName);
      RenameEntry(entry, path);
    } else if (!IsDotEntry(entry.cFileName)) {
      ScanFolder(path + entry.cFileName, mask);
    }
  } while (::FindNextFileA(find.Get(), &entry));
}

void TForm1::RenameEntry(const WIN32_FIND_DATAA& entry, const std::string& path) {
  std::string oldName = entry.cFileName;
  std::size_t cut = oldName.find_last_of("\\:");
  if (cut != std::string::npos) oldName = oldName.substr(cut + 1);
  std::string target = path + TransliterateName(oldName);

  // Only a file of the new name counts as taken; the lookup follows the file
  // system's own (case-insensitive) matching.
  WIN32_FIND_DATAA existing;
  {
    fw::FindHandle find(::FindFirstFileA(target.c_str(), &existing));
    if (find.Valid() && !(existing.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  }
  if (!::MoveFileA((path + oldName).c_str(), target.c_str())) {
    int code = static_cast<int>(::GetLastError());
    throw fw::EInOutError(fw::InOutErrorMessage(code), code);
  }
}

std::string TForm1::TransliterateName(const std::string& name) { return app::TransliterateName(name); }

void RegisterAppClasses() {
  RegisterSkinManagerClasses();
  RegisterBitBtnClass();
  RegisterStatusBarClass();
  RegisterShellTreeClasses();
  fw::RegisterClass<TForm1>("TForm1", "TForm", false);
}

}  // namespace translit::app
