#include "skin/extctrls/te_extctrls_comboex.h"

#include <algorithm>
#include <utility>

#include "platform/base/Strings.h"
#include "platform/classlib/StdCtrlMessages.h"
#include "skin/core/te_theme_colors.h"

namespace tarvel {

// ---- strings through the window ----------------------------------------------------------------

void TTeCustomComboBoxStrings::CheckIndex(int index, int count) const {
    if (index < 0 || index >= count) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

int TTeCustomComboBoxStrings::Count() const {
    return static_cast<int>(SendMessage(Window(), CB_GETCOUNT, 0, 0));
}

String TTeCustomComboBoxStrings::Get(int index) const {
    // The length first: an item may be longer than any buffer picked beforehand.
    const LRESULT length = SendMessage(Window(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return String();
    String text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = SendMessage(Window(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                                    reinterpret_cast<LPARAM>(text.data()));
    if (got < 0) return String();
    text.resize(std::min(static_cast<size_t>(got), static_cast<size_t>(length)));
    return text;
}

TObject* TTeCustomComboBoxStrings::GetObject(int index) const {
    const LRESULT data = SendMessage(Window(), CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == CB_ERR ? nullptr : reinterpret_cast<TObject*>(data);
}

void TTeCustomComboBoxStrings::PutObject(int index, TObject* object) {
    CheckIndex(index, Count());
    SendMessage(Window(), CB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
}

void TTeCustomComboBoxStrings::Insert(int index, const String& s) {
    CheckIndex(index, Count() + 1);
    SendMessage(Window(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
}

void TTeCustomComboBoxStrings::Delete(int index) {
    CheckIndex(index, Count());
    SendMessage(Window(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TTeCustomComboBoxStrings::Clear() {
    const String text = combo_->Text();
    SendMessage(Window(), CB_RESETCONTENT, 0, 0);
    combo_->SetTextValue(text);
    combo_->Update();
}

int TTeCustomComboBoxStrings::IndexOf(const String& s) const {
    return static_cast<int>(SendMessage(Window(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(s.c_str())));
}

void TTeCustomComboBoxStrings::SetUpdateState(bool updating) {
    if (!combo_->HandleAllocated()) return;
    SendMessage(Window(), WM_SETREDRAW, updating ? 0 : 1, 0);
    if (!updating) combo_->Refresh();
}

// ---- the extended combo's items -----------------------------------------------------------------

TTeComboBoxExItems* TTeComboBoxExItem::Items() const {
    return dynamic_cast<TTeComboBoxExItems*>(Collection());
}

void TTeComboBoxExItem::WriteToCombo() {
    if (TTeComboBoxExItems* items = Items()) items->SetItem(Index());
}

void TTeComboBoxExItem::SetCaption(const String& value) {
    caption_ = value;
    WriteToCombo();
    if (TTeComboBoxExItems* items = Items();
        items && (items->SortType() == stText || items->SortType() == stBoth))
        items->Sort();
}

void TTeComboBoxExItem::SetImageIndex(int value) {
    if (selectedImageIndex_ == -1 || selectedImageIndex_ == imageIndex_) selectedImageIndex_ = value;
    imageIndex_ = value;
    WriteToCombo();
}

void TTeComboBoxExItem::SetData(void* value) {
    data_ = value;
    WriteToCombo();
    if (TTeComboBoxExItems* items = Items();
        items && (items->SortType() == stData || items->SortType() == stBoth))
        items->Sort();
}

void TTeComboBoxExItem::SetSelectedImageIndex(int value) {
    selectedImageIndex_ = value;
    WriteToCombo();
}

void TTeComboBoxExItem::SetOverlayImageIndex(int value) {
    overlayImageIndex_ = value;
    WriteToCombo();
}

void TTeComboBoxExItem::SetIndent(int value) {
    indent_ = value;
    WriteToCombo();
}

void TTeComboBoxExItem::Assign(TPersistent* source) {
    auto* item = dynamic_cast<TTeComboBoxExItem*>(source);
    if (!item) {
        TTeListControlItem::Assign(source);
        return;
    }
    selectedImageIndex_ = item->selectedImageIndex_;
    indent_ = item->indent_;
    overlayImageIndex_ = item->overlayImageIndex_;
    imageIndex_ = item->imageIndex_;
    caption_ = item->caption_;
}

TComboExItem TTeComboBoxExItem::AsComboItem() const {
    TComboExItem item;
    item.Caption = caption_;
    item.ImageIndex = imageIndex_;
    item.SelectedImageIndex = selectedImageIndex_;
    item.OverlayImageIndex = overlayImageIndex_;
    item.Indent = std::max(indent_, 0);
    item.Data = static_cast<TObject*>(data_);
    return item;
}

TTeCustomStdComboBoxEx* TTeComboBoxExItems::Combo() {
    return dynamic_cast<TTeCustomStdComboBoxEx*>(GetOwner());
}

TTeComboBoxExItem* TTeComboBoxExItems::AddItem(const String& caption, int imageIndex, int selectedImageIndex,
                                               int overlayImageIndex, int indent, void* data) {
    TTeComboBoxExItem* item = Add();
    BeginUpdate();
    item->SetCaption(caption);
    item->SetImageIndex(imageIndex);
    item->SetSelectedImageIndex(selectedImageIndex);
    item->SetOverlayImageIndex(overlayImageIndex);
    item->SetIndent(indent);
    item->SetData(data);
    EndUpdate();
    SetItem(item->Index());
    return item;
}

void TTeComboBoxExItems::SetItem(int index) {
    TTeCustomStdComboBoxEx* combo = Combo();
    if (!combo || UpdateCount() > 0 || index < 0 || index >= Count()) return;
    const TComboExItem item = GetComboItem(index)->AsComboItem();
    if (index < combo->ItemsExCount())
        combo->SetItem(index, item);
    else
        combo->InsertItem(combo->ItemsExCount(), item);
}

void TTeComboBoxExItems::Notify(TCollectionItem* item, TCollectionNotification action) {
    TTeCustomStdComboBoxEx* combo = Combo();
    if (!combo || UpdateCount() > 0) return;
    // A new item has its defaults from its constructor and reaches the
    // combo with the update that follows.
    if (action == cnDeleting && !combo->ComponentState().Contains(csDestroying) &&
        item->Index() < combo->ItemsExCount())
        combo->DeleteItem(item->Index());
}

void TTeComboBoxExItems::Update(TCollectionItem* item) {
    TTeCustomStdComboBoxEx* combo = Combo();
    if (!combo || combo->ComponentState().Contains(csDestroying)) return;
    if (item) {
        SetItem(item->Index());
        return;
    }
    // Added, removed, moved or sorted: the combo is brought to the list.
    for (int i = 0; i < Count(); ++i) SetItem(i);
    while (combo->ItemsExCount() > Count()) combo->DeleteItem(combo->ItemsExCount() - 1);
}

// ---- the extended combo's strings --------------------------------------------------------------

TTeComboBoxExStrings::TTeComboBoxExStrings(TTeCustomStdComboBoxEx* combo)
    : TTeCustomComboBoxStrings(combo), ex_(combo) {}

TTeComboBoxExItems* TTeComboBoxExStrings::Items() const { return ex_->ItemsEx(); }

void TTeComboBoxExStrings::Insert(int index, const String& s) { InsertObject(index, s, nullptr); }

void TTeComboBoxExStrings::InsertObject(int index, const String& s, TObject* object) {
    CheckIndex(index, Count() + 1);
    TTeComboBoxExItems* items = Items();
    items->BeginUpdate();
    TTeComboBoxExItem* item = items->Insert(index);
    item->SetCaption(s);
    item->SetData(object);
    items->EndUpdate();
}

void TTeComboBoxExStrings::Put(int index, const String& s) {
    CheckIndex(index, Count());
    Items()->GetComboItem(index)->SetCaption(s);
}

void TTeComboBoxExStrings::PutObject(int index, TObject* object) {
    CheckIndex(index, Count());
    Items()->GetComboItem(index)->SetData(object);
}

void TTeComboBoxExStrings::Delete(int index) {
    CheckIndex(index, Count());
    Items()->Delete(index);
}

void TTeComboBoxExStrings::Clear() {
    const String text = ex_->Text();
    Items()->Clear();
    ex_->SetTextValue(text);
}

void TTeComboBoxExStrings::Exchange(int index1, int index2) {
    CheckIndex(index1, Count());
    CheckIndex(index2, Count());
    Items()->ExchangeItems(index1, index2);
}

// ---- the extended combo ------------------------------------------------------------------------

template class TComboBoxExOn<TTeCustomCombo>;

TTeCustomStdComboBoxEx::TTeCustomStdComboBoxEx(TComponent* owner)
    : TComboBoxExOn(owner), itemsEx_(new TTeComboBoxExItems(this)), strings_(new TTeComboBoxExStrings(this)) {
    SetItems(strings_);
}

TTeCustomStdComboBoxEx::~TTeCustomStdComboBoxEx() {
    delete strings_;
    // Items leave without touching the combo, which goes with them.
    TTeComboBoxExItems* items = std::exchange(itemsEx_, nullptr);
    delete items;
}

void TTeCustomComboBoxEx::DrawThemedContent(TCanvas& canvas, TteTheme* theme, int index, TRect rect,
                                            bool selected, bool face) {
    if (index >= ItemsExCount()) return;
    rect.left = DrawItemImage(&canvas, index, rect, selected, face).left - 2;
    TTeSkinnedCombo::DrawThemedContent(canvas, theme, index, rect, selected, face);
}

}  // namespace tarvel
