#pragma once
// The extended combo's operations, for every base it is built on.

#include <algorithm>

#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

template <class Base>
void TComboBoxExOn<Base>::DeclareMessages(TMessageTable& t) {
    t.Add<&TComboBoxExOn::CNCommandEx>(CN_COMMAND);
}

template <class Base>
TComboBoxExOn<Base>::TComboBoxExOn(TComponent* owner) : Base(owner) {
    this->SetStyle(csDropDownList);
    this->SetItemHeight(18);
}

template <class Base>
void TComboBoxExOn<Base>::SetImages(TCustomImageList* images) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_) {
        images_->FreeNotification(this);
        this->SetItemHeight(std::max(this->ItemHeight(), images_->Height() + 2));
    }
    this->Invalidate();
}

template <class Base>
void TComboBoxExOn<Base>::SetStyleEx(TComboBoxExStyles s) {
    styleEx_ = s;
    this->Invalidate();
}

template <class Base>
void TComboBoxExOn<Base>::Notification(TComponent* component, TOperation operation) {
    Base::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

template <class Base>
void TComboBoxExOn<Base>::CheckIndex(int index, bool allowEnd) const {
    if (index < 0 || index > ItemsExCount() - (allowEnd ? 0 : 1))
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

template <class Base>
const TComboExItem& TComboBoxExOn<Base>::ItemsEx(int index) const {
    CheckIndex(index, false);
    return itemsEx_[static_cast<size_t>(index)];
}

template <class Base>
int TComboBoxExOn<Base>::AddItem(const TComboExItem& item) {
    InsertItem(ItemsExCount(), item);
    return ItemsExCount() - 1;
}

template <class Base>
void TComboBoxExOn<Base>::InsertItem(int index, const TComboExItem& item) {
    CheckIndex(index, true);
    itemsEx_.insert(itemsEx_.begin() + index, item);
    this->Items()->InsertObject(index, item.Caption, item.Data);
}

template <class Base>
void TComboBoxExOn<Base>::SetItem(int index, const TComboExItem& item) {
    CheckIndex(index, false);
    itemsEx_[static_cast<size_t>(index)] = item;
    this->Items()->Put(index, item.Caption);
    this->Items()->PutObject(index, item.Data);
    if (index == TCustomComboBox::ItemIndex()) TCustomComboBox::SetItemIndex(index);
}

template <class Base>
void TComboBoxExOn<Base>::DeleteItem(int index) {
    CheckIndex(index, false);
    itemsEx_.erase(itemsEx_.begin() + index);
    this->Items()->Delete(index);
}

template <class Base>
void TComboBoxExOn<Base>::ClearItems() {
    itemsEx_.clear();
    this->Items()->Clear();
}

template <class Base>
int TComboBoxExOn<Base>::IndexOfCaption(const String& caption) const {
    for (int i = 0; i < ItemsExCount(); ++i) {
        const String& c = itemsEx_[static_cast<size_t>(i)].Caption;
        if (styleEx_.Contains(csExCaseSensitive) ? c == caption : SameText(c, caption)) return i;
    }
    return -1;
}

template <class Base>
void TComboBoxExOn<Base>::SetText(const String& text) {
    Base::SetText(text);
    if (!editing_) editBase_ = this->GetText();
}

// An edit of the edit part runs from the focus coming in (or the first
// change after the last edit ended) to the focus leaving, Enter, Escape or
// the list dropping down.
template <class Base>
void TComboBoxExOn<Base>::CNCommandEx(TMessage& m) {
    switch (HIWORD(m.WParam)) {
        case CBN_SETFOCUS:
            if (!editing_) editBase_ = this->GetText();
            BeginEdit();
            break;
        case CBN_EDITCHANGE: BeginEdit(); break;
        case CBN_KILLFOCUS: EndEdit(CBENF_KILLFOCUS); break;
        case CBN_DROPDOWN: EndEdit(CBENF_DROPDOWN); break;
    }
    Base::CNCommand(m);
    // A chosen item is no edit, but the next one starts from it.
    if (HIWORD(m.WParam) == CBN_SELCHANGE && !editing_) editBase_ = this->GetText();
}

template <class Base>
void TComboBoxExOn<Base>::EditCommitKey(WORD key) {
    EndEdit(key == VK_ESCAPE ? CBENF_ESCAPE : CBENF_RETURN);
}

template <class Base>
void TComboBoxExOn<Base>::BeginEdit() {
    if (editing_ || !this->HasEdit()) return;
    editing_ = true;
    NotifyParent(this, CBEN_BEGINEDIT);
    if (OnBeginEdit) OnBeginEdit(this);
}

template <class Base>
void TComboBoxExOn<Base>::EndEdit(int why) {
    if (!editing_) return;
    editing_ = false;
    if (why == CBENF_ESCAPE) this->SetText(editBase_);
    const String text = this->GetText();
    NMCBEENDEDIT info;
    info.fChanged = text != editBase_;
    info.iNewSelection = IndexOfCaption(text);
    size_t n = std::min(text.size(), CBEMAXSTRLEN - 1);
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::copy_n(text.data(), n, info.szText);
    info.iWhy = why;
    editBase_ = text;
    if (HWND parent = ParentHandle(this)) {
        info.hdr.hwndFrom = this->Handle();
        info.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(this->Handle(), GWL_ID));
        info.hdr.code = CBEN_ENDEDIT;
        SendMessage(parent, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    }
    if (OnEndEdit) OnEndEdit(this);
}

template <class Base>
void TComboBoxExOn<Base>::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (this->OnDrawItem) {
        this->OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = this->Canvas();
    HDC dc = canvas->Handle();
    const bool selected = state.Contains(odSelected);
    FillColor(dc, rect, selected ? clHighlight : this->Color());
    if (index < 0 || index >= ItemsExCount()) return;
    const TRect text = DrawItemImage(canvas, index, rect, selected, state.Contains(odComboBoxEdit));
    DrawCaption(dc, this->Font(), itemsEx_[static_cast<size_t>(index)].Caption, text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
                selected ? clHighlightText : (this->Enabled() ? this->Font()->Color() : clGrayText));
}

template <class Base>
TRect TComboBoxExOn<Base>::DrawItemImage(TCanvas* canvas, int index, const TRect& rect, bool selected,
                                         bool face) {
    const TComboExItem& item = ItemsEx(index);
    int x = rect.left + 2;
    if (!face || !styleEx_.Contains(csExNoEditImageIndent)) x += face ? 0 : item.Indent * kIndentWidth;
    const bool showImage = images_ && !(face && styleEx_.Contains(csExNoEditImage));
    if (showImage) {
        const int image =
            selected && item.SelectedImageIndex >= 0 ? item.SelectedImageIndex : item.ImageIndex;
        const int y = rect.top + (rect.Height() - images_->Height()) / 2;
        if (image >= 0) images_->Draw(canvas, x, y, image, this->Enabled());
        if (item.OverlayImageIndex >= 0) images_->Draw(canvas, x, y, item.OverlayImageIndex, this->Enabled());
        x += images_->Width() + 4;
    }
    return TRect{x, rect.top, rect.right - 2, rect.bottom};
}

}  // namespace tarvel
