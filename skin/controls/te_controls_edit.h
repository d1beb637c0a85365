#pragma once
// TTeEdit: the control library's single-line edit, drawn by the library
// itself. It keeps its own UTF-16 text, caret, selection and horizontal
// scroll, handles keys, mouse, clipboard and text input, records an undo
// history and paints through the theme or in the classic look. A surrogate
// pair counts as one character wherever the user can reach: the caret, the
// selection and the keys never stand between its two halves. Positions are
// counted in UTF-16 units; every one is clamped where it is used.

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "platform/classlib/Menus.h"
#include "skin/controls/te_controls_undo.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme_api.h"
#include "skin/forms/te_forms_popupmenu.h"

namespace tarvel {

enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
enum TPasswordKind : uint8_t { pkNone, pkChar, pkRect, pkRoundRect, pkCircle, pkTriangle };

class TTeEdit : public TTeControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeEdit, TTeControl)

public:
    explicit TTeEdit(TComponent* owner);
    ~TTeEdit() override;

    // The text as UTF-8 (the window text) and as the edit holds it. Setting
    // it from the program forgets the undo history.
    String GetText() const override;
    void SetText(const String& text) override;
    const WideString& WideText() const { return text_; }
    void SetWideText(const WideString& text);
    void Clear() { SetWideText(WideString()); }

    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool v) { autoSelect_ = v; }
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase v);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v) { maxLength_ = std::max(0, v); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }
    TPasswordKind PasswordKind() const { return passwordKind_; }
    void SetPasswordKind(TPasswordKind v);
    char16_t PasswordWideChar() const { return passwordChar_; }
    void SetPasswordWideChar(char16_t v);
    TAlignment TextAlignment() const { return alignment_; }
    void SetTextAlignment(TAlignment v);

    // ---- caret and selection ----
    int CaretPos() const { return caretPos_; }
    int SelPos() const { return selPos_; }
    int SelDelta() const { return selDelta_; }
    int FirstVisibleChar() const { return firstVisibleChar_; }
    int SelStart() const;
    int SelLength() const;
    WideString SelText() const;
    void SetSelStart(int s);
    void SetSelLength(int n);
    void SelectAll();
    void SelectWord();
    void ClearSelection();
    void SetCaretPosition(int p);
    void UpdateCaretePosition() { SetCaretPosition(caretPos_); }
    void UpdateCarete();

    // ---- editing ----
    void InsertText(const WideString& s);
    void InsertChar(char16_t c) { InsertText(WideString(1, c)); }
    // Raw changes for the undo history: not recorded themselves.
    void InsertAfter(int index, const WideString& text, bool select);
    void DeleteFrom(int position, int count, bool select);
    bool UnDo();
    TEditActionStack* UndoStack() const { return undo_.get(); }
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    // ---- geometry ----
    virtual TRect GetEditRect();
    virtual int GetPasswordCharWidth();
    virtual TRect GetSelRect();
    int GetCharX(int index);
    int GetCoordinatePosition(int x);
    WideString GetVisibleSelText();
    int GetNextWordBeging(int p) const;
    int GetPrivWordBeging(int p) const;
    // The positions one character to the left and right (a surrogate pair
    // is one character).
    int PrevCharPos(int p) const;
    int NextCharPos(int p) const;

    // The input method's text being composed, shown at the caret until it is
    // entered or given up; and the cursor in it.
    const WideString& CompositionText() const { return composition_; }
    int CompositionCursor() const { return compositionCursor_; }

    // Consulted by SetText; the base takes every text.
    virtual bool ValidText(const WideString&) { return true; }

    // The context menu, built on first use, in the skin's look.
    TTePopupMenu* ContextMenu() const { return contextMenu_; }
    // Handed to the context menu each time it opens.
    TTePopupMenuOptions* ContextMenuOptions() { return &contextMenuOptions_; }
    void SetContextMenuOptions(TTePopupMenuOptions* value);
    // Kept for form data that sets them; the menu's look comes from
    // ContextMenuOptions.
    bool PopupMenuBlend() const { return popupMenuBlend_; }
    void SetPopupMenuBlend(bool v) { popupMenuBlend_ = v; }
    int PopupMenuBlendValue() const { return popupMenuBlendValue_; }
    void SetPopupMenuBlendValue(int v) { popupMenuBlendValue_ = v; }
    bool PopupMenuDropShadow() const { return popupMenuDropShadow_; }
    void SetPopupMenuDropShadow(bool v) { popupMenuDropShadow_ = v; }
    int PopupMenuShadowWidth() const { return popupMenuShadowWidth_; }
    void SetPopupMenuShadowWidth(int v) { popupMenuShadowWidth_ = v; }
    TTeAnimation* PopupMenuShowAnimation() const { return popupMenuShowAnimation_; }
    void SetPopupMenuShowAnimation(TTeAnimation* v) { popupMenuShowAnimation_ = v; }
    int PopupMenuShowAnimationTime() const { return popupMenuShowAnimationTime_; }
    void SetPopupMenuShowAnimationTime(int v) { popupMenuShowAnimationTime_ = v; }
    // The context menu's entry with that caption, or null.
    TTeItem* ContextMenuItem(const WideString& caption) const;
    virtual void UpdatePopupMenuItems();
    // Where a WM_CONTEXTMENU point opens the menu: signed coordinates, and
    // the caret for a menu asked for from the keyboard.
    TPoint ContextMenuPoint(LPARAM point);

    TNotifyEvent OnChange;

    void PaintBuffer() override;
    void BorderChanged() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    virtual void Change();
    virtual void PaintText();
    virtual void PaintBackground(const TRect& rect, TCanvas& canvas);
    virtual void PaintSelectedText();
    // The composition over the text at the caret, underlined.
    void PaintComposition();
    int CompositionWidth(int units);
    virtual void DrawPasswordChar(const TRect& cell, bool selected);
    virtual TTePopupMenu* CreatePopupMenu(TComponent* owner);
    virtual TTeItem* CreatePopupMenuItem(TComponent* owner);
    virtual void ShowCaret();
    virtual void HideCaret();

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    void HasFocus() override;
    void KillFocus() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;

    // Whether the theme in force draws this edit, and the theme.
    bool Themed();
    // The frame state and text font of the present state (Part of painting).
    TteEditDrawState DrawState();
    void ApplyStateFont(TFont* font);
    bool SelectionShown();
    // Replaces the text without touching the history; fires Change.
    void ApplyText(const WideString& text);
    // Selects [anchor, caret) with the caret at `caret`.
    void SetSelection(int anchor, int caret);
    void ReplaceSelection(const WideString& s, bool fromUser);
    bool ContextMenuReadOnly() const { return contextReadOnly_ >= 0 ? contextReadOnly_ != 0 : readOnly_; }
    void SetContextReadOnly(int v) { contextReadOnly_ = v; }
    int TextWidthFrom(int from, int to);
    int CharWidth(int pos);

private:
    void WMGetDlgCode(TMessage& m);
    void WMCut(TMessage& m);
    void WMCopy(TMessage& m);
    void WMPaste(TMessage& m);
    void WMUndo(TMessage& m);
    void WMContexMenu(TMessage& m);
    void WMLButtonDblClk(TMessage& m);
    void WMImeStartComposition(TMessage& m);
    void WMImeComposition(TMessage& m);
    void WMImeEndComposition(TMessage& m);
    void WMSetFocus(TMessage& m);
    void WMKillFocus(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMTextChanged(TMessage& m);
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);

    int Clamp(int p) const;
    void UpdateFirstVisibleChar();
    TCanvas& MeasureCanvas();
    int AlignmentOffset(const TRect& r);
    void MirrorWindowText();
    void EnsureMenu();

    WideString text_;
    std::unique_ptr<TEditActionStack> undo_;
    bool autoSelect_ = true;
    TEditCharCase charCase_ = ecNormal;
    bool hideSelection_ = true;
    int maxLength_ = 0;
    bool readOnly_ = false;
    TPasswordKind passwordKind_ = pkNone;
    char16_t passwordChar_ = 0;
    TAlignment alignment_ = taLeftJustify;

    int caretPos_ = 0;
    int selPos_ = 0;
    int selDelta_ = 0;
    int firstVisibleChar_ = 1;
    bool mouseSelecting_ = false;
    char16_t pendingHigh_ = 0;  // the first half of a pair typed in two messages
    WideString composition_;
    int compositionCursor_ = 0;
    bool mirroring_ = false;
    int contextReadOnly_ = -1;
    TTePopupMenu* contextMenu_ = nullptr;
    TTePopupMenuOptions contextMenuOptions_;
    bool popupMenuBlend_ = false;
    int popupMenuBlendValue_ = 150;
    bool popupMenuDropShadow_ = false;
    int popupMenuShadowWidth_ = 4;
    TTeAnimation* popupMenuShowAnimation_ = nullptr;
    int popupMenuShowAnimationTime_ = 300;

    // Advances of the measuring font, reset when the font changes.
    std::unique_ptr<TBitmap> measure_;
    std::unordered_map<char32_t, int> advances_;
    String advanceFont_;
};

}  // namespace tarvel
