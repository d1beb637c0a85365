// The label editor of the tree and list views.

#include "platform/classlib/InplaceEditor.h"

namespace tarvel {

TLabelEditor::~TLabelEditor() {
    if (!edit_) return;
    edit_->OnKeyDown = nullptr;
    edit_->OnExit = nullptr;
}

void TLabelEditor::Start(TRect r, const String& text, TDone done) {
    if (active_) End(false);
    if (!edit_) {
        edit_ = new TEdit(host_);
        edit_->SetParent(host_);
        edit_->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
            if (key != VK_RETURN && key != VK_ESCAPE) return;
            End(key == VK_ESCAPE);
            key = 0;
        };
        edit_->OnExit = [this](TObject*) { End(false); };
    }
    done_ = std::move(done);
    active_ = true;
    edit_->SetBounds(r.left, r.top, r.Width(), r.Height());
    edit_->SetText(text);
    edit_->SetVisible(true);
    edit_->SetFocus();
    edit_->SelectAll();
}

void TLabelEditor::End(bool cancel) {
    if (!active_) return;
    active_ = false;
    const String text = edit_->Text();
    const bool hadFocus = edit_->Focused();
    edit_->SetVisible(false);
    if (hadFocus && host_->CanFocus()) host_->SetFocus();
    TDone done = std::move(done_);
    done_ = nullptr;
    if (done) done(cancel, text);
}

}  // namespace tarvel
