// The transliteration table on whole names, written here in code page 1251.
#include "app/Transliterate.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using translit::app::LatinSpelling;
using translit::app::TransliterateName;

// Byte strings in code page 1251 (the tests' source is UTF-8).
std::string Cp1251(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(TransliterateName, WholeNames) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      // Ёлка.txt
      {Cp1251({0xA8, 0xEB, 0xEA, 0xE0}) + ".txt", "Yolka.txt"},
      // объект
      {Cp1251({0xEE, 0xE1, 0xFA, 0xE5, 0xEA, 0xF2}), "ob''ekt"},
      // Мальчик
      {Cp1251({0xCC, 0xE0, 0xEB, 0xFC, 0xF7, 0xE8, 0xEA}), "Mal'chik"},
      // Щука
      {Cp1251({0xD9, 0xF3, 0xEA, 0xE0}), "Chshuka"},
      // Йод, Эхо, Хор
      {Cp1251({0xC9, 0xEE, 0xE4}), "Iod"},
      {Cp1251({0xDD, 0xF5, 0xEE}), "Eho"},
      {Cp1251({0xD5, 0xEE, 0xF0}), "Hor"},
      // Песня 01 (live).mp3: Latin, digits, spaces and punctuation kept
      {Cp1251({0xCF, 0xE5, 0xF1, 0xED, 0xFF}) + " 01 (live).mp3", "Pesnya 01 (live).mp3"},
      {"Track_07 - final.MP3", "Track_07 - final.MP3"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TransliterateName(c.in), c.out) << "input: " << c.in;
}

TEST(TransliterateName, TableCoversExactlyTheRussianLetters) {
  int rows = 0;
  for (int b = 0; b < 256; ++b) {
    if (!LatinSpelling(static_cast<unsigned char>(b)).empty()) ++rows;
  }
  EXPECT_EQ(rows, 66);
  // Ukrainian and Belarusian letters (Є, І, Ї, Ў, ґ) and the other upper-half
  // bytes are copied as they are.
  for (unsigned char b : {0xAA, 0xB2, 0xAF, 0xA1, 0xB4, 0xA0, 0xB9, 0x80, 0xBF})
    EXPECT_EQ(TransliterateName(std::string(1, static_cast<char>(b))), std::string(1, static_cast<char>(b)))
        << "byte " << int(b);
  // Hard and soft signs in both cases.
  EXPECT_EQ(LatinSpelling(0xDA), "''");
  EXPECT_EQ(LatinSpelling(0xFA), "''");
  EXPECT_EQ(LatinSpelling(0xDC), "'");
  EXPECT_EQ(LatinSpelling(0xFC), "'");
}

TEST(TransliterateName, LongestNameDoesNotTruncate) {
  // 255 bytes of Щ become 1020 bytes: the mapping itself never cuts a name.
  std::string in(255, static_cast<char>(0xD9));
  std::string out = TransliterateName(in);
  ASSERT_EQ(out.size(), 1020u);
  EXPECT_EQ(out.substr(0, 8), "ChshChsh");
}

}  // namespace
