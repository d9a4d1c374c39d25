// Message dialogs: a framework form of class "TMessageForm" with the text in
// a label, an optional icon and a row of buttons, shown modally.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace fw {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };

class TMessageForm : public TForm {
 public:
  explicit TMessageForm(TComponent* owner);
  const char* ClassName() const override { return "TMessageForm"; }
  TLabel* Message() const { return FMessage; }

 private:
  friend TMessageForm* CreateMessageDialog(const std::string&, TMsgDlgType, std::initializer_list<TMsgDlgBtn>);
  TLabel* FMessage = nullptr;
};

// The dialog, laid out and ready to be shown; the caller owns it.
TMessageForm* CreateMessageDialog(const std::string& text, TMsgDlgType type, std::initializer_list<TMsgDlgBtn> buttons);
// Shows the dialog modally; returns the modal result of the button pressed.
int MessageDlg(const std::string& text, TMsgDlgType type, std::initializer_list<TMsgDlgBtn> buttons);
// A plain message with one "OK" button, captioned with the application's title.
void ShowMessage(const std::string& text);

}  // namespace fw
