// TCustomMaskEdit: the mask, overwriting input and validation.

#include "platform/classlib/Mask.h"

namespace tarvel {

namespace {
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsLetter(char16_t c) { return ((c | 0x20) >= u'a' && (c | 0x20) <= u'z') || c >= 0x80; }
bool Required(char16_t kind) { return kind == u'0' || kind == u'L' || kind == u'A' || kind == u'C'; }
}  // namespace

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner, false) {}

void TCustomMaskEdit::SetEditMask(const String& mask) {
    mask_ = mask;
    places_.clear();
    saveLiterals_ = true;
    blank_ = u'_';
    const WideString w = Utf8ToWide(mask);
    // The two fields after the mask: keep literals, the blank character.
    size_t end = w.size();
    const size_t last = w.rfind(u';');
    if (last != WideString::npos && last > 0) {
        const size_t first = w.rfind(u';', last - 1);
        if (first != WideString::npos && (first == 0 || w[first - 1] != u'\\')) {
            saveLiterals_ = w.substr(first + 1, last - first - 1) != u"0";
            if (last + 1 < w.size()) blank_ = w[last + 1];
            end = first;
        }
    }
    static const std::u16string kKinds = u"09#LlAaCc";
    for (size_t i = 0; i < end; ++i) {
        char16_t c = w[i];
        if (c == u'\\' && i + 1 < end) {
            places_.push_back(Place{0, w[++i]});
        } else if (kKinds.find(c) != std::u16string::npos) {
            places_.push_back(Place{c, 0});
        } else if (c != u'>' && c != u'<' && c != u'!') {
            places_.push_back(Place{0, c});
        }
    }
    TCustomEdit::SetText(WideToUtf8(Blank()));
    SetMaxLength(static_cast<int>(places_.size()));
}

WideString TCustomMaskEdit::Blank() const {
    WideString out;
    for (const Place& p : places_) out += p.kind ? blank_ : p.literal;
    return out;
}

bool TCustomMaskEdit::Fits(const Place& p, char16_t ch) const {
    switch (p.kind) {
        case u'0':
        case u'9': return IsDigit(ch);
        case u'#': return IsDigit(ch) || ch == u'+' || ch == u'-';
        case u'L':
        case u'l': return IsLetter(ch);
        case u'A':
        case u'a': return IsLetter(ch) || IsDigit(ch);
        case u'C':
        case u'c': return ch >= u' ';
    }
    return false;
}

String TCustomMaskEdit::GetText() const {
    const String shown = TCustomEdit::GetText();
    if (!IsMasked() || saveLiterals_) return shown;
    const WideString w = Utf8ToWide(shown);
    WideString out;
    for (size_t i = 0; i < w.size() && i < places_.size(); ++i)
        if (places_[i].kind) out += w[i];
    return WideToUtf8(out);
}

void TCustomMaskEdit::SetText(const String& text) {
    if (!IsMasked()) {
        TCustomEdit::SetText(text);
        return;
    }
    // Characters fill the places in order; literals given in the text are
    // matched with the mask's own.
    const WideString in = Utf8ToWide(text);
    WideString out = Blank();
    size_t j = 0;
    for (size_t i = 0; i < places_.size() && j < in.size(); ++i) {
        if (!places_[i].kind) {
            if (saveLiterals_ && in[j] == places_[i].literal) ++j;
            continue;
        }
        if (Fits(places_[i], in[j]) || in[j] == blank_) out[i] = in[j];
        ++j;
    }
    TCustomEdit::SetText(WideToUtf8(out));
}

int TCustomMaskEdit::NextPlace(int pos) const {
    while (pos < static_cast<int>(places_.size()) && !places_[static_cast<size_t>(pos)].kind) ++pos;
    return pos;
}

int TCustomMaskEdit::PrevPlace(int pos) const {
    --pos;
    while (pos >= 0 && !places_[static_cast<size_t>(pos)].kind) --pos;
    return pos;
}

void TCustomMaskEdit::SelectPlace(int pos) {
    pos = NextPlace(std::max(0, pos));
    if (pos >= static_cast<int>(places_.size())) {
        SetSelStart(static_cast<int>(places_.size()));
        return;
    }
    SetSelStart(pos);
    SetSelLength(1);
}

void TCustomMaskEdit::PutChar(int pos, char16_t ch) {
    TEditText& t = EditText();
    t.SetSel(pos, pos + 1);
    UserReplace(std::u16string_view(&ch, 1));
}

void TCustomMaskEdit::EditChar(char16_t ch) {
    if (!IsMasked()) {
        TCustomEdit::EditChar(ch);
        return;
    }
    if (ReadOnly()) return;
    int pos = SelStart();
    if (ch == u'\b') {
        const int at = PrevPlace(pos);
        if (at < 0) return;
        PutChar(at, blank_);
        SelectPlace(at);
        return;
    }
    if (ch < u' ') return;
    // A literal typed jumps past the next such literal (the next group),
    // unless the caret has just been moved past one.
    const bool justPassed = pos > 0 && !places_[static_cast<size_t>(pos - 1)].kind &&
                            places_[static_cast<size_t>(pos - 1)].literal == ch;
    for (int i = pos; i < static_cast<int>(places_.size()) && !justPassed; ++i) {
        const Place& p = places_[static_cast<size_t>(i)];
        if (!p.kind && p.literal == ch) {
            SelectPlace(i + 1);
            return;
        }
    }
    pos = NextPlace(pos);
    if (pos >= static_cast<int>(places_.size()) || !Fits(places_[static_cast<size_t>(pos)], ch)) return;
    PutChar(pos, ch);
    SelectPlace(pos + 1);
}

bool TCustomMaskEdit::EditKey(WORD key, TShiftState shift) {
    if (!IsMasked()) return TCustomEdit::EditKey(key, shift);
    const int pos = SelStart();
    switch (key) {
        case VK_DELETE:
            if (ReadOnly()) return true;
            if (pos < static_cast<int>(places_.size()) && places_[static_cast<size_t>(pos)].kind)
                PutChar(pos, blank_);
            SelectPlace(pos);
            return true;
        case VK_LEFT:
            if (shift.Contains(ssShift)) break;
            if (PrevPlace(pos) >= 0) SelectPlace(PrevPlace(pos));
            return true;
        case VK_RIGHT:
            if (shift.Contains(ssShift)) break;
            SelectPlace(NextPlace(pos) + 1);
            return true;
        case VK_HOME:
            if (shift.Contains(ssShift)) break;
            SelectPlace(0);
            return true;
        case VK_END:
            if (shift.Contains(ssShift)) break;
            SetSelStart(static_cast<int>(places_.size()));
            return true;
    }
    return TCustomEdit::EditKey(key, shift);
}

void TCustomMaskEdit::DoEnter() {
    TCustomEdit::DoEnter();
    if (IsMasked() && SelLength() != static_cast<int>(places_.size())) SelectPlace(SelStart());
}

void TCustomMaskEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomEdit::MouseUp(button, shift, x, y);
    if (IsMasked() && button == mbLeft && SelLength() == 0) SelectPlace(SelStart());
}

void TCustomMaskEdit::ValidateEdit() {
    const WideString w = Utf8ToWide(TCustomEdit::GetText());
    for (size_t i = 0; i < places_.size() && i < w.size(); ++i) {
        if (Required(places_[i].kind) && w[i] == blank_) {
            SelectPlace(static_cast<int>(i));
            throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
        }
    }
}

void TCustomMaskEdit::DoExit() {
    if (IsMasked()) ValidateEdit();
    TCustomEdit::DoExit();
}

}  // namespace tarvel
