#pragma once
// TTeIPEdit: a dotted-quad address typed into the skinned mask edit. It
// keeps four groups of up to three digits; the arrows walk between the
// digits and the blanks a digit may go into, Space, Delete and Backspace
// blank places without disturbing the dots, and a group typed past 255 is
// held at 255. Leaving the control never complains of an incomplete address.

#include "skin/extctrls/te_extctrls_edits.h"

namespace tarvel {

class TTeIPEdit : public TTeMaskEdit {
    TARVEL_CLASS(TTeIPEdit, TTeMaskEdit)

public:
    explicit TTeIPEdit(TComponent* owner);

    // True when every group that is not blank is a number from 0 to 255; an
    // empty edit is valid.
    bool IsIPValid() const;

    static constexpr int kTextLength = 15;
    static constexpr int kGroupMax = 255;

protected:
    // Takes the keys in place of the mask edit's handling and of OnKeyDown.
    void KeyDown(WORD& key, TShiftState shift) override;
    bool EditKey(WORD key, TShiftState shift) override;
    void EditChar(char16_t ch) override;
    void DoExit() override;

private:
    WideString Shown() const;
    void ShowText(const WideString& text, int selStart, int selLength);
    void SelectOne(int pos);
    void Walk(int step);
    void ClearKey(WORD key);
    void BeforeDigit(int digit);
};

}  // namespace tarvel
