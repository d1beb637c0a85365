#include "skin/extras/te_dialogs_file_select.h"

#include "platform/base/Folders.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Application.h"
#include "platform/system/UserFolders.h"
#include "skin/extras/te_dialogs_msgbox.h"
#include "skin/forms/te_forms_frame.h"

namespace tarvel {

namespace {

template <class T>
T* Place(TForm* form, const char* name, int left, int top, int width, int height) {
    auto* control = new T(form);
    control->SetName(name);
    control->SetParent(form);
    control->SetBounds(left, top, width, height);
    return control;
}

TTeLabel* PlaceLabel(TForm* form, const char* name, const char* caption, int left, int top, int width,
                     TWinControl* focus) {
    auto* label = Place<TTeLabel>(form, name, left, top, width, 13);
    label->SetCaption(Utf8ToWide(caption));
    label->SetFocusControl(focus);
    return label;
}

TTeButton* PlaceButton(TForm* form, const char* name, const char* caption, int left, TBitBtnKind kind) {
    auto* button = Place<TTeButton>(form, name, left, 224, 77, 27);
    button->SetKind(kind);
    button->SetCaption(Utf8ToWide(caption));
    return button;
}

}  // namespace

TTeSelectDirDlg::TTeSelectDirDlg(TComponent* owner) : TForm(owner) {
    {
        TLoadingScope scope(this);
        auto* frame = new TTeForm(this);
        frame->SetName("TeForm1");
        frame->SetBorderStyle(kbsDialog);
        frame->SetBorderIcons(TTeBorderIcons{kbiClose, kbiSystemMenu, kbiHelp});
        frame->Dragging()->Sizeable = false;
        frame->SetCaption(u"Select Directory");
        scope.Finish();
    }
    SetCaption("Select Directory");
    SetBorderStyle(bsDialog);
    SetClientWidth(424);
    SetClientHeight(255);
    SetPosition(poScreenCenter);

    DirEdit = Place<TTeEdit>(this, "DirEdit", 8, 24, 409, 20);
    DirEdit->SetVisible(false);
    PlaceLabel(this, "DirNameLabel", "Directory &Name:", 8, 8, 92, DirEdit);
    DirLabel = Place<TTePathLabel>(this, "DirLabel", 120, 8, 213, 13);
    DirList = Place<TTeDirectoryListBox>(this, "DirList", 8, 72, 213, 138);
    PlaceLabel(this, "DirListLabel", "&Directories:", 8, 56, 66, DirList);
    FileList = Place<TTeFileListBox>(this, "FileList", 232, 72, 185, 93);
    FileList->Font()->SetColor(clGrayText);
    FileList->SetTabStop(false);
    PlaceLabel(this, "FileListLabel", "&Files: (*.*)", 232, 56, 57, FileList);
    DriveList = Place<TTeDriveComboBox>(this, "DriveList", 232, 192, 185, 24);
    PlaceLabel(this, "DriveLabel", "D&rives:", 232, 176, 41, DriveList);
    NetButton = PlaceButton(this, "NetButton", "Ne&twork...", 8, bkCustom);
    NetButton->SetVisible(false);
    OKButton = PlaceButton(this, "OKButton", "OK", 172, bkOK);
    OKButton->SetDefault(true);
    OKButton->SetModalResult(mrNone);
    OKButton->OnClick = [this](TObject*) { OKClick(); };
    CancelButton = PlaceButton(this, "CancelButton", "Cancel", 256, bkCancel);
    CancelButton->SetCancel(true);
    HelpButton = PlaceButton(this, "HelpButton", "&Help", 340, bkHelp);

    DriveList->SetDirList(DirList);
    DirList->SetFileList(FileList);
    DirList->OnChange = [this](TObject*) { DirListChange(); };
    DirLabel->SetBounds(DirEdit->Left(), DirEdit->Top(), DirEdit->Width(), DirEdit->Height());
    SetActiveControl(DirList);
    DirListChange();
}

void TTeSelectDirDlg::SetAllowCreate(bool value) {
    allowCreate_ = value;
    DirEdit->SetVisible(value);
    DirLabel->SetVisible(!value);
}

void TTeSelectDirDlg::SetHelpContext(int value) {
    HelpButton->SetVisible(value != 0);
    if (value == 0) {
        OKButton->SetLeft(256);
        CancelButton->SetLeft(340);
    }
}

void TTeSelectDirDlg::DirListChange() {
    DirLabel->SetCaption(DirList->Directory());
    DirEdit->SetText(DirList->Directory());
    DirEdit->SelectAll();
}

String TTeSelectDirDlg::Directory() const {
    if (!allowCreate_) return DirList->Directory();
    return ResolvePath(DirList->Directory(), Trim(DirEdit->GetText()));
}

void TTeSelectDirDlg::OKClick() {
    if (allowCreate_ && Trim(DirEdit->GetText()).empty()) return;
    if (allowCreate_ && Prompt && !DirectoryExists(Directory()) &&
        QvMessageDlg(u"The specified directory does not exist. Create it?", mtConfirmation, mbYesNo, 0) !=
            mrYes)
        return;
    SetModalResult(mrOk);
}

bool SelectDirectory(String& directory, TSelectDirOpts options, int helpCtx) {
    TTeSelectDirDlg dialog(Application);
    // A folder that cannot be entered leaves the dialog in the folder it starts in.
    dialog.DirList->SetDirectory(directory);
    dialog.SetAllowCreate(options.Contains(sdAllowCreate));
    dialog.Prompt = options.Contains(sdPrompt);
    dialog.SetHelpContext(helpCtx);
    if (dialog.ShowModal() != mrOk) return false;
    const String chosen = dialog.Directory();
    if (options.Contains(sdPerformCreate) && !DirectoryExists(chosen) && !ForceDirectories(chosen)) {
        QvMessageDlg(Utf8ToWide("Cannot create the folder " + chosen + "."), mtError, TMsgDlgButtons{mbOK},
                     0);
        return false;
    }
    directory = chosen;
    return true;
}

bool SelectDirectory(const String& caption, const String& root, String& directory) {
    TTeSelectDirDlg dialog(Application);
    if (!caption.empty()) {
        dialog.SetCaption(caption);
        if (auto* frame = dynamic_cast<TTeForm*>(dialog.FindComponent("TeForm1")))
            frame->SetCaption(Utf8ToWide(caption));
    }
    const String start = DirExists(directory) ? directory
                         : DirExists(root)    ? root
                                              : UserFolder(TUserFolder::Home);
    dialog.DirList->SetDirectory(start);
    dialog.SetHelpContext(0);
    if (dialog.ShowModal() != mrOk) return false;
    directory = dialog.Directory();
    return true;
}

bool BrowseDirectory(String& folder, const String& text, int) {
    return SelectDirectory(text, String(), folder);
}

}  // namespace tarvel
