#include "skin/extras/te_dialogs_file_edit.h"

#include "platform/base/Paths.h"
#include "platform/winsys/DragDrop.h"
#include "skin/extras/te_dialogs_file_glyphs.h"

namespace tarvel {

// ---- the common base ---------------------------------------------------------------------------

void TTeFileDirEdit::DeclareMessages(TMessageTable& t) { t.Add<&TTeFileDirEdit::WMDropFiles>(WM_DROPFILES); }

TTeFileDirEdit::TTeFileDirEdit(TComponent* owner)
    : TTeFileDirEdit(owner, [](TTeInplaceControlEdit* self) { return new TTeInplaceButton(self); }) {}

TTeFileDirEdit::TTeFileDirEdit(TComponent* owner, const TButtonMaker& makeButton)
    : TTeEditButton(owner, makeButton) {
    SetGlyphKind(gkDefault);
}

TBitmap* TTeFileDirEdit::GetDefaultBitmap(bool& freeIt) {
    // One picture for every edit, kept for the life of the program.
    static TBitmap* const glyph = MakeFileGlyph(TTeFileGlyph::EditButton).release();
    freeIt = false;
    return glyph;
}

void TTeFileDirEdit::CreateWnd() {
    TTeEditButton::CreateWnd();
    if (acceptFiles_) DragAcceptFiles(Handle(), true);
}

void TTeFileDirEdit::SetAcceptFiles(bool value) {
    if (value == acceptFiles_) return;
    acceptFiles_ = value;
    if (HandleAllocated()) DragAcceptFiles(Handle(), value);
}

void TTeFileDirEdit::DoBeforeDialog(String& name, bool& action) {
    if (OnBeforeDialog) OnBeforeDialog(this, name, action);
}

void TTeFileDirEdit::DoAfterDialog(String& name, bool& action) {
    if (OnAfterDialog) OnAfterDialog(this, name, action);
}

void TTeFileDirEdit::WMDropFiles(TMessage& m) {
    auto drop = reinterpret_cast<HDROP>(m.WParam);
    const UINT count = DragQueryFile(drop, kDragQueryCount, nullptr, 0);
    if (count > 0) {
        ClearFileList();
        for (UINT i = 0; i < (MultipleDirs ? count : 1u); ++i) ReceptFileDir(DragQueryFileName(drop, i));
        if (OnDropFiles) OnDropFiles(this);
    }
    DragFinish(drop);
    m.Result = 0;
}

// ---- the file-name edit ----------------------------------------------------------------------------

TTeFilenameEdit::TTeFilenameEdit(TComponent* owner) : TTeFileDirEdit(owner) { MakeDialog(); }

TTeFilenameEdit::TTeFilenameEdit(TComponent* owner, const TButtonMaker& makeButton)
    : TTeFileDirEdit(owner, makeButton) {
    MakeDialog();
}

void TTeFilenameEdit::MakeDialog() {
    delete dialog_;
    switch (dialogKind_) {
        case dkOpen: dialog_ = new TTeOpenDialog(this); break;
        case dkSave: dialog_ = new TTeSaveDialog(this); break;
        case dkOpenPicture: dialog_ = new TTeOpenPictureDialog(this); break;
        case dkSavePicture: dialog_ = new TTeSavePictureDialog(this); break;
    }
    // The edit's defaults; the picture dialogs keep their own filter.
    dialog_->Title = "Browse";
    if (dialogKind_ == dkOpen || dialogKind_ == dkSave) dialog_->Filter = "All files (*.*)|*.*";
    dialog_->Options = TOpenOptions{ofHideReadOnly};
}

void TTeFilenameEdit::SetDialogKind(TFileDialogKind value) {
    if (value == dialogKind_) return;
    dialogKind_ = value;
    MakeDialog();
}

void TTeFilenameEdit::SetDialogOptions(TOpenOptions value) {
    if (value == dialog_->Options) return;
    dialog_->Options = value;
    MultipleDirs = value.Contains(ofAllowMultiSelect);
    if (!MultipleDirs) DialogFiles()->Clear();
}

String TTeFilenameEdit::NameOfText() const {
    const String text = GetText();
    if (FileExists(text)) return text;
    const std::vector<String> names = SplitNameList(text);
    return names.empty() ? String() : names[0];
}

String TTeFilenameEdit::FileName() { return AddQuotes ? NameOfText() : GetText(); }

void TTeFilenameEdit::SetFileName(const String& value) {
    if (!value.empty()) {
        const std::vector<String> names = SplitNameList(value);
        const String first = FileExists(value) || names.empty() ? value : names[0];
        if (!ValidFileName(first)) throw EComboEditError("Invalid file name - " + value);
    }
    SetText(AddQuotes ? QuoteFileName(value) : value);
    ClearFileList();
}

void TTeFilenameEdit::ButtonClick() {
    TTeFileDirEdit::ButtonClick();
    String name = NameOfText();
    bool action = true;
    DoBeforeDialog(name, action);
    if (!action) return;
    if (ValidFileName(name)) {
        if (DirExists(ExtractFileDir(name))) dialog_->InitialDir = ExtractFileDir(name);
        const String file = ExtractFileName(name);
        dialog_->FileName = file.empty() || !ValidFileName(file) ? String() : name;
    }
    action = dialog_->Execute();
    if (action) name = dialog_->FileName;
    if (CanFocus()) SetFocus();
    DoAfterDialog(name, action);
    if (!action) return;
    SetText(AddQuotes ? QuoteFileName(name) : name);
    dialog_->InitialDir = ExtractFileDir(dialog_->FileName);
}

void TTeFilenameEdit::ReceptFileDir(const String& name) {
    if (!MultipleDirs) {
        SetFileName(name);
        return;
    }
    if (DialogFiles()->Count() == 0) SetFileName(name);
    DialogFiles()->Add(name);
}

// ---- the directory edit ----------------------------------------------------------------------------

String TTeDirectoryEdit::EachDir(String (*convert)(const String&)) {
    if (!MultipleDirs) return convert(GetText());
    String out;
    String rest = GetText();
    for (size_t start = 0; start <= rest.size();) {
        size_t end = rest.find(';', start);
        if (end == String::npos) end = rest.size();
        const String part = convert(rest.substr(start, end - start));
        if (!part.empty()) out += (out.empty() ? "" : ";") + part;
        start = end + 1;
    }
    return out;
}

void TTeDirectoryEdit::AddDir(const String& name) {
    SetText(MultipleDirs && !GetText().empty() ? GetText() + ";" + name : name);
}

void TTeDirectoryEdit::ButtonClick() {
    TTeFileDirEdit::ButtonClick();
    String name = GetText();
    bool action = true;
    DoBeforeDialog(name, action);
    if (!action) return;
    if (name.empty()) name = InitialDir.empty() ? String("/") : InitialDir;
    if (!DirExists(name)) name = "/";
    action = DialogKind == dkWin32 ? BrowseDirectory(name, DialogText, 0)
                                   : SelectDirectory(name, DialogOptions, 0);
    if (CanFocus()) SetFocus();
    DoAfterDialog(name, action);
    if (!action) return;
    AddDir(name);
    if (DirExists(name)) InitialDir = name;
}

void TTeDirectoryEdit::ReceptFileDir(const String& name) {
    AddDir(FileExists(name) ? ExtractFileDir(name) : name);
}

}  // namespace tarvel
