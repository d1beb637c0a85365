#include "skin/extctrls/te_extctrls_comboex.h"

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

// ---- the extended combo's strings --------------------------------------------------------------

TTeComboBoxExStrings::TTeComboBoxExStrings(TTeComboBoxEx* combo)
    : TTeCustomComboBoxStrings(combo), ex_(combo) {}

void TTeComboBoxExStrings::Insert(int index, const String& s) { InsertObject(index, s, nullptr); }

void TTeComboBoxExStrings::InsertObject(int index, const String& s, TObject* object) {
    TComboExItem item;
    item.Caption = s;
    item.Data = object;
    ex_->InsertItem(index, item);
}

void TTeComboBoxExStrings::Put(int index, const String& s) {
    TComboExItem item = ex_->ItemsEx(index);
    item.Caption = s;
    ex_->SetItem(index, item);
}

void TTeComboBoxExStrings::PutObject(int index, TObject* object) {
    TComboExItem item = ex_->ItemsEx(index);
    item.Data = object;
    ex_->SetItem(index, item);
}

void TTeComboBoxExStrings::Delete(int index) { ex_->DeleteItem(index); }

void TTeComboBoxExStrings::Clear() {
    const String text = ex_->Text();
    ex_->ClearItems();
    ex_->SetTextValue(text);
}

void TTeComboBoxExStrings::Exchange(int index1, int index2) {
    const TComboExItem first = ex_->ItemsEx(index1);
    const TComboExItem second = ex_->ItemsEx(index2);
    ex_->SetItem(index1, second);
    ex_->SetItem(index2, first);
}

// ---- the extended combo ------------------------------------------------------------------------

TTeComboBoxEx::TTeComboBoxEx(TComponent* owner)
    : TTeSkinnedCombo(owner), strings_(new TTeComboBoxExStrings(this)) {}

TTeComboBoxEx::~TTeComboBoxEx() { delete strings_; }

void TTeComboBoxEx::DrawThemedContent(TCanvas& canvas, TteTheme* theme, int index, TRect rect, bool selected,
                                      bool face) {
    if (index >= ItemsExCount()) return;
    rect.left = DrawItemImage(&canvas, index, rect, selected, face).left - 2;
    TTeSkinnedCombo::DrawThemedContent(canvas, theme, index, rect, selected, face);
}

}  // namespace tarvel
