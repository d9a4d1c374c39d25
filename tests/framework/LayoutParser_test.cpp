// The reader of stored layouts: every kind of value, and clear errors.
#include "framework/core/LayoutParser.h"

#include <gtest/gtest.h>

namespace {

using fw::ParseLayout;
using fw::StoredValue;

TEST(LayoutParser, ReadsEveryKindOfValue) {
  fw::StoredObject o = ParseLayout(R"(object Form1: TForm1
  Left = -472
  Caption = 'It''s ' +
    #1055#1088'x'
  BorderIcons = [biSystemMenu, biHelp]
  Empty = []
  Ratio = 1.5
  Color = $00FF00FF
  Visible = True
  OnClick = Button1Click
  Font.Height = -11
  Data = {
    0A0b FF}
  Panels = <
    item
      Width = 50
    end
    item
      Text = 'b'
    end>
  Lines.Strings = (
    'one'
    'two')
  object Button1: TButton
    Caption = 'OK'
  end
  inherited Panel: TPanel
  end
end)");
  EXPECT_EQ(o.name, "Form1");
  EXPECT_EQ(o.className, "TForm1");
  ASSERT_EQ(o.properties.size(), 12u);
  const auto& p = o.properties;
  EXPECT_EQ(p[0].value.integer, -472);
  EXPECT_EQ(p[1].value.kind, StoredValue::kString);
  EXPECT_EQ(p[1].value.text, "It's \xD0\x9F\xD1\x80x");  // "It's Прx" in UTF-8
  EXPECT_EQ(p[2].value.names, (std::vector<std::string>{"biSystemMenu", "biHelp"}));
  EXPECT_TRUE(p[3].value.names.empty());
  EXPECT_EQ(p[3].value.kind, StoredValue::kSet);
  EXPECT_DOUBLE_EQ(p[4].value.number, 1.5);
  EXPECT_EQ(p[5].value.integer, 0x00FF00FF);
  EXPECT_EQ(p[6].value.kind, StoredValue::kIdent);
  EXPECT_EQ(p[7].value.text, "Button1Click");
  EXPECT_EQ(p[8].name, "Font.Height");
  EXPECT_EQ(p[9].value.bytes, (std::vector<std::uint8_t>{0x0A, 0x0B, 0xFF}));
  ASSERT_EQ(p[10].value.items.size(), 2u);
  EXPECT_EQ(p[10].value.items[0][0].name, "Width");
  EXPECT_EQ(p[10].value.items[1][0].value.text, "b");
  ASSERT_EQ(p[11].value.list.size(), 2u);
  EXPECT_EQ(p[11].value.list[1].text, "two");
  ASSERT_EQ(o.children.size(), 2u);
  EXPECT_EQ(o.children[0].className, "TButton");
  EXPECT_TRUE(o.children[1].inherited);
  EXPECT_EQ(o.properties[11].line, 21);
}

TEST(LayoutParser, DamagedTextNamesTheLine) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"object A: TA\n  Caption = 'open\nend", "line 2: unterminated string"},
      {"object A: TA\n  Data = {0A0}\nend", "line 2: odd number of hexadecimal digits"},
      {"object A: TA\n  X = ]\nend", "line 2: value expected"},
      {"object A: TA\n  X = 1\n", "\"end\" expected"},
      {"thing A: TA end", "line 1: \"object\" expected"},
      {"object A: TA end trailing", "text after the last \"end\""},
      {"object A: TA\n X = #99999999\nend", "character code expected"},
  };
  for (const Case& c : cases) {
    try {
      ParseLayout(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const fw::ELayoutError& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << c.text << " -> " << e.Message();
    }
  }
}

TEST(LayoutParser, DeepNestingIsAnErrorNotAStackOverflow) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "object A: TA\n";
  EXPECT_THROW(ParseLayout(text), fw::ELayoutError);
  std::string lists = "object A: TA\n X = " + std::string(100000, '(') + "\nend";
  EXPECT_THROW(ParseLayout(lists), fw::ELayoutError);
}

}  // namespace
