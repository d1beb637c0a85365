// TComboBoxEx: items with images and indents.

#include "platform/classlib/ComCtrls_ComboBoxEx.h"

#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

void TComboBoxEx::DeclareMessages(TMessageTable& t) { t.Add<&TComboBoxEx::CNCommandEx>(CN_COMMAND); }

TComboBoxEx::TComboBoxEx(TComponent* owner) : TCustomComboBox(owner) {
    SetStyle(csDropDownList);
    SetItemHeight(18);
}

void TComboBoxEx::SetImages(TCustomImageList* images) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_) {
        images_->FreeNotification(this);
        SetItemHeight(std::max(ItemHeight(), images_->Height() + 2));
    }
    Invalidate();
}

void TComboBoxEx::SetStyleEx(TComboBoxExStyles s) {
    styleEx_ = s;
    Invalidate();
}

void TComboBoxEx::Notification(TComponent* component, TOperation operation) {
    TCustomComboBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TComboBoxEx::CheckIndex(int index, bool allowEnd) const {
    if (index < 0 || index > ItemsExCount() - (allowEnd ? 0 : 1))
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

const TComboExItem& TComboBoxEx::ItemsEx(int index) const {
    CheckIndex(index, false);
    return itemsEx_[static_cast<size_t>(index)];
}

int TComboBoxEx::AddItem(const TComboExItem& item) {
    InsertItem(ItemsExCount(), item);
    return ItemsExCount() - 1;
}

void TComboBoxEx::InsertItem(int index, const TComboExItem& item) {
    CheckIndex(index, true);
    itemsEx_.insert(itemsEx_.begin() + index, item);
    Items()->InsertObject(index, item.Caption, item.Data);
}

void TComboBoxEx::SetItem(int index, const TComboExItem& item) {
    CheckIndex(index, false);
    itemsEx_[static_cast<size_t>(index)] = item;
    Items()->Put(index, item.Caption);
    Items()->PutObject(index, item.Data);
    if (index == ItemIndex()) SetItemIndex(index);
}

void TComboBoxEx::DeleteItem(int index) {
    CheckIndex(index, false);
    itemsEx_.erase(itemsEx_.begin() + index);
    Items()->Delete(index);
}

void TComboBoxEx::ClearItems() {
    itemsEx_.clear();
    Items()->Clear();
}

int TComboBoxEx::IndexOfCaption(const String& caption) const {
    for (int i = 0; i < ItemsExCount(); ++i) {
        const String& c = itemsEx_[static_cast<size_t>(i)].Caption;
        if (styleEx_.Contains(csExCaseSensitive) ? c == caption : SameText(c, caption)) return i;
    }
    return -1;
}

void TComboBoxEx::SetText(const String& text) {
    TCustomComboBox::SetText(text);
    if (!editing_) editBase_ = GetText();
}

// An edit of the edit part runs from the focus coming in (or the first
// change after the last edit ended) to the focus leaving, Enter, Escape or
// the list dropping down.
void TComboBoxEx::CNCommandEx(TMessage& m) {
    switch (HIWORD(m.WParam)) {
        case CBN_SETFOCUS:
            if (!editing_) editBase_ = GetText();
            BeginEdit();
            break;
        case CBN_EDITCHANGE: BeginEdit(); break;
        case CBN_KILLFOCUS: EndEdit(CBENF_KILLFOCUS); break;
        case CBN_DROPDOWN: EndEdit(CBENF_DROPDOWN); break;
    }
    TCustomComboBox::CNCommand(m);
    // A chosen item is no edit, but the next one starts from it.
    if (HIWORD(m.WParam) == CBN_SELCHANGE && !editing_) editBase_ = GetText();
}

void TComboBoxEx::EditCommitKey(WORD key) { EndEdit(key == VK_ESCAPE ? CBENF_ESCAPE : CBENF_RETURN); }

void TComboBoxEx::BeginEdit() {
    if (editing_ || !HasEdit()) return;
    editing_ = true;
    NotifyParent(this, CBEN_BEGINEDIT);
    if (OnBeginEdit) OnBeginEdit(this);
}

void TComboBoxEx::EndEdit(int why) {
    if (!editing_) return;
    editing_ = false;
    if (why == CBENF_ESCAPE) SetText(editBase_);
    const String text = GetText();
    NMCBEENDEDIT info;
    info.fChanged = text != editBase_;
    info.iNewSelection = IndexOfCaption(text);
    size_t n = std::min(text.size(), CBEMAXSTRLEN - 1);
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::copy_n(text.data(), n, info.szText);
    info.iWhy = why;
    editBase_ = text;
    if (HWND parent = ParentHandle(this)) {
        info.hdr.hwndFrom = Handle();
        info.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(Handle(), GWL_ID));
        info.hdr.code = CBEN_ENDEDIT;
        SendMessage(parent, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    }
    if (OnEndEdit) OnEndEdit(this);
}

void TComboBoxEx::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    const bool selected = state.Contains(odSelected);
    FillColor(dc, rect, selected ? clHighlight : Color());
    if (index < 0 || index >= ItemsExCount()) return;
    const TRect text = DrawItemImage(canvas, index, rect, selected, state.Contains(odComboBoxEdit));
    DrawCaption(dc, Font(), itemsEx_[static_cast<size_t>(index)].Caption, text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
                selected ? clHighlightText : (Enabled() ? Font()->Color() : clGrayText));
}

TRect TComboBoxEx::DrawItemImage(TCanvas* canvas, int index, const TRect& rect, bool selected, bool face) {
    const TComboExItem& item = ItemsEx(index);
    int x = rect.left + 2;
    if (!face || !styleEx_.Contains(csExNoEditImageIndent)) x += face ? 0 : item.Indent * kIndentWidth;
    const bool showImage = images_ && !(face && styleEx_.Contains(csExNoEditImage));
    if (showImage) {
        const int image =
            selected && item.SelectedImageIndex >= 0 ? item.SelectedImageIndex : item.ImageIndex;
        const int y = rect.top + (rect.Height() - images_->Height()) / 2;
        if (image >= 0) images_->Draw(canvas, x, y, image, Enabled());
        if (item.OverlayImageIndex >= 0) images_->Draw(canvas, x, y, item.OverlayImageIndex, Enabled());
        x += images_->Width() + 4;
    }
    return TRect{x, rect.top, rect.right - 2, rect.bottom};
}

}  // namespace tarvel
