#pragma once
// Choosing a folder: the select-directory dialog built from the drive box,
// directory list, file list and path label, with an edit for a folder that
// does not exist yet; and the folder browser, which on Linux is that same
// dialog for folders and a list of the user's places for "computers".

#include <vector>

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
    int HelpContext() const { return helpContext_; }

    // The folder chosen: the edit's (resolved against the list's folder)
    // when a folder may be typed, else the list's.
    String Directory() const;

private:
    void DirListChange();
    void OKClick();

    bool allowCreate_ = false;
    int helpContext_ = 0;
};

// What a Help button does: the system has no help viewer, so the user is
// told that no help is installed for the topic.
void ShowHelpTopic(int helpContext);

enum TBrowseKind { bfFolders, bfComputers };
enum TDialogPosition { dpDefault, dpScreenCenter };

// The folder browser as a component. Folders are chosen in the
// select-directory dialog; "computers" are the places a user expects on
// this system (home, desktop, documents and "/"), and the chosen one's
// folder is the answer.
class TBrowseFolderDlg : public TComponent {
    TARVEL_CLASS(TBrowseFolderDlg, TComponent)

public:
    explicit TBrowseFolderDlg(TComponent* owner) : TComponent(owner) {}

    TBrowseKind BrowseKind = bfFolders;
    // Start on the desktop rather than at "/" when FolderName gives no folder.
    bool DesktopRoot = true;
    // The title of the browser.
    String DialogText;
    // In: the folder selected first; out: the choice.
    String FolderName;
    // Not 0: a Help button shows the topic.
    int HelpContext = 0;
    TDialogPosition Position = dpScreenCenter;
    TNotifyEvent OnInitialized;
    TNotifyEvent OnSelChanged;

    bool Execute();
    // The browser's form while Execute runs, else null.
    TForm* Form() const { return form_; }

private:
    bool ExecuteFolders();
    bool ExecutePlaces();
    // Shows the form modally with the component's position.
    bool Run(TForm& form);

    TForm* form_ = nullptr;
};

// The places of the computer, as BrowseComputer lists them: a caption and
// the folder, only folders that exist, each once.
struct TUserPlace {
    String caption;
    String folder;
};
std::vector<TUserPlace> UserPlaces();

// The library's dialog; `directory` in and out. With sdPerformCreate the
// chosen folder is created with its parents; a failure says so and answers
// false.
bool SelectDirectory(String& directory, TSelectDirOpts options, int helpCtx);
// The folder browser: starts in `directory` (or `root`, or the home folder)
// with `caption` as the dialog's title; only existing folders are chosen.
bool SelectDirectory(const String& caption, const String& root, String& directory);
// The folder browser with `text` as its title.
bool BrowseDirectory(String& folder, const String& text, int helpCtx);
// The places browser; `name` in and out is the place's folder.
bool BrowseComputer(String& name, const String& text, int helpCtx);

}  // namespace tarvel
