#include "skin/controls/te_controls_undo.h"

#include "skin/controls/te_controls_edit.h"

namespace tarvel {

void* TTeOrderedList::PopItem() {
    void* p = list_.Items(list_.Count() - 1);
    list_.Delete(list_.Count() - 1);
    return p;
}

void* TTeOrderedList::PeekItem() { return list_.Items(list_.Count() - 1); }

int TTeObjectList::FindInstanceOf(TClass cls, bool exact, int start) const {
    for (int i = std::max(start, 0); i < Count(); ++i) {
        TObject* o = Items(i);
        if (!o) continue;
        if (exact ? o->ClassType() == cls : o->InheritsFrom(cls)) return i;
    }
    return -1;
}

TEditActionStack::~TEditActionStack() { Clear(); }

void TEditActionStack::Clear() {
    while (Count()) delete static_cast<PEditAction>(Pop());
}

void TEditActionStack::FragmentDeleted(int position, const WideString& text) {
    if (text.empty()) return;
    if (Count()) {
        auto* top = static_cast<PEditAction>(Peek());
        if (top->Kind == eakDeleted) {
            const int64_t end = int64_t{position} + static_cast<int64_t>(text.size());
            if (end == top->Position) {
                top->Text.insert(0, text);
                top->Position = position;
                return;
            }
            if (position == top->Position) {
                top->Text += text;
                return;
            }
        }
    }
    Push(new TEditAction{eakDeleted, false, position, text, 0});
}

void TEditActionStack::FragmentInserted(int position, int length, bool chained) {
    if (length <= 0) return;
    if (Count()) {
        auto* top = static_cast<PEditAction>(Peek());
        if (top->Kind == eakInserted && int64_t{top->Position} + top->Length == position) {
            top->Length += length;
            return;
        }
    }
    Push(new TEditAction{eakInserted, chained, position, {}, length});
}

bool TEditActionStack::RollBackAction() {
    if (!Count() || !edit_) return false;
    bool chained = true;
    while (chained && Count()) {
        std::unique_ptr<TEditAction> action(static_cast<PEditAction>(Pop()));
        if (action->Kind == eakDeleted)
            edit_->InsertAfter(action->Position - 1, action->Text, true);
        else
            edit_->DeleteFrom(action->Position, action->Length, true);
        chained = action->Chained;
    }
    return true;
}

}  // namespace tarvel
