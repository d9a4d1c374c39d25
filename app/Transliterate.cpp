// The transliteration table: 66 rows, the 64 letters А..я (0xC0..0xFF) and
// Ё/ё (0xA8/0xB8). Capitals give only their first Latin letter in upper case.
#include "app/Transliterate.h"

#include <array>

namespace translit::app {
namespace {

constexpr std::array<std::string_view, 64> kLetters = {
    // А..Я (0xC0..0xDF)
    "A",
    "B",
    "V",
    "G",
    "D",
    "E",
    "Zh",
    "Z",
    "I",
    "I",
    "K",
    "L",
    "M",
    "N",
    "O",
    "P",
    "R",
    "S",
    "T",
    "U",
    "F",
    "H",
    "Ts",
    "Ch",
    "Sh",
    "Chsh",
    "''",
    "Y",
    "'",
    "E",
    "Yu",
    "Ya",
    // а..я (0xE0..0xFF)
    "a",
    "b",
    "v",
    "g",
    "d",
    "e",
    "zh",
    "z",
    "i",
    "i",
    "k",
    "l",
    "m",
    "n",
    "o",
    "p",
    "r",
    "s",
    "t",
    "u",
    "f",
    "h",
    "ts",
    "ch",
    "sh",
    "chsh",
    "''",
    "y",
    "'",
    "e",
    "yu",
    "ya",
};

}  // namespace

std::string_view LatinSpelling(unsigned char byte) {
  if (byte >= 0xC0) return kLetters[byte - 0xC0];
  if (byte == 0xA8) return "Yo";
  if (byte == 0xB8) return "yo";
  return {};
}

std::string TransliterateName(std::string_view name) {
  std::string out;
  out.reserve(name.size() * 2);
  for (char c : name) {
    std::string_view latin = LatinSpelling(static_cast<unsigned char>(c));
    if (latin.empty())
      out.push_back(c);
    else
      out.append(latin);
  }
  return out;
}

std::string_view WideLatinSpelling(wchar_t unit) {
  // Code page 1251 holds А..я (0xC0..0xFF) in the order of U+0410..U+044F.
  constexpr wchar_t kCapitalA = 0x0410, kSmallYa = 0x044F, kCapitalYo = 0x0401, kSmallYo = 0x0451;
  if (unit >= kCapitalA && unit <= kSmallYa) return kLetters[static_cast<std::size_t>(unit - kCapitalA)];
  if (unit == kCapitalYo) return LatinSpelling(0xA8);
  if (unit == kSmallYo) return LatinSpelling(0xB8);
  return {};
}

std::wstring TransliterateName(std::wstring_view name) {
  std::wstring out;
  out.reserve(name.size() * 2);
  for (wchar_t unit : name) {
    std::string_view latin = WideLatinSpelling(unit);
    if (latin.empty())
      out.push_back(unit);
    else
      out.append(latin.begin(), latin.end());
  }
  return out;
}

}  // namespace translit::app
