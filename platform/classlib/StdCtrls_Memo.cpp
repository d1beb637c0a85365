// TCustomMemo and its lines.

#include <algorithm>

#include "platform/classlib/StdCtrls.h"

namespace tarvel {

// ---- TMemoStrings ----------------------------------------------------------------------------

int TMemoStrings::Count() const {
    const TEditText& t = memo_->EditText();
    int n = t.LineCount();
    if (t.Line(n - 1).empty()) --n;
    return n;
}

String TMemoStrings::Get(int index) const {
    if (index < 0 || index >= Count()) Error("List index out of bounds (" + IntToStr(index) + ")");
    return WideToUtf8(memo_->EditText().Line(index));
}

void TMemoStrings::Put(int index, const String& s) {
    if (index < 0 || index >= Count()) Error("List index out of bounds (" + IntToStr(index) + ")");
    TEditText& t = memo_->EditText();
    t.SetSel(t.LineStart(index), t.LineColToPos(index, 1 << 30));
    if (t.Replace(Utf8ToWide(s), t.InsertColor(), false, false)) memo_->TextChanged(false);
}

void TMemoStrings::Insert(int index, const String& s) {
    if (index < 0 || index > Count()) Error("List index out of bounds (" + IntToStr(index) + ")");
    if (index == Count()) {
        Add(s);
        return;
    }
    TEditText& t = memo_->EditText();
    const int pos = t.LineStart(index);
    t.SetSel(pos, pos);
    if (t.Replace(Utf8ToWide(s) + u"\r\n", t.InsertColor(), false, false)) memo_->TextChanged(false);
}

void TMemoStrings::Delete(int index) {
    if (index < 0 || index >= Count()) Error("List index out of bounds (" + IntToStr(index) + ")");
    TEditText& t = memo_->EditText();
    const int from = t.LineStart(index);
    const int to = index + 1 < t.LineCount() ? t.LineStart(index + 1) : t.Length();
    t.SetSel(from, to);
    if (t.Replace(u"", clDefault, false, false)) memo_->TextChanged(false);
}

void TMemoStrings::Clear() { memo_->SetText(""); }

int TMemoStrings::Add(const String& s) {
    const int index = Count();
    memo_->AddLine(s);
    return index;
}

String TMemoStrings::Text() const {
    String text = memo_->GetText();
    if (!memo_->EditText().Line(memo_->EditText().LineCount() - 1).empty()) text += "\r\n";
    return text;
}

void TMemoStrings::SetText(const String& text) { memo_->SetText(text); }

// ---- TCustomMemo -----------------------------------------------------------------------------

void TCustomMemo::DeclareMessages(TMessageTable& t) { t.Add<&TCustomMemo::WMGetDlgCodeMemo>(WM_GETDLGCODE); }

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner, true), lines_(std::make_unique<TMemoStrings>(this)) {
    SetAutoSelect(false);
    wordWrap_ = true;
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    if (wantReturns_) params.Style |= ES_WANTRETURN;
}

void TCustomMemo::SetScrollBars(TScrollStyle s) {
    scrollBars_ = s;
    const bool vert = s == ssVertical || s == ssBoth, horz = s == ssHorizontal || s == ssBoth;
    ScrollBars().Show(SB_VERT, vert);
    ScrollBars().Show(SB_HORZ, horz && !wordWrap_);
    UpdateScrollBars();
}

void TCustomMemo::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    SetScrollBars(scrollBars_);
    WrapChanged();
}

void TCustomMemo::WMGetDlgCodeMemo(TMessage& m) {
    m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    if (wantTabs_) m.Result |= DLGC_WANTTAB;
    if (wantReturns_) m.Result |= DLGC_WANTALLKEYS;
}

bool TCustomMemo::EditKey(WORD key, TShiftState shift) { return TCustomEdit::EditKey(key, shift); }

void TCustomMemo::EditChar(char16_t ch) {
    if (ch == u'\r' || ch == u'\n') {
        if (wantReturns_) UserReplace(u"\r\n");
        return;
    }
    if (ch == u'\t') {
        if (wantTabs_) UserReplace(u"\t");
        return;
    }
    TCustomEdit::EditChar(ch);
}

void TCustomMemo::AddLine(const String& s) {
    TEditText& t = EditText();
    const bool atEnd = t.Caret() == t.Length() && t.SelLength() == 0;
    const int end = t.Length();
    const TColor color = atEnd ? t.InsertColor() : (end > 0 ? t.ColorAt(end - 1) : clDefault);
    t.AppendLine(Utf8ToWide(s), color);
    // A caret at the end follows the text, as an insertion there would.
    if (atEnd) t.SetSel(t.Length(), t.Length());
    TextChanged(false);
}

}  // namespace tarvel
