// Sizes, thumb geometry, hit testing and pictures of skinned scroll bars.
#include "controls/acScrollBars.h"

#include <algorithm>
#include <cstdint>

#include "framework/Colors.h"
#include "render/paint/sGraphUtils.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

// Scroll ranges, positions and pages span the whole 32-bit range and their
// differences do not fit in 32 bits: they are taken on 64.
using Wide = std::int64_t;

// a * b / c rounded to nearest, halves away from zero, as MulDiv rounds;
// -1 for c = 0, as MulDiv answers.
Wide MulDivWide(Wide a, Wide b, Wide c) {
  if (c == 0) return -1;
  const Wide n = a * b;
  Wide q = n / c;
  const Wide r = n % c;
  if (2 * (r < 0 ? -r : r) >= (c < 0 ? -c : c)) q += (n < 0) != (c < 0) ? -1 : 1;
  return q;
}

RECT Along(const TacScrollBar& bar, int from, int to, int thickness) {
  return bar.Vertical() ? RECT{0, from, thickness, to} : RECT{from, 0, to, thickness};
}

int PartState(const TacBarLook& look, int part) {
  if (part == look.PressedPart) return 2;
  if (part == look.HotPart) return 1;
  return 0;
}

const std::string& SectionName(TsSkinManager& manager, int index) {
  static const std::string none;
  return manager.IsValidSection(index) ? manager.Sections[static_cast<std::size_t>(index)].Name : none;
}

// A piece of a track: the section's item laid over the whole bar, of which
// the piece shows its own part.
void PaintTrackPiece(TsSkinManager& manager, int section, fw::TBitmap& picture, const RECT& piece, int state,
                     const ParentCache& parent) {
  if (!manager.IsValidSection(section) || piece.right <= piece.left || piece.bottom <= piece.top) return;
  auto item = NewBitmap32(picture.Width(), picture.Height());
  PaintSkinItem(section, SectionName(manager, section), parent, -1, -1, &manager, item.get(), POINT{0, 0},
                RECT{0, 0, picture.Width(), picture.Height()}, state);
  ::BitBlt(picture.Canvas().Handle(), piece.left, piece.top, piece.right - piece.left, piece.bottom - piece.top,
           item->Canvas().Handle(), piece.left, piece.top, SRCCOPY);
}

// A glyph centred in square (bar coordinates) over what the picture holds.
void PaintGlyph(TsSkinManager& manager, int mask, fw::TBitmap& picture, const RECT& square, int state) {
  if (!manager.IsValidMask(mask)) return;
  const TsMaskData& m = manager.Masks[static_cast<std::size_t>(mask)];
  const int w = MaskStateWidth(m), h = MaskStateHeight(m);
  const POINT at{square.left + (square.right - square.left - w) / 2, square.top + (square.bottom - square.top - h) / 2};
  DrawMaskImage(&picture, at, std::min<int>(state, std::max<int>(m.StateCount - 1, 0)), MakeParentCache(&picture, 0, 0),
                m, mlNormal);
}

// A button or thumb section over what the picture holds at rect.
void PaintOver(TsSkinManager& manager, int section, int hotTexture, int texture, fw::TBitmap& picture, const RECT& rect,
               int state) {
  PaintSkinItem(section, SectionName(manager, section), MakeParentCache(&picture, 0, 0), hotTexture, texture, &manager,
                &picture, POINT{0, 0}, rect, state);
}

// The disabled look: the background under the bar shows 60 % through.
void ToneDown(fw::TBitmap& picture, const ParentCache& parent) {
  const int w = picture.Width(), h = picture.Height();
  if (parent.Ready && parent.Bitmap) {
    BlendRectOnto(&picture, 0, 0, static_cast<fw::TColor>(0x00FF00FF), 0.4,
                  RECT{parent.X, parent.Y, parent.X + w - 1, parent.Y + h - 1}, parent.Bitmap);
    return;
  }
  const std::uint32_t c = static_cast<std::uint32_t>(fw::ColorToRGB(parent.FillColor));
  const int channel[3] = {static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                          static_cast<int>(c & 0xFF)};  // blue, green, red: pixel order
  PixelView view = ViewOf(&picture);
  for (int y = 0; y < view.height; ++y) {
    auto* row = view.Row(y);
    for (int x = 0; x < view.width; ++x) {
      auto* px = reinterpret_cast<std::uint8_t*>(row + x);
      for (int i = 0; i < 3; ++i)
        px[i] = static_cast<std::uint8_t>(((px[i] - channel[i]) * 153 + 256 * channel[i]) >> 8);
    }
  }
}

}  // namespace

int SystemArrowSize() {
  static const int size = ::GetSystemMetrics(SM_CXHSCROLL);
  return size;
}

int BarThickness(const TacScrollBar& bar) {
  if (bar.Thickness >= 0) return bar.Thickness;
  return -bar.Thickness * ::GetSystemMetrics(bar.Vertical() ? SM_CXVSCROLL : SM_CYHSCROLL);
}

int BarArrowLength(const TacScrollBar& bar, bool skinned, TsSkinManager* manager) {
  if (bar.ArrowLength >= 0) return bar.ArrowLength;
  const int times = -bar.ArrowLength;
  if (skinned && manager) {
    const int section = bar.Vertical() ? manager->ConstIndexes.ScrollBtnTop : manager->ConstIndexes.ScrollBtnLeft;
    const int mask = bar.Vertical() ? manager->ConstIndexes.ScrollBtnTopMask : manager->ConstIndexes.ScrollBtnLeftMask;
    if (manager->IsValidSection(section) && manager->Sections[static_cast<std::size_t>(section)].ReservedFlag &&
        manager->IsValidMask(mask)) {
      const TsMaskData& m = manager->Masks[static_cast<std::size_t>(mask)];
      if (bar.Vertical()) return times * MaskStateHeight(m);
      return times * std::max(SystemArrowSize(), MaskStateWidth(m));
    }
  }
  return times * SystemArrowSize();
}

TacThumb ThumbGeometry(const SCROLLINFO& info, int length, int arrow, int minThumb) {
  TacThumb thumb;
  const int track = length - 2 * arrow;
  const Wide range = Wide{info.nMax} - info.nMin;
  const bool hugeRange = range > 0x7FFFFFFE || range < 0;
  if (info.nPage == 0)
    thumb.Size = arrow;
  else if (!hugeRange)
    thumb.Size = std::max(static_cast<int>(MulDivWide(info.nPage, track, range + 1)), minThumb);
  else
    thumb.Size = 0;
  int offset = 0;
  if (!hugeRange) {
    const Wide room = std::max<Wide>(track - thumb.Size, 0);
    const Wide wide = MulDivWide(Wide{info.nPos} - info.nMin, track - thumb.Size,
                                 range - std::max<Wide>(1, static_cast<int>(info.nPage)) + 1);
    offset = static_cast<int>(std::clamp<Wide>(wide, 0, room));
  }
  thumb.Start = arrow + offset;
  return thumb;
}

int PartAt(const SCROLLINFO& info, int length, int arrow, int minThumb, int pos) {
  if (pos < 0 || pos >= length) return spNone;
  const int d = 2 * arrow < length ? arrow : length / 2;
  if (pos < d) return spFirstArrow;
  if (pos >= length - d) return spSecondArrow;
  const TacThumb thumb = ThumbGeometry(info, length, arrow, minThumb);
  if (thumb.Size >= length - 2 * arrow) return spNone;
  if (pos < thumb.Start) return spTrackBefore;
  if (pos < thumb.Start + thumb.Size) return spThumb;
  return spTrackAfter;
}

int DragPosition(const SCROLLINFO& info, int offset, int trackLength, int thumbSize) {
  const Wide range = Wide{info.nMax} - info.nMin;
  const Wide page = info.nPage;
  Wide pos = offset;
  if (range >= 1) {
    const int free = trackLength - thumbSize;
    pos = free > 0 ? MulDivWide(offset, range - page + 1, free) : 0;
  }
  // Positions count from nMin and stop where the last page shows.
  const Wide last = std::max<Wide>(info.nMin, info.nMax - std::max<Wide>(page - 1, 0));
  return static_cast<int>(std::clamp<Wide>(info.nMin + pos, info.nMin, last));
}

bool PaintBarPicture(const TacScrollBar& bar, TsSkinManager& manager, fw::TBitmap& picture, const TacBarLook& look,
                     const ParentCache& parent) {
  const TsConstIndexes& ci = manager.ConstIndexes;
  const bool vertical = bar.Vertical();
  const int track1 = vertical ? ci.ScrollBar1V : ci.ScrollBar1H;
  const int track2 = vertical ? ci.ScrollBar2V : ci.ScrollBar2H;
  if (!manager.IsValidSection(track1)) return false;
  const int length = vertical ? picture.Height() : picture.Width();
  const int thick = vertical ? picture.Width() : picture.Height();
  if (length <= 1 || thick <= 0) return false;
  const int a = BarArrowLength(bar, true, &manager);

  const int btn1 = vertical ? ci.ScrollBtnTop : ci.ScrollBtnLeft;
  const int btn2 = vertical ? ci.ScrollBtnBottom : ci.ScrollBtnRight;
  const int btn1Tex = vertical ? ci.ScrollBtnTopBG : ci.ScrollBtnLeftBG;
  const int btn1Hot = vertical ? ci.ScrollBtnTopBGHot : ci.ScrollBtnLeftBGHot;
  const int btn2Tex = vertical ? ci.ScrollBtnBottomBG : ci.ScrollBtnRightBG;
  const int btn2Hot = vertical ? ci.ScrollBtnBottomBGHot : ci.ScrollBtnRightBGHot;
  const int glyph1 = vertical ? ci.ArrowTop : ci.ArrowLeft;
  const int glyph2 = vertical ? ci.ArrowBottom : ci.ArrowRight;
  const int s = SystemArrowSize();

  int firstEnd, secondStart;
  TacThumb thumb;
  bool hasThumb = false;
  int split;
  if (2 * a < length) {
    thumb = ThumbGeometry(bar.Info, length, a, bar.MinThumb);
    if (look.ThumbStart >= 0) thumb.Start = look.ThumbStart;
    hasThumb = look.Enabled && thumb.Size > 0 && thumb.Size <= length - 2 * a;
    split = hasThumb ? thumb.Start + thumb.Size / 2 : length / 2;
    firstEnd = a;
    secondStart = length - a;
  } else {
    split = length / 2;
    firstEnd = split;
    secondStart = split;
  }
  PaintTrackPiece(manager, track1, picture, Along(bar, 0, split, thick), look.PressedPart == spTrackBefore ? 2 : 0,
                  parent);
  PaintTrackPiece(manager, manager.IsValidSection(track2) ? track2 : track1, picture, Along(bar, split, length, thick),
                  look.PressedPart == spTrackAfter ? 2 : 0, parent);

  const int state1 = PartState(look, spFirstArrow), state2 = PartState(look, spSecondArrow);
  PaintOver(manager, btn1, btn1Hot, btn1Tex, picture, Along(bar, 0, firstEnd, thick), state1);
  PaintGlyph(manager, glyph1, picture, Along(bar, 0, s, thick), state1);
  PaintOver(manager, btn2, btn2Hot, btn2Tex, picture, Along(bar, secondStart, length, thick), state2);
  PaintGlyph(manager, glyph2, picture, Along(bar, length - s, length, thick), state2);

  if (hasThumb) {
    const int slider = vertical ? ci.SliderVert : ci.SliderHorz;
    const int sliderTex = vertical ? ci.SliderVertBG : ci.SliderHorzBG;
    const int sliderHot = vertical ? ci.SliderVertBGHot : ci.SliderHorzBGHot;
    const int sliderGlyph = vertical ? ci.SliderVertGlyph : ci.SliderHorzGlyph;
    const int state = PartState(look, spThumb);
    const RECT r = Along(bar, thumb.Start, thumb.Start + thumb.Size, thick);
    PaintOver(manager, slider, sliderHot, sliderTex, picture, r, state);
    PaintGlyph(manager, sliderGlyph, picture, r, state);
  }
  if (!look.Enabled) ToneDown(picture, parent);
  return true;
}

}  // namespace translit
