// A control's text in its section's colours: shadows and font colour turned
// by the control's hue offset, the disabled colour, the plain and embossed
// text of an unskinned control, and the underlined hot web button.
#include "controls/skindata/SkinControlText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/skindata/sCommonData.h"
#include "render/paint/SkinPaintText.h"
#include "framework/Application.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "skin/sSkinManager.h"
#include "tests/support/SkinDataControl.h"
#include "tests/skin/SkinFolders.h"
#include "tests/support/TempFolder.h"

namespace translit {
namespace {

using test::WriteText;
using testing_files::TempFolder;

using TLabelled = test::TSkinDataControl;

// A control without a window that carries skin data.
class TWindowlessLabelled : public fw::TGraphicControl {
 public:
  explicit TWindowlessLabelled(fw::TComponent* owner) : fw::TGraphicControl(owner), FSkinData(this, false) {}
  TsCtrlSkinData& SkinData() { return FSkinData; }

 private:
  TsCtrlSkinData FSkinData;
};

// Pixels of one colour (colour order) in a picture.
int Count(fw::TBitmap* b, std::uint32_t color) {
  TacFast32 f;
  f.Bind(b);
  int n = 0;
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x) n += (f.ReadPixel(x, y) & 0xFFFFFF) == color;
  return n;
}

class ControlText : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication();
    std::string folder = tmp.Folder("T");
    WriteText(folder + "Options.dat",
              "[GLOBALINFO]\r\nCOLOR=0xFFFFFF\r\n"
              "[LABEL]\r\nCOLOR=0xFFFFFF\r\nFONTCOLOR=0x0000FF\r\nTCLEFT=0xFF0000\r\n"
              "[WEBBUTTON]\r\nFONTCOLOR=0x000000\r\nHOTFONTCOLOR=0x000000\r\n"
              "[PANEL]\r\nCOLOR=0xFFFFFF\r\nFONTCOLOR=0x00FF00\r\n"
              "[CLEAR]\r\nTRANSPARENCY=100\r\nFONTCOLOR=0x0000FF\r\n");
    manager = new TsSkinManager(nullptr);
    manager->SetSkinDirectory(tmp.Path());
    manager->SetSkinName("T");
    form = new fw::TForm(fw::Application);
    control = new TLabelled(form);
    control->SetParent(form);
    form->Show();
    picture = NewBitmap32(60, 20);
  }
  void TearDown() override {
    delete form;
    delete manager;
  }
  // The text of data written on white.
  void Write(bool enabled, bool hot, TsCommonData& data) {
    FillBitmapRect(picture.get(), RECT{0, 0, 60, 20}, 0xFFFFFF);
    WriteControlText(picture->Canvas(), "WWW", enabled, hot, data, DT_LEFT | DT_TOP | DT_SINGLELINE,
                     RECT{2, 2, 58, 18});
  }
  void Write(bool enabled, bool hot) { Write(enabled, hot, control->SkinData()); }

  TempFolder tmp;
  TsSkinManager* manager = nullptr;
  fw::TForm* form = nullptr;
  TLabelled* control = nullptr;
  std::unique_ptr<fw::TBitmap> picture;
};

TEST_F(ControlText, SkinColoursTurnedByTheControlsHue) {
  control->SkinData().SetSkinSection("LABEL");
  ASSERT_GE(control->SkinData().SkinIndex, 0);
  Write(true, false);
  EXPECT_GT(Count(picture.get(), 0x0000FF), 10) << "the font colour";
  EXPECT_GT(Count(picture.get(), 0xFF0000), 0) << "the left shadow";

  // Turned by 120 degrees: red text becomes green, the blue shadow red.
  control->SkinData().SetHUEOffset(120);
  Write(true, false);
  EXPECT_GT(Count(picture.get(), 0x00FF00), 10) << "the red font colour turned green";
  EXPECT_GT(Count(picture.get(), 0x0000FF), 0) << "the blue shadow turned red";
  EXPECT_EQ(Count(picture.get(), 0xFF0000), 0) << "no colour left unturned";
  control->SkinData().SetHUEOffset(0);

  // Disabled: 40 % of the normal font colour over 60 % of the global colour:
  // red 255, green and blue 0.6 x 255 = 153.
  Write(false, false);
  EXPECT_GT(Count(picture.get(), 0x9999FF), 10);
  EXPECT_EQ(Count(picture.get(), 0xFF0000), 0) << "no shadows when disabled";
}

TEST_F(ControlText, TransparentTextOnItsParentTakesTheParentsColours) {
  auto* panel = new TLabelled(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 100, 60);
  panel->SkinData().SetSkinSection("PANEL");
  panel->HandleNeeded();
  ASSERT_GE(panel->SkinData().SkinIndex, 0);
  const std::uint32_t own = 0x0000FF, parents = 0x00FF00;
  const struct {
    const char* what;
    int kind;  // -1: a control without a window
    std::uint32_t expected;
  } cases[] = {
      {"windowless", -1, parents},   {"check box", 32, parents}, {"grid check box", 152, parents},
      {"radio button", 33, parents}, {"group box", 74, parents}, {"frame group box", 226, parents},
      {"button", kKindButton, own},  {"edit", 2, own},           {"no kind", 0, own},
  };
  for (const auto& c : cases) {
    std::unique_ptr<fw::TControl> owner;
    TsCommonData* data = nullptr;
    if (c.kind < 0) {
      auto* windowless = new TWindowlessLabelled(nullptr);
      owner.reset(windowless);
      data = &windowless->SkinData();
    } else {
      auto* windowed = new TLabelled(nullptr, c.kind);
      owner.reset(windowed);
      data = &windowed->SkinData();
    }
    owner->SetParent(panel);
    data->SetSkinSection("CLEAR");
    ASSERT_TRUE(data->Skinned()) << c.what;
    Write(true, false, *data);
    EXPECT_GT(Count(picture.get(), c.expected), 10) << c.what;
    EXPECT_EQ(Count(picture.get(), c.expected == own ? parents : own), 0) << c.what;
  }
}

TEST_F(ControlText, UnskinnedTextIsPlainOrEmbossed) {
  manager->SetActive(false);
  picture->Canvas().Font().SetColor(fw::clBlack);
  Write(true, false);
  EXPECT_GT(Count(picture.get(), 0x000000), 10);
  Write(false, false);
  EXPECT_GT(Count(picture.get(), ::GetSysColor(COLOR_BTNSHADOW)), 10);
  EXPECT_EQ(Count(picture.get(), 0x000000), 0);
  EXPECT_EQ(picture->Canvas().Font().Color(), fw::clBlack) << "the canvas keeps its colour";
}

TEST_F(ControlText, HotWebButtonIsUnderlined) {
  control->SkinData().SetSkinSection("WEBBUTTON");
  Write(true, false);
  const int plain = Count(picture.get(), 0x000000);
  Write(true, true);
  EXPECT_GT(Count(picture.get(), 0x000000), plain);
  EXPECT_FALSE(picture->Canvas().Font().Style() & fw::fsUnderline) << "the font's style comes back";
}

}  // namespace
}  // namespace translit
