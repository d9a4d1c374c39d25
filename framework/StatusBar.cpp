// The status bar.
#include "framework/StatusBar.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

namespace fw {

void TStatusPanel::SetText(const std::string& text) {
  if (text == FText) return;
  FText = text;
  FBar->UpdatePanel(Index());
}

void TStatusPanel::SetWidth(int w) {
  if (w == FWidth) return;
  FWidth = w;
  FBar->UpdatePanels();
}

void TStatusPanel::SetBevel(TStatusPanelBevel b) {
  FBevel = b;
  FBar->UpdatePanel(Index());
}

void TStatusPanel::SetStyle(TStatusPanelStyle s) {
  FStyle = s;
  FBar->UpdatePanel(Index());
}

int TStatusPanel::Index() const { return FBar->Panels().IndexOf(this); }

TStatusPanel& TStatusPanels::Add() {
  FItems.push_back(std::make_unique<TStatusPanel>(FBar));
  FBar->UpdatePanels();
  return *FItems.back();
}

void TStatusPanels::Clear() {
  FItems.clear();
  FBar->UpdatePanels();
}

int TStatusPanels::IndexOf(const TStatusPanel* p) const {
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == p) return static_cast<int>(i);
  return -1;
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), FPanels(this) {
  SetBounds(0, 0, 0, 19);
  SetAlign(alBottom);
  SetColor(clBtnFace);
}

void TStatusBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.BaseClassName = STATUSCLASSNAMEA;
  // The framework places and sizes the bar itself.
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;
  if (FSizeGrip) p.Style |= SBARS_SIZEGRIP;
  p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TStatusBar::CreateHandleDone() {
  UpdatePanels();
  if (FSimplePanel) ::SendMessageA(Handle(), SB_SIMPLE, TRUE, 0);
}

void TStatusBar::SetSimplePanel(bool v) {
  FSimplePanel = v;
  if (HandleAllocated()) ::SendMessageA(Handle(), SB_SIMPLE, v, 0);
}

void TStatusBar::SetSimpleText(const std::string& s) {
  FSimpleText = s;
  if (HandleAllocated()) ::SendMessageA(Handle(), SB_SETTEXTA, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(s.c_str()));
}

void TStatusBar::SetSizeGrip(bool v) {
  if (v == FSizeGrip) return;
  FSizeGrip = v;
  RecreateWnd();
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  // Each panel ends where the widths so far add up; the last one runs to the
  // right edge so that long texts are not cut at its stored width.
  int count = std::max(FPanels.Count(), 1);
  std::vector<int> edges(static_cast<std::size_t>(count), -1);
  int right = 0;
  for (int i = 0; i < FPanels.Count() - 1; ++i) {
    right += FPanels[i].Width();
    edges[static_cast<std::size_t>(i)] = right;
  }
  ::SendMessageA(Handle(), SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < FPanels.Count(); ++i) UpdatePanel(i);
}

void TStatusBar::UpdatePanel(int index) {
  if (!HandleAllocated() || index < 0 || index >= FPanels.Count()) return;
  TStatusPanel& p = FPanels[index];
  WPARAM flags = static_cast<WPARAM>(index);
  if (p.Bevel() == pbNone) flags |= SBT_NOBORDERS;
  if (p.Bevel() == pbRaised) flags |= SBT_POPOUT;
  if (p.Style() == psOwnerDraw) flags |= SBT_OWNERDRAW;
  ::SendMessageA(Handle(), SB_SETTEXTA, flags, reinterpret_cast<LPARAM>(p.Text().c_str()));
}

}  // namespace fw
