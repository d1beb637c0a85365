#include "skin/controls/te_controls_edit.h"

#include <algorithm>
#include <cwctype>

#include "platform/classlib/Clipbrd.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrlMessages.h"
#include "platform/winsys/InputApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"

namespace tarvel {

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The edit whose window holds the thread's one caret.
TTeEdit* CaretOwner = nullptr;

// A single line ends at its first line break.
WideString FirstLine(const WideString& s) { return s.substr(0, std::min(s.find(u'\r'), s.find(u'\n'))); }

WideString ConvertCase(WideString s, TEditCharCase charCase) {
    if (charCase == ecNormal) return s;
    for (char16_t& c : s) {
        if (IsHigh(c) || IsLow(c)) continue;
        const wint_t w = charCase == ecUpperCase ? std::towupper(c) : std::towlower(c);
        if (w <= 0xFFFF) c = static_cast<char16_t>(w);
    }
    return s;
}

// Length cut so that the last character is whole.
size_t WholeCut(const WideString& s, size_t n) {
    if (n >= s.size()) return s.size();
    if (n > 0 && IsHigh(s[n - 1]) && IsLow(s[n])) --n;
    return n;
}

}  // namespace

void TTeEdit::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeEdit::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TTeEdit::WMCut>(WM_CUT);
    t.Add<&TTeEdit::WMCopy>(WM_COPY);
    t.Add<&TTeEdit::WMPaste>(WM_PASTE);
    t.Add<&TTeEdit::WMUndo>(WM_UNDO);
    t.Add<&TTeEdit::WMContexMenu>(WM_CONTEXTMENU);
    t.Add<&TTeEdit::WMLButtonDblClk>(WM_LBUTTONDBLCLK);
    t.Add<&TTeEdit::WMImeStartComposition>(WM_IME_STARTCOMPOSITION);
    t.Add<&TTeEdit::WMImeComposition>(WM_IME_COMPOSITION);
    t.Add<&TTeEdit::WMImeEndComposition>(WM_IME_ENDCOMPOSITION);
    t.Add<&TTeEdit::WMSetFocus>(WM_SETFOCUS);
    t.Add<&TTeEdit::WMKillFocus>(WM_KILLFOCUS);
    t.Add<&TTeEdit::CMEnabledChanged>(CM_ENABLEDCHANGED);
    t.Add<&TTeEdit::CMFontChanged>(CM_FONTCHANGED);
    t.Add<&TTeEdit::CMTextChanged>(CM_TEXTCHANGED);
    t.Add<&TTeEdit::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeEdit::SNMLinkChanged>(SNM_LINKCHANGED);
}

TTeEdit::TTeEdit(TComponent* owner)
    : TTeControl(owner),
      TTeThemeLinked(this, {ktlrSkipSame}),
      undo_(std::make_unique<TEditActionStack>(this)) {
    SetPerformance(qvpDoubleBuffer);
    SetBevelKind(kbkSingle);
    SetBevelWidth(1);
    SetBorderWidth(3);
    ControlStyle.Include(csCaptureMouse);
    ControlStyle.Include(csDoubleClicks);
    ControlStyle.Exclude(csSetCaption);
    SetTabStop(true);
    SetBounds(Left(), Top(), 121, 21);
    SetColor(clWindow);
    SetCursor(crIBeam);
    AddThemeNotification(this);
}

TTeEdit::~TTeEdit() {
    RemoveThemeNotification(this);
    RemoveObjectFromStore(Font());
    if (CaretOwner == this) {
        ::tarvel::DestroyCaret();
        CaretOwner = nullptr;
    }
}

void TTeEdit::Loaded() {
    AddObjectToStore(Font());
    TTeControl::Loaded();
    if (AutoSize()) {
        SetHeight(Height() + 1);
        AdjustSize();
    }
    FollowThemeLink(false);
}

void TTeEdit::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
    if (operation == TOperation::opRemove && component == contextMenu_) contextMenu_ = nullptr;
}

// ---- text --------------------------------------------------------------------------------------

String TTeEdit::GetText() const { return WideToUtf8(text_); }

void TTeEdit::SetText(const String& text) { SetWideText(Utf8ToWide(text)); }

void TTeEdit::SetWideText(const WideString& text) {
    if (!ValidText(text)) return;
    // Old steps would land on positions of another text.
    undo_->Clear();
    ApplyText(text);
}

void TTeEdit::ApplyText(const WideString& text) {
    WideString converted = ConvertCase(text, charCase_);
    if (converted == text_) return;
    text_ = std::move(converted);
    MirrorWindowText();
    if (!ComponentState().Contains(csLoading)) Change();
    Invalidate();
}

void TTeEdit::MirrorWindowText() {
    mirroring_ = true;
    try {
        TTeControl::SetText(WideToUtf8(text_));
    } catch (...) {
        mirroring_ = false;
        throw;
    }
    mirroring_ = false;
}

// Text set through the class library's Text or Caption.
void TTeEdit::CMTextChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (mirroring_) return;
    WideString now = Utf8ToWide(TTeControl::GetText());
    if (now == text_) return;
    undo_->Clear();
    text_ = std::move(now);
    selDelta_ = 0;
    if (!ComponentState().Contains(csLoading)) Change();
    Invalidate();
}

void TTeEdit::Change() {
    if (Enabled() && HandleAllocated()) SetCaretPosition(caretPos_);
    if (OnChange) OnChange(this);
}

void TTeEdit::SetCharCase(TEditCharCase v) {
    if (v == charCase_) return;
    charCase_ = v;
    ApplyText(text_);
}

void TTeEdit::SetHideSelection(bool v) {
    if (v == hideSelection_) return;
    hideSelection_ = v;
    Invalidate();
}

void TTeEdit::SetPasswordKind(TPasswordKind v) {
    if (v == passwordKind_) return;
    passwordKind_ = v;
    Invalidate();
}

void TTeEdit::SetPasswordWideChar(char16_t v) {
    if (v == passwordChar_) return;
    passwordChar_ = v;
    if (v) passwordKind_ = pkChar;
    Invalidate();
    UpdateCaretePosition();
}

void TTeEdit::SetTextAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Invalidate();
}

// ---- positions ---------------------------------------------------------------------------------

int TTeEdit::Clamp(int p) const {
    const int len = static_cast<int>(text_.size());
    p = std::clamp(p, 0, len);
    if (p > 0 && p < len && IsHigh(text_[p - 1]) && IsLow(text_[p])) --p;
    return p;
}

int TTeEdit::PrevCharPos(int p) const {
    p = Clamp(p);
    if (p >= 2 && IsLow(text_[p - 1]) && IsHigh(text_[p - 2])) return p - 2;
    return std::max(p - 1, 0);
}

int TTeEdit::NextCharPos(int p) const {
    p = Clamp(p);
    const int len = static_cast<int>(text_.size());
    if (p + 1 < len && IsHigh(text_[p]) && IsLow(text_[p + 1])) return p + 2;
    return std::min(p + 1, len);
}

int TTeEdit::SelStart() const {
    const int64_t s = selDelta_ > 0 ? selPos_ : selDelta_ < 0 ? int64_t{selPos_} + selDelta_ : caretPos_;
    return Clamp(static_cast<int>(std::clamp<int64_t>(s, 0, static_cast<int64_t>(text_.size()))));
}

int TTeEdit::SelLength() const {
    if (selDelta_ == 0) return 0;
    const int start = SelStart();
    const int64_t end = int64_t{start} + std::abs(int64_t{selDelta_});
    return Clamp(static_cast<int>(std::min<int64_t>(end, static_cast<int64_t>(text_.size())))) - start;
}

WideString TTeEdit::SelText() const { return text_.substr(SelStart(), SelLength()); }

void TTeEdit::SetSelStart(int s) {
    s = Clamp(s);
    if (s == selPos_) return;
    selDelta_ = 0;
    selPos_ = s;
    SetCaretPosition(s);
    Invalidate();
}

void TTeEdit::SetSelLength(int n) {
    const int64_t room = static_cast<int64_t>(text_.size()) - Clamp(selPos_);
    n = static_cast<int>(std::clamp<int64_t>(n, -int64_t{Clamp(selPos_)}, room));
    if (n == selDelta_) return;
    selDelta_ = n;
    Invalidate();
}

void TTeEdit::SetSelection(int anchor, int caret) {
    anchor = Clamp(anchor);
    caret = Clamp(caret);
    caretPos_ = caret;
    selPos_ = caret;
    selDelta_ = anchor - caret;
    SetCaretPosition(caret);
    Invalidate();
}

void TTeEdit::SelectAll() { SetSelection(0, static_cast<int>(text_.size())); }

void TTeEdit::SelectWord() {
    const int start = GetPrivWordBeging(caretPos_);
    SetSelection(start, std::max(start, Clamp(GetNextWordBeging(start))));
}

void TTeEdit::SetCaretPosition(int p) {
    caretPos_ = Clamp(p);
    UpdateFirstVisibleChar();
    if (selDelta_ == 0) selPos_ = caretPos_;
    if (IsFocused() && HandleAllocated() && CaretOwner == this) {
        const TRect r = GetEditRect();
        SetCaretPos(GetCharX(caretPos_) + CompositionWidth(compositionCursor_), r.top);
    }
}

// Only the space separates words.
int TTeEdit::GetPrivWordBeging(int p) const {
    int i = Clamp(p);
    while (i > 0 && text_[i - 1] == u' ') --i;
    while (i > 0 && text_[i - 1] != u' ') --i;
    return Clamp(i);
}

int TTeEdit::GetNextWordBeging(int p) const {
    const int len = static_cast<int>(text_.size());
    int i = std::clamp(p, 0, len);
    bool seenWord = false, seenSpace = false;
    for (; i < len - 1; ++i) {
        const bool space = text_[i] == u' ';
        if (!space && seenSpace && seenWord) return Clamp(i);
        if (space && seenWord) seenSpace = true;
        if (!space) seenWord = true;
    }
    if (i > 0 && i - 1 < len && i == len - 1 && text_[i - 1] == u' ' && !(seenWord && seenSpace)) return i;
    return Clamp(i + 1);
}

// ---- editing -----------------------------------------------------------------------------------

void TTeEdit::ReplaceSelection(const WideString& typed, bool fromUser) {
    if (readOnly_) return;
    const WideString s = FirstLine(typed);
    const int start = SelStart(), length = SelLength();
    WideString now = text_;
    now.replace(start, length, s);
    if (maxLength_ > 0 && now.size() > static_cast<size_t>(maxLength_)) {
        selDelta_ = 0;
        Invalidate();
        return;
    }
    if (!ValidText(now)) return;
    if (fromUser) {
        undo_->FragmentDeleted(start + 1, text_.substr(start, length));
        undo_->FragmentInserted(start + 1, static_cast<int>(s.size()), length > 0);
    }
    selDelta_ = 0;
    caretPos_ = start;
    ApplyText(now);
    selDelta_ = 0;
    SetCaretPosition(start + static_cast<int>(s.size()));
    Invalidate();
}

void TTeEdit::InsertText(const WideString& s) { ReplaceSelection(s, true); }

void TTeEdit::ClearSelection() {
    if (readOnly_) return;
    const int start = SelStart(), length = SelLength();
    if (length == 0) return;
    WideString now = text_;
    now.erase(start, length);
    if (!ValidText(now)) return;
    undo_->FragmentDeleted(start + 1, text_.substr(start, length));
    selDelta_ = 0;
    caretPos_ = start;
    ApplyText(now);
    SetCaretPosition(start);
    Invalidate();
}

void TTeEdit::InsertAfter(int index, const WideString& text, bool select) {
    index = Clamp(index);
    WideString s = text;
    if (maxLength_ > 0) {
        const int64_t room = std::max<int64_t>(0, int64_t{maxLength_} - static_cast<int64_t>(text_.size()));
        s.resize(WholeCut(s, static_cast<size_t>(room)));
        // The steps beneath would land on positions of a text that no
        // longer comes back whole.
        if (s.size() < text.size()) undo_->Clear();
    }
    WideString now = text_;
    now.insert(static_cast<size_t>(index), s);
    ApplyText(now);
    if (select) SetSelection(index, index + static_cast<int>(s.size()));
}

void TTeEdit::DeleteFrom(int position, int count, bool select) {
    const int start = Clamp(position - 1);
    const int end = Clamp(static_cast<int>(
        std::clamp<int64_t>(int64_t{start} + std::max(count, 0), start, static_cast<int64_t>(text_.size()))));
    WideString now = text_;
    now.erase(start, std::max(end - start, 0));
    ApplyText(now);
    if (select) {
        selDelta_ = 0;
        selPos_ = -1;  // SetSelStart acts on every position
        SetSelStart(start);
    }
}

bool TTeEdit::UnDo() { return undo_->RollBackAction(); }

// ---- clipboard ---------------------------------------------------------------------------------

void TTeEdit::CopyToClipboard() {
    if (passwordKind_ != pkNone) return;
    const WideString s = SelText();
    if (s.empty()) return;
    Clipboard().SetAsText(WideToUtf8(s));
}

void TTeEdit::CutToClipboard() {
    CopyToClipboard();
    ClearSelection();
}

void TTeEdit::PasteFromClipboard() {
    if (readOnly_) return;
    InsertText(Utf8ToWide(Clipboard().AsText()));
}

void TTeEdit::WMCut(TMessage&) { CutToClipboard(); }
void TTeEdit::WMCopy(TMessage&) { CopyToClipboard(); }
void TTeEdit::WMPaste(TMessage&) { PasteFromClipboard(); }
void TTeEdit::WMUndo(TMessage& m) { m.Result = UnDo() ? 1 : 0; }

// ---- keyboard ----------------------------------------------------------------------------------

void TTeEdit::WMGetDlgCode(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TTeEdit::KeyDown(WORD& key, TShiftState shift) {
    TTeControl::KeyDown(key, shift);
    if (key == 0) return;
    const bool onlyCtrl = shift == TShiftState{ssCtrl};
    const bool onlyShift = shift == TShiftState{ssShift};
    const bool ctrl = shift.Contains(ssCtrl);
    // The selection's far end, which Shift with a move keeps.
    const int64_t fixed = selDelta_ ? int64_t{selPos_} + selDelta_ : caretPos_;
    bool moved = false;
    switch (key) {
        case VK_BACK:
        case VK_DELETE:
            if (readOnly_) break;
            if (SelLength() > 0) {
                if (onlyShift && key == VK_BACK)
                    CutToClipboard();
                else
                    ClearSelection();
            } else if (key == VK_BACK && caretPos_ > 0) {
                const int from = PrevCharPos(caretPos_);
                WideString now = text_;
                const WideString gone = text_.substr(from, caretPos_ - from);
                now.erase(from, gone.size());
                if (!ValidText(now)) break;
                undo_->FragmentDeleted(from + 1, gone);
                caretPos_ = from;
                ApplyText(now);
                SetCaretPosition(from);
            } else if (key == VK_DELETE && caretPos_ < static_cast<int>(text_.size())) {
                const int to = NextCharPos(caretPos_);
                WideString now = text_;
                const WideString gone = text_.substr(caretPos_, to - caretPos_);
                now.erase(caretPos_, gone.size());
                if (!ValidText(now)) break;
                undo_->FragmentDeleted(caretPos_ + 1, gone);
                ApplyText(now);
            }
            break;
        case VK_END:
            SetCaretPosition(static_cast<int>(text_.size()));
            moved = true;
            break;
        case VK_HOME:
            SetCaretPosition(0);
            moved = true;
            break;
        case VK_LEFT:
            SetCaretPosition(ctrl ? GetPrivWordBeging(caretPos_) : PrevCharPos(caretPos_));
            moved = true;
            break;
        case VK_RIGHT:
            SetCaretPosition(ctrl ? GetNextWordBeging(caretPos_) : NextCharPos(caretPos_));
            moved = true;
            break;
        case VK_INSERT:
            if (onlyCtrl) CopyToClipboard();
            if (onlyShift) PasteFromClipboard();
            break;
        case 'A':
            if (onlyCtrl) SelectAll();
            break;
        case 'C':
            if (onlyCtrl) CopyToClipboard();
            break;
        case 'V':
            if (onlyCtrl) PasteFromClipboard();
            break;
        case 'X':
            if (onlyCtrl) CutToClipboard();
            break;
        case 'Z':
            if (onlyCtrl && !readOnly_) UnDo();
            break;
        default: break;
    }
    if (moved) {
        if (shift.Contains(ssShift)) {
            selPos_ = caretPos_;
            selDelta_ = static_cast<int>(std::clamp<int64_t>(fixed - caretPos_, INT32_MIN, INT32_MAX));
        } else {
            selDelta_ = 0;
            selPos_ = caretPos_;
        }
        Invalidate();
    }
    UpdateCaretePosition();
}

void TTeEdit::KeyPress(char16_t& key) {
    TTeControl::KeyPress(key);
    if (key < 32 || readOnly_) {
        pendingHigh_ = 0;
        return;
    }
    // Text input hands a pair over in two messages.
    if (IsHigh(key)) {
        pendingHigh_ = key;
        return;
    }
    if (IsLow(key)) {
        if (pendingHigh_) InsertText(WideString{pendingHigh_, key});
        pendingHigh_ = 0;
        return;
    }
    pendingHigh_ = 0;
    InsertChar(key);
}

// ---- mouse -------------------------------------------------------------------------------------

void TTeEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    if (button == mbLeft) mouseSelecting_ = true;
    if (CanFocus() && !Focused()) SetFocus();
    if (button == mbLeft) {
        selDelta_ = 0;
        SetCaretPosition(GetCoordinatePosition(x));
        selPos_ = caretPos_;
        Invalidate();
    }
}

void TTeEdit::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    if (!mouseSelecting_) return;
    int p = GetCoordinatePosition(x);
    if (x > GetEditRect().right) p = NextCharPos(p);
    const int64_t fixed = selDelta_ ? int64_t{selPos_} + selDelta_ : caretPos_;
    SetCaretPosition(p);
    selPos_ = caretPos_;
    selDelta_ = static_cast<int>(std::clamp<int64_t>(fixed - caretPos_, INT32_MIN, INT32_MAX));
    UpdateCaretePosition();
    Invalidate();
}

void TTeEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseUp(button, shift, x, y);
    mouseSelecting_ = false;
}

void TTeEdit::WMLButtonDblClk(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    mouseSelecting_ = false;
    SelectWord();
}

// ---- focus and caret ---------------------------------------------------------------------------

void TTeEdit::WMSetFocus(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    HasFocus();
}

void TTeEdit::WMKillFocus(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    KillFocus();
}

void TTeEdit::HasFocus() {
    TTeControl::HasFocus();
    if (HandleAllocated() && GetFocus() == Handle()) UpdateCarete();
    selDelta_ = 0;
    SetCaretPosition(0);
    if (autoSelect_) SelectAll();
}

void TTeEdit::KillFocus() {
    TTeControl::KillFocus();
    mouseSelecting_ = false;
    if (CaretOwner == this) {
        ::tarvel::DestroyCaret();
        CaretOwner = nullptr;
    }
}

void TTeEdit::UpdateCarete() {
    if (!HandleAllocated()) return;
    TCanvas& c = MeasureCanvas();
    ApplyStateFont(c.Font());
    ::tarvel::CreateCaret(Handle(), 0, c.TextHeight("Pq"));
    CaretOwner = this;
    UpdateCaretePosition();
    ShowCaret();
}

void TTeEdit::ShowCaret() {
    if (HandleAllocated()) ::tarvel::ShowCaret(Handle());
}

void TTeEdit::HideCaret() {
    if (HandleAllocated()) ::tarvel::HideCaret(Handle());
}

void TTeEdit::MouseEnter() {
    TTeControl::MouseEnter();
    Invalidate();
}

void TTeEdit::MouseLeave() {
    TTeControl::MouseLeave();
    Invalidate();
}

void TTeEdit::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (HandleAllocated()) EnableWindow(Handle(), Enabled());
    Invalidate();
}

void TTeEdit::CMFontChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    advances_.clear();
    if (AutoSize()) AdjustSize();
    if (IsFocused()) UpdateCarete();
}

void TTeEdit::BorderChanged() {
    if (AutoSize()) AdjustSize();
}

// ---- input method ------------------------------------------------------------------------------

namespace {

WideString CompositionString(HIMC context, DWORD index) {
    const long bytes = ImmGetCompositionStringW(context, index, nullptr, 0);
    if (bytes <= 0) return WideString();
    WideString s(static_cast<size_t>(bytes) / sizeof(char16_t), u'\0');
    ImmGetCompositionStringW(context, index, s.data(), static_cast<DWORD>(bytes));
    return s;
}

}  // namespace

void TTeEdit::WMImeStartComposition(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    composition_.clear();
    compositionCursor_ = 0;
}

void TTeEdit::WMImeComposition(TMessage& m) {
    HIMC context = ImmGetContext(Handle());
    if (!context) {
        DispatchFrom(inherited::StaticClass(), m);
        return;
    }
    const WideString composed = CompositionString(context, GCS_COMPSTR);
    const int cursor = static_cast<int>(ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0));
    const WideString result =
        (m.LParam & GCS_RESULTSTR) ? CompositionString(context, GCS_RESULTSTR) : WideString();
    ImmReleaseContext(Handle(), context);
    if (m.LParam & (GCS_COMPSTR | GCS_RESULTSTR)) {
        composition_ = composed;
        compositionCursor_ = std::clamp(cursor, 0, static_cast<int>(composition_.size()));
    }
    // Character by character, so MaxLength and the undo runs apply as typed.
    if (!readOnly_)
        for (char16_t c : result) InsertChar(c);
    UpdateCaretePosition();
    Invalidate();
    m.Result = 0;
}

void TTeEdit::WMImeEndComposition(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (composition_.empty()) return;
    composition_.clear();
    compositionCursor_ = 0;
    UpdateCaretePosition();
    Invalidate();
}

// ---- context menu ------------------------------------------------------------------------------

TTePopupMenu* TTeEdit::CreatePopupMenu(TComponent* owner) { return new TTePopupMenu(owner); }
TTeItem* TTeEdit::CreatePopupMenuItem(TComponent* owner) { return new TTeItem(owner); }

void TTeEdit::SetContextMenuOptions(TTePopupMenuOptions* value) {
    if (value && value != &contextMenuOptions_) contextMenuOptions_.Assign(value);
}

TTeItem* TTeEdit::ContextMenuItem(const WideString& caption) const {
    if (!contextMenu_) return nullptr;
    TTeItem* items = contextMenu_->Items();
    for (int i = 0; i < items->Count(); ++i)
        if (items->GetItem(i)->Caption() == caption) return items->GetItem(i);
    return nullptr;
}

void TTeEdit::EnsureMenu() {
    if (contextMenu_) return;
    contextMenu_ = CreatePopupMenu(this);
    struct Entry {
        const char16_t* caption;
        void (TTeEdit::*action)();
    };
    static const Entry entries[] = {{u"Undo", nullptr},
                                    {u"-", nullptr},
                                    {u"Cut", &TTeEdit::CutToClipboard},
                                    {u"Copy", &TTeEdit::CopyToClipboard},
                                    {u"Paste", &TTeEdit::PasteFromClipboard},
                                    {u"Delete", &TTeEdit::ClearSelection},
                                    {u"-", nullptr},
                                    {u"Select All", &TTeEdit::SelectAll}};
    for (const Entry& e : entries) {
        TTeItem* item = CreatePopupMenuItem(contextMenu_);
        item->SetCaption(e.caption);
        if (WideString(e.caption) == u"Undo")
            item->OnClick = [this](TObject*) { UnDo(); };
        else if (e.action)
            item->OnClick = [this, action = e.action](TObject*) { (this->*action)(); };
        contextMenu_->Items()->Add(item);
    }
}

void TTeEdit::UpdatePopupMenuItems() {
    EnsureMenu();
    const bool ro = ContextMenuReadOnly();
    const bool sel = SelLength() > 0;
    const bool plain = passwordKind_ == pkNone;
    auto set = [&](const char16_t* caption, bool on) {
        if (TTeItem* i = ContextMenuItem(caption)) i->SetEnabled(on);
    };
    set(u"Undo", undo_->Count() > 0 && !ro);
    set(u"Cut", sel && plain && !ro);
    set(u"Copy", sel && plain);
    set(u"Paste", !Clipboard().AsText().empty() && !ro);
    set(u"Delete", sel && !ro);
    set(u"Select All", SelText() != text_);
    contextMenu_->SetPopupMenuOptions(&contextMenuOptions_);
}

TPoint TTeEdit::ContextMenuPoint(LPARAM point) {
    const int x = static_cast<int16_t>(point & 0xFFFF), y = static_cast<int16_t>((point >> 16) & 0xFFFF);
    if (x == -1 && y == -1) {
        const TRect r = GetEditRect();
        return ClientToScreen(TPoint{GetCharX(caretPos_), r.bottom});
    }
    return TPoint{x, y};
}

void TTeEdit::WMContexMenu(TMessage& m) {
    if (PopupMenu()) {
        DispatchFrom(inherited::StaticClass(), m);
        return;
    }
    if (ComponentState().Contains(csDesigning)) return;
    UpdatePopupMenuItems();
    if (TCustomForm* form = GetParentForm(this)) form->Perform(WM_CANCELMODE);
    contextMenu_->SetPopupComponent(this);
    const TPoint p = ContextMenuPoint(m.LParam);
    contextMenu_->Popup(p.x, p.y);
    m.Result = 1;
}

}  // namespace tarvel
