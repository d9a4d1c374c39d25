// The title icon of a skinned frame.
#include "forms/acFrameIcon.h"

#include <algorithm>
#include <vector>

#include "forms/sSkinProvider.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintParent.h"
#include "skin/sProgramIcons.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

constexpr fw::TColor kGlyphKey = static_cast<fw::TColor>(0xFF00FF);

HICON IconToDraw(fw::TCustomForm& form, bool large) {
  HICON icon = reinterpret_cast<HICON>(::SendMessageA(form.Handle(), WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(::SendMessageA(form.Handle(), WM_GETICON, ICON_BIG, 0));
  if (!icon && fw::Application && fw::Application->Handle())
    icon = reinterpret_cast<HICON>(::SendMessageA(fw::Application->Handle(), WM_GETICON, ICON_SMALL2, 0));
  if (!icon) icon = ProgramIcon(large);
  if (!icon) icon = ::LoadIconA(nullptr, IDI_APPLICATION);
  return icon;
}

// The glyph drawn over what the cache holds: with its own alpha, or with the
// key colour left out, stretched to size.
void DrawGlyph(fw::TBitmap& glyph, fw::TBitmap& cache, const RECT& r) {
  if (glyph.PixelFormat() == fw::pf32bit) {
    ComposeAlpha(RECT{r.left, r.top, r.left + glyph.Width(), r.top + glyph.Height()},
                 RECT{0, 0, glyph.Width(), glyph.Height()}, &cache, false, EmptyParentCache(), &glyph);
    return;
  }
  auto sized = NewBitmap32(r.right - r.left, r.bottom - r.top);
  ::StretchBlt(sized->Canvas().Handle(), 0, 0, sized->Width(), sized->Height(), glyph.Canvas().Handle(), 0, 0,
               glyph.Width(), glyph.Height(), SRCCOPY);
  CopyKeyed(&cache, sized.get(), r.left, kGlyphKey, RECT{0, 0, sized->Width() - 1, sized->Height() - 1}, r.top);
}

}  // namespace

bool IconVisible(TsSkinProvider& p) {
  fw::TCustomForm& f = *p.OwnerForm;
  if (f.BorderStyle() != fw::bsSingle && f.BorderStyle() != fw::bsSizeable) return false;
  if (!p.ShowAppIcon()) return false;
  // The skinned frame takes WS_SYSMENU away so that the system draws no
  // buttons; the menu it had still counts.
  return p.HadSysMenuStyle || (::GetWindowLongA(f.Handle(), GWL_STYLE) & WS_SYSMENU);
}

SIZE TitleIconSize(TsSkinProvider& p, const TacFrameMetrics& m) {
  const int side = IconSizeForCaption(m.Caption);
  TsTitleIcon& icon = p.TitleIcon();
  return SIZE{icon.Width() != 0 ? icon.Width() : side, icon.Height() != 0 ? icon.Height() : side};
}

RECT TitleIconRect(TsSkinProvider& p, const TacFrameMetrics& m) {
  TsSkinManager* manager = p.SkinData().SkinManager();
  const int biLeft = manager && manager->GlobalInfo ? manager->GlobalInfo->BiLeft : 0;
  const SIZE size = TitleIconSize(p, m);
  RECT r;
  r.left = m.FrameBorder + biLeft;
  r.right = r.left + size.cx;
  r.top = m.FrameBorder / 2;
  r.top += (m.TopFrame + m.Caption - r.top - size.cy) / 2;
  r.bottom = r.top + size.cy;
  return r;
}

int DrawTitleIcon(TsSkinProvider& p, const TacFrameMetrics& m, fw::TBitmap& cache) {
  if (!IconVisible(p)) return 0;
  const RECT r = TitleIconRect(p, m);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return 0;
  fw::TBitmap& glyph = p.TitleIcon().Glyph();
  if (glyph.Width() > 0 && glyph.Height() > 0) {
    DrawGlyph(glyph, cache, r);
    return w;
  }
  PixelView view = cache.View();
  const RECT area{std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0), std::min<LONG>(r.right, view.width),
                  std::min<LONG>(r.bottom, view.height)};
  if (area.right <= area.left || area.bottom <= area.top) return w;
  // DrawIconEx leaves the alpha channel as it likes: pixels it did not
  // change get their old value back, the ones it drew become opaque.
  std::vector<std::uint32_t> saved;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) saved.push_back(view.Row(y)[x]);
  ::GdiFlush();
  ::DrawIconEx(cache.Canvas().Handle(), r.left, r.top, IconToDraw(*p.OwnerForm, h > 16), w, h, 0, nullptr, DI_NORMAL);
  ::GdiFlush();
  std::size_t i = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint32_t* row = view.Row(y);
    for (int x = area.left; x < area.right; ++x, ++i) {
      if ((row[x] & 0xFFFFFF) == (saved[i] & 0xFFFFFF))
        row[x] = saved[i];
      else
        row[x] |= 0xFF000000u;
    }
  }
  return w;
}

}  // namespace translit
