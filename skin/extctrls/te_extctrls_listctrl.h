#pragma once
// What the extended combo box stands on: the interface of a control that
// holds a list of items with a current one, the combo control that offers it
// over the class library's combo window, and the sortable collection of
// items (caption, image, data) its item editor works on.

#include <functional>

#include "platform/classlib/Collections.h"
#include "platform/classlib/ComCtrls_ListView.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/StdCtrls_ComboBox.h"

namespace tarvel {

// Offered by a windowed control; the control is the class library's.
class TTeCustomListControl {
public:
    virtual ~TTeCustomListControl() = default;

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

// A combo control on the class library's combo window, whose edit child,
// list child and drop-down window it names. Its items are worked through the
// window's CB_ messages; the combo notifications become its events. 145 x 25
// at first, 8 items to a drop-down.
class TTeCustomCombo : public TCustomComboBox, public TTeCustomListControl {
    TARVEL_CLASS(TTeCustomCombo, TCustomComboBox)

public:
    explicit TTeCustomCombo(TComponent* owner);

    // ---- the list-control operations ----
    int GetCount() override { return GetItemCount(); }
    // While loading, the index kept for Loaded.
    int GetItemIndex() override;
    // While loading only kept; otherwise sent when it differs from the current one.
    void SetItemIndex(int index) override;
    void AddItem(const String& text, TObject* object) override;
    // The text and the items.
    void Clear() override;
    void ClearSelection() override { SetItemIndex(-1); }
    void CopySelection(TTeCustomListControl* destination) override;
    void DeleteSelected() override;
    void SelectAll() override;

    // ---- the combo ----
    // The strings the items are worked through: those SetItems gave, else the window's.
    TStrings* ComboItems() { return itemStrings_ ? itemStrings_ : Items(); }
    // Assigns into the strings there are, or adopts `strings` when there are none yet.
    virtual void SetItems(TStrings* strings);
    virtual int GetItemHt() = 0;
    virtual int GetItemCount() = 0;
    int ItemHeight() { return GetItemHt(); }
    // Positive heights only; the window is made anew.
    virtual void SetItemHeight(int value);
    virtual void SetDropDownCount(int value) { TCustomComboBox::SetDropDownCount(value); }
    bool GetDroppedDown();
    void SetDroppedDown(bool value);
    // The focus is in the edit or the list.
    bool Focused();
    HWND EditHandle();
    HWND ListHandle();
    // The window that drops down (none in the simple style).
    HWND DropDownHandle();

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void CNCommand(TMessage& m);
    void ListShown() override { AdjustDropDown(); }
    // The dropped list: as wide as the control, the smaller of the item count
    // and the drop-down count in rows (one at least).
    virtual void AdjustDropDown();
    virtual void DropDown();
    virtual void CloseUp();

private:
    bool Loading() const;
    int savedItemIndex_ = -1;
    TStrings* itemStrings_ = nullptr;
    bool droppingDown_ = false;
    bool focusChanged_ = false;
    bool isFocused_ = false;
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
