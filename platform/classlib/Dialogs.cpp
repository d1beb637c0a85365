#include "platform/classlib/Dialogs.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "platform/base/Paths.h"
#include "platform/classlib/StdCtrls.h"

namespace tarvel {

namespace fs = std::filesystem;

namespace {

std::vector<String> SplitOn(const String& s, char separator) {
    std::vector<String> parts;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == separator) {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

bool IsAbsolute(const String& path) { return !path.empty() && path[0] == '/'; }

String JoinPath(const String& folder, const String& name) {
    return folder == "/" ? "/" + name : ExcludeTrailingPathDelimiter(folder) + "/" + name;
}

String ParentFolder(const String& folder) {
    fs::path p(ExcludeTrailingPathDelimiter(folder));
    fs::path parent = p.parent_path();
    return parent.empty() ? String("/") : parent.string();
}

// The form of the standard open and save dialog.
class TFileDialogForm : public TForm {
    TARVEL_CLASS(TFileDialogForm, TForm)

public:
    TFileDialogForm(TComponent* owner, TFileRequest& request);
    String ChosenPath() const { return chosen_; }

private:
    void Build();
    void ShowFolder(const String& folder);
    void FilterChanged();
    void FolderOpened();
    void FileClicked();
    void OkClicked();

    TFileRequest& request_;
    String folder_;
    std::vector<String> masks_;
    String chosen_;
    TLabel* folderLabel_ = nullptr;
    TListBox* folders_ = nullptr;
    TListBox* files_ = nullptr;
    TEdit* name_ = nullptr;
    TComboBox* filter_ = nullptr;
};

TFileDialogForm::TFileDialogForm(TComponent* owner, TFileRequest& request) : TForm(owner), request_(request) {
    SetName("FileDialog");
    SetCaption(!request.title.empty() ? request.title : (request.save ? String("Save As") : String("Open")));
    SetPosition(poScreenCenter);
    SetBorderStyle(request.options.Contains(ofEnableSizing) ? bsSizeable : bsDialog);
    Font()->SetName("Tahoma");
    SetClientWidth(460);
    SetClientHeight(330);
    Constraints()->SetMinWidth(360);
    Constraints()->SetMinHeight(260);
    Build();

    String start = request.initialDir;
    String proposed = request.fileName;
    if (IsAbsolute(proposed) && DirectoryExists(ExtractFileDir(proposed)) && start.empty())
        start = ExtractFileDir(proposed);
    if (start.empty() || !DirectoryExists(start)) start = GetCurrentDir();
    name_->SetTextValue(ExtractFileName(proposed));
    masks_ = FilterMasks(request.filter, request.filterIndex);
    const int entries = static_cast<int>(FilterDescriptions(request.filter).size());
    filter_->SetItemIndex(entries ? std::clamp(request.filterIndex, 1, entries) - 1 : -1);
    ShowFolder(start);
    SetActiveControl(name_);
}

void TFileDialogForm::Build() {
    auto label = [this](const char* name, const String& caption, int x, int y) {
        auto* l = new TLabel(this);
        l->SetName(name);
        l->SetParent(this);
        l->SetCaption(caption);
        l->SetBounds(x, y, l->Width(), l->Height());
        return l;
    };
    auto list = [this](const char* name, TRect bounds, TAnchors anchors) {
        auto* l = new TListBox(this);
        l->SetName(name);
        l->SetParent(this);
        l->SetBoundsRect(bounds);
        l->SetAnchors(anchors);
        return l;
    };
    folderLabel_ = label("FolderLabel", "", 8, 8);
    folderLabel_->SetAutoSize(false);
    folderLabel_->SetShowAccelChar(false);
    folderLabel_->SetEllipsisPosition(epPathEllipsis);
    folderLabel_->SetBounds(8, 8, 444, 16);
    folderLabel_->SetAnchors({akLeft, akTop, akRight});
    folders_ = list("Folders", Bounds(8, 28, 150, 200), {akLeft, akTop, akBottom});
    files_ = list("Files", Bounds(166, 28, 286, 200), {akLeft, akTop, akRight, akBottom});
    TLabel* nameLabel = label("FileNameLabel", "File &name:", 8, 240);
    nameLabel->SetAnchors({akLeft, akBottom});
    name_ = new TEdit(this);
    name_->SetName("FileName");
    name_->SetParent(this);
    name_->SetBounds(100, 236, 270, 21);
    name_->SetAnchors({akLeft, akRight, akBottom});
    nameLabel->SetFocusControl(name_);
    TLabel* typeLabel = label("FilterLabel", "Files of &type:", 8, 268);
    typeLabel->SetAnchors({akLeft, akBottom});
    filter_ = new TComboBox(this);
    filter_->SetName("Filter");
    filter_->SetParent(this);
    filter_->SetStyle(csDropDownList);
    filter_->SetBounds(100, 264, 270, 21);
    filter_->SetAnchors({akLeft, akRight, akBottom});
    for (const String& d : FilterDescriptions(request_.filter)) filter_->Items()->Add(d);
    typeLabel->SetFocusControl(filter_);

    auto* ok = new TButton(this);
    ok->SetName("OK");
    ok->SetParent(this);
    ok->SetCaption(request_.save ? "&Save" : "&Open");
    ok->SetBounds(378, 235, 75, 25);
    ok->SetAnchors({akRight, akBottom});
    ok->SetDefault(true);
    ok->OnClick = [this](TObject*) { OkClicked(); };
    auto* cancel = new TButton(this);
    cancel->SetName("Cancel");
    cancel->SetParent(this);
    cancel->SetCaption("Cancel");
    cancel->SetBounds(378, 264, 75, 25);
    cancel->SetAnchors({akRight, akBottom});
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);

    folders_->OnDblClick = [this](TObject*) { FolderOpened(); };
    files_->OnClick = [this](TObject*) { FileClicked(); };
    files_->OnDblClick = [this](TObject*) {
        FileClicked();
        OkClicked();
    };
    filter_->OnChange = [this](TObject*) { FilterChanged(); };
}

void TFileDialogForm::ShowFolder(const String& folder) {
    folder_ = folder;
    folderLabel_->SetCaption(folder);
    std::vector<String> dirs, names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        const String name = it->path().filename().string();
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            if (name[0] != '.') dirs.push_back(name);
        } else if (MatchesMasks(name, masks_)) {
            names.push_back(name);
        }
    }
    std::sort(dirs.begin(), dirs.end(),
              [](const String& a, const String& b) { return CompareText(a, b) < 0; });
    std::sort(names.begin(), names.end(),
              [](const String& a, const String& b) { return CompareText(a, b) < 0; });
    BatchUpdate(*folders_->Items(), [&] {
        folders_->Items()->Clear();
        if (folder != "/") folders_->Items()->Add("..");
        for (const String& d : dirs) folders_->Items()->Add(d);
    });
    BatchUpdate(*files_->Items(), [&] {
        files_->Items()->Clear();
        for (const String& n : names) files_->Items()->Add(n);
    });
}

void TFileDialogForm::FilterChanged() {
    masks_ = FilterMasks(request_.filter, filter_->ItemIndex() + 1);
    request_.filterIndex = filter_->ItemIndex() + 1;
    ShowFolder(folder_);
}

void TFileDialogForm::FolderOpened() {
    int i = folders_->ItemIndex();
    if (i < 0) return;
    const String name = folders_->Items()->Strings(i);
    ShowFolder(name == ".." ? ParentFolder(folder_) : JoinPath(folder_, name));
}

void TFileDialogForm::FileClicked() {
    int i = files_->ItemIndex();
    if (i >= 0) name_->SetTextValue(files_->Items()->Strings(i));
}

void TFileDialogForm::OkClicked() {
    const String name = Trim(name_->Text());
    if (name.empty()) return;
    if (name.find_first_of("*?") != String::npos) {
        masks_ = SplitOn(name, ';');
        ShowFolder(folder_);
        return;
    }
    const String path = IsAbsolute(name) ? name : JoinPath(folder_, name);
    if (DirectoryExists(path)) {
        name_->SetTextValue("");
        ShowFolder(ExcludeTrailingPathDelimiter(path).empty() ? String("/")
                                                              : ExcludeTrailingPathDelimiter(path));
        return;
    }
    chosen_ = path;
    SetModalResult(mrOk);
}

}  // namespace

std::vector<String> FilterDescriptions(const String& filter) {
    std::vector<String> out;
    if (filter.empty()) return out;
    std::vector<String> parts = SplitOn(filter, '|');
    for (size_t i = 0; i + 1 < parts.size(); i += 2) out.push_back(parts[i]);
    return out;
}

std::vector<String> FilterMasks(const String& filter, int index) {
    std::vector<String> parts = SplitOn(filter, '|');
    const int entries = static_cast<int>(parts.size() / 2);
    if (entries == 0) return {"*"};
    if (index < 1 || index > entries) index = 1;
    std::vector<String> masks;
    for (const String& m : SplitOn(parts[static_cast<size_t>(index) * 2 - 1], ';'))
        if (!Trim(m).empty()) masks.push_back(Trim(m));
    if (masks.empty()) masks.push_back("*");
    return masks;
}

bool MatchesMasks(const String& fileName, const std::vector<String>& masks) {
    for (const String& m : masks) {
        if (m == "*.*" || m == "*") return true;
        if (fnmatch(m.c_str(), fileName.c_str(), FNM_CASEFOLD) == 0) return true;
    }
    return false;
}

bool TStandardDialogs::ChooseFile(TFileRequest& request) {
    TFileDialogForm form(nullptr, request);
    if (form.ShowModal() != mrOk) return false;
    request.fileName = form.ChosenPath();
    return true;
}

bool TOpenDialog::Accept(const String& path) {
    if (Options.Contains(ofFileMustExist) && !FileExists(path)) {
        MessageDlg(path + "\nFile not found.\nPlease verify the correct file name was given.", mtWarning,
                   {mbOK});
        return false;
    }
    return true;
}

bool TSaveDialog::Accept(const String& path) {
    if (!FileExists(path)) return true;
    return MessageDlg(ExtractFileName(path) + " already exists.\nDo you want to replace it?", mtWarning,
                      mbYesNo) == mrYes;
}

bool TOpenDialog::Execute() {
    TFileRequest request;
    request.save = save_;
    request.title = Title;
    request.filter = Filter;
    request.filterIndex = FilterIndex;
    request.defaultExt = DefaultExt;
    request.initialDir = InitialDir;
    request.fileName = FileName;
    request.options = Options;
    for (;;) {
        if (!DialogService().ChooseFile(request)) return false;
        String path = request.fileName;
        if (path.empty()) return false;
        if (!DefaultExt.empty() && ExtractFileExt(ExtractFileName(path)).empty()) {
            path += (DefaultExt[0] == '.' ? "" : ".") + DefaultExt;
        }
        if (!Accept(path)) {
            request.fileName = path;
            continue;
        }
        FileName = path;
        FilterIndex = request.filterIndex;
        return true;
    }
}

}  // namespace tarvel
