#pragma once
// Edits with a button that opens a chooser and writes its answer into the
// edit: the file-name edit opens the library's open or save dialog, the
// directory edit the select-directory dialog. Both take files dropped on
// them when asked to.

#include <functional>

#include "platform/base/Exceptions.h"
#include "platform/classlib/DialogService.h"
#include "platform/classlib/StringLists.h"
#include "skin/controls/te_controls_editbtn.h"
#include "skin/extras/te_dialogs_file_select.h"
#include "skin/extras/te_dialogs_open.h"

namespace tarvel {

// An invalid file name written to a file-name edit.
class EComboEditError : public Exception {
public:
    using Exception::Exception;
};

// Before and after the chooser: the name in and out, and whether to go on.
using TExecOpenDialogEvent = std::function<void(TObject* sender, String& name, bool& action)>;

class TTeFileDirEdit : public TTeEditButton {
    TARVEL_CLASS(TTeFileDirEdit, TTeEditButton)

public:
    explicit TTeFileDirEdit(TComponent* owner);

    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool value);
    bool MultipleDirs = false;
    String LongName() { return GetLongName(); }
    String ShortName() { return GetShortName(); }

    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;
    TNotifyEvent OnDropFiles;

protected:
    // The button is made by the descendant's factory.
    using TButtonMaker = std::function<TTeButton*(TTeInplaceControlEdit*)>;
    TTeFileDirEdit(TComponent* owner, const TButtonMaker& makeButton);
    static void DeclareMessages(TMessageTable& t);
    void CreateWnd() override;
    TBitmap* GetDefaultBitmap(bool& freeIt) override;
    virtual String GetLongName() = 0;
    virtual String GetShortName() = 0;
    virtual void ReceptFileDir(const String& name) = 0;
    virtual void ClearFileList() {}
    void DoBeforeDialog(String& name, bool& action);
    void DoAfterDialog(String& name, bool& action);

private:
    void WMDropFiles(TMessage& m);
    bool acceptFiles_ = false;
};

enum TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };

class TTeFilenameEdit : public TTeFileDirEdit {
    TARVEL_CLASS(TTeFilenameEdit, TTeFileDirEdit)

public:
    explicit TTeFilenameEdit(TComponent* owner);

    TFileDialogKind DialogKind() const { return dialogKind_; }
    // Another kind makes its dialog afresh, with that dialog's defaults.
    void SetDialogKind(TFileDialogKind value);
    // The dialog the button opens, owned by the edit.
    TTeOpenDialog* Dialog() const { return dialog_; }
    bool AddQuotes = true;

    // The dialog's own properties.
    const String& DefaultExt() const { return dialog_->DefaultExt; }
    void SetDefaultExt(const String& value) { dialog_->DefaultExt = value; }
    const String& Filter() const { return dialog_->Filter; }
    void SetFilter(const String& value) { dialog_->Filter = value; }
    int FilterIndex() const { return dialog_->FilterIndex(); }
    void SetFilterIndex(int value) { dialog_->SetFilterIndex(value); }
    const String& InitialDir() const { return dialog_->InitialDir; }
    void SetInitialDir(const String& value) { dialog_->InitialDir = value; }
    const String& DialogTitle() const { return dialog_->Title; }
    void SetDialogTitle(const String& value) { dialog_->Title = value; }
    TStrings* HistoryList() const { return dialog_->HistoryList(); }
    void SetHistoryList(TStrings* value) { dialog_->SetHistoryList(value); }
    TOpenOptions DialogOptions() const { return dialog_->Options; }
    void SetDialogOptions(TOpenOptions value);
    // Every file the last chooser gave.
    TStrings* DialogFiles() const { return dialog_->Files(); }

    // The whole text when it names an existing file, else its first name
    // (quotes read as a command line); the text as is without AddQuotes.
    String FileName();
    // Raises EComboEditError for a name that is not valid; the text then
    // stays as it was.
    void SetFileName(const String& value);

protected:
    TTeFilenameEdit(TComponent* owner, const TButtonMaker& makeButton);
    void ButtonClick() override;
    String GetLongName() override { return ShortToLongFileName(FileName()); }
    String GetShortName() override { return LongToShortFileName(FileName()); }
    void ReceptFileDir(const String& name) override;
    void ClearFileList() override { DialogFiles()->Clear(); }

private:
    String NameOfText() const;
    void MakeDialog();

    TFileDialogKind dialogKind_ = dkOpen;
    TTeOpenDialog* dialog_ = nullptr;
};

enum TDirDialogKind { dkVCL, dkWin32 };

class TTeDirectoryEdit : public TTeFileDirEdit {
    TARVEL_CLASS(TTeDirectoryEdit, TTeFileDirEdit)

public:
    explicit TTeDirectoryEdit(TComponent* owner) : TTeFileDirEdit(owner) {}

    // Both kinds run the library's select-directory dialog on Linux.
    TDirDialogKind DialogKind = dkVCL;
    String DialogText;
    TSelectDirOpts DialogOptions;
    String InitialDir;

protected:
    TTeDirectoryEdit(TComponent* owner, const TButtonMaker& makeButton) : TTeFileDirEdit(owner, makeButton) {}
    void ButtonClick() override;
    String GetLongName() override { return EachDir(ShortToLongPath); }
    String GetShortName() override { return EachDir(LongToShortPath); }
    void ReceptFileDir(const String& name) override;

private:
    String EachDir(String (*convert)(const String&));
    void AddDir(const String& name);
};

}  // namespace tarvel
