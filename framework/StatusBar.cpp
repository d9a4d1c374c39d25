// The status bar.
#include "framework/StatusBar.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

namespace fw {

void TStatusPanel::SetText(const std::string& text) {
  if (text == FText) return;
  FText = text;
  FBar->PanelTextChanged();
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

void TStatusPanel::SetAlignment(TAlignment a) {
  if (a == FAlignment) return;
  FAlignment = a;
  FBar->PanelTextChanged();
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
  FRepaintPending = false;
  UpdatePanels();
  if (FSimplePanel) ::SendMessageA(Handle(), SB_SIMPLE, TRUE, 0);
}

void TStatusBar::SetSimplePanel(bool v) {
  FSimplePanel = v;
  if (HandleAllocated()) ::SendMessageA(Handle(), SB_SIMPLE, v, 0);
}

void TStatusBar::SetSimpleText(const std::string& s) {
  FSimpleText = s;
  if (HandleAllocated())
    ::SendMessageA(Handle(), SB_SETTEXTA, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(s.c_str()));
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
  // Every part is owner-drawn with the same item data, so the platform keeps
  // no copy of the text and a text change does not repaint at once.
  WPARAM flags = static_cast<WPARAM>(index) | SBT_OWNERDRAW;
  if (p.Bevel() == pbNone) flags |= SBT_NOBORDERS;
  if (p.Bevel() == pbRaised) flags |= SBT_POPOUT;
  ::SendMessageA(Handle(), SB_SETTEXTA, flags, 0);
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TStatusBar::PanelTextChanged() {
  if (!HandleAllocated() || FRepaintPending) return;
  FRepaintPending = true;
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TStatusBar::DrawPanel(TStatusPanel& panel, HDC dc, const RECT& rect) {
  if (panel.Style() == psOwnerDraw) {
    if (OnDrawPanel) OnDrawPanel(this, panel, rect);
    return;
  }
  // The platform's own routine, as it draws the texts it keeps itself; a
  // tab before the text centres it, two put it on the right.
  const char* tabs = panel.Alignment() == taCenter ? "\t" : panel.Alignment() == taRightJustify ? "\t\t" : "";
  ::DrawStatusTextA(dc, &rect, (tabs + panel.Text()).c_str(), SBT_NOBORDERS);
}

// The platform only holds item data for owner-drawn parts; queries for a
// panel's text get the panel's own text, in the form the platform gives it.
bool TStatusBar::AnswerTextQuery(TMessage& m) {
  const bool wide = m.Msg == SB_GETTEXTW || m.Msg == SB_GETTEXTLENGTHW;
  const bool copy = m.Msg == SB_GETTEXTA || m.Msg == SB_GETTEXTW;
  const int index = static_cast<int>(m.WParam & 0xFF);
  if (FSimplePanel || index >= FPanels.Count()) return false;
  TStatusPanel& p = FPanels[index];
  if (p.Style() == psOwnerDraw) return false;
  const std::string& text = p.Text();
  WORD type = 0;
  if (p.Bevel() == pbNone) type |= HIWORD(SBT_NOBORDERS);
  if (p.Bevel() == pbRaised) type |= HIWORD(SBT_POPOUT);
  int length = static_cast<int>(text.size());
  if (wide) {
    std::vector<wchar_t> w(text.size() + 1, L'\0');
    length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), w.data(),
                                   static_cast<int>(w.size()));
    if (copy && m.LParam) std::copy(w.begin(), w.begin() + length + 1, reinterpret_cast<wchar_t*>(m.LParam));
  } else if (copy && m.LParam) {
    std::copy(text.c_str(), text.c_str() + text.size() + 1, reinterpret_cast<char*>(m.LParam));
  }
  m.Result = MAKELONG(length, type);
  return true;
}

void TStatusBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      FRepaintPending = false;
      break;
    case CN_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      const int index = static_cast<int>(item->itemID);
      if (index >= 0 && index < FPanels.Count()) DrawPanel(FPanels[index], item->hDC, item->rcItem);
      m.Result = TRUE;
      return;
    }
    case SB_GETTEXTA:
    case SB_GETTEXTW:
    case SB_GETTEXTLENGTHA:
    case SB_GETTEXTLENGTHW:
      if (AnswerTextQuery(m)) return;
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
