// skinsheet: one PNG picture of everything a skin paints, for skin authors.
//   skinsheet SKIN OUT.png [--hue N] [--saturation N] [--sizes WxH[,WxH...]]
//             [--parent RRGGBB] [--width N] [--zoom N] [--no-pieces]
// SKIN is a skin folder (with "Options.dat") or a packed ".asz" file. Every
// section is painted in each state at each size by the engine's own
// painters over a checkerboard (or a plain colour), every image piece in each
// of its states. The skin's hue offset and saturation change can be tried on
// the way, and the picture enlarged pixel by pixel (--zoom 2 to 4).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/core/Classes.h"
#include "framework/core/SysUtils.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/pixels/PngEncoder.h"
#include "skin/sSkinManager.h"
#include "tools/SkinSheet.h"

using namespace translit;

namespace {

// An enlarged sheet is held whole in memory before it is written.
constexpr std::int64_t kMaxZoomedPixels = 64 << 20;

int Usage() {
  std::cerr << "usage: skinsheet SKIN OUT.png [--hue N] [--saturation N] [--sizes WxH[,WxH...]]\n"
               "                 [--parent RRGGBB] [--width N] [--zoom N] [--no-pieces]\n"
               "  SKIN: a skin folder (with Options.dat) or a packed .asz file\n";
  return 2;
}

bool ParseInt(const std::string& text, int& value) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < -100000 || v > 100000) return false;
  value = static_cast<int>(v);
  return true;
}

// RRGGBB in hexadecimal, as a colour value.
bool ParseColor(const std::string& text, std::optional<fw::TColor>& color) {
  char* end = nullptr;
  const unsigned long v = std::strtoul(text.c_str(), &end, 16);
  if (text.size() != 6 || *end != '\0') return false;
  color = static_cast<fw::TColor>((v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF));
  return true;
}

bool ParseSizes(const std::string& text, std::vector<SIZE>& sizes) {
  sizes.clear();
  std::stringstream list(text);
  std::string item;
  while (std::getline(list, item, ',')) {
    const std::size_t x = item.find_first_of("xX");
    int w = 0, h = 0;
    if (x == std::string::npos || !ParseInt(item.substr(0, x), w) || !ParseInt(item.substr(x + 1), h)) return false;
    if (w < 1 || h < 1 || w > 2000 || h > 2000) return false;
    sizes.push_back(SIZE{w, h});
  }
  return !sizes.empty();
}

// Section cells where some pixel kept the colour the cell started with.
std::vector<std::string> UntouchedCells(TsSkinSheet& sheet) {
  std::vector<std::string> names;
  const PixelView view = ViewOf(sheet.Picture.get());
  for (const TsSheetCell& cell : sheet.Cells) {
    if (cell.Kind != TsSheetCellKind::Section) continue;
    bool untouched = false;
    for (int y = cell.Rect.top; y < cell.Rect.bottom && !untouched; ++y)
      for (int x = cell.Rect.left; x < cell.Rect.right && !untouched; ++x)
        untouched = (view.At(x, y) & 0xFFFFFF) == 0xFF00FF;
    if (untouched) names.push_back(cell.Name + " " + SheetStateName(cell.State));
  }
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2) return Usage();
  TsSheetSource source;
  source.Path = args[0];
  const std::string out = args[1];
  TsSheetOptions options;
  int zoom = 1;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    // An option with a value takes the next argument when that value is good.
    const std::string* value = i + 1 < args.size() ? &args[i + 1] : nullptr;
    const bool tookValue = value && ((a == "--hue" && ParseInt(*value, source.HueOffset)) ||
                                     (a == "--saturation" && ParseInt(*value, source.Saturation)) ||
                                     (a == "--sizes" && ParseSizes(*value, options.Sizes)) ||
                                     (a == "--parent" && ParseColor(*value, options.ParentColor)) ||
                                     (a == "--width" && ParseInt(*value, options.Width) && options.Width <= 8000) ||
                                     (a == "--zoom" && ParseInt(*value, zoom) && zoom >= 1 && zoom <= 4));
    if (tookValue) {
      ++i;
    } else if (a == "--no-pieces") {
      options.Pieces = false;
    } else {
      std::cerr << "skinsheet: bad argument " << a << "\n";
      return Usage();
    }
  }

  try {
    fw::EnsureApplication();
    TsSkinManager manager(nullptr);
    const std::string kind = LoadSheetSkin(manager, source);
    options.Header = SheetHeader(manager, source, kind, options);

    TsSkinSheet sheet = DrawSkinSheet(manager, options);
    std::unique_ptr<fw::TBitmap> zoomed;
    fw::TBitmap* picture = sheet.Picture.get();
    if (zoom > 1) {
      const int w = picture->Width(), h = picture->Height();
      if (std::int64_t{w} * h * zoom * zoom > kMaxZoomedPixels)
        throw fw::Exception("The sheet is too large to enlarge " + std::to_string(zoom) + " times");
      zoomed = NewBitmap32(w * zoom, h * zoom);
      HDC dc = zoomed->Canvas().Handle();
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, 0, 0, w * zoom, h * zoom, picture->Canvas().Handle(), 0, 0, w, h, SRCCOPY);
      GdiFlush();
      picture = zoomed.get();
    }
    const std::vector<std::uint8_t> png = EncodePng(ViewOf(picture), false, 6);
    fw::TMemoryStream(png).SaveToFile(out);

    std::cout << out << ": " << picture->Width() << " x " << picture->Height() << ", " << sheet.Cells.size()
              << " cells\n";
    if (sheet.StatesLeftOut)
      std::cout << "states left out (more than " << options.MaxStates << "): " << sheet.StatesLeftOut << "\n";
    for (const std::string& name : UntouchedCells(sheet)) std::cout << "untouched pixels: " << name << "\n";
  } catch (const std::exception& e) {
    std::cerr << "skinsheet: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
