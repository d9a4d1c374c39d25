// The shell browser's portable rules: root names, root paths, extensions,
// name markers, attribute sets.
#include "shell/acShellTypes.h"

#include <gtest/gtest.h>

namespace translit {
namespace {

TEST(RootFolderNames, EveryNameMapsBackToItsValueAndNothingElseMatches) {
  for (int i = 0; i < RootFolderCount; ++i) {
    auto root = static_cast<TacRootFolder>(i);
    EXPECT_EQ(RootFolderByName(RootFolderName(root)), root) << RootFolderName(root);
  }
  EXPECT_EQ(RootFolderByName("rfMyComputer"), rfMyComputer);
  EXPECT_EQ(RootFolderCsidl[rfMyComputer], 17);
  EXPECT_EQ(RootFolderCsidl[rfTemplates], 21);
  // Exact names only: other letter case, paths and partial names are paths.
  for (const char* notAName : {"rfmycomputer", "RFDESKTOP", "rf", "", "C:\\", "rfDesktop "})
    EXPECT_FALSE(RootFolderByName(notAName)) << notAName;
}

TEST(NormalizeRootPath, EndsEveryPathInBackslash) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""},
      {"c", "c:\\"},
      {"D", "D:\\"},
      {"\\", "\\"},
      {"/", "\\"},
      {".", ".\\"},
      {"7", "7\\"},
      {"c:", "c:\\"},
      {"c:/", "c:\\"},
      {"c:\\", "c:\\"},
      {"C:\\Temp", "C:\\Temp\\"},
      {"C:\\Temp\\", "C:\\Temp\\"},
      {"C:\\Temp/", "C:\\Temp\\"},
      {"rel", "rel\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(NormalizeRootPath(c.in), c.out) << "in: " << c.in;
}

TEST(ExtractFileExt, TakesTheLastDotOfTheLastComponent) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"a.txt", ".txt"},       {"archive.tar.gz", ".gz"},  {"noext", ""},      {"", ""},
      {"C:\\dir.x\\file", ""}, {"C:\\dir\\f.Zip", ".Zip"}, {"c:.ini", ".ini"}, {"trailing.", "."},
  };
  for (const Case& c : cases) EXPECT_EQ(ExtractFileExt(c.in), c.out) << "in: " << c.in;
}

TEST(StripNameMarkers, RemovesQuestionMarksOnlyFromMarkedNames) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"?1?2Name", "12Name"}, {"?0a?b", "0ab"}, {"?", "?"},         {"?x?y", "?x?y"},
      {"a?1", "a?1"},         {"?9", "9"},      {"plain", "plain"}, {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(StripNameMarkers(c.in), c.out) << "in: " << c.in;
}

TEST(AttributeSets, FollowTheShellBitsInOrder) {
  EXPECT_EQ(ShellEnumFlags({otFolders}), 32u);
  EXPECT_EQ(ShellEnumFlags({otNonFolders}), 64u);
  EXPECT_EQ(ShellEnumFlags({otFolders, otNonFolders, otHidden}), 224u);
  EXPECT_EQ(ShellEnumFlags({}), 0u);

  // SFGAO_CANRENAME (10) and SFGAO_CANCOPY (1) among unrelated bits.
  auto caps = AttributesToSet<TacItemCapabilities>(0x10 | 0x1 | 0x80000000u, ItemCapabilityAttributes);
  EXPECT_EQ(caps, (TacItemCapabilities{icCanRename, icCanCopy}));
  EXPECT_EQ(AttributesToSet<TacItemCapabilities>(ItemCapabilityMask, ItemCapabilityAttributes).Bits(), 0x7Fu);

  // The two property queries each fill their own half.
  auto first = AttributesToSet<TacItemProperties>(0xFFFFFFFFu, ItemPropertyAttributes, 0, 4);
  auto second = AttributesToSet<TacItemProperties>(0x40000000u | 0x20000u, ItemPropertyAttributes, 4, 4);
  EXPECT_EQ(first.Bits(), 0x0Fu);
  EXPECT_EQ(second, (TacItemProperties{ipFileSystem}));
}

}  // namespace
}  // namespace translit
