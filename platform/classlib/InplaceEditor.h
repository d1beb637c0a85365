#pragma once
// The edit a tree or list view puts over a label while the user renames it:
// Enter or leaving it keeps the text, Escape drops it.

#include <functional>

#include "platform/classlib/StdCtrls.h"

namespace tarvel {

class TLabelEditor {
public:
    using TDone = std::function<void(bool cancelled, const String& text)>;
    explicit TLabelEditor(TWinControl* host) : host_(host) {}
    // The edit outlives this (its host frees it later): it must not call back.
    ~TLabelEditor();
    TLabelEditor(const TLabelEditor&) = delete;
    TLabelEditor& operator=(const TLabelEditor&) = delete;

    // Shows the edit over `r` (host client coordinates) with the text selected.
    void Start(TRect r, const String& text, TDone done);
    void End(bool cancel);
    bool Active() const { return active_; }

private:
    TWinControl* host_;
    TEdit* edit_ = nullptr;  // owned by the host, kept for the next time
    TDone done_;
    bool active_ = false;
};

}  // namespace tarvel
