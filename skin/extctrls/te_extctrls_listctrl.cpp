#include "skin/extctrls/te_extctrls_listctrl.h"

#include <algorithm>
#include <vector>

#include "platform/base/Strings.h"

namespace tarvel {

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
