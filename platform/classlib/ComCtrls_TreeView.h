#pragma once
// The tree view: nodes with text, state images and images under expandable
// parents.

#include <functional>
#include <memory>
#include <vector>

#include "platform/classlib/ImageLists.h"
#include "platform/classlib/InplaceEditor.h"
#include "platform/classlib/Sets.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/WindowScrollBars.h"

namespace tarvel {

class TTreeNodes;
class TTreeView;

class TTreeNode {
public:
    ~TTreeNode();
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    const String& Text() const { return text_; }
    void SetText(const String& text);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int i);
    int OverlayIndex() const { return overlayIndex_; }
    void SetOverlayIndex(int i);
    // The image of the tree's StateImages left of the node's image; -1: none.
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int i);
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }
    // Shows the expand button before any child exists (filled on expanding).
    bool HasChildren() const { return hasChildren_ || !children_.empty(); }
    void SetHasChildren(bool v);

    TTreeNode* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const;
    int Index() const;
    int Level() const;
    int AbsoluteIndex() const;
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
    TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back().get(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in document order (children first).
    TTreeNode* GetNext() const;
    bool IsVisible() const;  // every parent expanded
    TTreeView* TreeView() const;
    TTreeNodes* Owner() const { return owner_; }

    bool Expanded() const { return expanded_; }
    void SetExpanded(bool v);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const;
    void SetSelected(bool v);
    void MakeVisible();
    void EditText();
    void Delete();
    void DeleteChildren();
    // Sorts the children (and theirs with `recurse`) by the comparison,
    // stable; none given: the tree's OnCompare or else text without case.
    bool CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& compare, bool recurse = false);
    bool AlphaSort(bool recurse = false) { return CustomSort(nullptr, recurse); }
    TRect DisplayRect(bool textOnly);

private:
    friend class TTreeNodes;
    friend class TTreeView;
    explicit TTreeNode(TTreeNodes* owner) : owner_(owner) {}
    void Changed();

    TTreeNodes* owner_;
    TTreeNode* parent_ = nullptr;
    std::vector<std::unique_ptr<TTreeNode>> children_;
    String text_;
    int imageIndex_ = -1, selectedIndex_ = -1, overlayIndex_ = -1, stateIndex_ = -1;
    void* data_ = nullptr;
    bool hasChildren_ = false;
    bool expanded_ = false;
    int textWidth_ = -1;  // measured when first wanted
};

class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView* view);
    ~TTreeNodes();
    TTreeView* Owner() const { return view_; }

    // A new last sibling of `sibling` (a root when null).
    TTreeNode* Add(TTreeNode* sibling, const String& text);
    TTreeNode* AddFirst(TTreeNode* sibling, const String& text);
    TTreeNode* AddChild(TTreeNode* parent, const String& text);
    TTreeNode* AddChildFirst(TTreeNode* parent, const String& text);
    // A new node just before `sibling` (the last root when null).
    TTreeNode* Insert(TTreeNode* sibling, const String& text);
    void Delete(TTreeNode* node);
    void Clear();
    int Count() const;
    // In document order.
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstNode() const { return root_->GetFirstChild(); }
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TTreeView;
    TTreeNode* InsertAt(TTreeNode* parent, int index, const String& text);
    TTreeView* view_;
    std::unique_ptr<TTreeNode> root_;
    int updating_ = 0;
};

using TTVChangedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
using TTVChangingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowChange)>;
using TTVExpandingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowExpansion)>;
using TTVEditingEvent = std::function<void(TObject* sender, TTreeNode* node, bool& allowEdit)>;
using TTVEditedEvent = std::function<void(TObject* sender, TTreeNode* node, String& text)>;
using TTVCompareEvent =
    std::function<void(TObject* sender, TTreeNode* a, TTreeNode* b, int data, int& compare)>;

// What lies at a point of the tree (GetHitTestInfoAt). htOnItem goes with
// each of the state icon, the icon and the label.
enum THitTest {
    htAbove,
    htBelow,
    htNowhere,
    htOnItem,
    htOnButton,
    htOnIcon,
    htOnIndent,
    htOnLabel,
    htOnRight,
    htOnStateIcon,
    htToLeft,
    htToRight
};
using THitTests = TSet<THitTest>;

class TTreeView : public TCustomControl, public IUiItems {
    TARVEL_CLASS(TTreeView, TCustomControl)

public:
    explicit TTreeView(TComponent* owner);
    ~TTreeView() override;

    TTreeNodes* Items() { return items_.get(); }
    TTreeNode* Selected() const { return selected_; }
    // Through OnChanging (which may refuse) and OnChange, as a user's choice.
    void SetSelected(TTreeNode* node);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    // Given, every node keeps room for a state image; a click on one leaves
    // the selection alone (the OnClick handler tells it by GetHitTestInfoAt).
    TCustomImageList* StateImages() const { return stateImages_; }
    void SetStateImages(TCustomImageList* images);
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool v) { Change(showRoot_, v); }
    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool v) { Change(showLines_, v); }
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool v) { Change(showButtons_, v); }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v) { Change(hideSelection_, v); }
    bool RightClickSelect() const { return rightClickSelect_; }
    void SetRightClickSelect(bool v) { rightClickSelect_ = v; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    int Indent() const { return indent_; }
    void SetIndent(int v) { Change(indent_, std::max(4, v)); }
    int ItemHeight();
    TTreeNode* TopItem() const;
    void SetTopItem(TTreeNode* node);
    // The node on the row at a client point, or null.
    TTreeNode* GetNodeAt(int x, int y);
    THitTests GetHitTestInfoAt(int x, int y);
    void FullExpand();
    void FullCollapse();
    bool IsEditing() const { return editor_.Active(); }
    // Ends the label edit (keeping the text unless `cancel`).
    void EndEditing(bool cancel);
    // The window's scroll bars tell the state: the vertical bar counts rows,
    // the horizontal one pixels.

    int UiItemCount() override;
    String UiItemText(int index) override;
    TRect UiItemRect(int index) override;
    int UiItemIndex() override;

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVChangedEvent OnExpanded;
    TTVExpandingEvent OnCollapsing;
    TTVChangedEvent OnCollapsed;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVCompareEvent OnCompare;
    TTVChangedEvent OnDeletion;

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    void WMScroll(TMessage& m);
    void CMFontChangedTree(TMessage& m);
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void Resize() override;
    void DoEnter() override;
    void DoExit() override;
    void WMGetDlgCode(TMessage& m);
    // Asked before a node expands and before the selection moves (the
    // events OnExpanding and OnChanging); told of a node about to go
    // (OnDeletion) and of a label edited (OnEdited: false keeps the old text).
    virtual bool CanExpand(TTreeNode* node);
    virtual bool CanChange(TTreeNode* node);
    virtual void Delete(TTreeNode* node);
    virtual bool Edit(TTreeNode* node, String& text);

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    template <class T>
    void Change(T& field, T value) {
        if (field == value) return;
        field = value;
        NodesChanged();
    }
    // The expanded nodes in display order, worked out again after changes.
    const std::vector<TTreeNode*>& Rows();
    void NodesChanged();
    void NodeRemoving(TTreeNode* node);
    int RowOf(const TTreeNode* node);
    int VisibleRowCount();
    void ScrollIntoView(int row);
    void UpdateScrollBar();
    bool ToggleNode(TTreeNode* node);
    bool ExpandNode(TTreeNode* node, bool expand);
    void StartEditing(TTreeNode* node);
    int NodeIndentX(const TTreeNode* node) const;
    // Where the parts of a node's row lie, in client coordinates (`row`
    // counts from the top row shown).
    struct TRowParts {
        TRect button, state, icon, text;
    };
    TRowParts RowParts(TTreeNode* node, int row);
    // Where a label starts and how wide it is, unscrolled.
    int LabelLeft(const TTreeNode* node) const;
    int LabelWidth(TTreeNode* node);
    TRect ButtonRectOf(const TTreeNode* node, int row);
    TRect TextRectOf(TTreeNode* node, int row) { return RowParts(node, row).text; }
    int ContentWidth();
    void ScrollToX(int x);

    std::unique_ptr<TTreeNodes> items_;
    TTreeNode* selected_ = nullptr;
    TCustomImageList* images_ = nullptr;
    TCustomImageList* stateImages_ = nullptr;
    bool showRoot_ = true, showLines_ = true, showButtons_ = true, hideSelection_ = true;
    bool rightClickSelect_ = false, readOnly_ = false;
    int indent_ = 19;
    int topRow_ = 0;
    int scrollX_ = 0;        // pixels scrolled off the left
    TPoint downAt_{-1, -1};  // where the last button went down
    std::vector<TTreeNode*> rows_;
    bool rowsValid_ = false;
    TWindowScrollBars bars_{this};
    bool updatingBars_ = false;
    TLabelEditor editor_{this};
    TTreeNode* editing_ = nullptr;
};

}  // namespace tarvel
