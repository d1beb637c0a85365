// TCustomEdit and TEdit: the window, its messages, keys, mouse and painting.

#include <algorithm>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

namespace {
constexpr int kTextIndent = 2;

bool Held(int vk) { return GetKeyState(vk) < 0; }
}  // namespace

void TCustomEdit::DeclareMessages(TMessageTable& t) {
    t.Add<&TCustomEdit::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TCustomEdit::WMKeyDownEdit>(WM_KEYDOWN);
    t.Add<&TCustomEdit::WMCharEdit>(WM_CHAR);
    t.Add<&TCustomEdit::WMSetTextEdit>(WM_SETTEXT);
    t.Add<&TCustomEdit::WMGetTextEdit>(WM_GETTEXT);
    t.Add<&TCustomEdit::WMGetTextLengthEdit>(WM_GETTEXTLENGTH);
    t.Add<&TCustomEdit::WMEraseBkgndEdit>(WM_ERASEBKGND);
    t.Add<&TCustomEdit::WMContextMenuEdit>(WM_CONTEXTMENU);
    t.Add<&TCustomEdit::WMScroll>(WM_VSCROLL);
    t.Add<&TCustomEdit::WMScroll>(WM_HSCROLL);
    t.Add<&TCustomEdit::WMSizeEdit>(WM_SIZE);
    for (UINT msg : {WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, WM_UNDO}) t.Add<&TCustomEdit::WMClipboard>(msg);
    for (UINT msg : {EM_GETSEL, EM_SETSEL, EM_SCROLLCARET, EM_GETMODIFY, EM_SETMODIFY, EM_GETLINECOUNT,
                     EM_LINEINDEX, EM_LINELENGTH, EM_REPLACESEL, EM_LIMITTEXT, EM_CANUNDO, EM_UNDO,
                     EM_LINEFROMCHAR, EM_EMPTYUNDOBUFFER, EM_SETPASSWORDCHAR, EM_GETFIRSTVISIBLELINE,
                     EM_SETREADONLY, EM_GETPASSWORDCHAR, EM_GETLIMITTEXT})
        t.Add<&TCustomEdit::EMMessage>(msg);
    t.Add<&TCustomEdit::CNCtlColorEdit>(CN_CTLCOLOREDIT);
    t.Add<&TCustomEdit::CNCtlColorEdit>(CN_CTLCOLORSTATIC);
    t.Add<&TCustomEdit::CMTextChangedEdit>(CM_TEXTCHANGED);
    t.Add<&TCustomEdit::CMFontChangedEdit>(CM_FONTCHANGED);
    t.Add<&TCustomEdit::CMEnabledChangedEdit>(CM_ENABLEDCHANGED);
}

TCustomEdit::TCustomEdit(TComponent* owner, bool multiLine) : TCustomControl(owner), text_(multiLine) {
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(0, 0, multiLine ? 185 : 121, multiLine ? 89 : 21);
    SetTabStop(true);
    SetColor(clWindow);
    SetCursor(crIBeam);
}

TCustomEdit::~TCustomEdit() {
    if (measureDc_) DeleteDC(measureDc_);
}

// Text widths in the control's font, on a DC kept for measuring.
int TCustomEdit::WidthOf(std::u16string_view text) {
    if (text.empty()) return 0;
    if (!measureDc_) measureDc_ = CreateCompatibleDC(nullptr);
    SelectObject(measureDc_, Font()->Handle());
    TSize size;
    GetTextExtentPoint32W(measureDc_, text, &size);
    return size.cx;
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    static const DWORD kAlign[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    params.Style |= kAlign[alignment_];
    if (!Wrapping()) params.Style |= ES_AUTOHSCROLL;
    if (text_.MultiLine()) params.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (readOnly_) params.Style |= ES_READONLY;
    if (passwordChar_) params.Style |= ES_PASSWORD;
    if (!hideSelection_) params.Style |= ES_NOHIDESEL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
    if ((scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && !Wrapping()) params.Style |= WS_HSCROLL;
    if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandleDone() {
    clientWidth_ = -1;
    bars_.Attach();
    UpdateScrollBars();
}

void TCustomEdit::WndProc(TMessage& m) {
    if (bars_.HandleMessage(m, [this](TMessage& msg) { TCustomControl::WndProc(msg); })) return;
    TCustomControl::WndProc(m);
}

// ---- properties ------------------------------------------------------------------------------

void TCustomEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (HandleAllocated()) {
        LONG_PTR style = GetWindowLongPtr(Handle(), GWL_STYLE);
        SetWindowLongPtr(Handle(), GWL_STYLE,
                         v ? (style | ES_READONLY) : (style & ~static_cast<LONG_PTR>(ES_READONLY)));
    }
}

void TCustomEdit::SetPasswordChar(char16_t c) {
    passwordChar_ = c;
    rows_.Reset();
    Invalidate();
}

void TCustomEdit::SetHideSelection(bool v) {
    hideSelection_ = v;
    Invalidate();
}

void TCustomEdit::SetAlignment(TAlignment a) {
    alignment_ = a;
    ScrollCaret();
    Invalidate();
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle s) {
    borderStyle_ = s == bsNone ? bsNone : bsSingle;
    RecreateWnd();
}

String TCustomEdit::GetText() const { return WideToUtf8(text_.Text()); }

void TCustomEdit::SetText(const String& text) {
    const WideString wide = Utf8ToWide(text);
    if (wide == text_.Text()) return;
    text_.SetText(wide);
    scrollX_ = 0;
    topLine_ = 0;
    TextChanged(false);
}

void TCustomEdit::SetSelStart(int pos) {
    text_.SetSel(pos, pos);
    SelectionChanged();
}

void TCustomEdit::SetSelLength(int length) {
    text_.SetSel(text_.SelStart(), text_.SelStart() + std::max(0, length));
    SelectionChanged();
}

void TCustomEdit::SelectAll() {
    text_.SetSel(0, text_.Length());
    SelectionChanged();
}

void TCustomEdit::SetSelText(const String& text) {
    if (text_.Replace(Utf8ToWide(text), clDefault, false, false)) TextChanged(false);
}

void TCustomEdit::ClearSelection() {
    if (!readOnly_ && text_.SelLength() > 0 && text_.Replace(u"", clDefault, true, false)) TextChanged(true);
}

void TCustomEdit::CopyToClipboard() {
    if (text_.SelLength() > 0 && !passwordChar_) SetClipboardText(SelText());
}

void TCustomEdit::CutToClipboard() {
    if (readOnly_ || passwordChar_) return;
    CopyToClipboard();
    ClearSelection();
}

void TCustomEdit::PasteFromClipboard() { UserReplace(Utf8ToWide(GetClipboardText())); }

void TCustomEdit::Undo() {
    if (!readOnly_ && text_.Undo()) TextChanged(true);
}

bool TCustomEdit::UserReplace(std::u16string_view text) {
    if (readOnly_) return false;
    if (!text_.Replace(text, text_.InsertColor(), true, true)) return false;
    TextChanged(true);
    return true;
}

void TCustomEdit::TextChanged(bool byUser) {
    if (byUser) modified_ = true;
    desiredX_ = -1;
    caretAtRowEnd_ = false;
    UpdateScrollBars();
    ScrollCaret();
    Invalidate();
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TCustomEdit::SelectionChanged() {
    desiredX_ = -1;
    caretAtRowEnd_ = false;
    ScrollCaret();
    Invalidate();
}

void TCustomEdit::CMTextChangedEdit(TMessage&) { Change(); }

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::CMFontChangedEdit(TMessage& m) {
    lineHeight_ = 0;
    rows_.Reset();
    TCustomControl::CMFontChanged(m);
    UpdateScrollBars();
}

void TCustomEdit::CMEnabledChangedEdit(TMessage& m) {
    TWinControl::CMEnabledChangedWin(m);
    Invalidate();
}

// ---- geometry --------------------------------------------------------------------------------

int TCustomEdit::LineHeight() {
    if (lineHeight_ == 0) lineHeight_ = std::max(1, MeasureText(Font(), "Wg", 0, false).cy);
    return lineHeight_;
}

int TCustomEdit::VisibleLines() { return std::max(1, ClientHeight() / LineHeight()); }

WideString TCustomEdit::Shown(int line) const {
    WideString w = text_.Line(line);
    if (passwordChar_) w.assign(w.size(), passwordChar_);
    return w;
}

WideString TCustomEdit::RowText(const Row& row) const {
    return Shown(row.line).substr(static_cast<size_t>(row.start), static_cast<size_t>(row.end - row.start));
}

bool TCustomEdit::Wrapping() const { return wordWrap_ && text_.MultiLine(); }

const TEditRows& TCustomEdit::Rows() {
    // The client width as the last WM_SIZE left it: asking the window costs, and this runs often.
    if (!HandleAllocated() || clientWidth_ < 0) clientWidth_ = ClientWidth();
    rows_.SetWrapWidth(Wrapping() ? std::max(1, clientWidth_ - 2 * kTextIndent) : 0);
    rows_.Sync([this](std::u16string_view t) {
        return passwordChar_ ? WidthOf(WideString(t.size(), passwordChar_)) : WidthOf(t);
    });
    return rows_;
}

int TCustomEdit::CaretRow() { return Rows().RowOf(text_.Caret(), caretAtRowEnd_); }

// The x of the row's first character in client coordinates.
int TCustomEdit::TextX(const Row& row) {
    const int room = ClientWidth() - 2 * kTextIndent;
    int x = kTextIndent - scrollX_;
    if (alignment_ != taLeftJustify) {
        const int width = WidthOf(RowText(row));
        if (width < room)
            x = kTextIndent + (alignment_ == taRightJustify ? room - width : (room - width) / 2);
    }
    return x;
}

static int TextTop(TCustomEdit* edit, int lineHeight, bool multiLine) {
    return multiLine ? 1 : std::max(0, (edit->ClientHeight() - lineHeight) / 2);
}

int TCustomEdit::PositionInRow(const Row& row, int x, bool& atRowEnd) {
    const WideString shown = RowText(row);
    const std::u16string_view view(shown);
    const int target = x - TextX(row);
    atRowEnd = false;
    int before = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        const int after = WidthOf(view.substr(0, i + 1));
        if (target < (before + after) / 2)
            return text_.LineColToPos(row.line, row.start + static_cast<int>(i));
        before = after;
    }
    // Past a wrapped row's end: its end, shown there rather than on the next row.
    atRowEnd = !row.lastOfLine;
    return text_.LineColToPos(row.line, row.end);
}

int TCustomEdit::PositionAt(TPoint p, bool& atRowEnd) {
    int row = 0;
    if (text_.MultiLine())
        row = std::clamp(topLine_ + (p.y - 1) / LineHeight() - (p.y < 1 ? 1 : 0), 0, Rows().Count() - 1);
    return PositionInRow(Rows().At(row), p.x, atRowEnd);
}

int TCustomEdit::CaretOffset() {
    const Row row = Rows().At(CaretRow());
    const int col = text_.PosToLineCol(text_.Caret()).x - row.start;
    return WidthOf(std::u16string_view(RowText(row)).substr(0, static_cast<size_t>(std::max(0, col))));
}

void TCustomEdit::ScrollCaret() {
    if (!HandleAllocated()) return;
    const int row = CaretRow();
    if (text_.MultiLine()) {
        topLine_ = std::min(topLine_, std::max(0, Rows().Count() - VisibleLines()));
        if (row < topLine_)
            topLine_ = row;
        else if (row >= topLine_ + VisibleLines())
            topLine_ = row - VisibleLines() + 1;
    }
    if (Wrapping()) {
        scrollX_ = 0;
    } else {
        const int room = std::max(1, ClientWidth() - 2 * kTextIndent);
        const int caretX = CaretOffset();
        if (caretX - scrollX_ > room) scrollX_ = caretX - room + (text_.MultiLine() ? room / 3 : 0);
        if (caretX < scrollX_) scrollX_ = std::max(0, caretX - (text_.MultiLine() ? room / 3 : 0));
        if (!text_.MultiLine()) {
            // Keep no blank beyond the text's end while there is text to the left.
            const int width = WidthOf(Shown(0));
            scrollX_ = std::max(0, std::min(scrollX_, width - room));
            if (caretX - scrollX_ > room) scrollX_ = caretX - room;
        }
    }
    UpdateScrollBars();
    Invalidate();
}

void TCustomEdit::UpdateScrollBars() {
    if (!HandleAllocated() || !text_.MultiLine()) return;
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = Rows().Count() - 1;
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = topLine_;
    const SCROLLINFO before = bars_.Info(SB_VERT);
    if (before.nMax == info.nMax && before.nPage == info.nPage && before.nPos == info.nPos) return;
    bars_.SetInfo(SB_VERT, info, false);
    if (bars_.Visible(SB_VERT))
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

// The caret's rectangle in client coordinates.
TRect TCustomEdit::CaretRect() {
    const int row = CaretRow();
    const int x = TextX(Rows().At(row)) + CaretOffset();
    const int y = TextTop(this, LineHeight(), text_.MultiLine()) + (row - topLine_) * LineHeight();
    return TRect{x, y, x + 1, y + LineHeight()};
}

void TCustomEdit::Resize() {
    TCustomControl::Resize();
    ScrollCaret();
}

// The client's new size is known here (also when a scroll bar came or went).
void TCustomEdit::WMSizeEdit(TMessage& m) {
    const int topPos = TopPosition();
    WMSize(m);
    clientWidth_ = ClientWidth();
    if (Wrapping()) topLine_ = Rows().RowOf(topPos, false);
    ScrollCaret();
}

// Re-wrapped rows keep the first line shown: where it starts, by the rows as they were.
int TCustomEdit::TopPosition() const {
    const Row top = rows_.At(topLine_);
    return text_.LineColToPos(top.line, top.start);
}

void TCustomEdit::WrapChanged() {
    const int topPos = TopPosition();
    scrollX_ = 0;
    caretAtRowEnd_ = false;
    if (HandleAllocated()) {
        const LONG_PTR style = GetWindowLongPtr(Handle(), GWL_STYLE);
        SetWindowLongPtr(
            Handle(), GWL_STYLE,
            Wrapping() ? (style & ~static_cast<LONG_PTR>(ES_AUTOHSCROLL)) : (style | ES_AUTOHSCROLL));
    }
    topLine_ = Rows().RowOf(topPos, false);
    ScrollCaret();
    Invalidate();
}

// ---- painting --------------------------------------------------------------------------------

void TCustomEdit::CNCtlColorEdit(TMessage& m) {
    HDC dc = DcFromWParam(m.WParam);
    SetTextColor(dc, ColorToColorRef(Enabled() ? Font()->Color() : clGrayText));
    SetBkColor(dc, ColorToColorRef(Color()));
    m.Result = static_cast<LRESULT>(AnswerBrush(Enabled() || !readOnly_ ? Color() : clBtnFace).Value());
}

void TCustomEdit::WMEraseBkgndEdit(TMessage& m) {
    HDC dc = DcFromWParam(m.WParam);
    // As a native edit: read-only and disabled ones ask as static text.
    const UINT ask = readOnly_ || !Enabled() ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    const LRESULT brush = AskColors(this, ask, dc);
    if (brush) FillRect(dc, ClientRect(), HBRUSH(static_cast<uint64_t>(brush)));
    m.Result = 1;
}

TColor TCustomEdit::DrawColor(TColor stored) const {
    return stored == clDefault ? const_cast<TCustomEdit*>(this)->Font()->Color() : stored;
}

void TCustomEdit::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect client = ClientRect();
    const int lh = LineHeight();
    const bool showSel = text_.SelLength() > 0 && (Focused() || !hideSelection_);
    const int selA = text_.SelStart(), selB = text_.SelStart() + text_.SelLength();
    const int top = TextTop(this, lh, text_.MultiLine());
    const unsigned format = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
    const TEditRows& rows = Rows();
    const int count = rows.Count();
    for (int r = topLine_; r < count; ++r) {
        const int y = top + (r - topLine_) * lh;
        if (y >= client.bottom) break;
        const Row row = rows.At(r);
        const WideString shown = RowText(row);
        const std::u16string_view view(shown);
        const int x0 = TextX(row);
        const std::vector<TColor>& colors = text_.LineColors(row.line);
        auto colorAt = [&](size_t i) {
            return row.start + i < colors.size() ? colors[row.start + i] : clDefault;
        };
        // Runs of one colour, drawn transparently over the erased background.
        size_t from = 0;
        int x = x0;
        while (from < view.size()) {
            const TColor c = colorAt(from);
            size_t to = from + 1;
            while (to < view.size() && colorAt(to) == c) ++to;
            const std::u16string_view run = view.substr(from, to - from);
            const TColor color = Enabled() ? DrawColor(c) : clGrayText;
            DrawCaption(dc, Font(), WideToUtf8(run), TRect{x, y, client.right + 4096, y + lh}, format, color);
            x += WidthOf(run);
            if (x > client.right) break;
            from = to;
        }
        if (!showSel) continue;
        const int start = text_.LineStart(row.line) + row.start;
        const int a = std::max(selA, start) - start;
        const int b = std::min(selB, start + static_cast<int>(view.size())) - start;
        const bool breakSelected = row.lastOfLine && selB > start + static_cast<int>(view.size()) &&
                                   row.line + 1 < text_.LineCount();
        if (a > b || (a == b && !breakSelected)) continue;
        const int xa = x0 + WidthOf(view.substr(0, static_cast<size_t>(a)));
        const int xb = x0 + WidthOf(view.substr(0, static_cast<size_t>(b))) + (breakSelected ? 4 : 0);
        TRect sel{xa, y, xb, y + lh};
        FillColor(dc, sel, clHighlight);
        DrawCaption(dc, Font(), WideToUtf8(view.substr(static_cast<size_t>(a), static_cast<size_t>(b - a))),
                    sel, format, clHighlightText);
    }
    // A steady caret of our own: a blinking one would keep the loop busy.
    if (Focused()) FillColor(dc, CaretRect(), clWindowText);
}

// ---- keys ------------------------------------------------------------------------------------

void TCustomEdit::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL; }

void TCustomEdit::WMKeyDownEdit(TMessage& m) {
    // A one-line edit reports Up and Down as Left and Right.
    if (!text_.MultiLine() && (m.WParam == VK_UP || m.WParam == VK_DOWN))
        m.WParam = m.WParam == VK_UP ? VK_LEFT : VK_RIGHT;
    if (DoKeyDown(m)) return;
    if (!EditKey(static_cast<WORD>(m.WParam), KeyDataToShiftState(m.LParam))) DefaultHandler(m);
}

void TCustomEdit::WMCharEdit(TMessage& m) {
    // Enter and line feeds never reach a one-line edit nor its OnKeyPress.
    if (!text_.MultiLine() && (m.WParam == u'\r' || m.WParam == u'\n')) return;
    if (DoKeyPress(m)) return;
    EditChar(static_cast<char16_t>(m.WParam));
}

void TCustomEdit::EditChar(char16_t ch) {
    if (ch == u'\b') {
        if (readOnly_) return;
        if (text_.SelLength() == 0) {
            if (text_.Caret() == 0) return;
            const TPoint lc = text_.PosToLineCol(text_.Caret());
            const int back = lc.x == 0 ? text_.LineColToPos(lc.y - 1, 1 << 30) : text_.Caret() - 1;
            text_.SetSel(text_.Caret(), back);
        }
        ClearSelection();
        return;
    }
    if (ch < u' ' || ch == 127) return;
    UserReplace(std::u16string_view(&ch, 1));
}

void TCustomEdit::MoveCaret(int pos, bool extend, bool atRowEnd) {
    text_.SetSel(extend ? text_.Anchor() : pos, pos);
    caretAtRowEnd_ = atRowEnd;
    desiredX_ = -1;
    ScrollCaret();
}

bool TCustomEdit::EditKey(WORD key, TShiftState shift) {
    const bool ctrl = shift.Contains(ssCtrl), ext = shift.Contains(ssShift);
    const int caret = text_.Caret();
    const TPoint lc = text_.PosToLineCol(caret);
    const int keepX = desiredX_;
    // Up and down go by rows, keeping the caret's x over short ones.
    auto rowMove = [&](int rows) {
        const int x = keepX >= 0 ? keepX : CaretOffset();
        const Row row = Rows().At(std::clamp(CaretRow() + rows, 0, Rows().Count() - 1));
        bool atRowEnd = false;
        const int pos = PositionInRow(row, TextX(row) + x, atRowEnd);
        MoveCaret(pos, ext, atRowEnd);
        desiredX_ = x;
    };
    const Row caretRow = Rows().At(CaretRow());
    switch (key) {
        case VK_LEFT:
            if (!ext && text_.SelLength() && !ctrl)
                MoveCaret(text_.SelStart(), false);
            else
                MoveCaret(ctrl ? text_.WordStart(caret)
                               : (lc.x == 0 ? text_.LineColToPos(lc.y - 1, 1 << 30) : caret - 1),
                          ext);
            return true;
        case VK_RIGHT:
            if (!ext && text_.SelLength() && !ctrl)
                MoveCaret(text_.SelStart() + text_.SelLength(), false);
            else
                MoveCaret(ctrl ? text_.WordEnd(caret)
                               : (lc.x >= static_cast<int>(text_.Line(lc.y).size())
                                      ? text_.LineColToPos(lc.y + 1, 0)
                                      : caret + 1),
                          ext);
            return true;
        case VK_HOME:
            MoveCaret(ctrl ? 0 : text_.LineColToPos(caretRow.line, caretRow.start), ext);
            return true;
        case VK_END:
            if (ctrl)
                MoveCaret(text_.Length(), ext);
            else
                MoveCaret(text_.LineColToPos(caretRow.line, caretRow.end), ext, !caretRow.lastOfLine);
            return true;
        case VK_UP: rowMove(-1); return true;
        case VK_DOWN: rowMove(1); return true;
        case VK_PRIOR: rowMove(-VisibleLines()); return true;
        case VK_NEXT: rowMove(VisibleLines()); return true;
        case VK_DELETE:
            if (ext) {
                CutToClipboard();
                return true;
            }
            if (readOnly_) return true;
            if (text_.SelLength() == 0) {
                if (caret >= text_.Length()) return true;
                text_.SetSel(caret, lc.x >= static_cast<int>(text_.Line(lc.y).size())
                                        ? text_.LineColToPos(lc.y + 1, 0)
                                        : caret + 1);
            }
            ClearSelection();
            return true;
        case VK_INSERT:
            if (ctrl)
                CopyToClipboard();
            else if (ext)
                PasteFromClipboard();
            return true;
    }
    if (!ctrl) return false;
    switch (key) {
        case 'A': SelectAll(); return true;
        case 'C': CopyToClipboard(); return true;
        case 'X': CutToClipboard(); return true;
        case 'V': PasteFromClipboard(); return true;
        case 'Z': Undo(); return true;
    }
    return false;
}

// ---- mouse -----------------------------------------------------------------------------------

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    // The second press of a double click keeps the word DblClick selected.
    if (button == mbLeft && !shift.Contains(ssDouble)) {
        bool atRowEnd = false;
        const int pos = PositionAt(TPoint{x, y}, atRowEnd);
        MoveCaret(pos, shift.Contains(ssShift), atRowEnd);
        selecting_ = true;
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomEdit::MouseMove(TShiftState shift, int x, int y) {
    if (selecting_ && shift.Contains(ssLeft)) {
        bool atRowEnd = false;
        const int pos = PositionAt(TPoint{x, y}, atRowEnd);
        MoveCaret(pos, true, atRowEnd);
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) selecting_ = false;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomEdit::DblClick() {
    const int caret = text_.Caret();
    text_.SetSel(text_.WordStart(std::min(caret + 1, text_.Length())), text_.WordEnd(caret));
    selecting_ = false;
    SelectionChanged();
    TCustomControl::DblClick();
}

bool TCustomEdit::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    if (!text_.MultiLine()) return false;
    Perform(WM_VSCROLL, wheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    Perform(WM_VSCROLL, wheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    Perform(WM_VSCROLL, wheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return true;
}

void TCustomEdit::WMScroll(TMessage& m) {
    if (m.Msg != WM_VSCROLL) return;
    const int last = std::max(0, Rows().Count() - VisibleLines());
    int top = topLine_;
    switch (LOWORD(m.WParam)) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_PAGEUP: top -= VisibleLines(); break;
        case SB_PAGEDOWN: top += VisibleLines(); break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = last; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = ThumbPosition(bars_.Info(SB_VERT), m.WParam); break;
        default: return;
    }
    top = std::clamp(top, 0, last);
    if (top == topLine_) return;
    topLine_ = top;
    UpdateScrollBars();
    Invalidate();
}

// ---- focus and menu --------------------------------------------------------------------------

void TCustomEdit::DoEnter() {
    // A click places the caret itself; focus by keyboard selects everything.
    if (autoSelect_ && !text_.MultiLine() && !Held(VK_LBUTTON)) SelectAll();
    Invalidate();
    TCustomControl::DoEnter();
}

void TCustomEdit::DoExit() {
    selecting_ = false;
    Invalidate();
    TCustomControl::DoExit();
}

void TCustomEdit::WMContextMenuEdit(TMessage& m) {
    if (PopupMenu()) {
        TCustomControl::WMContextMenu(m);
        return;
    }
    TPoint p = PointFromLParam(m.LParam);
    if (p.x == -1 && p.y == -1) p = ClientToScreen(TPoint{Width() / 2, Height() / 2});
    if (CanFocus() && !Focused()) SetFocus();
    ShowContextMenu(p);
    m.Result = 1;
}

std::vector<TCustomEdit::TContextMenuEntry> TCustomEdit::ContextMenuEntries() {
    const bool sel = text_.SelLength() > 0, editable = !readOnly_;
    return {
        {"&Undo", editable && CanUndo(), [this] { Undo(); }},
        {"-", true, nullptr},
        {"Cu&t", editable && sel && !passwordChar_, [this] { CutToClipboard(); }},
        {"&Copy", sel && !passwordChar_, [this] { CopyToClipboard(); }},
        {"&Paste", editable && !GetClipboardText().empty(), [this] { PasteFromClipboard(); }},
        {"&Delete", editable && sel, [this] { ClearSelection(); }},
        {"-", true, nullptr},
        {"Select &All", text_.Length() > 0, [this] { SelectAll(); }},
    };
}

void TCustomEdit::ShowContextMenu(TPoint screen) {
    const std::vector<TContextMenuEntry> entries = ContextMenuEntries();
    TMenuItem root(nullptr);
    for (size_t i = 0; i < entries.size(); ++i) {
        auto* item = new TMenuItem(nullptr);
        item->SetCaption(entries[i].caption);
        item->SetEnabled(entries[i].enabled);
        item->Tag = static_cast<int>(i);
        root.Add(item);
    }
    TMenuItem* chosen = TrackMenu(&root, screen);
    if (chosen && entries[static_cast<size_t>(chosen->Tag)].action)
        entries[static_cast<size_t>(chosen->Tag)].action();
}

// ---- messages --------------------------------------------------------------------------------

void TCustomEdit::WMSetTextEdit(TMessage& m) {
    const char* t = reinterpret_cast<const char*>(m.LParam);
    SetText(t ? t : "");
    m.Result = 1;
}

void TCustomEdit::WMGetTextEdit(TMessage& m) {
    char* buf = reinterpret_cast<char*>(m.LParam);
    if (!buf || m.WParam == 0) return;
    const String t = GetText();
    const size_t n = std::min(t.size(), static_cast<size_t>(m.WParam) - 1);
    std::copy_n(t.data(), n, buf);
    buf[n] = '\0';
    m.Result = static_cast<LRESULT>(n);
}

void TCustomEdit::WMGetTextLengthEdit(TMessage& m) { m.Result = static_cast<LRESULT>(GetText().size()); }

void TCustomEdit::WMClipboard(TMessage& m) {
    switch (m.Msg) {
        case WM_CUT: CutToClipboard(); break;
        case WM_COPY: CopyToClipboard(); break;
        case WM_PASTE: PasteFromClipboard(); break;
        case WM_CLEAR: ClearSelection(); break;
        case WM_UNDO:
            m.Result = CanUndo();
            Undo();
            break;
    }
}

void TCustomEdit::EMMessage(TMessage& m) {
    const int w = static_cast<int>(static_cast<intptr_t>(m.WParam));
    switch (m.Msg) {
        case EM_GETSEL:
            if (m.WParam) *reinterpret_cast<int*>(m.WParam) = text_.SelStart();
            if (m.LParam) *reinterpret_cast<int*>(m.LParam) = text_.SelStart() + text_.SelLength();
            m.Result = MAKELPARAM(text_.SelStart(), text_.SelStart() + text_.SelLength());
            break;
        case EM_SETSEL: {
            const int start = w < 0 ? text_.Length() : w;
            const int end = m.LParam < 0 ? text_.Length() : static_cast<int>(m.LParam);
            text_.SetSel(start, end);
            SelectionChanged();
            break;
        }
        case EM_SCROLLCARET: ScrollCaret(); break;
        case EM_GETMODIFY: m.Result = modified_; break;
        case EM_SETMODIFY: modified_ = m.WParam != 0; break;
        case EM_GETLINECOUNT: m.Result = text_.LineCount(); break;
        case EM_LINEINDEX:
            m.Result = w < 0 ? text_.LineStart(text_.LineOf(text_.Caret()))
                             : (w < text_.LineCount() ? text_.LineStart(w) : -1);
            break;
        case EM_LINELENGTH:
            m.Result = static_cast<LRESULT>(text_.Line(text_.LineOf(w < 0 ? text_.Caret() : w)).size());
            break;
        case EM_LINEFROMCHAR: m.Result = text_.LineOf(w < 0 ? text_.Caret() : w); break;
        case EM_REPLACESEL: {
            const char* t = reinterpret_cast<const char*>(m.LParam);
            if (text_.Replace(Utf8ToWide(t ? t : ""), text_.InsertColor(), m.WParam != 0, false))
                TextChanged(false);
            break;
        }
        case EM_LIMITTEXT: text_.SetMaxLength(w); break;
        case EM_GETLIMITTEXT: m.Result = text_.MaxLength() ? text_.MaxLength() : 0x7FFFFFFE; break;
        case EM_CANUNDO: m.Result = CanUndo(); break;
        case EM_UNDO:
            m.Result = CanUndo();
            Undo();
            break;
        case EM_EMPTYUNDOBUFFER: ClearUndo(); break;
        case EM_SETPASSWORDCHAR: SetPasswordChar(static_cast<char16_t>(m.WParam)); break;
        case EM_GETPASSWORDCHAR: m.Result = passwordChar_; break;
        case EM_GETFIRSTVISIBLELINE: m.Result = topLine_; break;
        case EM_SETREADONLY:
            SetReadOnly(m.WParam != 0);
            m.Result = 1;
            break;
    }
}

}  // namespace tarvel
