// Where the caption goes in a skinned title: the text area after the icon
// and before the title buttons, and its alignment, mirrored for forms that
// read from right to left.
#include <gtest/gtest.h>

#include "forms/acFrameCaption.h"

namespace translit {
namespace {

TEST(CaptionPlace, AlignmentMovesTheEndsOfTheTextRectangle) {
  struct Case {
    const char* name;
    fw::TAlignment alignment;
    bool rtl;
    int captionWidth, addedWidth;
    LONG left, right;
  } cases[] = {
      {"left", fw::taLeftJustify, false, 50, 0, 100, 300},
      {"right", fw::taRightJustify, false, 50, 0, 246, 300},
      {"right with added text", fw::taRightJustify, false, 50, 30, 216, 300},
      {"right, wider than the room", fw::taRightJustify, false, 250, 0, 100, 300},
      {"centre", fw::taCenter, false, 50, 0, 173, 223},
      {"centre, wider than the room: the left end stays", fw::taCenter, false, 260, 0, 100, 300},
      {"right-to-left reads left as right", fw::taLeftJustify, true, 50, 0, 246, 300},
      {"right-to-left reads right as left", fw::taRightJustify, true, 50, 0, 100, 300},
      {"right-to-left keeps the centre", fw::taCenter, true, 50, 0, 173, 223},
  };
  for (const Case& c : cases) {
    RECT r{100, 4, 300, 20};
    AlignCaptionRect(r, c.captionWidth, c.addedWidth, c.alignment, c.rtl);
    EXPECT_EQ(r.left, c.left) << c.name;
    EXPECT_EQ(r.right, c.right) << c.name;
    EXPECT_EQ(r.top, 4) << c.name;
  }
}

TEST(CaptionPlace, TheTextAreaStartsAfterTheBorderAndIconAndEndsBeforeTheButtons) {
  TacFrameMetrics m;
  m.FrameBorder = 3;
  m.TopFrame = 3;
  m.Caption = 19;
  m.FrameWidth = 380;
  // A dialog: no icon; the caption section adds two pixels.
  RECT dialog = CaptionTextArea(m, 0, 2, true, 23);
  EXPECT_EQ(dialog.left, 3 + 2 + 4 + 2);
  EXPECT_EQ(dialog.right, 380 - 23 - 12);
  EXPECT_EQ(dialog.top, 2);
  EXPECT_EQ(dialog.bottom, 22);
  RECT plain = CaptionTextArea(m, 16, 2, false, 23);
  EXPECT_EQ(plain.left, 3 + 16 + 2 + 4);
  m.Maximised = true;
  EXPECT_EQ(CaptionTextArea(m, 0, 2, false, 23).top, 3);
}

}  // namespace
}  // namespace translit
