#pragma once
// The rich edit: a memo whose characters each keep a colour. The colour of
// the selection, or of the text typed or added next at the caret, is set
// through SelAttributes, as a log that colours each added line does.

#include <memory>

#include "platform/classlib/StdCtrls.h"

namespace tarvel {

class TRichEdit;

class TTextAttributes : public TPersistent {
    TARVEL_CLASS(TTextAttributes, TPersistent)

public:
    explicit TTextAttributes(TRichEdit* owner) : owner_(owner) {}
    // The colour at the selection's start (the insertion colour when
    // nothing is selected); setting it colours the selection and what is
    // inserted next at the caret.
    TColor Color() const;
    void SetColor(TColor color);

private:
    TRichEdit* owner_;
};

class TRichEdit : public TCustomMemo {
    TARVEL_CLASS(TRichEdit, TCustomMemo)

public:
    explicit TRichEdit(TComponent* owner);
    ~TRichEdit() override;

    TTextAttributes* SelAttributes() { return selAttributes_.get(); }
    // The colour of a character (the font's where none was set).
    TColor CharColor(int pos) const;

private:
    std::unique_ptr<TTextAttributes> selAttributes_;
};

}  // namespace tarvel
