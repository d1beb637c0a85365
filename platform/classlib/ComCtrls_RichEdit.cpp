// TRichEdit and its text attributes.

#include "platform/classlib/ComCtrls_RichEdit.h"

namespace tarvel {

TColor TTextAttributes::Color() const {
    const TEditText& t = owner_->EditText();
    const TColor c = t.SelLength() > 0 ? t.ColorAt(t.SelStart()) : t.InsertColor();
    return c == clDefault ? owner_->Font()->Color() : c;
}

void TTextAttributes::SetColor(TColor color) {
    TEditText& t = owner_->EditText();
    if (t.SelLength() > 0) t.SetSelColor(color);
    t.SetInsertColor(color);
    owner_->Invalidate();
}

TRichEdit::TRichEdit(TComponent* owner)
    : TCustomMemo(owner), selAttributes_(std::make_unique<TTextAttributes>(this)) {}

TRichEdit::~TRichEdit() = default;

TColor TRichEdit::CharColor(int pos) const {
    const TColor c = EditText().ColorAt(pos);
    return c == clDefault ? const_cast<TRichEdit*>(this)->Font()->Color() : c;
}

}  // namespace tarvel
