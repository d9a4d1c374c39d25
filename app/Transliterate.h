// The fixed Cyrillic-to-Latin spelling of Windows-1251 file names. Portable:
// names are byte strings in code page 1251, one byte per character.
#pragma once

#include <string>
#include <string_view>

namespace translit::app {

// The Latin spelling of one byte, or an empty view when the byte has no row
// in the table (it is then copied as it is).
std::string_view LatinSpelling(unsigned char byte);

// The new name of a file: every byte with a row replaced by its spelling.
std::string TransliterateName(std::string_view name);

}  // namespace translit::app
