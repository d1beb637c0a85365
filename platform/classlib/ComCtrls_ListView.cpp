// TListView with its columns and items.

#include <algorithm>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ComCtrls_ListView.h"
#include "platform/classlib/ControlPaint.h"

namespace tarvel {

namespace {
constexpr UINT kVkF2 = VK_F1 + 1;
constexpr int kIconCellWidth = 75;
}  // namespace

// ---- columns -----------------------------------------------------------------------------------

void TListColumn::SetCaption(const String& caption) {
    caption_ = caption;
    view_->ColumnsChanged();
}
void TListColumn::SetWidth(int w) {
    width_ = std::max(0, w);
    view_->ColumnsChanged();
}
void TListColumn::SetAlignment(TAlignment a) {
    alignment_ = a;
    view_->ColumnsChanged();
}
int TListColumn::Index() const { return view_->Columns()->IndexOf(this); }

TListColumn* TListColumns::Add() {
    TListColumn* column = Append(new TListColumn(view_));
    view_->ColumnsChanged();
    return column;
}
void TListColumns::Delete(int index) {
    Remove(index);
    view_->ColumnsChanged();
}
void TListColumns::Clear() {
    RemoveAll();
    view_->ColumnsChanged();
}

// ---- items -----------------------------------------------------------------------------------

TListItem::TListItem(TListView* view) : view_(view), subItems_(std::make_unique<TStringList>()) {
    subItems_->OnChange = [this](TObject*) {
        if (!view_->ownerData_) view_->Invalidate();
    };
}
TListItem::~TListItem() { subItems_->OnChange = nullptr; }

void TListItem::SetCaption(const String& caption) {
    caption_ = caption;
    // An owner-data item is being filled for a look; nothing changed.
    if (!view_->ownerData_) view_->ItemsChanged();
}
void TListItem::SetImageIndex(int i) {
    imageIndex_ = i;
    if (!view_->ownerData_) view_->Invalidate();
}
void TListItem::SetSelected(bool v) { view_->SetItemSelected(this, v); }
int TListItem::Index() const { return view_->OwnerData() ? virtualIndex_ : view_->Items()->IndexOf(this); }
void TListItem::Delete() { view_->Items()->Delete(Index()); }
void TListItem::MakeVisible() { view_->ScrollIntoView(Index()); }
TRect TListItem::DisplayRect() {
    TRect r = view_->ItemRect(Index());
    const TRect area = view_->ItemArea();
    r.Offset(area.left - view_->scrollX_, area.top - view_->scrollY_);
    return r;
}

void TListItem::EditCaption() {
    TListView* v = view_;
    if (v->readOnly_) return;
    bool allow = true;
    if (v->OnEditing) v->OnEditing(v, this, allow);
    if (!allow) return;
    MakeVisible();
    const TRect r = v->CaptionRect(Index());
    const int index = Index();
    v->editor_.Start(r, caption_, [v, index](bool cancelled, const String& typed) {
        if (cancelled || index >= v->Items()->Count()) return;
        TListItem* item = v->Items()->Item(index);
        String text = typed;
        if (v->OnEdited) v->OnEdited(v, item, text);
        item->SetCaption(text);
    });
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index) {
    index = std::clamp(index, 0, static_cast<int>(items_.size()));
    items_.insert(items_.begin() + index, std::unique_ptr<TListItem>(new TListItem(view_)));
    TListItem* item = items_[static_cast<size_t>(index)].get();
    if (updating_ == 0) view_->ItemsChanged();
    return item;
}

TListItem* TListItems::Item(int index) {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    if (!view_->ownerData_) return items_[static_cast<size_t>(index)].get();
    // Owner data: one scratch item, filled afresh each time.
    if (!scratch_) scratch_.reset(new TListItem(view_));
    scratch_->subItems_->OnChange = nullptr;
    scratch_->caption_.clear();
    scratch_->subItems_->Clear();
    scratch_->imageIndex_ = -1;
    scratch_->data_ = nullptr;
    scratch_->selected_ = view_->IsSelected(index);
    scratch_->virtualIndex_ = index;
    if (view_->OnData) view_->OnData(view_, scratch_.get());
    return scratch_.get();
}

int TListItems::Count() const { return view_->ownerData_ ? virtualCount_ : static_cast<int>(items_.size()); }

void TListItems::SetCount(int count) {
    virtualCount_ = std::max(0, count);
    std::erase_if(view_->virtualSelection_, [&](int i) { return i >= virtualCount_; });
    view_->ItemsChanged();
}

void TListItems::Delete(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size()))
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    items_.erase(items_.begin() + index);
    if (view_->focused_ >= Count()) view_->focused_ = Count() - 1;
    if (updating_ == 0) view_->ItemsChanged();
}

void TListItems::Clear() {
    items_.clear();
    virtualCount_ = 0;
    view_->virtualSelection_.clear();
    view_->focused_ = view_->anchor_ = -1;
    view_->ItemsChanged();
}

void TListItems::EndUpdate() {
    if (updating_ > 0 && --updating_ == 0) view_->ItemsChanged();
}

int TListItems::IndexOf(const TListItem* item) const {
    if (view_->ownerData_) return -1;
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
}

// ---- TListView ------------------------------------------------------------------------------

void TListView::DeclareMessages(TMessageTable& t) {
    t.Add<&TListView::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TListView::WMScroll>(WM_HSCROLL);
    t.Add<&TListView::WMScroll>(WM_VSCROLL);
}

TListView::TListView(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
    header_ = new THeaderControl(this);
    header_->SetVisible(false);
    header_->SetParent(this);
    header_->OnSectionTrack = [this](THeaderControl*, THeaderSection* s, int width, TSectionTrackState) {
        if (s->Index() < columns_.Count()) columns_.Items(s->Index())->width_ = width;
        UpdateScrollBars();
        Invalidate();
    };
    header_->OnSectionClick = [this](THeaderControl*, THeaderSection* s) {
        NotifyParent(this, LVN_COLUMNCLICK);
        if (OnColumnClick && s->Index() < columns_.Count()) OnColumnClick(this, columns_.Items(s->Index()));
    };
    header_->OnSectionEndDrag = [this](TObject*) {
        Invalidate();
        if (OnColumnDragged) OnColumnDragged(this);
    };
}

TListView::~TListView() {
    header_->OnSectionTrack = nullptr;
    header_->OnSectionClick = nullptr;
    header_->OnSectionEndDrag = nullptr;
    OnData = nullptr;
}

void TListView::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateHandleDone() {
    bars_.Attach();
    Layout();
}

void TListView::WndProc(TMessage& m) {
    if (bars_.HandleMessage(m, [this](TMessage& msg) { TCustomControl::WndProc(msg); })) return;
    TCustomControl::WndProc(m);
}

void TListView::SetViewStyle(TViewStyle style) {
    viewStyle_ = style;
    Layout();
}

void TListView::SetLargeImages(TCustomImageList* images) {
    largeImages_ = images;
    Layout();
}

void TListView::SetSmallImages(TCustomImageList* images) {
    smallImages_ = images;
    Layout();
}

void TListView::SetMultiSelect(bool v) {
    multiSelect_ = v;
    if (!v) {
        TListItem* keep = Selected();
        ClearSelection();
        if (keep) SetItemSelected(keep, true);
    }
}

void TListView::SetShowColumnHeaders(bool v) {
    showColumnHeaders_ = v;
    Layout();
}

void TListView::SetOwnerData(bool v) {
    ownerData_ = v;
    items_.items_.clear();
    virtualSelection_.clear();
    focused_ = anchor_ = -1;
    Layout();
}

void TListView::SetSortType(TSortType t) {
    sortType_ = t;
    SortIfWanted();
}

TCustomImageList* TListView::ImagesForStyle() const {
    return viewStyle_ == vsIcon ? largeImages_ : smallImages_;
}

void TListView::ItemsChanged() {
    SortIfWanted();
    Layout();
}

void TListView::ColumnsChanged() {
    if (!header_) return;
    auto* sections = header_->Sections();
    while (sections->Count() > columns_.Count()) sections->Delete(sections->Count() - 1);
    while (sections->Count() < columns_.Count()) sections->Add();
    for (int i = 0; i < columns_.Count(); ++i) {
        TListColumn* c = columns_.Items(i);
        THeaderSection* s = sections->Items(i);
        if (s->Text() != c->Caption()) s->SetText(c->Caption());
        if (s->Width() != c->Width()) s->SetWidth(c->Width());
        if (s->Alignment() != c->Alignment()) s->SetAlignment(c->Alignment());
    }
    Layout();
}

void TListView::SortIfWanted() {
    if (sortType_ != stNone && !ownerData_) AlphaSort();
}

bool TListView::CustomSort(const std::function<int(TListItem*, TListItem*)>& compare) {
    if (ownerData_) return false;
    auto& v = items_.items_;
    std::stable_sort(v.begin(), v.end(),
                     [&](const auto& a, const auto& b) { return compare(a.get(), b.get()) < 0; });
    Invalidate();
    return true;
}

bool TListView::AlphaSort() {
    return CustomSort([this](TListItem* a, TListItem* b) {
        if (OnCompare) {
            int result = 0;
            OnCompare(this, a, b, 0, result);
            return result;
        }
        if (sortType_ == stData) return a->Data() < b->Data() ? -1 : a->Data() > b->Data() ? 1 : 0;
        return CompareText(a->Caption(), b->Caption());
    });
}

bool TListView::IsSelected(int index) {
    if (ownerData_)
        return std::find(virtualSelection_.begin(), virtualSelection_.end(), index) !=
               virtualSelection_.end();
    return index >= 0 && index < items_.Count() && items_.items_[static_cast<size_t>(index)]->selected_;
}

void TListView::SetItemSelected(TListItem* item, bool v) {
    if (!item || item->selected_ == v) return;
    if (v && !multiSelect_) ClearSelection();
    item->selected_ = v;
    Invalidate();
    NotifyParent(this, LVN_ITEMCHANGED);
    if (OnSelectItem) OnSelectItem(this, item, v);
}

void TListView::ClearSelection() {
    if (ownerData_) {
        virtualSelection_.clear();
        Invalidate();
        return;
    }
    for (auto& it : items_.items_) SetItemSelected(it.get(), false);
}

TListItem* TListView::Selected() {
    for (int i = 0; i < items_.Count(); ++i)
        if (IsSelected(i)) return items_.Item(i);
    return nullptr;
}

void TListView::SetSelected(TListItem* item) {
    ClearSelection();
    if (item) {
        SetItemSelected(item, true);
        focused_ = anchor_ = item->Index();
    }
}

int TListView::ItemIndex() {
    for (int i = 0; i < items_.Count(); ++i)
        if (IsSelected(i)) return i;
    return -1;
}

void TListView::SetItemIndex(int index) {
    if (index < 0 || index >= items_.Count()) {
        ClearSelection();
        return;
    }
    if (ownerData_) {
        virtualSelection_ = {index};
        focused_ = anchor_ = index;
        Invalidate();
        return;
    }
    SetSelected(items_.Item(index));
}

int TListView::SelCount() {
    int n = 0;
    for (int i = 0; i < items_.Count(); ++i)
        if (IsSelected(i)) ++n;
    return n;
}

TListItem* TListView::ItemFocused() {
    return focused_ >= 0 && focused_ < items_.Count() ? items_.Item(focused_) : nullptr;
}

void TListView::SelectRange(int from, int to) {
    if (from > to) std::swap(from, to);
    ClearSelection();
    for (int i = from; i <= to; ++i) {
        if (ownerData_)
            virtualSelection_.push_back(i);
        else
            SetItemSelected(items_.Item(i), true);
    }
    Invalidate();
}

int TListView::FindCaption(int start, const String& value, bool partial, bool inclusive, bool wrap) {
    const int n = items_.Count();
    if (n == 0) return -1;
    start = std::clamp(start, 0, n - 1);
    const int first = inclusive ? start : start + 1;
    const int span = wrap ? n : n - first;
    for (int k = 0; k < span; ++k) {
        const int i = (first + k) % n;
        if (!wrap && i < first) break;
        const String caption = items_.Item(i)->Caption();
        const bool match = partial ? caption.size() >= value.size() &&
                                         CompareText(caption.substr(0, value.size()), value) == 0
                                   : CompareText(caption, value) == 0;
        if (match) return i;
    }
    return -1;
}

// ---- geometry ----------------------------------------------------------------------------------

int TListView::RowHeight() {
    int h = MeasureText(Font(), "Wg", 0, false).cy + 3;
    if (smallImages_) h = std::max(h, smallImages_->Height() + 1);
    return h;
}

TSize TListView::CellSize() {
    const int textH = MeasureText(Font(), "Wg", 0, false).cy;
    switch (viewStyle_) {
        case vsIcon: {
            const int ih = largeImages_ ? largeImages_->Height() : 32;
            const int iw = largeImages_ ? largeImages_->Width() : 32;
            return TSize{std::max(kIconCellWidth, iw + 16), ih + textH + 10};
        }
        case vsSmallIcon:
        case vsList: {
            int w = ownerData_ ? 120 : 40;
            for (int i = 0; i < (ownerData_ ? 0 : std::min(items_.Count(), 2000)); ++i)
                w = std::max(w, MeasureText(Font(), items_.Item(i)->Caption(), 0, false).cx);
            return TSize{std::min(w, 250) + (smallImages_ ? smallImages_->Width() + 4 : 0) + 12, RowHeight()};
        }
        case vsReport: {
            int w = 0;
            for (int i = 0; i < columns_.Count(); ++i) w += columns_.Items(i)->Width();
            return TSize{w, RowHeight()};
        }
    }
    return TSize{};
}

TRect TListView::ItemArea() {
    TRect r = ClientRect();
    if (header_ && header_->Visible()) r.top += header_->Height();
    return r;
}

int TListView::ItemsPerLine() {
    const TSize cell = CellSize();
    const TRect area = ItemArea();
    if (viewStyle_ == vsList) return std::max(1, area.Height() / std::max(1, cell.cy));
    return std::max(1, area.Width() / std::max(1, cell.cx));
}

TRect TListView::ItemRect(int index) {
    const TSize cell = CellSize();
    switch (viewStyle_) {
        case vsReport: return Bounds(0, index * cell.cy, std::max(cell.cx, ItemArea().Width()), cell.cy);
        case vsList: {
            const int perColumn = ItemsPerLine();
            return Bounds(index / perColumn * cell.cx, index % perColumn * cell.cy, cell.cx, cell.cy);
        }
        default: {
            const int perRow = ItemsPerLine();
            return Bounds(index % perRow * cell.cx, index / perRow * cell.cy, cell.cx, cell.cy);
        }
    }
}

TSize TListView::ContentSize() {
    const int n = items_.Count();
    if (n == 0) return viewStyle_ == vsReport ? TSize{CellSize().cx, 0} : TSize{};
    const TRect last = ItemRect(n - 1);
    switch (viewStyle_) {
        case vsReport: return TSize{CellSize().cx, last.bottom};
        case vsList: return TSize{last.right, 0};
        default: return TSize{0, last.bottom};
    }
}

std::vector<int> TListView::ColumnOrder() const {
    std::vector<int> order = header_ ? header_->SectionOrder() : std::vector<int>{};
    if (static_cast<int>(order.size()) != columns_.Count()) {
        order.resize(static_cast<size_t>(columns_.Count()));
        for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    }
    return order;
}

int TListView::ColumnLeft(int column) {
    int x = 0;
    for (int c : ColumnOrder()) {
        if (c == column) break;
        x += columns_.Items(c)->Width();
    }
    return x;
}

TRect TListView::CaptionRect(int index) {
    TRect r = ItemRect(index);
    const TRect area = ItemArea();
    r.Offset(area.left - scrollX_, area.top - scrollY_);
    if (viewStyle_ == vsReport && columns_.Count() > 0) {
        r.left += ColumnLeft(0);
        r.right = r.left + columns_.Items(0)->Width();
    }
    return r;
}

void TListView::Layout() {
    if (!header_) return;
    header_->SetVisible(viewStyle_ == vsReport && showColumnHeaders_);
    UpdateScrollBars();
    Invalidate();
}

void TListView::UpdateScrollBars() {
    if (updatingBars_) return;
    updatingBars_ = true;
    // Showing one bar narrows the client, which may call for the other.
    for (int pass = 0; pass < 2; ++pass) {
        const bool shown[] = {bars_.Visible(SB_VERT), bars_.Visible(SB_HORZ)};
        if (header_->Visible()) header_->SetBounds(0, 0, ClientWidth(), RowHeight() + 2);
        const TRect area = ItemArea();
        const TSize content = ContentSize();
        scrollX_ = std::clamp(scrollX_, 0, std::max(0, content.cx - area.Width()));
        // The report's vertical bar counts rows, as its scroll requests do.
        const int unitY = viewStyle_ == vsReport ? RowHeight() : 1;
        const int rangeY = (content.cy + unitY - 1) / unitY;
        const int pageY = std::max(1, area.Height() / unitY);
        scrollY_ = std::clamp(scrollY_ / unitY, 0, std::max(0, rangeY - pageY)) * unitY;
        if (!HandleAllocated()) continue;
        SetViewScrollBar(bars_, SB_VERT, rangeY, pageY, scrollY_ / unitY);
        SetViewScrollBar(bars_, SB_HORZ, content.cx, area.Width(), scrollX_);
        if (shown[0] == bars_.Visible(SB_VERT) && shown[1] == bars_.Visible(SB_HORZ)) break;
    }
    header_->SetOffset(scrollX_);
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    updatingBars_ = false;
}

void TListView::Resize() {
    TCustomControl::Resize();
    Layout();
}

void TListView::ScrollIntoView(int index) {
    if (index < 0 || index >= items_.Count()) return;
    const TRect r = ItemRect(index);
    const TRect area = ItemArea();
    int x = scrollX_, y = scrollY_;
    if (viewStyle_ == vsList) {
        if (r.left < x)
            x = r.left;
        else if (r.right > x + area.Width())
            x = r.right - area.Width();
    } else if (viewStyle_ == vsReport) {
        // Whole rows: the row lands at the top or as the last whole one.
        const int h = std::max(1, RowHeight());
        const int page = std::max(1, area.Height() / h);
        if (index < y / h)
            y = index * h;
        else if (index >= y / h + page)
            y = (index - page + 1) * h;
    } else {
        if (r.top < y)
            y = r.top;
        else if (r.bottom > y + area.Height())
            y = r.bottom - area.Height();
    }
    ScrollTo(x, y);
}

void TListView::ScrollTo(int x, int y) {
    scrollX_ = x;
    scrollY_ = y;
    UpdateScrollBars();
    Invalidate();
}

void TListView::Scroll(int dx, int dy) {
    int64_t y = dy;
    if (viewStyle_ == vsReport) {
        // Whole rows, the nearest: half a row or more is a row.
        const int64_t h = std::max(1, RowHeight());
        const int64_t rows = (std::abs(y) + h / 2) / h;
        y = (y < 0 ? -rows : rows) * h;
    }
    // Any distance is taken; the view stops at its ends.
    constexpr int64_t kFar = 1 << 30;
    ScrollTo(static_cast<int>(std::clamp<int64_t>(int64_t{scrollX_} + dx, -kFar, kFar)),
             static_cast<int>(std::clamp<int64_t>(int64_t{scrollY_} + y, -kFar, kFar)));
}

void TListView::WMScroll(TMessage& m) {
    const bool vert = m.Msg == WM_VSCROLL;
    const bool rows = vert && viewStyle_ == vsReport;
    const int line = rows ? 1 : vert ? CellSize().cy : RowHeight();
    const std::optional<int> pos =
        ScrollRequestPosition(bars_.Info(vert ? SB_VERT : SB_HORZ), m.WParam, line);
    if (!pos) return;
    if (vert)
        ScrollTo(scrollX_, *pos * (rows ? RowHeight() : 1));
    else
        ScrollTo(*pos, scrollY_);
    if (OnScroll) OnScroll(this);
}

int TListView::IndexAt(int x, int y) {
    const TRect area = ItemArea();
    if (!area.Contains(TPoint{x, y})) return -1;
    const TPoint p{x - area.left + scrollX_, y - area.top + scrollY_};
    const TSize cell = CellSize();
    int index = -1;
    if (viewStyle_ == vsReport)
        index = p.y / std::max(1, cell.cy);
    else if (viewStyle_ == vsList)
        index = p.x / std::max(1, cell.cx) * ItemsPerLine() + p.y / std::max(1, cell.cy);
    else if (p.x < ItemsPerLine() * cell.cx)
        index = p.y / std::max(1, cell.cy) * ItemsPerLine() + p.x / std::max(1, cell.cx);
    if (index < 0 || index >= items_.Count() || !ItemRect(index).Contains(p)) return -1;
    return index;
}

TListItem* TListView::GetItemAt(int x, int y) {
    const int index = IndexAt(x, y);
    return index < 0 ? nullptr : items_.Item(index);
}

TListItem* TListView::TopItem() {
    const TRect area = ItemArea();
    return GetItemAt(area.left + 1, area.top + 1);
}

// ---- painting ----------------------------------------------------------------------------------

void TListView::Paint() {
    HDC dc = Canvas()->Handle();
    FillColor(dc, ClientRect(), Color());
    const TRect area = ItemArea();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    TCustomImageList* images = ImagesForStyle();
    const bool showSel = Focused() || !hideSelection_;
    const TColor selBack = Focused() ? clHighlight : clBtnFace;
    const TColor selText = Focused() ? clHighlightText : Font()->Color();
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    const unsigned kCellFlags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    const bool report = viewStyle_ == vsReport;
    const std::vector<int> order = ColumnOrder();
    const int rowWidth = CellSize().cx;
    for (int i = 0; i < items_.Count(); ++i) {
        TRect r = ItemRect(i);
        r.Offset(area.left - scrollX_, area.top - scrollY_);
        if (r.bottom <= area.top) continue;
        if (r.top >= area.bottom && viewStyle_ != vsList) break;
        if (r.left >= area.right || r.right <= area.left) continue;
        TListItem* item = items_.Item(i);
        const bool sel = IsSelected(i) && showSel;
        const TColor text = !Enabled() ? clGrayText : sel ? selText : Font()->Color();
        if (viewStyle_ == vsIcon) {
            const int iw = images ? images->Width() : 32, ih = images ? images->Height() : 32;
            if (images && item->ImageIndex() >= 0)
                images->Draw(Canvas(), r.left + (r.Width() - iw) / 2, r.top + 2, item->ImageIndex(),
                             Enabled());
            TRect t{r.left + 1, r.top + ih + 4, r.right - 1, r.bottom};
            if (sel) FillColor(dc, t, selBack);
            DrawCaption(dc, Font(), item->Caption(), t,
                        DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX, text);
            if (i == focused_ && Focused()) DrawFocusRect(dc, t);
            continue;
        }
        // The caption's cell: the whole row outside the report, else column 0
        // wherever the display order put it.
        TRect cell = r;
        if (report && !order.empty()) {
            cell.left = r.left + ColumnLeft(0);
            cell.right = cell.left + columns_.Items(0)->Width();
        }
        int x = cell.left + 2;
        if (images) {
            if (item->ImageIndex() >= 0)
                images->Draw(Canvas(), x, r.top + (r.Height() - images->Height()) / 2, item->ImageIndex(),
                             Enabled());
            x += images->Width() + 2;
        }
        TRect t{x, r.top, cell.right, r.bottom};
        if (!report) t.right = std::min(t.right, x + MeasureText(Font(), item->Caption(), 0, false).cx + 6);
        TRect band = t;
        if (rowSelect_ && report)
            band = TRect{cell.left == r.left ? x : r.left, r.top, r.left + rowWidth, r.bottom};
        if (sel) FillColor(dc, band, selBack);
        const unsigned firstAlign =
            report && !order.empty() ? kAlign[columns_.Items(0)->Alignment()] : DT_LEFT;
        DrawCaption(dc, Font(), item->Caption(), InflatedRect(t, -2, 0), firstAlign | kCellFlags, text);
        if (report) {
            const TColor subText = (sel && rowSelect_) ? text : (Enabled() ? Font()->Color() : clGrayText);
            int cx = r.left;
            for (int col : order) {
                const int w = columns_.Items(col)->Width();
                if (col > 0) {
                    const String sub =
                        col - 1 < item->SubItems()->Count() ? item->SubItems()->Strings(col - 1) : String();
                    DrawCaption(dc, Font(), sub, TRect{cx + 6, r.top, cx + w - 6, r.bottom},
                                kAlign[columns_.Items(col)->Alignment()] | kCellFlags, subText);
                }
                cx += w;
            }
        }
        if (i == focused_ && Focused()) DrawFocusRect(dc, band);
    }
    if (gridLines_ && report) {
        const int h = std::max(1, CellSize().cy);
        for (int y = area.top - scrollY_ % h + h - 1; y < area.bottom; y += h)
            DrawLine(dc, area.left, y, area.right, y, cl3DLight);
        int x = area.left - scrollX_;
        for (int col : order) {
            x += columns_.Items(col)->Width();
            DrawLine(dc, x - 1, area.top, x - 1, area.bottom, cl3DLight);
        }
    }
    RestoreDC(dc, saved);
}

// ---- input -----------------------------------------------------------------------------------

void TListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (editor_.Active()) editor_.End(false);
    const int clicked = IndexAt(x, y);
    if (clicked < 0) {
        if (button == mbLeft) ClearSelection();
        return;
    }
    if (multiSelect_ && shift.Contains(ssShift) && anchor_ >= 0) {
        SelectRange(anchor_, clicked);
    } else if (multiSelect_ && shift.Contains(ssCtrl)) {
        if (ownerData_) {
            auto it = std::find(virtualSelection_.begin(), virtualSelection_.end(), clicked);
            if (it == virtualSelection_.end())
                virtualSelection_.push_back(clicked);
            else
                virtualSelection_.erase(it);
        } else {
            TListItem* item = items_.Item(clicked);
            SetItemSelected(item, !item->Selected());
        }
        anchor_ = clicked;
    } else if (button == mbLeft || !IsSelected(clicked)) {
        SetItemIndex(clicked);
        anchor_ = clicked;
    }
    focused_ = clicked;
    Invalidate();
}

void TListView::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (viewStyle_ == vsReport && (key == VK_LEFT || key == VK_RIGHT)) {
        // The report has nothing sideways to select: the keys scroll it.
        Scroll(key == VK_LEFT ? -RowHeight() : RowHeight(), 0);
        key = 0;
        return;
    }
    const int n = items_.Count();
    if (n == 0) return;
    const int per = ItemsPerLine();
    const bool grid = viewStyle_ == vsIcon || viewStyle_ == vsSmallIcon;
    const bool list = viewStyle_ == vsList;
    int target = focused_;
    const int page = std::max(1, ItemArea().Height() / std::max(1, CellSize().cy));
    switch (key) {
        case VK_UP: target = focused_ - (grid ? per : 1); break;
        case VK_DOWN: target = focused_ < 0 ? 0 : focused_ + (grid ? per : 1); break;
        case VK_LEFT: target = focused_ - (list ? per : 1); break;
        case VK_RIGHT: target = focused_ + (list ? per : 1); break;
        case VK_HOME: target = 0; break;
        case VK_END: target = n - 1; break;
        case VK_PRIOR: target = focused_ - page * (grid ? per : 1); break;
        case VK_NEXT: target = focused_ + page * (grid ? per : 1); break;
        case kVkF2:
            if (!ownerData_ && focused_ >= 0) items_.Item(focused_)->EditCaption();
            key = 0;
            return;
        default: return;
    }
    key = 0;
    if (viewStyle_ == vsReport && (target < 0 || target >= n)) target = std::clamp(target, 0, n - 1);
    if (target < 0 || target >= n) return;
    if (multiSelect_ && shift.Contains(ssShift) && anchor_ >= 0)
        SelectRange(anchor_, target);
    else {
        SetItemIndex(target);
        anchor_ = target;
    }
    focused_ = target;
    ScrollIntoView(target);
}

bool TListView::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    // A list runs sideways, a column a notch; the others three rows a notch.
    const int notches = -wheelDelta / WHEEL_DELTA;
    if (viewStyle_ == vsList)
        Scroll(notches * CellSize().cx, 0);
    else
        Scroll(0, notches * 3 * CellSize().cy);
    if (OnScroll) OnScroll(this);
    return true;
}

void TListView::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TListView::DoExit() {
    Invalidate();
    TCustomControl::DoExit();
}

void TListView::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }

String TListView::UiItemText(int index) { return items_.Item(index)->Caption(); }

TRect TListView::UiItemRect(int index) {
    ScrollIntoView(index);
    const TRect area = ItemArea();
    // The caption where it shows, else the row's part in view.
    TRect r = Intersect(CaptionRect(index), area);
    if (r.IsEmpty()) r = Intersect(items_.Item(index)->DisplayRect(), area);
    return r;
}

}  // namespace tarvel
