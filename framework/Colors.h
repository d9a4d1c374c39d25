// Colour values of the framework: 0x00BBGGRR, or a system colour
// 0xFF000000 + index resolved with GetSysColor, or clNone.
#pragma once

#include <cstdint>

namespace fw {

using TColor = std::int32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<std::uint32_t>(index)); }
constexpr bool IsSystemColor(TColor c) {
  return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0xFF000000u && c != -1;
}

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080, clNavy = 0x800000,
                 clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF,
                 clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
                 clWhite = 0xFFFFFF;

// Indexes as GetSysColor numbers them.
constexpr TColor clScrollBar = SystemColor(0), clBackground = SystemColor(1), clActiveCaption = SystemColor(2),
                 clInactiveCaption = SystemColor(3), clMenu = SystemColor(4), clWindow = SystemColor(5),
                 clWindowFrame = SystemColor(6), clMenuText = SystemColor(7), clWindowText = SystemColor(8),
                 clCaptionText = SystemColor(9), clActiveBorder = SystemColor(10), clInactiveBorder = SystemColor(11),
                 clAppWorkSpace = SystemColor(12), clHighlight = SystemColor(13), clHighlightText = SystemColor(14),
                 clBtnFace = SystemColor(15), clBtnShadow = SystemColor(16), clGrayText = SystemColor(17),
                 clBtnText = SystemColor(18), clInactiveCaptionText = SystemColor(19), clBtnHighlight = SystemColor(20),
                 cl3DDkShadow = SystemColor(21), cl3DLight = SystemColor(22), clInfoText = SystemColor(23),
                 clInfoBk = SystemColor(24), clHotLight = SystemColor(26), clGradientActiveCaption = SystemColor(27),
                 clGradientInactiveCaption = SystemColor(28), clMenuHighlight = SystemColor(29),
                 clMenuBar = SystemColor(30);

// A colour as plain RGB: system colours resolved, clNone and clDefault as is.
TColor ColorToRGB(TColor color);

// The colour named by an identifier of a stored layout ("clBtnFace"), or
// false when the name is unknown.
bool IdentToColor(const char* ident, TColor& color);

}  // namespace fw
