// The image value syntaxes: which values become pieces and with what fields.
#include "skin/sImageValue.h"

#include <gtest/gtest.h>

#include "framework/core/SysUtils.h"

namespace translit {
namespace {

TacImageValue Parse(std::string_view value, bool commonOnly = false) {
  auto r = ParseImageValue("Sec", "Key", value, commonOnly);
  EXPECT_TRUE(r.has_value()) << value;
  return r.value_or(TacImageValue{});
}

TEST(ImageValue, NotImages) {
  for (const char* v : {"", "#", "12", "texture.jpg", "!glyph.png!3!1!0", "!GLYPH.GIF!1", "!!!", "plain.png"})
    EXPECT_FALSE(ParseImageValue("S", "K", v).has_value()) << v;
  // Common sections know only the "#" and plain file syntaxes.
  for (const char* v : {"!GLYPH.PNG!3", "@0001,0002,0003,0004,1,0", "~0001,0002,0003,0004,01"})
    EXPECT_FALSE(ParseImageValue("S", "K", v, true).has_value()) << v;
}

TEST(ImageValue, OwnFileWithFourWords) {
  TacImageValue v = Parse("!GLYPH.PNG!3!1!0");
  EXPECT_EQ(v.Syntax, TacImageSyntax::OwnFile);
  EXPECT_EQ(v.FileName, "GLYPH.PNG");
  EXPECT_EQ(v.Mask.Section, "Sec");  // names as written
  EXPECT_EQ(v.Mask.StateCount, 3);
  EXPECT_EQ(v.Mask.ExtraLayers, 1);
  EXPECT_EQ(v.Mask.Format, 0);
  EXPECT_EQ(v.Mask.FillMode, 1);
  EXPECT_TRUE(v.MarginsFromImage);
  FinishOwnBitmapPiece(v, 90, 60);
  EXPECT_EQ(v.Mask.SrcRight, 90);
  EXPECT_EQ(v.Mask.SrcBottom, 60);
  EXPECT_EQ(v.Mask.MarginLeft, 10);  // 90 div (3 x 3)
  EXPECT_EQ(v.Mask.MarginRight, 10);
  EXPECT_EQ(v.Mask.MarginTop, 10);  // 60 div (2 x 3)
  EXPECT_EQ(v.Mask.MarginBottom, 10);
}

TEST(ImageValue, OwnFileWithAllWords) {
  TacImageValue v = Parse("!a.BMP!2!0!9!4!5!6!7!3");
  EXPECT_EQ(v.Mask.Format, 4);  // above 4 becomes 4
  EXPECT_FALSE(v.MarginsFromImage);
  EXPECT_EQ(v.Mask.MarginLeft, 4);
  EXPECT_EQ(v.Mask.MarginTop, 5);
  EXPECT_EQ(v.Mask.MarginRight, 6);
  EXPECT_EQ(v.Mask.MarginBottom, 7);
  EXPECT_EQ(v.Mask.FillMode, 3);
  EXPECT_EQ(Parse("!a.BMP!2!0!-3").Mask.Format, 0);
  // Missing and non-numeric words read 0.
  EXPECT_EQ(Parse("!a.BMP!x").Mask.StateCount, 0);
}

TEST(ImageValue, ZeroStatesFailOnlyWhereMarginsAreComputed) {
  TacImageValue v = Parse("!a.BMP!0!0");
  EXPECT_THROW(FinishOwnBitmapPiece(v, 30, 30), fw::Exception);
  TacImageValue layers = Parse("!a.BMP!1!-1");
  EXPECT_THROW(FinishOwnBitmapPiece(layers, 30, 30), fw::Exception);
  TacImageValue given = Parse("!a.BMP!0!0!0!1!1!1!1");
  EXPECT_NO_THROW(FinishOwnBitmapPiece(given, 30, 30));
  EXPECT_THROW(ParseImageValue("S", "K", "^0000,0000,0030,0030,0000,0000,0000,0000,0,0,1,0"), fw::Exception);
}

TEST(ImageValue, FixedSyntaxes) {
  TacImageValue at = Parse("@0010,0020,0070,0040,3,1");
  EXPECT_EQ(at.Syntax, TacImageSyntax::Master);
  EXPECT_EQ(at.Mask.SrcLeft, 10);
  EXPECT_EQ(at.Mask.SrcTop, 20);
  EXPECT_EQ(at.Mask.SrcRight, 70);
  EXPECT_EQ(at.Mask.SrcBottom, 40);
  EXPECT_EQ(at.Mask.StateCount, 3);
  EXPECT_EQ(at.Mask.ExtraLayers, 1);
  EXPECT_EQ(at.Mask.Format, 2);
  EXPECT_EQ(at.Mask.MarginLeft + at.Mask.MarginTop + at.Mask.MarginRight + at.Mask.MarginBottom, 0);

  TacImageValue caret = Parse("^0000,0000,0090,0060,0000,0000,0000,0000,3,1,2,0");
  EXPECT_EQ(caret.Mask.Format, 0);
  EXPECT_EQ(caret.Mask.FillMode, 2);
  EXPECT_EQ(caret.Mask.MarginLeft, 10);  // computed: 90 div 9
  EXPECT_EQ(caret.Mask.MarginTop, 10);   // 60 div 6
  TacImageValue uniform = Parse("^0000,0000,0090,0060,0000,0000,0000,0000,3,1,2,7");
  EXPECT_EQ(uniform.Mask.MarginBottom, 7);
  TacImageValue given = Parse("^0000,0000,0090,0060,0001,0002,0003,0004,3,1,2,7");
  EXPECT_EQ(given.Mask.MarginLeft, 1);
  EXPECT_EQ(given.Mask.MarginBottom, 4);

  TacImageValue tex = Parse("~0001,0002,0003,0004,12");
  EXPECT_EQ(tex.Mask.Format, 1);
  EXPECT_EQ(tex.Mask.FillMode, 12);
  EXPECT_EQ(tex.Mask.ExtraLayers, 0);
  EXPECT_EQ(tex.Mask.StateCount, 1);
  EXPECT_EQ(Parse("~0001,0002,0003,0004,12,2").Mask.ExtraLayers, 2);
}

TEST(ImageValue, FixedFieldsAreStrict) {
  for (const char* v : {"@00x0,0020,0070,0040,3,1", "@0010,0020,0070,0040,3", "^0010", "~0001,0002,0003,0004,1x"}) {
    try {
      ParseImageValue("S", "K", v);
      ADD_FAILURE() << "no error for " << v;
    } catch (const fw::EConvertError& e) {
      EXPECT_NE(e.Message().find("is not a valid integer value"), std::string::npos) << v;
    }
  }
}

TEST(ImageValue, RectangleSyntax) {
  TacImageValue v = Parse("master#(10,20,70,40) (0,-1)");
  EXPECT_EQ(v.Syntax, TacImageSyntax::Rect);
  EXPECT_EQ(v.Mask.Section, "SEC");
  EXPECT_EQ(v.Mask.Prop, "KEY");
  EXPECT_EQ(v.Mask.SrcLeft, 10);
  EXPECT_EQ(v.Mask.SrcTop, 20);
  EXPECT_EQ(v.Mask.SrcRight, 70);
  EXPECT_EQ(v.Mask.SrcBottom, 40);
  EXPECT_EQ(v.Mask.StateCount, 1);   // 0 becomes 1
  EXPECT_EQ(v.Mask.ExtraLayers, 0);  // -1 becomes 0
  EXPECT_EQ(v.Mask.UniformMargin, 0);
  EXPECT_EQ(v.Mask.FillMode, 1);
  EXPECT_EQ(v.Mask.Format, 0);
  EXPECT_EQ(v.Mask.MarginLeft, 20);  // 60 div 3
  EXPECT_EQ(v.Mask.MarginTop, 6);    // 20 div 3

  TacImageValue p = Parse("x#(0 0,30,30)(2,1,4,0)", true);
  EXPECT_EQ(p.Mask.SrcRight, 0);  // a blank ends the rectangle word
  TacImageValue q = Parse("x#(0,0,30,30)(2,1,4,0)", true);
  EXPECT_EQ(q.Mask.StateCount, 2);
  EXPECT_EQ(q.Mask.UniformMargin, 4);
  EXPECT_EQ(q.Mask.MarginRight, 4);
  EXPECT_EQ(q.Mask.FillMode, 0);
}

TEST(ImageValue, PlainBitmapFile) {
  TacImageValue v = Parse("glyphs\\Check.bmp");
  EXPECT_EQ(v.Syntax, TacImageSyntax::PlainFile);
  EXPECT_EQ(v.FileName, "GLYPHS\\CHECK.BMP");
  EXPECT_EQ(v.Mask.Prop, "KEY");
  EXPECT_EQ(v.Mask.StateCount, 3);
  EXPECT_EQ(v.Mask.ExtraLayers, 1);
  EXPECT_EQ(v.Mask.FillMode, 0);
  FinishOwnBitmapPiece(v, 60, 24);
  EXPECT_EQ(v.Mask.MarginLeft, 6);
  EXPECT_EQ(v.Mask.MarginTop, 4);
}

}  // namespace
}  // namespace translit
