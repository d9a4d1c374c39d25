// Push buttons and labels.
#include "framework/StdCtrls.h"

namespace fw {

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  SetColor(clBtnFace);
}

void TButton::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.BaseClassName = "BUTTON";
  p.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TButton::SetDefault(bool v) {
  FDefault = v;
  if (HandleAllocated()) DefaultChanged();
}

void TButton::DefaultChanged() {
  ::SendMessageA(Handle(), BM_SETSTYLE, FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (FModalResult != mrNone) {
    if (auto* form = dynamic_cast<TCustomForm*>(ParentForm())) form->SetModalResult(FModalResult);
  }
  TWinControl::Click();
}

bool TButton::AnswersEnter() const {
  // A focused button takes Enter for itself, as in the platform's dialogs;
  // the default one takes it while no other button has the focus.
  if (Focused()) return true;
  const bool otherButtonFocused = dynamic_cast<TButton*>(TWinControl::FromHandle(::GetFocus())) != nullptr;
  return FDefault && !otherButtonFocused;
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && AnswersEnter()) || (m.WParam == VK_ESCAPE && FCancel)) && CanFocus()) {
        Click();
        m.Result = 1;
      }
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 17);
  SetColor(clBtnFace);
  SetParentColor(true);
}

UINT TLabel::DrawFlags() const {
  UINT flags = DT_EXPANDTABS | DT_NOPREFIX;
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (FAlignment == taRightJustify) flags |= DT_RIGHT;
  if (FAlignment == taCenter) flags |= DT_CENTER;
  return flags;
}

void TLabel::SetAutoSize(bool v) {
  FAutoSize = v;
  AdjustBounds();
}
void TLabel::SetWordWrap(bool v) {
  FWordWrap = v;
  AdjustBounds();
  Invalidate();
}
void TLabel::SetTransparent(bool v) {
  FTransparent = v;
  Invalidate();
}
void TLabel::SetAlignment(TAlignment a) {
  FAlignment = a;
  Invalidate();
}

void TLabel::FontChanged() {
  AdjustBounds();
  TGraphicControl::FontChanged();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!FAutoSize || Loading()) return;
  WindowDC screen(nullptr);
  UniqueDC dc(::CreateCompatibleDC(screen.Get()));
  SelectGuard font(dc.Get(), Font().Handle());
  RECT r{0, 0, FWordWrap ? Width() : 0, 0};
  std::string text = Text().empty() ? std::string(" ") : Text();
  ::DrawTextA(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
  SetBounds(Left(), Top(), r.right, r.bottom);
}

void TLabel::Paint() {
  HDC dc = Canvas().Handle();
  RECT r = ClientRect();
  if (!FTransparent) {
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(r);
  }
  SelectGuard font(dc, Font().Handle());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Enabled() ? Font().Color() : clGrayText)));
  ::DrawTextA(dc, Text().c_str(), static_cast<int>(Text().size()), &r, DrawFlags());
}

}  // namespace fw
