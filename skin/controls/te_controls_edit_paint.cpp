// The edit's geometry and painting: where characters stand, how the text
// scrolls sideways, and the face through the theme or in the classic look.

#include <algorithm>

#include "platform/classlib/Bitmaps.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

String FontKey(TFont* f) {
    return f->Name() + "/" + IntToStr(f->Height()) + "/" + IntToStr(f->Style().Bits());
}

}  // namespace

bool TTeEdit::Themed() { return IsObjectDefined(kescEdit, themeObject_, themeLink_); }

TteEditDrawState TTeEdit::DrawState() {
    if (!Enabled()) return kedsDisabled;
    if (readOnly_) return kedsReadOnly;
    if (IsHot()) return kedsHot;
    if (IsFocused()) return kedsFocused;
    return kedsNormal;
}

void TTeEdit::ApplyStateFont(TFont* font) {
    if (Themed()) {
        TteThemeFont index = !Enabled()    ? ktfEditBoxTextDisabled
                             : IsHot()     ? ktfEditBoxTextHot
                             : IsFocused() ? ktfEditBoxTextFocused
                                           : ktfEditBoxTextNormal;
        Theme()->SetFontForObject(font, index, themeObject_);
    } else {
        font->Assign(Font());
    }
}

bool TTeEdit::SelectionShown() { return (IsFocused() || !hideSelection_) && SelLength() > 0; }

TCanvas& TTeEdit::MeasureCanvas() {
    if (!measure_) measure_ = std::make_unique<TBitmap>(1, 1);
    return *measure_->Canvas();
}

// The advance of the character at pos (a pair as one), in the state's font.
int TTeEdit::CharWidth(int pos) {
    if (pos < 0 || pos >= static_cast<int>(text_.size())) return 0;
    TCanvas& c = MeasureCanvas();
    ApplyStateFont(c.Font());
    const String key = FontKey(c.Font());
    if (key != advanceFont_) {
        advances_.clear();
        advanceFont_ = key;
    }
    const bool pair = IsHigh(text_[pos]) && pos + 1 < static_cast<int>(text_.size());
    const char32_t code =
        pair ? 0x10000 + ((char32_t(text_[pos]) - 0xD800) << 10) + (text_[pos + 1] - 0xDC00) : text_[pos];
    auto it = advances_.find(code);
    if (it != advances_.end()) return it->second;
    const int w = TextWidth(c, std::u16string_view(text_).substr(pos, pair ? 2 : 1));
    advances_.emplace(code, w);
    return w;
}

// Pixels of the characters in [from, to).
int TTeEdit::TextWidthFrom(int from, int to) {
    if (passwordKind_ != pkNone) {
        int n = 0;
        for (int i = from; i < to; i = NextCharPos(i)) ++n;
        return n * GetPasswordCharWidth();
    }
    int w = 0;
    for (int i = std::max(from, 0); i < to; i = NextCharPos(i)) w += CharWidth(i);
    return w;
}

TRect TTeEdit::GetEditRect() {
    if (Themed()) {
        TCanvas& c = MeasureCanvas();
        return Theme()->EditGetClientRect(kescEdit, c, EditInfo(TRect{0, 0, Width(), Height()}, kedsNormal),
                                          themeObject_);
    }
    TRect r = GetBorderRect();
    TCanvas& c = MeasureCanvas();
    c.Font()->Assign(Font());
    r.bottom = r.top + c.TextHeight("Pq");
    return r;
}

int TTeEdit::GetPasswordCharWidth() {
    TCanvas& c = MeasureCanvas();
    c.Font()->Assign(Font());
    int w = 10;
    if (passwordKind_ == pkChar)
        w = TextWidth(c, std::u16string_view(&passwordChar_, 1));
    else if (passwordKind_ != pkNone)
        w = c.TextWidth("W");
    return std::max(w, 1);
}

// What the alignment adds while the whole text is narrower than the rectangle.
int TTeEdit::AlignmentOffset(const TRect& r) {
    if (alignment_ == taLeftJustify) return 0;
    const int room = r.Width();
    int w = 0;
    for (int i = 0; i < static_cast<int>(text_.size()); i = NextCharPos(i)) {
        w += passwordKind_ != pkNone ? GetPasswordCharWidth() : CharWidth(i);
        if (w >= room) return 0;
    }
    return alignment_ == taRightJustify ? room - w : (room - w) / 2;
}

int TTeEdit::GetCharX(int index) {
    const TRect r = GetEditRect();
    int x = r.left;
    const int first = Clamp(firstVisibleChar_ - 1);
    const int to = Clamp(index);
    if (to > first) x += TextWidthFrom(first, to);
    return x + AlignmentOffset(r);
}

int TTeEdit::GetCoordinatePosition(int x) {
    const int first = Clamp(firstVisibleChar_ - 1);
    if (text_.empty()) return 0;
    const TRect r = GetEditRect();
    x -= AlignmentOffset(r);
    const int len = static_cast<int>(text_.size());
    if (passwordKind_ != pkNone) {
        const int cells = (x - r.left) / GetPasswordCharWidth();
        int p = first;
        for (int k = 0; k < cells && p < len; ++k) p = NextCharPos(p);
        return x < r.left ? first : Clamp(p);
    }
    int index = first;
    double boundary = r.left + CharWidth(index) / 2.0;
    while (x > boundary && index < len && boundary < r.right) {
        const int next = NextCharPos(index);
        boundary += CharWidth(index) / 2.0 + (next < len ? CharWidth(next) / 2.0 : 0.0);
        index = next;
    }
    return Clamp(index);
}

// Keeps the caret in view. Measured back from the caret, so a long text
// costs only what is shown.
void TTeEdit::UpdateFirstVisibleChar() {
    const int len = static_cast<int>(text_.size());
    int first = Clamp(firstVisibleChar_ - 1);
    if (first < caretPos_) {
        const int room = GetEditRect().Width();
        int start = caretPos_, w = 0;
        while (start > first) {
            const int prev = PrevCharPos(start);
            const int cw = passwordKind_ != pkNone ? GetPasswordCharWidth() : CharWidth(prev);
            if (w + cw > room) break;
            w += cw;
            start = prev;
        }
        first = std::min(std::max(first, start), std::max(len - 1, 0));
    } else {
        first = PrevCharPos(caretPos_);
    }
    firstVisibleChar_ = Clamp(first) + 1;
    Invalidate();
}

TRect TTeEdit::GetSelRect() {
    TRect r = GetEditRect();
    const int start = SelStart();
    TRect sel{GetCharX(std::max(start, Clamp(firstVisibleChar_ - 1))), r.top, GetCharX(start + SelLength()),
              r.bottom};
    return Intersect(sel, r);
}

WideString TTeEdit::GetVisibleSelText() {
    const int start = std::max(SelStart(), Clamp(firstVisibleChar_ - 1));
    const int end = SelStart() + SelLength();
    return end > start ? text_.substr(start, end - start) : WideString();
}

bool TTeEdit::CanAutoSize(int& newWidth, int& newHeight) {
    (void)newWidth;
    TCanvas& c = MeasureCanvas();
    ApplyStateFont(c.Font());
    newHeight = 2 * GetEditRect().top + TextHeight(c, u"Pq");
    return true;
}

// ---- painting ----------------------------------------------------------------------------------

void TTeEdit::PaintBuffer() {
    TCanvas& c = *Canvas();
    const bool shown = SelectionShown();
    if (Themed()) {
        TteTheme* theme = Theme();
        theme->EditDraw(kescEdit, c, EditInfo(TRect{0, 0, Width(), Height()}, DrawState()), "default");
        ApplyStateFont(PaintFont());
        if (shown) theme->EditDraw(kescEdit, c, EditInfo(GetSelRect(), kedsSelection), "default");
        PaintText();
        if (shown) PaintSelectedText();
        PaintComposition();
        return;
    }
    TRect back = GetEditRect();
    back.bottom = Height() - back.top;
    PaintBackground(back, c);
    if (shown) FillRect(c, GetSelRect(), clHighlight);
    PaintText();
    if (shown) PaintSelectedText();
    PaintComposition();
}

// Pixels of the first `units` of the composition.
int TTeEdit::CompositionWidth(int units) {
    if (composition_.empty() || units <= 0) return 0;
    TCanvas& c = MeasureCanvas();
    ApplyStateFont(c.Font());
    return TextWidth(c, std::u16string_view(composition_).substr(0, static_cast<size_t>(units)));
}

void TTeEdit::PaintComposition() {
    if (composition_.empty()) return;
    TCanvas& c = *Canvas();
    const TRect r = GetEditRect();
    const int x = GetCharX(caretPos_);
    const TRect box{x, r.top, std::min(r.right, x + CompositionWidth(static_cast<int>(composition_.size()))),
                    r.bottom};
    if (box.right <= box.left) return;
    ApplyStateFont(c.Font());
    FillRect(c, box, Themed() ? clWindow : Color());
    TRect text = box;
    DrawText(c, composition_, text, DT_NOPREFIX | DT_LEFT);
    // Underlined, as input methods mark text not yet entered.
    FillRect(c, TRect{box.left, box.bottom - 1, box.right, box.bottom}, c.Font()->Color());
}

void TTeEdit::PaintBackground(const TRect& rect, TCanvas& canvas) {
    if (Themed()) return;
    FillRect(canvas, rect, Color());
}

void TTeEdit::PaintText() {
    TCanvas& c = *Canvas();
    const TRect r = GetEditRect();
    const int first = Clamp(firstVisibleChar_ - 1);
    if (passwordKind_ != pkNone) {
        const int cell = GetPasswordCharWidth(), x0 = GetCharX(first);
        int k = 0;
        for (int i = first; i < static_cast<int>(text_.size()); i = NextCharPos(i), ++k)
            DrawPasswordChar(TRect{x0 + k * cell, r.top, x0 + (k + 1) * cell, r.bottom}, false);
        return;
    }
    ApplyStateFont(c.Font());
    if (!Themed() && !Enabled()) c.Font()->SetColor(clGrayText);
    TRect box{GetCharX(first), r.top, r.right, r.bottom};
    DrawText(c, std::u16string_view(text_).substr(first), box, DT_NOPREFIX | DT_LEFT);
}

void TTeEdit::PaintSelectedText() {
    TCanvas& c = *Canvas();
    TRect sel = GetSelRect();
    const WideString visible = GetVisibleSelText();
    if (passwordKind_ != pkNone) {
        const int cell = GetPasswordCharWidth();
        int k = 0;
        for (size_t i = 0; i < visible.size(); i += IsHigh(visible[i]) && i + 1 < visible.size() ? 2 : 1, ++k)
            DrawPasswordChar(TRect{sel.left + k * cell, sel.top, sel.left + (k + 1) * cell, sel.bottom},
                             true);
        return;
    }
    if (Themed())
        Theme()->SetFontForObject(c.Font(), ktfEditBoxTextSelected, themeObject_);
    else {
        c.Font()->Assign(Font());
        c.Font()->SetColor(clHighlightText);
    }
    DrawText(c, visible, sel, DT_NOPREFIX | DT_LEFT);
}

void TTeEdit::DrawPasswordChar(const TRect& cell, bool selected) {
    TCanvas& c = *Canvas();
    HRGN clip = CreateRectRgn(cell.left, cell.top, cell.right, cell.bottom);
    SelectClipRgn(c.Handle(), clip);
    if (Themed()) {
        const TteThemeFont index = !Enabled()    ? ktfEditBoxTextDisabled
                                   : selected    ? ktfEditBoxTextSelected
                                   : IsHot()     ? ktfEditBoxTextHot
                                   : IsFocused() ? ktfEditBoxTextFocused
                                                 : ktfEditBoxTextNormal;
        Theme()->SetFontForObject(c.Font(), index, themeObject_);
    } else {
        c.Font()->Assign(Font());
        if (selected) c.Font()->SetColor(clHighlightText);
    }
    const TColor color = c.Font()->Color();
    const TRect shape{cell.left + 2, cell.top + 3, cell.right - 2, cell.bottom - 3};
    switch (passwordKind_) {
        case pkChar: {
            TRect box = cell;
            DrawText(c, std::u16string_view(&passwordChar_, 1), box, DT_NOPREFIX);
            break;
        }
        case pkRect: FillRect(c, shape, color); break;
        case pkRoundRect: FillRoundRect(c, shape, 2, color); break;
        case pkCircle:
        case pkTriangle: {
            int side = shape.Width();
            if (passwordKind_ == pkTriangle && side % 2 == 0) ++side;
            TRect sq{0, 0, side, side};
            sq = RectCenter(sq, cell);
            if (passwordKind_ == pkCircle) {
                FillRoundRect(c, sq, side / 2 + 1, color);
            } else {
                const TPoint pts[3] = {
                    {sq.left + sq.Width() / 2 + 1, sq.top}, {sq.right, sq.bottom}, {sq.left, sq.bottom}};
                FillPolygon(c, pts, 2, color);
            }
            break;
        }
        case pkNone: break;
    }
    SelectClipRgn(c.Handle(), nullptr);
    DeleteObject(clip);
}

// ---- theme notifications -----------------------------------------------------------------------

void TTeEdit::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmApply: AddObjectToStore(Font()); [[fallthrough]];
        case tmChanged:
            if (Themed()) ApplyStateFont(Font());
            advances_.clear();
            if (AutoSize()) AdjustSize();
            Invalidate();
            break;
        case tmReleased:
            AssignFromStoredObject(Font());
            advances_.clear();
            if (AutoSize()) AdjustSize();
            Invalidate();
            break;
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

void TTeEdit::SNMLinkChanged(TMessage& m) {
    if (reinterpret_cast<TteCustomThemeLink*>(m.WParam) == themeLink_) FollowThemeLink(true);
}

}  // namespace tarvel
