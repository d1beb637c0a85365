#pragma once
// Edits with a button that opens a chooser and writes its answer into the
// edit: the file-name edit opens the library's open or save dialog, the
// directory edit the select-directory dialog. Both take files dropped on
// them when asked to.

#include <functional>
#include <memory>

#include "platform/base/Exceptions.h"
#include "platform/classlib/DialogService.h"
#include "platform/classlib/StringLists.h"
#include "skin/controls/te_controls_editbtn.h"
#include "skin/extras/te_dialogs_file_select.h"

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
    // Another kind starts from that dialog's defaults.
    void SetDialogKind(TFileDialogKind value);
    bool AddQuotes = true;
    String DefaultExt;
    String Filter = "All files (*.*)|*.*";
    int FilterIndex = 1;
    String InitialDir;
    String DialogTitle = "Browse";
    TOpenOptions DialogOptions() const { return options_; }
    void SetDialogOptions(TOpenOptions value);
    // Every file the last chooser gave.
    TStrings* DialogFiles() const { return files_.get(); }

    // The whole text when it names an existing file, else its first name
    // (quotes read as a command line); the text as is without AddQuotes.
    String FileName();
    // Raises EComboEditError for a name that is not valid; the text then
    // stays as it was.
    void SetFileName(const String& value);

protected:
    void ButtonClick() override;
    String GetLongName() override { return ShortToLongFileName(FileName()); }
    String GetShortName() override { return LongToShortFileName(FileName()); }
    void ReceptFileDir(const String& name) override;
    void ClearFileList() override { files_->Clear(); }

private:
    String NameOfText() const;
    TFileDialogKind dialogKind_ = dkOpen;
    TOpenOptions options_{ofHideReadOnly};
    std::unique_ptr<TStringList> files_;
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
    void ButtonClick() override;
    String GetLongName() override { return EachDir(ShortToLongPath); }
    String GetShortName() override { return EachDir(LongToShortPath); }
    void ReceptFileDir(const String& name) override;

private:
    String EachDir(String (*convert)(const String&));
    void AddDir(const String& name);
};

}  // namespace tarvel
