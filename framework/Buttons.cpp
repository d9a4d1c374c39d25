// The bitmap button.
#include "framework/Buttons.h"

#include <algorithm>

#include "framework/Handles.h"
#include "framework/Themes.h"

namespace fw {

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style = (p.Style & ~BS_TYPEMASK) | BS_OWNERDRAW | BS_MULTILINE;
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // The themed look shows the mouse above the button.
      FMouseAbove = m.Msg == CM_MOUSEENTER;
      Invalidate();
      break;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a quick second click as a double
      // click; as a push button it is one more click.
      m.Msg = WM_LBUTTONDOWN;
      break;
    default:
      break;
  }
  TButton::WndProc(m);
}

bool TBitBtn::HasDefaultLook(bool focused) const {
  if (focused) return true;
  if (!Default()) return false;
  auto* other = dynamic_cast<TButton*>(TWinControl::FromHandle(::GetFocus()));
  return !other || other == this;
}

void TBitBtn::DrawGlyph(HDC dc, int x, int y, bool enabled, bool pressed) {
  const int cells = std::max(FNumGlyphs, 1);
  const int w = FGlyph.Width() / cells, h = FGlyph.Height();
  if (w <= 0 || h <= 0) return;
  int cell = !enabled ? 1 : pressed ? 2 : 0;
  if (cell >= cells) cell = 0;
  HDC glyphDC = FGlyph.Canvas().Handle();
  if (!enabled && cell == 0) {
    // No disabled cell: the platform's disabled rendering of the up cell.
    UniqueDC copyDC(::CreateCompatibleDC(dc));
    UniqueBitmap copy(::CreateCompatibleBitmap(dc, w, h));
    {
      SelectGuard into(copyDC.Get(), copy.Get());
      ::BitBlt(copyDC.Get(), 0, 0, w, h, glyphDC, 0, 0, SRCCOPY);
    }
    ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(copy.Get()), 0, x, y, w, h, DST_BITMAP | DSS_DISABLED);
    return;
  }
  const COLORREF key = ::GetPixel(glyphDC, 0, h - 1);
  ::TransparentBlt(dc, x, y, w, h, glyphDC, cell * w, 0, w, h, key);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const RECT client = item.rcItem;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool focused = item.itemState & ODS_FOCUS;
  const bool enabled = !(item.itemState & ODS_DISABLED);
  const bool defaultLook = HasDefaultLook(focused);
  SaveDCGuard saved(dc);

  const TButtonFace face = DrawButtonFace(dc, client, pressed, enabled, FMouseAbove, defaultLook);

  ::SelectObject(dc, Font().Handle());
  ::SetBkMode(dc, TRANSPARENT);
  const int width = client.right - client.left, height = client.bottom - client.top;
  const bool hasGlyph = !FGlyph.Empty();
  const int glyphWidth = hasGlyph ? FGlyph.Width() / std::max(FNumGlyphs, 1) : 0;
  const int glyphHeight = hasGlyph ? FGlyph.Height() : 0;
  const bool across = FLayout == blGlyphLeft || FLayout == blGlyphRight;
  const UINT textFlags = DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX;
  RECT measure{0, 0, width - 2 * FMargin - (hasGlyph && across ? glyphWidth + FSpacing : 0), 0};
  if (!Caption().empty()) ::DrawTextA(dc, Caption().c_str(), -1, &measure, textFlags | DT_CALCRECT);

  TGlyphCaptionInput in;
  in.width = width, in.height = height;
  in.glyphWidth = glyphWidth, in.glyphHeight = glyphHeight;
  in.captionWidth = Caption().empty() ? 0 : measure.right - measure.left;
  in.captionHeight = Caption().empty() ? 0 : measure.bottom - measure.top;
  in.layout = FLayout, in.margin = FMargin, in.spacing = FSpacing, in.pressed = pressed;
  const TGlyphCaptionPlacement p = LayoutGlyphAndCaption(in);

  if (hasGlyph) DrawGlyph(dc, client.left + p.glyphX, client.top + p.glyphY, enabled, pressed);
  RECT caption{client.left + p.captionLeft, client.top + p.captionTop, client.left + p.captionRight,
               client.top + p.captionBottom};
  if (enabled) {
    ::SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font().Color())));
    ::DrawTextA(dc, Caption().c_str(), -1, &caption, textFlags | DT_END_ELLIPSIS);
  } else {
    // Embossed: the highlight one pixel down and right, the shadow in place.
    RECT moved = caption;
    ::OffsetRect(&moved, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::DrawTextA(dc, Caption().c_str(), -1, &moved, textFlags | DT_END_ELLIPSIS);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    ::DrawTextA(dc, Caption().c_str(), -1, &caption, textFlags | DT_END_ELLIPSIS);
  }
  if (defaultLook && focused) DrawButtonFocus(dc, face, client);
}

TBitBtn::TButtonFace TBitBtn::DrawButtonFace(HDC dc, const RECT& client, bool pressed, bool enabled, bool hot,
                                             bool defaultLook) {
  TButtonFace face;
  const TThemedButtonState state = !enabled      ? tbsDisabled
                                   : pressed     ? tbsPressed
                                   : hot         ? tbsHot
                                   : defaultLook ? tbsDefaulted
                                                 : tbsNormal;
  if (HandleAllocated() && DrawThemedPushButton(Handle(), dc, client, state, face.content)) {
    face.themed = true;
    return face;
  }
  RECT r = client;
  if (defaultLook) {
    ::FrameRect(dc, &r, ::GetSysColorBrush(COLOR_WINDOWFRAME));
    ::InflateRect(&r, -1, -1);
  }
  if (!pressed) {
    ::DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (enabled ? 0 : DFCS_INACTIVE));
  } else {
    ::FrameRect(dc, &r, ::GetSysColorBrush(COLOR_BTNSHADOW));
    ::InflateRect(&r, -1, -1);
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
  }
  face.content = r;
  return face;
}

void TBitBtn::DrawButtonFocus(HDC dc, const TButtonFace& face, const RECT& client) {
  RECT f = client;
  if (face.themed)
    f = face.content;
  else
    ::InflateRect(&f, -4, -4);
  ::DrawFocusRect(dc, &f);
}

}  // namespace fw
