#pragma once
// The explorer-like views over the file system: a folder tree, a path combo
// and a list of one folder's contents. Linked, each follows the others: a
// control acting on a change sets its updating flag, so a change is never
// echoed back to it.

#include <memory>
#include <vector>

#include "skin/controls/te_controls_views.h"
#include "skin/extctrls/te_extctrls_comboex.h"
#include "skin/extctrls/te_extctrls_shell.h"

namespace tarvel {

class TTeCustomShellTreeView;
class TTeCustomShellComboBox;
class TTeCustomShellListView;

using TAddFolderEvent = std::function<void(TObject* sender, TTeShellFolder* folder, bool& canAdd)>;

// What the three views share: the root shown and the one before, the kinds
// of objects, the updating flag and the links to one another (a view's link
// to its own kind stays null).
class TTeShellLinks {
public:
    TTeShellLinks(const TTeShellLinks&) = delete;
    TTeShellLinks& operator=(const TTeShellLinks&) = delete;

    const TTeRoot& Root() const { return rootText_; }
    TTeShellObjectTypes ObjectTypes() const { return objectTypes_; }

protected:
    explicit TTeShellLinks(TTeShellObjectTypes types) : objectTypes_(types) {}
    virtual ~TTeShellLinks() = default;

    // False for the root held already (letter case ignored); else the held
    // root becomes the previous one.
    bool TakeRoot(const TTeRoot& value);
    // New kinds of objects: the root is made anew as if it had changed.
    void TakeObjectTypes(TTeShellObjectTypes value);
    // The other linked views take this one's root.
    void PassRootOn() const;
    // From Notification: a linked view being freed is let go.
    void ForgetLink(TComponent* component, TOperation operation);

    TTeShellFolder* rootItem_ = nullptr;
    TTeRoot rootText_ = "rfDesktop", prevRoot_;
    TTeShellObjectTypes objectTypes_;
    bool updating_ = false;
    TTeCustomShellTreeView* treeView_ = nullptr;
    TTeCustomShellComboBox* comboBox_ = nullptr;
    TTeCustomShellListView* listView_ = nullptr;
};

// ---- tree -------------------------------------------------------------------------------------

class TTeCustomShellTreeView : public TTeTreeView, public IShellCommandVerb, public TTeShellLinks {
    TARVEL_CLASS(TTeCustomShellTreeView, TTeTreeView)

public:
    explicit TTeCustomShellTreeView(TComponent* owner);
    ~TTeCustomShellTreeView() override;

    // Throws "Error setting path" for a root that names no folder; the tree
    // then keeps its previous root.
    void SetRoot(const TTeRoot& value);
    virtual void SetObjectTypes(TTeShellObjectTypes value);
    bool UseShellImages() const { return useShellImages_; }
    void SetUseShellImages(bool value);
    bool AutoContextMenus() const { return autoContextMenus_; }
    void SetAutoContextMenus(bool value) { autoContextMenus_ = value; }
    bool AutoRefresh() const { return autoRefresh_; }
    void SetAutoRefresh(bool value);
    TTeCustomShellComboBox* ShellComboBox() const { return comboBox_; }
    void SetShellComboBox(TTeCustomShellComboBox* value);
    TTeCustomShellListView* ShellListView() const { return listView_; }
    void SetShellListView(TTeCustomShellListView* value);
    TTeShellChangeNotifier* Notifier() const { return notifier_.get(); }

    // Populates the node again, keeping its expanded branches, the
    // selection and the top node.
    void Refresh(TTreeNode* node);
    TTeShellFolder* SelectedFolder() const;
    TTeShellFolder* GetFolder(int index) const;
    String Path() const;
    // Throws EInvalidPath "Error setting path" for a path that is not there.
    void SetPath(const String& path);
    void SetPathFromID(const TIdList& id);
    TTreeNode* NodeFromRelativeID(TTreeNode* parent, const TIdList& id) const;
    TTreeNode* NodeFromAbsoluteID(TTreeNode* start, const TIdList& id) const;
    // `start` or a node of its sub-tree with this list, or null.
    TTreeNode* FolderExists(const TIdList& id, TTreeNode* start) const;

    void ExecuteCommand(const String& verb, bool& handled) override;
    void CommandCompleted(const String& verb, bool succeeded) override;

    TAddFolderEvent OnAddFolder;

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    bool CanExpand(TTreeNode* node) override;
    bool CanChange(TTreeNode* node) override;
    void Delete(TTreeNode* node) override;
    bool Edit(TTreeNode* node, String& text) override;

private:
    friend class TTeCustomShellComboBox;
    friend class TTeCustomShellListView;
    static TTeShellFolder* FolderOf(const TTreeNode* node);
    void CreateRoot();
    void RootChanged();
    void PopulateNode(TTreeNode* node);
    void InitNode(TTreeNode* node, const TIdList& relative, TTreeNode* parent);
    void SetUpNode(TTreeNode* node, TTeShellFolder* folder);
    void Watch(const String& path);
    void ClearNodes();

    bool useShellImages_ = true, autoContextMenus_ = true, autoRefresh_ = false;
    std::unique_ptr<TTeShellChangeNotifier> notifier_;
    bool creatingRoot_ = false;
};

class TTeShellTreeView : public TTeCustomShellTreeView {
    TARVEL_CLASS(TTeShellTreeView, TTeCustomShellTreeView)

public:
    using TTeCustomShellTreeView::TTeCustomShellTreeView;
};

// ---- combo box --------------------------------------------------------------------------------

class TTeCustomShellComboBox : public TTeComboBoxEx, public TTeShellLinks {
    TARVEL_CLASS(TTeCustomShellComboBox, TTeComboBoxEx)

public:
    explicit TTeCustomShellComboBox(TComponent* owner);
    ~TTeCustomShellComboBox() override;

    void SetRoot(const TTeRoot& value);
    virtual void SetObjectTypes(TTeShellObjectTypes value);
    bool UseShellImages() const { return useShellImages_; }
    void SetUseShellImages(bool value);
    TTeCustomShellTreeView* ShellTreeView() const { return treeView_; }
    void SetShellTreeView(TTeCustomShellTreeView* value);
    TTeCustomShellListView* ShellListView() const { return listView_; }
    void SetShellListView(TTeCustomShellListView* value);

    String Path() const;
    void SetPath(const String& path);
    // Lists the root, its children and the chain of folders down to `id`,
    // which it selects.
    void SetPathFromID(const TIdList& id);
    void TreeUpdate(const TIdList& id);
    TTeShellFolder* GetFolder(int index) const;
    int IndexFromID(const TIdList& id) const;

protected:
    virtual void Init();
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CreateHandleDone() override;
    void Select() override;

private:
    friend class TTeCustomShellTreeView;
    friend class TTeCustomShellListView;
    void CreateRoot();
    void ClearFolders();
    void AddItems(int index, TTeShellFolder* folder);
    // My Computer at `index`, with the mounted file systems below it.
    void AddComputer(int index);
    int InsertFolder(int index, TTeShellFolder* folder);
    void RootChanged();

    bool useShellImages_ = true;
};

class TTeShellComboBox : public TTeCustomShellComboBox {
    TARVEL_CLASS(TTeShellComboBox, TTeCustomShellComboBox)

public:
    using TTeCustomShellComboBox::TTeCustomShellComboBox;
};

// ---- list view --------------------------------------------------------------------------------

class TTeCustomShellListView : public TTeListView, public IShellCommandVerb, public TTeShellLinks {
    TARVEL_CLASS(TTeCustomShellListView, TTeListView)

public:
    explicit TTeCustomShellListView(TComponent* owner);
    ~TTeCustomShellListView() override;

    // Every assignment, of the same text too, shows the folder anew.
    void SetRoot(const TTeRoot& value);
    void SetObjectTypes(TTeShellObjectTypes value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    bool AutoContextMenus() const { return autoContextMenus_; }
    void SetAutoContextMenus(bool value) { autoContextMenus_ = value; }
    bool AutoNavigate() const { return autoNavigate_; }
    void SetAutoNavigate(bool value) { autoNavigate_ = value; }
    bool AutoRefresh() const { return autoRefresh_; }
    void SetAutoRefresh(bool value);
    TTeCustomShellTreeView* ShellTreeView() const { return treeView_; }
    void SetShellTreeView(TTeCustomShellTreeView* value);
    TTeCustomShellComboBox* ShellComboBox() const { return comboBox_; }
    void SetShellComboBox(TTeCustomShellComboBox* value);
    TTeShellChangeNotifier* Notifier() const { return notifier_.get(); }

    // The folder shown.
    TTeShellFolder* RootFolder() const { return rootItem_; }
    virtual void Populate();
    void Back();
    void Refresh();
    TTeShellFolder* SelectedFolder();
    TTeShellFolder* GetFolder(int index) const;
    void SetPathFromID(const TIdList& id);
    void TreeUpdate(const TIdList& id);
    void EditText();
    // The first row from `start` whose name begins with `text` (letter case
    // ignored), each row looked at once, past the end only with `wrap`; -1
    // for none.
    int OwnerDataFind(TItemFind find, const String& text, int start, bool wrap) const;

    void ExecuteCommand(const String& verb, bool& handled) override;
    void CommandCompleted(const String& verb, bool succeeded) override;

    TAddFolderEvent OnAddFolder;

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    void DblClick() override;
    void KeyDown(WORD& key, TShiftState shift) override;

private:
    friend class TTeCustomShellTreeView;
    friend class TTeCustomShellComboBox;
    void Fetch(TListItem* item);
    void Edited(TListItem* item, String& text);
    void ClearRows();
    void CreateRoot();
    void RootChanged();
    void SynchPaths();
    void EnumColumns();
    // Shows a folder row, opens any other.
    void OpenRow(TTeShellFolder* folder);

    bool sorted_ = true, autoContextMenus_ = true, autoNavigate_ = true, autoRefresh_ = false;
    bool rootSet_ = false;
    std::vector<std::unique_ptr<TTeShellFolder>> rows_;
    std::unique_ptr<TTeShellChangeNotifier> notifier_;
};

class TTeShellListView : public TTeCustomShellListView {
    TARVEL_CLASS(TTeShellListView, TTeCustomShellListView)

public:
    using TTeCustomShellListView::TTeCustomShellListView;
};

}  // namespace tarvel
