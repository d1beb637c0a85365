#pragma once
// The masked edit: text typed into the places of an edit mask such as
// "999.999.999.999;1; ". Mask characters: 0 digit (required), 9 digit,
// # digit or sign, L letter (required), l letter, A letter or digit
// (required), a letter or digit, C any character (required), c any
// character; "\" makes the next character a literal; anything else is a
// literal kept in place. After the mask, ";1" keeps the literals in Text
// (";0" drops them) and the last field is the character of empty places.
// Typing overwrites the place at the caret, skipping literals; typing the
// next literal jumps past it. The selection covers the one place that the
// next character will take.

#include "platform/classlib/StdCtrls.h"

namespace tarvel {

class EDBEditError : public Exception {
public:
    using Exception::Exception;
};

class TCustomMaskEdit : public TCustomEdit {
    TARVEL_CLASS(TCustomMaskEdit, TCustomEdit)

public:
    explicit TCustomMaskEdit(TComponent* owner);

    const String& EditMask() const { return mask_; }
    void SetEditMask(const String& mask);
    // The text as shown: literals in place, empty places as the blank.
    String EditTextShown() const { return TCustomEdit::GetText(); }
    // Without the literals when the mask says so; empty places as blanks.
    String GetText() const override;
    void SetText(const String& text) override;
    // Raises EDBEditError when a required place is empty.
    virtual void ValidateEdit();
    bool IsMasked() const { return !places_.empty(); }

protected:
    void EditChar(char16_t ch) override;
    bool EditKey(WORD key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    struct Place {
        char16_t kind;  // mask character, or 0 for a literal
        char16_t literal;
    };
    bool Fits(const Place& p, char16_t ch) const;
    int NextPlace(int pos) const;  // the first editable place at or after pos, or the length
    int PrevPlace(int pos) const;  // the last editable place before pos, or -1
    void SelectPlace(int pos);
    void PutChar(int pos, char16_t ch);
    WideString Blank() const;

    String mask_;
    std::vector<Place> places_;
    bool saveLiterals_ = true;
    char16_t blank_ = u'_';
};

class TMaskEdit : public TCustomMaskEdit {
    TARVEL_CLASS(TMaskEdit, TCustomMaskEdit)

public:
    using TCustomMaskEdit::TCustomMaskEdit;
};

}  // namespace tarvel
