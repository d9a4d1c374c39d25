// A control's caption painted from its skin data.
#include "controls/skindata/SkinControlText.h"

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "controls/skindata/sCommonData.h"
#include "framework/Handles.h"
#include "render/paint/SkinPaintText.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

// A colour of the skin as the control shows it: to RGB, then turned by the
// control's hue offset and saturation.
fw::TColor Turned(std::uint32_t rgb, const TsCommonData& data) {
  rgb &= 0xFFFFFFu;
  if (data.HUEOffset() != 0) rgb = ShiftHueRGB(rgb, data.HUEOffset());
  if (data.Saturation() != 0) rgb = ScaleSaturation(rgb, data.Saturation());
  return static_cast<fw::TColor>(rgb & 0xFFFFFFu);
}

fw::TColor AdjustedColor(TsSkinManager& manager, TColorValue color, const TsCommonData& data) {
  return Turned(static_cast<std::uint32_t>(manager.ColorToRGB(color)), data);
}

// The section whose colours a control's text takes: its own, or, for a
// control that draws on its parent (one without a window, or of a kind that
// does) with a transparent look, the parent's.
int TextSectionOf(TsSkinManager& manager, const TsCommonData& data, bool hot) {
  const int own = data.SkinIndex;
  if (data.CustomFont() || !manager.IsValidSection(own)) return own;
  const TsGenState& look = manager.Sections[static_cast<std::size_t>(own)].States[hot ? 1 : 0];
  fw::TControl* control = data.OwnerControl;
  if (look.Transparency <= 0 || !control || !control->Parent() || !control->Parent()->HandleAllocated()) return own;
  const bool drawsOnParent = !dynamic_cast<fw::TWinControl*>(control) || DrawsOnParentKind(data.ControlKind);
  if (!drawsOnParent) return own;
  int parentIndex = -1;
  if (SendSkinCommand(control->Parent()->Handle(), SKINCMD_GET_SKIN_INDEX, reinterpret_cast<LPARAM>(&parentIndex)) ==
          1 &&
      manager.IsValidSection(parentIndex))
    return parentIndex;
  return own;
}

}  // namespace

void WriteControlText(fw::TCanvas& canvas, const std::string& text, bool enabled, bool hot, TsCommonData& data,
                      UINT format, const RECT& rect) {
  if (SkinLoadInProgress) return;
  HDC dc = canvas.Handle();
  if (!dc || text.empty()) return;
  const fw::TFontStyles style = canvas.Font().Style();
  const bool underline = hot && data.SkinSection() == "WEBBUTTON";
  if (underline) canvas.Font().SetStyle(style | fw::fsUnderline);
  {
    fw::SaveDCGuard saved(dc);
    ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    ::SetBkMode(dc, TRANSPARENT);
    TsSkinManager* manager = data.SkinManager();
    if (manager && data.Skinned()) {
      const int index = TextSectionOf(*manager, data, hot);
      if (manager->IsValidSection(index)) {
        const TsGeneralData& section = manager->Sections[static_cast<std::size_t>(index)];
        const TsGenState& look = section.States[hot ? 1 : 0];
        if (data.CacheBmp && look.GlowSize != 0) {
          std::unique_ptr<fw::TBitmap> mask;
          DrawGlowText(data.CacheBmp.get(), text, rect, mask, manager->ColorToRGB(look.GlowColor), look.GlowSize, gsAll,
                       format);
        }
        if (!enabled) {
          const std::uint32_t color =
              BlendColor(static_cast<std::uint32_t>(manager->ColorToRGB(section.States[0].FontColor)),
                         static_cast<std::uint32_t>(manager->ColorToRGB(manager->GlobalColor())), 0.4);
          DrawCanvasText(canvas, text, rect, format, Turned(color, data));
        } else if (data.CustomFont()) {
          DrawCanvasText(canvas, text, rect, format | DT_NOCLIP, canvas.Font().Color());
        } else {
          for (const TextShadow& s : ShadowsOf(look))
            if (s.color != clNone)
              DrawCanvasText(canvas, text, MovedRect(rect, s.dx, s.dy), format | DT_NOCLIP,
                             AdjustedColor(*manager, s.color, data));
          DrawCanvasText(canvas, text, rect, format | DT_NOCLIP, AdjustedColor(*manager, look.FontColor, data));
        }
      }
    } else if (enabled) {
      DrawCanvasText(canvas, text, rect, format, canvas.Font().Color());
    } else {
      const fw::TColor own = canvas.Font().Color();
      DrawCanvasText(canvas, text, MovedRect(rect, 1, 1), format,
                     static_cast<fw::TColor>(::GetSysColor(COLOR_BTNHIGHLIGHT)));
      DrawCanvasText(canvas, text, rect, format, static_cast<fw::TColor>(::GetSysColor(COLOR_BTNSHADOW)));
      canvas.Font().SetColor(own);
    }
  }
  if (underline) canvas.Font().SetStyle(style);
}

}  // namespace translit
