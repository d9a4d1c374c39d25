// The user's title buttons and their hints.
#include "forms/sTitleButtons.h"

#include <algorithm>

#include "forms/acTitleButtonFade.h"
#include "framework/Application.h"

namespace translit {

namespace {

constexpr int kHintMaxWidth = 800;
// Hints longer than this appear at once.
constexpr std::size_t kLongHint = 100;

bool SystemFadesHints() {
  BOOL animation = FALSE, fade = FALSE;
  ::SystemParametersInfoA(SPI_GETTOOLTIPANIMATION, 0, &animation, 0);
  ::SystemParametersInfoA(SPI_GETTOOLTIPFADE, 0, &fade, 0);
  return animation && fade;
}

}  // namespace

TsTitleButton::TsTitleButton(TsTitleButtons* collection) : FCollection(collection) {}

TsTitleButton::~TsTitleButton() = default;

void TsTitleButton::Changed() {
  if (FCollection) FCollection->Changed();
}

void TsTitleButton::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  Changed();
}

void TsTitleButton::SetGlyph(fw::TBitmap& source) {
  // A fade under way shows the old glyph.
  FCaptionButton.Fade.reset();
  FGlyph.Assign(source);
  Changed();
}

void TsTitleButton::SetUseSkinData(bool v) {
  if (v == FUseSkinData) return;
  FUseSkinData = v;
  Changed();
}

void TsTitleButton::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  if (!v) HideHint();
  Changed();
}

void TsTitleButton::Assign(const TsTitleButton& source) {
  FEnabled = source.FEnabled;
  FCaptionButton.Fade.reset();
  FGlyph.Assign(const_cast<fw::TBitmap&>(source.FGlyph));
  FHint = source.FHint;
  FName = source.FName;
  FUseSkinData = source.FUseSkinData;
  OnMouseDown = source.OnMouseDown;
  OnMouseUp = source.OnMouseUp;
  Changed();
}

int TsTitleButton::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

void TsTitleButton::ShowHint(HWND form) {
  if (FHint.empty()) return;
  if (!FHintWindow) FHintWindow = std::make_unique<fw::THintWindow>();
  const SIZE size = FHintWindow->CalcHintSize(kHintMaxWidth, FHint);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  RECT r{cursor.x + 8, cursor.y + 16, cursor.x + 8 + size.cx, cursor.y + 16 + size.cy + 4};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (::GetMonitorInfoA(::MonitorFromWindow(form, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    const int dx = std::max(0L, r.right - work.right), dy = std::max(0L, r.bottom - work.bottom);
    ::OffsetRect(&r, -dx, -dy);
  }
  const bool blend = FHint.size() < kLongHint && SystemFadesHints();
  FHintWindow->ActivateHint(r, FHint, fw::Application ? fw::Application->Handle() : nullptr, blend);
}

void TsTitleButton::HideHint() { FHintWindow.reset(); }

TsTitleButton& TsTitleButtons::Add() {
  FItems.push_back(std::make_unique<TsTitleButton>(this));
  Changed();
  return *FItems.back();
}

void TsTitleButtons::Delete(int index) {
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TsTitleButtons::Clear() {
  FItems.clear();
  Changed();
}

int TsTitleButtons::IndexOf(const TsTitleButton* button) const {
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == button) return static_cast<int>(i);
  return -1;
}

}  // namespace translit
