#include "skin/extras/te_dialogs_file_select.h"

#include <algorithm>

#include "platform/base/Folders.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Application.h"
#include "platform/system/UserFolders.h"
#include "skin/controls/te_controls_listbox.h"
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

// The caption of a form with a skinned frame; nothing for an empty text.
void SetSkinnedCaption(TForm& form, const String& caption) {
    if (caption.empty()) return;
    form.SetCaption(caption);
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* frame = dynamic_cast<TTeForm*>(form.Components(i))) frame->SetCaption(Utf8ToWide(caption));
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
    HelpButton->OnClick = [this](TObject*) { ShowHelpTopic(helpContext_); };

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
    helpContext_ = value;
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
    SetSkinnedCaption(dialog, caption);
    const String start = DirExists(directory) ? directory
                         : DirExists(root)    ? root
                                              : UserFolder(TUserFolder::Home);
    dialog.DirList->SetDirectory(start);
    dialog.SetHelpContext(0);
    if (dialog.ShowModal() != mrOk) return false;
    directory = dialog.Directory();
    return true;
}

void ShowHelpTopic(int helpContext) {
    QvMessageDlg(
        Utf8ToWide("No help is installed on this system (help topic " + IntToStr(helpContext) + ")."),
        mtInformation, TMsgDlgButtons{mbOK}, 0);
}

// ---- the folder browser ----------------------------------------------------------------------

std::vector<TUserPlace> UserPlaces() {
    const TUserPlace all[] = {{"Home", UserFolder(TUserFolder::Home)},
                              {"Desktop", UserFolder(TUserFolder::Desktop)},
                              {"Documents", UserFolder(TUserFolder::Documents)},
                              {"File System", "/"}};
    std::vector<TUserPlace> places;
    for (const TUserPlace& place : all) {
        const bool seen = std::any_of(places.begin(), places.end(),
                                      [&](const TUserPlace& p) { return p.folder == place.folder; });
        if (!seen && DirExists(place.folder)) places.push_back(place);
    }
    return places;
}

bool TBrowseFolderDlg::Execute() {
    struct TClear {
        TForm*& form;
        ~TClear() { form = nullptr; }
    } clear{form_};
    return BrowseKind == bfComputers ? ExecutePlaces() : ExecuteFolders();
}

bool TBrowseFolderDlg::Run(TForm& form) {
    form_ = &form;
    form.SetPosition(Position == dpScreenCenter ? poScreenCenter : poDefault);
    form.OnShow = [this](TObject*) {
        if (OnInitialized) OnInitialized(this);
    };
    return form.ShowModal() == mrOk;
}

bool TBrowseFolderDlg::ExecuteFolders() {
    TTeSelectDirDlg dialog(Application);
    SetSkinnedCaption(dialog, DialogText);
    const String desktop = UserFolder(TUserFolder::Desktop);
    const String start = DirExists(FolderName) ? FolderName
                         : !DesktopRoot        ? String("/")
                         : DirExists(desktop)  ? desktop
                                               : UserFolder(TUserFolder::Home);
    dialog.DirList->SetDirectory(start);
    dialog.SetHelpContext(HelpContext);
    TNotifyEvent shown = dialog.DirList->OnChange;
    dialog.DirList->OnChange = [this, shown](TObject* sender) {
        shown(sender);
        if (OnSelChanged) OnSelChanged(this);
    };
    if (!Run(dialog)) return false;
    FolderName = RemoveBackSlash(dialog.Directory());
    return true;
}

bool TBrowseFolderDlg::ExecutePlaces() {
    TForm form(Application);
    {
        TLoadingScope scope(&form);
        auto* frame = new TTeForm(&form);
        frame->SetBorderStyle(kbsDialog);
        frame->SetBorderIcons(TTeBorderIcons{kbiClose, kbiSystemMenu});
        frame->Dragging()->Sizeable = false;
        scope.Finish();
    }
    form.SetCaption("Browse for Computer");
    SetSkinnedCaption(form, DialogText);
    form.SetClientWidth(300);
    form.SetClientHeight(220);

    const std::vector<TUserPlace> places = UserPlaces();
    auto* list = Place<TTeListBox>(&form, "PlacesList", 8, 8, 284, 170);
    for (const TUserPlace& place : places) list->Items()->Add(place.caption + "  (" + place.folder + ")");
    int first = 0;
    for (size_t i = 0; i < places.size(); ++i)
        if (places[i].folder == FolderName) first = static_cast<int>(i);
    list->SetItemIndex(places.empty() ? -1 : first);

    const int top = 186;
    auto* ok = Place<TTeButton>(&form, "OKButton", HelpContext ? 58 : 137, top, 75, 27);
    ok->SetKind(bkOK);
    ok->SetCaption(u"OK");
    ok->SetDefault(true);
    ok->SetEnabled(list->ItemIndex() >= 0);
    auto* cancel = Place<TTeButton>(&form, "CancelButton", HelpContext ? 137 : 216, top, 75, 27);
    cancel->SetKind(bkCancel);
    cancel->SetCaption(u"Cancel");
    cancel->SetCancel(true);
    if (HelpContext) {
        auto* help = Place<TTeButton>(&form, "HelpButton", 216, top, 75, 27);
        help->SetKind(bkHelp);
        help->SetCaption(u"&Help");
        help->OnClick = [this](TObject*) { ShowHelpTopic(HelpContext); };
    }
    list->OnClick = [this, list, ok](TObject*) {
        ok->SetEnabled(list->ItemIndex() >= 0);
        if (OnSelChanged) OnSelChanged(this);
    };
    list->OnDblClick = [list, &form](TObject*) {
        if (list->ItemIndex() >= 0) form.SetModalResult(mrOk);
    };
    form.SetActiveControl(list);
    if (!Run(form)) return false;
    const int chosen = list->ItemIndex();
    if (chosen < 0 || chosen >= static_cast<int>(places.size())) return false;
    FolderName = places[chosen].folder;
    return true;
}

namespace {

bool Browse(TBrowseKind kind, String& name, const String& text, int helpCtx) {
    TBrowseFolderDlg browser(Application);
    browser.BrowseKind = kind;
    browser.DialogText = text;
    browser.FolderName = name;
    browser.HelpContext = helpCtx;
    if (!browser.Execute()) return false;
    name = browser.FolderName;
    return true;
}

}  // namespace

bool BrowseDirectory(String& folder, const String& text, int helpCtx) {
    return Browse(bfFolders, folder, text, helpCtx);
}

bool BrowseComputer(String& name, const String& text, int helpCtx) {
    return Browse(bfComputers, name, text, helpCtx);
}

}  // namespace tarvel
