// Caption text of a skinned frame.
#include "forms/acFrameCaption.h"

#include <algorithm>
#include <string>

#include "forms/sSkinProvider.h"
#include "framework/Colors.h"
#include "render/paint/SkinPaintItem.h"
#include "render/paint/SkinPaintParent.h"
#include "render/paint/SkinPaintText.h"
#include "render/pixels/AlphaKernels.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

// The system's caption font with the form font's character set.
void UseCaptionFont(fw::TCanvas& canvas, const fw::TFont& formFont) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
  const LOGFONTA& lf = metrics.lfCaptionFont;
  fw::TFont& font = canvas.Font();
  font.SetName(lf.lfFaceName);
  font.SetHeight(lf.lfHeight);
  font.SetCharset(const_cast<fw::TFont&>(formFont).Charset());
  font.SetStyle(lf.lfWeight >= FW_BOLD ? fw::TFontStyles{fw::fsBold} : fw::TFontStyles{0});
}

fw::TColor AsColor(TsSkinManager& manager, TColorValue value) {
  return static_cast<fw::TColor>(static_cast<std::uint32_t>(manager.ColorToRGB(value)) & 0xFFFFFF);
}

}  // namespace

RECT CaptionTextArea(const TacFrameMetrics& m, int iconWidth, int biLeft, bool captionSection, int buttonsAreaWidth) {
  RECT r;
  r.left = m.FrameBorder + iconWidth + biLeft + 4 + (captionSection ? 2 : 0);
  r.right = m.FrameWidth - buttonsAreaWidth - 12;
  r.top = m.Maximised ? 3 : 2;
  r.bottom = m.TopFrame + m.Caption;
  return r;
}

void AlignCaptionRect(RECT& rect, int captionWidth, int addedWidth, fw::TAlignment alignment, bool rightToLeft) {
  if (rightToLeft) {
    if (alignment == fw::taLeftJustify)
      alignment = fw::taRightJustify;
    else if (alignment == fw::taRightJustify)
      alignment = fw::taLeftJustify;
  }
  const int width = rect.right - rect.left;
  const int total = captionWidth + addedWidth + 4;
  switch (alignment) {
    case fw::taRightJustify:
      if (total < width) rect.left = rect.right - total;
      break;
    case fw::taCenter:
      rect.left = std::max(rect.left, rect.left + (width - total) / 2);
      rect.right = std::min(rect.left + captionWidth, rect.right);
      break;
    default:
      break;
  }
}

void DrawFrameCaption(TsSkinProvider& p, const TacFrameMetrics& m, fw::TBitmap& cache, int iconWidth) {
  TsSkinManager* manager = p.SkinData().SkinManager();
  if (!manager || !manager->GlobalInfo || m.Caption <= 0 || !p.DrawNonClientArea()) return;
  fw::TCustomForm& form = *p.OwnerForm;
  const bool captionSection = manager->IsValidSection(p.CaptionSkinIndex);
  const int textSection = captionSection ? p.CaptionSkinIndex : p.TitleSkinIndex;
  if (!manager->IsValidSection(textSection)) return;
  const int state = p.FrameState();
  const bool rtl = form.UseRightToLeftReading();
  const UINT format = kCaptionFormat | (rtl ? DT_RTLREADING : 0);

  RECT rect = CaptionTextArea(m, iconWidth, manager->GlobalInfo->BiLeft, captionSection, p.ButtonsAreaWidth());
  fw::TCanvas& canvas = cache.Canvas();
  ::SetBkMode(canvas.Handle(), TRANSPARENT);
  UseCaptionFont(canvas, form.Font());
  const bool showMain = p.AddedTitle().ShowMainCaption();
  const std::string caption = showMain ? form.Caption() : std::string();
  const SIZE captionSize = canvas.TextExtent(caption.empty() ? std::string("W") : caption);
  const int captionWidth = caption.empty() ? 0 : static_cast<int>(captionSize.cx);
  const std::string& added = p.AddedTitle().Text();
  int addedWidth = 0;
  if (!added.empty()) {
    fw::TFont saved;
    saved.Assign(canvas.Font());
    canvas.Font().Assign(p.AddedTitle().Font());
    addedWidth = canvas.TextExtent(added).cx;
    canvas.Font().Assign(saved);
  }
  // Centred on the caption's text height.
  const int textHeight = captionSize.cy;
  rect.top += (rect.bottom - rect.top - textHeight) / 2;
  rect.bottom = rect.top + textHeight;
  AlignCaptionRect(rect, captionWidth, addedWidth, p.CaptionAlignment(), rtl);
  if (rect.right <= rect.left) return;

  const TsGeneralData& look = manager->Sections[static_cast<std::size_t>(textSection)];
  if (!caption.empty()) {
    if (captionSection) {
      RECT plate{rect.left, rect.top, std::min(rect.left + captionWidth, rect.right), rect.bottom};
      ::InflateRect(&plate, 4, 2);
      // The title as it is under the plate, for a plate with clear parts.
      auto under = NewBitmap32(m.FrameWidth, m.TitleBottom());
      ::BitBlt(under->Canvas().Handle(), 0, 0, m.FrameWidth, m.TitleBottom(), canvas.Handle(), 0, 0, SRCCOPY);
      // The parent's place is given for the plate's top-left corner.
      PaintSkinItem(p.CaptionSkinIndex, "CAPTION", MakeParentCache(under.get(), plate.left, plate.top), -1, -1, manager,
                    &cache, POINT{0, 0}, plate, state);
    }
    const bool active = state > 0;
    const int glowSize = active ? look.HotGlowSize : look.GlowSize;
    if (glowSize != 0) {
      std::unique_ptr<fw::TBitmap>& glowCache = active ? p.ActiveGlowCache : p.InactiveGlowCache;
      DrawGlowText(&cache, caption, rect, glowCache, AsColor(*manager, active ? look.HotGlowColor : look.GlowColor),
                   glowSize, gsAll, format);
    }
    WriteSkinText(canvas, caption, true, manager, active, textSection, format, rect);
  }

  if (added.empty()) return;
  RECT addedRect = rect;
  if (!caption.empty()) addedRect.left = std::min(rect.left + captionWidth, rect.right) + 4;
  addedRect.right = std::max(rect.right, addedRect.left + addedWidth);
  addedRect.right = std::min<LONG>(addedRect.right, m.FrameWidth - p.ButtonsAreaWidth() - 12);
  // Only where it has room.
  if (addedRect.right <= addedRect.left + 8) return;
  const TsGeneralData* title = manager->IsValidSection(p.TitleSkinIndex)
                                   ? &manager->Sections[static_cast<std::size_t>(p.TitleSkinIndex)]
                                   : &look;
  fw::TColor color = p.AddedTitle().Font().Color();
  if (color == fw::clNone || color == fw::clWindowText) {
    color = AsColor(*manager, title->States[static_cast<std::size_t>(std::min(state, 1))].FontColor);
  } else if (!p.FormIsActive) {
    color = static_cast<fw::TColor>(
        BlendColor(static_cast<std::uint32_t>(fw::ColorToRGB(color)),
                   static_cast<std::uint32_t>(AsColor(*manager, title->States[0].FontColor)), 0.5) &
        0xFFFFFF);
  }
  fw::TFont saved;
  saved.Assign(canvas.Font());
  canvas.Font().Assign(p.AddedTitle().Font());
  DrawCanvasText(canvas, added, addedRect, format, color);
  canvas.Font().Assign(saved);
}

}  // namespace translit
