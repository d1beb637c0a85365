#pragma once
// Message, question and input boxes, built as our own modal forms and
// shown through the dialog service.

#include "platform/classlib/DialogService.h"
#include "platform/classlib/Forms.h"

namespace tarvel {

// An OK box captioned with the application's title.
void ShowMessage(const String& text);
// A box of the kind's caption ("Warning", "Error", "Information",
// "Confirm") with the buttons; answers the modal result of the one chosen.
int MessageDlg(const String& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
// A box from MB_ flags; answers IDOK, IDYES, IDNO ...
int MessageBoxFlags(const String& text, const String& caption, unsigned flags);
// The edited text, or `defaultValue` when cancelled.
String InputBox(const String& caption, const String& prompt, const String& defaultValue);
bool InputQuery(const String& caption, const String& prompt, String& value);
// An input box whose edit shows a mask for each character typed; empty
// when cancelled.
String PasswordBox(const String& caption, const String& prompt);

// The standard service: our own modal forms.
class TStandardDialogs : public TDialogService {
public:
    int ShowBox(const TBoxRequest& request) override;
    bool InputQuery(const String& caption, const String& prompt, String& value) override;
    bool PasswordQuery(const String& caption, const String& prompt, String& value) override;
    bool ChooseFile(TFileRequest& request) override;  // Dialogs.cpp
};

// The form of a message box (not shown; the caller owns it). Its buttons are
// named "Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", the text
// "Message" and the icon "Image".
TForm* CreateMessageDialog(const TBoxRequest& request);
// The answer of a box closed without a choice: Cancel, else No, else OK.
int CloseAnswer(TMsgDlgButtons buttons);

}  // namespace tarvel
