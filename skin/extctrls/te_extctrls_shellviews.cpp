#include "skin/extctrls/te_extctrls_shellviews.h"

#include <algorithm>

#include "platform/base/Strings.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/DialogService.h"
#include "platform/system/MountedFileSystems.h"

namespace tarvel {

namespace {

// My Computer's entries: one for each mounted file system we may look into.
std::vector<TTeShellFolder*> MountFolders(TTeShellFolder* computer) {
    std::vector<TTeShellFolder*> out;
    for (const TMountedFileSystem& fs : MountedUserFileSystems(ShellMountTable)) {
        TIdList id;
        TShellItemInfo info;
        if (!ParseShellPath(fs.mountPoint, id) || !ShellItemInfo(id, info) || !info.folder) continue;
        out.push_back(new TTeShellFolder(computer, id, fs.mountPoint));
    }
    return out;
}

// Whether the node lies in My Computer's branch, where folders listed
// elsewhere show a second time.
bool InComputerBranch(const TTreeNode* node) {
    for (const TTreeNode* n = node; n; n = n->Parent())
        if (n->Data() && static_cast<const TTeShellFolder*>(n->Data())->IsAlias()) return true;
    return false;
}

// Runs `action` with `flag` set, clearing it however the action ends.
template <class F>
void Updating(bool& flag, F&& action) {
    flag = true;
    try {
        action();
    } catch (...) {
        flag = false;
        throw;
    }
    flag = false;
}

// The entries of `folder` the types let through, in folder order.
std::vector<std::string> SortedEntries(const TIdList& folder, TTeShellObjectTypes types) {
    std::vector<std::string> names;
    EnumShellItems(folder, ObjectTypesToEnumFlags(types), names);
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return CompareShellItems(folder, a, b) < 0;
    });
    return names;
}

bool ShowingErrors(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const Exception& e) {
        Application->ShowException(e);
        return false;
    }
}

// Links `self` to `value` both ways (the old link let go) and gives the new
// control this one's root.
template <class Self, class Other>
void LinkTo(Self* self, Other*& link, Other* value, Self* TTeShellLinks::*back) {
    if (link == value) return;
    if (link) link->*back = nullptr;
    link = value;
    if (!value) return;
    value->FreeNotification(self);
    value->*back = self;
    ShowingErrors([&] { value->SetRoot(self->Root()); });
}

// A context-menu point: the screen point of the message, or (keyboard) the
// given client point.
TPoint MenuPoint(TWinControl* control, const TMessage& m, TPoint keyboardAt) {
    const TPoint screen = PointFromLParam(m.LParam);
    if (screen.x == -1 && screen.y == -1) return keyboardAt;
    return control->ScreenToClient(screen);
}

}  // namespace

// ---- what the views share -----------------------------------------------------------------

bool TTeShellLinks::TakeRoot(const TTeRoot& value) {
    if (SameText(value, rootText_)) return false;
    prevRoot_ = rootText_;
    rootText_ = value;
    return true;
}

void TTeShellLinks::TakeObjectTypes(TTeShellObjectTypes value) {
    objectTypes_ = value;
    prevRoot_ = rootText_;
}

void TTeShellLinks::PassRootOn() const {
    if (treeView_) treeView_->SetRoot(rootText_);
    if (comboBox_) comboBox_->SetRoot(rootText_);
    if (listView_) listView_->SetRoot(rootText_);
}

void TTeShellLinks::ForgetLink(TComponent* component, TOperation operation) {
    if (operation != TOperation::opRemove) return;
    if (component == treeView_) treeView_ = nullptr;
    if (component == comboBox_) comboBox_ = nullptr;
    if (component == listView_) listView_ = nullptr;
}

// ---- tree -------------------------------------------------------------------------------------

TTeCustomShellTreeView::TTeCustomShellTreeView(TComponent* owner)
    : TTeTreeView(owner), TTeShellLinks(TTeShellObjectTypes{otFolders}) {
    SetShowRoot(false);
    SetRightClickSelect(true);
    SetImages(ShellSmallImages());
}

TTeCustomShellTreeView::~TTeCustomShellTreeView() {
    notifier_.reset();
    ClearNodes();
    delete rootItem_;
    if (comboBox_ && comboBox_->treeView_ == this) comboBox_->treeView_ = nullptr;
    if (listView_ && listView_->treeView_ == this) listView_->treeView_ = nullptr;
}

void TTeCustomShellTreeView::ClearNodes() {
    TTreeNodes* nodes = Items();
    nodes->BeginUpdate();
    nodes->Clear();
    nodes->EndUpdate();
}

TTeShellFolder* TTeCustomShellTreeView::FolderOf(const TTreeNode* node) {
    return node ? static_cast<TTeShellFolder*>(node->Data()) : nullptr;
}

void TTeCustomShellTreeView::Delete(TTreeNode* node) {
    TTeTreeView::Delete(node);
    delete FolderOf(node);
    node->SetData(nullptr);
}

void TTeCustomShellTreeView::Loaded() {
    TTeTreeView::Loaded();
    CreateRoot();
    SetAutoRefresh(autoRefresh_);
}

void TTeCustomShellTreeView::CreateHandleDone() {
    TTeTreeView::CreateHandleDone();
    if (!creatingRoot_ && Items()->Count() == 0) ShowingErrors([this] { CreateRoot(); });
}

void TTeCustomShellTreeView::CreateRoot() {
    if (ComponentState().Contains(csLoading)) return;
    String failure;
    try {
        rootItem_ = CreateRootFolder(rootItem_, prevRoot_, rootText_);
    } catch (const Exception& e) {
        failure = e.Message();
    }
    if (rootItem_) {
        Updating(creatingRoot_, [this] {
            ClearNodes();
            auto* top = new TTeShellFolder(nullptr, rootItem_->AbsoluteIdList());
            TTreeNode* node = Items()->AddChild(nullptr, top->DisplayName());
            node->SetData(top);
            node->SetImageIndex(top->ImageIndex(false));
            node->SetSelectedIndex(top->ImageIndex(true));
            node->SetHasChildren(top->SubFolders(objectTypes_));
            bool wasUpdating = updating_;
            updating_ = true;
            node->Expand(false);
            SetSelected(node);
            updating_ = wasUpdating;
        });
    }
    if (!failure.empty()) throw EInvalidPath(failure);
}

void TTeCustomShellTreeView::SetRoot(const TTeRoot& value) {
    if (TakeRoot(value)) RootChanged();
}

void TTeCustomShellTreeView::SetObjectTypes(TTeShellObjectTypes value) {
    TakeObjectTypes(value);
    RootChanged();
}

void TTeCustomShellTreeView::RootChanged() {
    if (updating_) return;
    Updating(updating_, [this] {
        CreateRoot();
        PassRootOn();
    });
}

void TTeCustomShellTreeView::SetUseShellImages(bool value) {
    useShellImages_ = value;
    SetImages(value ? ShellSmallImages() : nullptr);
}

void TTeCustomShellTreeView::PopulateNode(TTreeNode* node) {
    TTeShellFolder* folder = FolderOf(node);
    if (!folder) return;
    Items()->BeginUpdate();
    const bool computer = folder->IsAlias() && node->Level() == 1;
    if (computer) {
        for (TTeShellFolder* fs : MountFolders(folder)) SetUpNode(Items()->AddChild(node, ""), fs);
    } else {
        if (node->Level() == 0 && rootText_ == "rfDesktop")
            SetUpNode(Items()->AddChild(node, ""), new TTeShellFolder(folder, TIdList{}, kMyComputerCaption));
        for (const std::string& name : SortedEntries(folder->AbsoluteIdList(), objectTypes_)) {
            TTreeNode* child = Items()->AddChild(node, name);
            InitNode(child, {name}, node);
        }
    }
    Items()->EndUpdate();
}

void TTeCustomShellTreeView::InitNode(TTreeNode* node, const TIdList& relative, TTreeNode* parent) {
    SetUpNode(node, new TTeShellFolder(FolderOf(parent), relative));
}

void TTeCustomShellTreeView::SetUpNode(TTreeNode* node, TTeShellFolder* folder) {
    node->SetData(folder);
    node->SetText(folder->DisplayName());
    if (useShellImages_) {
        node->SetImageIndex(folder->ImageIndex(false));
        node->SetSelectedIndex(folder->ImageIndex(true));
    }
    const bool isFolder = folder->IsFolder();
    if (objectTypes_.Contains(otNonFolders) && isFolder)
        node->SetHasChildren(
            FolderHasObjects(folder->AbsoluteIdList(), ObjectTypesToEnumFlags(objectTypes_)));
    else
        node->SetHasChildren(isFolder && folder->SubFolders(objectTypes_));
    bool canAdd = true;
    if (OnAddFolder) OnAddFolder(this, folder, canAdd);
    if (!canAdd) node->Delete();
}

bool TTeCustomShellTreeView::CanExpand(TTreeNode* node) {
    if (!TTeTreeView::CanExpand(node)) return false;
    // Expanding shows what a folder holds; it never opens anything.
    TTeShellFolder* folder = FolderOf(node);
    if (folder && folder->IsFolder() && node->Count() == 0) PopulateNode(node);
    node->SetHasChildren(node->Count() > 0);
    return true;
}

bool TTeCustomShellTreeView::CanChange(TTreeNode* node) {
    if (!TTeTreeView::CanChange(node)) return false;
    if (updating_ || !node) return true;
    TTeShellFolder* folder = FolderOf(node);
    if (folder && !folder->IsFolder() && node->Parent()) folder = FolderOf(node->Parent());
    if (!folder) return true;
    const TIdList id = folder->AbsoluteIdList();
    Updating(updating_, [&] {
        if (comboBox_) comboBox_->TreeUpdate(id);
        if (listView_) listView_->TreeUpdate(id);
    });
    if (autoRefresh_) Watch(folder->PathName());
    return true;
}

bool TTeCustomShellTreeView::Edit(TTreeNode* node, String& text) {
    if (!TTeTreeView::Edit(node, text)) return false;
    TTeShellFolder* folder = FolderOf(node);
    return folder && ShowingErrors([&] {
               if (!folder->Rename(text)) throw Exception(Format("Rename to %s failed", text.c_str()));
           });
}

TTeShellFolder* TTeCustomShellTreeView::SelectedFolder() const { return FolderOf(Selected()); }

TTeShellFolder* TTeCustomShellTreeView::GetFolder(int index) const {
    return FolderOf(const_cast<TTeCustomShellTreeView*>(this)->Items()->Item(index));
}

String TTeCustomShellTreeView::Path() const {
    TTeShellFolder* folder = SelectedFolder();
    return folder ? folder->PathName() : String();
}

void TTeCustomShellTreeView::SetPath(const String& path) {
    TIdList id;
    if (!ParseShellPath(path, id)) throw EInvalidPath("Error setting path");
    SetPathFromID(id);
}

TTreeNode* TTeCustomShellTreeView::NodeFromRelativeID(TTreeNode* parent, const TIdList& id) const {
    if (!parent) return nullptr;
    for (TTreeNode* child = parent->GetFirstChild(); child; child = child->GetNextSibling())
        if (FolderOf(child) && FolderOf(child)->RelativeIdList() == id) return child;
    return nullptr;
}

// A folder is found where it is, not where My Computer shows it again,
// unless the search starts there.
TTreeNode* TTeCustomShellTreeView::NodeFromAbsoluteID(TTreeNode* start, const TIdList& id) const {
    const bool inComputer = InComputerBranch(start);
    for (TTreeNode* node = start; node; node = node->GetNext())
        if (FolderOf(node) && FolderOf(node)->AbsoluteIdList() == id &&
            (inComputer || !InComputerBranch(node)))
            return node;
    return nullptr;
}

TTreeNode* TTeCustomShellTreeView::FolderExists(const TIdList& id, TTreeNode* start) const {
    if (!start) return nullptr;
    const int level = start->Level();
    const bool inComputer = InComputerBranch(start);
    for (TTreeNode* node = start; node && (node == start || node->Level() > level); node = node->GetNext())
        if (FolderOf(node) && FolderOf(node)->AbsoluteIdList() == id &&
            (inComputer || !InComputerBranch(node)))
            return node;
    return nullptr;
}

void TTeCustomShellTreeView::SetPathFromID(const TIdList& id) {
    if (updating_ || ComponentState().Contains(csLoading)) return;
    if (SelectedFolder() && SelectedFolder()->AbsoluteIdList() == id) return;
    TTreeNode* found = nullptr;
    Updating(updating_, [&] {
        TTreeNode* subtree = Items()->GetFirstNode();
        for (const TIdList& ancestor : AncestorIdLists(id)) {
            TTreeNode* node = FolderExists(ancestor, subtree);
            if (!node) continue;  // above the root
            node->Expand(false);
            subtree = node;
        }
        found = FolderExists(id, subtree);
        SetSelected(found);
        if (found) {
            if (listView_) listView_->TreeUpdate(id);
            if (comboBox_) comboBox_->TreeUpdate(id);
        }
    });
    if (found && autoRefresh_) Watch(FolderOf(found)->PathName());
}

void TTeCustomShellTreeView::Refresh(TTreeNode* node) {
    if (!node || !FolderOf(node) || !FolderOf(node)->IsFolder()) return;
    std::vector<TIdList> expanded;
    const int level = node->Level();
    for (TTreeNode* n = node; n && (n == node || n->Level() > level); n = n->GetNext())
        if (n->Expanded() && FolderOf(n)) expanded.push_back(FolderOf(n)->AbsoluteIdList());
    const TIdList selected = SelectedFolder() ? SelectedFolder()->AbsoluteIdList() : TIdList{};
    const bool hadSelection = SelectedFolder() != nullptr;
    const TIdList top = FolderOf(TopItem()) ? FolderOf(TopItem())->AbsoluteIdList() : TIdList{};
    Updating(updating_, [&] {
        Items()->BeginUpdate();
        node->DeleteChildren();
        PopulateNode(node);
        node->SetHasChildren(node->Count() > 0);
        for (const TIdList& id : expanded)
            if (TTreeNode* again = FolderExists(id, node)) again->Expand(false);
        Items()->EndUpdate();
        if (hadSelection) SetSelected(FolderExists(selected, Items()->GetFirstNode()));
        if (TTreeNode* t = FolderExists(top, Items()->GetFirstNode())) SetTopItem(t);
    });
}

void TTeCustomShellTreeView::Watch(const String& path) {
    notifier_.reset();
    if (!autoRefresh_) return;
    notifier_ = std::make_unique<TTeShellChangeNotifier>(nullptr);
    notifier_->SetWatchSubTree(false);
    notifier_->SetRoot(path);
    notifier_->SetOnChange([this] { Refresh(Selected()); });
}

void TTeCustomShellTreeView::SetAutoRefresh(bool value) {
    autoRefresh_ = value;
    if (ComponentState().Contains(csLoading)) return;
    TTeShellFolder* watched = SelectedFolder() ? SelectedFolder() : rootItem_;
    if (value && watched)
        Watch(watched->PathName());
    else
        notifier_.reset();
}

void TTeCustomShellTreeView::SetShellComboBox(TTeCustomShellComboBox* value) {
    LinkTo(this, comboBox_, value, &TTeCustomShellComboBox::treeView_);
}

void TTeCustomShellTreeView::SetShellListView(TTeCustomShellListView* value) {
    LinkTo(this, listView_, value, &TTeCustomShellListView::treeView_);
}

void TTeCustomShellTreeView::Notification(TComponent* component, TOperation operation) {
    TTeTreeView::Notification(component, operation);
    ForgetLink(component, operation);
}

void TTeCustomShellTreeView::WndProc(TMessage& m) {
    if (m.Msg == WM_CONTEXTMENU && autoContextMenus_ && !PopupMenu() && SelectedFolder()) {
        const TRect row = Selected()->DisplayRect(true);
        const TPoint at = MenuPoint(this, m, TPoint{row.left, row.bottom});
        InvokeContextMenu(this, SelectedFolder(), at.x, at.y);
        m.Result = 1;
        return;
    }
    TTeTreeView::WndProc(m);
}

void TTeCustomShellTreeView::ExecuteCommand(const String& verb, bool& handled) {
    if (SameText(verb, "rename") && Selected()) {
        Selected()->EditText();
        handled = true;
    }
}

void TTeCustomShellTreeView::CommandCompleted(const String& verb, bool succeeded) {
    if (!succeeded || !Selected()) return;
    if (SameText(verb, "delete")) {
        TShellItemInfo info;
        if (SelectedFolder() && !ShellItemInfo(SelectedFolder()->AbsoluteIdList(), info))
            Selected()->Delete();
    }
}

// ---- combo box --------------------------------------------------------------------------------

TTeCustomShellComboBox::TTeCustomShellComboBox(TComponent* owner)
    : TTeComboBoxEx(owner), TTeShellLinks(TTeShellObjectTypes{otFolders}) {
    SetStyle(csDropDownList);
    SetImages(ShellSmallImages());
}

TTeCustomShellComboBox::~TTeCustomShellComboBox() {
    ClearFolders();
    delete rootItem_;
    if (treeView_ && treeView_->comboBox_ == this) treeView_->comboBox_ = nullptr;
    if (listView_ && listView_->comboBox_ == this) listView_->comboBox_ = nullptr;
}

void TTeCustomShellComboBox::ClearFolders() {
    for (int i = 0; i < ItemsExCount(); ++i) delete ItemsEx(i).Data;
    ItemsEx()->Clear();
}

TTeShellFolder* TTeCustomShellComboBox::GetFolder(int index) const {
    if (ItemsExCount() == 0) return nullptr;
    index = std::clamp(index, 0, ItemsExCount() - 1);
    return static_cast<TTeShellFolder*>(ItemsEx(index).Data);
}

int TTeCustomShellComboBox::InsertFolder(int index, TTeShellFolder* folder) {
    TTeComboBoxExItems* items = ItemsEx();
    items->BeginUpdate();
    TTeComboBoxExItem* item = items->Insert(std::clamp(index, 0, items->Count()));
    item->SetCaption(folder->DisplayName());
    item->SetImageIndex(useShellImages_ ? folder->ImageIndex(false) : -1);
    item->SetIndent(folder->AncestorCount());
    item->SetData(folder);
    items->EndUpdate();
    return item->Index();
}

void TTeCustomShellComboBox::Loaded() {
    TTeComboBoxEx::Loaded();
    ShowingErrors([this] { CreateRoot(); });
}

void TTeCustomShellComboBox::CreateHandleDone() {
    TTeComboBoxEx::CreateHandleDone();
    if (ItemsExCount() == 0) ShowingErrors([this] { CreateRoot(); });
}

void TTeCustomShellComboBox::CreateRoot() {
    if (ComponentState().Contains(csLoading)) return;
    ClearFolders();
    rootItem_ = CreateRootFolder(rootItem_, prevRoot_, rootText_);
    auto* top = new TTeShellFolder(nullptr, rootItem_->AbsoluteIdList());
    InsertFolder(0, top);
    Init();
    SetItemIndex(0);
}

void TTeCustomShellComboBox::Init() {
    AddItems(0, GetFolder(0));
    if (rootText_ == "rfDesktop") AddComputer(1);
}

void TTeCustomShellComboBox::AddComputer(int index) {
    auto* computer = new TTeShellFolder(GetFolder(0), TIdList{}, kMyComputerCaption);
    int at = InsertFolder(index, computer);
    for (TTeShellFolder* fs : MountFolders(computer)) at = InsertFolder(at + 1, fs);
}

void TTeCustomShellComboBox::AddItems(int index, TTeShellFolder* folder) {
    if (!folder) return;
    int at = index + 1;
    for (const std::string& name : SortedEntries(folder->AbsoluteIdList(), objectTypes_))
        InsertFolder(at++, new TTeShellFolder(folder, {name}));
}

int TTeCustomShellComboBox::IndexFromID(const TIdList& id) const {
    // My Computer and the mount points only name folders listed elsewhere.
    for (int i = ItemsExCount() - 1; i >= 0; --i)
        if (!GetFolder(i)->IsAlias() && GetFolder(i)->AbsoluteIdList() == id) return i;
    return -1;
}

void TTeCustomShellComboBox::SetPathFromID(const TIdList& id) {
    CreateRoot();
    std::vector<TIdList> chain = AncestorIdLists(id);
    int anchor = -1;
    size_t from = chain.size();
    while (from > 0 && anchor < 0) anchor = IndexFromID(chain[--from]);
    if (anchor < 0) return;
    chain.push_back(id);
    // The deeper ancestors and the folder itself, each right after the one above.
    for (size_t k = from + 1; k < chain.size(); ++k) {
        const int listed = IndexFromID(chain[k]);
        if (listed >= 0) {
            anchor = listed;
            continue;
        }
        anchor = InsertFolder(anchor + 1, new TTeShellFolder(GetFolder(anchor), LastIdItemCopy(chain[k])));
    }
    SetItemIndex(IndexFromID(id));
}

void TTeCustomShellComboBox::TreeUpdate(const TIdList& id) {
    if (updating_) return;
    if (ItemIndex() >= 0 && GetFolder(ItemIndex())->AbsoluteIdList() == id) return;
    Updating(updating_, [&] { SetPathFromID(id); });
}

void TTeCustomShellComboBox::Select() {
    TTeComboBoxEx::Select();
    if (updating_ || ItemIndex() < 0) return;
    const TTeShellFolder* chosen = GetFolder(ItemIndex());
    // The rebuild frees the items.
    const TIdList id = chosen->AbsoluteIdList();
    const String alias = chosen->IsAlias() ? chosen->DisplayName() : String();
    Updating(updating_, [&] {
        SetPathFromID(id);
        // A file system chosen under My Computer stays chosen, not the folder it is.
        for (int i = 0; !alias.empty() && i < ItemsExCount(); ++i) {
            const TTeShellFolder* f = GetFolder(i);
            if (f->IsAlias() && f->DisplayName() == alias && f->AbsoluteIdList() == id) {
                SetItemIndex(i);
                break;
            }
        }
        if (treeView_) treeView_->SetPathFromID(id);
        if (listView_) listView_->TreeUpdate(id);
    });
}

String TTeCustomShellComboBox::Path() const {
    return ItemIndex() >= 0 ? GetFolder(ItemIndex())->PathName() : "";
}

void TTeCustomShellComboBox::SetPath(const String& path) {
    TIdList id;
    if (!ParseShellPath(path, id)) throw EInvalidPath("Error setting path");
    SetPathFromID(id);
}

void TTeCustomShellComboBox::SetRoot(const TTeRoot& value) {
    if (TakeRoot(value)) RootChanged();
}

void TTeCustomShellComboBox::SetObjectTypes(TTeShellObjectTypes value) {
    TakeObjectTypes(value);
    RootChanged();
}

void TTeCustomShellComboBox::RootChanged() {
    Updating(updating_, [this] {
        CreateRoot();
        PassRootOn();
    });
}

void TTeCustomShellComboBox::SetUseShellImages(bool value) {
    useShellImages_ = value;
    SetImages(value ? ShellSmallImages() : nullptr);
}

void TTeCustomShellComboBox::SetShellTreeView(TTeCustomShellTreeView* value) {
    LinkTo(this, treeView_, value, &TTeCustomShellTreeView::comboBox_);
}

void TTeCustomShellComboBox::SetShellListView(TTeCustomShellListView* value) {
    LinkTo(this, listView_, value, &TTeCustomShellListView::comboBox_);
}

void TTeCustomShellComboBox::Notification(TComponent* component, TOperation operation) {
    TTeComboBoxEx::Notification(component, operation);
    ForgetLink(component, operation);
}

// ---- list view --------------------------------------------------------------------------------

TTeCustomShellListView::TTeCustomShellListView(TComponent* owner)
    : TTeListView(owner), TTeShellLinks(TTeShellObjectTypes{otFolders, otNonFolders}) {
    SetOwnerData(true);
    SetHideSelection(false);
    SetSmallImages(ShellSmallImages());
    SetLargeImages(ShellSmallImages());
    OnData = [this](TObject*, TListItem* item) { Fetch(item); };
    OnEdited = [this](TObject*, TListItem* item, String& text) { Edited(item, text); };
}

TTeCustomShellListView::~TTeCustomShellListView() {
    notifier_.reset();
    OnData = nullptr;
    rows_.clear();
    delete rootItem_;
    if (treeView_ && treeView_->listView_ == this) treeView_->listView_ = nullptr;
    if (comboBox_ && comboBox_->listView_ == this) comboBox_->listView_ = nullptr;
}

void TTeCustomShellListView::ClearRows() {
    if (!ComponentState().Contains(csDestroying)) Items()->SetCount(0);
    rows_.clear();
}

void TTeCustomShellListView::Populate() {
    if (!rootItem_) return;
    Items()->BeginUpdate();
    ClearRows();
    std::vector<std::string> names;
    EnumShellItems(rootItem_->AbsoluteIdList(), ObjectTypesToEnumFlags(objectTypes_), names);
    for (const std::string& name : names) {
        auto folder = std::make_unique<TTeShellFolder>(rootItem_, TIdList{name});
        bool canAdd = true;
        if (OnAddFolder) OnAddFolder(this, folder.get(), canAdd);
        if (canAdd) rows_.push_back(std::move(folder));
    }
    if (sorted_) {
        const TIdList& at = rootItem_->AbsoluteIdList();
        std::stable_sort(rows_.begin(), rows_.end(), [&](const auto& a, const auto& b) {
            return CompareShellItems(at, a->RelativeIdList().back(), b->RelativeIdList().back()) < 0;
        });
    }
    Items()->SetCount(static_cast<int>(rows_.size()));
    Items()->EndUpdate();
}

void TTeCustomShellListView::Fetch(TListItem* item) {
    const int index = item->Index();
    if (index < 0 || index >= static_cast<int>(rows_.size())) return;
    TTeShellFolder* folder = rows_[static_cast<size_t>(index)].get();
    item->SetCaption(folder->DisplayName());
    item->SetImageIndex(folder->ImageIndex(false));
    item->SubItems()->Clear();
    if (ViewStyle() != vsReport) return;
    const int columns = Columns()->Count();
    folder->LoadColumnDetails(rootItem_, columns);
    for (int c = 1; c < columns; ++c) item->SubItems()->Add(folder->GetDetails(c));
}

int TTeCustomShellListView::OwnerDataFind(TItemFind find, const String& text, int start, bool wrap) const {
    if (find != ifPartialString && find != ifExactString) return -1;
    const int count = static_cast<int>(rows_.size());
    if (count == 0) return -1;
    const String wanted = UpperCase(text);
    start = std::clamp(start, 0, count - 1);
    for (int k = 0; k < count; ++k) {
        const int i = start + k;
        if (i >= count && !wrap) break;
        const String name = UpperCase(rows_[static_cast<size_t>(i % count)]->DisplayName());
        if (name.compare(0, wanted.size(), wanted) == 0) return i % count;
    }
    return -1;
}

void TTeCustomShellListView::EnumColumns() {
    Columns()->Clear();
    if (!rootItem_) return;
    static const struct {
        const char* caption;
        TAlignment alignment;
        int chars;
    } kColumns[] = {
        {"Name", taLeftJustify, 25},
        {"Size", taRightJustify, 10},
        {"Type", taLeftJustify, 10},
        {"Modified", taLeftJustify, 14},
    };
    Canvas()->SetFont(Font());
    const int x = Canvas()->TextWidth("X");
    // Every folder here is a file-system folder; the top "/" included.
    for (const auto& c : kColumns) {
        TListColumn* column = Columns()->Add();
        column->SetCaption(c.caption);
        column->SetAlignment(c.alignment);
        column->SetWidth(x * c.chars);
    }
}

TTeShellFolder* TTeCustomShellListView::SelectedFolder() {
    const int index = ItemIndex();
    return index >= 0 && index < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(index)].get()
                                                                : nullptr;
}

TTeShellFolder* TTeCustomShellListView::GetFolder(int index) const {
    return index >= 0 && index < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(index)].get()
                                                                : nullptr;
}

void TTeCustomShellListView::Loaded() {
    TTeListView::Loaded();
    ShowingErrors([this] { CreateRoot(); });
    RootChanged();
    SetAutoRefresh(autoRefresh_);
}

void TTeCustomShellListView::CreateHandleDone() {
    TTeListView::CreateHandleDone();
    if (!rootItem_ && ShowingErrors([this] { CreateRoot(); })) RootChanged();
}

void TTeCustomShellListView::CreateRoot() {
    if (ComponentState().Contains(csLoading)) return;
    rootItem_ = CreateRootFolder(rootItem_, prevRoot_, rootText_);
}

void TTeCustomShellListView::SetRoot(const TTeRoot& value) {
    prevRoot_ = rootText_;
    rootText_ = value;
    rows_.clear();  // they point at the old root item
    Items()->SetCount(0);
    CreateRoot();
    rootSet_ = true;
    RootChanged();
}

void TTeCustomShellListView::SetObjectTypes(TTeShellObjectTypes value) {
    objectTypes_ = value;
    if (!ComponentState().Contains(csLoading)) RootChanged();
}

void TTeCustomShellListView::SetSorted(bool value) {
    if (sorted_ == value) return;
    sorted_ = value;
    Populate();
}

void TTeCustomShellListView::RootChanged() {
    if (updating_) return;
    Updating(updating_, [this] {
        const bool refresh = autoRefresh_;
        SetAutoRefresh(false);
        SynchPaths();
        Populate();
        EnumColumns();
        SetAutoRefresh(refresh);
    });
}

void TTeCustomShellListView::SynchPaths() {
    if (!rootItem_) return;
    if (rootSet_) {
        if (treeView_) ShowingErrors([this] { treeView_->SetRoot(rootText_); });
        if (comboBox_) ShowingErrors([this] { comboBox_->SetRoot(rootText_); });
    } else {
        if (treeView_) treeView_->SetPathFromID(rootItem_->AbsoluteIdList());
        if (comboBox_) comboBox_->TreeUpdate(rootItem_->AbsoluteIdList());
    }
    rootSet_ = false;
}

void TTeCustomShellListView::SetPathFromID(const TIdList& id) {
    if (updating_ || (rootItem_ && rootItem_->AbsoluteIdList() == id)) return;
    rows_.clear();
    Items()->SetCount(0);
    delete rootItem_;
    rootItem_ = CreateRootFromIdList(id);
    rootText_.clear();
    rootSet_ = false;
    RootChanged();
}

void TTeCustomShellListView::TreeUpdate(const TIdList& id) {
    if (!updating_) SetPathFromID(id);
}

void TTeCustomShellListView::Back() {
    if (!rootItem_ || rootItem_->AbsoluteIdList().empty()) return;
    TIdList up = rootItem_->AbsoluteIdList();
    StripLastIdItem(up);
    SetPathFromID(up);
}

void TTeCustomShellListView::Refresh() {
    const int selected = ItemIndex();
    ClearSelection();
    Populate();
    if (selected >= 0 && selected < Items()->Count()) SetItemIndex(selected);
}

void TTeCustomShellListView::SetAutoRefresh(bool value) {
    autoRefresh_ = value;
    if (ComponentState().Contains(csLoading)) return;
    notifier_.reset();
    if (!value || !rootItem_) return;
    notifier_ = std::make_unique<TTeShellChangeNotifier>(nullptr);
    notifier_->SetWatchSubTree(false);
    notifier_->SetRoot(rootItem_->PathName());
    notifier_->SetOnChange([this] { Refresh(); });
}

void TTeCustomShellListView::EditText() {
    if (TListItem* item = Selected()) item->EditCaption();
}

void TTeCustomShellListView::Edited(TListItem* item, String& text) {
    TTeShellFolder* folder = GetFolder(item->Index());
    if (!folder || text == folder->DisplayName()) return;
    ShowingErrors([&] {
        if (!folder->Rename(text)) throw Exception(Format("Rename to %s failed", text.c_str()));
    });
    text = folder->DisplayName();
    Invalidate();
}

void TTeCustomShellListView::OpenRow(TTeShellFolder* folder) {
    if (!folder) return;
    if (folder->IsFolder()) {
        const TIdList id = folder->AbsoluteIdList();  // the rows go with the folder shown
        SetPathFromID(id);
    } else {
        ShowingErrors([&] { folder->ExecuteDefault(); });
    }
}

void TTeCustomShellListView::DblClick() {
    if (autoNavigate_) OpenRow(SelectedFolder());
    TTeListView::DblClick();
}

void TTeCustomShellListView::KeyDown(WORD& key, TShiftState shift) {
    TTeListView::KeyDown(key, shift);
    if (!autoNavigate_) return;
    switch (key) {
        case VK_BACK:
            if (!IsEditing()) Back();
            break;
        case VK_RETURN:
            if (!shift.Contains(ssAlt)) {
                OpenRow(SelectedFolder());
            } else if (SelectedFolder()) {
                InvokeItemVerb(this, SelectedFolder(), "properties");
                key = 0;
            }
            break;
        case VK_F5: Refresh(); break;
        default: break;
    }
}

void TTeCustomShellListView::WndProc(TMessage& m) {
    if (m.Msg == WM_CONTEXTMENU && autoContextMenus_ && SelectedFolder()) {
        const TRect row = Selected() ? Selected()->DisplayRect() : TRect{};
        const TPoint at = MenuPoint(this, m, TPoint{row.left, row.bottom});
        InvokeContextMenu(this, SelectedFolder(), at.x, at.y);
        m.Result = 1;
        return;
    }
    TTeListView::WndProc(m);
}

void TTeCustomShellListView::ExecuteCommand(const String& verb, bool& handled) {
    if (SameText(verb, "rename")) {
        EditText();
        handled = true;
    }
}

void TTeCustomShellListView::CommandCompleted(const String& verb, bool succeeded) {
    if (succeeded && SameText(verb, "delete")) Refresh();
}

void TTeCustomShellListView::SetShellTreeView(TTeCustomShellTreeView* value) {
    LinkTo(this, treeView_, value, &TTeCustomShellTreeView::listView_);
}

void TTeCustomShellListView::SetShellComboBox(TTeCustomShellComboBox* value) {
    LinkTo(this, comboBox_, value, &TTeCustomShellComboBox::listView_);
}

void TTeCustomShellListView::Notification(TComponent* component, TOperation operation) {
    TTeListView::Notification(component, operation);
    ForgetLink(component, operation);
}

}  // namespace tarvel
