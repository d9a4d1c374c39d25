// Skin folders and files written by the Windows skin tests, usually into a
// fresh temporary folder (tests/support/TempFolder.h).
#pragma once

#include <windows.h>

#include <string>

#include "framework/core/Classes.h"
#include "tests/support/ImageFixtures.h"

namespace translit::test {

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  fw::TMemoryStream s(bytes);
  s.SaveToFile(path);
}

inline void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, Bytes(text.begin(), text.end()));
}

// A skin folder "name" below dir (ending in a backslash) with the options
// text and a plain 90 x 20 master bitmap "Master.bmp".
inline void WriteSkinFolder(const std::string& dir, const std::string& name, const std::string& options) {
  const std::string folder = dir + name + "\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  WriteText(folder + "Options.dat", options);
  WriteBytes(folder + "Master.bmp", MakeBmp(90, 20, 24, Solid(0xFF336699)));
}

}  // namespace translit::test
