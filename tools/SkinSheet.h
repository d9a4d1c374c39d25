// The skin sheet: one picture of everything a skin paints, for skin authors.
// Every section of the loaded skin is painted by the engine's own item
// painter in each of its states at a few sizes, over a parent picture (a
// checkerboard under a colour ramp) so that transparency and the key colour
// show; every image piece follows in each of its states, drawn by the mask
// painter. A caption under each cell names the section (or piece) and state.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Graphics.h"

namespace translit {

class TsSkinManager;

// Where the skin comes from: a skin folder (holding "Options.dat") or a
// packed ".asz" file, with the manager's recolouring settings.
struct TsSheetSource {
  std::string Path;
  int HueOffset = 0;
  int Saturation = 0;
};

// Loads the skin into the manager's tables with the engine's loader. Raises
// fw::Exception with the loader's message, or when the path is neither a
// skin folder nor a packed file. Answers "folder" or "packed".
std::string LoadSheetSkin(TsSkinManager& manager, const TsSheetSource& source);

struct TsSheetOptions {
  // The sizes every section state is painted at.
  std::vector<SIZE> Sizes{{24, 20}, {96, 40}};
  // More states than this are left out, of sections and of pieces (a skin
  // may claim any number).
  int MaxStates = 8;
  // Pieces larger than this are cut at it.
  SIZE MaxPiece{160, 100};
  bool Pieces = true;
  // A plain parent of this colour (a colour value, 0x00BBGGRR) instead of
  // the checkerboard: the skin over the background it will lie on.
  std::optional<fw::TColor> ParentColor;
  // Lines at the top of the sheet (skin, source, what the cells show).
  std::vector<std::string> Header;
  int Width = 1104;
};

enum class TsSheetCellKind { Section, Piece };

// One painted picture of the sheet.
struct TsSheetCell {
  TsSheetCellKind Kind = TsSheetCellKind::Section;
  int Index = -1;    // section or piece index in the manager's tables
  std::string Name;  // section name, or "SECTION/PROP" of a piece
  int State = 0;
  int SizeIndex = 0;  // sections: index into TsSheetOptions::Sizes
  RECT Rect{};        // where the picture lies on the sheet
};

struct TsSkinSheet {
  std::unique_ptr<fw::TBitmap> Picture;  // 32-bit, the finished sheet
  // The parent picture the cells were painted over, the sheet's size.
  std::unique_ptr<fw::TBitmap> Parent;
  std::vector<TsSheetCell> Cells;
  int StatesLeftOut = 0;  // states above MaxStates, all sections and pieces together
};

// Section cells start from the key colour: a pixel the painters leave
// untouched stays magenta on the sheet.
inline constexpr fw::TColor kSheetUntouched = 0x00FF00FF;

// Raises fw::Exception when the sheet would be larger than 24 Mpixels.
TsSkinSheet DrawSkinSheet(TsSkinManager& manager, const TsSheetOptions& options);

// The header lines the program puts on its sheets: the source (kind as
// LoadSheetSkin answered); the skin's version, table sizes and recolouring;
// what the cells show.
std::vector<std::string> SheetHeader(TsSkinManager& manager, const TsSheetSource& source, const std::string& kind,
                                     const TsSheetOptions& options);

// The parent picture: 8-pixel squares of two warm greys under a ramp from
// orange at the top left to green at the bottom right.
void PaintSheetParent(fw::TBitmap* bitmap);

// "0 normal", "1 hot", "2 pressed", then the number alone.
std::string SheetStateName(int state);

}  // namespace translit
