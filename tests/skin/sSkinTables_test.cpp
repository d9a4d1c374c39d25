// Lookups of the loaded skin: sections by name, pieces with the parent
// fallback, textures and patterns, derived sizes, the colour queries and the
// cached indexes.
#include "skin/sSkinTables.h"

#include <gtest/gtest.h>

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
      {1, 0, 0, 0, 90, 60, 90, 60},
      {3, 2, 0, 0, 30, 20, 30, 20},
      {3, -1, 0, 0, 30, 0, 30, 0},
      {3, 1, 7, 0, 30, 30, 7, 7},    // the uniform margin
      {3, 1, 7, 5, 30, 30, 5, 7},    // an own margin first
      {0, 0, 0, 0, 0, 60, 90, 60},   // no states: width 0, margins as one state
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

}  // namespace
}  // namespace translit
