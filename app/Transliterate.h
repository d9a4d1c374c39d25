// The fixed Cyrillic-to-Latin spelling of file names. Portable: a name is
// either a byte string in code page 1251, one byte per character, or a wide
// string (UTF-16 units on Windows), in which the Cyrillic letters of that
// code page are spelled by the same table and every other unit is kept.
#pragma once

#include <string>
#include <string_view>

namespace translit::app {

// The Latin spelling of one byte, or an empty view when the byte has no row
// in the table (it is then copied as it is).
std::string_view LatinSpelling(unsigned char byte);

// The new name of a file: every byte with a row replaced by its spelling.
std::string TransliterateName(std::string_view name);

// The Latin spelling of one wide unit: the row of the code page 1251 letter
// it stands for (А..я, Ё, ё), or an empty view for every other unit.
std::string_view WideLatinSpelling(wchar_t unit);

// The new name of a file whose name the code page may not hold: each unit
// that is one of the table's letters replaced by its spelling, every other
// unit (Latin, Ukrainian, CJK, a surrogate half, ...) kept as it is.
std::wstring TransliterateName(std::wstring_view name);

}  // namespace translit::app
