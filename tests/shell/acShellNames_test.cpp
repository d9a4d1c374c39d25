// StrRetText and StrRetWideText on hand-made STRRET records: each record
// type, the bounds of offset texts, name markers, code page conversion (or
// none, for the wide text) and the freeing of wide strings the shell hands
// over.
#include "shell/acShellNames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/acItemIdList.h"
#include "tests/shell/MallocSpy.h"

namespace translit {
namespace {

STRRET CString(const char* text) {
  STRRET r{};
  r.uType = STRRET_CSTR;
  std::strncpy(r.cStr, text, sizeof r.cStr - 1);
  return r;
}

STRRET WideString(const wchar_t* text) {
  STRRET r{};
  r.uType = STRRET_WSTR;
  size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
  r.pOleStr = static_cast<LPWSTR>(ShellMalloc()->Alloc(bytes));
  std::memcpy(r.pOleStr, text, bytes);
  return r;
}

// One item of 2 + data bytes, then the terminator.
ItemListPtr ItemWithData(const std::string& data) {
  USHORT count = static_cast<USHORT>(2 + data.size());
  ItemListPtr list(AllocItemList(count + 2));
  std::memcpy(list.get(), &count, 2);
  std::memcpy(reinterpret_cast<BYTE*>(list.get()) + 2, data.data(), data.size());
  return list;
}

TEST(StrRetText, AnsiRecordsAndMarkers) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {{"plain", "plain"}, {"?1?2name", "12name"}, {"?x?", "?x?"}, {"", ""}};
  for (const Case& c : cases) {
    STRRET r = CString(c.text);
    EXPECT_EQ(StrRetText(nullptr, r), c.expected) << c.text;
  }
  STRRET unknown{};
  unknown.uType = 7;
  EXPECT_EQ(StrRetText(nullptr, unknown), "");
}

TEST(StrRetText, WideTextIsConvertedToTheCodePageAndFreed) {
  long before = test::MallocSpy::Outstanding();
  STRRET r = WideString(L"\x0416\x0443\x043A.txt");
  EXPECT_EQ(test::MallocSpy::Outstanding(), before + 1);
  EXPECT_EQ(StrRetText(nullptr, r), "\xC6\xF3\xEA.txt");
  EXPECT_EQ(r.pOleStr, nullptr);
  EXPECT_EQ(test::MallocSpy::Outstanding(), before);

  STRRET marked = WideString(L"?3?name");
  EXPECT_EQ(StrRetText(nullptr, marked), "3name");
  STRRET none{};
  none.uType = STRRET_WSTR;
  EXPECT_EQ(StrRetText(nullptr, none), "");
}

// Texts of every length convert whole, those longer than a path too, and
// back again unchanged: Cyrillic letters are one byte each in code page 1251.
TEST(WideToAnsi, TextsOfEveryLengthConvertWhole) {
  for (size_t length : {size_t{0}, size_t{1}, size_t{259}, size_t{519}, size_t{520}, size_t{521}, size_t{4000}}) {
    std::wstring wide;
    std::string ansi;
    for (size_t i = 0; i < length; ++i) {
      const bool cyrillic = i % 3 == 0;
      wide += cyrillic ? static_cast<wchar_t>(0x0430 + i % 32) : static_cast<wchar_t>(L'a' + i % 26);
      ansi += cyrillic ? static_cast<char>(0xE0 + i % 32) : static_cast<char>('a' + i % 26);
    }
    EXPECT_EQ(WideToAnsi(wide.c_str()), ansi) << length;
    EXPECT_EQ(AnsiToWide(ansi), wide) << length;
  }
  EXPECT_EQ(WideToAnsi(nullptr), "");
}

TEST(StrRetText, OffsetTextStaysInsideTheFirstItem) {
  // Data "\x01\x02name\0rest": the text starts 4 bytes into the item.
  ItemListPtr item = ItemWithData(std::string("\x01\x02name\0rest", 11));
  STRRET r{};
  r.uType = STRRET_OFFSET;
  r.uOffset = 4;
  EXPECT_EQ(StrRetText(item.get(), r), "name");

  // No terminator inside the item: the text ends with the item.
  ItemListPtr open = ItemWithData(
      "ab"
      "cdef");
  r.uOffset = 4;
  EXPECT_EQ(StrRetText(open.get(), r), "cdef");
  for (UINT offset : {8u, 9u, 1000u}) {
    r.uOffset = offset;
    EXPECT_EQ(StrRetText(open.get(), r), "") << "offset " << offset;
  }
  r.uOffset = 2;
  EXPECT_EQ(StrRetText(nullptr, r), "");
}

TEST(StrRetWideText, KeepsWhatTheCodePageCannotHoldAndWidensTheRest) {
  long before = test::MallocSpy::Outstanding();
  STRRET r = WideString(L"\x041F\x0440\x0438 \x65E5\x672C \x00FC.txt");
  EXPECT_EQ(StrRetWideText(nullptr, r), L"\x041F\x0440\x0438 \x65E5\x672C \x00FC.txt");
  EXPECT_EQ(r.pOleStr, nullptr);
  EXPECT_EQ(test::MallocSpy::Outstanding(), before);
  STRRET none{};
  none.uType = STRRET_WSTR;
  EXPECT_TRUE(StrRetWideText(nullptr, none).empty());

  STRRET ansi = CString("\xC6\xF3\xEA.txt");
  EXPECT_EQ(StrRetWideText(nullptr, ansi), L"\x0416\x0443\x043A.txt");
  // An offset text is read inside the first item only, as StrRetText reads it.
  ItemListPtr open = ItemWithData("abcdef");
  STRRET offset{};
  offset.uType = STRRET_OFFSET;
  offset.uOffset = 4;
  EXPECT_EQ(StrRetWideText(open.get(), offset), L"cdef");
  offset.uOffset = 9;
  EXPECT_TRUE(StrRetWideText(open.get(), offset).empty());
}

}  // namespace
}  // namespace translit
