// A fresh, empty folder for one test (or one benchmark round), removed with
// everything in it when the test ends. Files and folders are made below it
// by name in the program's code page.
#pragma once

#include <string>

namespace testing_files {

class TempFolder {
 public:
  // Below base, or below the temporary folder when base is empty; named
  // after the process and a serial number, so parallel tests never meet.
  // Raises std::runtime_error when the folder cannot be made.
  explicit TempFolder(const std::wstring& base = L"");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without a final backslash.
  const std::wstring& Root() const { return FRoot; }
  // The folder in the program's code page, ending in a backslash.
  const std::string& Path() const { return FPath; }
  // A folder below it, made when missing; its path ends in a backslash.
  std::string Folder(const std::string& name) const;
  // A file below it holding content; its path.
  std::string File(const std::string& name, const std::string& content = "x") const;

 private:
  std::wstring FRoot;
  std::string FPath;
};

}  // namespace testing_files
