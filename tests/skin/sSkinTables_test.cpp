// Lookups of the loaded skin: sections by name, pieces with the parent
// fallback, textures and patterns, derived sizes, the colour queries and the
// cached indexes.
#include "skin/sSkinTables.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "skin/sSkinOptions.h"
#include "tests/skin/SkinFixtures.h"

namespace translit {
namespace {

using test::TablesFromText;

TEST(SkinTables, SectionNamesAreCaseSensitive) {
  TablesFromText t("[button]\n[BUTTON]\n[PANEL]\n");
  EXPECT_EQ(t.tables.SectionIndex("BUTTON"), 1);
  EXPECT_EQ(t.tables.SectionIndex("button"), 0);
  EXPECT_EQ(t.tables.SectionIndex("Button"), -1);
  EXPECT_EQ(t.tables.SectionIndex(""), -1);
  EXPECT_TRUE(t.tables.IsValidSection(2));
  EXPECT_FALSE(t.tables.IsValidSection(3));
  EXPECT_FALSE(t.tables.IsValidSection(-1));
}

TEST(SkinTables, MaskParentFallback) {
  TablesFromText t(
      "[PANEL]\n"
      "[BUTTON]\nPARENTCLASS=PANEL\n"
      "[SELF]\nPARENTCLASS=SELF\n"
      "[A]\nPARENTCLASS=B\n"
      "[B]\nPARENTCLASS=A\n"
      "[TOOLBUTTON]\nPARENTCLASS=BUTTON\n");
  int panelBorder = t.AddMask("PANEL", "BORDERSMASK");
  int buttonGlyph = t.AddMask("BUTTON", "GLYPHMASK");
  t.AddMask("PANEL", "GLYPHMASK");  // later: never wins over BUTTON's own
  auto& s = t.tables;
  int button = s.SectionIndex("BUTTON");
  EXPECT_EQ(s.MaskIndex(button, "BUTTON", "BORDERSMASK"), panelBorder);
  EXPECT_EQ(s.MaskIndex(button, "BUTTON", "GLYPHMASK"), buttonGlyph);
  EXPECT_EQ(s.MaskIndexDirect("BUTTON", "BORDERSMASK"), -1);
  // Two levels up.
  EXPECT_EQ(s.MaskIndex(s.SectionIndex("TOOLBUTTON"), "TOOLBUTTON", "BORDERSMASK"), panelBorder);
  // The name decides the search; the index only finds the parent.
  EXPECT_EQ(s.MaskIndex(button, "PANEL", "BORDERSMASK"), panelBorder);
  EXPECT_EQ(s.MaskIndex(-1, "PANEL", "BORDERSMASK"), -1);
  EXPECT_EQ(s.MaskIndex(button, "", "BORDERSMASK"), -1);
  // A section naming itself, and a loop of two, end without a result.
  EXPECT_EQ(s.MaskIndex(s.SectionIndex("SELF"), "SELF", "BORDERSMASK"), -1);
  EXPECT_EQ(s.MaskIndex(s.SectionIndex("A"), "A", "BORDERSMASK"), -1);
  EXPECT_EQ(s.TextureIndex(s.SectionIndex("A"), "A", "BORDERSMASK"), -1);
}

TEST(SkinTables, TexturesAndPatterns) {
  TablesFromText t("[COMBOBTN]\n[X]\nPARENTCLASS=COMBOBTN\n");
  auto& s = t.tables;
  EXPECT_EQ(s.TextureIndex(0, "COMBOBTN", "PATTERN"), -1);  // no pieces at all
  t.AddMask("COMBOBTN", "PATTERN", 0);
  int texture = t.AddMask("COMBOBTN", "PATTERN", 1);
  EXPECT_EQ(s.MaskIndex(0, "COMBOBTN", "PATTERN"), 0);
  EXPECT_EQ(s.TextureIndex(0, "COMBOBTN", "PATTERN"), texture);
  EXPECT_EQ(s.TextureIndex(1, "X", "PATTERN"), texture);
  EXPECT_EQ(s.PatternIndex(0, "COMBOBTN", "PATTERN"), -1);
  s.Patterns.push_back(TsPatternData{nullptr, "COMBOBTN", "HOTPATTERN"});
  EXPECT_EQ(s.PatternIndex(1, "X", "HOTPATTERN"), 0);
  s.UpdateConstIndexes();
  EXPECT_EQ(s.ConstIndexes.ComboBtnIndex, 0);
  EXPECT_EQ(s.ConstIndexes.ComboBtnBG, texture);
  EXPECT_EQ(s.ConstIndexes.ComboBtnBorder, -1);
}

TEST(SkinTables, DerivedSizes) {
  TablesFromText t("[S]\n");
  auto& s = t.tables;
  int i = t.AddMask("S", "M");
  TsMaskData& m = s.Masks[static_cast<std::size_t>(i)];
  m.SrcRight = 90;
  m.SrcBottom = 60;
  struct Case {
    std::int16_t states, layers, uniform, left;
    int stateWidth, stateHeight, marginLeft, marginTop;
  } cases[] = {
      {3, 1, 0, 0, 30, 30, 30, 30},  // margins fall back to the state size
      {1, 0, 0, 0, 90, 60, 90, 60}, {3, 2, 0, 0, 30, 20, 30, 20},
      {3, -1, 0, 0, 30, 0, 30, 0},  {3, 1, 7, 0, 30, 30, 7, 7},  // the uniform margin
      {3, 1, 7, 5, 30, 30, 5, 7},                                // an own margin first
      {0, 0, 0, 0, 0, 60, 90, 60},                               // no states: width 0, margins as one state
  };
  for (const Case& c : cases) {
    m.StateCount = c.states;
    m.ExtraLayers = c.layers;
    m.UniformMargin = c.uniform;
    m.MarginLeft = c.left;
    EXPECT_EQ(s.MaskStateWidth(i), c.stateWidth) << c.states << "/" << c.layers;
    EXPECT_EQ(s.MaskStateHeight(i), c.stateHeight) << c.states << "/" << c.layers;
    EXPECT_EQ(s.MaskMarginLeft(i), c.marginLeft) << c.states << "/" << c.layers;
    EXPECT_EQ(s.MaskMarginTop(i), c.marginTop) << c.states << "/" << c.layers;
  }
  EXPECT_EQ(s.MaskStateWidth(5), 0);
  EXPECT_EQ(s.MaskMarginLeft(-1), 0);
}

TEST(SkinTables, SkinWithoutGlobalInfo) {
  TablesFromText t("[BUTTON]\n");
  t.AddMask("GLOBALINFO", "BOXCHECKED");
  t.AddMask("GLOBALINFO", "EXBORDER");
  auto& s = t.tables;
  s.UpdateConstIndexes();
  EXPECT_EQ(s.ConstIndexes.GlobalInfoIndex, -1);
  EXPECT_EQ(s.ConstIndexes.CheckBoxChecked, -1);
  EXPECT_EQ(s.ConstIndexes.ExBorder, -1);
  EXPECT_EQ(s.GlobalColor(), 0x0F11);  // converted clBtnFace (index 15)
  EXPECT_EQ(s.GlobalFontColor(), 0xFF00FF);
  EXPECT_EQ(s.GlobalHotColor(), 0x0511);  // converted clWindow
  EXPECT_EQ(s.EditFontColor(), clSysWindowText);
}

TEST(SkinTables, ConstIndexesAndFrames) {
  TablesFromText t(
      "[GLOBALINFO]\nCOLOR=0x123456\nFONTCOLOR=-16777201\n"
      "[PANEL]\n[BUTTON]\nPARENTCLASS=PANEL\n[SCROLLBTNTOP]\n[SCROLLSLIDERH]\n");
  int check = t.AddMask("GLOBALINFO", "BOXCHECKED");
  int border = t.AddMask("PANEL", "BORDERSMASK");
  int corner = t.AddMask("BUTTON", "IMGTOPLEFT");
  int arrow = t.AddMask("SCROLLBTNTOP", "GLYPHMASK");
  int glyph = t.AddMask("SCROLLSLIDERV", "GLYPHMASK");  // its section does not exist
  t.AddMask("GLOBALINFO", "BORDERSMASK");
  auto& s = t.tables;
  s.UpdateConstIndexes();
  const auto& c = s.ConstIndexes;
  EXPECT_EQ(c.GlobalInfoIndex, 0);
  EXPECT_EQ(c.CheckBoxChecked, check);
  EXPECT_EQ(c.ArrowTop, arrow);
  EXPECT_EQ(c.ScrollBtnTop, s.SectionIndex("SCROLLBTNTOP"));
  EXPECT_EQ(c.SliderVert, -1);
  EXPECT_EQ(c.SliderVertGlyph, -1);
  (void)glyph;
  EXPECT_EQ(s.Sections[2].BorderIndex, border);
  EXPECT_EQ(s.Sections[2].CornerTL, corner);
  EXPECT_EQ(s.Sections[1].CornerTL, -1);
  EXPECT_EQ(s.Sections[0].BorderIndex, -1);  // GLOBALINFO gets no frame indexes
  EXPECT_EQ(s.GlobalColor(), 0x123456);
  EXPECT_EQ(s.GlobalFontColor(), 0x0F11);  // a system colour written in the section

  s.ClearSkin();
  s.UpdateConstIndexes();
  EXPECT_EQ(s.ConstIndexes.GlobalInfoIndex, -1);
  EXPECT_EQ(s.ConstIndexes.CheckBoxChecked, -1);
  EXPECT_TRUE(s.Masks.empty());
}

TEST(SkinTables, SelectionColours) {
  struct Case {
    const char* options;
    bool focused;
    TColorValue color, fontColor;
  } cases[] = {
      {"[SELECTION]\nCOLOR=0x10\nHOTCOLOR=0x20\nFONTCOLOR=0x30\nHOTFONTCOLOR=0x40\n", true, 0x20, 0x40},
      {"[SELECTION]\nCOLOR=0x10\nHOTCOLOR=0x20\nFONTCOLOR=0x30\nHOTFONTCOLOR=0x40\n", false, 0x10, 0x30},
      {"[SELECTION]\nSTATES=1\nCOLOR=0x10\nHOTCOLOR=0x20\n", true, 0x10, 0},
      {"[SELECTION]\nCOLOR=0xFF00FF\n[MENUITEM]\nHOTCOLOR=0x50\nHOTFONTCOLOR=0x60\n", false, 0x50, 0},
      {"[SELECTION]\nCOLOR=0xFF00FF\nFONTCOLOR=0xFF00FF\n[MENUITEM]\nHOTCOLOR=0xFFFFFF\nHOTFONTCOLOR=0x60\n", false,
       clSysHighlight, 0x60},
      {"[MENUITEM]\n", false, clSysHighlight, 0},
      {"[X]\n", false, clSysHighlight, clSysHighlightText},
  };
  for (const Case& c : cases) {
    TablesFromText t(c.options);
    EXPECT_EQ(t.tables.SelectionColor(c.focused), c.color) << c.options;
    EXPECT_EQ(t.tables.SelectionFontColor(c.focused), c.fontColor) << c.options;
  }
}

// Sections in a random parent graph (chains, loops, sections naming
// themselves, missing parents, names given twice) with random pieces: the
// indexes computed for the whole tables at once agree with the lookups of one
// section at a time, and the section records read the same inherited values
// as single reads do.
TEST(SkinTables, WholeTableIndexesAgreeWithSingleLookups) {
  std::mt19937 rng(4711);
  for (int round = 0; round < 20; ++round) {
    const int n = 2 + static_cast<int>(rng() % 40);
    std::string text;
    for (int i = 0; i < n; ++i) {
      // Every fifth name repeats an earlier one.
      const int name = i > 0 && rng() % 5 == 0 ? static_cast<int>(rng() % static_cast<unsigned>(i)) : i;
      text += "[S" + std::to_string(name) + "]\n";
      if (rng() % 6 != 0) text += "PARENTCLASS=S" + std::to_string(rng() % static_cast<unsigned>(n + 3)) + "\n";
      if (rng() % 3 == 0) {
        const int colour = rng() % 3 == 0 ? -1 : static_cast<int>(rng() % 1000) - 500;
        text += "COLOR=" + std::to_string(colour) + "\n";
      }
      if (rng() % 4 == 0) text += "GRADIENTDATA=" + std::to_string(rng() % 99) + ";1;100;0;0\n";
    }
    TablesFromText t(text);
    for (int i = 0; i < n; ++i) {
      const std::string name = "S" + std::to_string(rng() % static_cast<unsigned>(n));
      for (const char* prop : {"BORDERSMASK", "IMGTOPLEFT", "IMGBTMRIGHT", "PATTERN"})
        if (rng() % 4 == 0) t.AddMask(name, prop, static_cast<std::uint8_t>(rng() % 2));
    }
    auto& s = t.tables;
    s.UpdateConstIndexes();
    ASSERT_EQ(s.Sections.size(), static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      const TsGeneralData& g = s.Sections[static_cast<std::size_t>(i)];
      EXPECT_EQ(g.BorderIndex, s.MaskIndex(i, g.Name, "BORDERSMASK")) << text << g.Name;
      EXPECT_EQ(g.CornerTL, s.MaskIndex(i, g.Name, "IMGTOPLEFT")) << text << g.Name;
      EXPECT_EQ(g.CornerBR, s.MaskIndex(i, g.Name, "IMGBTMRIGHT")) << text << g.Name;
      EXPECT_EQ(g.Color, s.ColorToRGB(ReadInheritedInteger(t.ini, s, g.Name, "COLOR", 0xFFFFFF))) << text << g.Name;
      EXPECT_EQ(g.GradientData, ReadInheritedString(t.ini, g.Name, "GRADIENTDATA", " ")) << text << g.Name;
      EXPECT_EQ(g.Parent, ReadInheritedString(t.ini, g.Name, "PARENTCLASS", "")) << text << g.Name;
    }
  }
}

// A crafted skin of one long PARENTCLASS chain: reading its sections and
// computing its indexes takes time linear in its length (a search of every
// section at every step of every chain took minutes here).
TEST(SkinTables, LongParentChainLoadsFast) {
  const int n = 5000;
  std::string text;
  for (int i = 0; i < n; ++i) {
    text += "[S" + std::to_string(i) + "]\n";
    if (i + 1 < n) text += "PARENTCLASS=S" + std::to_string(i + 1) + "\n";
  }
  text += "COLOR=-16777201\nHOTCOLOR=0x123456\nGRADIENTDATA=1;2;100;0;0\n";
  const auto start = std::chrono::steady_clock::now();
  TablesFromText t(text);
  const int border = t.AddMask("S" + std::to_string(n - 1), "BORDERSMASK");
  const int corner = t.AddMask("S" + std::to_string(n / 2), "IMGTOPLEFT");
  t.AddMask("S" + std::to_string(n - 1), "PATTERN", 1);
  t.tables.UpdateConstIndexes();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  auto& s = t.tables;
  ASSERT_EQ(s.Sections.size(), static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const TsGeneralData& g = s.Sections[static_cast<std::size_t>(i)];
    ASSERT_EQ(g.BorderIndex, border) << i;
    ASSERT_EQ(g.CornerTL, i <= n / 2 ? corner : -1) << i;
    // Found along the chain: converted from the system colour; its own: as
    // written (then converted for the record).
    ASSERT_EQ(g.Color, 0x000F11) << i;
    ASSERT_EQ(g.HotColor, 0x123456) << i;
    ASSERT_EQ(g.GradientData, "1;2;100;0;0") << i;
  }
  EXPECT_EQ(s.TextureIndex(0, "S0", "PATTERN"), 2);
  EXPECT_LT(seconds, 5.0) << "reading and indexing a chain of " << n << " sections";
}

}  // namespace
}  // namespace translit
