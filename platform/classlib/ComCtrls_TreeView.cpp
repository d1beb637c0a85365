// TTreeNode, TTreeNodes and TTreeView.

#include "platform/classlib/ComCtrls_TreeView.h"

#include <algorithm>
#include <optional>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ControlPaint.h"

namespace tarvel {

namespace {
constexpr int kButtonBox = 9;
constexpr UINT kVkF2 = VK_F1 + 1;
}  // namespace

// ---- TTreeNode --------------------------------------------------------------------------------

TTreeNode::~TTreeNode() = default;

TTreeView* TTreeNode::TreeView() const { return owner_->view_; }

void TTreeNode::Changed() {
    if (owner_->updating_ == 0) TreeView()->NodesChanged();
}

void TTreeNode::SetText(const String& text) {
    text_ = text;
    textWidth_ = -1;
    Changed();
}
void TTreeNode::SetImageIndex(int i) {
    imageIndex_ = i;
    Changed();
}
void TTreeNode::SetSelectedIndex(int i) {
    selectedIndex_ = i;
    Changed();
}
void TTreeNode::SetOverlayIndex(int i) {
    overlayIndex_ = i;
    Changed();
}
void TTreeNode::SetStateIndex(int i) {
    stateIndex_ = i;
    Changed();
}
void TTreeNode::SetHasChildren(bool v) {
    hasChildren_ = v;
    Changed();
}

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return children_[static_cast<size_t>(index)].get();
}

int TTreeNode::Index() const {
    if (!parent_) return -1;
    const auto& s = parent_->children_;
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i].get() == this) return static_cast<int>(i);
    return -1;
}

int TTreeNode::Level() const {
    int level = -1;
    for (const TTreeNode* p = parent_; p; p = p->parent_) ++level;
    return level;
}

int TTreeNode::AbsoluteIndex() const {
    int i = 0;
    for (TTreeNode* n = owner_->GetFirstNode(); n; n = n->GetNext(), ++i)
        if (n == this) return i;
    return -1;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const int i = Index();
    return (i >= 0 && i + 1 < parent_->Count()) ? parent_->Item(i + 1) : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    const int i = Index();
    return i > 0 ? parent_->Item(i - 1) : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!children_.empty()) return children_.front().get();
    for (const TTreeNode* n = this; n && n->parent_; n = n->parent_)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

bool TTreeNode::IsVisible() const {
    for (const TTreeNode* p = parent_; p && p->parent_; p = p->parent_)
        if (!p->expanded_) return false;
    return true;
}

void TTreeNode::SetExpanded(bool v) { TreeView()->ExpandNode(this, v); }

void TTreeNode::Expand(bool recurse) {
    TreeView()->ExpandNode(this, true);
    if (recurse)
        for (size_t i = 0; i < children_.size(); ++i) children_[i]->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    if (recurse)
        for (auto& c : children_) c->Collapse(true);
    TreeView()->ExpandNode(this, false);
}

bool TTreeNode::Selected() const { return TreeView()->selected_ == this; }

void TTreeNode::SetSelected(bool v) {
    if (v)
        TreeView()->SetSelected(this);
    else if (Selected())
        TreeView()->SetSelected(nullptr);
}

void TTreeNode::MakeVisible() {
    for (TTreeNode* p = parent_; p && p->parent_; p = p->parent_)
        if (!p->expanded_) TreeView()->ExpandNode(p, true);
    TreeView()->ScrollIntoView(TreeView()->RowOf(this));
}

void TTreeNode::EditText() { TreeView()->StartEditing(this); }

void TTreeNode::Delete() { owner_->Delete(this); }

void TTreeNode::DeleteChildren() {
    while (!children_.empty()) owner_->Delete(children_.back().get());
}

bool TTreeNode::CustomSort(const std::function<int(TTreeNode*, TTreeNode*)>& compare, bool recurse) {
    TTreeView* view = TreeView();
    auto cmp = [&](TTreeNode* a, TTreeNode* b) {
        if (compare) return compare(a, b);
        if (view->OnCompare) {
            int result = 0;
            view->OnCompare(view, a, b, 0, result);
            return result;
        }
        return CompareText(a->Text(), b->Text());
    };
    std::stable_sort(children_.begin(), children_.end(),
                     [&](const std::unique_ptr<TTreeNode>& a, const std::unique_ptr<TTreeNode>& b) {
                         return cmp(a.get(), b.get()) < 0;
                     });
    if (recurse)
        for (auto& c : children_) c->CustomSort(compare, true);
    Changed();
    return true;
}

TRect TTreeNode::DisplayRect(bool textOnly) {
    TTreeView* view = TreeView();
    const int row = view->RowOf(this) - view->topRow_;
    if (row < 0 || row >= view->VisibleRowCount()) return TRect{};
    if (textOnly) return view->TextRectOf(this, row);
    const int h = view->ItemHeight();
    return TRect{0, row * h, view->ClientWidth(), (row + 1) * h};
}

// ---- TTreeNodes -------------------------------------------------------------------------------

TTreeNodes::TTreeNodes(TTreeView* view) : view_(view), root_(new TTreeNode(this)) { root_->expanded_ = true; }

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, int index, const String& text) {
    auto node = std::unique_ptr<TTreeNode>(new TTreeNode(this));
    node->parent_ = parent;
    node->text_ = text;
    TTreeNode* raw = node.get();
    index = std::clamp(index, 0, parent->Count());
    parent->children_.insert(parent->children_.begin() + index, std::move(node));
    if (updating_ == 0) view_->NodesChanged();
    return raw;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const String& text) {
    TTreeNode* parent = sibling ? sibling->parent_ : root_.get();
    return InsertAt(parent, parent->Count(), text);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const String& text) {
    return InsertAt(sibling ? sibling->parent_ : root_.get(), 0, text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const String& text) {
    TTreeNode* p = parent ? parent : root_.get();
    return InsertAt(p, p->Count(), text);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const String& text) {
    return InsertAt(parent ? parent : root_.get(), 0, text);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const String& text) {
    if (!sibling) return Add(nullptr, text);
    return InsertAt(sibling->parent_, sibling->Index(), text);
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node || node == root_.get() || node->owner_ != this) return;
    node->DeleteChildren();
    view_->NodeRemoving(node);
    auto& siblings = node->parent_->children_;
    auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& p) { return p.get() == node; });
    if (it == siblings.end()) return;
    std::unique_ptr<TTreeNode> gone = std::move(*it);
    siblings.erase(it);
    if (updating_ == 0) view_->NodesChanged();
}

void TTreeNodes::Clear() {
    BeginUpdate();
    while (root_->Count() > 0) Delete(root_->GetLastChild());
    EndUpdate();
}

int TTreeNodes::Count() const {
    int n = 0;
    for (TTreeNode* p = GetFirstNode(); p; p = p->GetNext()) ++n;
    return n;
}

TTreeNode* TTreeNodes::Item(int index) const {
    int i = 0;
    for (TTreeNode* p = GetFirstNode(); p; p = p->GetNext(), ++i)
        if (i == index) return p;
    throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

void TTreeNodes::EndUpdate() {
    if (updating_ > 0 && --updating_ == 0) view_->NodesChanged();
}

// ---- TTreeView --------------------------------------------------------------------------------

void TTreeView::DeclareMessages(TMessageTable& t) {
    t.Add<&TTreeView::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TTreeView::WMScroll>(WM_HSCROLL);
    t.Add<&TTreeView::WMScroll>(WM_VSCROLL);
    t.Add<&TTreeView::CMFontChangedTree>(CM_FONTCHANGED);
}

TTreeView::TTreeView(TComponent* owner) : TCustomControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
    ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
}

TTreeView::~TTreeView() {
    OnDeletion = nullptr;
    editing_ = nullptr;
    selected_ = nullptr;
    items_->updating_ = 1;  // no repaint while the nodes go
    items_.reset();
}

void TTreeView::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TTreeView::CreateHandleDone() {
    bars_.Attach();
    UpdateScrollBar();
}

void TTreeView::WndProc(TMessage& m) {
    if (bars_.HandleMessage(m, [this](TMessage& msg) { TCustomControl::WndProc(msg); })) return;
    TCustomControl::WndProc(m);
}

void TTreeView::SetImages(TCustomImageList* images) {
    images_ = images;
    NodesChanged();
}

void TTreeView::SetStateImages(TCustomImageList* images) {
    stateImages_ = images;
    NodesChanged();
}

int TTreeView::ItemHeight() {
    int h = MeasureText(Font(), "Wg", 0, false).cy + 2;
    if (images_) h = std::max(h, images_->Height() + 1);
    if (stateImages_) h = std::max(h, stateImages_->Height() + 1);
    return h;
}

void TTreeView::NodesChanged() {
    rowsValid_ = false;
    if (!items_) return;
    UpdateScrollBar();
    Invalidate();
}

const std::vector<TTreeNode*>& TTreeView::Rows() {
    if (rowsValid_) return rows_;
    rows_.clear();
    std::function<void(TTreeNode*)> walk = [&](TTreeNode* parent) {
        for (auto& c : parent->children_) {
            rows_.push_back(c.get());
            if (c->expanded_) walk(c.get());
        }
    };
    walk(items_->root_.get());
    rowsValid_ = true;
    return rows_;
}

int TTreeView::RowOf(const TTreeNode* node) {
    const auto& rows = Rows();
    auto it = std::find(rows.begin(), rows.end(), node);
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

int TTreeView::VisibleRowCount() { return std::max(1, ClientHeight() / std::max(1, ItemHeight())); }

int TTreeView::ContentWidth() {
    int w = 0;
    for (TTreeNode* n : Rows()) w = std::max(w, LabelLeft(n) + LabelWidth(n));
    return w;
}

void TTreeView::CMFontChangedTree(TMessage& m) {
    if (items_)
        for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNext()) n->textWidth_ = -1;
    TWinControl::CMFontChangedWin(m);
    NodesChanged();
}

void TTreeView::UpdateScrollBar() {
    if (!items_ || updatingBars_) return;
    updatingBars_ = true;
    const int rows = static_cast<int>(Rows().size());
    const int width = ContentWidth();
    // Showing one bar narrows the client, which may call for the other.
    for (int pass = 0; pass < 2; ++pass) {
        const bool shown[] = {bars_.Visible(SB_VERT), bars_.Visible(SB_HORZ)};
        const int page = VisibleRowCount();
        topRow_ = std::clamp(topRow_, 0, std::max(0, rows - page));
        scrollX_ = std::clamp(scrollX_, 0, std::max(0, width - ClientWidth()));
        if (!HandleAllocated()) continue;
        SetViewScrollBar(bars_, SB_VERT, rows, page, topRow_);
        SetViewScrollBar(bars_, SB_HORZ, width, ClientWidth(), scrollX_);
        if (shown[0] == bars_.Visible(SB_VERT) && shown[1] == bars_.Visible(SB_HORZ)) break;
    }
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    updatingBars_ = false;
}

void TTreeView::ScrollToX(int x) {
    scrollX_ = x;
    UpdateScrollBar();
    Invalidate();
}

void TTreeView::WMScroll(TMessage& m) {
    const bool vert = m.Msg == WM_VSCROLL;
    const std::optional<int> pos =
        ScrollRequestPosition(bars_.Info(vert ? SB_VERT : SB_HORZ), m.WParam, vert ? 1 : ItemHeight());
    if (!pos) return;
    if (vert) {
        topRow_ = *pos;
        UpdateScrollBar();
        Invalidate();
    } else {
        ScrollToX(*pos);
    }
}

void TTreeView::Resize() {
    TCustomControl::Resize();
    UpdateScrollBar();
}

void TTreeView::ScrollIntoView(int row) {
    if (row < 0) return;
    const int page = VisibleRowCount();
    if (row < topRow_)
        topRow_ = row;
    else if (row >= topRow_ + page)
        topRow_ = row - page + 1;
    UpdateScrollBar();
    Invalidate();
}

TTreeNode* TTreeView::TopItem() const {
    return topRow_ < static_cast<int>(rows_.size()) && rowsValid_ ? rows_[static_cast<size_t>(topRow_)]
                                                                  : nullptr;
}

void TTreeView::SetTopItem(TTreeNode* node) {
    const int row = RowOf(node);
    if (row < 0) return;
    topRow_ = row;
    UpdateScrollBar();
    Invalidate();
}

bool TTreeView::CanExpand(TTreeNode* node) {
    bool allow = true;
    if (OnExpanding) OnExpanding(this, node, allow);
    return allow;
}

bool TTreeView::CanChange(TTreeNode* node) {
    bool allow = true;
    if (OnChanging) OnChanging(this, node, allow);
    return allow;
}

void TTreeView::Delete(TTreeNode* node) {
    if (OnDeletion) OnDeletion(this, node);
}

bool TTreeView::Edit(TTreeNode* node, String& text) {
    if (OnEdited) OnEdited(this, node, text);
    return true;
}

void TTreeView::NodeRemoving(TTreeNode* node) {
    Delete(node);
    if (editing_ == node) {
        editing_ = nullptr;
        EndEditing(true);
    }
    if (selected_ == node) selected_ = nullptr;
    rowsValid_ = false;
}

void TTreeView::SetSelected(TTreeNode* node) {
    if (node == selected_) return;
    if (!CanChange(node)) return;
    selected_ = node;
    if (node) node->MakeVisible();
    Invalidate();
    NotifyParent(this, TVN_SELCHANGED);
    if (OnChange) OnChange(this, node);
}

bool TTreeView::ExpandNode(TTreeNode* node, bool expand) {
    if (!node || node->expanded_ == expand) return false;
    bool allow = true;
    if (expand) {
        allow = CanExpand(node);
    } else if (OnCollapsing) {
        OnCollapsing(this, node, allow);
    }
    if (!allow) return false;
    if (expand && node->children_.empty()) {
        // Nothing came on expanding: the button goes.
        node->hasChildren_ = false;
        NodesChanged();
        return false;
    }
    node->expanded_ = expand;
    if (!expand && selected_ && selected_ != node) {
        // A selection inside a collapsed branch moves up to it.
        for (TTreeNode* p = selected_->parent_; p; p = p->parent_)
            if (p == node) {
                selected_ = node;
                if (OnChange) OnChange(this, node);
                break;
            }
    }
    NodesChanged();
    NotifyParent(this, TVN_ITEMEXPANDED);
    if (expand && OnExpanded) OnExpanded(this, node);
    if (!expand && OnCollapsed) OnCollapsed(this, node);
    return true;
}

bool TTreeView::ToggleNode(TTreeNode* node) { return ExpandNode(node, !node->expanded_); }

void TTreeView::FullExpand() {
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNextSibling()) n->Expand(true);
}

void TTreeView::FullCollapse() {
    for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNextSibling()) n->Collapse(true);
}

int TTreeView::NodeIndentX(const TTreeNode* node) const {
    return (node->Level() + (showRoot_ ? 1 : 0)) * indent_;
}

TRect TTreeView::ButtonRectOf(const TTreeNode* node, int row) {
    const int h = ItemHeight();
    const int cx = NodeIndentX(node) - indent_ / 2 - scrollX_, cy = row * h + h / 2;
    return TRect{cx - kButtonBox / 2, cy - kButtonBox / 2, cx - kButtonBox / 2 + kButtonBox,
                 cy - kButtonBox / 2 + kButtonBox};
}

int TTreeView::LabelLeft(const TTreeNode* node) const {
    int x = NodeIndentX(node) + 2;
    if (stateImages_) x += stateImages_->Width() + 1;
    if (images_) x += images_->Width() + 1;
    return x;
}

int TTreeView::LabelWidth(TTreeNode* node) {
    if (node->textWidth_ < 0) node->textWidth_ = MeasureText(Font(), node->Text(), 0, false).cx + 4;
    return node->textWidth_;
}

TTreeView::TRowParts TTreeView::RowParts(TTreeNode* node, int row) {
    const int h = ItemHeight();
    TRowParts parts;
    parts.button = ButtonRectOf(node, row);
    // State image, image and label follow the indent left to right.
    int x = NodeIndentX(node) - scrollX_ + 1;
    auto place = [&](TCustomImageList* images) {
        if (!images) return TRect{x, row * h, x, (row + 1) * h};
        const TRect r = Bounds(x, row * h + (h - images->Height()) / 2, images->Width(), images->Height());
        x += images->Width() + 1;
        return r;
    };
    parts.state = place(stateImages_);
    parts.icon = place(images_);
    const int left = LabelLeft(node) - scrollX_;
    parts.text = TRect{left, row * h, left + LabelWidth(node), (row + 1) * h};
    return parts;
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) {
    (void)x;
    const int h = ItemHeight();
    if (y < 0) return nullptr;
    const int row = topRow_ + y / h;
    const auto& rows = Rows();
    return row < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(row)] : nullptr;
}

THitTests TTreeView::GetHitTestInfoAt(int x, int y) {
    THitTests hits;
    if (y < 0) hits.Include(htAbove);
    if (y >= ClientHeight()) hits.Include(htBelow);
    if (x < 0) hits.Include(htToLeft);
    if (x >= ClientWidth()) hits.Include(htToRight);
    if (!hits.Empty()) return hits;
    TTreeNode* node = GetNodeAt(x, y);
    if (!node) return THitTests{htNowhere};
    const TRowParts parts = RowParts(node, RowOf(node) - topRow_);
    const TPoint p{x, y};
    if (showButtons_ && node->HasChildren() && InflatedRect(parts.button, 2, 2).Contains(p))
        return THitTests{htOnButton};
    if (stateImages_ && node->stateIndex_ >= 0 && x >= parts.state.left && x < parts.state.right)
        return THitTests{htOnItem, htOnStateIcon};
    if (images_ && x >= parts.icon.left && x < parts.icon.right) return THitTests{htOnItem, htOnIcon};
    if (x >= parts.text.left && x < parts.text.right) return THitTests{htOnItem, htOnLabel};
    return THitTests{x < parts.text.left ? htOnIndent : htOnRight};
}

void TTreeView::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect c = ClientRect();
    FillColor(dc, c, Color());
    const auto& rows = Rows();
    const int h = ItemHeight();
    const int page = VisibleRowCount() + 1;
    const COLORREF gray = ColorToColorRef(clGray);
    auto lineX = [&](const TTreeNode* n) { return NodeIndentX(n) - indent_ / 2 - scrollX_; };
    for (int i = 0; i < page && topRow_ + i < static_cast<int>(rows.size()); ++i) {
        TTreeNode* n = rows[static_cast<size_t>(topRow_ + i)];
        const int cy = i * h + h / 2;
        if (showLines_) {
            // Dotted lines: across to the node, and down the parent columns
            // that still have siblings to come.
            const int x = lineX(n);
            if (n->Level() > 0 || showRoot_) {
                for (int px = x; px < x + indent_ / 2; px += 2) SetPixel(dc, px, cy, gray);
                const bool last = !n->GetNextSibling();
                const bool first = !n->GetPrevSibling() && !n->parent_->parent_;
                for (int py = first ? cy : i * h; py < (last ? cy : (i + 1) * h); py += 2)
                    SetPixel(dc, x, py, gray);
            }
            for (TTreeNode* p = n->parent_; p && p->parent_; p = p->parent_) {
                if (!p->GetNextSibling() || (p->Level() == 0 && !showRoot_)) continue;
                const int px = lineX(p);
                for (int py = i * h; py < (i + 1) * h; py += 2) SetPixel(dc, px, py, gray);
            }
        }
        const TRowParts parts = RowParts(n, i);
        if (showButtons_ && n->HasChildren() && (n->Level() > 0 || showRoot_)) {
            const TRect b = parts.button;
            FillColor(dc, b, clWindow);
            FrameColor(dc, b, clGray);
            const int mx = b.left + kButtonBox / 2, my = b.top + kButtonBox / 2;
            DrawLine(dc, b.left + 2, my, b.right - 2, my, clWindowText);
            if (!n->expanded_) DrawLine(dc, mx, b.top + 2, mx, b.bottom - 2, clWindowText);
        }
        if (stateImages_ && n->stateIndex_ >= 0)
            stateImages_->Draw(Canvas(), parts.state.left, parts.state.top, n->stateIndex_, Enabled());
        if (images_) {
            const int image = n == selected_ && n->selectedIndex_ >= 0 ? n->selectedIndex_ : n->imageIndex_;
            if (image >= 0) images_->Draw(Canvas(), parts.icon.left, parts.icon.top, image, Enabled());
            if (n->overlayIndex_ >= 0)
                images_->Draw(Canvas(), parts.icon.left, parts.icon.top, n->overlayIndex_, Enabled());
        }
        const TRect t = parts.text;
        TColor text = Enabled() ? Font()->Color() : clGrayText;
        if (n == selected_ && (Focused() || !hideSelection_)) {
            FillColor(dc, t, Focused() ? clHighlight : clBtnFace);
            if (Focused()) text = clHighlightText;
        }
        DrawCaption(dc, Font(), n->Text(), TRect{t.left + 2, t.top, t.right, t.bottom},
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, text);
        if (n == selected_ && Focused()) DrawFocusRect(dc, t);
    }
}

void TTreeView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (IsEditing()) EndEditing(false);
    downAt_ = TPoint{x, y};
    TTreeNode* node = GetNodeAt(x, y);
    if (!node) return;
    const THitTests hits = GetHitTestInfoAt(x, y);
    if (button == mbLeft && hits.Contains(htOnButton)) {
        ToggleNode(node);
        return;
    }
    // A state image is a switch of its own: the click is the owner's to read.
    if (hits.Contains(htOnStateIcon)) return;
    if (button == mbLeft || (button == mbRight && rightClickSelect_)) SetSelected(node);
}

void TTreeView::DblClick() {
    TCustomControl::DblClick();
    // Only a double click on the selected node's icon or label opens it.
    const THitTests hits = GetHitTestInfoAt(downAt_.x, downAt_.y);
    if (!hits.Contains(htOnItem) || hits.Contains(htOnStateIcon)) return;
    if (selected_ && selected_ == GetNodeAt(downAt_.x, downAt_.y) && selected_->HasChildren())
        ToggleNode(selected_);
}

void TTreeView::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    const auto& rows = Rows();
    if (rows.empty()) return;
    const int row = selected_ ? RowOf(selected_) : -1;
    const int last = static_cast<int>(rows.size()) - 1;
    auto go = [&](int r) { SetSelected(rows[static_cast<size_t>(std::clamp(r, 0, last))]); };
    switch (key) {
        case VK_UP: go(row - 1); break;
        case VK_DOWN: go(row + 1); break;
        case VK_HOME: go(0); break;
        case VK_END: go(last); break;
        case VK_PRIOR: go(row - VisibleRowCount() + 1); break;
        case VK_NEXT: go(row + VisibleRowCount() - 1); break;
        case VK_LEFT:
            if (selected_ && selected_->expanded_)
                ExpandNode(selected_, false);
            else if (selected_ && selected_->parent_ && selected_->parent_->parent_)
                SetSelected(selected_->parent_);
            break;
        case VK_RIGHT:
            if (selected_ && !selected_->expanded_)
                ExpandNode(selected_, true);
            else if (selected_ && selected_->GetFirstChild())
                SetSelected(selected_->GetFirstChild());
            break;
        case VK_ADD:
            if (selected_) ExpandNode(selected_, true);
            break;
        case VK_SUBTRACT:
            if (selected_) ExpandNode(selected_, false);
            break;
        case kVkF2:
            if (selected_) StartEditing(selected_);
            break;
        default: return;
    }
    key = 0;
}

void TTreeView::KeyPress(char16_t& key) {
    TCustomControl::KeyPress(key);
    if (key < u' ' || !selected_) return;
    // A typed letter goes to the next shown node starting with it.
    const auto& rows = Rows();
    const int n = static_cast<int>(rows.size());
    const int from = RowOf(selected_);
    const String letter = WideToUtf8(WideString(1, key));
    for (int i = 1; i <= n; ++i) {
        TTreeNode* candidate = rows[static_cast<size_t>((from + i) % n)];
        if (candidate->Text().size() >= letter.size() &&
            CompareText(candidate->Text().substr(0, letter.size()), letter) == 0) {
            SetSelected(candidate);
            break;
        }
    }
    key = 0;
}

bool TTreeView::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    topRow_ -= wheelDelta / WHEEL_DELTA * 3;
    UpdateScrollBar();
    Invalidate();
    return true;
}

void TTreeView::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TTreeView::DoExit() {
    Invalidate();
    TCustomControl::DoExit();
}

void TTreeView::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TTreeView::StartEditing(TTreeNode* node) {
    if (readOnly_ || !node) return;
    bool allow = true;
    if (OnEditing) OnEditing(this, node, allow);
    if (!allow) return;
    node->MakeVisible();
    editing_ = node;
    const TRect t = TextRectOf(node, RowOf(node) - topRow_);
    editor_.Start(TRect{t.left, t.top - 1, t.left + std::max(t.Width() + 40, 60), t.bottom + 1}, node->Text(),
                  [this](bool cancelled, const String& typed) {
                      TTreeNode* edited = editing_;
                      editing_ = nullptr;
                      if (cancelled || !edited) return;
                      String text = typed;
                      if (Edit(edited, text)) edited->SetText(text);
                  });
}

void TTreeView::EndEditing(bool cancel) { editor_.End(cancel); }

int TTreeView::UiItemCount() { return static_cast<int>(Rows().size()); }
String TTreeView::UiItemText(int index) { return Rows().at(static_cast<size_t>(index))->Text(); }
TRect TTreeView::UiItemRect(int index) {
    ScrollIntoView(index);
    TTreeNode* node = Rows().at(static_cast<size_t>(index));
    // A label scrolled out sideways is brought in from its left edge.
    const TRect text = TextRectOf(node, index - topRow_);
    if (text.left < 0 || text.right > ClientWidth()) ScrollToX(scrollX_ + text.left);
    return Intersect(TextRectOf(node, index - topRow_), ClientRect());
}
int TTreeView::UiItemIndex() { return selected_ ? RowOf(selected_) : -1; }

}  // namespace tarvel
