// Whole skin loads under the platform: skin folders, packed files and stored
// skins written by the tests, with BMP, PNG and JPEG images made in code.
#include "skin/sSkinLoader.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/core/LayoutParser.h"
#include "framework/ClassRegistry.h"
#include "render/pixels/PngDecoder.h"
#include "skin/acSkinPack.h"
#include "skin/sStoredSkins.h"
#include "tests/support/ImageFixtures.h"
#include "tests/skin/SkinFolders.h"
#include "tests/support/TempFolder.h"
#include "tests/support/RemoveTree.h"

namespace translit {
namespace {

using test::Bytes;

using test::WriteBytes;
using test::WriteText;
using testing_files::TempFolder;

// Master: 60 x 40, red with a magenta top-left pixel. Glyph: 90 x 60 PNG,
// white with alpha 0 at (0, 0). Check: 60 x 24 BMP. Textures: JPEGs of
// 999 x 900 and 1000 x 900 pixels.
const char* const kOptions =
    "[GLOBALINFO]\r\n"
    "VERSION=7.2\r\n"
    "MASTERBITMAP=MASTER.BMP\r\n"  // packed entries are matched upper-cased
    "BICONCLOSE=@0000,0000,0010,0010,1,0\r\n"
    "[PANEL]\r\n"
    "COLOR=0x0000FF\r\n"
    "BORDERSMASK=@0010,0020,0040,0040,3,1\r\n"
    "GLYPHMASK=!GLYPH.PNG!3!1!0\r\n"
    "LOWER=!glyph.png!3!1!0\r\n"
    "RECT=master#(10,20,70,40) (0,-1)\r\n"
    "CHECK=check.bmp\r\n"
    "SMALLTEX=small.jpg\r\n"
    "BIGTEX=big.jpg\r\n"
    "MISSING=!NONE.BMP!1\r\n"
    "[BUTTON]\r\n"
    "PARENTCLASS=PANEL\r\n"
    "STATES=1\r\n";

struct SkinFiles {
  Bytes master = test::MakeBmp(60, 40, 24, [](int x, int y) { return x == 0 && y == 0 ? 0xFFFF00FFu : 0xFFFF0000u; });
  Bytes glyph = test::MakePng(90, 60, true, [](int x, int y) { return x == 0 && y == 0 ? 0x00FFFFFFu : 0x800000FFu; });
  Bytes check = test::MakeBmp(60, 24, 32, test::Solid(0x7F00FF00));
  Bytes small = test::MakeJpeg(999, 900, test::Solid(0xFF808080), 50);
  Bytes big = test::MakeJpeg(1000, 900, test::Solid(0xFF808080), 50);

  void WriteFolder(const std::string& folder, const std::string& options = kOptions) const {
    WriteText(folder + "Options.dat", options);
    WriteBytes(folder + "Master.bmp", master);
    WriteBytes(folder + "GLYPH.PNG", glyph);
    WriteBytes(folder + "check.bmp", check);
    WriteBytes(folder + "small.jpg", small);
    WriteBytes(folder + "big.jpg", big);
  }
  Bytes Packed(const std::string& options = kOptions) const {
    return WritePackedSkin({{"oPTIONS.dAT", Bytes(options.begin(), options.end())},
                            {"Master.bmp", master},
                            {"GLYPH.PNG", glyph},
                            {"check.bmp", check},
                            {"small.jpg", small},
                            {"big.jpg", big}});
  }
};

const SkinFiles& Files() {
  static const SkinFiles files;
  return files;
}

const TsMaskData* Piece(const TsSkinTables& t, const char* section, const char* prop) {
  int i = t.MaskIndexDirect(section, prop);
  return i < 0 ? nullptr : &t.Masks[static_cast<std::size_t>(i)];
}

// What every load of the sample skin must give.
void ExpectSampleSkin(TsSkinTables& t) {
  ASSERT_TRUE(t.MasterBitmap);
  ASSERT_EQ(t.MasterBitmap->Width(), 60);
  PixelView master = t.MasterBitmap->View();
  EXPECT_EQ(master.At(0, 0), 0x00FF00FFu);  // magenta stays transparent
  EXPECT_EQ(master.At(5, 5), 0xFFFF0000u);  // others become opaque

  const TsMaskData* border = Piece(t, "PANEL", "BORDERSMASK");
  ASSERT_NE(border, nullptr);
  EXPECT_EQ(border->Format, 2);
  EXPECT_FALSE(border->OwnBitmap);

  const TsMaskData* glyph = Piece(t, "PANEL", "GLYPHMASK");
  ASSERT_NE(glyph, nullptr);
  ASSERT_TRUE(glyph->OwnBitmap);
  EXPECT_EQ(glyph->SrcRight, 90);
  EXPECT_EQ(glyph->StateCount, 3);
  EXPECT_EQ(glyph->ExtraLayers, 1);
  EXPECT_EQ(glyph->FillMode, 1);
  EXPECT_EQ(glyph->MarginLeft, 10);
  EXPECT_EQ(glyph->MarginTop, 10);
  PixelView g = glyph->OwnBitmap->View();
  EXPECT_EQ(g.At(0, 0), 0u);  // transparent white cleared
  EXPECT_EQ(g.At(1, 0), 0x800000FFu);

  EXPECT_EQ(Piece(t, "PANEL", "LOWER"), nullptr);    // lower-case "!" name
  EXPECT_EQ(Piece(t, "PANEL", "MISSING"), nullptr);  // no such file

  const TsMaskData* rect = Piece(t, "PANEL", "RECT");
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->SrcLeft, 10);
  EXPECT_EQ(rect->SrcBottom, 40);

  const TsMaskData* check = Piece(t, "PANEL", "CHECK");
  ASSERT_NE(check, nullptr);
  ASSERT_TRUE(check->OwnBitmap);
  EXPECT_EQ(check->MarginLeft, 6);
  EXPECT_EQ(check->OwnBitmap->View().At(3, 3), 0x7F00FF00u);  // 32-bit BMP keeps its alpha

  // 999 x 900 is a texture piece, 1000 x 900 a pattern.
  int tex = t.TextureIndex(t.SectionIndex("PANEL"), "PANEL", "SMALLTEX");
  ASSERT_GE(tex, 0);
  EXPECT_EQ(t.Masks[static_cast<std::size_t>(tex)].SrcRight, 999);
  EXPECT_EQ(t.PatternIndex(t.SectionIndex("PANEL"), "PANEL", "SMALLTEX"), -1);
  EXPECT_EQ(t.PatternIndex(t.SectionIndex("PANEL"), "PANEL", "BIGTEX"), 0);
  EXPECT_EQ(t.MaskIndexDirect("PANEL", "BIGTEX"), -1);
  ASSERT_EQ(t.Patterns.size(), 1u);
  EXPECT_EQ(t.Patterns[0].Image->Width(), 1000);

  int button = t.SectionIndex("BUTTON");
  EXPECT_EQ(t.Sections[static_cast<std::size_t>(button)].BorderIndex, t.MaskIndexDirect("PANEL", "BORDERSMASK"));
  EXPECT_EQ(t.Sections[static_cast<std::size_t>(button)].States[1].Color, 0x0000FF);
  EXPECT_DOUBLE_EQ(t.GlobalInfo->Version, 7.2);
}

TEST(SkinLoader, FolderAndPackedGiveTheSameSkin) {
  TempFolder tmp;
  Files().WriteFolder(tmp.Folder("Sample"));
  WriteBytes(tmp.Path() + "Packed.asz", Files().Packed());

  TsSkinTables folder(WindowsSystemValues());
  TsSkinLoadSettings settings;
  settings.SkinDirectory = tmp.Path().substr(0, tmp.Path().size() - 1);
  settings.SkinName = "Sample";
  double version = 0;
  settings.OnVersionCheck = [&](const TsSkinData& d) { version = d.Version; };
  bool packed = true;
  TsSkinLoadStats stats;
  ASSERT_EQ(LoadSkinFromFolder(folder, settings, packed, &stats), TsLoadOutcome::Loaded);
  EXPECT_FALSE(packed);
  EXPECT_EQ(folder.GlobalInfo->SkinFolder, tmp.Path() + "Sample\\");
  EXPECT_DOUBLE_EQ(version, 7.2);
  EXPECT_EQ(stats.ImagesDecoded, 5);
  ExpectSampleSkin(folder);

  TsSkinTables fromPack(WindowsSystemValues());
  settings.SkinName = "Packed";
  LoadSkinFromPacked(fromPack, settings);
  EXPECT_EQ(fromPack.GlobalInfo->SkinFolder, tmp.Path());
  ExpectSampleSkin(fromPack);
  EXPECT_EQ(fromPack.Masks.size(), folder.Masks.size());
}

TEST(SkinLoader, RelativeDirectories) {
  TempFolder tmp;
  Files().WriteFolder(tmp.Folder("Skins") + "");
  std::string skins = tmp.Folder("Skins");
  Files().WriteFolder(tmp.Folder("Skins\\Sample"));
  WriteBytes(skins + "Packed.asz", Files().Packed());

  // The folder goes by the program folder: two levels down, ".." is its parent.
  TsSkinTables t(WindowsSystemValues());
  TsSkinLoadSettings settings;
  settings.ProgramFolder = tmp.Folder("a") + "b\\";
  settings.SkinDirectory = "..\\Skins";
  settings.SkinName = "Sample";
  bool packed = false;
  tmp.Folder("a\\b");
  EXPECT_EQ(SkinFolderName(settings), tmp.Path() + "a\\Skins\\Sample\\");
  settings.ProgramFolder = tmp.Path() + "a\\";
  ASSERT_EQ(LoadSkinFromFolder(t, settings, packed), TsLoadOutcome::Loaded);
  EXPECT_EQ(t.SectionIndex("PANEL"), 1);

  // The packed file goes by the current directory.
  char old[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, old);
  ::SetCurrentDirectoryA(tmp.Path().c_str());
  TsSkinTables p(WindowsSystemValues());
  settings.SkinDirectory = "Skins";
  settings.SkinName = "Packed";
  EXPECT_EQ(PackedSkinFileName(settings), "Skins\\Packed.asz");
  LoadSkinFromPacked(p, settings);
  ::SetCurrentDirectoryA(old);
  EXPECT_EQ(p.SectionIndex("PANEL"), 1);
}

TEST(SkinLoader, LoadErrors) {
  TempFolder tmp;
  struct Case {
    const char* options;
    const char* message;
  } cases[] = {
      {"[GLOBALINFO]\r\nSHADOW1OFFSET=abc\r\n", "'abc' is not a valid integer value"},
      {"[X]\r\nBORDERSMASK=@00x0,0000,0010,0010,1,0\r\n", "'00x0' is not a valid integer value"},
      {"[X]\r\nGRADIENTDATA=1;2;3;z;0\r\n", "'z' is not a valid integer value"},
      {"[X]\r\nG=!check.bmp!0!0\r\n", nullptr},             // lower-case name: skipped
      {"[X]\r\nG=!CHECK.BMP!0!0\r\n", "Division by zero"},  // zero states, margins computed
  };
  std::string folder = tmp.Folder("Bad");
  WriteBytes(folder + "CHECK.BMP", Files().check);
  for (const Case& c : cases) {
    WriteText(folder + "Options.dat", c.options);
    TsSkinTables t(WindowsSystemValues());
    TsSkinLoadSettings settings;
    settings.SkinDirectory = tmp.Path();
    settings.SkinName = "Bad";
    bool packed = false;
    try {
      LoadSkinFromFolder(t, settings, packed);
      EXPECT_EQ(c.message, nullptr) << c.options;
    } catch (const fw::Exception& e) {
      ASSERT_NE(c.message, nullptr) << c.options << e.Message();
      EXPECT_EQ(e.Message(), c.message) << c.options;
    }
  }

  // Damaged packed files fail with the reader's messages.
  Bytes good = Files().Packed();
  struct Damage {
    Bytes bytes;
    const char* message;
  } damaged[] = {
      {Bytes{'A', 'S', 'z', 'F', 0, 0, 0, 0}, "Loaded data is not a packed skin file"},
      {Bytes(good.begin(), good.begin() + 200), "Stream read error"},
  };
  for (const Damage& d : damaged) {
    WriteBytes(tmp.Path() + "Damaged.asz", d.bytes);
    TsSkinTables t(WindowsSystemValues());
    TsSkinLoadSettings settings;
    settings.SkinDirectory = tmp.Path();
    settings.SkinName = "Damaged";
    try {
      LoadSkinFromPacked(t, settings);
      ADD_FAILURE() << d.message;
    } catch (const fw::Exception& e) {
      EXPECT_EQ(e.Message(), d.message);
    }
  }
}

// An image file that is there but cannot be read fails the load with the
// file's name; a folder where a file is named is no file, and is skipped.
TEST(SkinLoader, ImagesThatCannotBeRead) {
  TempFolder tmp;
  std::string folder = tmp.Folder("Locked");
  Files().WriteFolder(folder);
  ::CreateDirectoryA((folder + "NONE.BMP").c_str(), nullptr);
  TsSkinLoadSettings settings;
  settings.SkinDirectory = tmp.Path();
  settings.SkinName = "Locked";
  {
    TsSkinTables t(WindowsSystemValues());
    bool packed = false;
    LoadSkinFromFolder(t, settings, packed);
    ExpectSampleSkin(t);
  }
  // Held open by somebody who shares it with nobody.
  HANDLE held = ::CreateFileA((folder + "GLYPH.PNG").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  try {
    TsSkinTables t(WindowsSystemValues());
    bool packed = false;
    LoadSkinFromFolder(t, settings, packed);
    ADD_FAILURE() << "loaded a file nobody may read";
  } catch (const fw::Exception& e) {
    const std::string& message = e.Message();
    EXPECT_EQ(message.rfind("Cannot open file \"", 0), 0u) << message;
    EXPECT_NE(message.find("Locked\\GLYPH.PNG\""), std::string::npos) << message;
  }
  ::CloseHandle(held);
}

// PNG pieces without alpha become 32-bit pieces: opaque but for magenta,
// which stays the transparent key; at widths of one, two and three pixels
// and an odd one, interlaced, and with image data that ends early, whose
// rows read as decoding alone gives them.
TEST(SkinLoader, PngPiecesWithoutAlpha) {
  auto colour = [](int x, int y) -> std::uint32_t {
    if ((x + y) % 7 == 3) return 0xFFFF00FFu;
    return 0xFF000000u | static_cast<std::uint32_t>((x * 37 + y * 11) & 0xFF) << 16 |
           static_cast<std::uint32_t>((x * 5 + y * 71) & 0xFF) << 8 |
           static_cast<std::uint32_t>((x * 13 + y + 1) & 0xFF);
  };
  auto expected = [&](int x, int y) { return colour(x, y) == 0xFFFF00FFu ? 0x00FF00FFu : colour(x, y); };
  auto png = [&](int w, int h, bool interlace) {
    return pngtest::Encode(pngtest::Rgb8Image(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), false,
                                              [&](std::uint32_t x, std::uint32_t y) {
                                                return colour(static_cast<int>(x), static_cast<int>(y));
                                              }),
                           interlace);
  };
  // 5 x 9 stored uncompressed, cut after three whole rows.
  constexpr int kCutWidth = 5, kCutHeight = 9, kRowsGiven = 3;
  const pngtest::RawImage cutImage = pngtest::Rgb8Image(
      kCutWidth, kCutHeight, false,
      [&](std::uint32_t x, std::uint32_t y) { return colour(static_cast<int>(x), static_cast<int>(y)); });
  Bytes stored = pngtest::Zlib(pngtest::Scanlines(cutImage, false), 0);
  stored.resize(2 + 5 + kRowsGiven * (1 + 3 * kCutWidth));
  const Bytes cut =
      pngtest::Assemble({{"IHDR", pngtest::Ihdr(kCutWidth, kCutHeight, 8, 2)}, {"IDAT", stored}, {"IEND", {}}});

  struct Picture {
    const char* name;
    int width, height;
    Bytes bytes;
  };
  const std::vector<Picture> pictures = {{"W1", 1, 4, png(1, 4, false)},       {"W2", 2, 3, png(2, 3, false)},
                                         {"W3", 3, 5, png(3, 5, false)},       {"W33", 33, 6, png(33, 6, false)},
                                         {"LACED", 13, 11, png(13, 11, true)}, {"CUT", kCutWidth, kCutHeight, cut}};
  std::string options = "[GLOBALINFO]\r\nVERSION=7.2\r\n[PANEL]\r\n";
  std::vector<TacPackEntry> entries;
  TempFolder tmp;
  const std::string folder = tmp.Folder("Rgb");
  for (const Picture& p : pictures) {
    options += std::string(p.name) + "=!" + p.name + ".PNG!1!0!0\r\n";
    WriteBytes(folder + p.name + ".PNG", p.bytes);
    entries.push_back({std::string(p.name) + ".PNG", p.bytes});
  }
  WriteText(folder + "Options.dat", options);
  entries.push_back({"Options.dat", Bytes(options.begin(), options.end())});
  WriteBytes(tmp.Path() + "Rgb.asz", WritePackedSkin(entries));

  TsSkinLoadSettings settings;
  settings.SkinDirectory = tmp.Path();
  settings.SkinName = "Rgb";
  TsSkinTables fromFolder(WindowsSystemValues()), fromPack(WindowsSystemValues());
  bool packed = false;
  ASSERT_EQ(LoadSkinFromFolder(fromFolder, settings, packed), TsLoadOutcome::Loaded);
  LoadSkinFromPacked(fromPack, settings);
  for (const TsSkinTables* t : {&fromFolder, &fromPack}) {
    for (const Picture& p : pictures) {
      const TsMaskData* piece = Piece(*t, "PANEL", p.name);
      ASSERT_NE(piece, nullptr) << p.name;
      ASSERT_TRUE(piece->OwnBitmap) << p.name;
      EXPECT_EQ(piece->OwnBitmap->PixelFormat(), fw::pf32bit) << p.name;
      const PixelView v = piece->OwnBitmap->View();
      ASSERT_EQ(v.width, p.width) << p.name;
      ASSERT_EQ(v.height, p.height) << p.name;
      const bool isCut = std::string(p.name) == "CUT";
      const std::vector<std::uint32_t> decoded = DecodePng(p.bytes.data(), p.bytes.size()).ToBGRA32();
      for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) {
          const std::uint32_t alone = decoded[static_cast<std::size_t>(y * p.width + x)];
          const std::uint32_t want = (alone & 0xFFFFFFu) == 0xFF00FFu ? 0x00FF00FFu : alone;
          ASSERT_EQ(v.At(x, y), want) << p.name << " at " << x << "," << y;
          // The rows the file holds are the picture drawn.
          if (!isCut || y < kRowsGiven) {
            ASSERT_EQ(want, expected(x, y)) << p.name << " at " << x << "," << y;
          }
        }
    }
  }
}

TEST(SkinLoader, StoredSkins) {
  TempFolder tmp;
  TsSkinLoadSettings settings;
  settings.SkinDirectory = tmp.Path() + "NoSuchDir";
  settings.SkinName = "Missing";
  bool packed = false;

  // Nothing anywhere: not found, the tables as they were.
  TsSkinTables t(WindowsSystemValues());
  t.Sections.push_back(TsGeneralData{});
  EXPECT_EQ(LoadSkinFromFolder(t, settings, packed), TsLoadOutcome::NotFound);
  EXPECT_EQ(t.Sections.size(), 1u);

  // A layout with two stored skins; the name matches neither, so the first
  // one loads and gives its name.
  Bytes data = Files().Packed("[PANEL]\r\nCOLOR=0x123456\r\nBORDERSMASK=@0010,0020,0040,0040,3,1\r\n");
  std::string hex;
  for (std::uint8_t b : data) {
    char two[3];
    std::snprintf(two, sizeof two, "%02X", b);
    hex += two;
  }
  fw::StoredObject layout = fw::ParseLayout(
      "object M: TsSkinManager\n  InternalSkins = <\n    item\n      Name = 'First'\n      Shadow1Blur = 3\n"
      "      Data = {" +
      hex + "}\n    end\n    item\n      Name = 'Empty'\n    end>\nend\n");
  TsStoredSkins stored;
  fw::TLoadContext ctx;
  ReadStoredSkins(stored, layout.properties.at(0).value, ctx);
  ASSERT_EQ(stored.Count(), 2);
  EXPECT_EQ(stored.Items(0).Shadow1Blur, 3);
  EXPECT_EQ(stored.Items(1).Shadow1Blur, -1);
  EXPECT_EQ(stored.Items(1).BorderColor, 0xFF00FF);
  settings.StoredSkins = &stored;
  ASSERT_EQ(LoadSkinFromFolder(t, settings, packed), TsLoadOutcome::Loaded);
  EXPECT_TRUE(packed);
  EXPECT_EQ(settings.SkinName, "First");
  EXPECT_EQ(t.GlobalInfo->SkinFolder, "");
  EXPECT_EQ(t.GlobalColor(), ::GetSysColor(COLOR_BTNFACE));  // no GLOBALINFO section
  ASSERT_EQ(t.Sections.size(), 1u);
  EXPECT_EQ(t.Sections[0].Color, 0x123456);
  EXPECT_EQ(t.Sections[0].BorderIndex, 0);

  // A stored skin without data loads no options at all.
  settings.SkinName = "Empty";
  ASSERT_EQ(LoadSkinFromFolder(t, settings, packed), TsLoadOutcome::Loaded);
  EXPECT_FALSE(packed);
  EXPECT_TRUE(t.Sections.empty());

  TsStoredSkin copy;
  copy.Assign(stored.Items(0));
  EXPECT_EQ(copy.Data, stored.Items(0).Data);
  EXPECT_EQ(copy.Name, "First");
}

TEST(SkinLoader, HueSaturationAndCommonSections) {
  TempFolder tmp;
  std::string folder = tmp.Folder("Hue");
  Files().WriteFolder(folder, std::string(kOptions) + "[GLOBALINFO2]\r\n");
  std::string common = "[MYPANEL]\nPARENTCLASS=PANEL\nEXTRA=" + folder + "check.bmp\nTEX=" + folder +
                       "small.jpg\n[GLOBALINFO]\nSKIPPED=" + folder + "check.bmp\n";
  TsSkinTables t(WindowsSystemValues());
  TsSkinLoadSettings settings;
  settings.SkinDirectory = tmp.Path();
  settings.SkinName = "Hue";
  settings.HueOffset = 120;
  settings.CommonSections = common;
  bool packed = false;
  // BIKEEPHUE is not set: every image turns.
  ASSERT_EQ(LoadSkinFromFolder(t, settings, packed), TsLoadOutcome::Loaded);
  EXPECT_EQ(t.MasterBitmap->View().At(5, 5), 0xFF00FF00u);  // red became green
  EXPECT_EQ(t.MasterBitmap->View().At(0, 0), 0x00FF00FFu);  // the key stays
  EXPECT_EQ(t.Sections[static_cast<std::size_t>(t.SectionIndex("PANEL"))].Color, 0x00FF00);

  int mine = t.SectionIndex("MYPANEL");
  ASSERT_GE(mine, 0);
  EXPECT_GE(t.MaskIndexDirect("MYPANEL", "EXTRA"), 0);
  EXPECT_EQ(t.MaskIndexDirect("GLOBALINFO", "SKIPPED"), -1);
  EXPECT_EQ(t.Sections[static_cast<std::size_t>(mine)].BorderIndex, t.MaskIndexDirect("PANEL", "BORDERSMASK"));
  EXPECT_EQ(t.PatternIndex(mine, "MYPANEL", "TEX"), 1);  // common JPEGs are patterns whatever their size

  // With BIKEEPHUE the close button's part of the master keeps its colour.
  std::string kept = kOptions;
  kept.insert(kept.find("VERSION"), "BIKEEPHUE=2\r\n");
  WriteText(folder + "Options.dat", kept);
  settings.CommonSections.clear();
  settings.Saturation = 0;
  ASSERT_EQ(LoadSkinFromFolder(t, settings, packed), TsLoadOutcome::Loaded);
  EXPECT_EQ(t.MasterBitmap->View().At(5, 5), 0xFFFF0000u);    // inside BICONCLOSE
  EXPECT_EQ(t.MasterBitmap->View().At(15, 15), 0xFF00FF00u);  // outside it

  settings.HueOffset = 0;
  settings.Saturation = -100 - 101;
  ASSERT_EQ(LoadSkinFromFolder(t, settings, packed), TsLoadOutcome::Loaded);
  EXPECT_EQ(t.MasterBitmap->View().At(15, 15), 0xFF555555u);
}

}  // namespace
}  // namespace translit
