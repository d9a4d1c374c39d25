// Preparing the stored skin folder for a test.
#include "tests/support/StoredSkin.h"

#include <windows.h>

#include "framework/Handles.h"
#include "tests/support/RemoveTree.h"

namespace testing_skin {

namespace {

std::wstring Wide(const std::string& s) {
  int n = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every folder of the path, from the drive down.
bool MakeFolders(const std::wstring& path) {
  for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
    ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
  ::CreateDirectoryW(path.c_str(), nullptr);
  return Exists(path);
}

bool CopyFolder(const std::wstring& from, const std::wstring& to) {
  if (!MakeFolders(to)) return false;
  WIN32_FIND_DATAW entry;
  fw::FindHandle find(::FindFirstFileW((from + L"\\*").c_str(), &entry));
  if (!find.Valid()) return false;
  bool ok = true;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    ok = ::CopyFileW((from + L"\\" + entry.cFileName).c_str(), (to + L"\\" + entry.cFileName).c_str(), FALSE) && ok;
  } while (::FindNextFileW(find.Get(), &entry));
  return ok;
}

// Keeps the first half of a file.
bool CutInHalf(const std::wstring& file) {
  fw::UniqueHandle<HANDLE, ::CloseHandle> h(
      ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (h.Get() == INVALID_HANDLE_VALUE) return false;
  const DWORD size = ::GetFileSize(h.Get(), nullptr);
  return size > 2 && ::SetFilePointer(h.Get(), static_cast<LONG>(size / 2), nullptr, FILE_BEGIN) == size / 2 &&
         ::SetEndOfFile(h.Get());
}

void RemoveSkin(const std::wstring& dir) {
  testing_files::RemoveTree(dir + L"\\BlueIce");
  ::DeleteFileW((dir + L"\\BlueIce.asz").c_str());
}

}  // namespace

std::wstring StoredSkinDirectory() {
  return L"c:\\documents\\\x0440\x0430\x0437\x043D\x043E\x0435\\kodlab\\"
         L"\x043A\x043E\x043C\x043F\x043E\x043D\x0435\x043D\x0442\x044B\\"
         L"SkinEngine.7.33.stable.full.source\\Skins";
}

const char* Name(StoredSkin what) {
  switch (what) {
    case StoredSkin::None:
      return "NoSkin";
    case StoredSkin::Folder:
      return "SkinFolder";
    case StoredSkin::Packed:
      return "PackedSkin";
    case StoredSkin::TruncatedImage:
      return "TruncatedImage";
    case StoredSkin::TruncatedPacked:
      return "TruncatedPacked";
  }
  return "?";
}

StoredSkinScope::StoredSkinScope(StoredSkin what, const std::string& generated) : FGenerated(Wide(generated)) {
  const std::wstring dir = StoredSkinDirectory();
  FWasInstalled = Exists(dir + L"\\BlueIce\\Options.dat") || Exists(dir + L"\\BlueIce.asz");
  RemoveSkin(dir);
  if (Exists(dir + L"\\BlueIce") || Exists(dir + L"\\BlueIce.asz")) return;
  switch (what) {
    case StoredSkin::None:
      FOk = true;
      break;
    case StoredSkin::Folder:
      FOk = CopyFolder(FGenerated + L"\\BlueIce", dir + L"\\BlueIce");
      break;
    case StoredSkin::TruncatedImage:
      FOk = CopyFolder(FGenerated + L"\\BlueIce", dir + L"\\BlueIce") &&
            CutInHalf(dir + L"\\BlueIce\\" + Wide(kTruncatedImage));
      break;
    case StoredSkin::Packed:
    case StoredSkin::TruncatedPacked:
      FOk = MakeFolders(dir) &&
            ::CopyFileW((FGenerated + L"\\BlueIce.asz").c_str(), (dir + L"\\BlueIce.asz").c_str(), FALSE) &&
            (what == StoredSkin::Packed || CutInHalf(dir + L"\\BlueIce.asz"));
      break;
  }
}

StoredSkinScope::~StoredSkinScope() {
  const std::wstring dir = StoredSkinDirectory();
  RemoveSkin(dir);
  if (FWasInstalled) CopyFolder(FGenerated + L"\\BlueIce", dir + L"\\BlueIce");
}

}  // namespace testing_skin
