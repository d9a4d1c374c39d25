// Skin folders and files written by the Windows skin tests into a fresh
// temporary folder that is removed with everything in it.
#pragma once

#include <windows.h>

#include <string>

#include "framework/core/Classes.h"
#include "tests/skin/ImageFixtures.h"
#include "tests/support/RemoveTree.h"

namespace translit::test {

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  fw::TMemoryStream s(bytes);
  s.SaveToFile(path);
}

inline void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, Bytes(text.begin(), text.end()));
}

class TempFolder {
 public:
  TempFolder() {
    char tmp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, tmp);
    static int n = 0;
    Path = std::string(tmp) + "skintest" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(++n) + "\\";
    ::CreateDirectoryA(Path.c_str(), nullptr);
  }
  ~TempFolder() { testing_files::RemoveTree(Path.substr(0, Path.size() - 1)); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // A sub-folder, made when missing; its path ends in a backslash.
  std::string Sub(const std::string& name) const {
    std::string p = Path + name + "\\";
    ::CreateDirectoryA(p.c_str(), nullptr);
    return p;
  }
  std::string Path;  // ends in a backslash
};

// A skin folder "name" below dir (ending in a backslash) with the options
// text and a plain 90 x 20 master bitmap "Master.bmp".
inline void WriteSkinFolder(const std::string& dir, const std::string& name, const std::string& options) {
  const std::string folder = dir + name + "\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  WriteText(folder + "Options.dat", options);
  WriteBytes(folder + "Master.bmp", MakeBmp(90, 20, 24, Solid(0xFF336699)));
}

}  // namespace translit::test
