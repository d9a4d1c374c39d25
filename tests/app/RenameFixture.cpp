// Folder trees for renaming tests.
#include "tests/app/RenameFixture.h"

#include <algorithm>
#include <stdexcept>

#include "framework/Handles.h"

namespace testing_rename {

std::wstring Widen(const std::string& utf8) {
  int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

std::string Utf8(const std::wstring& wide) {
  int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string Ansi(const std::string& utf8) {
  std::wstring w = Widen(utf8);
  int n = ::WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

namespace {

void Collect(const std::wstring& dir, const std::wstring& rel, std::map<std::string, std::string>& out) {
  WIN32_FIND_DATAW fd;
  fw::FindHandle find(::FindFirstFileW((dir + L"\\*").c_str(), &fd));
  if (!find.Valid()) return;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring full = dir + L"\\" + name;
    std::wstring relName = rel.empty() ? name : rel + L"\\" + name;
    // A link to a folder is not the tree's: what it points to is not read.
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      Collect(full, relName, out);
    } else {
      HANDLE f = ::CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      std::string content;
      if (f != INVALID_HANDLE_VALUE) {
        char buf[4096];
        DWORD got = 0;
        while (::ReadFile(f, buf, sizeof(buf), &got, nullptr) && got) content.append(buf, got);
        ::CloseHandle(f);
      }
      out[Utf8(relName)] = content;
    }
  } while (::FindNextFileW(find.Get(), &fd));
}

}  // namespace

FolderTree::FolderTree(const std::wstring& base) : FTemp(base) {}

void FolderTree::AddFolder(const std::string& rel) {
  std::wstring path = FTemp.Root();
  std::wstring w = Widen(rel);
  size_t start = 0;
  while (start <= w.size()) {
    size_t slash = w.find(L'\\', start);
    if (slash == std::wstring::npos) slash = w.size();
    path += L"\\" + w.substr(start, slash - start);
    ::CreateDirectoryW(path.c_str(), nullptr);
    start = slash + 1;
  }
}

void FolderTree::AddFiles(std::initializer_list<File> files) {
  for (const File& f : files) AddFile(f.relUtf8, f.content, f.attributes);
}

void FolderTree::AddFile(const std::string& rel, const std::string& content, DWORD attributes) {
  size_t slash = rel.rfind('\\');
  if (slash != std::string::npos) AddFolder(rel.substr(0, slash));
  std::wstring path = FTemp.Root() + L"\\" + Widen(rel);
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + rel);
  DWORD written = 0;
  ::WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  ::CloseHandle(f);
  if (attributes) ::SetFileAttributesW(path.c_str(), attributes);
}

std::map<std::string, std::string> FolderTree::Files() const {
  std::map<std::string, std::string> out;
  Collect(FTemp.Root(), L"", out);
  return out;
}

std::vector<std::string> FolderTree::Contents() const {
  std::vector<std::string> v;
  for (auto& [name, content] : Files()) v.push_back(content);
  std::sort(v.begin(), v.end());
  return v;
}

}  // namespace testing_rename
