// Message dialogs, measured in dialog units of the message font as the
// platform's own message boxes are.
#include "framework/Dialogs.h"

#include <algorithm>
#include <memory>

namespace fw {
namespace {

// An icon painted by its parent.
class TDialogIcon : public TGraphicControl {
 public:
  TDialogIcon(TComponent* owner, HICON icon) : TGraphicControl(owner), FIcon(icon) { SetBounds(0, 0, 32, 32); }
  const char* ClassName() const override { return "TImage"; }

 protected:
  void Paint() override { ::DrawIconEx(Canvas().Handle(), 0, 0, FIcon, 32, 32, 0, nullptr, DI_NORMAL); }

 private:
  HICON FIcon;  // shared system icon, never destroyed
};

struct ButtonInfo {
  const char* caption;
  TModalResult result;
};

ButtonInfo InfoOf(TMsgDlgBtn b) {
  switch (b) {
    case mbYes:
      return {"&Yes", mrYes};
    case mbNo:
      return {"&No", mrNo};
    case mbOK:
      return {"OK", mrOk};
    case mbCancel:
      return {"Cancel", mrCancel};
    case mbAbort:
      return {"&Abort", mrAbort};
    case mbRetry:
      return {"&Retry", mrRetry};
    case mbIgnore:
      return {"&Ignore", mrIgnore};
    case mbAll:
      return {"&All", mrYes + 10};
    case mbNoToAll:
      return {"N&o to All", mrYes + 11};
    case mbYesToAll:
      return {"Yes to &All", mrYes + 12};
    case mbHelp:
      return {"&Help", mrNone};
  }
  return {"OK", mrOk};
}

const char* CaptionOf(TMsgDlgType t) {
  switch (t) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    default:
      return nullptr;
  }
}

HICON IconOf(TMsgDlgType t) {
  LPCSTR id = nullptr;
  switch (t) {
    case mtWarning:
      id = reinterpret_cast<LPCSTR>(IDI_EXCLAMATION);
      break;
    case mtError:
      id = reinterpret_cast<LPCSTR>(IDI_HAND);
      break;
    case mtInformation:
      id = reinterpret_cast<LPCSTR>(IDI_ASTERISK);
      break;
    case mtConfirmation:
      id = reinterpret_cast<LPCSTR>(IDI_QUESTION);
      break;
    default:
      return nullptr;
  }
  return ::LoadIconA(nullptr, id);
}

// The font message boxes use.
void ApplyMessageFont(TFont& font) {
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof(ncm);
  if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
    font.SetName(ncm.lfMessageFont.lfFaceName);
    font.SetHeight(ncm.lfMessageFont.lfHeight);
    font.SetCharset(ncm.lfMessageFont.lfCharSet);
  }
}

}  // namespace

TMessageForm::TMessageForm(TComponent* owner) : TForm(owner) {}

TMessageForm* CreateMessageDialog(const std::string& text, TMsgDlgType type,
                                  std::initializer_list<TMsgDlgBtn> buttons) {
  auto form = std::make_unique<TMessageForm>(&EnsureApplication());
  form->SetBorderStyle(bsDialog);
  form->SetBorderIcons(biSystemMenu);
  form->SetPosition(poScreenCenter);
  ApplyMessageFont(form->Font());
  const char* caption = CaptionOf(type);
  form->SetCaption(caption ? caption : EnsureApplication().Title());

  // Dialog units of the font: average character width and height.
  WindowDC screen(nullptr);
  UniqueDC dc(::CreateCompatibleDC(screen.Get()));
  SelectGuard font(dc.Get(), form->Font().Handle());
  TEXTMETRICA tm{};
  ::GetTextMetricsA(dc.Get(), &tm);
  SIZE abc{};
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  ::GetTextExtentPoint32A(dc.Get(), kAlphabet, 52, &abc);
  int duX = (abc.cx / 26 + 1) / 2;
  int duY = tm.tmHeight;
  auto hx = [&](int units) { return ::MulDiv(units, duX, 4); };
  auto vy = [&](int units) { return ::MulDiv(units, duY, 8); };
  const int horzMargin = hx(8), vertMargin = vy(8), horzSpacing = hx(10), vertSpacing = vy(10);
  const int buttonWidth = hx(50), buttonHeight = vy(14), buttonSpacing = hx(4);

  RECT textRect{0, 0, ::GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  std::string measured = text.empty() ? std::string(" ") : text;
  ::DrawTextA(dc.Get(), measured.c_str(), -1, &textRect, DT_EXPANDTABS | DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  HICON icon = IconOf(type);
  int iconTextWidth = textRect.right, iconTextHeight = textRect.bottom;
  if (icon) {
    iconTextWidth += 32 + horzSpacing;
    iconTextHeight = std::max(iconTextHeight, 32);
  }
  std::vector<TMsgDlgBtn> list(buttons);
  if (list.empty()) list.push_back(mbOK);
  int count = static_cast<int>(list.size());
  int buttonGroupWidth = buttonWidth * count + buttonSpacing * (count - 1);
  int clientWidth = std::max(iconTextWidth, buttonGroupWidth) + horzMargin * 2;
  int clientHeight = iconTextHeight + buttonHeight + vertSpacing + vertMargin * 2;
  form->SetClientSize(clientWidth, clientHeight);

  int left = horzMargin;
  if (icon) {
    auto* image = new TDialogIcon(form.get(), icon);
    image->SetName("Image");
    image->SetParent(form.get());
    image->SetBounds(horzMargin, vertMargin, 32, 32);
    left += 32 + horzSpacing;
  }
  auto* label = new TLabel(form.get());
  label->SetName("Message");
  label->SetParent(form.get());
  label->SetWordWrap(true);
  label->SetAutoSize(false);
  label->SetBounds(left, vertMargin, textRect.right, textRect.bottom);
  label->SetCaption(text);
  form->FMessage = label;

  int x = (clientWidth - buttonGroupWidth) / 2;
  int y = iconTextHeight + vertMargin + vertSpacing;
  bool first = true;
  for (TMsgDlgBtn b : list) {
    ButtonInfo info = InfoOf(b);
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetCaption(info.caption);
    button->SetModalResult(info.result);
    button->SetBounds(x, y, buttonWidth, buttonHeight);
    if (first) button->SetDefault(true);
    // With one button, Escape answers it too; otherwise Cancel or No does.
    if (count == 1 || b == mbCancel || (b == mbNo && std::find(list.begin(), list.end(), mbCancel) == list.end()))
      button->SetCancel(true);
    if (first) form->SetActiveControl(button);
    first = false;
    x += buttonWidth + buttonSpacing;
  }
  return form.release();
}

int MessageDlg(const std::string& text, TMsgDlgType type, std::initializer_list<TMsgDlgBtn> buttons) {
  std::unique_ptr<TMessageForm> form(CreateMessageDialog(text, type, buttons));
  return form->ShowModal();
}

void ShowMessage(const std::string& text) { MessageDlg(text, mtCustom, {mbOK}); }

}  // namespace fw
