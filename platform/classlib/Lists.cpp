#include "platform/classlib/Lists.h"

#include <algorithm>

namespace tarvel {

void TList::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

void* TList::Items(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)];
}

void TList::SetItem(int index, void* item) {
    CheckIndex(index, Count());
    void* old = items_[static_cast<size_t>(index)];
    if (old == item) return;
    items_[static_cast<size_t>(index)] = item;
    if (old) Notify(old, TListNotification::lnDeleted);
    if (item) Notify(item, TListNotification::lnAdded);
}

int TList::Add(void* item) {
    items_.push_back(item);
    if (item) Notify(item, TListNotification::lnAdded);
    return Count() - 1;
}

void TList::Insert(int index, void* item) {
    CheckIndex(index, Count() + 1);
    items_.insert(items_.begin() + index, item);
    if (item) Notify(item, TListNotification::lnAdded);
}

void TList::Delete(int index) {
    CheckIndex(index, Count());
    void* item = items_[static_cast<size_t>(index)];
    items_.erase(items_.begin() + index);
    if (item) Notify(item, TListNotification::lnDeleted);
}

int TList::Remove(void* item) {
    const int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
}

void* TList::Extract(void* item) {
    const int index = IndexOf(item);
    if (index < 0) return nullptr;
    items_.erase(items_.begin() + index);
    Notify(item, TListNotification::lnExtracted);
    return item;
}

void TList::Clear() {
    while (!items_.empty()) Delete(Count() - 1);
}

int TList::IndexOf(void* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int index1, int index2) {
    CheckIndex(index1, Count());
    CheckIndex(index2, Count());
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void TList::Move(int from, int to) {
    if (from == to) return;
    CheckIndex(from, Count());
    CheckIndex(to, Count());
    void* item = items_[static_cast<size_t>(from)];
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, item);
}

void TList::Pack() { std::erase(items_, nullptr); }

void TList::Sort(const std::function<int(void*, void*)>& compare) {
    std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::Notify(void*, TListNotification) {}

}  // namespace tarvel
