// Temporary folders for tests.
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <stdexcept>

#include "framework/Handles.h"
#include "tests/support/RemoveTree.h"

namespace testing_files {

namespace {

void CloseFile(HANDLE file) { ::CloseHandle(file); }

std::string ToAnsi(const std::wstring& wide) {
  int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

TempFolder::TempFolder(const std::wstring& base) {
  std::wstring parent = base;
  if (parent.empty()) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    parent = temp;
  }
  if (parent.back() != L'\\') parent += L'\\';
  static int serial = 0;
  FRoot = parent + L"translit-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
  // A folder left by an earlier run of a process with the same id.
  RemoveTree(FRoot);
  if (!::CreateDirectoryW(FRoot.c_str(), nullptr)) throw std::runtime_error("cannot create test folder");
  FPath = ToAnsi(FRoot) + "\\";
}

TempFolder::~TempFolder() { RemoveTree(FRoot); }

std::string TempFolder::Folder(const std::string& name) const {
  std::string path = FPath + name;
  ::CreateDirectoryA(path.c_str(), nullptr);
  return path + "\\";
}

std::string TempFolder::File(const std::string& name, const std::string& content) const {
  std::string path = FPath + name;
  HANDLE made = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (made == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
  fw::UniqueHandle<HANDLE, CloseFile> file(made);
  DWORD written = 0;
  if (!::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
      written != content.size())
    throw std::runtime_error("cannot write " + path);
  return path;
}

}  // namespace testing_files
