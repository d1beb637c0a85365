#pragma once
// Edits and memos: one line or many, with a caret, a selection, the
// clipboard, a one-step undo, the standard context menu and the edit
// messages (EM_..., WM_CUT/COPY/PASTE/CLEAR/UNDO). The background is erased
// in the brush CN_CTLCOLOREDIT answers and the text drawn over it
// transparently, so a subclass of the window can take both over. A memo
// shows its lines as rows: wrapped at the client width (the text keeps its
// lines; the caret, the mouse and the vertical scroll bar go by rows), or
// one row a line. The EM_ line messages count the text's lines.

#include <functional>
#include <memory>
#include <vector>

#include "platform/classlib/EditText.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/WindowScrollBars.h"

namespace tarvel {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomEdit : public TCustomControl {
    TARVEL_CLASS(TCustomEdit, TCustomControl)

public:
    TCustomEdit(TComponent* owner, bool multiLine);
    explicit TCustomEdit(TComponent* owner) : TCustomEdit(owner, false) {}
    ~TCustomEdit() override;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    int MaxLength() const { return text_.MaxLength(); }
    void SetMaxLength(int v) { text_.SetMaxLength(v); }
    char16_t PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char16_t c);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool v) { autoSelect_ = v; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    bool Modified() const { return modified_; }
    void SetModified(bool v) { modified_ = v; }

    String GetText() const override;
    void SetText(const String& text) override;
    // UTF-16 units, a line break counting two.
    int GetTextLen() const { return text_.Length(); }

    int SelStart() const { return text_.SelStart(); }
    int SelLength() const { return text_.SelLength(); }
    void SetSelStart(int pos);
    void SetSelLength(int length);
    void SelectAll();
    String SelText() const { return WideToUtf8(text_.SelText()); }
    // Replaces the selection (inserts at the caret when nothing is selected).
    void SetSelText(const String& text);
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    bool CanUndo() const { return text_.CanUndo(); }
    void Undo();
    void ClearUndo() { text_.ClearUndo(); }
    void Clear() { SetText(""); }
    // Scrolls so the caret shows.
    void ScrollCaret();

    TNotifyEvent OnChange;

    // The model, for the controls built on an edit.
    TEditText& EditText() { return text_; }
    const TEditText& EditText() const { return text_; }
    // The first row shown: a line, or a part of a wrapped line.
    int TopLine() const { return topLine_; }
    // The rows the lines show as (up to date with the text and the width).
    const TEditRows& Rows();
    // The row the caret shows in.
    int CaretRow();

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;
    virtual void Change();

    // What the control does with a key OnKeyDown left (true: used) and with
    // a character OnKeyPress left.
    virtual bool EditKey(WORD key, TShiftState shift);
    virtual void EditChar(char16_t ch);
    // Types `text` at the selection as the user would (read-only, limit, undo).
    bool UserReplace(std::u16string_view text);
    // After the model changed: caret, scroll, repaint, OnChange.
    void TextChanged(bool byUser);
    void SelectionChanged();
    virtual TColor DrawColor(TColor stored) const;
    int LineHeight();
    TScrollStyle scrollBars_ = ssNone;
    // Long lines of a multi-line edit break into rows at the client width.
    bool wordWrap_ = false;
    void WrapChanged();
    void UpdateScrollBars();
    TWindowScrollBars& ScrollBars() { return bars_; }

    void WMGetDlgCode(TMessage& m);
    void WMKeyDownEdit(TMessage& m);
    void WMCharEdit(TMessage& m);
    void WMSetTextEdit(TMessage& m);
    void WMGetTextEdit(TMessage& m);
    void WMGetTextLengthEdit(TMessage& m);
    void WMEraseBkgndEdit(TMessage& m);
    void WMContextMenuEdit(TMessage& m);
    // The standard context menu's entries as the edit stands; an edit of a
    // skin shows them in its own menu.
    struct TContextMenuEntry {
        const char* caption;
        bool enabled;
        std::function<void()> action;
    };
    std::vector<TContextMenuEntry> ContextMenuEntries();
    virtual void ShowContextMenu(TPoint screen);
    void WMScroll(TMessage& m);
    void WMSizeEdit(TMessage& m);
    void WMClipboard(TMessage& m);
    void EMMessage(TMessage& m);
    void CNCtlColorEdit(TMessage& m);
    void CMTextChangedEdit(TMessage& m);
    void CMFontChangedEdit(TMessage& m);
    void CMEnabledChangedEdit(TMessage& m);

private:
    using Row = TEditRows::Row;
    bool Wrapping() const;
    WideString Shown(int line) const;
    WideString RowText(const Row& row) const;
    int TextX(const Row& row);
    // The position under a client point; `atRowEnd` tells it is the end of a wrapped row.
    int PositionAt(TPoint p, bool& atRowEnd);
    int WidthOf(std::u16string_view text);
    // The position in the row nearest to x.
    int PositionInRow(const Row& row, int x, bool& atRowEnd);
    // The caret's x from the row's text start.
    int CaretOffset();
    int VisibleLines();
    TRect CaretRect();
    void MoveCaret(int pos, bool extend, bool atRowEnd = false);
    int TopPosition() const;

    TEditText text_;
    bool readOnly_ = false;
    char16_t passwordChar_ = 0;
    bool autoSelect_ = true;
    bool hideSelection_ = true;
    TAlignment alignment_ = taLeftJustify;
    TFormBorderStyle borderStyle_ = bsSingle;
    bool modified_ = false;
    TEditRows rows_{text_};
    bool caretAtRowEnd_ = false;  // the caret shows at the end of the row before
    int clientWidth_ = -1;
    int topLine_ = 0;
    int scrollX_ = 0;  // pixels of text hidden on the left
    int lineHeight_ = 0;
    int desiredX_ = -1;  // the column the caret keeps over short lines
    bool selecting_ = false;
    HDC measureDc_;
    TWindowScrollBars bars_{this};
};

class TEdit : public TCustomEdit {
    TARVEL_CLASS(TEdit, TCustomEdit)

public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner, false) {}
};

class TCustomMemo;

// The lines of a memo or rich edit. A final line break adds no empty line.
class TMemoStrings : public TStrings {
    TARVEL_CLASS(TMemoStrings, TStrings)

public:
    explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}
    int Count() const override;
    String Get(int index) const override;
    void Put(int index, const String& s) override;
    void Insert(int index, const String& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const String& s) override;
    String Text() const override;
    void SetText(const String& text) override;

private:
    TCustomMemo* memo_;
};

class TCustomMemo : public TCustomEdit {
    TARVEL_CLASS(TCustomMemo, TCustomEdit)

public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    TStrings* Lines() { return lines_.get(); }
    void SetLines(TStrings* lines) { lines_->Assign(lines); }
    TScrollStyle ScrollBarStyle() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v) { wantReturns_ = v; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool v) { wantTabs_ = v; }
    // On by default: long lines wrap at the client width (the lines stay
    // as they are); no horizontal scroll bar shows meanwhile.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    // The caret's line and column.
    TPoint CaretPos() const { return EditText().PosToLineCol(EditText().Caret()); }

    // Appends a line in the colour new text at the end would take.
    void AddLine(const String& s);

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void WMGetDlgCodeMemo(TMessage& m);
    bool EditKey(WORD key, TShiftState shift) override;
    void EditChar(char16_t ch) override;

private:
    friend class TMemoStrings;
    std::unique_ptr<TMemoStrings> lines_;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
    TARVEL_CLASS(TMemo, TCustomMemo)

public:
    using TCustomMemo::TCustomMemo;
};

}  // namespace tarvel
