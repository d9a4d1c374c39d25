// Skinned text and glyphs. Text always goes through DrawText with the
// caller's flags; pixel work happens on DIB sections after GdiFlush.
#define OEMRESOURCE
#include "render/paint/SkinPaintText.h"

#include "controls/protocol/sSkinState.h"
#include <algorithm>
#include <array>

#include "controls/protocol/sVclUtils.h"
#include "framework/Handles.h"
#include "render/paint/SkinPaintMasks.h"
#include "render/paint/SkinPaintGeometry.h"
#include "render/paint/SkinPaintFills.h"
#include "render/bitmaps/acImageFilters.h"
#include "skin/sSkinManager.h"

namespace translit {

RECT MovedRect(RECT r, int dx, int dy) {
  ::OffsetRect(&r, dx, dy);
  return r;
}

// DrawText in the canvas's font and color; the canvas keeps the color.
void DrawCanvasText(fw::TCanvas& canvas, const std::string& text, RECT rect, UINT format, fw::TColor color) {
  canvas.Font().SetColor(color);
  HDC dc = canvas.Handle();
  if (!dc) return;
  fw::SelectGuard font(dc, canvas.Font().Handle());
  ::SetTextColor(dc, static_cast<COLORREF>(fw::ColorToRGB(color)));
  // DrawText may write into its buffer (DT_MODIFYSTRING).
  std::string buffer = text;
  buffer.resize(text.size() + 4);
  ::DrawTextA(dc, buffer.data(), static_cast<int>(text.size()), &rect, format);
}

std::array<TextShadow, 4> ShadowsOf(const TsGenState& look) {
  return {{{look.TcLeft, -1, 0}, {look.TcTop, 0, -1}, {look.TcRight, 1, 0}, {look.TcBottom, 0, 1}}};
}

namespace {

using paint::Height;
using paint::Width;

TsSkinManager* ManagerOr(TsSkinManager* manager) { return manager ? manager : DefaultManager; }

// ((d - c) * k + 256 * c) >> 8 with coverage k: 0 is full text, 255 none.
constexpr std::uint32_t CoverChannel(int d, int c, int k) {
  return static_cast<std::uint32_t>(((d - c) * k + 256 * c) >> 8);
}

// Text in color into rect of a 32-bit bitmap, each touched pixel mixed by
// the coverage the text has there in a black-on-white rendering.
void BlendTextLayer(fw::TBitmap* bitmap, const std::string& text, const RECT& rect, UINT format, fw::TColor color) {
  const int w = Width(rect), h = Height(rect);
  if (w <= 0 || h <= 0) return;
  const PixelView dest = ViewOf(bitmap);
  if (dest.Empty()) return;
  auto layer = NewBitmap32(w, h);
  FillBitmapRect(layer.get(), RECT{0, 0, w, h}, 0xFFFFFF);
  fw::TCanvas& canvas = layer->Canvas();
  canvas.Font().Assign(bitmap->Canvas().Font());
  ::SetBkMode(canvas.Handle(), TRANSPARENT);
  DrawCanvasText(canvas, text, RECT{0, 0, w, h}, format, 0x000000);
  ::GdiFlush();
  const PixelView source = ViewOf(layer.get());
  const std::uint32_t c = ExchangeRB(static_cast<std::uint32_t>(fw::ColorToRGB(color)));
  for (int y = 0; y < h; ++y) {
    const int dy = rect.top + y;
    if (dy < 0 || dy >= dest.height) continue;
    for (int x = 0; x < w; ++x) {
      const int dx = rect.left + x;
      if (dx < 0 || dx >= dest.width) continue;
      const std::uint32_t s = source.At(x, y);
      if (s == 0x00FFFFFFu || s == 0xFFFFFFFFu) continue;
      const int k = static_cast<int>((ChannelOf(s, 0) + ChannelOf(s, 1) + ChannelOf(s, 2)) / 3);
      std::uint32_t& d = dest.At(dx, dy);
      std::uint32_t out = 0xFF000000u;
      for (int i = 0; i < 3; ++i)
        out |= (CoverChannel(static_cast<int>(ChannelOf(d, i)), static_cast<int>(ChannelOf(c, i)), k) & 0xFFu)
               << (8 * i);
      d = out;
    }
  }
}

// The cell's bottom-left pixel as a colour; the working picture has alpha 0.
fw::TColor CellKey(const PixelView& work, int cellLeft) {
  return static_cast<fw::TColor>(ExchangeRB(work.At(cellLeft, work.height - 1)) & 0x00FFFFFFu);
}

// The system check box bitmap holds 4 x 3 cells of the box.
SIZE MeasureSystemCheckBox() {
  SIZE size{13, 13};  // the classic cell, should the bitmap be missing
  fw::UniqueBitmap boxes(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECKBOXES)));
  BITMAP info{};
  if (boxes && ::GetObjectA(boxes.Get(), sizeof info, &info) == sizeof info && info.bmWidth >= 4 &&
      info.bmHeight >= 3) {
    size.cx = info.bmWidth / 4;
    size.cy = info.bmHeight / 3;
  }
  return size;
}

const SIZE& SystemCheckBoxSize() {
  static const SIZE size = MeasureSystemCheckBox();
  return size;
}

int SmallCheckMask(TsSkinManager* manager, int state) {
  if (!manager || !manager->Active()) return -1;
  const TsConstIndexes& c = manager->ConstIndexes;
  const int index = state == 1 ? c.SmallCheckBoxChecked : state == 2 ? c.SmallCheckBoxGrayed : c.SmallCheckBoxUnchecked;
  return manager->IsValidMask(index) ? index : -1;
}

}  // namespace

void WriteSkinText(fw::TCanvas& canvas, const std::string& text, bool enabled, TsSkinManager* manager, bool hot,
                   int sectionIndex, UINT format, const RECT& rect) {
  if (SkinLoadInProgress) return;
  manager = ManagerOr(manager);
  if (text.empty() || !manager || !manager->IsValidSection(sectionIndex) || !canvas.Handle()) return;
  const TsGeneralData& section = manager->Sections[static_cast<std::size_t>(sectionIndex)];
  ::SetBkMode(canvas.Handle(), TRANSPARENT);
  fw::TColor color;
  if (enabled) {
    const TsGenState& look = section.States[hot ? 1 : 0];
    for (const TextShadow& s : ShadowsOf(look))
      if (s.color != clNone) DrawCanvasText(canvas, text, MovedRect(rect, s.dx, s.dy), format, s.color);
    color = look.FontColor;
  } else {
    color = static_cast<fw::TColor>(BlendColor(static_cast<std::uint32_t>(fw::ColorToRGB(section.States[0].FontColor)),
                                               static_cast<std::uint32_t>(fw::ColorToRGB(section.Color)), 0.4));
  }
  DrawCanvasText(canvas, text, rect, format, color);
}

void WriteTextOnBitmap(fw::TBitmap* bitmap, const std::string& text, bool withShadows, TsSkinManager* manager, bool hot,
                       int sectionIndex, UINT format, const RECT& rect) {
  if (SkinLoadInProgress) return;
  if (!bitmap || text.empty()) return;
  manager = ManagerOr(manager);
  if (!manager || !manager->IsValidSection(sectionIndex)) {
    BlendTextLayer(bitmap, text, rect, format, bitmap->Canvas().Font().Color());
    return;
  }
  const TsGeneralData& section = manager->Sections[static_cast<std::size_t>(sectionIndex)];
  const TsGenState& look = section.States[hot && section.StateCount > 0 ? 1 : 0];
  if (withShadows)
    for (const TextShadow& s : ShadowsOf(look))
      if (s.color != clNone) BlendTextLayer(bitmap, text, MovedRect(rect, s.dx, s.dy), format, s.color);
  BlendTextLayer(bitmap, text, rect, format, look.FontColor);
}

void DrawGlowText(fw::TBitmap* bitmap, const std::string& text, const RECT& rect,
                  std::unique_ptr<fw::TBitmap>& maskCache, fw::TColor color, int size, unsigned sides, UINT format) {
  if (!bitmap || size < 0) return;
  const PixelView dest = ViewOf(bitmap);
  if (dest.Empty()) return;
  const int grow = size + 4;
  const int w = Width(rect) + 2 * grow, h = Height(rect) + 2 * grow;
  if (Width(rect) <= 0 || Height(rect) <= 0) return;
  const bool reusable =
      maskCache && maskCache->PixelFormat() == fw::pf8bit && maskCache->Width() == w && maskCache->Height() == h;
  if (!reusable) {
    auto mask = std::make_unique<fw::TBitmap>(w, h, fw::pf8bit);
    fw::TCanvas& canvas = mask->Canvas();
    FillSolid(canvas.Handle(), RECT{0, 0, w, h}, 0xFFFFFF);
    canvas.Font().Assign(bitmap->Canvas().Font());
    canvas.Brush().SetStyle(fw::bsClear);
    ::SetBkMode(canvas.Handle(), TRANSPARENT);
    const RECT textRect{grow, grow, grow + Width(rect), grow + Height(rect)};
    static constexpr std::array<std::array<int, 3>, 4> kSides{
        {{gsLeft, -1, 0}, {gsUp, 0, -1}, {gsRight, 1, 0}, {gsDown, 0, 1}}};
    for (const auto& side : kSides)
      if (sides & static_cast<unsigned>(side[0]))
        DrawCanvasText(canvas, text, MovedRect(textRect, side[1], side[2]), format, 0x000000);
    DrawCanvasText(canvas, text, textRect, format, 0x000000);
    ::GdiFlush();
    BlurGray8(mask.get(), static_cast<double>(size));
    maskCache = std::move(mask);
  }
  ::GdiFlush();
  const GrayView mask = GrayOf(maskCache.get());
  if (mask.Empty()) return;
  const std::uint32_t c = ExchangeRB(static_cast<std::uint32_t>(fw::ColorToRGB(color)));
  for (int y = 0; y < mask.height; ++y) {
    const int dy = rect.top - grow + y;
    if (dy < 0 || dy >= dest.height) continue;
    const std::uint8_t* row = mask.Row(y);
    for (int x = 0; x < mask.width; ++x) {
      const int m = row[x];
      const int dx = rect.left - grow + x;
      if (m == 255 || dx < 0 || dx >= dest.width) continue;
      std::uint32_t& d = dest.At(dx, dy);
      std::uint32_t out = 0;
      for (int i = 0; i < 3; ++i) {
        const int ci = static_cast<int>(ChannelOf(c, i));
        out |= static_cast<std::uint32_t>(ci + (static_cast<int>(ChannelOf(d, i)) - ci) * m / 255) << (8 * i);
      }
      const int a = static_cast<int>(ChannelOf(d, 3));
      out |= static_cast<std::uint32_t>(a + (255 - m) * (255 - a) / 255) << 24;
      d = out;
    }
  }
}

std::string FitTextWithEllipsis(fw::TCanvas& canvas, const std::string& text, int maxWidth) {
  if (maxWidth <= 0) return {};
  if (canvas.TextWidth(text) <= maxWidth) return text;
  std::string cut = text;
  while (!cut.empty()) {
    cut.pop_back();
    if (!cut.empty() && canvas.TextWidth(cut + "...") <= maxWidth) return cut + "...";
  }
  return {};
}

void DrawGlyphImage(fw::TBitmap* glyph, fw::TBitmap* dest, const RECT& rect, int index, int blend, int kind,
                    TsDisabledGlyphKind disabledKind, bool flag, int numGlyphs) {
  if (!glyph || !dest || numGlyphs < 1 || glyph->Width() <= 0 || glyph->Height() <= 0) return;
  const int gw = glyph->Width(), gh = glyph->Height();
  const bool fourBit = glyph->PixelFormat() == fw::pf4bit;
  auto work = NewBitmap32(gw, gh);
  ::BitBlt(work->Canvas().Handle(), 0, 0, gw, gh, glyph->Canvas().Handle(), 0, 0, SRCCOPY);
  ::GdiFlush();
  // Alpha 0 everywhere, so that keys compare as colours.
  PixelView view = ViewOf(work.get());
  for (int y = 0; y < gh; ++y)
    for (int x = 0; x < gw; ++x) view.At(x, y) &= 0x00FFFFFFu;
  const int x = rect.left, y = rect.top;

  if (numGlyphs == 1) {
    if (flag) {
      if (kind == 0 && blend > 0)
        BlendRectOnto(dest, x, y, clSkinTransparent, blend / 100.0, RECT{0, 0, gw - 1, gh - 1}, work.get());
      else
        CopyOpaque(dest, work.get(), x, CellKey(view, 0), y);
      return;
    }
    if (disabledKind & dgGrayed) {
      GrayBitmap(work.get());
      view = ViewOf(work.get());
      for (int row = 0; row < gh; ++row)
        for (int col = 0; col < gw; ++col) view.At(col, row) &= 0x00FFFFFFu;
    }
    const fw::TColor key = CellKey(view, 0);
    if (disabledKind & dgBlended)
      BlendRectOnto(dest, x, y, static_cast<fw::TColor>(ExchangeRB(static_cast<std::uint32_t>(key))), 0.5,
                    RECT{0, 0, gw - 1, gh - 1}, work.get());
    else
      CopyOpaque(dest, work.get(), x, key, y);
    return;
  }

  const int cellWidth = gw / numGlyphs;
  if (cellWidth <= 0) return;
  int cell = 0;
  if (flag && kind != 0) {
    if (kind == 1) {
      cell = fourBit ? 0 : 1;
    } else if (kind == 2) {
      const long long wanted = static_cast<long long>(index) + 2;
      cell = wanted >= 0 && wanted < numGlyphs ? static_cast<int>(wanted) : fourBit ? 0 : std::min(1, numGlyphs - 1);
    } else {
      return;
    }
  }
  const int left = cell * cellWidth;
  const RECT source{left, 0, left + cellWidth - 1, gh - 1};
  if (!flag && kind == 0 && blend > 0)
    BlendRectOnto(dest, x, y, clSkinTransparent, blend / 100.0, source, work.get());
  else
    CopyKeyed(dest, work.get(), x, CellKey(view, left), source, y);
}

SIZE SmallCheckBoxSize(TsSkinManager* manager) {
  manager = ManagerOr(manager);
  const int mask = SmallCheckMask(manager, 1);
  if (mask >= 0) return SIZE{manager->MaskStateWidth(mask) + 2, manager->MaskStateHeight(mask)};
  return SystemCheckBoxSize();
}

void PaintSmallCheckBox(const RECT& rect, int state, bool enabled, TsSkinManager* manager, const ParentCache& parent,
                        fw::TBitmap* bitmap) {
  if (SkinLoadInProgress) return;
  if (!bitmap) return;
  manager = ManagerOr(manager);
  const int mask = SmallCheckMask(manager, state);
  if (mask >= 0) {
    const POINT at{rect.left, rect.top + (Height(rect) - manager->MaskStateHeight(mask)) / 2};
    DrawMaskImage(bitmap, at, 0, parent, manager->Masks[static_cast<std::size_t>(mask)], enabled ? mlNormal : mlFaded);
    return;
  }
  const SIZE box = SystemCheckBoxSize();
  HDC dc = bitmap->Canvas().Handle();
  RECT boxRect{rect.left + (Width(rect) - box.cx) / 2, rect.top + (Height(rect) - box.cy) / 2, 0, 0};
  boxRect.right = boxRect.left + box.cx;
  boxRect.bottom = boxRect.top + box.cy;
  const RECT strip{boxRect.left - 1, rect.top, boxRect.right + 1, rect.bottom};
  if (parent.Ready && parent.Bitmap)
    ::BitBlt(dc, strip.left, strip.top, Width(strip), Height(strip), parent.Bitmap->Canvas().Handle(),
             parent.X + strip.left, parent.Y + strip.top, SRCCOPY);
  else
    FillSolid(dc, strip, parent.FillColor);
  UINT flags = DFCS_BUTTONCHECK;
  if (state == 1) flags |= DFCS_CHECKED;
  if (state == 2) flags |= DFCS_CHECKED | DFCS_BUTTON3STATE;
  if (!enabled) flags |= DFCS_INACTIVE;
  ::DrawFrameControl(dc, &boxRect, DFC_BUTTON, flags);
}

void DrawDottedFocusRect(fw::TCanvas& canvas, const RECT& rect, fw::TColor color1, fw::TColor color2) {
  const int left = rect.left, top = rect.top, right = rect.right - 1, bottom = rect.bottom - 1;
  const int width = right - left, height = bottom - top;
  if (width < 0 || height < 0) return;
  for (int i = 0; i <= width / 3; ++i) {
    const int x = left + 3 * i;
    for (int y : {top, bottom}) {
      canvas.SetPixel(x, y, color2);
      canvas.SetPixel(x - 1, y, color1);
    }
  }
  for (int i = 0; i <= height / 3; ++i) {
    const int y = top + 3 * i;
    for (int x : {left, right}) {
      canvas.SetPixel(x, y, color2);
      canvas.SetPixel(x, y - 1, color1);
    }
  }
}

void DrawFrame3D(HDC dc, RECT& rect, fw::TColor topLeftColor, int width, fw::TColor bottomRightColor) {
  if (!dc) return;
  fw::UniquePen topLeft(::CreatePen(PS_SOLID, 1, static_cast<COLORREF>(fw::ColorToRGB(topLeftColor))));
  fw::UniquePen bottomRight(::CreatePen(PS_SOLID, 1, static_cast<COLORREF>(fw::ColorToRGB(bottomRightColor))));
  fw::SelectGuard brush(dc, ::GetStockObject(NULL_BRUSH));
  fw::SelectGuard pen(dc, topLeft.Get());
  --rect.right;
  --rect.bottom;
  for (int i = 0; i < width; ++i) {
    const POINT lead[3] = {{rect.left, rect.bottom}, {rect.left, rect.top}, {rect.right, rect.top}};
    ::SelectObject(dc, topLeft.Get());
    ::Polyline(dc, lead, 3);
    const POINT trail[3] = {{rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left - 1, rect.bottom}};
    ::SelectObject(dc, bottomRight.Get());
    ::Polyline(dc, trail, 3);
    ::InflateRect(&rect, -1, -1);
  }
  ++rect.right;
  ++rect.bottom;
}

void ExcludeGraphicControls(HDC dc, fw::TWinControl* control, int offsetY, int offsetX) {
  if (!dc || !control) return;
  for (int i = 0; i < control->ControlCount(); ++i) {
    fw::TControl* child = control->Controls(i);
    if (!child || !child->Visible() || dynamic_cast<fw::TWinControl*>(child)) continue;
    const RECT r = MovedRect(child->BoundsRect(), offsetX, offsetY);
    ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
}

}  // namespace translit
