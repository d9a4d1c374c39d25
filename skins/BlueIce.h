// The skin "BlueIce": a light, cool blue theme drawn entirely in code. Every
// image of the skin is painted here and the options text is written to
// match the pieces as they are laid out, so the two never disagree.
#pragma once

#include <string>
#include <vector>

#include "skins/ImageFiles.h"

namespace skingen {

struct SkinFile {
  std::string Name;  // as the options name it (upper case)
  Bytes Data;
};

struct GeneratedSkin {
  std::string Options;           // "Options.dat", code page 1251, CRLF lines
  std::vector<SkinFile> Images;  // every image file the options name
  // The engine's default form shadows (active and inactive), PNG with alpha.
  Bytes ShadowActive;
  Bytes ShadowInactive;
};

GeneratedSkin GenerateBlueIce();

// UTF-8 text in the system ANSI code page 1251 of the machines the skin is
// made for (ASCII, the Cyrillic letters and a few punctuation marks); throws
// std::invalid_argument for characters the code page lacks.
std::string ToCodePage1251(const std::string& utf8);

}  // namespace skingen
