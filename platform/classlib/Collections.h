#pragma once
// Collections: lists of items of one item class, owned by the collection,
// made through the item class's virtual constructor.

#include <cstdint>
#include <vector>

#include "platform/classlib/Persistent.h"

namespace tarvel {

class TCollection;

// What Notify tells: an item was added (and is fully made), or is about to go.
enum TCollectionNotification : uint8_t { cnAdded, cnDeleting };

class TCollectionItem : public TPersistent {
    TARVEL_CLASS(TCollectionItem, TPersistent)

public:
    using TCreateArgs = std::tuple<TCollection*>;

    // Joins `collection` (when given) at its end. The collection's Update
    // comes from Add or Insert, once the item is fully made; an item made
    // directly with its constructor joins without one.
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;  // leaves its collection

    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* collection);  // moves the item to the end of another
    int Index() const;                            // -1 outside a collection
    void SetIndex(int index);
    int ID() const { return id_; }  // unique within the collection, never reused
    String DisplayName() { return GetDisplayName(); }
    TPersistent* GetOwner() override;

protected:
    virtual String GetDisplayName() { return ClassName(); }
    // Tells the collection: this item changed, or (allItems) all of them.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

class TCollection : public TPersistent {
    TARVEL_CLASS(TCollection, TPersistent)

public:
    using TCreateArgs = std::tuple<TClass>;

    // `itemClass` must derive from TCollectionItem (EClassError otherwise).
    explicit TCollection(TClass itemClass);
    ~TCollection() override;  // frees the items

    TClass ItemClass() const { return itemClass_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError "List index out of bounds (i)".
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);  // a new item moved to `index`
    void Delete(int index);              // frees the item
    void Clear();
    TCollectionItem* FindItemID(int id) const;

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // From another collection: this one is cleared, and one new item is added
    // and assigned from each of the source's items.
    void Assign(TPersistent* source) override;

protected:
    // Called after a change outside BeginUpdate/EndUpdate: `item` changed, or
    // with null, the collection as a whole (items added, removed, moved).
    virtual void Update(TCollectionItem* item);
    // An item joined (made through Add or Insert, or moved in), or is
    // leaving. An item leaving because it is freed is already destroyed down
    // to its TCollectionItem part: only its index and ID may be read.
    virtual void Notify(TCollectionItem* /*item*/, TCollectionNotification /*action*/) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void ItemChanged(TCollectionItem* item);

    TClass itemClass_;
    std::vector<TCollectionItem*> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
};

// A collection that answers its owner (the component it belongs to).
class TOwnedCollection : public TCollection {
    TARVEL_CLASS(TOwnedCollection, TCollection)

public:
    using TCreateArgs = std::tuple<TPersistent*, TClass>;

    TOwnedCollection(TPersistent* owner, TClass itemClass) : TCollection(itemClass), owner_(owner) {}
    TPersistent* GetOwner() override { return owner_; }

private:
    TPersistent* owner_;
};

}  // namespace tarvel
