#pragma once
// TTeDirectoryPanel: the body of the skinned folder dialog. A tree of
// folders under the user's home folder and the one drive "/", and an edit
// with the chosen path, which the user may also type.

#include "skin/controls/te_controls_label.h"
#include "skin/controls/te_controls_views.h"
#include "skin/extctrls/te_extctrls_edits.h"
#include "skin/extras/te_dialogs_base.h"

namespace tarvel {

class TTeDirectoryPanel : public TTeDialogPanel {
    TARVEL_CLASS(TTeDirectoryPanel, TTeDialogPanel)

public:
    explicit TTeDirectoryPanel(TComponent* owner);

    // The edit's text: whatever the user typed or the tree gave.
    String Directory() const { return selDir_->Text(); }
    // Nothing for an empty path; else the edit shows it and the tree goes
    // to it when the folder exists.
    void SetDirectory(const String& path);

    TTeTreeView* Tree() const { return tree_; }
    TTeSEdit* Edit() const { return selDir_; }
    // The folder a node of the tree stands for.
    String PathOf(TTreeNode* node) const;
    // The tree's folder: the selected node's, or empty.
    String Path() const { return tree_->Selected() ? PathOf(tree_->Selected()) : String(); }

private:
    TTreeNode* AddRoot(const String& caption, const String& path);
    TTreeNode* AddFolder(TTreeNode* parent, const String& name);
    // Lists a node's folders the first time it opens.
    void LoadChildren(TTreeNode* node);
    TTreeNode* ChildNamed(TTreeNode* node, const String& name);

    TTeTreeView* tree_ = nullptr;
    TTeSEdit* selDir_ = nullptr;
    TTreeNode* homeRoot_ = nullptr;
    TTreeNode* driveRoot_ = nullptr;
    String home_;
};

}  // namespace tarvel
