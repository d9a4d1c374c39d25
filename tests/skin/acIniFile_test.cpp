// The options reader: its line rules, case-sensitive names and the integer
// reader.
#include "skin/acIniFile.h"

#include <gtest/gtest.h>

#include "framework/core/SysUtils.h"
#include "skin/sSkinNumbers.h"

namespace translit {
namespace {

TEST(IniFile, LineRules) {
  TacIniFile ini;
  ini.SetText(
      "orphan=before any section\r\n"
      "  [ BUTTON ]  \r\n"
      "; a comment=1\n"
      "\tCOLOR = 0x10 \r"
      "\n"
      "NOEQUALS\r\n"
      "PATH=a=b\n"
      "EMPTY=\n"
      "[button]\n"
      "COLOR=5\n"
      "[BUTTON]\n"
      "COLOR=7\n"
      "[]\n"
      "X=1");
  ASSERT_EQ(ini.Sections().size(), 4u);
  EXPECT_EQ(ini.Sections()[0].Name, "BUTTON");
  EXPECT_EQ(ini.Sections()[1].Name, "button");
  EXPECT_EQ(ini.Sections()[3].Name, "");
  const auto& keys = ini.Sections()[0].Keys;
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_EQ(keys[0].Name, "COLOR");
  EXPECT_EQ(keys[0].Value, "0x10");
  EXPECT_EQ(keys[1].Name, "NOEQUALS");
  EXPECT_EQ(keys[1].Value, "");
  EXPECT_EQ(keys[2].Value, "a=b");  // split at the first '='
  EXPECT_EQ(keys[3].Value, "");

  // Case-sensitive names; the first section of a name wins.
  EXPECT_EQ(ini.ReadInteger("BUTTON", "COLOR", -1), 16);
  EXPECT_EQ(ini.ReadInteger("button", "COLOR", -1), 5);
  EXPECT_EQ(ini.ReadInteger("BUTTON", "color", -1), -1);
  EXPECT_EQ(ini.ReadString("BUTTON", "EMPTY", "def"), "");
  EXPECT_EQ(ini.ReadString("BUTTON", "MISSING", "def"), "def");
  EXPECT_FALSE(ini.ValueExists("", "orphan"));
  EXPECT_TRUE(ini.ValueExists("BUTTON", "NOEQUALS"));
}

TEST(IniFile, IntegerReaderFallsBackOnBadText) {
  TacIniFile ini;
  ini.SetText("[S]\nA=0X1f\nB=-12\nC=12px\nD=\nE=99999999999\nF=0xFFFFFFFF\nG=0x\n");
  EXPECT_EQ(ini.ReadInteger("S", "A", 7), 31);
  EXPECT_EQ(ini.ReadInteger("S", "B", 7), -12);
  EXPECT_EQ(ini.ReadInteger("S", "C", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "D", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "E", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "F", 7), -1);
  EXPECT_EQ(ini.ReadInteger("S", "G", 7), 7);
}

TEST(Numbers, StrictConversionNamesTheText) {
  EXPECT_EQ(StrToInt(" 42"), 42);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  try {
    StrToInt("4a");
    FAIL() << "no error";
  } catch (const fw::EConvertError& e) {
    EXPECT_EQ(e.Message(), "'4a' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt(""), fw::EConvertError);
  EXPECT_THROW(StrToInt("2147483648"), fw::EConvertError);
  EXPECT_THROW(StrToInt("1 "), fw::EConvertError);
}

TEST(Numbers, FloatWithDotWhateverTheLocale) {
  EXPECT_DOUBLE_EQ(StrToFloatDotDef("7.2", 0), 7.2);
  EXPECT_DOUBLE_EQ(StrToFloatDotDef("-8", 0), -8);
  EXPECT_DOUBLE_EQ(StrToFloatDotDef("7,2", 0), 0);
  EXPECT_DOUBLE_EQ(StrToFloatDotDef("", 1), 1);
  EXPECT_DOUBLE_EQ(StrToFloatDotDef("1e3", 0), 1000);
}

}  // namespace
}  // namespace translit
