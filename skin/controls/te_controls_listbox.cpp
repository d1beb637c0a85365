#include "skin/controls/te_controls_listbox.h"

#include <algorithm>

#include "platform/classlib/Colors.h"
#include "platform/classlib/ControlPaint.h"
#include "platform/classlib/Forms.h"
#include "platform/gdi/FontList.h"
#include "platform/winsys/SystemApi.h"
#include "skin/controls/te_controls_init.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

// ---- the item list -----------------------------------------------------------------------------

String TWyListBoxItems::Get(int index) const {
    return index >= 0 && index < Count() ? TStringList::Get(index) : String();
}

void TWyListBoxItems::Put(int index, const String& s) {
    TStringList::Put(index, s);
    listBox_->ItemsChanged();
}

void TWyListBoxItems::PutObject(int index, TObject* object) {
    TStringList::PutObject(index, object);
    listBox_->ItemsChanged();
}

void TWyListBoxItems::InsertObject(int index, const String& s, TObject* object) {
    TStringList::InsertObject(index, s, object);
    listBox_->ItemInserted(index);
}

int TWyListBoxItems::AddObject(const String& s, TObject* object) {
    const int before = Count();
    const int index = TStringList::AddObject(s, object);
    // A sorted list may have refused a duplicate.
    if (Count() > before) listBox_->ItemInserted(index);
    return index;
}

void TWyListBoxItems::Delete(int index) {
    TStringList::Delete(index);
    listBox_->ItemDeleted(index);
}

void TWyListBoxItems::Clear() {
    TStringList::Clear();
    listBox_->ItemsCleared();
}

void TWyListBoxItems::Exchange(int index1, int index2) {
    TStringList::Exchange(index1, index2);
    listBox_->ItemsSwapped(index1, index2);
}

void TWyListBoxItems::SetUpdateState(bool updating) {
    TStringList::SetUpdateState(updating);
    listBox_->updating_ = updating;
    if (!updating) listBox_->ItemsChanged();
}

// ---- the list box ------------------------------------------------------------------------------

void TTeListBox::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeListBox::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TTeListBox::CMEnabledChanged>(CM_ENABLEDCHANGED);
    t.Add<&TTeListBox::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeListBox::TTeListBox(TComponent* owner) : TTeControl(owner), TTeThemeLinked(this, {ktlrSkipSame}) {
    SetPerformance(qvpDoubleBuffer);
    SetColor(clWindow);
    SetBevelKind(kbkSingle);
    SetBevelWidth(1);
    SetBorderWidth(0);
    items_ = new TWyListBoxItems(this);
    bar_ = new TTeScrollBar(this);
    bar_->SetParent(this);
    bar_->SetOrientation(ksoVertical);
    bar_->SetBorderWidth(0);
    bar_->UpdateSytemSize();
    barSize_ = bar_->Width();
    bar_->OnScroll = [this](TObject* s, TTeScrollCode code, int& pos) { BarScroll(s, code, pos); };
    bar_->OnChange = [this](TObject* s) { BarChange(s); };
    ControlStyle.Include(csCaptureMouse);
    ControlStyle.Include(csDoubleClicks);
    SetTabStop(true);
    SetBounds(Left(), Top(), 121, 97);
    AddThemeNotification(this);
}

TTeListBox::~TTeListBox() {
    RemoveThemeNotification(this);
    OnItemsChanged = nullptr;
    delete items_;
    delete fontValue_;
}

void TTeListBox::Loaded() {
    TTeControl::Loaded();
    UpdateScrlBar();
}

void TTeListBox::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
    if (operation == TOperation::opRemove && component == bar_) bar_ = nullptr;
    if (operation == TOperation::opRemove && component == images_) SetImages(nullptr);
}

// ---- items and their flags ---------------------------------------------------------------------

void TTeListBox::ItemInserted(int index) {
    index = std::clamp(index, 0, static_cast<int>(flags_.size()));
    flags_.insert(flags_.begin() + index, TItemFlags{});
    if (itemIndex_ >= index && itemIndex_ >= 0) ++itemIndex_;
    ItemsChanged();
}

void TTeListBox::ItemDeleted(int index) {
    if (Valid(index)) flags_.erase(flags_.begin() + index);
    if (itemIndex_ >= index) itemIndex_ = itemIndex_ - 1;
    if (itemIndex_ >= Count()) itemIndex_ = Count() - 1;
    if (selAnchor_ >= Count()) selAnchor_ = -1;
    ItemsChanged();
}

void TTeListBox::ItemsSwapped(int a, int b) {
    if (Valid(a) && Valid(b)) std::swap(flags_[a], flags_[b]);
    ItemsChanged();
}

void TTeListBox::ItemsCleared() {
    flags_.clear();
    ItemsChanged();
}

void TTeListBox::ItemsChanged() {
    // Every change keeps the flags as long as the items.
    flags_.resize(static_cast<size_t>(Count()));
    if (Count() == 0) {
        itemIndex_ = -1;
        selAnchor_ = -1;
        hotItem_ = -1;
    }
    itemIndex_ = std::min(itemIndex_, Count() - 1);
    if (hotItem_ >= Count()) hotItem_ = -1;
    if (updating_) return;
    topIndex_ = std::clamp(topIndex_, 0, MaxTopIndex());
    UpdateScrlBar();
    Invalidate();
    if (OnItemsChanged) OnItemsChanged(this);
}

bool TTeListBox::Selected(int index) const { return Valid(index) && flags_[index].selected; }

void TTeListBox::SetSelected(int index, bool value) {
    if (!Valid(index) || flags_[index].selected == value) return;
    flags_[index].selected = value;
    Invalidate();
}

TCheckBoxState TTeListBox::State(int index) const { return Valid(index) ? flags_[index].state : cbUnchecked; }

void TTeListBox::SetState(int index, TCheckBoxState value) {
    if (!Valid(index) || flags_[index].state == value) return;
    if (value == cbGrayed && !allowGrayed_) value = cbChecked;
    flags_[index].state = value;
    Invalidate();
}

bool TTeListBox::ItemEnabled(int index) const { return Valid(index) && flags_[index].enabled; }

void TTeListBox::SetItemEnabled(int index, bool value) {
    if (!Valid(index) || flags_[index].enabled == value) return;
    flags_[index].enabled = value;
    Invalidate();
}

int TTeListBox::SelCount() const {
    return static_cast<int>(std::count_if(flags_.begin(), flags_.end(), [](auto& f) { return f.selected; }));
}

void TTeListBox::DeleteSelected() {
    if (multiSelect_) {
        for (int i = Count() - 1; i >= 0; --i)
            if (flags_[i].selected) items_->Delete(i);
    } else if (Valid(itemIndex_)) {
        items_->Delete(itemIndex_);
    }
}

// ---- properties --------------------------------------------------------------------------------

void TTeListBox::SetItemHeight(int value) {
    value = std::max(value, 1);
    if (value == itemHeight_) return;
    itemHeight_ = value;
    UpdateScrlBar();
    Invalidate();
}

void TTeListBox::SetListStyle(TTeListBoxStyle value) {
    if (value == listStyle_) return;
    listStyle_ = value;
    if (FontStyle()) {
        BuildFontList();
        itemHeight_ = 18;
    } else if (ColorStyle()) {
        BuildColorList();
        itemHeight_ = 18;
    }
    if (HandleAllocated()) {
        UpdateScrlBar();
        // The rows may have changed height: snap to whole rows again.
        SetBounds(Left(), Top(), Width(), Height());
    }
    Invalidate();
}

void TTeListBox::SetImages(TCustomImageList* value) {
    if (value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_) images_->FreeNotification(this);
    SetItemHeight(images_ ? images_->Height() : 16);
    Invalidate();
}

void TTeListBox::SetColumns(int value) {
    value = std::max(value, 0);
    if (value == columns_) return;
    columns_ = value;
    topIndex_ = 0;
    UpdateScrlBar();
    Invalidate();
}

void TTeListBox::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    UpdateScrlBar();
    if (HandleAllocated()) SetBounds(Left(), Top(), Width(), Height());
    Invalidate();
}

void TTeListBox::SetFontDevice(TTeFontDevice value) {
    if (value == fontDevice_) return;
    fontDevice_ = value;
    if (FontStyle()) BuildFontList();
}

void TTeListBox::SetFontType(TTeFontType value) {
    if (value == fontType_) return;
    fontType_ = value;
    if (FontStyle()) BuildFontList();
}

// Printing goes through the same font families as the screen here, so both
// devices list the installed families.
void TTeListBox::BuildFontList() {
    items_->BeginUpdate();
    items_->Clear();
    items_->Duplicates = TDuplicates::dupAccept;
    items_->SetSorted(true);
    for (const FontFamilyInfo& f : InstalledFontFamilies()) {
        if (fontType_ == ftTrueType && !f.scalable) continue;
        if (fontType_ == ftFixedPitch && !f.fixedPitch) continue;
        const uintptr_t pitch = (f.scalable ? kFontTrueType : 0) | (f.fixedPitch ? 0 : kFontPitchVariable);
        // A face name holds 31 characters at most.
        const String name = WideToUtf8(Utf8ToWide(f.name).substr(0, 31));
        items_->AddObject(name, reinterpret_cast<TObject*>(pitch));
    }
    items_->EndUpdate();
}

void TTeListBox::BuildColorList() {
    items_->BeginUpdate();
    items_->Clear();
    items_->SetSorted(false);
    GetColorValues([this](const String& ident) { items_->Add(ident); });
    items_->EndUpdate();
}

TColor TTeListBox::ColorValue() const {
    return Valid(itemIndex_) ? StringToColor(items_->Get(itemIndex_)) : TColor{0};
}

TFont* TTeListBox::FontValue() {
    if (!fontValue_) fontValue_ = new TFont();
    if (Valid(itemIndex_)) fontValue_->SetName(items_->Get(itemIndex_));
    return fontValue_;
}

void TTeListBox::SetMultiSelect(bool value) {
    if (value == multiSelect_) return;
    multiSelect_ = value;
    for (auto& f : flags_) f.selected = false;
    selAnchor_ = -1;
    UpdateSelRange();
    Invalidate();
}

void TTeListBox::SetShowCheckBoxes(bool value) {
    if (value == showCheckBoxes_) return;
    showCheckBoxes_ = value;
    Invalidate();
}

void TTeListBox::SetAllowGrayed(bool value) {
    if (value == allowGrayed_) return;
    allowGrayed_ = value;
    if (!value)
        for (auto& f : flags_)
            if (f.state == cbGrayed) f.state = cbChecked;
    Invalidate();
}

void TTeListBox::SetSorted(bool value) {
    if (value == items_->Sorted()) return;
    // A sorted list takes duplicates too.
    items_->Duplicates = TDuplicates::dupAccept;
    items_->SetSorted(value);
    ItemsChanged();
}

void TTeListBox::SetFlat(bool value) {
    if (value == flat_) return;
    flat_ = value;
    Invalidate();
}

void TTeListBox::SetAlwaysShowScrlBar(bool value) {
    if (value == alwaysShowScrlBar_) return;
    alwaysShowScrlBar_ = value;
    UpdateScrlBar();
}

void TTeListBox::SetThemeLink(TteCustomThemeLink* value) {
    if (value == themeLink_) return;
    if (bar_) bar_->SetThemeLink(value);
    TTeThemeLinked::SetThemeLink(value);
    UpdateScrlBar();
}

// ---- geometry ----------------------------------------------------------------------------------

int TTeListBox::GetItemHeight(int index) {
    if (OnMeasureItem) {
        int h = itemHeight_;
        Canvas()->Font()->Assign(Font());
        OnMeasureItem(this, *Canvas(), index, h);
        return std::max(h, 1);
    }
    if (!wordWrap_) return itemHeight_;
    TCanvas& c = *Canvas();
    c.Font()->Assign(Font());
    TRect r{0, 0, std::max(GetItemWidth() - 2, 1), 0};
    DrawText(c, Utf8ToWide(items_->Get(index)), r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return std::max(r.Height(), 1);
}

int TTeListBox::GetItemWidth() {
    int w = GetItemArea().Width();
    if (Multicolumn())
        w /= columns_;
    else if (ScrollBarShown() || alwaysShowScrlBar_ || ComponentState().Contains(csDesigning))
        w -= barSize_;
    if (showCheckBoxes_) w -= GetChckBxFieldWidth();
    return std::max(w, 0);
}

int TTeListBox::GetItemTop(int index) {
    if (Multicolumn()) {
        const TRect r = GetItemRect(index);
        return r.IsEmpty() ? -1 : r.top;
    }
    if (index < topIndex_ || !Valid(index)) return -1;
    const TRect br = GetItemArea();
    int64_t y = br.top;
    for (int i = topIndex_; i < index && y < br.bottom; ++i) y += GetItemHeight(i);
    return static_cast<int>(std::min<int64_t>(y, INT32_MAX / 2));
}

TRect TTeListBox::GetItemRect(int index) {
    if (Multicolumn()) {
        TRect found{};
        ForEachShownColumnItem([&](int i, TRect r) {
            if (i == index) found = r;
            return i < index;
        });
        return found;
    }
    const TRect br = GetItemArea();
    const int top = GetItemTop(index);
    if (top < 0) return TRect{};
    return TRect{br.left, top, br.right - ShownBarWidth(), top + GetItemHeight(index)};
}

int TTeListBox::GetListHeight() {
    int64_t h = 0;
    for (int i = 0; i < Count(); ++i) h += GetItemHeight(i);
    return static_cast<int>(std::min<int64_t>(h, INT32_MAX));
}

int TTeListBox::VisibleRows() {
    const int room = GetItemArea().Height();
    int rows = 0, used = 0;
    for (int i = topIndex_; i < Count(); ++i) {
        used += GetItemHeight(i);
        if (used > room) break;
        ++rows;
    }
    if (!VariableHeights() && Count() == 0) rows = room / std::max(itemHeight_, 1);
    return std::max(rows, 1);
}

std::vector<int> TTeListBox::ColumnStarts(int room) {
    std::vector<int> starts;
    int used = 0;
    for (int i = 0; i < Count(); ++i) {
        const int h = GetItemHeight(i);
        // The first item of a column always goes in.
        if (starts.empty() || used + h > room) {
            starts.push_back(i);
            used = 0;
        }
        used += h;
    }
    return starts;
}

int TTeListBox::ColumnRoom() { return GetItemArea().Height() - (ScrollBarShown() ? barSize_ : 0); }

int TTeListBox::ColumnWidth() { return GetItemWidth() + (showCheckBoxes_ ? GetChckBxFieldWidth() : 0); }

void TTeListBox::ForEachShownColumnItem(const std::function<bool(int index, TRect rect)>& fn) {
    const TRect br = GetItemArea();
    const std::vector<int> starts = ColumnStarts(ColumnRoom());
    const int width = ColumnWidth();
    const int last = std::min<int64_t>(int64_t{topIndex_} + columns_, static_cast<int64_t>(starts.size()));
    for (int col = topIndex_; col < last; ++col) {
        const int end = col + 1 < static_cast<int>(starts.size()) ? starts[col + 1] : Count();
        const int left = br.left + (col - topIndex_) * width;
        int top = br.top;
        for (int i = starts[col]; i < end; ++i) {
            const int h = GetItemHeight(i);
            if (!fn(i, TRect{left, top, left + width, top + h})) return;
            top += h;
        }
    }
}

int TTeListBox::MaxTopIndex() {
    if (Multicolumn()) return std::max(static_cast<int>(ColumnStarts(ColumnRoom()).size()) - columns_, 0);
    const int room = GetItemArea().Height();
    int used = 0, first = Count();
    while (first > 0) {
        const int h = GetItemHeight(first - 1);
        if (used + h > room) break;
        used += h;
        --first;
    }
    return std::min(first, std::max(Count() - 1, 0));
}

int TTeListBox::ItemAtPos(TPoint p, bool existing) {
    const TRect br = GetItemArea();
    if (Multicolumn()) {
        int found = -1;
        if (p.y < br.top + ColumnRoom())
            ForEachShownColumnItem([&](int i, TRect r) {
                if (r.Contains(p)) found = i;
                return found < 0;
            });
        return found >= 0 || existing ? found : Count();
    }
    if (p.x >= br.left && p.x < br.right - ShownBarWidth()) {
        int y = br.top;
        for (int i = topIndex_; i < Count() && y < br.bottom; ++i) {
            const int h = GetItemHeight(i);
            if (p.y >= y && p.y < y + h) return i;
            y += h;
        }
    }
    return existing ? -1 : Count();
}

int TTeListBox::CheckBoxAtPos(TPoint p) {
    if (!showCheckBoxes_) return -1;
    const int item = ItemAtPos(p, true);
    if (item < 0) return -1;
    const TRect r = GetItemRect(item);
    return p.x < r.left + GetChckBxFieldWidth() ? item : -1;
}

TRect TTeListBox::UiItemRect(int index) {
    ScrollIntoView(index);
    return GetItemRect(index);
}

// Whole rows fill the inside.
void TTeListBox::SetBounds(int left, int top, int width, int height) {
    const TAlign a = Align();
    if (!ComponentState().Contains(csLoading) && !VariableHeights() && itemHeight_ > 0 && HandleAllocated() &&
        (a == alNone || a == alTop || a == alBottom)) {
        const TRect br = GetItemArea();
        const int below = StoredHeight() - br.bottom;
        const int inside = std::max(height - br.top - below, 0);
        height = br.top + inside / itemHeight_ * itemHeight_ + below;
    }
    TTeControl::SetBounds(left, top, width, height);
    if (bar_) UpdateScrlBar();
}

// ---- scrolling ---------------------------------------------------------------------------------

void TTeListBox::UpdateScrlBar() {
    if (!bar_) return;
    const TRect br = GetItemArea();
    int max, page;
    bool needed;
    if (Multicolumn()) {
        bar_->SetOrientation(ksoHorizontal);
        bar_->SetBounds(br.left, br.bottom - barSize_, std::max(br.Width(), 0), barSize_);
        int columns = static_cast<int>(ColumnStarts(br.Height()).size());
        // Too many columns: the bar takes its row from the columns' height.
        if (columns > columns_) columns = static_cast<int>(ColumnStarts(br.Height() - barSize_).size());
        max = std::max(columns - 1, 0);
        page = columns_;
        needed = page < max + 1 && max != 0;
    } else {
        bar_->SetOrientation(ksoVertical);
        bar_->SetBounds(br.right - barSize_, br.top, barSize_, std::max(br.Height(), 0));
        if (VariableHeights()) {
            page = 0;
            max = MaxTopIndex();
        } else {
            max = std::max(Count() - 1, 0);
            page = Count() > 0 ? br.Height() / std::max(GetItemHeight(0), 1) : 0;
        }
        needed = VariableHeights() ? max > 0 : page < max + 1 && max != 0;
    }
    bar_->SetMin(0);
    bar_->SetMax(max);
    bar_->SetPageSize(std::clamp(page, 0, max + 1));
    bar_->SetEnabled(needed);
    bar_->SetVisible(needed || alwaysShowScrlBar_ || ComponentState().Contains(csDesigning));
    topIndex_ = std::min(topIndex_, Multicolumn() ? MaxTopIndex() : max);
    bar_->SetPosition(topIndex_);
}

void TTeListBox::SetTopIndex(int index) {
    index = std::clamp(index, 0, MaxTopIndex());
    if (index == topIndex_) return;
    topIndex_ = index;
    if (bar_ && bar_->Position() != index) bar_->SetPosition(index);
    Invalidate();
}

void TTeListBox::BarScroll(TObject*, TTeScrollCode, int& pos) {
    const int page = bar_->PageSize();
    if (page != 0) pos = std::min(pos, bar_->Max() - page + 1);
    pos = std::max(pos, 0);
}

void TTeListBox::BarChange(TObject*) {
    topIndex_ = std::clamp(bar_->Position(), 0, MaxTopIndex());
    if (Count() > 0 && (bar_->AutoScrollUp() || bar_->AutoScrollDown())) {
        int first = -1, last = -1;
        if (Multicolumn()) {
            ForEachShownColumnItem([&](int i, TRect) {
                if (first < 0) first = i;
                last = i;
                return true;
            });
        } else {
            first = topIndex_;
            last = std::min(topIndex_ + VisibleRows() - 1, Count() - 1);
        }
        itemIndex_ = bar_->AutoScrollUp() ? first : last;
        UpdateSelRange();
    }
    if (lastMouse_.x >= 0) SetHot(ItemAtPos(lastMouse_, true), CheckBoxAtPos(lastMouse_));
    Invalidate();
}

void TTeListBox::ScrollIntoView(int index) {
    if (!Valid(index)) return;
    if (Multicolumn()) {
        const std::vector<int> starts = ColumnStarts(ColumnRoom());
        const int col =
            static_cast<int>(std::upper_bound(starts.begin(), starts.end(), index) - starts.begin()) - 1;
        if (col < topIndex_)
            SetTopIndex(col);
        else if (col >= topIndex_ + columns_)
            SetTopIndex(col - columns_ + 1);
        return;
    }
    if (index < topIndex_) {
        SetTopIndex(index);
        return;
    }
    const TRect br = GetItemArea();
    // One row at a time, as the bar would step.
    while (topIndex_ < index) {
        const int top = GetItemTop(index);
        if (top >= 0 && top + GetItemHeight(index) <= br.bottom) break;
        const int before = topIndex_;
        SetTopIndex(topIndex_ + 1);
        if (topIndex_ == before) break;
    }
}

// ---- item index and selection ------------------------------------------------------------------

void TTeListBox::SetItemIndex(int index) {
    if (index == itemIndex_) {
        if (selAnchor_ == -1) selAnchor_ = itemIndex_;
        ScrollIntoView(itemIndex_);
        UpdateSelRange();
        return;
    }
    if (Count() == 0)
        index = -1;
    else if (index >= Count())
        index = Count() - 1;
    else if (index < -1)
        index = 0;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    ScrollIntoView(index);
    UpdateSelRange();
    UpdateScrlBar();
    Invalidate();
}

void TTeListBox::UpdateSelRange() {
    // A single-select list never keeps an old row selected, anchor or not.
    if (multiSelect_ && selAnchor_ == -1) return;
    for (auto& f : flags_) f.selected = false;
    if (multiSelect_) {
        const int from = std::max(std::min(selAnchor_, itemIndex_), 0);
        const int to = std::min(std::max(selAnchor_, itemIndex_), Count() - 1);
        for (int i = from; i <= to; ++i) flags_[i].selected = true;
    } else if (Valid(itemIndex_)) {
        flags_[itemIndex_].selected = true;
    }
    InvalidateNow();
}

void TTeListBox::NextCheckState(int index) {
    if (!Valid(index) || !flags_[index].enabled) return;
    TCheckBoxState& s = flags_[index].state;
    s = s == cbUnchecked ? cbChecked : s == cbChecked && allowGrayed_ ? cbGrayed : cbUnchecked;
    Invalidate();
}

// ---- keyboard ----------------------------------------------------------------------------------

void TTeListBox::WMGetDlgCode(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    m.Result = DLGC_WANTARROWS;
}

void TTeListBox::KeyDown(WORD& key, TShiftState shift) {
    TTeControl::KeyDown(key, shift);
    const int before = itemIndex_;
    // Paging keeps one row of the old page in view, and always moves.
    const int page = std::max(VisibleRows() - 1, 1);
    bool navigation = true;
    switch (key) {
        case VK_RETURN:
        case VK_SPACE:
            if (showCheckBoxes_) NextCheckState(itemIndex_);
            navigation = false;
            break;
        case VK_PRIOR: SetItemIndex(std::max(itemIndex_, 0) - page); break;
        case VK_NEXT: SetItemIndex(std::min(itemIndex_, INT32_MAX - page) + page); break;
        case VK_END: SetItemIndex(Count() - 1); break;
        case VK_HOME: SetItemIndex(0); break;
        case VK_LEFT:
        case VK_UP:
            if (itemIndex_ > 0) SetItemIndex(itemIndex_ - 1);
            break;
        case VK_RIGHT:
        case VK_DOWN: SetItemIndex(itemIndex_ + 1); break;
        default: return;
    }
    if (itemIndex_ < 0 && Count() > 0) SetItemIndex(0);
    if (keyClick_ && itemIndex_ != before) Click();
    if (navigation) {
        if (!shift.Contains(ssShift)) selAnchor_ = itemIndex_;
        UpdateSelRange();
    }
}

void TTeListBox::Click() {
    if (Count() > 0) TTeControl::Click();
}

// ---- mouse -------------------------------------------------------------------------------------

void TTeListBox::SetHot(int item, int checkBox) {
    if (item == hotItem_ && checkBox == hotCheckBox_) return;
    hotItem_ = item;
    hotCheckBox_ = checkBox;
    Invalidate();
}

void TTeListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (!shift.Contains(ssDouble) && CanFocus() && !Focused()) SetFocus();
        mouseSelecting_ = true;
        const TPoint p{x, y};
        const int box = CheckBoxAtPos(p);
        const int item = box >= 0 ? box : ItemAtPos(p, true);
        const bool toggle = shift.Contains(ssCtrl) && multiSelect_;
        // A press on a selected item of a multi-select list drags the
        // selection as it stands.
        const bool dragSelection = DragMode() == dmAutomatic && multiSelect_ && item >= 0 &&
                                   flags_[item].selected && !shift.Contains(ssShift) && !toggle &&
                                   !shift.Contains(ssDouble) && !ComponentState().Contains(csDesigning);
        if (dragSelection) {
            TTeControl::MouseDown(button, shift, x, y);
            BeginDrag(false);
            return;
        }
        if (item >= 0) {
            if (toggle) selAnchor_ = -1;
            if (box >= 0) {
                SetItemIndex(box);
                if (flags_[box].enabled) {
                    NextCheckState(box);
                    if (OnClickCheck) OnClickCheck(this, box);
                }
            }
            SetItemIndex(item);
            if (toggle) {
                flags_[item].selected = !flags_[item].selected;
                Invalidate();
            } else {
                if (!shift.Contains(ssShift)) selAnchor_ = itemIndex_;
                UpdateSelRange();
            }
        }
    }
    TTeControl::MouseDown(button, shift, x, y);
    const bool selecting = multiSelect_ && (shift.Contains(ssCtrl) || shift.Contains(ssShift));
    if (button == mbLeft && DragMode() == dmAutomatic && !shift.Contains(ssDouble) && !selecting &&
        !ComponentState().Contains(csDesigning))
        BeginDrag(false);
}

void TTeListBox::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    lastMouse_ = TPoint{x, y};
    const TPoint p{x, y};
    const int box = CheckBoxAtPos(p);
    SetHot(box >= 0 ? box : ItemAtPos(p, true), box);
    // A drag carries the selection away as it stands.
    if (!mouseSelecting_ || !bar_ || Dragging()) return;
    const TRect br = GetItemArea();
    // Columns scroll sideways.
    const int at = Multicolumn() ? x : y;
    const int from = Multicolumn() ? br.left : br.top;
    const int to = Multicolumn() ? br.right : br.bottom;
    bar_->SetAutoSrcollUp(at < from);
    bar_->SetAutoSrcollDown(at >= to);
    if (at < from || at >= to || hotItem_ < 0) return;
    if (!shift.Contains(ssCtrl)) {
        if (hotItem_ != itemIndex_) {
            itemIndex_ = hotItem_;
            UpdateSelRange();
        }
    } else if (multiSelect_ && hotItem_ != itemIndex_) {
        SetSelected(hotItem_, true);
    }
}

void TTeListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    mouseSelecting_ = false;
    if (bar_) {
        bar_->SetAutoSrcollUp(false);
        bar_->SetAutoSrcollDown(false);
    }
    TTeControl::MouseUp(button, shift, x, y);
}

void TTeListBox::MouseLeave() {
    TTeControl::MouseLeave();
    lastMouse_ = TPoint{-1, -1};
    SetHot(-1, -1);
}

int TTeListBox::WheelSteps(int delta) {
    int lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    // Zero and the page setting step one line; more than 120 would make
    // a notch worth nothing.
    return delta / (120 / std::clamp(lines, 1, 120));
}

// The wheel scrolls the view, not the selection.
bool TTeListBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TTeControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    const int steps = WheelSteps(wheelDelta);
    if (steps != 0)
        SetTopIndex(static_cast<int>(std::clamp<int64_t>(int64_t{topIndex_} - steps, 0, INT32_MAX)));
    return true;
}

// ---- focus and notifications -------------------------------------------------------------------

void TTeListBox::HasFocus() {
    TTeControl::HasFocus();
    UpdateSelRange();
    Invalidate();
}

void TTeListBox::KillFocus() {
    TTeControl::KillFocus();
    mouseSelecting_ = false;
    UpdateSelRange();
    Invalidate();
}

void TTeListBox::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    Invalidate();
}

void TTeListBox::SNMThemeMessage(TMessage& m) {
    if (m.WParam > tmSystemChanged || m.WParam == tmBeforeChange || m.WParam == tmAfterChange) return;
    // The bar sits inside the theme's frame, which a new theme may move.
    UpdateScrlBar();
    Invalidate();
}

// ---- painting ----------------------------------------------------------------------------------

bool TTeListBox::Themed() { return IsObjectDefined(klscListBox, themeObject_, themeLink_); }

// Rows painted from the border's edge would cover the frame the theme draws there.
TRect TTeListBox::GetItemArea() {
    const TRect br = GetBorderRect();
    if (!Themed()) return br;
    TRect r = Theme()->ListGetClientRect(klscListBox, ListInfo(br), themeObject_);
    r.left = std::clamp(r.left, br.left, br.right);
    r.top = std::clamp(r.top, br.top, br.bottom);
    r.right = std::clamp(r.right, r.left, br.right);
    r.bottom = std::clamp(r.bottom, r.top, br.bottom);
    return r;
}

void TTeListBox::PaintBuffer() {
    TCanvas& c = *Canvas();
    if (Themed())
        Theme()->ListDraw(klscListBox, c, ListInfo(GetBorderRect()), themeObject_);
    else
        FillRect(c, GetBorderRect(), Color());
    const TRect br = GetItemArea();
    const int saved = SaveDC(c.Handle());
    IntersectClipRect(c.Handle(), br.left, br.top, br.right - ShownBarWidth(),
                      Multicolumn() ? br.top + ColumnRoom() : br.bottom);
    auto paint = [&](int i, TRect row) {
        if (showCheckBoxes_) {
            const TSize box = GetCheckBoxSize();
            const int top = row.top + (row.Height() - box.cy) / 2;
            DrawCheckBox(c, i, TRect{row.left + 1, top, row.left + 1 + box.cx, top + box.cy});
            row.left += GetChckBxFieldWidth();
        }
        DrawItem(c, i, TRect{row.left, row.top, row.left + GetItemWidth(), row.bottom});
        return true;
    };
    if (Multicolumn()) {
        ForEachShownColumnItem(paint);
    } else {
        int y = br.top;
        for (int i = topIndex_; i < Count() && y < br.bottom; ++i) {
            const int h = GetItemHeight(i);
            paint(i, TRect{br.left, y, br.right, y + h});
            y += h;
        }
    }
    RestoreDC(c.Handle(), saved);
}

void TTeListBox::DrawItem(TCanvas& c, int index, TRect rect) {
    const bool selected = overrideSelected_ >= 0 ? overrideSelected_ != 0 : Selected(index);
    const bool current = !overrideNoFocus_ && index == itemIndex_ && IsFocused() && !multiSelect_;
    const bool hot = index == hotItem_;
    const bool enabled = Enabled() && ItemEnabled(index) && !overrideDisabled_;
    const WideString text = Utf8ToWide(items_->Get(index));
    const bool themed = Themed();
    auto background = [&] {
        if (themed) {
            const TteListItemDrawState s = !enabled   ? klidsDisabled
                                           : selected ? klidsSelected
                                           : current  ? klidsFocused
                                           : hot      ? klidsHot
                                                      : klidsNormal;
            static const TteThemeFont fonts[] = {ktfListItemTextNormal, ktfListItemTextHot,
                                                 ktfListItemTextSelected, ktfListItemTextFocused,
                                                 ktfListItemTextDisabled};
            // A disabled combo face keeps the edit's disabled font its caller set,
            // so it greys like the edits beside it.
            if (!overrideDisabled_) Theme()->SetFontForObject(c.Font(), fonts[s], themeObject_);
            Theme()->ListDrawItem(klscListBox, c, ListItemInfo(rect, s), themeObject_);
            return;
        }
        c.Font()->Assign(Font());
        if (selected) {
            FillRect(c, rect, clHighlight);
            c.Font()->SetColor(clHighlightText);
        } else if (!enabled) {
            c.Font()->SetColor(clGrayText);
        } else if (hot && listStyle_ == lbsStandard) {
            c.Font()->SetColor(clHighlight);
        }
    };
    if ((listStyle_ == lbsOwnerDrawFixed || listStyle_ == lbsOwnerDrawVariable) && OnDrawItem) {
        TOwnerDrawState state;
        if (selected)
            state.Include(odSelected);
        else if (hot && !overrideNoFocus_)
            state.Include(odHotLight);
        if (!overrideNoFocus_ && index == itemIndex_ && IsFocused()) state.Include(odFocused);
        if (!enabled) state.Include(odDisabled);
        if (defaultDrawing_) background();
        TRect inner = rect;
        inner.left += 2;
        if (!ComponentState().Contains(csDestroying)) OnDrawItem(this, c, index, inner, state);
        return;
    }
    if (text == u"-") {
        c.Font()->Assign(Font());
        const int mid = rect.top + rect.Height() / 2;
        FillRect(c, TRect{rect.left + 3, mid, rect.right - 3, mid + 1}, c.Font()->Color());
        return;
    }
    background();
    TRect box{rect.left + 2, rect.top, rect.right, rect.bottom};
    if (FontStyle() || ColorStyle()) {
        DrawFontOrColorItem(c, index, box);
    } else {
        if (images_ && index >= 0 && index < images_->Count()) {
            images_->Draw(&c, box.left, rect.top, index);
            box.left += images_->Width() + 3;
        }
        DrawText(c, text, box,
                 wordWrap_ ? DT_WORDBREAK | DT_NOPREFIX : DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (current && (!themed || !selected)) DrawFocusRect(c, rect, clBlack);
}

namespace {

// An item that names no colour gets an empty frame rather than an error.
bool ItemColor(const String& item, TColor& color) {
    try {
        color = ColorToRGB(StringToColor(item));
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

}  // namespace

// `text` is the row from the text start on.
void TTeListBox::DrawFontOrColorItem(TCanvas& c, int index, TRect text) {
    const String item = items_->Get(index);
    const unsigned oneLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    TColor color = 0;
    switch (listStyle_) {
        case lbsFonts:
        case lbsFontSamples: {
            const auto pitch = reinterpret_cast<uintptr_t>(Valid(index) ? items_->Objects(index) : nullptr);
            if ((pitch & kFontTrueType) && TrueTypeBmp)
                TrueTypeBmp->Draw(c, text.left + (18 - TrueTypeBmp->Width()) / 2,
                                  text.top + (text.Height() - TrueTypeBmp->Height()) / 2);
            text.left += 22;
            if (listStyle_ == lbsFontSamples) c.Font()->SetName(item);
            DrawText(c, Utf8ToWide(item), text, oneLine);
            break;
        }
        case lbsColors: {
            const TRect swatch{text.left - 2 + 4, text.top + 4, text.right - 4, text.bottom - 4};
            if (ItemColor(item, color)) FillRect(c, swatch, color);
            DrawRect(c, swatch, clBlack);
            break;
        }
        default: {
            const int top = text.top + (text.Height() - 14) / 2;
            const TRect swatch{text.left, top, text.left + 20, top + 14};
            if (ItemColor(item, color)) FillRect(c, swatch, color);
            DrawRect(c, swatch, clBlack);
            const size_t cl = item.find("cl");
            const String name = cl == String::npos ? item : item.substr(std::min<size_t>(2, item.size()));
            text.left += 24;
            DrawText(c, Utf8ToWide(name), text, oneLine);
            break;
        }
    }
}

void TTeListBox::DrawCheckBox(TCanvas& c, int index, TRect rect) {
    const TCheckBoxState s = State(index);
    if (Themed()) {
        const TteListGlyph g = s == cbChecked ? klgChecked : s == cbGrayed ? klgMixed : klgUnchecked;
        Theme()->ListDrawGlyph(klscListBox, c, ListItemInfo(TRect{}, klidsNormal), ListGlyphInfo(rect, g),
                               themeObject_);
        return;
    }
    const bool enabled = Enabled() && ItemEnabled(index);
    ::tarvel::DrawCheckBox(c.Handle(), rect.left, rect.top, static_cast<int>(s), enabled, false);
    const bool plain = !flat_ || (index == hotCheckBox_ && enabled);
    if (!plain) DrawRect(c, TRect{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}, clGrayText);
}

}  // namespace tarvel
