#pragma once
// The extended combo box dressed by the skin: the face, the drop-down
// button and the dropped list as the skinned combo draws them, each themed
// item with its indent (in the list only) and its image. The strings classes
// read and write a combo's items through its window, so what they show is
// what the window holds.

#include "platform/classlib/ComCtrls_ComboBoxEx.h"
#include "platform/classlib/StringLists.h"
#include "skin/extctrls/te_extctrls_combo.h"
#include "skin/extctrls/te_extctrls_listctrl.h"

namespace tarvel {

// The items of any combo window, asked for with CB_ messages.
class TTeCustomComboBoxStrings : public TStrings {
    TARVEL_CLASS(TTeCustomComboBoxStrings, TStrings)

public:
    explicit TTeCustomComboBoxStrings(TWinControl* combo) : combo_(combo) {}

    int Count() const override;
    // Any length; empty for an index outside the list.
    String Get(int index) const override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const String& s) override;
    void Delete(int index) override;
    // The items go, the combo's text stays.
    void Clear() override;
    // Ignoring case.
    int IndexOf(const String& s) const override;

protected:
    void SetUpdateState(bool updating) override;
    HWND Window() const { return combo_->Handle(); }
    TWinControl* Combo() const { return combo_; }
    void CheckIndex(int index, int count) const;

private:
    TWinControl* combo_;
};

class TTeCustomStdComboBoxEx;
class TTeComboBoxExItems;

// One item of the extended combo. Every change is written to the combo at
// once; a new item has every index and its indent at -1.
class TTeComboBoxExItem : public TTeListControlItem {
    TARVEL_CLASS(TTeComboBoxExItem, TTeListControlItem)

public:
    explicit TTeComboBoxExItem(TCollection* collection) : TTeListControlItem(collection) {}

    // Sorts the items when they are sorted by text.
    void SetCaption(const String& value) override;
    // The selected image follows while it is unset or was the same image.
    void SetImageIndex(int value) override;
    // Sorts the items when they are sorted by data.
    void SetData(void* value) override;
    int SelectedImageIndex() const { return selectedImageIndex_; }
    void SetSelectedImageIndex(int value);
    int OverlayImageIndex() const { return overlayImageIndex_; }
    void SetOverlayImageIndex(int value);
    int Indent() const { return indent_; }
    void SetIndent(int value);

    // The look (indexes, indent, caption) of another item, not its data;
    // nothing is written to the combo.
    void Assign(TPersistent* source) override;
    // The item as the combo holds it (an unset indent is none).
    TComboExItem AsComboItem() const;

private:
    void WriteToCombo();
    TTeComboBoxExItems* Items() const;

    int selectedImageIndex_ = -1;
    int overlayImageIndex_ = -1;
    int indent_ = -1;
};

// The extended combo's items; the combo shows them as they stand.
class TTeComboBoxExItems : public TTeListControlItems {
    TARVEL_CLASS(TTeComboBoxExItems, TTeListControlItems)

public:
    // Null for a collection that serves no combo (saved copies).
    explicit TTeComboBoxExItems(TPersistent* owner)
        : TTeListControlItems(owner, TTeComboBoxExItem::StaticClass()) {}

    TTeComboBoxExItem* Add() { return static_cast<TTeComboBoxExItem*>(TTeListControlItems::Add()); }
    TTeComboBoxExItem* Insert(int index) {
        return static_cast<TTeComboBoxExItem*>(TCollection::Insert(index));
    }
    TTeComboBoxExItem* GetComboItem(int index) const { return static_cast<TTeComboBoxExItem*>(Items(index)); }
    TTeComboBoxExItem* AddItem(const String& caption, int imageIndex, int selectedImageIndex,
                               int overlayImageIndex, int indent, void* data);
    // Writes item `index` into the combo: replaced where the combo has an
    // item there, else inserted.
    virtual void SetItem(int index);

protected:
    void Notify(TCollectionItem* item, TCollectionNotification action) override;
    void Update(TCollectionItem* item) override;

private:
    TTeCustomStdComboBoxEx* Combo();
};

// The extended combo's items as strings: each change is made to the item
// collection, which the combo shows.
class TTeComboBoxExStrings : public TTeCustomComboBoxStrings {
    TARVEL_CLASS(TTeComboBoxExStrings, TTeCustomComboBoxStrings)

public:
    explicit TTeComboBoxExStrings(TTeCustomStdComboBoxEx* combo);

    // A new item with caption s; Put changes the caption of item i.
    void Insert(int index, const String& s) override;
    void InsertObject(int index, const String& s, TObject* object) override;
    void Put(int index, const String& s) override;
    void PutObject(int index, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    // Whole items trade places.
    void Exchange(int index1, int index2) override;

private:
    TTeComboBoxExItems* Items() const;
    TTeCustomStdComboBoxEx* ex_;
};

extern template class TComboBoxExOn<TTeCustomCombo>;

// The extended combo on the combo control: its items live in ItemsEx, and
// the window holds a copy written item by item.
class TTeCustomStdComboBoxEx : public TComboBoxExOn<TTeCustomCombo> {
    TARVEL_CLASS(TTeCustomStdComboBoxEx, TComboBoxExOn<TTeCustomCombo>)

public:
    explicit TTeCustomStdComboBoxEx(TComponent* owner);
    ~TTeCustomStdComboBoxEx() override;

    TTeComboBoxExStrings* ItemStrings() const { return strings_; }
    // The items; the combo's own item list mirrors them.
    TTeComboBoxExItems* ItemsEx() const { return itemsEx_; }
    void SetItemsEx(TTeComboBoxExItems* value) { itemsEx_->Assign(value); }
    using TComboBoxExOn::ItemsEx;
    // A text and an object: a new item of ItemsEx.
    using TTeCustomCombo::AddItem;

    // The rows fit the images.
    int GetItemHt() override { return TCustomComboBox::ItemHeight(); }
    int GetItemCount() override { return ItemsExCount(); }

private:
    // The combo's own items change only through ItemsEx.
    friend class TTeComboBoxExItems;
    using TComboBoxExOn::ClearItems;
    using TComboBoxExOn::DeleteItem;
    using TComboBoxExOn::InsertItem;
    using TComboBoxExOn::SetItem;

    TTeComboBoxExItems* itemsEx_;
    TTeComboBoxExStrings* strings_;
};

extern template class TTeSkinnedCombo<TTeCustomStdComboBoxEx>;

// The extended combo dressed by the skin.
class TTeCustomComboBoxEx : public TTeSkinnedCombo<TTeCustomStdComboBoxEx> {
    TARVEL_CLASS(TTeCustomComboBoxEx, TTeSkinnedCombo<TTeCustomStdComboBoxEx>)

public:
    using TTeSkinnedCombo::TTeSkinnedCombo;

protected:
    void DrawThemedContent(TCanvas& canvas, TteTheme* theme, int index, TRect rect, bool selected,
                           bool face) override;
};

class TTeComboBoxEx : public TTeCustomComboBoxEx {
    TARVEL_CLASS(TTeComboBoxEx, TTeCustomComboBoxEx)

public:
    using TTeCustomComboBoxEx::TTeCustomComboBoxEx;
};

}  // namespace tarvel
