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

TTeDirectoryListBox::TTeDirectoryListBox(TComponent* owner)
    : TTeExtraListBox(owner),
      open_(MakeFileGlyph(TTeFileGlyph::OpenFolder)),
      closed_(MakeFileGlyph(TTeFileGlyph::ClosedFolder)),
      current_(MakeFileGlyph(TTeFileGlyph::CurrentFolder)) {
    SetBounds(Left(), Top(), 145, Height());
    SetListStyle(lbsOwnerDrawFixed);
    SetItemHeight(RowHeight(Font(), open_->Height() + 1));
    OnDrawItem = [this](TTeListBox*, TCanvas& c, int i, TRect r, TOwnerDrawState) { DrawFolder(c, i, r); };
    directory_ = GetCurrentDir();
    BuildList();
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

// ---- the file list -------------------------------------------------------------------------------

TTeFileListBox::TTeFileListBox(TComponent* owner)
    : TTeExtraListBox(owner),
      folder_(MakeFileGlyph(TTeFileGlyph::ClosedFolder)),
      executable_(MakeFileGlyph(TTeFileGlyph::Executable)),
      file_(MakeFileGlyph(TTeFileGlyph::UnknownFile)) {
    SetBounds(Left(), Top(), 145, Height());
    SetListStyle(lbsOwnerDrawFixed);
    SetItemHeight(RowHeight(Font(), 0));
    OnDrawItem = [this](TTeListBox*, TCanvas& c, int i, TRect r, TOwnerDrawState) { DrawFile(c, i, r); };
    directory_ = GetCurrentDir();
    ReadFileNames();
}

TTeFileListBox::~TTeFileListBox() { SetFileEdit(nullptr); }

void TTeFileListBox::SetDirectory(const String& path) {
    const String folder = ResolvePath(directory_, path);
    if (folder == directory_) return;
    if (!DirectoryExists(folder)) throw ETeFolderError("Cannot show the folder " + folder + ".");
    directory_ = folder;
    ReadFileNames();
}

void TTeFileListBox::SetMask(const String& value) {
    if (value == mask_) return;
    mask_ = value;
    ReadFileNames();
}

void TTeFileListBox::SetFileType(TFileType value) {
    if (value == fileType_) return;
    fileType_ = value;
    ReadFileNames();
}

void TTeFileListBox::SetShowGlyphs(bool value) {
    showGlyphs_ = value;
    if (value) SetItemHeight(std::max(ItemHeight(), executable_->Height() + 1));
    Invalidate();
}

void TTeFileListBox::ReadFileNames() {
    // The system's attributes on Linux: a dot name is hidden, a file we may
    // not write is read-only, any plain file counts as archived.
    const TFileType t = fileType_;
    auto listed = [&](const TFolderEntry& e) {
        if (e.folder && !t.Contains(ftDirectory)) return false;
        if (e.hidden && !t.Contains(ftHidden)) return false;
        return t.Contains(ftNormal) || (e.folder && t.Contains(ftDirectory)) ||
               (e.hidden && t.Contains(ftHidden)) || (e.readOnly && t.Contains(ftReadOnly)) ||
               (!e.folder && t.Contains(ftArchive));
    };
    std::vector<TFolderEntry> entries;
    ListFolder(directory_, entries);
    if (t.Contains(ftDirectory)) {
        entries.push_back({".", true, true, false, false});
        if (directory_ != "/") entries.push_back({"..", true, true, false, false});
    }
    const std::vector<String> masks = SplitMasks(mask_);
    std::vector<std::pair<String, TKind>> shown;
    for (const TFolderEntry& e : entries) {
        const bool dots = e.name == "." || e.name == "..";
        if (!dots && (!listed(e) || !MatchesMasks(e.name, masks))) continue;
        if (e.folder)
            shown.emplace_back("[" + e.name + "]", kFolder);
        else
            shown.emplace_back(e.name, e.executable ? kExecutable : kFile);
    }
    std::sort(shown.begin(), shown.end(), [](auto& a, auto& b) { return SortsBefore(a.first, b.first); });
    kinds_.clear();
    BatchUpdate(*Items(), [&] {
        Items()->Clear();
        for (auto& [name, kind] : shown) {
            Items()->Add(name);
            kinds_.push_back(kind);
        }
    });
    Change();
}

void TTeFileListBox::DrawFile(TCanvas& c, int index, TRect r) {
    if (showGlyphs_ && index >= 0 && index < static_cast<int>(kinds_.size())) {
        TBitmap* glyph = kinds_[index] == kFolder       ? folder_.get()
                         : kinds_[index] == kExecutable ? executable_.get()
                                                        : file_.get();
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
    return name.empty() ? String() : JoinPath(directory_, name);
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
    const String path = ResolvePath(directory_, text);
    const String name = ExtractFileName(path);
    if (name.find_first_of("*?") != String::npos) {
        SetDirectory(ExtractFileDir(path).empty() ? String("/") : ExtractFileDir(path));
        SetMask(name);
        return;
    }
    if (DirectoryExists(path)) {
        SetDirectory(path);
        return;
    }
    if (!FileExists(path)) throw ETeDirectoryFileNotExistsException("Invalid filename");
    SetDirectory(ExtractFileDir(path).empty() ? String("/") : ExtractFileDir(path));
    bool listed = false;
    for (int i = 0; i < Count() && !listed; ++i) listed = Items()->Strings(i) == name;
    if (!listed) SetMask(name);
    SelectName(name);
}

void TTeFileListBox::Click() {
    TTeExtraListBox::Click();
    if (ItemIndex() != lastIndex_) Change();
}

void TTeFileListBox::Change() {
    lastIndex_ = ItemIndex();
    if (fileEdit_) {
        const String name = SelectedName();
        fileEdit_->SetText(name.empty() ? mask_ : name);
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
