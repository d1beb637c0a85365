#pragma once
// The open and save panels: a frame with the folder it shows, the list of
// that folder's folders and files, a name edit and a file-type box, placed
// by a dialog in a modal form. A panel finishes the dialog by setting the
// modal result of the form that owns it; the dialog then reads the file
// name, the chosen files and the filter index. Each panel keeps its own
// folder: nothing here changes the process's current folder.

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/Folders.h"
#include "platform/classlib/ComCtrls_ListView.h"
#include "platform/classlib/DialogService.h"
#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/StringLists.h"
#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/controls/te_controls_label.h"
#include "skin/controls/te_controls_listbox.h"
#include "skin/controls/te_controls_panel.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/extras/te_dialogs_file.h"
#include "skin/forms/te_forms_popupmenu.h"

namespace tarvel {

class TTeForm;

// Asked before a folder is created: clearing `include` keeps it from being made.
using TTeIncludeItemEvent = std::function<void(TObject* sender, const String& path, bool& include)>;

class TTeOpenPanel : public TCustomFrame {
    TARVEL_CLASS(TTeOpenPanel, TCustomFrame)

public:
    explicit TTeOpenPanel(TComponent* owner);
    ~TTeOpenPanel() override;

    // ---- properties ----
    String DefaultExt;
    // The chosen file, a full path.
    String FileName;
    const String& Filter() const { return filter_; }
    void SetFilter(const String& value);
    int FilterIndex() const { return filterIndex_; }
    // Ignored above the number of types; 0 selects none.
    void SetFilterIndex(int value);
    const String& InitialDir() const { return initialDir_; }
    void SetInitialDir(const String& value);
    const String& RootDir() const { return rootDir_; }
    void SetRootDir(const String& value);
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions value);
    // Every chosen path (one, or each selected file with multiple selection).
    TStrings* Files() const { return files_.get(); }
    const std::vector<TTeFileType>& FileTypes() const { return types_; }
    // The selected type's masks; none without a selected type.
    std::vector<String> CurrentMasks() const;

    // The folder the list shows, and showing another (a missing or
    // unreadable one is refused with a notice).
    const String& Folder() const { return folder_; }
    bool ShowFolder(const String& folder);

    TCloseQueryEvent OnCanClose;  // kept for the hosting dialog
    TNotifyEvent OnFolderChange;
    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnTypeChange;
    TTeIncludeItemEvent OnIncludeItem;

    // Double click in the list, Enter in the name edit and the dialog's
    // accept button: opens the chosen folder or accepts the choice.
    virtual void teFilesListDblClick(TObject* sender);
    void DoOpenClick(TObject* sender) { teFilesListDblClick(sender); }
    // The toolbar's actions.
    void GoUp();
    void CreateFolder();
    // How the list shows its items: large glyphs ("Titles"), small glyphs
    // one a line ("Icons"), columns ("List") or with size and type ("Detail").
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle value);

    // ---- the parts ----
    TTeLabel* LookInLabel = nullptr;
    TTeLabel* FileNameLabel = nullptr;
    TTeLabel* FilesTyleLabel = nullptr;
    TTeSpeedButton* tebtnBack = nullptr;
    TTeSpeedButton* teBtnUp = nullptr;
    TTeSpeedButton* teBtnCreate = nullptr;
    TTeSpeedButton* tebtnListView = nullptr;
    TTeComboBox* teFileRoot = nullptr;
    TTeListBox* teFilesList = nullptr;
    TTeEdit* teFileName = nullptr;
    TTeComboBox* teFileTypes = nullptr;
    TTePopupMenu* teViewMenu = nullptr;
    TTeItem* teitemTitles = nullptr;
    TTeItem* teitemIcon = nullptr;
    TTeItem* teitemList = nullptr;
    TTeItem* teitemDetail = nullptr;

protected:
    struct TItem {
        String name;
        bool folder = false;
        uint64_t size = 0;
    };
    const TItem* SelectedItem() const;
    String ItemPath(const TItem& item) const { return JoinPath(folder_, item.name); }
    // The form that owns the panel, or null.
    TCustomForm* OwnerForm() const;
    // Ends the owning form with `path` as the only choice.
    void Accept(const String& path);
    // The name typed, resolved against the panel's folder ("" when empty).
    String TypedPath() const;
    // Shows a notice through the library's message box.
    static void Notice(const String& text);
    // After the selection moved onto a file (not a folder).
    virtual void FileSelected(const String& /*path*/) {}

    // The save panels' rules: the name that will be saved, and accepting it.
    String SaveFileName() const;
    void SaveChoice();

private:
    void Build();
    void ReadFolder();
    void FillRoots();
    void RootChosen();
    void TypeChanged();
    void SelectionChanged();
    void NameTyped();
    void NameKeyDown(WORD& key);
    void BuildViewMenu();
    void DrawFileItem(TCanvas& canvas, int index, TRect rect, TOwnerDrawState state);

    String filter_;
    int filterIndex_ = 1;
    String initialDir_;
    String rootDir_;
    TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
    std::vector<TTeFileType> types_;
    std::unique_ptr<TStringList> files_;
    String folder_;
    std::vector<TItem> items_;
    std::vector<String> rootPaths_;
    std::unique_ptr<TBitmap> folderGlyph_;
    std::unique_ptr<TBitmap> fileGlyph_;
    std::unique_ptr<TBitmap> largeFolderGlyph_;
    std::unique_ptr<TBitmap> largeFileGlyph_;
    TViewStyle viewStyle_ = vsList;
    bool updating_ = false;
};

class TTeSavePanel : public TTeOpenPanel {
    TARVEL_CLASS(TTeSavePanel, TTeOpenPanel)

public:
    explicit TTeSavePanel(TComponent* owner) : TTeOpenPanel(owner) {}

    // The name that will be saved: the chosen item or the typed name,
    // completed with the type's or the default extension when no file of
    // the name as given exists.
    String FinalFileName() const { return SaveFileName(); }
    // FileName and the chosen files set to FinalFileName.
    void FillFileName();

    // Asks before replacing any existing file, however its name was given,
    // and only after the extension was completed.
    void teFilesListDblClick(TObject*) override { SaveChoice(); }
};

// The open panel with a preview of the picture file under the selection.
class TTeOpenPicturePanel : public TTeOpenPanel {
    TARVEL_CLASS(TTeOpenPicturePanel, TTeOpenPanel)

public:
    explicit TTeOpenPicturePanel(TComponent* owner);

    TTeLabel* PictureLabel = nullptr;
    TTePanel* tePicPanel = nullptr;
    TImage* tePicView = nullptr;

protected:
    // A file that is no picture we can read empties the preview.
    void FileSelected(const String& path) override;
};

// The picture panel with the save panel's rules.
class TTeSavePicturePanel : public TTeOpenPicturePanel {
    TARVEL_CLASS(TTeSavePicturePanel, TTeOpenPicturePanel)

public:
    explicit TTeSavePicturePanel(TComponent* owner) : TTeOpenPicturePanel(owner) {}

    String FinalFileName() const { return SaveFileName(); }
    void teFilesListDblClick(TObject*) override { SaveChoice(); }
};

// The size a picture is previewed at in a box: scaled down by the smaller
// of the two ratios (rounded to nearest, ties to even) when it does not fit,
// else its own.
TSize PreviewSize(TSize picture, TSize box);

// Puts `panel` on `form` (whose skinned frame is `frame`) as the request
// asks: options, filter, first folder and proposed name, the form's caption
// and size, and the accept and cancel buttons, named "OpenButton" and
// "CancelButton", beside the name edit and the type box.
void PlaceFilePanel(TForm* form, TTeForm* frame, TTeOpenPanel* panel, const TFileRequest& request);

// Runs an open or save panel in a modal form with a skinned frame and an
// accept and a cancel button. True when the user chose: the request then
// holds the file name and filter index, and `files` (when given) every
// chosen path.
bool ExecuteFilePanel(TFileRequest& request, TStrings* files = nullptr);
// The form ExecuteFilePanel shows, built and not shown; its panel is named
// "Panel", its buttons "OpenButton" and "CancelButton".
std::unique_ptr<TForm> CreateFilePanelForm(const TFileRequest& request);

}  // namespace tarvel
