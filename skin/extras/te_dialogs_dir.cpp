#include "skin/extras/te_dialogs_dir.h"

#include <algorithm>

#include "platform/base/Folders.h"
#include "platform/base/Paths.h"
#include "platform/system/UserFolders.h"

namespace tarvel {

namespace {

// Data of a node whose folders are listed.
void* const kLoaded = reinterpret_cast<void*>(1);

// The names of the folders in `path`, hidden ones too, sorted.
std::vector<String> SubFolderNames(const String& path) {
    std::vector<TFolderEntry> entries;
    std::vector<String> names;
    if (!ListFolder(path, entries)) return names;
    for (const TFolderEntry& e : entries)
        if (e.folder) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TTeDirectoryPanel::TTeDirectoryPanel(TComponent* owner)
    : TTeDialogPanel(owner), home_(NormalizePath(UserFolder(TUserFolder::Home))) {
    SetBounds(0, 0, 253, 261);
    auto* specLabel = new TTeLabel(this);
    specLabel->SetName("DirSpecLabel");
    specLabel->SetParent(this);
    specLabel->SetBounds(8, 10, 160, 13);
    specLabel->SetCaption(u"Please specify a directory");

    tree_ = new TTeTreeView(this);
    tree_->SetName("teDirTree");
    tree_->SetParent(this);
    tree_->SetBounds(8, 28, 236, 178);
    tree_->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
    tree_->SetIndent(19);
    tree_->SetRightClickSelect(true);
    tree_->SetShowLines(false);
    tree_->SetReadOnly(true);
    tree_->OnExpanding = [this](TObject*, TTreeNode* node, bool&) { LoadChildren(node); };
    tree_->OnClick = [this](TObject*) {
        if (tree_->Selected()) selDir_->SetText(Path());
    };

    auto* selLabel = new TTeLabel(this);
    selLabel->SetName("SelDirLabel");
    selLabel->SetParent(this);
    selLabel->SetBounds(8, 211, 120, 13);
    selLabel->SetAnchors(TAnchors{akLeft, akBottom});
    selLabel->SetCaption(u"Selected directory:");

    selDir_ = new TTeSEdit(this);
    selDir_->SetName("teSelDir");
    selDir_->SetParent(this);
    selDir_->SetBounds(8, 227, 236, 21);
    selDir_->SetAnchors(TAnchors{akLeft, akRight, akBottom});

    if (home_ != "/") homeRoot_ = AddRoot(ExtractFileName(home_), home_);
    driveRoot_ = AddRoot("/", "/");
}

TTreeNode* TTeDirectoryPanel::AddRoot(const String& caption, const String& path) {
    TTreeNode* node = tree_->Items()->Add(nullptr, caption);
    node->SetHasChildren(!SubFolderNames(path).empty());
    return node;
}

TTreeNode* TTeDirectoryPanel::AddFolder(TTreeNode* parent, const String& name) {
    TTreeNode* node = tree_->Items()->AddChild(parent, name);
    // Whether it has folders is known once it opens; until then it offers to.
    node->SetHasChildren(true);
    return node;
}

String TTeDirectoryPanel::PathOf(TTreeNode* node) const {
    if (node == homeRoot_) return home_;
    if (node == driveRoot_) return "/";
    return JoinPath(PathOf(node->Parent()), node->Text());
}

void TTeDirectoryPanel::LoadChildren(TTreeNode* node) {
    if (node->Data() == kLoaded) return;
    node->SetData(kLoaded);
    // Hidden folders stay out of the list; a typed path still reaches them.
    for (const std::string& name : SubFolderNames(PathOf(node)))
        if (name[0] != '.') AddFolder(node, name);
    node->SetHasChildren(node->Count() > 0);
}

TTreeNode* TTeDirectoryPanel::ChildNamed(TTreeNode* node, const String& name) {
    LoadChildren(node);
    for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        if (child->Text() == name) return child;
    TTreeNode* added = AddFolder(node, name);
    node->SetHasChildren(true);
    return added;
}

void TTeDirectoryPanel::SetDirectory(const String& path) {
    if (path.empty()) return;
    selDir_->SetText(path);
    if (path[0] != '/' || !DirectoryExists(path)) return;
    const String folder = NormalizePath(path);
    TTreeNode* node = driveRoot_;
    String rest = folder;
    if (homeRoot_ && (folder == home_ || folder.starts_with(home_ + "/"))) {
        node = homeRoot_;
        rest = folder.substr(home_.size());
    }
    size_t at = 0;
    while (at < rest.size()) {
        const size_t next = rest.find('/', at);
        const String name = rest.substr(at, next == String::npos ? String::npos : next - at);
        if (!name.empty()) node = ChildNamed(node, name);
        if (next == String::npos) break;
        at = next + 1;
    }
    tree_->SetSelected(node);
    node->MakeVisible();
}

}  // namespace tarvel
