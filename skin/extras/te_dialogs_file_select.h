#pragma once
// Choosing a folder: the select-directory dialog built from the drive box,
// directory list, file list and path label, with an edit for a folder that
// does not exist yet; and the folder browser, which on Linux is that same
// dialog.

#include "platform/classlib/Forms.h"
#include "platform/classlib/Sets.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/extras/te_dialogs_file_ctrl.h"

namespace tarvel {

enum TSelectDirOpt { sdAllowCreate, sdPerformCreate, sdPrompt };
using TSelectDirOpts = TSet<TSelectDirOpt>;

class TTeSelectDirDlg : public TForm {
    TARVEL_CLASS(TTeSelectDirDlg, TForm)

public:
    explicit TTeSelectDirDlg(TComponent* owner);

    TTeDirectoryListBox* DirList = nullptr;
    TTeEdit* DirEdit = nullptr;
    TTeDriveComboBox* DriveList = nullptr;
    TTePathLabel* DirLabel = nullptr;
    TTeButton* OKButton = nullptr;
    TTeButton* CancelButton = nullptr;
    TTeButton* HelpButton = nullptr;
    TTeButton* NetButton = nullptr;  // never shown: Linux has no network chooser
    TTeFileListBox* FileList = nullptr;

    bool AllowCreate() const { return allowCreate_; }
    // Shows the edit (a folder may be typed) or the path label.
    void SetAllowCreate(bool value);
    bool Prompt = false;
    // Hides the Help button and moves OK and Cancel right when 0.
    void SetHelpContext(int value);

    // The folder chosen: the edit's (resolved against the list's folder)
    // when a folder may be typed, else the list's.
    String Directory() const;

private:
    void DirListChange();
    void OKClick();

    bool allowCreate_ = false;
};

// The library's dialog; `directory` in and out. With sdPerformCreate the
// chosen folder is created with its parents; a failure says so and answers
// false.
bool SelectDirectory(String& directory, TSelectDirOpts options, int helpCtx);
// The folder browser: starts in `directory` (or `root`, or the home folder)
// with `caption` as the dialog's title; only existing folders are chosen.
bool SelectDirectory(const String& caption, const String& root, String& directory);
// The folder browser with `text` as its title.
bool BrowseDirectory(String& folder, const String& text, int helpCtx);

}  // namespace tarvel
