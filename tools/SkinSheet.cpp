// The skin sheet: loading the skin named on the command line, laying out one
// cell per section state and per piece state, painting each with the
// engine's painters over the parent picture, and the captions.
#include "tools/SkinSheet.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>

#include "framework/Handles.h"
#include "framework/core/SysUtils.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintItem.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintParent.h"
#include "skin/sSkinLoader.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

bool EndsWithNoCase(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && lstrcmpiA(s.c_str() + (s.size() - tail.size()), tail.c_str()) == 0;
}

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  if (n == 0 || n >= sizeof buffer) throw fw::Exception("Cannot resolve the path " + path);
  std::string full(buffer, n);
  std::replace(full.begin(), full.end(), '/', '\\');
  // "C:\" keeps its separator; a folder's own trailing one goes.
  while (full.size() > 3 && full.back() == '\\') full.pop_back();
  return full;
}

// ---- Layout. Cells flow left to right in rows; the states of one section
// (or piece) stay on one row when they fit.

constexpr int kMargin = 8;
constexpr int kSlotPadding = 6;  // around the pictures of a slot
constexpr int kPictureGap = 6;   // between the sizes of one state
constexpr int kMinSlotWidth = 124;
constexpr int kLineHeight = 13;  // one caption line
constexpr int kCaptionGap = 3;   // between the pictures and their caption
constexpr int kPartGap = 10;     // above a part's title
// The sheet and its parent picture are two 32-bit bitmaps of this many
// pixels at most, about 100 MB each.
constexpr std::int64_t kMaxPixels = 24 << 20;

// One state of a section or piece: its pictures side by side, the caption
// (two lines) under them.
struct Slot {
  TsSheetCellKind Kind;
  int Index;
  std::string Name;
  int State;
  std::vector<SIZE> Pictures;
  std::string Caption1, Caption2;
  POINT At{};  // top-left of the slot on the sheet

  int PicturesWidth() const {
    int w = 0;
    for (const SIZE& s : Pictures) w += s.cx;
    return w + kPictureGap * (static_cast<int>(Pictures.size()) - 1);
  }
  int PicturesHeight() const {
    int h = 0;
    for (const SIZE& s : Pictures) h = std::max<int>(h, s.cy);
    return h;
  }
  int Width() const { return std::max(PicturesWidth(), kMinSlotWidth) + 2 * kSlotPadding; }
  int Height() const { return PicturesHeight() + kCaptionGap + 2 * kLineHeight + 2 * kSlotPadding; }
};

struct Title {
  std::string Text;
  int Y;
  bool Bold;
};

class Flow {
 public:
  Flow(int width, int top) : FRight(width - kMargin), FX(kMargin), FY(top), FRowBottom(top) {}

  // A group of slots on the current row, or the next one when the group
  // does not fit; a group wider than the sheet is wrapped.
  void Place(std::vector<Slot>& group) {
    int width = 0;
    for (const Slot& s : group) width += s.Width();
    if (FX > kMargin && FX + width > FRight) NewRow();
    for (Slot& s : group) {
      if (FX > kMargin && FX + s.Width() > FRight) NewRow();
      s.At = POINT{FX, FY};
      FX += s.Width();
      FRowBottom = std::max(FRowBottom, FY + s.Height());
    }
  }
  void NewRow() {
    FX = kMargin;
    FY = FRowBottom;
  }
  // Ends the current row and answers where a title line may go.
  int TitleLine() {
    NewRow();
    const int y = FY + kPartGap;
    FY = FRowBottom = y + kLineHeight + 4;
    return y;
  }
  int Bottom() const { return FRowBottom; }

 private:
  int FRight, FX, FY, FRowBottom;
};

// ---- Painting.

// 0xRRGGBB as a colour value (0x00BBGGRR).
constexpr fw::TColor Rgb(std::uint32_t v) {
  return static_cast<fw::TColor>((v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF));
}

void CopyRect(fw::TBitmap* dest, int x, int y, fw::TBitmap* source, int sx, int sy, int w, int h) {
  BitBlt(dest->Canvas().Handle(), x, y, w, h, source->Canvas().Handle(), sx, sy, SRCCOPY);
}

void Frame(HDC dc, RECT r, fw::TColor color) {
  fw::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(color)));
  InflateRect(&r, 1, 1);
  FrameRect(dc, &r, brush.Get());
}

class Captions {
 public:
  explicit Captions(HDC dc)
      : FDC(dc),
        FFont(CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma")),
        FBold(CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma")) {
    SetBkMode(FDC, TRANSPARENT);
  }

  // One line in r, cut with an ellipsis when too long.
  void Line(RECT r, const std::string& text, fw::TColor color, bool bold = false) {
    fw::SelectGuard font(FDC, (bold ? FBold : FFont).Get());
    SetTextColor(FDC, static_cast<COLORREF>(color));
    DrawTextA(FDC, text.c_str(), static_cast<int>(text.size()), &r,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }

 private:
  HDC FDC;
  fw::UniqueFont FFont;
  fw::UniqueFont FBold;
};

constexpr fw::TColor kSheetColor = Rgb(0xFFFFFF);
constexpr fw::TColor kFrameColor = Rgb(0xB8B8B8);
constexpr fw::TColor kNameColor = Rgb(0x202020);
constexpr fw::TColor kStateColor = Rgb(0x606060);

// The pictures of one slot into the sheet, each framed, and its caption.
void PaintSlot(TsSkinManager& manager, TsSkinSheet& sheet, Captions& captions, const Slot& slot) {
  fw::TBitmap* picture = sheet.Picture.get();
  HDC dc = picture->Canvas().Handle();
  int x = slot.At.x + kSlotPadding;
  const int top = slot.At.y + kSlotPadding;
  for (std::size_t k = 0; k < slot.Pictures.size(); ++k) {
    const SIZE size = slot.Pictures[k];
    const RECT where{x, top, x + size.cx, top + size.cy};
    auto cell = NewBitmap32(size.cx, size.cy);
    const ParentCache parent = MakeParentCache(sheet.Parent.get(), x, top);
    if (slot.Kind == TsSheetCellKind::Section) {
      FillBitmapRect(cell.get(), RECT{0, 0, size.cx, size.cy}, kSheetUntouched);
      PaintSkinItem(slot.Index, slot.Name, parent, -1, -1, &manager, cell.get(), POINT{0, 0},
                    RECT{0, 0, size.cx, size.cy}, slot.State);
    } else {
      // A piece is drawn over what lies under it.
      CopyRect(cell.get(), 0, 0, sheet.Parent.get(), x, top, size.cx, size.cy);
      const TsMaskData& mask = manager.Masks[static_cast<std::size_t>(slot.Index)];
      DrawMaskImage(cell.get(), POINT{0, 0}, slot.State, parent, mask, mlNormal);
    }
    GdiFlush();
    CopyRect(picture, x, top, cell.get(), 0, 0, size.cx, size.cy);
    Frame(dc, where, kFrameColor);
    sheet.Cells.push_back(TsSheetCell{slot.Kind, slot.Index, slot.Name, slot.State, static_cast<int>(k), where});
    x += size.cx + kPictureGap;
  }
  const int left = slot.At.x + kSlotPadding, right = slot.At.x + slot.Width() - kSlotPadding / 2;
  const int captionTop = top + slot.PicturesHeight() + kCaptionGap;
  captions.Line(RECT{left, captionTop, right, captionTop + kLineHeight}, slot.Caption1, kNameColor);
  captions.Line(RECT{left, captionTop + kLineHeight, right, captionTop + 2 * kLineHeight}, slot.Caption2, kStateColor);
}

}  // namespace

std::string LoadSheetSkin(TsSkinManager& manager, const TsSheetSource& source) {
  const std::string full = FullPath(source.Path);
  const DWORD attributes = GetFileAttributesA(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw fw::Exception("No skin folder or file " + full);
  const std::size_t slash = full.find_last_of('\\');
  if (slash == std::string::npos || slash + 1 >= full.size()) throw fw::Exception("Not a skin: " + full);

  TsSkinLoadSettings settings;
  settings.SkinDirectory = full.substr(0, slash);
  settings.HueOffset = source.HueOffset;
  settings.Saturation = source.Saturation;
  std::string name = full.substr(slash + 1);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    settings.SkinName = name;
    bool fromPacked = false;
    if (LoadSkinFromFolder(manager, settings, fromPacked) == TsLoadOutcome::NotFound)
      throw fw::Exception("No Options.dat in the skin folder " + full);
    return "folder";
  }
  if (!EndsWithNoCase(name, ".asz")) throw fw::Exception("A packed skin file ends in .asz: " + full);
  settings.SkinName = name.substr(0, name.size() - 4);
  LoadSkinFromPacked(manager, settings);
  return "packed";
}

std::string SheetStateName(int state) {
  switch (state) {
    case 0:
      return "0 normal";
    case 1:
      return "1 hot";
    case 2:
      return "2 pressed";
    default:
      return std::to_string(state);
  }
}

void PaintSheetParent(fw::TBitmap* bitmap) {
  const PixelView view = ViewOf(bitmap);
  if (view.Empty()) return;
  const double span = std::max(1, view.width + view.height - 2);
  for (int y = 0; y < view.height; ++y) {
    std::uint32_t* row = view.Row(y);
    for (int x = 0; x < view.width; ++x) {
      // From orange (255, 170, 90) to green (120, 190, 110) along the
      // diagonal, every other square darker.
      const double t = (x + y) / span;
      const double dark = ((x / 8 + y / 8) & 1) ? 0.80 : 1.0;
      const auto channel = [&](double from, double to) {
        return static_cast<std::uint32_t>(std::lround((from + (to - from) * t) * dark));
      };
      row[x] = 0xFF000000u | channel(255, 120) << 16 | channel(170, 190) << 8 | channel(90, 110);
    }
  }
}

std::vector<std::string> SheetHeader(TsSkinManager& manager, const TsSheetSource& source, const std::string& kind,
                                     const TsSheetOptions& options) {
  std::ostringstream skin, legend;
  skin << "Version " << (manager.GlobalInfo ? manager.GlobalInfo->Version : 0) << ", " << manager.Sections.size()
       << " sections, " << manager.Masks.size() << " image pieces, " << manager.Patterns.size() << " large pictures";
  if (source.HueOffset) skin << ", hue offset " << source.HueOffset;
  if (source.Saturation) skin << ", saturation " << source.Saturation;
  legend << "Sizes";
  for (const SIZE& s : options.Sizes) legend << " " << s.cx << "x" << s.cy;
  legend << (options.ParentColor ? " over a plain parent" : " over a checkerboard parent")
         << "; magenta in a section cell: pixels no painter touched.";
  return {source.Path + " (" + kind + ")", skin.str(), legend.str()};
}

TsSkinSheet DrawSkinSheet(TsSkinManager& manager, const TsSheetOptions& options) {
  TsSkinSheet sheet;

  // The slots, a group per section and per piece.
  std::vector<std::vector<Slot>> sections, pieces;
  for (std::size_t i = 0; i < manager.Sections.size(); ++i) {
    const TsGeneralData& section = manager.Sections[i];
    const int states = std::max(1, section.StateCount);
    const int shown = std::min(states, std::max(1, options.MaxStates));
    sheet.StatesLeftOut += states - shown;
    std::vector<Slot>& group = sections.emplace_back();
    for (int state = 0; state < shown; ++state)
      group.push_back(Slot{TsSheetCellKind::Section, static_cast<int>(i), section.Name, state, options.Sizes,
                           section.Name, SheetStateName(state)});
  }
  for (std::size_t i = 0; options.Pieces && i < manager.Masks.size(); ++i) {
    const TsMaskData& mask = manager.Masks[i];
    const SIZE size{std::min<LONG>(MaskStateWidth(mask), options.MaxPiece.cx),
                    std::min<LONG>(MaskStateHeight(mask), options.MaxPiece.cy)};
    if (size.cx < 1 || size.cy < 1) continue;
    const int states = std::max<int>(1, mask.StateCount);
    const int shown = std::min(states, std::max(1, options.MaxStates));
    sheet.StatesLeftOut += states - shown;
    std::vector<Slot>& group = pieces.emplace_back();
    for (int state = 0; state < shown; ++state)
      group.push_back(Slot{TsSheetCellKind::Piece,
                           static_cast<int>(i),
                           mask.Section + "/" + mask.Prop,
                           state,
                           {size},
                           mask.Prop,
                           mask.Section + ", " + SheetStateName(state)});
  }

  // Layout: the sheet is at least as wide as its widest slot.
  int width = std::max(options.Width, 2 * kMargin + kMinSlotWidth + 2 * kSlotPadding);
  for (const auto* part : {&sections, &pieces})
    for (const std::vector<Slot>& group : *part)
      for (const Slot& slot : group) width = std::max(width, 2 * kMargin + slot.Width());
  std::vector<Title> titles;
  int y = kMargin;
  for (const std::string& line : options.Header) {
    titles.push_back({line, y, titles.empty()});
    y += kLineHeight + 2;
  }
  Flow flow(width, y);
  titles.push_back({"Sections: each state at each size", flow.TitleLine(), true});
  for (std::vector<Slot>& group : sections) flow.Place(group);
  if (!pieces.empty()) {
    titles.push_back({"Image pieces: each state as the skin holds it", flow.TitleLine(), true});
    for (std::vector<Slot>& group : pieces) flow.Place(group);
  }
  const int height = flow.Bottom() + kMargin;
  if (std::int64_t{width} * height > kMaxPixels)
    throw fw::Exception("The sheet would be " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels: too many sections or too large sizes");

  // Painting.
  sheet.Picture = NewBitmap32(width, height);
  sheet.Parent = NewBitmap32(width, height);
  fw::TBitmap* picture = sheet.Picture.get();
  FillBitmapRect(picture, RECT{0, 0, width, height}, kSheetColor);
  if (options.ParentColor)
    FillBitmapRect(sheet.Parent.get(), RECT{0, 0, width, height}, *options.ParentColor);
  else
    PaintSheetParent(sheet.Parent.get());
  Captions captions(picture->Canvas().Handle());
  for (const Title& t : titles)
    captions.Line(RECT{kMargin, t.Y, width - kMargin, t.Y + kLineHeight + 2}, t.Text, kNameColor, t.Bold);

  for (const auto* part : {&sections, &pieces})
    for (const std::vector<Slot>& group : *part)
      for (const Slot& slot : group) PaintSlot(manager, sheet, captions, slot);
  GdiFlush();
  return sheet;
}

}  // namespace translit
