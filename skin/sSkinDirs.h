// Where skins are looked for: the manager's SkinDirectory setting turned into
// a full directory (for skin folders) and normalised as written (for packed
// skin files).
#pragma once

#include <string>
#include <string_view>

namespace translit {

// The full skin directory, no trailing separator added. programFolder is the
// folder of the running executable with its trailing backslash.
//  "..\X": the program folder cut back to its parent (separator kept) + "X";
//  ".\X" or "./X": program folder + "X";
//  neither ':' nor "\\" in it: program folder + setting;
//  else the setting as written.
std::string ResolveSkinDirectory(std::string_view setting, std::string_view programFolder);

// The setting as written, with a final separator: empty stays empty, a final
// '\' stays, a final '/' becomes '\', a single character (a drive letter)
// gets ":\", anything else gets '\'.
std::string NormalizeSkinDirectory(std::string_view setting);

}  // namespace translit
