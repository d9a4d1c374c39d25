// Form shadow templates: built by the skin manager after every load from
// the skin's "EXBORDER" piece (both border modes, one or two states, a piece
// cut from the master bitmap or with its own picture) or from the default
// shadows the program carries as resources; empty without an active manager
// or effective extended borders.
#include "skin/sShadowTemplates.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "render/pixels/PngDecoder.h"
#include "skin/sLayeredSupport.h"
#include "skin/sSkinManager.h"
#include "tests/skin/SkinFolders.h"
#include "tests/support/TempFolder.h"

namespace translit {
namespace {

using test::WriteBytes;
using test::WriteText;
using testing_files::TempFolder;

constexpr std::uint32_t kInactive = 0xC0203040, kActive = 0xE0506070, kClearWhite = 0x00FFFFFF;

// Two states of 20 x 18 side by side: the inactive one, then the active
// one; pixel (1, 1) of each is white with alpha 0.
std::uint32_t TwoStates(int x, int y) {
  if (y == 1 && (x == 1 || x == 21)) return kClearWhite;
  return x < 20 ? kInactive : kActive;
}

std::string Options(const std::string& exBorder, int borderMode) {
  std::string text = "[GLOBALINFO]\r\nVERSION=7.2\r\nMASTERBITMAP=MASTER.BMP\r\nFORMOFFSET=4\r\n";
  text += "BORDERMODE=" + std::to_string(borderMode) + "\r\n";
  if (!exBorder.empty()) text += "EXBORDER=" + exBorder + "\r\n";
  return text + "[FORM]\r\nCOLOR=0xFFFFFF\r\n";
}

// Every pixel of a picture, row by row, as stored.
std::vector<std::uint32_t> Pixels(fw::TBitmap* b) {
  std::vector<std::uint32_t> out;
  if (!b) return out;
  const PixelView v = b->View();
  for (int y = 0; y < v.height; ++y)
    for (int x = 0; x < v.width; ++x) out.push_back(v.At(x, y));
  return out;
}

// What a picture of w x h should hold: fill everywhere but (1, 1), which
// is 0.
std::vector<std::uint32_t> Expected(int w, int h, std::uint32_t fill) {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(w * h), fill);
  out[static_cast<std::size_t>(w + 1)] = 0;
  return out;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// A default shadow as the generated PNG file holds it, decoded here on its
// own, white of alpha 0 turned to 0.
std::vector<std::uint32_t> GeneratedShadow(const char* file, int& w, int& h) {
  fw::TMemoryStream s;
  s.LoadFromFile(std::string(TRANSLIT_SKINS_WINDOWS_DIR) + "\\" + file);
  const std::vector<std::uint8_t> bytes = s.Bytes();
  PngBitmap png = DecodePng(bytes.data(), bytes.size());
  w = png.Layout.Width;
  h = png.Layout.Height;
  std::vector<std::uint32_t> pixels = png.ToBGRA32();
  for (std::uint32_t& p : pixels)
    if (p == kClearWhite) p = 0;
  return pixels;
}

class ShadowTemplates : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::EnsureApplication();
    savedLoadError = TsSkinManager::ShowLoadError;
    TsSkinManager::ShowLoadError = [this](const std::string& m) { errors.push_back(m); };
  }
  void TearDown() override {
    delete manager;
    OverrideLayeredWindows(std::nullopt);
    TsSkinManager::ShowLoadError = savedLoadError;
    EXPECT_TRUE(errors.empty()) << errors.front();
  }

  // A skin "name" whose master bitmap (32-bit, 60 x 40) holds the two
  // states at (10, 12) and whose own picture EXBORDER.PNG holds them at
  // its origin.
  void WriteSkin(const std::string& name, const std::string& options) {
    const std::string folder = tmp.Path() + name + "\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    WriteText(folder + "Options.dat", options);
    WriteBytes(folder + "MASTER.BMP", test::MakeBmp(60, 40, 32, [](int x, int y) {
                 return x >= 10 && y >= 12 && x < 50 && y < 30 ? TwoStates(x - 10, y - 12) : 0xFF808080u;
               }));
    WriteBytes(folder + "EXBORDER.PNG", test::MakePng(40, 18, true, TwoStates));
  }

  TsSkinManager& Load(const std::string& name, bool extendedBorders = true) {
    if (!manager) {
      manager = new TsSkinManager(nullptr);
      manager->SetSkinDirectory(tmp.Path());
    }
    manager->SetExtendedBorders(extendedBorders);
    manager->SetSkinName(name);
    return *manager;
  }

  void ExpectEmpty(const char* why) {
    EXPECT_TRUE(SameRect(manager->FormShadowSize(), RECT{})) << why << ": " << Show(manager->FormShadowSize());
    EXPECT_EQ(manager->ShadowActiveTemplate(), nullptr) << why;
    EXPECT_EQ(manager->ShadowInactiveTemplate(), nullptr) << why;
  }

  TempFolder tmp;
  std::function<void(const std::string&)> savedLoadError;
  std::vector<std::string> errors;
  TsSkinManager* manager = nullptr;
};

// The skin's piece, cut from the master bitmap or a picture of its own, in
// both border modes: margins (14, 12, 10, 16) less the form offset 4, or the
// form offset on every side.
TEST_F(ShadowTemplates, FromTheSkinsPieceInBothBorderModes) {
  struct Case {
    const char* exBorder;
    int borderMode;
    RECT sides;
  } cases[] = {
      {"!EXBORDER.PNG!2!0!0!14!12!10!16!0", 0, RECT{10, 8, 6, 12}},
      {"!EXBORDER.PNG!2!0!0!14!12!10!16!0", 1, RECT{4, 4, 4, 4}},
      {"^0010,0012,0050,0030,0014,0012,0010,0016,2,0,0,0", 0, RECT{10, 8, 6, 12}},
      {"^0010,0012,0050,0030,0014,0012,0010,0016,2,0,0,0", 2, RECT{4, 4, 4, 4}},
      // Margins left to the 3 x 3 grid: 40 / 6 = 6 across, 18 / 3 = 6 down.
      {"!EXBORDER.PNG!2!0!0", 0, RECT{2, 2, 2, 2}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string name = "Skin" + std::to_string(++n);
    SCOPED_TRACE(std::string(c.exBorder) + " mode " + std::to_string(c.borderMode));
    WriteSkin(name, Options(c.exBorder, c.borderMode));
    TsSkinManager& m = Load(name);
    ASSERT_GE(m.ConstIndexes.ExBorder, 0);
    EXPECT_TRUE(SameRect(m.FormShadowSize(), c.sides)) << Show(m.FormShadowSize());
    ASSERT_NE(m.ShadowInactiveTemplate(), nullptr);
    ASSERT_NE(m.ShadowActiveTemplate(), nullptr);
    EXPECT_EQ(m.ShadowInactiveTemplate()->Width(), 20);
    EXPECT_EQ(m.ShadowInactiveTemplate()->Height(), 18);
    EXPECT_EQ(Pixels(m.ShadowInactiveTemplate()), Expected(20, 18, kInactive));
    EXPECT_EQ(Pixels(m.ShadowActiveTemplate()), Expected(20, 18, kActive));
  }
}

TEST_F(ShadowTemplates, APieceOfOneStateServesActiveAndInactiveForms) {
  WriteSkin("One", Options("^0010,0012,0030,0030,0000,0000,0000,0000,1,0,0,5", 0));
  TsSkinManager& m = Load("One");
  // The uniform margin 5 on every side, less the form offset.
  EXPECT_TRUE(SameRect(m.FormShadowSize(), RECT{1, 1, 1, 1})) << Show(m.FormShadowSize());
  EXPECT_EQ(Pixels(m.ShadowInactiveTemplate()), Expected(20, 18, kInactive));
  EXPECT_EQ(Pixels(m.ShadowActiveTemplate()), Expected(20, 18, kInactive));
}

TEST_F(ShadowTemplates, WithoutAPieceTheDefaultShadowsAreUsed) {
  int aw = 0, ah = 0, iw = 0, ih = 0;
  const std::vector<std::uint32_t> active = GeneratedShadow("acSHDA.png", aw, ah);
  const std::vector<std::uint32_t> inactive = GeneratedShadow("acSHDI.png", iw, ih);
  ASSERT_NE(active, inactive) << "the two generated shadows should differ";

  // A piece cut from outside the master bitmap is no shadow either.
  for (const std::string& exBorder : {std::string(), std::string("@0070,0000,0090,0010,2,0")}) {
    SCOPED_TRACE("EXBORDER=" + exBorder);
    const std::string name = exBorder.empty() ? "Plain" : "Outside";
    WriteSkin(name, Options(exBorder, 0));
    TsSkinManager& m = Load(name);
    const LONG more = DwmCompositionEnabled() ? 1 : 0;
    EXPECT_TRUE(SameRect(m.FormShadowSize(), RECT{11 + more, 10 + more, 11 + more, 12 + more}))
        << Show(m.FormShadowSize());
    ASSERT_NE(m.ShadowActiveTemplate(), nullptr);
    ASSERT_NE(m.ShadowInactiveTemplate(), nullptr);
    EXPECT_EQ(m.ShadowActiveTemplate()->Width(), aw);
    EXPECT_EQ(m.ShadowActiveTemplate()->Height(), ah);
    EXPECT_EQ(Pixels(m.ShadowActiveTemplate()), active);
    EXPECT_EQ(Pixels(m.ShadowInactiveTemplate()), inactive);
    // The templates are copies: the defaults stay for the next load.
    EXPECT_NE(m.ShadowActiveTemplate(), DefaultShadowActive());
  }
  ASSERT_NE(DefaultShadowActive(), nullptr);
  EXPECT_EQ(DefaultShadowInactive()->Width(), iw);
  EXPECT_EQ(DefaultShadowInactive()->Height(), ih);
}

// Composition on makes each side of the defaults one wider.
TEST_F(ShadowTemplates, DefaultSidesGrowWithComposition) {
  TsSkinManager starter(nullptr);  // the engine's start decodes the defaults
  TsSkinTables skin(WindowsSystemValues());
  for (bool composition : {false, true}) {
    TsShadowTemplates t;
    t.Rebuild(skin, true, composition);
    const LONG more = composition ? 1 : 0;
    EXPECT_TRUE(SameRect(t.FormShadowSize(), RECT{11 + more, 10 + more, 11 + more, 12 + more}))
        << "composition " << composition << ": " << Show(t.FormShadowSize());
    EXPECT_NE(t.Active(), nullptr);
    t.Rebuild(skin, false, composition);
    EXPECT_TRUE(SameRect(t.FormShadowSize(), RECT{}));
    EXPECT_EQ(t.Active(), nullptr);
  }
}

// Rebuilt after every load and every change that decides whether they take
// effect; freed when the manager goes inactive.
TEST_F(ShadowTemplates, FollowEveryLoadAndSetting) {
  WriteSkin("Piece", Options("!EXBORDER.PNG!2!0!0!14!12!10!16!0", 0));
  WriteSkin("Plain", Options("", 0));
  TsSkinManager& m = Load("Piece", false);
  ExpectEmpty("extended borders off");

  m.SetExtendedBorders(true);
  EXPECT_TRUE(SameRect(m.FormShadowSize(), RECT{10, 8, 6, 12})) << Show(m.FormShadowSize());

  m.SetSkinName("Plain");
  EXPECT_EQ(m.FormShadowSize().left, DwmCompositionEnabled() ? 12 : 11);
  ASSERT_NE(m.ShadowActiveTemplate(), nullptr);
  EXPECT_EQ(m.ShadowActiveTemplate()->Width(), DefaultShadowActive()->Width());

  m.SetSkinName("Piece");
  EXPECT_EQ(Pixels(m.ShadowActiveTemplate()), Expected(20, 18, kActive));

  // Without layered windows the extended borders do not take effect.
  OverrideLayeredWindows(false);
  m.SetSkinName("Piece");
  ExpectEmpty("no layered windows");
  OverrideLayeredWindows(std::nullopt);
  m.SetSkinName("Piece");
  EXPECT_NE(m.ShadowActiveTemplate(), nullptr);

  m.SetActive(false);
  ExpectEmpty("inactive manager");
  m.SetActive(true);
  EXPECT_NE(m.ShadowActiveTemplate(), nullptr);

  // A skin found nowhere leaves the manager inactive, and no shadow.
  m.SetSkinName("Nowhere");
  EXPECT_FALSE(m.Active());
  ExpectEmpty("no skin");
}

}  // namespace
}  // namespace translit
