// The extra line of popup menus.
#include "forms/acMenuSupport.h"

#include "render/paint/SkinPaintItem.h"
#include "render/paint/SkinPaintParent.h"

namespace translit {

TacExtraLineData& CurrentExtraLine() {
  static TacExtraLineData data;
  return data;
}

bool AskExtraLine(const TsSkinManager& manager, const fw::TMenuItem& firstItem) {
  if (firstItem.Caption() == kSkinSelectItem) return false;
  CurrentExtraLine() = manager.MenuExtraLineData(const_cast<fw::TMenuItem*>(&firstItem));
  return CurrentExtraLine().LineVisible;
}

int ExtraLineWidth(const TsSkinManager& manager, bool lineShown) {
  TacMenuSupport& support = const_cast<TsSkinManager&>(manager).MenuSupport();
  return support.UseExtraLine && lineShown ? std::max(support.ExtraLineWidth, 0) : 0;
}

void PaintExtraLine(TsSkinManager& manager, fw::TBitmap& picture, const RECT& rect) {
  const TacExtraLineData& line = CurrentExtraLine();
  const int section = manager.SectionIndex(line.SkinSection);
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  if (section >= 0)
    PaintSkinItem(section, line.SkinSection, MakeParentCache(&picture, rect.left, rect.top), -1, -1, &manager, &picture,
                  POINT{0, 0}, rect, 0);
  int bottom = rect.bottom - 12;
  if (line.Glyph && !line.Glyph->Empty()) {
    const int x = (rect.left + rect.right - line.Glyph->Width()) / 2;
    ::BitBlt(picture.Canvas().Handle(), x, bottom - line.Glyph->Height(), line.Glyph->Width(), line.Glyph->Height(),
             line.Glyph->Canvas().Handle(), 0, 0, SRCCOPY);
    bottom = rect.bottom - 20 - line.Glyph->Height();
  }
  if (line.Caption.empty()) return;
  // The caption reads upwards: a font turned by 270 degrees, written from
  // the bottom of the band.
  fw::TFont font;
  font.Assign(manager.MenuSupport().ExtraLineFont);
  LOGFONTA lf{};
  ::GetObjectA(font.Handle(), sizeof(lf), &lf);
  lf.lfEscapement = lf.lfOrientation = 900;
  HDC dc = picture.Canvas().Handle();
  {
    // A bitmap font cannot be turned: its face gives way to an outline one.
    fw::SelectGuard probe(dc, font.Handle());
    TEXTMETRICA metrics{};
    if (::GetTextMetricsA(dc, &metrics) && !(metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)))
      lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
  }
  fw::UniqueFont turned(::CreateFontIndirectA(&lf));
  fw::SelectGuard select(dc, turned.Get());
  SIZE extent{};
  ::GetTextExtentPoint32A(dc, line.Caption.c_str(), static_cast<int>(line.Caption.size()), &extent);
  const fw::TColor color =
      section >= 0 ? static_cast<fw::TColor>(manager.Sections[static_cast<std::size_t>(section)].States[0].FontColor)
                   : font.Color();
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, static_cast<COLORREF>(fw::ColorToRGB(color)));
  // Turned upwards, the text's cell lies right of the reference point.
  const int x = (rect.left + rect.right - extent.cy) / 2;
  ::TextOutA(dc, x, bottom, line.Caption.c_str(), static_cast<int>(line.Caption.size()));
}

}  // namespace translit
