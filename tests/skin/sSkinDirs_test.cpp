// Resolution of the manager's skin directory setting.
#include "skin/sSkinDirs.h"

#include <gtest/gtest.h>

namespace translit {
namespace {

TEST(SkinDirs, ResolvedAgainstTheProgramFolder) {
  const std::string program = "C:\\Apps\\Tool\\";
  struct Case {
    const char* setting;
    const char* expected;
  } cases[] = {
      {"..\\Skins", "C:\\Apps\\Skins"},  // the program folder's parent
      {"../Skins", "C:\\Apps\\Skins"},
      {".\\Skins", "C:\\Apps\\Tool\\Skins"},
      {"./Skins", "C:\\Apps\\Tool\\Skins"},
      {"Skins", "C:\\Apps\\Tool\\Skins"},
      {"", "C:\\Apps\\Tool\\"},
      {"c:\\Skins", "c:\\Skins"},
      {"\\\\server\\share\\Skins", "\\\\server\\share\\Skins"},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveSkinDirectory(c.setting, program), c.expected) << c.setting;
}

TEST(SkinDirs, NormalisedAsWritten) {
  struct Case {
    const char* setting;
    const char* expected;
  } cases[] = {
      {"", ""},      {"c:\\Skins\\", "c:\\Skins\\"}, {"c:/Skins/", "c:/Skins\\"},
      {"d", "d:\\"}, {"Skins", "Skins\\"},           {"..\\Skins", "..\\Skins\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(NormalizeSkinDirectory(c.setting), c.expected) << c.setting;
}

}  // namespace
}  // namespace translit
