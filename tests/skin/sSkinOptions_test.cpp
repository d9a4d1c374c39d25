// Reading options into the tables: inherited keys, defaults, the skin-wide
// values with their strict keys, the looks, the common sections and the
// colour transforms.
#include "skin/sSkinOptions.h"

#include <gtest/gtest.h>

#include "framework/core/SysUtils.h"
#include "tests/skin/SkinFixtures.h"

namespace translit {
namespace {

using test::FakeSystem;
using test::TablesFromText;

const TsGeneralData& Section(const TablesFromText& t, const char* name) {
  int i = t.tables.SectionIndex(name);
  EXPECT_GE(i, 0) << name;
  return t.tables.Sections.at(static_cast<std::size_t>(i < 0 ? 0 : i));
}

TEST(SkinOptions, InheritedValues) {
  TablesFromText t(
      "[PANEL]\nCOLOR=-16777201\nFONTCOLOR=-16777208\nTCLEFT=0x0000FF\nSHOWFOCUS=true\nGRADIENTDATA=1;2;100;0;0\n"
      "[BUTTON]\nPARENTCLASS=PANEL\nFONTCOLOR=-16777210\nTCTOP=-1\n"
      "[SELF]\nPARENTCLASS=SELF\nGLOW=0x10\n"
      "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\n");
  const TsGeneralData& button = Section(t, "BUTTON");
  EXPECT_EQ(button.Parent, "PANEL");
  EXPECT_EQ(button.FontColor, static_cast<TColorValue>(0xFF000006));  // own value as written
  EXPECT_EQ(button.Color, 0x0F11);                                    // inherited and converted
  EXPECT_EQ(button.TcLeft, 0x0000FF);                                 // inherited
  EXPECT_EQ(button.TcTop, clNone);  // -1 counts as absent; the default stays unconverted
  EXPECT_EQ(button.TcRight, clNone);
  EXPECT_TRUE(button.FocusVisible);
  ASSERT_EQ(button.GradientArray.size(), 1u);
  EXPECT_EQ(button.GradientArray[0].Color2, 2u);

  const TsGeneralData& panel = Section(t, "PANEL");
  EXPECT_EQ(panel.Color, 0x0F11);  // COLOR is converted once more even when own
  EXPECT_EQ(panel.FontColor, static_cast<TColorValue>(0xFF000008));

  const TsGeneralData& self = Section(t, "SELF");
  EXPECT_EQ(self.Glow, 16);
  EXPECT_EQ(self.StateCount, 4);
  EXPECT_EQ(self.FadingIterations, 5);
  EXPECT_EQ(self.Color, 0xFFFFFF);
  EXPECT_EQ(self.GradientData, " ");
  EXPECT_EQ(self.States[0].GradientPercent, 0);

  // A loop of parents ends with the defaults.
  EXPECT_EQ(Section(t, "A").Color, 0xFFFFFF);
  EXPECT_EQ(ReadInheritedString(t.ini, "A", "X", "def"), "def");
}

TEST(SkinOptions, BooleanKeys) {
  TablesFromText t(
      "[S1]\nGIVEOWNFONT=TRUE\nSHOWFOCUS=1\nFADINGENABLED=yes\n"
      "[S2]\nGIVEOWNFONT=True\nSHOWFOCUS=0\nRESERVEDBOOLEAN= 1\n");
  EXPECT_TRUE(Section(t, "S1").OwnFont);
  EXPECT_TRUE(Section(t, "S1").FocusVisible);
  EXPECT_FALSE(Section(t, "S1").FadingEnabled);
  EXPECT_TRUE(Section(t, "S2").OwnFont);
  EXPECT_FALSE(Section(t, "S2").FocusVisible);
  EXPECT_TRUE(Section(t, "S2").ReservedFlag);  // values are trimmed
}

TEST(SkinOptions, Looks) {
  TablesFromText t(
      "[ONE]\nSTATES=1\nCOLOR=0x10\nHOTCOLOR=0x20\nHOTFONTCOLOR=0x30\nGCOL=0x40\nHGCOL=0x50\nHGSIZE=3\n"
      "[TWO]\nSTATES=2\nCOLOR=0x10\nHOTCOLOR=0x20\nGRADIENTDATA=x\nGRADIENTPERCENT=50\n"
      "HOTGRADIENTDATA=255;16711680;100;1;0\nHOTGRADIENTPERCENT=40\nGSIZE=0x1FF\nTRANSPARENCY=30\n");
  const TsGeneralData& one = Section(t, "ONE");
  EXPECT_EQ(one.StateCount, 1);
  EXPECT_EQ(one.HotColor, 0xFFFFFF);  // hot keys are not read with one state
  EXPECT_EQ(one.HotGlowSize, 0);
  EXPECT_EQ(one.States[1].Color, 0x10);
  EXPECT_EQ(one.States[1].FontColor, one.States[0].FontColor);
  EXPECT_EQ(one.States[1].GlowColor, 0x40);

  const TsGeneralData& two = Section(t, "TWO");
  EXPECT_EQ(two.States[0].Color, 0x10);
  EXPECT_EQ(two.States[1].Color, 0x20);
  EXPECT_EQ(two.States[0].GradientPercent, 0);  // one-character gradient text
  EXPECT_TRUE(two.States[0].GradientArray.empty());
  EXPECT_EQ(two.States[1].GradientPercent, 40);
  ASSERT_EQ(two.States[1].GradientArray.size(), 1u);
  EXPECT_EQ(two.States[1].GradientArray[0].Mode, 1);
  EXPECT_EQ(two.GlowSize, 0xFF);  // low byte
  EXPECT_EQ(two.States[0].Transparency, 30);
}

TEST(SkinOptions, BadGradientFailsTheRead) {
  TacIniFile ini;
  ini.SetText("[S]\nGRADIENTDATA=1;2;x;0;0\n");
  TsSkinTables tables(FakeSystem());
  EXPECT_THROW(ReadSkinSections(ini, tables), fw::EConvertError);
}

TEST(SkinOptions, GlobalInfo) {
  TablesFromText t(
      "[GLOBALINFO]\nVERSION=7.25\nAUTHOR=Someone\nSHADOW1COLOR=0x00FF00\nSHADOW1BLUR=3\n"
      "TITLEHEIGHT=0x10022\nBORDERWIDTH=abc\nBICONCLOSEGLOW=12\n");
  const TsSkinData& g = *t.tables.GlobalInfo;
  EXPECT_DOUBLE_EQ(g.Version, 7.25);
  EXPECT_EQ(g.Author, "Someone");
  EXPECT_EQ(g.Shadow1Color, 0x00FF00);
  EXPECT_EQ(g.Shadow1Blur, 3);
  EXPECT_EQ(g.Shadow1Offset, 0);
  EXPECT_EQ(g.TitleHeight, 0x22);  // low 16 bits
  EXPECT_EQ(g.BorderWidth, 4);     // the integer reader's default
  EXPECT_EQ(g.FormOffset, 4);      // the platform's frame width
  EXPECT_EQ(g.BiCloseGlow, 12);

  TablesFromText none("[X]\n");
  EXPECT_EQ(none.tables.GlobalInfo->Shadow1Blur, -1);
  EXPECT_DOUBLE_EQ(none.tables.GlobalInfo->Version, 0);
}

TEST(SkinOptions, StrictGlobalKeysFailTheLoad) {
  for (const char* key :
       {"SHADOW1OFFSET", "SHADOW1BLUR", "SHADOW1TRANSPARENCY", "BICONCLOSEGLOW", "BICONCLOSEGLOWMARGIN", "BICONMAXGLOW",
        "BICONMAXGLOWMARGIN", "BICONMINGLOW", "BICONMINGLOWMARGIN"}) {
    TacIniFile ini;
    ini.SetText(std::string("[GLOBALINFO]\n") + key + "=2px\n");
    TsSkinData info;
    try {
      ReadGlobalInfo(ini, info, FakeSystem());
      ADD_FAILURE() << key << " accepted";
    } catch (const fw::EConvertError& e) {
      EXPECT_EQ(e.Message(), "'2px' is not a valid integer value") << key;
    }
  }
}

TEST(SkinOptions, CommonSectionsMerge) {
  TablesFromText t("[BUTTON]\nCOLOR=0x10\nHOTCOLOR=0x20\nGLOW=2\nSHOWFOCUS=1\nGRADIENTDATA=1;2;100;0;0\n");
  TacIniFile common("1.tmp");
  common.SetText(
      "[BUTTON]\nCOLOR=0x99\n"
      "[MYBUTTON]\nPARENTCLASS=button\nHOTCOLOR=-1\nCOLOR=0x30\nGSIZE=-1\n"
      "[LONE]\nGLOW=-1\nFONTCOLOR=-16777201\n"
      "[BASED]\nPARENTCLASS=MYBUTTON\nSTATES=1\n");
  MergeCommonSections(common, t.tables);
  auto& s = t.tables;
  ASSERT_EQ(s.Sections.size(), 4u);
  EXPECT_EQ(s.Sections[0].Color, 0x10);  // the skin's own section stays

  const TsGeneralData& mine = Section(t, "MYBUTTON");
  EXPECT_EQ(mine.Parent, "BUTTON");
  EXPECT_EQ(mine.Color, 0x30);
  EXPECT_EQ(mine.HotColor, 0x20);  // -1 takes the base's value
  EXPECT_EQ(mine.Glow, 0);         // absent reads 0 for GLOW
  EXPECT_TRUE(mine.FocusVisible);  // absent boolean: the base's
  EXPECT_EQ(mine.GradientArray.size(), 1u);
  EXPECT_EQ(mine.StateCount, 4);
  EXPECT_EQ(mine.States[1].Color, 0x20);

  const TsGeneralData& lone = Section(t, "LONE");
  EXPECT_EQ(lone.Parent, "-1");
  EXPECT_EQ(lone.Color, 0xFFFFFF);
  EXPECT_EQ(lone.FontColor, static_cast<TColorValue>(0xFF00000F));  // stored as read
  EXPECT_EQ(lone.GradientData, " ");
  EXPECT_EQ(lone.HotGradientData, "");

  const TsGeneralData& based = Section(t, "BASED");  // based on a merged section
  EXPECT_EQ(based.Color, 0x30);
  EXPECT_EQ(based.StateCount, 1);
  EXPECT_EQ(based.States[1].Color, 0x30);
}

TEST(SkinOptions, HueAndSaturationOfColours) {
  TablesFromText t(
      "[GLOBALINFO]\nSHADOW1COLOR=0x0000FF\nBORDERCOLOR=0x808080\n"
      "[S]\nCOLOR=0x0000FF\nFONTCOLOR=0x0000FF\nHOTCOLOR=0x0000FF\nGRADIENTDATA=255;255;100;0;0\n");
  auto& s = t.tables;
  ShiftSkinColorsHue(s, 120);
  const TsGeneralData& sec = s.Sections[1];
  EXPECT_EQ(sec.Color, 0x00FF00);  // red to green
  EXPECT_EQ(sec.States[0].Color, 0x00FF00);
  EXPECT_EQ(sec.States[0].FontColor, 0x00FF00);
  EXPECT_EQ(sec.TcLeft, clNone);  // "none" stays none
  EXPECT_EQ(sec.States[0].TcLeft, clNone);
  EXPECT_EQ(sec.GradientArray[0].Color1, 0x00FF00u);
  EXPECT_EQ(sec.States[0].GradientArray[0].Color1, 0x00FF00u);
  EXPECT_EQ(s.GlobalInfo->Shadow1Color, 0x00FF00);
  EXPECT_EQ(s.GlobalInfo->BorderColor, 0x808080);  // grey keeps its colour

  EXPECT_EQ(ReduceSaturation(150), 49);
  EXPECT_EQ(ReduceSaturation(-150), -49);
  ScaleSkinColorsSaturation(s, -101 - 100);  // reduces to -100: grey
  const TsGeneralData& grey = s.Sections[1];
  EXPECT_EQ(grey.Color, 0x555555);
  EXPECT_EQ(grey.States[1].Color, 0x555555);
  ScaleSkinColorsSaturation(s, 101);  // reduces to 0: nothing changes
  EXPECT_EQ(s.Sections[1].Color, 0x555555);
}

}  // namespace
}  // namespace translit
