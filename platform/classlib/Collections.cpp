#include "platform/classlib/Collections.h"

#include <algorithm>

namespace tarvel {

// ---- TCollectionItem -------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) {
    // Joins silently: an Update now would show the collection a half-made item.
    if (collection) collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
    if (collection_) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (collection == collection_) return;
    if (collection_) collection_->RemoveItem(this);
    if (collection) {
        collection->InsertItem(this);
        collection->Notify(this, cnAdded);
        collection->Changed();
    }
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    const auto& items = collection_->items_;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
    const int current = Index();
    if (current < 0 || index == current) return;
    auto& items = collection_->items_;
    index = std::clamp(index, 0, static_cast<int>(items.size()) - 1);
    items.erase(items.begin() + current);
    items.insert(items.begin() + index, this);
    Changed(true);
}

TPersistent* TCollectionItem::GetOwner() { return collection_; }

void TCollectionItem::Changed(bool allItems) {
    if (collection_) collection_->ItemChanged(allItems ? nullptr : this);
}

// ---- TCollection -------------------------------------------------------------

TCollection::TCollection(TClass itemClass) : itemClass_(itemClass) {
    if (!itemClass || !itemClass->InheritsFrom(TCollectionItem::StaticClass())) {
        throw EClassError("A collection holds items of a TCollectionItem class");
    }
}

TCollection::~TCollection() {
    ++updateCount_;  // no Update calls while the collection goes away
    while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = itemClass_->Create<TCollectionItem>(this);
    Notify(item, cnAdded);
    Changed();
    return item;
}

TCollectionItem* TCollection::Insert(int index) {
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    while (!items_.empty()) delete items_.back();
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : items_) {
        if (item->id_ == id) return item;
    }
    return nullptr;
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    BatchUpdate(*this, [&] {
        Clear();
        for (TCollectionItem* item : other->items_) Add()->Assign(item);
    });
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed() { ItemChanged(nullptr); }

void TCollection::ItemChanged(TCollectionItem* item) {
    if (updateCount_ == 0) Update(item);
}

void TCollection::InsertItem(TCollectionItem* item) {
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
}

void TCollection::RemoveItem(TCollectionItem* item) {
    Notify(item, cnDeleting);
    std::erase(items_, item);
    item->collection_ = nullptr;
    Changed();
}

}  // namespace tarvel
