#include "skin/extras/te_dialogs_open.h"

#include "platform/base/Paths.h"
#include "platform/classlib/Pictures.h"
#include "platform/classlib/Registry.h"

namespace tarvel {

const char* const kDialogsRegistryKey = "\\software\\zerbolt\\orvanta\\4.0\\dialogs";

namespace {

// The registry's answers: a value of another type counts as missing.
int StoredFilterIndex(const String& name) {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(kDialogsRegistryKey) || reg.GetDataType(name) != rdInteger) return -1;
    return reg.ReadInteger(name);
}

String StoredFolder(const String& name) {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(kDialogsRegistryKey) || reg.GetDataType(name) != rdString) return String();
    return reg.ReadString(name);
}

void StoreChoice(const String& folderName, const String& folder, const String& filterName, int filterIndex) {
    try {
        TRegistry reg;
        if (!reg.OpenKey(kDialogsRegistryKey, true)) return;
        if (!folder.empty()) reg.WriteString(folderName, folder);
        reg.WriteInteger(filterName, filterIndex);
    } catch (const ERegistryException&) {
        // The user's choice stands; only the dialog's memory of it is lost.
    }
}

}  // namespace

TTeOpenDialog::TTeOpenDialog(TComponent* owner)
    : TTeCustomDialog(owner),
      files_(std::make_unique<TStringList>()),
      history_(std::make_unique<TStringList>()) {}

TTeOpenDialog::~TTeOpenDialog() = default;

void TTeOpenDialog::SetFilterIndex(int value) {
    filterIndex_ = value;
    filterIndexSet_ = true;
}

TTeOpenPanel* TTeOpenDialog::CreatePanel() { return new TTeOpenPanel(Form()); }

String TTeOpenDialog::FirstFolder() {
    if (!ExtractFileDir(FileName).empty() && DirectoryExists(ExtractFileDir(FileName))) return String();
    if (!folder_.empty()) return folder_;
    if (!InitialDir.empty()) return InitialDir;
    folder_ = StoredFolder(Name());
    return folder_;
}

void TTeOpenDialog::CreateControls() {
    TForm* form = Form();
    panel_ = CreatePanel();
    if (!filterIndexSet_) {
        const int stored = StoredFilterIndex(RegistryFilterName());
        if (stored >= 0) filterIndex_ = stored;
    }
    filterIndexSet_ = false;

    TFileRequest request;
    request.save = Saving();
    request.title = Title;
    request.filter = Filter;
    request.filterIndex = filterIndex_;
    request.defaultExt = DefaultExt;
    request.initialDir = FirstFolder();
    request.fileName = FileName;
    request.options = Options;
    PlaceFilePanel(form, Frame(), panel_, request);
    form->Constraints()->SetMinWidth(MinimumWidth());
    if (savedBounds_) form->SetBoundsRect(bounds_);

    panel_->OnCanClose = OnCanClose;
    panel_->OnIncludeItem = OnIncludeItem;
    panel_->OnTypeChange = [this](TObject*) {
        filterIndex_ = panel_->FilterIndex();
        if (OnTypeChange) OnTypeChange(this);
    };
}

void TTeOpenDialog::EndDialog() {
    // The save panels have already completed the name with its extension.
    FileName = panel_->FileName;
    filterIndex_ = panel_->FilterIndex();
    files_->Assign(panel_->Files());
    if (!panel_->Folder().empty()) folder_ = panel_->Folder();
    StoreChoice(Name(), panel_->Folder(), RegistryFilterName(), filterIndex_);
}

void TTeOpenDialog::SaveState() {
    bounds_ = Form()->BoundsRect();
    savedBounds_ = true;
    panel_ = nullptr;  // freed with the form
}

TTeOpenPanel* TTeSaveDialog::CreatePanel() { return new TTeSavePanel(Form()); }

TTeOpenPictureDialog::TTeOpenPictureDialog(TComponent* owner) : TTeOpenDialog(owner) {
    Filter = GraphicFilter();
}

TTeOpenPanel* TTeOpenPictureDialog::CreatePanel() {
    Filter = GraphicFilter();
    return new TTeOpenPicturePanel(Form());
}

TTeSavePictureDialog::TTeSavePictureDialog(TComponent* owner) : TTeSaveDialog(owner) {
    Filter = GraphicFilter();
}

TTeOpenPanel* TTeSavePictureDialog::CreatePanel() {
    Filter = GraphicFilter();
    return new TTeSavePicturePanel(Form());
}

}  // namespace tarvel
