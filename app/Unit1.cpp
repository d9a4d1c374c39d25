// The renaming dialog and its folder walk.
#include "app/Unit1.h"

#include <cwchar>

#include "app/Transliterate.h"
#include "framework/ClassRegistry.h"
#include "framework/Dialogs.h"
#include "framework/Handles.h"
#include "shell/acShellNames.h"

namespace translit::app {

namespace {

bool IsDotEntry(const wchar_t* name) { return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0; }

// A folder named from the root of a drive ("C:\...") or of a network share
// ("\\server\share\..."). Anything else (a virtual folder's display name,
// a relative or drive-relative path, "\" alone) would be resolved against
// the current folder, which the user never chose.
bool IsAbsoluteFolder(const std::wstring& path) {
  const auto letter = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); };
  if (path.size() >= 3 && letter(path[0]) && path[1] == L':' && path[2] == L'\\') return true;
  return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

// A junction or a symbolic link (Wine shows a host's symbolic link to a
// folder so, beside the directory bit). Entering one would leave the chosen
// folder, or go round a cycle until the path grew too long.
bool IsLink(const WIN32_FIND_DATAW& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

// The longest name the file systems hold, in UTF-16 units; Wine's host file
// systems hold as many bytes of a name's UTF-8 form.
constexpr std::size_t kMaxNameLength = 255;

std::size_t Utf8Length(const std::wstring& name) {
  return static_cast<std::size_t>(
      ::WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), nullptr, 0, nullptr, nullptr));
}

// Whether a rename failed because the new name cannot be made: the platform
// calls the name invalid or too long, or (as Wine does for a name longer
// than its host file system holds) not found while the file itself is
// still there.
bool NameCannotBeMade(DWORD code, const std::wstring& source) {
  switch (code) {
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
      return true;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ::GetFileAttributesW(source.c_str()) != INVALID_FILE_ATTRIBUTES;
    default:
      return false;
  }
}

// Whether the file at target is found under exactly that name.
bool CarriesName(const std::wstring& target, const std::wstring& name) {
  WIN32_FIND_DATAW found;
  fw::FindHandle find(::FindFirstFileW(target.c_str(), &found));
  return find.Valid() && ::lstrcmpiW(found.cFileName, name.c_str()) == 0;
}

[[noreturn]] void RaiseRenameError(DWORD code) {
  throw fw::EInOutError(fw::InOutErrorMessage(static_cast<int>(code)), static_cast<int>(code));
}

}  // namespace

TForm1::TForm1(fw::TComponent* owner) : fw::TForm(owner) {
  PublishField("sShellTreeView1", sShellTreeView1);
  PublishField("sBitBtn1", sBitBtn1);
  PublishField("sStatusBar1", sStatusBar1);
  PublishField("sSkinManager1", sSkinManager1);
  PublishMethod("sBitBtn1Click", [this](fw::TComponent* sender) { sBitBtn1Click(sender); });
  LoadLayout();
  // The dialog places its frame component itself, after the layout, until
  // the automatic skinning gives every form of the program its own.
  sSkinProvider1 = new TsSkinProvider(this);
}

void TForm1::sBitBtn1Click(fw::TComponent*) {
  // With no folder selected there is nothing to walk: the dialog stays as it
  // is rather than walking the current drive's root.
  if (!RenameSelectedFolder()) return;
  fw::ShowMessage("\xC3\xEE\xF2\xEE\xE2\xEE!");  // "Готово!" in code page 1251
  Close();
}

bool TForm1::RenameSelectedFolder() {
  // The wide path: it reaches a folder whose name the code page cannot hold.
  std::wstring path = sShellTreeView1->CurrentPathW();
  if (path.empty()) return false;
  ScanFolder(path + L"\\", L"*.mp3");
  return true;
}

void TForm1::ScanFolder(const std::string& path, const std::string& mask) {
  ScanFolder(AnsiToWide(path), AnsiToWide(mask));
}

void TForm1::ScanFolder(std::wstring path, const std::wstring& mask) {
  // The computer and other virtual folders have no folder on disk: nothing
  // of theirs is walked.
  if (!IsAbsoluteFolder(path)) return;
  if (path.back() != L'\\') path += L'\\';
  // The enumeration filters by no attribute: hidden and system files and
  // folders are visited like any other.
  WIN32_FIND_DATAW entry;
  fw::FindHandle find(::FindFirstFileW((path + L"*.*").c_str(), &entry));
  if (!find.Valid()) return;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      // The bar shows names in the code page, as the rest of the dialog.
      sStatusBar1->Panels()[0].SetText(WideToAnsi(entry.cFileName));
      RenameEntry(entry, path);
    } else if (!IsDotEntry(entry.cFileName) && !IsLink(entry)) {
      ScanFolder(path + entry.cFileName, mask);
    }
  } while (::FindNextFileW(find.Get(), &entry));
}

void TForm1::RenameEntry(const WIN32_FIND_DATAW& entry, const std::wstring& path) {
  std::wstring oldName = entry.cFileName;
  std::size_t cut = oldName.find_last_of(L"\\:");
  if (cut != std::wstring::npos) oldName = oldName.substr(cut + 1);
  const std::wstring newName = TransliterateName(oldName);
  // Longer than any file system holds: not even tried.
  if (newName.size() > kMaxNameLength) return;
  const std::wstring source = path + oldName, target = path + newName;

  // Only a file of the new name counts as taken; the lookup follows the file
  // system's own (case-insensitive) matching.
  {
    WIN32_FIND_DATAW existing;
    fw::FindHandle find(::FindFirstFileW(target.c_str(), &existing));
    if (find.Valid() && !(existing.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  }
  if (!::MoveFileW(source.c_str(), target.c_str())) {
    const DWORD code = ::GetLastError();
    if (NameCannotBeMade(code, source)) return;
    RaiseRenameError(code);
  }
  // Wine stores some names longer than its host file system holds cut
  // short, without an error: such a file is given its old name back.
  if (Utf8Length(newName) > kMaxNameLength && !CarriesName(target, newName) &&
      !::MoveFileW(target.c_str(), source.c_str()))
    RaiseRenameError(::GetLastError());
}

std::string TForm1::TransliterateName(const std::string& name) { return app::TransliterateName(name); }

std::wstring TForm1::TransliterateName(const std::wstring& name) { return app::TransliterateName(name); }

void RegisterAppClasses() {
  RegisterSkinManagerClasses();
  RegisterSkinProviderClasses();
  RegisterBitBtnClass();
  RegisterStatusBarClass();
  RegisterShellTreeClasses();
  fw::RegisterClass<TForm1>("TForm1", "TForm", false);
}

}  // namespace translit::app
