// The skin sheet of BlueIce under the platform: every cell shows something
// of its own (no pixel left as it started, no opaque section that lets the
// parent through), states differ where the skin gives them different looks
// and are identical where it does not, transparent sections and the holes
// of frames show the parent picture at the cell's own place, and the
// skinsheet program writes the same picture as a PNG, from the folder and
// from the packed file alike.
#include "tools/SkinSheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "framework/Application.h"
#include "framework/core/Classes.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/pixels/PngDecoder.h"
#include "skin/sSkinManager.h"
#include "tests/support/TempFolder.h"

namespace translit {
namespace {

// The folder holding BlueIce/ and BlueIce.asz, and the program, as paths of
// the Wine drive that maps the host's root.
const std::string kSkinDirectory = TRANSLIT_SKINS_WINDOWS_DIR;
const std::string kSkinSheetExe = TRANSLIT_SKINSHEET_EXE;

std::uint32_t Rgb(const PixelView& v, int x, int y) { return v.At(x, y) & 0xFFFFFF; }

struct CellPixels {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Painted, Parent;
  int Own() const {  // pixels that differ from the parent picture
    int n = 0;
    for (std::size_t i = 0; i < Painted.size(); ++i) n += Painted[i] != Parent[i];
    return n;
  }
};

CellPixels PixelsOf(TsSkinSheet& sheet, const TsSheetCell& cell) {
  const PixelView painted = ViewOf(sheet.Picture.get()), parent = ViewOf(sheet.Parent.get());
  CellPixels p;
  p.Width = cell.Rect.right - cell.Rect.left;
  p.Height = cell.Rect.bottom - cell.Rect.top;
  for (int y = cell.Rect.top; y < cell.Rect.bottom; ++y)
    for (int x = cell.Rect.left; x < cell.Rect.right; ++x) {
      p.Painted.push_back(Rgb(painted, x, y));
      p.Parent.push_back(Rgb(parent, x, y));
    }
  return p;
}

int Differing(const CellPixels& a, const CellPixels& b) {
  int n = 0;
  for (std::size_t i = 0; i < a.Painted.size(); ++i) n += a.Painted[i] != b.Painted[i];
  return n;
}

// One state image of a piece (all its layers) against another.
bool SameStateImages(const TsMaskData& mask, int a, int b) {
  if (a == b) return true;
  const PixelView image = ViewOf(MaskImage(mask));
  const int w = MaskStateWidth(mask);
  for (int y = mask.SrcTop; y < mask.SrcBottom; ++y)
    for (int x = 0; x < w; ++x)
      if (image.At(mask.SrcLeft + a * w + x, y) != image.At(mask.SrcLeft + b * w + x, y)) return false;
  return true;
}

// True when the skin gives state s of a section exactly the look of state
// 0: the same colour, transparency, gradient and texture values, the same
// textures, and frame and corner images whose state pictures are the same.
bool SkinGivesSameLook(TsSkinManager& m, int index, int s) {
  const TsGeneralData& section = m.Sections[static_cast<std::size_t>(index)];
  s = std::min(s, std::max(1, section.StateCount) - 1);
  if (s == 0) return true;
  const TsGenState &normal = section.States[0], &hot = section.States[1];
  if (normal.Color != hot.Color || normal.Transparency != hot.Transparency ||
      normal.GradientPercent != hot.GradientPercent || normal.ImagePercent != hot.ImagePercent)
    return false;
  // Gradient texts and textures count only when they have a share.
  if (normal.GradientPercent > 0 && normal.GradientData != hot.GradientData) return false;
  if (normal.ImagePercent > 0 &&
      (m.TextureIndex(index, section.Name, "PATTERN") != m.TextureIndex(index, section.Name, "HOTPATTERN") ||
       m.PatternIndex(index, section.Name, "PATTERN") != m.PatternIndex(index, section.Name, "HOTPATTERN")))
    return false;
  for (int piece : {section.BorderIndex, section.CornerTL, section.CornerTR, section.CornerBL, section.CornerBR}) {
    if (!m.IsValidMask(piece)) continue;
    const TsMaskData& mask = m.Masks[static_cast<std::size_t>(piece)];
    if (piece == section.BorderIndex && (mask.FillMode & 2)) return false;
    if (!SameStateImages(mask, 0, std::min<int>(s, std::max<int>(1, mask.StateCount) - 1))) return false;
  }
  return true;
}

class SkinSheetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fw::EnsureApplication();
    FManager = new TsSkinManager(nullptr);
    TsSheetSource source;
    source.Path = kSkinDirectory + "\\BlueIce.asz";
    ASSERT_EQ(LoadSheetSkin(*FManager, source), "packed");
    FSheet = new TsSkinSheet(DrawSkinSheet(*FManager, TsSheetOptions{}));
    for (const TsSheetCell& cell : FSheet->Cells) FCells[{cell.Kind, cell.Name, cell.State, cell.SizeIndex}] = &cell;
  }
  static void TearDownTestSuite() {
    delete FSheet;
    delete FManager;
    FCells.clear();
  }

  static const TsSheetCell& Cell(const std::string& name, int state, int size,
                                 TsSheetCellKind kind = TsSheetCellKind::Section) {
    auto it = FCells.find({kind, name, state, size});
    if (it == FCells.end()) throw std::runtime_error("no cell " + name + " " + std::to_string(state));
    return *it->second;
  }

  static TsSkinManager* FManager;
  static TsSkinSheet* FSheet;
  static std::map<std::tuple<TsSheetCellKind, std::string, int, int>, const TsSheetCell*> FCells;
};

TsSkinManager* SkinSheetTest::FManager = nullptr;
TsSkinSheet* SkinSheetTest::FSheet = nullptr;
std::map<std::tuple<TsSheetCellKind, std::string, int, int>, const TsSheetCell*> SkinSheetTest::FCells;

TEST_F(SkinSheetTest, HoldsEverySectionStateAndPiece) {
  const TsSheetOptions options;
  std::size_t expected = 0;
  for (std::size_t i = 0; i < FManager->Sections.size(); ++i) {
    const TsGeneralData& section = FManager->Sections[i];
    const int states = std::max(1, section.StateCount);
    for (int s = 0; s < states; ++s)
      for (std::size_t k = 0; k < options.Sizes.size(); ++k) {
        const TsSheetCell& cell = Cell(section.Name, s, static_cast<int>(k));
        EXPECT_EQ(cell.Index, static_cast<int>(i)) << section.Name;
        EXPECT_EQ(cell.Rect.right - cell.Rect.left, options.Sizes[k].cx) << section.Name;
        EXPECT_EQ(cell.Rect.bottom - cell.Rect.top, options.Sizes[k].cy) << section.Name;
        ++expected;
      }
  }
  for (const TsMaskData& mask : FManager->Masks)
    expected += static_cast<std::size_t>(std::max<int>(1, mask.StateCount));
  EXPECT_EQ(FSheet->Cells.size(), expected);
  EXPECT_EQ(FSheet->StatesLeftOut, 0);
  EXPECT_GT(FManager->Sections.size(), 50u);

  // Cells never overlap and stay on the sheet.
  for (std::size_t i = 0; i < FSheet->Cells.size(); ++i) {
    const RECT& a = FSheet->Cells[i].Rect;
    ASSERT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= FSheet->Picture->Width() &&
                a.bottom <= FSheet->Picture->Height())
        << FSheet->Cells[i].Name;
    for (std::size_t j = i + 1; j < FSheet->Cells.size(); ++j) {
      RECT overlap;
      ASSERT_FALSE(IntersectRect(&overlap, &a, &FSheet->Cells[j].Rect))
          << FSheet->Cells[i].Name << " and " << FSheet->Cells[j].Name;
    }
  }
}

// Every pixel of a section cell is painted. An opaque look covers the
// parent (up to the rounded corners of its frame); a fully transparent look
// without pieces shows exactly the parent, with pieces it shows the parent
// in the middle and its pieces at the edges. A piece changes what lies
// under it.
TEST_F(SkinSheetTest, EveryCellPaintsSomethingOfItsOwn) {
  int opaque = 0, transparent = 0, framedTransparent = 0;
  for (const TsSheetCell& cell : FSheet->Cells) {
    const CellPixels p = PixelsOf(*FSheet, cell);
    const std::string name = cell.Name + " " + SheetStateName(cell.State) + " size " + std::to_string(cell.SizeIndex);
    const int area = p.Width * p.Height;
    if (cell.Kind == TsSheetCellKind::Piece) {
      EXPECT_GT(p.Own(), 0) << name;
      continue;
    }
    ASSERT_EQ(std::count(p.Painted.begin(), p.Painted.end(), 0xFF00FFu), 0) << name << ": untouched pixels";
    const TsGeneralData& section = FManager->Sections[static_cast<std::size_t>(cell.Index)];
    const int look = std::min(std::min(cell.State, std::max(1, section.StateCount) - 1), 1);
    const int transparency = section.States[static_cast<std::size_t>(look)].Transparency;
    bool pieces = false;
    for (int piece : {section.BorderIndex, section.CornerTL, section.CornerTR, section.CornerBL, section.CornerBR})
      pieces = pieces || FManager->IsValidMask(piece);
    if (transparency == 0) {
      EXPECT_GE(p.Own(), area * 90 / 100) << name << ": an opaque look lets the parent through";
      ++opaque;
    } else if (transparency == 100 && !pieces) {
      EXPECT_EQ(p.Painted, p.Parent) << name << ": a transparent look must show the parent as it is";
      ++transparent;
    } else if (transparency == 100) {
      const int mid = (p.Height / 2) * p.Width + p.Width / 2;
      EXPECT_EQ(p.Painted[static_cast<std::size_t>(mid)], p.Parent[static_cast<std::size_t>(mid)]) << name;
      EXPECT_GT(p.Own(), 0) << name << ": its frame is missing";
      ++framedTransparent;
    }
  }
  // The skin has all three kinds; the checks above are not vacuous.
  EXPECT_GT(opaque, 100);
  EXPECT_GT(transparent, 5);
  EXPECT_GT(framedTransparent, 1);
}

// States the skin draws differently differ on the sheet, over a good part
// of the cell; states it draws alike are the same pixel for pixel.
TEST_F(SkinSheetTest, StatesDifferWhereTheSkinMakesThemDiffer) {
  const struct {
    const char* section;
    int a, b;
    int minPercent;  // of the cell's pixels that must differ
  } differ[] = {
      {"BUTTON", 0, 1, 50},        {"BUTTON", 0, 2, 50},      {"BUTTON", 1, 2, 50},        {"SPEEDBUTTON", 0, 2, 50},
      {"COLHEADER", 0, 1, 50},     {"TABTOP", 0, 1, 50},      {"TABTOP", 1, 2, 5},         {"TABBOTTOM", 0, 2, 50},
      {"TABLEFT", 1, 2, 5},        {"TABRIGHT", 1, 2, 5},     {"MENUITEM", 0, 1, 50},      {"SELECTION", 0, 1, 50},
      {"FORMTITLE", 0, 1, 50},     {"FORM", 0, 1, 5},         {"DIALOG", 0, 1, 5},         {"EDIT", 0, 1, 5},
      {"SCROLLBTNTOP", 0, 1, 50},  {"SCROLLBTNTOP", 1, 2, 5}, {"SCROLLBTNLEFT", 0, 2, 50}, {"SCROLLSLIDERV", 0, 1, 50},
      {"SCROLLSLIDERH", 0, 2, 50}, {"SCROLLBAR1V", 0, 1, 50}, {"SCROLLBAR2H", 0, 2, 50},   {"COMBOBTN", 0, 1, 50},
      {"UPDOWNBTN", 0, 2, 50},
  };
  for (const auto& d : differ)
    for (int size = 0; size < 2; ++size) {
      const CellPixels a = PixelsOf(*FSheet, Cell(d.section, d.a, size));
      const CellPixels b = PixelsOf(*FSheet, Cell(d.section, d.b, size));
      EXPECT_GE(Differing(a, b) * 100, d.minPercent * a.Width * a.Height)
          << d.section << " states " << d.a << " and " << d.b << " size " << size << ": " << Differing(a, b)
          << " pixels differ";
    }

  // A frame drawn only in the other states: the normal menu item is its
  // plain colour, edge to edge.
  for (int size = 0; size < 2; ++size) {
    const CellPixels item = PixelsOf(*FSheet, Cell("MENUITEM", 0, size));
    const TColorValue color = FManager->Sections[FManager->SectionIndex("MENUITEM")].States[0].Color;
    const std::uint32_t pixel = (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
    EXPECT_EQ(std::count(item.Painted.begin(), item.Painted.end(), pixel), item.Width * item.Height)
        << "MENUITEM normal size " << size;
  }

  // The same pixels where the skin gives the same look. Over the
  // checkerboard the parent differs from cell to cell, so this is checked on
  // a sheet drawn over a plain parent.
  TsSheetOptions plain;
  plain.ParentColor = 0x00D0E0F0;
  plain.Pieces = false;
  TsSkinSheet sheet = DrawSkinSheet(*FManager, plain);
  std::map<std::tuple<std::string, int, int>, const TsSheetCell*> cells;
  for (const TsSheetCell& cell : sheet.Cells) cells[{cell.Name, cell.State, cell.SizeIndex}] = &cell;
  int alike = 0;
  for (const TsSheetCell& cell : sheet.Cells) {
    if (cell.State == 0 || !SkinGivesSameLook(*FManager, cell.Index, cell.State)) continue;
    const CellPixels normal = PixelsOf(sheet, *cells.at({cell.Name, 0, cell.SizeIndex}));
    const CellPixels other = PixelsOf(sheet, cell);
    EXPECT_EQ(Differing(normal, other), 0)
        << cell.Name << " state " << cell.State << " size " << cell.SizeIndex << " should look like state 0";
    ++alike;
  }
  EXPECT_GT(alike, 10);
}

// The parent shows at the cell's own place: a transparent section is the
// checkerboard of its place, the rounded outer corner of a button frame
// and of the title's frame and the middle of the group box frame too.
TEST_F(SkinSheetTest, TransparentPartsShowTheParentPicture) {
  const struct {
    const char* section;
    int state;
    double fx, fy;  // a point as a fraction of the cell, or exact corners
  } points[] = {
      {"CAPTION", 0, 0.5, 0.5},  {"CAPTION", 1, 0.1, 0.9}, {"CHECKBOX", 0, 0.3, 0.6},
      {"GROUPBOX", 0, 0.5, 0.5}, {"BUTTON", 0, 0, 0},      {"BUTTON", 2, 1, 1},
      {"FORMTITLE", 1, 0, 0},    {"FORMTITLE", 0, 1, 0},   {"WEBBUTTON", 1, 0.9, 0.2},
  };
  for (const auto& pt : points)
    for (int size = 0; size < 2; ++size) {
      const TsSheetCell& cell = Cell(pt.section, pt.state, size);
      const int w = cell.Rect.right - cell.Rect.left, h = cell.Rect.bottom - cell.Rect.top;
      const int x = cell.Rect.left + std::min(w - 1, static_cast<int>(pt.fx * w));
      const int y = cell.Rect.top + std::min(h - 1, static_cast<int>(pt.fy * h));
      EXPECT_EQ(Rgb(ViewOf(FSheet->Picture.get()), x, y), Rgb(ViewOf(FSheet->Parent.get()), x, y))
          << pt.section << " state " << pt.state << " size " << size << " at " << x << "," << y;
    }
  // The parent differs from place to place, so a painter reading it at the
  // wrong offset would not pass: two transparent cells are not alike.
  const CellPixels a = PixelsOf(*FSheet, Cell("CAPTION", 0, 1)), b = PixelsOf(*FSheet, Cell("CAPTION", 1, 1));
  EXPECT_GT(Differing(a, b), a.Width * a.Height / 4);
}

// ---- The program.

struct RunResult {
  DWORD ExitCode = 0xFFFFFFFF;
  std::string Output;
};

RunResult RunSkinSheet(const std::string& arguments) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::string command = "\"" + kSkinSheetExe + "\" " + arguments;
  RunResult result;
  const BOOL started =
      CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (started) {
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) result.Output.append(buffer, n);
    WaitForSingleObject(process.hProcess, 120000);
    GetExitCodeProcess(process.hProcess, &result.ExitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(readEnd);
  EXPECT_TRUE(started) << command;
  return result;
}

// The program draws the sheet from the folder and from the packed file and
// writes it as a PNG that decodes to the pixels of the same sheet drawn
// here, header and all.
TEST_F(SkinSheetTest, ProgramWritesTheSheet) {
  for (const char* skin : {"BlueIce", "BlueIce.asz"}) {
    TsSheetSource source;
    source.Path = kSkinDirectory + "\\" + skin;
    TsSkinManager manager(nullptr);
    const std::string kind = LoadSheetSkin(manager, source);
    TsSheetOptions options;
    options.Header = SheetHeader(manager, source, kind, options);
    TsSkinSheet sheet = DrawSkinSheet(manager, options);
    const PixelView expected = ViewOf(sheet.Picture.get());

    // From the packed file also enlarged: each pixel becomes a 2 x 2 block.
    for (int zoom : {1, 2}) {
      if (zoom == 2 && std::string(skin) == "BlueIce") continue;
      const testing_files::TempFolder folder;
      const std::string out = folder.Path() + "sheet.png";
      const RunResult run = RunSkinSheet("\"" + source.Path + "\" \"" + out + "\" --zoom " + std::to_string(zoom));
      ASSERT_EQ(run.ExitCode, 0u) << skin << ": " << run.Output;
      EXPECT_EQ(run.Output.find("untouched"), std::string::npos) << run.Output;
      fw::TMemoryStream file;
      file.LoadFromFile(out);
      const PngBitmap png = DecodePng(file.Memory(), static_cast<std::size_t>(file.Size()));
      ASSERT_EQ(png.Layout.Width, expected.width * zoom) << skin;
      ASSERT_EQ(png.Layout.Height, expected.height * zoom) << skin;
      EXPECT_EQ(png.Layout.PixelFormat, PngPixelFormat::pf24bit) << skin;
      const std::vector<std::uint32_t> got = png.ToBGRA32();
      for (int y = 0; y < png.Layout.Height; ++y)
        for (int x = 0; x < png.Layout.Width; ++x)
          ASSERT_EQ(got[static_cast<std::size_t>(y) * png.Layout.Width + x],
                    0xFF000000u | Rgb(expected, x / zoom, y / zoom))
              << skin << " zoom " << zoom << " at " << x << "," << y;
    }
  }
}

TEST_F(SkinSheetTest, ProgramRefusesBadInput) {
  const testing_files::TempFolder folder;
  const std::string out = folder.Path() + "sheet.png";
  std::string empty = folder.Folder("EmptySkin");
  empty.pop_back();
  const struct {
    std::string arguments;
    DWORD exitCode;
    const char* message;
  } cases[] = {
      {"", 2, "usage"},
      {"\"" + kSkinDirectory + "\\BlueIce\"", 2, "usage"},
      {"\"" + kSkinDirectory + "\\BlueIce\" \"" + out + "\" --sizes 0x5", 2, "bad argument --sizes"},
      {"\"" + kSkinDirectory + "\\BlueIce\" \"" + out + "\" --hue", 2, "bad argument --hue"},
      {"\"" + kSkinDirectory + "\\BlueIce\" \"" + out + "\" --zoom 5", 2, "bad argument --zoom"},
      {"\"" + kSkinDirectory + "\\BlueIce\" \"" + out + "\" --parent 12345", 2, "bad argument --parent"},
      {"\"" + kSkinDirectory + "\\NoSuchSkin\" \"" + out + "\"", 1, "No skin folder or file"},
      {"\"" + empty + "\" \"" + out + "\"", 1, "No Options.dat"},
      {"\"" + kSkinDirectory + "\\BlueIce\\Options.dat\" \"" + out + "\"", 1, "ends in .asz"},
  };
  for (const auto& c : cases) {
    const RunResult run = RunSkinSheet(c.arguments);
    EXPECT_EQ(run.ExitCode, c.exitCode) << c.arguments << ": " << run.Output;
    EXPECT_NE(run.Output.find(c.message), std::string::npos) << c.arguments << ": " << run.Output;
    EXPECT_EQ(GetFileAttributesA(out.c_str()), INVALID_FILE_ATTRIBUTES) << c.arguments << " wrote a sheet";
  }
}

}  // namespace
}  // namespace translit
