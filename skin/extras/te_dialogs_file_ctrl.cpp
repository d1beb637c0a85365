#include "skin/extras/te_dialogs_file_ctrl.h"

#include <algorithm>

#include "platform/base/Folders.h"
#include "platform/base/Paths.h"
#include "skin/core/te_utils_draw.h"
#include "skin/core/te_winapi.h"
#include "skin/extras/te_dialogs_file_glyphs.h"

namespace tarvel {

namespace {

constexpr unsigned kItemText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

void DrawGlyph(TCanvas& canvas, TBitmap* glyph, int x, const TRect& rect) {
    glyph->SetTransparent(true);
    canvas.Draw(x, rect.top + (rect.Height() - glyph->Height()) / 2, glyph);
}

// Item height: the font's or the glyph's, whichever is larger.
int RowHeight(TFont* font, int glyphHeight) {
    return std::max(MeasureText(font, "Wg", 0, false).cy, glyphHeight);
}

bool SortsBefore(const String& a, const String& b) {
    const int byText = CompareText(a, b);
    return byText != 0 ? byText < 0 : a < b;
}

template <class T>
void Relink(TComponent* self, T*& field, T* value) {
    if (field == value) return;
    if (field) field->RemoveFreeNotification(self);
    field = value;
    if (field) field->FreeNotification(self);
}

}  // namespace

// ---- the path label ----------------------------------------------------------------------------

TTePathLabel::TTePathLabel(TComponent* owner) : TLabel(owner) {
    SetWordWrap(false);
    SetAutoSize(false);
    SetShowAccelChar(false);
    SetTransparent(true);
}

String TTePathLabel::ShownText() { return MinimizeName(Caption(), *Canvas(), ClientWidth()); }

void TTePathLabel::Paint() {
    TCanvas& c = *Canvas();
    c.Font()->Assign(Font());
    if (!Transparent()) FillRect(c, ClientRect(), Color());
    const unsigned align = Alignment() == taRightJustify ? unsigned(DT_RIGHT)
                           : Alignment() == taCenter     ? unsigned(DT_CENTER)
                                                         : 0u;
    TRect r = ClientRect();
    DrawText(c, Utf8ToWide(ShownText()), r, align | DT_NOPREFIX | DT_SINGLELINE);
}

// ---- the drive box -----------------------------------------------------------------------------

TTeDriveComboBox::TTeDriveComboBox(TComponent* owner)
    : TTeExtraComboBox(owner), glyph_(MakeFileGlyph(TTeFileGlyph::FixedDrive)) {
    SetComboStyle(kcsDropDownList);
    SetItemHeight(RowHeight(Font(), glyph_->Height()));
    SetListStyle(lbsOwnerDrawFixed);
    ListBox()->OnDrawItem = [this](TTeListBox*, TCanvas& c, int i, TRect r, TOwnerDrawState) {
        DrawGlyph(c, glyph_.get(), r.left, r);
        r.left += glyph_->Width() + 6;
        DrawText(c, Utf8ToWide(Items()->Strings(i)), r, kItemText);
    };
    BuildList();
}

TTeDriveComboBox::~TTeDriveComboBox() { SetDirList(nullptr); }

void TTeDriveComboBox::BuildList() {
    Items()->Clear();
    Items()->Add(Drive());
    SetItemIndex(0);
}

void TTeDriveComboBox::SetDirList(TTeDirectoryListBox* value) {
    Relink<TTeDirectoryListBox>(this, dirList_, value);
}

void TTeDriveComboBox::Notification(TComponent* component, TOperation operation) {
    TTeExtraComboBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == dirList_) dirList_ = nullptr;
}

// ---- the directory list --------------------------------------------------------------------------

TTeDirectoryListBox::TTeDirectoryListBox(TComponent* owner) : TTeExtraListBox(owner) {
    TTeDirectoryListBox::ReadBitmaps();
    SetBounds(Left(), Top(), 145, Height());
    SetListStyle(lbsOwnerDrawFixed);
    SetItemHeight(RowHeight(Font(), open_->Height() + 1));
    OnDrawItem = [this](TTeListBox*, TCanvas& c, int i, TRect r, TOwnerDrawState) { DrawFolder(c, i, r); };
    directory_ = GetCurrentDir();
    BuildList();
}

void TTeDirectoryListBox::ReadBitmaps() {
    open_ = MakeFileGlyph(TTeFileGlyph::OpenFolder);
    closed_ = MakeFileGlyph(TTeFileGlyph::ClosedFolder);
    current_ = MakeFileGlyph(TTeFileGlyph::CurrentFolder);
}

TTeDirectoryListBox::~TTeDirectoryListBox() {
    SetDirLabel(nullptr);
    SetFileList(nullptr);
}

bool TTeDirectoryListBox::SetDirectory(const String& path) {
    if (path.empty()) return false;
    const String folder = ResolvePath(directory_, path);
    if (folder == directory_) return true;
    if (!DirectoryExists(folder)) return false;
    directory_ = folder;
    BuildList();
    Change();
    return true;
}

void TTeDirectoryListBox::BuildList() {
    levels_ = {"/"};
    for (size_t slash = directory_.find('/', 1); directory_ != "/"; slash = directory_.find('/', slash + 1)) {
        levels_.push_back(directory_.substr(0, slash));
        if (slash == String::npos) break;
    }
    pathItems_ = static_cast<int>(levels_.size());
    std::vector<TFolderEntry> entries;
    ListFolder(directory_, entries);
    std::vector<String> subFolders;
    for (const TFolderEntry& e : entries)
        if (e.folder && !e.hidden) subFolders.push_back(e.name);
    std::sort(subFolders.begin(), subFolders.end(), SortsBefore);
    BatchUpdate(*Items(), [&] {
        Items()->Clear();
        for (const String& level : levels_) Items()->Add(level == "/" ? level : ExtractFileName(level));
        for (const String& name : subFolders) Items()->Add(name);
    });
    SetItemIndex(pathItems_ - 1);
    SetTopIndex(0);
}

String TTeDirectoryListBox::ItemPath(int index) const {
    if (index < 0 || index >= Count()) return String();
    if (index < pathItems_) return levels_[index];
    return JoinPath(directory_, Items()->Strings(index));
}

int TTeDirectoryListBox::ItemIndent(int index) const {
    return index < pathItems_ ? 4 * index + 2 : pathItems_ * 4 + 2;
}

void TTeDirectoryListBox::DrawFolder(TCanvas& c, int index, TRect r) {
    TBitmap* glyph = index == pathItems_ - 1 ? current_.get()
                     : index < pathItems_    ? open_.get()
                                             : closed_.get();
    // The row already starts 2 pixels in.
    const int x = r.left - 2 + ItemIndent(index);
    DrawGlyph(c, glyph, x, r);
    r.left = x + glyph->Width() + 4;
    DrawText(c, Utf8ToWide(Items()->Strings(index)), r, kItemText);
}

void TTeDirectoryListBox::OpenCurrent() { SetDirectory(ItemPath(ItemIndex())); }

void TTeDirectoryListBox::DblClick() {
    TTeExtraListBox::DblClick();
    OpenCurrent();
}

void TTeDirectoryListBox::KeyDown(WORD& key, TShiftState shift) {
    if (key == VK_RETURN) {
        OpenCurrent();
        key = 0;
        return;
    }
    TTeExtraListBox::KeyDown(key, shift);
}

void TTeDirectoryListBox::Change() {
    if (fileList_) fileList_->SetDirectory(directory_);
    if (dirLabel_) dirLabel_->SetCaption(directory_);
    if (OnChange) OnChange(this);
}

void TTeDirectoryListBox::SetDirLabel(TTePathLabel* value) {
    Relink<TTePathLabel>(this, dirLabel_, value);
    if (dirLabel_) dirLabel_->SetCaption(directory_);
}

void TTeDirectoryListBox::SetFileList(TTeFileListBox* value) {
    Relink<TTeFileListBox>(this, fileList_, value);
    if (fileList_) fileList_->SetDirectory(directory_);
}

void TTeDirectoryListBox::Notification(TComponent* component, TOperation operation) {
    TTeExtraListBox::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == dirLabel_) dirLabel_ = nullptr;
    if (component == fileList_) fileList_ = nullptr;
}

// ---- the folder list ----------------------------------------------------------------------------

namespace {

// The glyph centred low in a 16 x 16 picture, its transparent colour around it.
std::unique_ptr<TBitmap> SquareGlyph(TTeFileGlyph glyph) {
    std::unique_ptr<TBitmap> source = MakeFileGlyph(glyph);
    auto square = std::make_unique<TBitmap>(16, 16);
    const uint32_t key = source->ScanLine(source->Height() - 1)[0];
    for (int y = 0; y < 16; ++y) {
        uint32_t* row = square->ScanLine(y);
        const int from = y - (16 - source->Height());
        for (int x = 0; x < 16; ++x)
            row[x] = from >= 0 && x < source->Width() ? source->ScanLine(from)[x] : key;
    }
    square->SetTransparentMode(tmAuto);
    return square;
}

}  // namespace

TTeFolderListbox::TTeFolderListbox(TComponent* owner) : TTeDirectoryListBox(owner) {
    TTeFolderListbox::ReadBitmaps();
    SetItemHeight(RowHeight(Font(), open_->Height() + 1));
    Invalidate();
}

void TTeFolderListbox::ReadBitmaps() {
    open_ = SquareGlyph(TTeFileGlyph::OpenFolder);
    current_ = SquareGlyph(TTeFileGlyph::OpenFolder);
    closed_ = SquareGlyph(TTeFileGlyph::ClosedFolder);
}

// ---- listing files -------------------------------------------------------------------------------

std::vector<TTeListedFile> ListFiles(const String& folder, const String& mask, TFileType t) {
    // The system's attributes on Linux: a dot name is hidden, a file we may
    // not write is read-only, any plain file counts as archived.
    auto listed = [&](const TFolderEntry& e) {
        if (e.folder && !t.Contains(ftDirectory)) return false;
        if (e.hidden && !t.Contains(ftHidden)) return false;
        return t.Contains(ftNormal) || (e.folder && t.Contains(ftDirectory)) ||
               (e.hidden && t.Contains(ftHidden)) || (e.readOnly && t.Contains(ftReadOnly)) ||
               (!e.folder && t.Contains(ftArchive));
    };
    std::vector<TFolderEntry> entries;
    ListFolder(folder, entries);
    if (t.Contains(ftDirectory)) {
        TFolderEntry dot;
        dot.folder = dot.hidden = true;
        dot.name = ".";
        entries.push_back(dot);
        dot.name = "..";
        if (folder != "/") entries.push_back(dot);
    }
    const std::vector<String> masks = SplitMasks(mask);
    std::vector<TTeListedFile> shown;
    for (const TFolderEntry& e : entries) {
        const bool dots = e.name == "." || e.name == "..";
        if (!dots && (!listed(e) || !MatchesMasks(e.name, masks))) continue;
        if (e.folder)
            shown.push_back({"[" + e.name + "]", TTeListedKind::Folder});
        else
            shown.push_back({e.name, e.executable ? TTeListedKind::Executable : TTeListedKind::File});
    }
    std::sort(shown.begin(), shown.end(), [](auto& a, auto& b) { return SortsBefore(a.text, b.text); });
    return shown;
}

TTeFilePath SplitFilePath(const String& directory, const String& text) {
    const String path = ResolvePath(directory, text);
    const String name = ExtractFileName(path);
    const String folder = ExtractFileDir(path).empty() ? String("/") : ExtractFileDir(path);
    if (name.find_first_of("*?") != String::npos) return {folder, name, String()};
    if (DirectoryExists(path)) return {path, String(), String()};
    if (!FileExists(path)) throw ETeDirectoryFileNotExistsException("Invalid filename");
    return {folder, String(), name};
}

TTeFileListing::TTeFileListing()
    : directory(GetCurrentDir()),
      folder_(MakeFileGlyph(TTeFileGlyph::ClosedFolder)),
      executable_(MakeFileGlyph(TTeFileGlyph::Executable)),
      file_(MakeFileGlyph(TTeFileGlyph::UnknownFile)) {}

TTeFileListing::~TTeFileListing() = default;

String TTeFileListing::FolderOf(const String& path) const {
    const String folder = ResolvePath(directory, path);
    if (folder != directory && !DirectoryExists(folder))
        throw ETeFolderError("Cannot show the folder " + folder + ".");
    return folder;
}

void TTeFileListing::Read(TStrings& items) {
    const std::vector<TTeListedFile> shown = ListFiles(directory, mask, fileType);
    kinds_.clear();
    BatchUpdate(items, [&] {
        items.Clear();
        for (const TTeListedFile& f : shown) {
            items.Add(f.text);
            kinds_.push_back(f.kind);
        }
    });
}

TBitmap* TTeFileListing::Glyph(int index) const {
    if (index < 0 || index >= static_cast<int>(kinds_.size())) return nullptr;
    return kinds_[index] == TTeListedKind::Folder       ? folder_.get()
           : kinds_[index] == TTeListedKind::Executable ? executable_.get()
                                                        : file_.get();
}

namespace {

// Shows in a file list or file combo what a typed path asks: its folder,
// then its mask, or its file selected (the mask turning to the file's name
// when it hides it).
template <class Box>
void ShowFilePath(Box& box, const TTeFilePath& path) {
    box.SetDirectory(path.folder);
    if (!path.mask.empty()) box.SetMask(path.mask);
    if (path.file.empty()) return;
    bool listed = false;
    for (int i = 0; i < box.Count() && !listed; ++i) listed = box.Items()->Strings(i) == path.file;
    if (!listed) box.SetMask(path.file);
}

}  // namespace

// ---- the file list -------------------------------------------------------------------------------

TTeFileListBox::TTeFileListBox(TComponent* owner) : TTeExtraListBox(owner) {
    SetBounds(Left(), Top(), 145, Height());
    SetListStyle(lbsOwnerDrawFixed);
    SetItemHeight(RowHeight(Font(), 0));
    OnDrawItem = [this](TTeListBox*, TCanvas& c, int i, TRect r, TOwnerDrawState) { DrawFile(c, i, r); };
    ReadFileNames();
}

TTeFileListBox::~TTeFileListBox() { SetFileEdit(nullptr); }

void TTeFileListBox::SetDirectory(const String& path) {
    const String folder = listing_.FolderOf(path);
    if (folder == listing_.directory) return;
    listing_.directory = folder;
    ReadFileNames();
}

void TTeFileListBox::SetMask(const String& value) {
    if (value == listing_.mask) return;
    listing_.mask = value;
    ReadFileNames();
}

void TTeFileListBox::SetFileType(TFileType value) {
    if (value == listing_.fileType) return;
    listing_.fileType = value;
    ReadFileNames();
}

void TTeFileListBox::SetShowGlyphs(bool value) {
    showGlyphs_ = value;
    if (value) SetItemHeight(std::max(ItemHeight(), listing_.ExecutableGlyph()->Height() + 1));
    Invalidate();
}

void TTeFileListBox::ReadFileNames() {
    listing_.Read(*Items());
    Change();
}

void TTeFileListBox::DrawFile(TCanvas& c, int index, TRect r) {
    if (TBitmap* glyph = showGlyphs_ ? listing_.Glyph(index) : nullptr) {
        DrawGlyph(c, glyph, r.left, r);
        r.left += glyph->Width() + 6;
    }
    DrawText(c, Utf8ToWide(Items()->Strings(index)), r, kItemText);
}

String TTeFileListBox::SelectedName() const {
    const int index = ItemIndex();
    return index >= 0 && index < Count() ? Items()->Strings(index) : String();
}

String TTeFileListBox::FileName() const {
    const String name = SelectedName();
    return name.empty() ? String() : JoinPath(listing_.directory, name);
}

void TTeFileListBox::SelectName(const String& name) {
    if (SameText(name, SelectedName()) && !name.empty()) return;
    int found = -1;
    for (int i = 0; i < Count() && found < 0; ++i)
        if (SameText(Items()->Strings(i), name)) found = i;
    SetItemIndex(found);
    Change();
}

void TTeFileListBox::SetFileName(const String& text) {
    if (text.empty() || text == FileName()) return;
    const TTeFilePath path = SplitFilePath(listing_.directory, text);
    ShowFilePath(*this, path);
    if (!path.file.empty()) SelectName(path.file);
}

void TTeFileListBox::Click() {
    TTeExtraListBox::Click();
    if (ItemIndex() != lastIndex_) Change();
}

void TTeFileListBox::Change() {
    lastIndex_ = ItemIndex();
    if (fileEdit_) {
        const String name = SelectedName();
        fileEdit_->SetText(name.empty() ? listing_.mask : name);
        fileEdit_->SelectAll();
    }
    if (OnChange) OnChange(this);
}

void TTeFileListBox::SetFileEdit(TTeEdit* value) {
    Relink<TTeEdit>(this, fileEdit_, value);
    if (fileEdit_) Change();
}

void TTeFileListBox::Notification(TComponent* component, TOperation operation) {
    TTeExtraListBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == fileEdit_) fileEdit_ = nullptr;
}

// ---- the file combo ------------------------------------------------------------------------------

TTeFileCombo::TTeFileCombo(TComponent* owner) : TTeExtraComboBox(owner) {
    SetBounds(Left(), Top(), 145, Height());
    SetComboStyle(kcsDropDownList);
    SetListStyle(lbsOwnerDrawFixed);
    SetItemHeight(RowHeight(Font(), listing_.ExecutableGlyph()->Height() + 1));
    ListBox()->OnDrawItem = [this](TTeListBox*, TCanvas& c, int i, TRect r, TOwnerDrawState) {
        DrawFile(c, i, r);
    };
    ReadFileNames();
}

TTeFileCombo::~TTeFileCombo() { SetFileEdit(nullptr); }

void TTeFileCombo::SetDirectory(const String& path) {
    const String folder = listing_.FolderOf(path);
    if (folder == listing_.directory) return;
    listing_.directory = folder;
    ReadFileNames();
}

void TTeFileCombo::SetMask(const String& value) {
    if (value == listing_.mask) return;
    listing_.mask = value;
    ReadFileNames();
}

void TTeFileCombo::SetFileType(TFileType value) {
    if (value == listing_.fileType) return;
    listing_.fileType = value;
    ReadFileNames();
}

void TTeFileCombo::ReadFileNames() {
    listing_.Read(*Items());
    Change();
    if (ItemIndex() < 0 && Count() > 0) {
        SetItemIndex(0);
        Change();
    }
}

void TTeFileCombo::DrawFile(TCanvas& c, int index, TRect r) {
    TBitmap* glyph = listing_.Glyph(index);
    if (!glyph) return;
    glyph->SetTransparent(true);
    c.Draw(r.left, r.top, glyph);
    r.left += 18;
    DrawText(c, Utf8ToWide(Items()->Strings(index)), r, kItemText);
}

String TTeFileCombo::FileName() const {
    const int index = ItemIndex();
    return index >= 0 && index < Count() ? Items()->Strings(index) : String();
}

void TTeFileCombo::SetFileName(const String& name) {
    if (!name.empty() && SameText(name, FileName())) return;
    int found = -1;
    for (int i = 0; i < Count() && found < 0; ++i)
        if (SameText(Items()->Strings(i), name)) found = i;
    SetItemIndex(found);
    Change();
}

String TTeFileCombo::GetFilePath() const {
    const String name = FileName();
    return name.empty() ? String() : JoinPath(listing_.directory, name);
}

void TTeFileCombo::SetFilePath(const String& text) {
    if (text.empty() || text == GetFilePath()) return;
    const TTeFilePath path = SplitFilePath(listing_.directory, text);
    ShowFilePath(*this, path);
    if (!path.file.empty()) SetFileName(path.file);
}

void TTeFileCombo::Change() {
    lastIndex_ = ItemIndex();
    if (fileEdit_) {
        const String name = FileName();
        fileEdit_->SetText(name.empty() ? listing_.mask : name);
        fileEdit_->SelectAll();
    }
    TTeExtraComboBox::Change();
}

void TTeFileCombo::SetFileEdit(TTeEdit* value) {
    Relink<TTeEdit>(this, fileEdit_, value);
    if (fileEdit_) Change();
}

void TTeFileCombo::Notification(TComponent* component, TOperation operation) {
    TTeExtraComboBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == fileEdit_) fileEdit_ = nullptr;
}

// ---- the filter box ------------------------------------------------------------------------------

TTeFilterComboBox::TTeFilterComboBox(TComponent* owner) : TTeExtraComboBox(owner) {
    SetComboStyle(kcsDropDownList);
    BuildList();
}

void TTeFilterComboBox::BuildList() {
    types_ = ParseFilter(filter_);
    BatchUpdate(*Items(), [&] {
        Items()->Clear();
        for (const TTeFileType& type : types_) Items()->Add(type.description);
    });
    SetItemIndex(types_.empty() ? -1 : 0);
}

void TTeFilterComboBox::SetFilter(const String& value) {
    if (value == filter_) return;
    filter_ = value;
    BuildList();
    Change();
}

String TTeFilterComboBox::Mask() {
    if (types_.empty()) return "*.*";
    if (ItemIndex() < 0) SetItemIndex(static_cast<int>(types_.size()) - 1);
    return types_[ItemIndex()].maskText;
}

void TTeFilterComboBox::Change() {
    if (fileList_) fileList_->SetMask(Mask());
    TTeExtraComboBox::Change();
}

void TTeFilterComboBox::SetFileList(TTeFileListBox* value) {
    Relink<TTeFileListBox>(this, fileList_, value);
    if (fileList_) fileList_->SetMask(Mask());
}

void TTeFilterComboBox::Notification(TComponent* component, TOperation operation) {
    TTeExtraComboBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == fileList_) fileList_ = nullptr;
}

}  // namespace tarvel
