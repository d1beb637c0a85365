#include "skin/extctrls/te_extctrls_listctrl.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/base/Strings.h"
#include "platform/classlib/StdCtrlMessages.h"

namespace tarvel {

// ---- the combo control -------------------------------------------------------------------------

void TTeCustomCombo::DeclareMessages(TMessageTable& t) { t.Add<&TTeCustomCombo::CNCommand>(CN_COMMAND); }

TTeCustomCombo::TTeCustomCombo(TComponent* owner) : TCustomComboBox(owner) {
    ControlStyle = {csCaptureMouse, csSetCaption, csDoubleClicks, csFixedHeight, csReflector, csOpaque};
    SetBounds(Left(), Top(), 145, 25);
    SetTabStop(true);
    SetParentColor(false);
}

bool TTeCustomCombo::Loading() const { return ComponentState().Contains(csLoading); }

int TTeCustomCombo::GetItemIndex() {
    if (Loading()) return savedItemIndex_;
    return static_cast<int>(Perform(CB_GETCURSEL));
}

void TTeCustomCombo::SetItemIndex(int index) {
    if (Loading()) {
        savedItemIndex_ = index;
        return;
    }
    if (GetItemIndex() != index) Perform(CB_SETCURSEL, static_cast<WPARAM>(index));
}

void TTeCustomCombo::Loaded() {
    TCustomComboBox::Loaded();
    if (savedItemIndex_ != -1) SetItemIndex(std::exchange(savedItemIndex_, -1));
}

void TTeCustomCombo::AddItem(const String& text, TObject* object) { ComboItems()->AddObject(text, object); }

void TTeCustomCombo::Clear() {
    SetText("");
    ComboItems()->Clear();
}

void TTeCustomCombo::CopySelection(TTeCustomListControl* destination) {
    const int index = GetItemIndex();
    if (index < 0 || index >= GetItemCount() || !destination) return;
    destination->AddItem(ComboItems()->Strings(index), ComboItems()->Objects(index));
}

void TTeCustomCombo::DeleteSelected() {
    const int index = GetItemIndex();
    if (index >= 0 && index < GetItemCount()) ComboItems()->Delete(index);
}

void TTeCustomCombo::SelectAll() { Perform(CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF)); }

void TTeCustomCombo::SetItems(TStrings* strings) {
    if (itemStrings_)
        itemStrings_->Assign(strings);
    else
        itemStrings_ = strings;
}

void TTeCustomCombo::SetItemHeight(int value) {
    if (value <= 0) return;
    TCustomComboBox::SetItemHeight(value);
    if (HandleAllocated()) RecreateWnd();
}

bool TTeCustomCombo::GetDroppedDown() { return Perform(CB_GETDROPPEDSTATE) != 0; }

void TTeCustomCombo::SetDroppedDown(bool value) {
    Perform(CB_SHOWDROPDOWN, value ? 1 : 0);
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, true);
}

HWND TTeCustomCombo::EditHandle() {
    TCustomEdit* edit = EditControl();
    return edit && edit->HandleAllocated() ? edit->Handle() : nullptr;
}

HWND TTeCustomCombo::ListHandle() { return ListBox()->HandleAllocated() ? ListBox()->Handle() : nullptr; }

HWND TTeCustomCombo::DropDownHandle() { return Style() == csSimple ? nullptr : ListHandle(); }

bool TTeCustomCombo::Focused() {
    if (!HandleAllocated()) return false;
    const HWND focus = GetFocus();
    return focus && (focus == EditHandle() || focus == ListHandle());
}

void TTeCustomCombo::CNCommand(TMessage& m) {
    switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE: {
            // No item or one past the last: the nearest item is chosen and its text shown.
            const int count = GetItemCount();
            const int index = TCustomComboBox::ItemIndex();
            if (count > 0) {
                const int chosen = std::clamp(index, 0, count - 1);
                if (chosen != index || GetText() != ComboItems()->Strings(chosen))
                    TCustomComboBox::SetItemIndex(chosen);
            }
            Click();
            Select();
            break;
        }
        case CBN_DBLCLK: DblClick(); break;
        case CBN_SETFOCUS:
            isFocused_ = true;
            focusChanged_ = true;
            break;
        case CBN_KILLFOCUS:
            isFocused_ = false;
            focusChanged_ = true;
            break;
        case CBN_EDITCHANGE: Change(); break;
        case CBN_DROPDOWN:
            focusChanged_ = false;
            DropDown();
            droppingDown_ = true;
            // The handler took the focus elsewhere: the list does not stay.
            if (focusChanged_) {
                droppingDown_ = false;
                if (!isFocused_ && HandleAllocated()) PostMessage(Handle(), CB_SHOWDROPDOWN, 0, 0);
            }
            break;
        case CBN_CLOSEUP: CloseUp(); break;
    }
}

void TTeCustomCombo::AdjustDropDown() {
    const int rows = std::max(std::min(GetItemCount(), DropDownCount()), 1);
    const HWND drop = DropDownHandle();
    if (!droppingDown_ || !drop) return;
    droppingDown_ = false;
    SetWindowPos(drop, nullptr, 0, 0, Width(), rows * GetItemHt() + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_HIDEWINDOW);
    SetWindowPos(drop, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TTeCustomCombo::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TTeCustomCombo::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

// ---- the item collection -----------------------------------------------------------------------

void TTeListControlItem::SetCaption(const String& value) {
    caption_ = value;
    Changed(false);
}

void TTeListControlItem::SetImageIndex(int value) {
    imageIndex_ = value;
    Changed(false);
}

void TTeListControlItem::Assign(TPersistent* source) {
    auto* item = dynamic_cast<TTeListControlItem*>(source);
    if (!item) {
        TCollectionItem::Assign(source);
        return;
    }
    TCollection* list = Collection();
    if (list) list->BeginUpdate();
    caption_ = item->caption_;
    imageIndex_ = item->imageIndex_;
    data_ = item->data_;
    if (list) list->EndUpdate();
}

TPersistent* TTeListControlItem::GetOwner() { return Collection() ? Collection()->GetOwner() : nullptr; }

String TTeListControlItem::GetDisplayName() {
    return caption_.empty() ? TCollectionItem::GetDisplayName() : caption_;
}

void TTeListControlItems::SetSortType(TTeListItemsSortType value) {
    if (value == sortType_) return;
    sortType_ = value;
    if (sortType_ != stNone) Sort();
}

int TTeListControlItems::CompareItems(TTeListControlItem* a, TTeListControlItem* b) {
    if (OnCompare) return OnCompare(this, a, b);
    if (caseSensitive_) return a->Caption().compare(b->Caption());
    return CompareText(a->Caption(), b->Caption());
}

void TTeListControlItems::ExchangeItems(int a, int b) {
    if (a == b) return;
    TTeListControlItem* first = ListItem(a);
    TTeListControlItem* second = ListItem(b);
    BeginUpdate();
    first->SetIndex(b);
    second->SetIndex(a);
    EndUpdate();
}

void TTeListControlItems::CustomSort(const TTeListCompareEvent& compare) {
    if (sortType_ == stNone || Count() < 2) return;
    std::vector<TTeListControlItem*> items;
    for (int i = 0; i < Count(); ++i) items.push_back(ListItem(i));
    std::stable_sort(items.begin(), items.end(), [&](TTeListControlItem* a, TTeListControlItem* b) {
        return (compare ? compare(this, a, b) : CompareItems(a, b)) < 0;
    });
    BeginUpdate();
    for (int i = 0; i < static_cast<int>(items.size()); ++i) items[i]->SetIndex(i);
    EndUpdate();
}

}  // namespace tarvel
