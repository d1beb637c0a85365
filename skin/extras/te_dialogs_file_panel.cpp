#include "skin/extras/te_dialogs_file_panel.h"

#include <algorithm>
#include <cmath>

#include "platform/base/Folders.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Application.h"
#include "platform/system/UserFolders.h"
#include "skin/controls/te_controls_button.h"
#include "skin/core/te_utils_draw.h"
#include "skin/core/te_winapi.h"
#include "skin/extras/te_dialogs_file_glyphs.h"
#include "skin/extras/te_dialogs_msgbox.h"
#include "skin/forms/te_forms_frame.h"

namespace tarvel {

namespace {

constexpr const char* kNewFolderName = "New Folder";

template <class T>
T* Place(TTeOpenPanel* panel, const char* name, int left, int top, int width, int height, TAnchors anchors) {
    auto* control = new T(panel);
    control->SetName(name);
    control->SetParent(panel);
    control->SetBounds(left, top, width, height);
    control->SetAnchors(anchors);
    return control;
}

TTeLabel* PlaceLabel(TTeOpenPanel* panel, const char* name, const char* caption, int left, int top, int width,
                     TAnchors anchors) {
    auto* label = Place<TTeLabel>(panel, name, left, top, width, 13, anchors);
    label->SetCaption(Utf8ToWide(caption));
    return label;
}

TTeSpeedButton* PlaceToolButton(TTeOpenPanel* panel, const char* name, int left, TTeFileGlyph glyph,
                                const char* hint) {
    auto* button = Place<TTeSpeedButton>(panel, name, left, 8, 27, 25, {akTop, akRight});
    button->SetFlat(true);
    std::unique_ptr<TBitmap> picture = MakeFileGlyph(glyph);
    button->SetGlyph(picture.get());
    button->SetHint(hint);
    button->SetShowHint(true);
    return button;
}

}  // namespace

// ---- building ----------------------------------------------------------------------------------

TTeOpenPanel::TTeOpenPanel(TComponent* owner)
    : TCustomFrame(owner),
      files_(std::make_unique<TStringList>()),
      folderGlyph_(MakeFileGlyph(TTeFileGlyph::ClosedFolder)),
      fileGlyph_(MakeFileGlyph(TTeFileGlyph::UnknownFile)),
      largeFolderGlyph_(MakeFileGlyph(TTeFileGlyph::ClosedFolder, 2)),
      largeFileGlyph_(MakeFileGlyph(TTeFileGlyph::UnknownFile, 2)) {
    SetBounds(0, 0, 470, 310);
    Build();
    SetViewStyle(vsList);
}

TTeOpenPanel::~TTeOpenPanel() = default;

void TTeOpenPanel::Build() {
    LookInLabel = PlaceLabel(this, "LookInLabel", "Look &in:", 10, 12, 37, {akLeft, akTop});
    FileNameLabel = PlaceLabel(this, "FileNameLabel", "File &name:", 10, 255, 49, {akLeft, akBottom});
    FilesTyleLabel = PlaceLabel(this, "FilesTyleLabel", "Files of &type:", 10, 283, 63, {akLeft, akBottom});
    tebtnBack = PlaceToolButton(this, "tebtnBack", 337, TTeFileGlyph::Back, "Back");
    teBtnUp = PlaceToolButton(this, "teBtnUp", 365, TTeFileGlyph::Up, "Up");
    teBtnCreate = PlaceToolButton(this, "teBtnCreate", 393, TTeFileGlyph::NewFolder, "Create Folder");
    tebtnListView = PlaceToolButton(this, "tebtnListView", 421, TTeFileGlyph::ViewMenu, "View Menu");
    BuildViewMenu();
    tebtnBack->OnClick = [this](TObject*) { GoUp(); };
    teBtnUp->OnClick = [this](TObject*) { GoUp(); };
    teBtnCreate->OnClick = [this](TObject*) { CreateFolder(); };

    teFileRoot = Place<TTeComboBox>(this, "teFileRoot", 54, 8, 272, 22, {akLeft, akTop, akRight});
    teFileRoot->SetComboStyle(kcsDropDownList);
    teFileRoot->SetDropDownCount(8);
    teFileRoot->SetTabOrder(2);
    teFileRoot->OnChange = [this](TObject*) { RootChosen(); };

    teFilesList = Place<TTeListBox>(this, "teFilesList", 8, 40, 452, 204, {akLeft, akTop, akRight, akBottom});
    teFilesList->SetListStyle(lbsOwnerDrawFixed);
    teFilesList->SetItemHeight(17);
    teFilesList->SetTabOrder(3);
    teFilesList->OnDrawItem = [this](TTeListBox*, TCanvas& c, int i, TRect r, TOwnerDrawState s) {
        DrawFileItem(c, i, r, s);
    };
    teFilesList->OnClick = [this](TObject*) { SelectionChanged(); };
    teFilesList->OnDblClick = [this](TObject* sender) { teFilesListDblClick(sender); };

    teFileName = Place<TTeEdit>(this, "teFileName", 76, 251, 290, 21, {akLeft, akRight, akBottom});
    teFileName->SetTabOrder(0);
    teFileName->OnChange = [this](TObject*) { NameTyped(); };
    teFileName->OnKeyDown = [this](TObject*, WORD& key, TShiftState) { NameKeyDown(key); };
    FileNameLabel->SetFocusControl(teFileName);

    teFileTypes = Place<TTeComboBox>(this, "teFileTypes", 76, 280, 291, 21, {akLeft, akRight, akBottom});
    teFileTypes->SetComboStyle(kcsDropDownList);
    teFileTypes->SetTabOrder(1);
    teFileTypes->OnChange = [this](TObject*) { TypeChanged(); };
    FilesTyleLabel->SetFocusControl(teFileTypes);
    LookInLabel->SetFocusControl(teFileRoot);
}

void TTeOpenPanel::BuildViewMenu() {
    teViewMenu = new TTePopupMenu(this);
    teViewMenu->SetName("teViewMenu");
    auto item = [this](const char* name, const char16_t* caption, TViewStyle style) {
        auto* i = new TTeItem(this);
        i->SetName(name);
        i->SetCaption(caption);
        i->OnClick = [this, style](TObject*) { SetViewStyle(style); };
        teViewMenu->Items()->Add(i);
        return i;
    };
    teitemTitles = item("teitemTitles", u"Titles", vsIcon);
    teitemIcon = item("teitemIcon", u"Icons", vsSmallIcon);
    teitemList = item("teitemList", u"List", vsList);
    teitemDetail = item("teitemDetail", u"Detail", vsReport);
    tebtnListView->SetDropDownMenu(teViewMenu);
}

void TTeOpenPanel::SetViewStyle(TViewStyle value) {
    viewStyle_ = value;
    teitemTitles->SetChecked(value == vsIcon);
    teitemIcon->SetChecked(value == vsSmallIcon);
    teitemList->SetChecked(value == vsList);
    teitemDetail->SetChecked(value == vsReport);
    // The list style snakes the items through two columns; the others show
    // one a line.
    teFilesList->SetColumns(value == vsList ? 2 : 0);
    teFilesList->SetItemHeight(value == vsIcon ? largeFolderGlyph_->Height() + 4 : 17);
    teFilesList->Invalidate();
}

namespace {

// The detail view's size column: whole kilobytes, rounded up.
String SizeText(uint64_t bytes) { return IntToStr(static_cast<int64_t>((bytes + 1023) / 1024)) + " KB"; }

String TypeText(const String& name, bool folder) {
    if (folder) return "Folder";
    const String ext = HasExtension(name) ? ExtractFileExt(name).substr(1) : String();
    return ext.empty() ? String("File") : UpperCase(ext) + " File";
}

}  // namespace

void TTeOpenPanel::DrawFileItem(TCanvas& canvas, int index, TRect rect, TOwnerDrawState) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    const TItem& item = items_[index];
    const bool large = viewStyle_ == vsIcon;
    TBitmap* glyph = item.folder ? (large ? largeFolderGlyph_ : folderGlyph_).get()
                                 : (large ? largeFileGlyph_ : fileGlyph_).get();
    glyph->SetTransparent(true);
    canvas.Draw(rect.left, rect.top + (rect.Height() - glyph->Height()) / 2, glyph);
    TRect text = rect;
    text.left += glyph->Width() + 4;
    constexpr unsigned kLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (viewStyle_ == vsReport) {
        // Name, then the size and the type in columns of their own at the right.
        TRect size = text, type = text;
        text.right -= 170;
        size.left = text.right;
        size.right = rect.right - 90;
        type.left = size.right + 8;
        if (!item.folder) DrawText(canvas, Utf8ToWide(SizeText(item.size)), size, kLine | DT_RIGHT);
        DrawText(canvas, Utf8ToWide(TypeText(item.name, item.folder)), type, kLine | DT_END_ELLIPSIS);
    }
    DrawText(canvas, Utf8ToWide(item.name), text, kLine | DT_END_ELLIPSIS);
}

// ---- properties --------------------------------------------------------------------------------

void TTeOpenPanel::SetFilter(const String& value) {
    filter_ = value;
    types_ = ParseFilter(value);
    BatchUpdate(*teFileTypes->Items(), [&] {
        teFileTypes->Items()->Clear();
        for (const TTeFileType& type : types_) teFileTypes->Items()->Add(type.description);
    });
    teFileTypes->SetItemIndex(types_.empty() ? -1 : 0);
    filterIndex_ = types_.empty() ? filterIndex_ : 1;
    if (!folder_.empty()) ReadFolder();
}

void TTeOpenPanel::SetFilterIndex(int value) {
    if (value > static_cast<int>(types_.size())) return;
    filterIndex_ = value;
    teFileTypes->SetItemIndex(value - 1);
    if (!folder_.empty()) ReadFolder();
}

void TTeOpenPanel::SetOptions(TOpenOptions value) {
    options_ = value;
    teFilesList->SetMultiSelect(value.Contains(ofAllowMultiSelect));
}

void TTeOpenPanel::SetInitialDir(const String& value) {
    if (value.empty() || value == initialDir_) return;
    initialDir_ = value;
    ShowFolder(value);
}

void TTeOpenPanel::SetRootDir(const String& value) {
    if (value.empty() || value == rootDir_) return;
    rootDir_ = value;
    ShowFolder(value);
}

std::vector<String> TTeOpenPanel::CurrentMasks() const {
    const int index = teFileTypes->ItemIndex();
    if (index < 0 || index >= static_cast<int>(types_.size())) return {};
    return types_[index].masks;
}

// ---- the folder --------------------------------------------------------------------------------

void TTeOpenPanel::Notice(const String& text) {
    QvMessageDlg(Utf8ToWide(text), mtInformation, TMsgDlgButtons{mbOK}, 0);
}

bool TTeOpenPanel::ShowFolder(const String& folder) {
    const String path = ResolvePath(folder_.empty() ? GetCurrentDir() : folder_, folder);
    if (!DirectoryExists(path)) {
        Notice(path + " is not a folder that can be shown.");
        return false;
    }
    folder_ = path;
    ReadFolder();
    FillRoots();
    if (OnFolderChange) OnFolderChange(this);
    return true;
}

void TTeOpenPanel::ReadFolder() {
    std::vector<TFolderEntry> entries;
    ListFolder(folder_, entries);
    const std::vector<String> masks = CurrentMasks();
    items_.clear();
    for (const TFolderEntry& e : entries) {
        if (e.hidden) continue;
        // Folders always show; with a filter, a file shows when the selected
        // type's masks take it (no type selected: folders only).
        if (e.folder || filter_.empty() || MatchesMasks(e.name, masks))
            items_.push_back({e.name, e.folder, e.size});
    }
    std::sort(items_.begin(), items_.end(), [](const TItem& a, const TItem& b) {
        if (a.folder != b.folder) return a.folder;
        const int byText = CompareText(a.name, b.name);
        return byText != 0 ? byText < 0 : a.name < b.name;
    });
    BatchUpdate(*teFilesList->Items(), [&] {
        teFilesList->Items()->Clear();
        for (const TItem& item : items_) teFilesList->Items()->Add(item.name);
    });
}

void TTeOpenPanel::FillRoots() {
    rootPaths_ = {UserFolder(TUserFolder::Desktop), UserFolder(TUserFolder::Home),
                  UserFolder(TUserFolder::Documents)};
    std::vector<String> names = {"Desktop", "Home", "Documents"};
    // Then every level of the folder shown, from the root down.
    rootPaths_.push_back("/");
    names.push_back("/");
    for (size_t slash = folder_.find('/', 1); folder_ != "/"; slash = folder_.find('/', slash + 1)) {
        const String level = folder_.substr(0, slash);
        rootPaths_.push_back(level);
        names.push_back(String(2 * (rootPaths_.size() - 4), ' ') + ExtractFileName(level));
        if (slash == String::npos) break;
    }
    updating_ = true;
    BatchUpdate(*teFileRoot->Items(), [&] {
        teFileRoot->Items()->Clear();
        for (const String& name : names) teFileRoot->Items()->Add(name);
    });
    teFileRoot->SetItemIndex(static_cast<int>(rootPaths_.size()) - 1);
    updating_ = false;
}

void TTeOpenPanel::RootChosen() {
    if (updating_) return;
    const int index = teFileRoot->ItemIndex();
    if (index >= 0 && index < static_cast<int>(rootPaths_.size()) && rootPaths_[index] != folder_)
        ShowFolder(rootPaths_[index]);
}

void TTeOpenPanel::GoUp() { ShowFolder(ParentFolder(folder_)); }

void TTeOpenPanel::CreateFolder() {
    const String path = JoinPath(folder_, kNewFolderName);
    bool include = true;
    if (OnIncludeItem) OnIncludeItem(this, path, include);
    if (!include) return;
    if (FileExists(path) || DirectoryExists(path) || !CreateDir(path))
        Notice("Cannot create the folder " + path + ".");
    ReadFolder();
}

void TTeOpenPanel::TypeChanged() {
    ReadFolder();
    filterIndex_ = teFileTypes->ItemIndex() + 1;
    if (OnTypeChange) OnTypeChange(this);
}

// ---- choosing ----------------------------------------------------------------------------------

const TTeOpenPanel::TItem* TTeOpenPanel::SelectedItem() const {
    const int index = teFilesList->ItemIndex();
    if (index < 0 || index >= static_cast<int>(items_.size())) return nullptr;
    if (teFilesList->MultiSelect() && !teFilesList->Selected(index)) return nullptr;
    return &items_[index];
}

void TTeOpenPanel::SelectionChanged() {
    const TItem* item = SelectedItem();
    if (item && !item->folder) {
        updating_ = true;
        teFileName->SetText(item->name);
        updating_ = false;
        FileName = ItemPath(*item);
        files_->Clear();
        if (teFilesList->MultiSelect()) {
            for (int i = 0; i < static_cast<int>(items_.size()); ++i)
                if (teFilesList->Selected(i) && !items_[i].folder) files_->Add(ItemPath(items_[i]));
        } else {
            files_->Add(FileName);
        }
        if (OnSelectionChange) OnSelectionChange(this);
        FileSelected(FileName);
    }
    if (item && item->folder && OnFolderChange) OnFolderChange(this);
}

void TTeOpenPanel::NameTyped() {
    if (updating_) return;
    const String text = teFileName->GetText();
    const auto match =
        std::find_if(items_.begin(), items_.end(), [&](const TItem& i) { return i.name == text; });
    if (match != items_.end()) {
        const int index = static_cast<int>(match - items_.begin());
        teFilesList->SetItemIndex(index);
        if (teFilesList->MultiSelect()) teFilesList->SetSelected(index, true);
        SelectionChanged();
        return;
    }
    teFilesList->SetItemIndex(-1);
    if (text.empty()) {
        for (int i = 0; i < teFilesList->Count(); ++i) teFilesList->SetSelected(i, false);
        FileName.clear();
    }
}

void TTeOpenPanel::NameKeyDown(WORD& key) {
    if (key == VK_ESCAPE) {
        if (TCustomForm* form = OwnerForm()) {
            form->SetModalResult(mrCancel);
            key = 0;
        }
    } else if (key == VK_RETURN) {
        key = 0;
        teFilesListDblClick(teFileName);
    }
}

TCustomForm* TTeOpenPanel::OwnerForm() const { return dynamic_cast<TCustomForm*>(Owner()); }

String TTeOpenPanel::TypedPath() const {
    const String text = Trim(teFileName->GetText());
    return text.empty() ? String() : ResolvePath(folder_, text);
}

void TTeOpenPanel::Accept(const String& path) {
    TCustomForm* form = OwnerForm();
    if (!form) return;
    FileName = path;
    files_->Clear();
    files_->Add(path);
    form->SetModalResult(mrOk);
}

void TTeOpenPanel::teFilesListDblClick(TObject*) {
    if (const TItem* item = SelectedItem()) {
        if (item->folder) {
            ShowFolder(ItemPath(*item));
        } else if (TCustomForm* form = OwnerForm()) {
            form->SetModalResult(mrOk);
        }
        return;
    }
    const String path = TypedPath();
    if (path.empty()) return;
    if (DirectoryExists(path)) {
        // A typed folder is opened, as a chosen one is.
        teFileName->SetText("");
        ShowFolder(path);
        return;
    }
    if (!FileExists(path)) {
        if (options_.Contains(ofFileMustExist)) {
            Notice(path + "\nFile not found.\nPlease verify the correct file name was given.");
            return;
        }
        if (options_.Contains(ofCreatePrompt) &&
            QvMessageDlg(Utf8ToWide(path + "\nThe requested file does not exist. Do you want to create it?"),
                         mtConfirmation, mbYesNoCancel, 0) != mrYes)
            return;
    }
    Accept(path);
}

// ---- saving --------------------------------------------------------------------------------------

String TTeOpenPanel::SaveFileName() const {
    String path;
    if (const TItem* item = SelectedItem())
        path = ItemPath(*item);
    else
        path = TypedPath();
    if (path.empty() || FileExists(path)) return path;
    const int type = teFileTypes->ItemIndex();
    const TTeFileType* chosen =
        type >= 0 && type < static_cast<int>(FileTypes().size()) ? &FileTypes()[type] : nullptr;
    return CompleteFileName(path, SaveExtension(chosen, DefaultExt));
}

void TTeSavePanel::FillFileName() {
    FileName = SaveFileName();
    Files()->Clear();
    if (!FileName.empty()) Files()->Add(FileName);
}

void TTeOpenPanel::SaveChoice() {
    const TItem* item = SelectedItem();
    if (item && item->folder) {
        ShowFolder(ItemPath(*item));
        return;
    }
    if (!item && Trim(teFileName->GetText()).empty()) return;
    if (!item && DirectoryExists(TypedPath())) {
        teFileName->SetText("");
        ShowFolder(TypedPath());
        return;
    }
    if (!OwnerForm()) return;
    const String path = SaveFileName();
    if (!DirectoryExists(ExtractFileDir(path).empty() ? String("/") : ExtractFileDir(path))) {
        Notice("You cannot save in the folder you specified. Please choose another location.");
        return;
    }
    if (Options().Contains(ofOverwritePrompt) && FileExists(path) &&
        QvMessageDlg(Utf8ToWide(ExtractFileName(path) + " already exists. Do you want to replace it?"),
                     mtConfirmation, mbYesNo, 0) != mrYes)
        return;
    Accept(path);
}

// ---- the picture panels --------------------------------------------------------------------

TSize PreviewSize(TSize picture, TSize box) {
    if (picture.cx <= 0 || picture.cy <= 0 || (picture.cx <= box.cx && picture.cy <= box.cy)) return picture;
    const float scale = std::min(static_cast<float>(box.cx) / static_cast<float>(picture.cx),
                                 static_cast<float>(box.cy) / static_cast<float>(picture.cy));
    auto scaled = [scale](int length) {
        return static_cast<int>(std::nearbyint(static_cast<float>(length) * scale));
    };
    return TSize{scaled(picture.cx), scaled(picture.cy)};
}

TTeOpenPicturePanel::TTeOpenPicturePanel(TComponent* owner) : TTeOpenPanel(owner) {
    SetBounds(0, 0, 600, 296);
    LookInLabel->SetTop(13);
    FileNameLabel->SetTop(241);
    FilesTyleLabel->SetTop(269);
    int left = 288;
    for (TTeSpeedButton* b : {tebtnBack, teBtnUp, teBtnCreate, tebtnListView}) {
        b->SetLeft(left);
        left += 28;
    }
    teFileRoot->SetWidth(223);
    teFilesList->SetBounds(8, 40, 403, 190);
    teFileName->SetBounds(76, 237, 387, 21);
    teFileTypes->SetBounds(76, 266, 388, 21);

    PictureLabel = Place<TTeLabel>(this, "PictureLabel", 422, 14, 37, 13, {akTop, akRight});
    PictureLabel->SetCaption(u"Picture:");
    tePicPanel = Place<TTePanel>(this, "tePicPanel", 420, 40, 171, 190, {akTop, akRight, akBottom});
    tePicPanel->SetBorderWidth(3);
    tePicPanel->SetTabOrder(6);
    tePicView = new TImage(this);
    tePicView->SetName("tePicView");
    tePicView->SetParent(tePicPanel);
    tePicView->SetAlign(alClient);
    tePicView->SetCenter(true);
}

void TTeOpenPicturePanel::FileSelected(const String& path) {
    TPicture picture;
    try {
        picture.LoadFromFile(path);
    } catch (const std::exception&) {
        // Not a picture we can read: the preview shows nothing rather than
        // the last one.
        tePicView->Picture()->SetGraphic(nullptr);
        return;
    }
    const TSize own{picture.Width(), picture.Height()};
    const TSize shown = PreviewSize(own, TSize{tePicView->Width(), tePicView->Height()});
    if (shown == own || !picture.Graphic()) {
        tePicView->Picture()->Assign(&picture);
        return;
    }
    TBitmap scaled(shown.cx, shown.cy);
    scaled.Canvas()->StretchDraw(TRect{0, 0, shown.cx, shown.cy}, picture.Graphic());
    tePicView->Picture()->Assign(&scaled);
}

// ---- the dialog around a panel ---------------------------------------------------------------

void PlaceFilePanel(TForm* form, TTeForm* frame, TTeOpenPanel* panel, const TFileRequest& request) {
    frame->Dragging()->Sizeable = request.options.Contains(ofEnableSizing);
    const String caption = !request.title.empty() ? request.title : request.save ? "Save" : "Open";
    frame->SetCaption(Utf8ToWide(caption));
    form->SetCaption(caption);
    form->Constraints()->SetMinWidth(300);
    form->Constraints()->SetMinHeight(200);

    panel->SetName("Panel");
    panel->SetParent(form);
    panel->SetOptions(request.options);
    panel->SetFilter(request.filter);
    panel->SetFilterIndex(request.filterIndex);
    panel->DefaultExt = request.defaultExt;
    panel->FileName = request.fileName;
    const String proposedFolder = ExtractFileDir(request.fileName);
    if (IsAbsolutePath(proposedFolder) && DirectoryExists(proposedFolder))
        panel->SetRootDir(proposedFolder);
    else if (DirectoryExists(request.initialDir))
        panel->SetInitialDir(request.initialDir);
    else
        panel->ShowFolder(GetCurrentDir());
    panel->teFileName->SetText(ExtractFileName(request.fileName));
    form->SetClientWidth(panel->Width());
    form->SetClientHeight(panel->Height());
    panel->SetAnchors({akLeft, akTop, akRight, akBottom});

    // The buttons stand right of the name edit and the type box; the name
    // edit and the type box give them room.
    auto button = [&](const char* name, const char* text, TBitBtnKind kind, TControl* beside) {
        auto* b = new TTeButton(form);
        b->SetName(name);
        b->SetParent(form);
        b->SetKind(kind);
        b->SetCaption(Utf8ToWide(text));
        const int width = std::max(75, MeasureText(b->Font(), text, 0, true).cx + 40);
        b->SetBounds(panel->Width() - width - 10, beside->Top(), width, 25);
        b->SetAnchors({akRight, akBottom});
        beside->SetWidth(std::min(beside->Width(), b->Left() - 8 - beside->Left()));
        return b;
    };
    TTeButton* accept = button("OpenButton", request.save ? "&Save" : "&Open", bkOK, panel->teFileName);
    accept->SetModalResult(mrNone);
    accept->SetDefault(true);
    accept->OnClick = [panel](TObject* sender) { panel->DoOpenClick(sender); };
    TTeButton* cancel = button("CancelButton", "Cancel", bkCancel, panel->teFileTypes);
    cancel->SetCancel(true);
    form->SetActiveControl(panel->teFileName);
}

std::unique_ptr<TForm> CreateFilePanelForm(const TFileRequest& request) {
    auto form = std::make_unique<TForm>(Application);
    TTeForm* frame = nullptr;
    {
        TLoadingScope scope(form.get());
        frame = new TTeForm(form.get());
        frame->SetBorderStyle(kbsDialog);
        frame->SetBorderIcons(TTeBorderIcons{kbiClose, kbiSystemMenu});
        scope.Finish();
    }
    form->SetPosition(poScreenCenter);
    TTeOpenPanel* panel = request.save ? new TTeSavePanel(form.get()) : new TTeOpenPanel(form.get());
    PlaceFilePanel(form.get(), frame, panel, request);
    return form;
}

bool ExecuteFilePanel(TFileRequest& request, TStrings* files) {
    std::unique_ptr<TForm> form = CreateFilePanelForm(request);
    auto* panel = static_cast<TTeOpenPanel*>(form->FindComponent("Panel"));
    if (form->ShowModal() != mrOk) return false;
    request.fileName = panel->FileName;
    request.filterIndex = panel->FilterIndex();
    if (files) files->Assign(panel->Files());
    return true;
}

}  // namespace tarvel
