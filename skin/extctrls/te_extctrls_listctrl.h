#pragma once
// What the extended combo box stands on: the interface of a control that
// holds a list of items with a current one, and the sortable collection of
// items (caption, image, data) its item editor works on.

#include <functional>

#include "platform/classlib/Collections.h"
#include "platform/classlib/ComCtrls_ListView.h"
#include "platform/classlib/Controls.h"

namespace tarvel {

class TTeCustomListControl : public TWinControl {
    TARVEL_CLASS(TTeCustomListControl, TWinControl)

public:
    using TWinControl::TWinControl;

    virtual int GetCount() = 0;
    virtual int GetItemIndex() = 0;
    virtual void SetItemIndex(int index) = 0;
    virtual void AddItem(const String& text, TObject* object) = 0;
    virtual void Clear() = 0;
    virtual void ClearSelection() = 0;
    virtual void CopySelection(TTeCustomListControl* destination) = 0;
    virtual void DeleteSelected() = 0;
    virtual void MoveSelection(TTeCustomListControl* destination) {
        CopySelection(destination);
        DeleteSelected();
    }
    virtual void SelectAll() = 0;
};

class TTeListControlItems;

class TTeListControlItem : public TCollectionItem {
    TARVEL_CLASS(TTeListControlItem, TCollectionItem)

public:
    explicit TTeListControlItem(TCollection* collection) : TCollectionItem(collection) {}

    const String& Caption() const { return caption_; }
    virtual void SetCaption(const String& value);
    int ImageIndex() const { return imageIndex_; }
    virtual void SetImageIndex(int value);
    void* Data() const { return data_; }
    virtual void SetData(void* value) { data_ = value; }

    // Caption, image and data of another item; anything else is refused.
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override;

protected:
    String GetDisplayName() override;

    String caption_;
    int imageIndex_ = -1;
    void* data_ = nullptr;
};

// The list views' order: stNone, stData, stText, stBoth.
using TTeListItemsSortType = TSortType;
using TTeListCompareEvent =
    std::function<int(TTeListControlItems* list, TTeListControlItem* a, TTeListControlItem* b)>;

class TTeListControlItems : public TOwnedCollection {
    TARVEL_CLASS(TTeListControlItems, TOwnedCollection)

public:
    explicit TTeListControlItems(TPersistent* owner, TClass itemClass = TTeListControlItem::StaticClass())
        : TOwnedCollection(owner, itemClass) {}

    TTeListControlItem* Add() { return static_cast<TTeListControlItem*>(TOwnedCollection::Add()); }
    TTeListControlItem* ListItem(int index) const { return static_cast<TTeListControlItem*>(Items(index)); }

    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value) { caseSensitive_ = value; }
    TTeListItemsSortType SortType() const { return sortType_; }
    // Any order but stNone sorts at once.
    void SetSortType(TTeListItemsSortType value);

    // OnCompare when set, else the captions, with or without case.
    int CompareItems(TTeListControlItem* a, TTeListControlItem* b);
    void ExchangeItems(int a, int b);
    void Sort() { CustomSort(nullptr); }
    // Nothing while SortType is stNone; equal items keep their order.
    void CustomSort(const TTeListCompareEvent& compare);

    TTeListCompareEvent OnCompare;

private:
    bool caseSensitive_ = false;
    TTeListItemsSortType sortType_ = stNone;
};

}  // namespace tarvel
