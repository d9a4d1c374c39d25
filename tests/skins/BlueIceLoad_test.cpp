// The generated skin "BlueIce" under the platform: the engine's own loader
// reads the folder and the packed file (BMP, PNG and JPEG decoded the way
// the program decodes them), and the skin item painter draws every section
// of it without letting the key colour through.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "framework/Application.h"
#include "framework/Graphics.h"
#include "render/paint/SkinPaintItem.h"
#include "skin/sSkinLoader.h"
#include "skin/sSkinManager.h"

namespace translit {
namespace {

// The folder holding BlueIce/ and BlueIce.asz, as a path of the Wine drive
// that maps the host's root.
const std::string kSkinDirectory = TRANSLIT_SKINS_WINDOWS_DIR;

TsSkinLoadSettings Settings() {
  TsSkinLoadSettings s;
  s.SkinDirectory = kSkinDirectory;
  s.SkinName = "BlueIce";
  return s;
}

std::uint32_t PixelAt(fw::TBitmap& b, int x, int y) {
  if (b.PixelFormat() == fw::pf32bit) return static_cast<const std::uint32_t*>(b.ScanLine(y))[x];
  const auto* row = static_cast<const std::uint8_t*>(b.ScanLine(y));
  return 0xFF000000u | row[x * 3 + 2] << 16 | row[x * 3 + 1] << 8 | row[x * 3];
}

bool SamePixels(fw::TBitmap& a, fw::TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (PixelAt(a, x, y) != PixelAt(b, x, y)) return false;
  return true;
}

TEST(BlueIceLoad, FolderAndPackedGiveTheSameTables) {
  TsSkinTables folder(WindowsSystemValues()), packed(WindowsSystemValues());
  TsSkinLoadSettings fs = Settings(), ps = Settings();
  bool fromPacked = true;
  ASSERT_EQ(LoadSkinFromFolder(folder, fs, fromPacked), TsLoadOutcome::Loaded);
  EXPECT_FALSE(fromPacked);
  LoadSkinFromPacked(packed, ps);

  ASSERT_TRUE(folder.MasterBitmap && packed.MasterBitmap);
  EXPECT_GT(folder.MasterBitmap->Width(), 0);
  EXPECT_TRUE(SamePixels(*folder.MasterBitmap, *packed.MasterBitmap));
  EXPECT_DOUBLE_EQ(folder.GlobalInfo->Version, 7.2);
  EXPECT_EQ(folder.Sections.size(), packed.Sections.size());

  ASSERT_EQ(folder.Masks.size(), packed.Masks.size());
  int ownBitmaps = 0;
  for (std::size_t i = 0; i < folder.Masks.size(); ++i) {
    const TsMaskData& f = folder.Masks[i];
    const TsMaskData& p = packed.Masks[i];
    const std::string name = f.Section + "/" + f.Prop;
    EXPECT_EQ(f.Section, p.Section);
    EXPECT_EQ(f.Prop, p.Prop);
    EXPECT_EQ(f.SrcRight, p.SrcRight) << name;
    EXPECT_EQ(f.SrcBottom, p.SrcBottom) << name;
    EXPECT_EQ(f.MarginLeft, p.MarginLeft) << name;
    EXPECT_EQ(f.MarginTop, p.MarginTop) << name;
    ASSERT_EQ(static_cast<bool>(f.OwnBitmap), static_cast<bool>(p.OwnBitmap)) << name;
    if (f.OwnBitmap) {
      ++ownBitmaps;
      EXPECT_GE(f.OwnBitmap->Width(), f.SrcRight) << name;
      EXPECT_GE(f.OwnBitmap->Height(), f.SrcBottom) << name;
      EXPECT_TRUE(SamePixels(*f.OwnBitmap, *p.OwnBitmap)) << name;
    } else {
      EXPECT_LE(f.SrcRight, folder.MasterBitmap->Width()) << name;
      EXPECT_LE(f.SrcBottom, folder.MasterBitmap->Height()) << name;
    }
  }
  EXPECT_GT(ownBitmaps, 0);

  ASSERT_EQ(folder.Patterns.size(), 1u);
  ASSERT_EQ(packed.Patterns.size(), 1u);
  const fw::TBitmap& picture = *folder.Patterns[0].Image;
  EXPECT_GE(std::int64_t{picture.Width()} * picture.Height(), 900000);
  EXPECT_TRUE(SamePixels(*folder.Patterns[0].Image, *packed.Patterns[0].Image));
}

// Every section, in each state it has (up to three), painted over a plain
// parent: no pixel of the result is the key colour, and a section with a
// frame whose outer corner is a hole shows the parent there.
TEST(BlueIceLoad, EverySectionPaintsWithoutTheKey) {
  fw::EnsureApplication();
  TsSkinManager manager(nullptr);
  TsSkinLoadSettings s = Settings();
  LoadSkinFromPacked(manager, s);
  ASSERT_GT(manager.Sections.size(), 50u);

  constexpr std::uint32_t kParent = 0x00C08040;
  auto parent = NewBitmap32(90, 40);
  FillBitmapRect(parent.get(), RECT{0, 0, 90, 40}, static_cast<fw::TColor>(0x004080C0));  // BGR of kParent
  const ParentCache cache{parent.get(), 0, 0, 0x00FF00FF, true};
  for (std::size_t i = 0; i < manager.Sections.size(); ++i) {
    const TsGeneralData& section = manager.Sections[i];
    if (section.Name == "GLOBALINFO") continue;
    for (int state = 0; state < std::min(section.StateCount, 3); ++state) {
      auto item = NewBitmap32(90, 40);
      PaintSkinItem(static_cast<int>(i), section.Name, cache, -1, -1, &manager, item.get(), POINT{0, 0},
                    RECT{0, 0, 90, 40}, state);
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 90; ++x)
          ASSERT_NE(PixelAt(*item, x, y) & 0xFFFFFF, 0xFF00FFu)
              << section.Name << " state " << state << " at " << x << "," << y;
      if (section.Name == "BUTTON" || section.Name == "FORMTITLE") {
        EXPECT_EQ(PixelAt(*item, 0, 0) & 0xFFFFFF, kParent) << section.Name << " state " << state;
      }
    }
  }
}

}  // namespace
}  // namespace translit
