// The transliteration table on whole names, written here in code page 1251,
// and on wide names, where every unit that is not one of its letters stays.
#include "app/Transliterate.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using translit::app::LatinSpelling;
using translit::app::TransliterateName;
using translit::app::WideLatinSpelling;

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

TEST(TransliterateWideName, CyrillicLettersAreSpelledAndEveryOtherUnitKept) {
  struct Case {
    std::wstring in;
    std::wstring out;
  } cases[] = {
      {L"Привет 日本.txt", L"Privet 日本.txt"},
      {L"Ёж.txt", L"Yozh.txt"},
      {L"Щука ü.txt", L"Chshuka ü.txt"},
      {L"Яблоко €.txt", L"Yabloko €.txt"},
      {L"объект Мальчик Эхо Хор Йод", L"ob''ekt Mal'chik Eho Hor Iod"},
      // Ukrainian and Belarusian letters, Greek and a character beyond the
      // basic plane are not the table's.
      {L"Їжак Ґанок Ўсё Ωμέγα \U0001F600", L"Їzhak Ґanok Ўsyo Ωμέγα \U0001F600"},
      {L"Track_07 - final.MP3", L"Track_07 - final.MP3"},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(TransliterateName(c.in), c.out);
}

TEST(TransliterateWideName, UnitsBesideTheTablesRangesAreKept) {
  // The units just outside the ranges the table covers.
  for (wchar_t unit : {0x0400, 0x0402, 0x040F, 0x0450, 0x0452, 0x0460, 0x00C0, 0x00FF, 0x00A8, 0x00B8})
    EXPECT_TRUE(WideLatinSpelling(unit).empty()) << "unit " << std::hex << static_cast<int>(unit);
  EXPECT_EQ(WideLatinSpelling(0x0401), "Yo");
  EXPECT_EQ(WideLatinSpelling(0x0451), "yo");
  EXPECT_EQ(WideLatinSpelling(0x0410), "A");
  EXPECT_EQ(WideLatinSpelling(0x044F), "ya");
}

}  // namespace
