// TTeIPEdit: caret walking, clearing and the group range while typing.

#include "skin/extctrls/te_extctrls_ipedit.h"

#include <algorithm>

namespace tarvel {

namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kDot = u'.';

bool IsDot(int pos) { return pos % 4 == 3; }

// The group's value, or -1 when it is not a number (blank places inside it);
// an all-blank group answers -2.
int GroupValue(const WideString& group) {
    const size_t first = group.find_first_not_of(kBlank);
    if (first == WideString::npos) return -2;
    const size_t last = group.find_last_not_of(kBlank);
    int value = 0;
    for (size_t i = first; i <= last; ++i) {
        if (group[i] < u'0' || group[i] > u'9') return -1;
        value = value * 10 + (group[i] - u'0');
    }
    return value;
}

}  // namespace

TTeIPEdit::TTeIPEdit(TComponent* owner) : TTeMaskEdit(owner) { SetEditMask("999.999.999.999;1; "); }

WideString TTeIPEdit::Shown() const {
    WideString t = Utf8ToWide(EditTextShown());
    t.resize(kTextLength, kBlank);
    for (int p = 3; p < kTextLength; p += 4) t[static_cast<size_t>(p)] = kDot;
    return t;
}

void TTeIPEdit::ShowText(const WideString& text, int selStart, int selLength) {
    SetText(WideToUtf8(text));
    SetSelStart(selStart);
    SetSelLength(selLength);
}

void TTeIPEdit::SelectOne(int pos) {
    pos = std::clamp(pos, 0, kTextLength);
    SetSelStart(pos);
    SetSelLength(pos < kTextLength ? 1 : 0);
}

bool TTeIPEdit::IsIPValid() const {
    const WideString t = Shown();
    for (size_t i = 0; i < 4; ++i) {
        const int value = GroupValue(t.substr(i * 4, 3));
        if (value == -1 || value > kGroupMax) return false;
    }
    return true;
}

// A blank right next to a filled place is where the next digit goes, so the
// walk stops there; otherwise it passes blanks and dots to the next digit.
// Walking right off the last digit ends after the text; walking left off the
// first one stays put.
void TTeIPEdit::Walk(int step) {
    const WideString t = Shown();
    const int from = std::clamp(SelStart(), 0, kTextLength);
    // The end of the text counts as filled, so the blank before it is a stop.
    const bool onFilled = from >= kTextLength || t[static_cast<size_t>(from)] != kBlank;
    int stop = step > 0 ? kTextLength : from;
    for (int i = from + step; i >= 0 && i < kTextLength; i += step) {
        const char16_t ch = t[static_cast<size_t>(i)];
        if (ch == kBlank && i == from + step && onFilled) {
            stop = i;
            break;
        }
        if (ch == kBlank || ch == kDot) continue;
        stop = i;
        break;
    }
    SelectOne(stop);
}

void TTeIPEdit::ClearKey(WORD key) {
    WideString t = Shown();
    int start = std::clamp(SelStart(), 0, kTextLength);
    int length = std::clamp(SelLength(), 0, kTextLength - start);
    if (key == VK_BACK) {
        if (start == 0) return;
        --start;
        length = 0;
    }
    if (length > 1) {
        for (int p = start; p < start + length; ++p)
            if (!IsDot(p)) t[static_cast<size_t>(p)] = kBlank;
        ShowText(t, start, 0);
        SelectOne(start);
        return;
    }
    // A dot selected on its own is stepped over by Space and Delete; a dot
    // reached by Backspace stays selected, unchanged.
    if (length == 1 && key != VK_BACK && IsDot(start)) ++start;
    if (start >= kTextLength) {
        SelectOne(kTextLength);
        return;
    }
    if (IsDot(start)) {
        SelectOne(start);
        return;
    }
    t[static_cast<size_t>(start)] = kBlank;
    ShowText(t, start, 0);
    // Space moves on as a typed character would; Delete and Backspace keep
    // the place they blanked.
    SelectOne(key == VK_SPACE ? start + 1 : start);
}

void TTeIPEdit::BeforeDigit(int digit) {
    WideString t = Shown();
    int start = std::clamp(SelStart(), 0, kTextLength);
    const int length = std::clamp(SelLength(), 0, kTextLength - start);
    if (length > 1) {
        for (int p = start; p < start + length; ++p) t[static_cast<size_t>(p)] = IsDot(p) ? kDot : kBlank;
        ShowText(t, start, 0);
    }
    SelectOne(start);
    if (start >= kTextLength || IsDot(start)) return;
    const int place = start % 4;
    const int groupStart = start - place;
    WideString group = t.substr(static_cast<size_t>(groupStart), 3);
    group[static_cast<size_t>(place)] = static_cast<char16_t>(u'0' + digit);
    if (GroupValue(group) <= kGroupMax) return;
    // Held at the top of the range; the digit then goes on into the next group.
    t.replace(static_cast<size_t>(groupStart), 3, u"255");
    ShowText(t, groupStart + 3, 0);
    SelectOne(groupStart + 3);
}

void TTeIPEdit::KeyDown(WORD& key, TShiftState shift) {
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) key = static_cast<WORD>(u'0' + (key - VK_NUMPAD0));
    if (key >= u'0' && key <= u'9') {
        BeforeDigit(key - u'0');
        return;
    }
    if (!shift.Empty()) return;
    switch (key) {
        case VK_RIGHT: Walk(1); break;
        case VK_LEFT: Walk(-1); break;
        case VK_SPACE:
        case VK_DELETE:
        case VK_BACK: ClearKey(key); break;
        default: return;
    }
    key = 0;
}

bool TTeIPEdit::EditKey(WORD key, TShiftState shift) {
    // The mask edit's own walking would fight ours; the plain edit's stays.
    return TCustomEdit::EditKey(key, shift);
}

void TTeIPEdit::EditChar(char16_t ch) {
    // Blanks and backspaces were dealt with as keys.
    if (ch == kBlank || ch == u'\b') return;
    TTeMaskEdit::EditChar(ch);
}

void TTeIPEdit::DoExit() { TCustomEdit::DoExit(); }

}  // namespace tarvel
