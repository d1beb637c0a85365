#pragma once
// The one door every message box, input box and file dialog of the library
// goes through. The standard service shows our own modal forms; tests put a
// service in its place that answers from a script and records what was asked.

#include "platform/base/Strings.h"
#include "platform/classlib/Sets.h"

namespace tarvel {

// Message box flags and answers.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONHAND = MB_ICONERROR;
constexpr unsigned MB_ICONSTOP = MB_ICONERROR;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONEXCLAMATION = MB_ICONWARNING;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_ICONASTERISK = MB_ICONINFORMATION;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};

// A message box: its answer is a modal result (mrOk, mrYes ...). Closing a
// box without choosing answers its Cancel button, else No, else OK.
struct TBoxRequest {
    TMsgDlgType type = mtCustom;
    TMsgDlgButtons buttons{mbOK};
    String caption;
    String text;
};

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
};
using TOpenOptions = TSet<TOpenOption>;

// An open or save dialog. In: what the dialog shows; out (when chosen): the
// full path in fileName and the filter in filterIndex.
struct TFileRequest {
    bool save = false;
    String title;
    String filter;  // "Text files|*.txt|All|*.*"
    int filterIndex = 1;
    String defaultExt;
    String initialDir;
    String fileName;
    TOpenOptions options;
};

class TDialogService {
public:
    virtual ~TDialogService() = default;
    virtual int ShowBox(const TBoxRequest& request) = 0;
    // True with the edited value when confirmed.
    virtual bool InputQuery(const String& caption, const String& prompt, String& value) = 0;
    // The same for a secret: what is typed is not shown. A service with no
    // box of its own asks as for any text.
    virtual bool PasswordQuery(const String& caption, const String& prompt, String& value) {
        return InputQuery(caption, prompt, value);
    }
    // True when a file was chosen (request.fileName then holds it).
    virtual bool ChooseFile(TFileRequest& request) = 0;
};

// The service in use (the standard one unless replaced).
TDialogService& DialogService();
// Installs a service (null: the standard one again); answers the previous one.
TDialogService* SetDialogService(TDialogService* service);

}  // namespace tarvel
