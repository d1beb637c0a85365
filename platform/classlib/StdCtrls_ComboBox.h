#pragma once
// Combo boxes: an edit (or a face showing the selected item) with a list
// that drops down in a popup window, or stays below in the simple style.
// Notifications travel as CN_COMMAND (CBN_...) through the window, where a
// subclass sees them; the face's item and the list's items are drawn
// through CN_DRAWITEM. The item index may be set past the last item: the
// box then keeps its text and reports that index.

#include <memory>

#include "platform/classlib/StdCtrls_ListBox.h"

namespace tarvel {

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox;

// The list of a combo box: a popup window while dropped down (or a child
// in the simple style). It tracks the mouse while dropped and closes on a
// click, choosing the item under it, or on a click elsewhere.
class TComboListBox : public TCustomListBox {
    TARVEL_CLASS(TComboListBox, TCustomListBox)

public:
    explicit TComboListBox(TCustomComboBox* combo);

protected:
    void CreateParams(TCreateParams& params) override;
    // Also: a double click in the simple style's list is CBN_DBLCLK.
    void WndProc(TMessage& m) override;
    int MeasureItem(int index) override;
    // The list's colour requests and owner-draw items go to the combo, as a
    // native combo's list does; the combo's window passes the items on.
    HWND ColorOwner() override;
    void SendItem(DRAWITEMSTRUCT& dis) override;
    void SelectionChangedByUser() override;
    void ItemsUpdated() override;

private:
    friend class TCustomComboBox;
    TCustomComboBox* combo_;
    bool barTracking_ = false;
};

// The edit of the editable styles.
class TComboEdit : public TCustomEdit {
    TARVEL_CLASS(TComboEdit, TCustomEdit)

public:
    explicit TComboEdit(TCustomComboBox* combo);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& m) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Change() override;
    void DoEnter() override;
    void DoExit() override;

private:
    TCustomComboBox* combo_;
};

class TCustomComboBox : public TCustomControl, public IUiDropDown {
    TARVEL_CLASS(TCustomComboBox, TCustomControl)

public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s);
    TStrings* Items() { return list_->Items(); }
    void SetItems(TStrings* items) { list_->Items()->Assign(items); }
    void Clear();
    // -1 for none; an index past the last item is kept and reported, the
    // text staying as it was.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    String GetText() const override;
    void SetText(const String& text) override;
    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int pos);
    void SetSelLength(int length);
    String SelText() const;
    void SelectAll();
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n);
    int ItemHeight() const { return list_->ItemHeight(); }
    void SetItemHeight(int h);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int n) { dropDownCount_ = std::clamp(n, 1, 100); }
    bool Sorted() const { return list_->Sorted(); }
    void SetSorted(bool v) { list_->SetSorted(v); }
    bool DroppedDown() const { return dropped_; }
    void SetDroppedDown(bool v);
    // The mouse is over the drop-down button (for a skin painting it hot).
    bool ButtonHot() const { return buttonHot_; }
    // The 15-px drop-down button at the client's right (empty in the simple style).
    TRect ButtonRect();
    TCanvas* Canvas() { return TCustomControl::Canvas(); }
    TComboListBox* ListBox() const { return list_; }
    TCustomEdit* EditControl() const { return edit_; }

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    // OnEnter, OnExit and OnDblClick (a double click in the simple style's
    // list) come with CBN_SETFOCUS, CBN_KILLFOCUS and CBN_DBLCLK.
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    // The driver picks from the dropped list, which shows the items.
    TControl* UiDropDown() override;

protected:
    friend class TComboListBox;
    friend class TComboEdit;
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;

    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual int MeasureItem(int index);
    virtual void Change();
    virtual void Select();
    // Enter or Escape in the edit while the list is closed (after OnKeyDown).
    virtual void EditCommitKey(WORD) {}
    // The dropped list has just been placed and shown, before it takes the mouse.
    virtual void ListShown() {}
    // Sends a CBN_ notification: WM_COMMAND to the parent window, then
    // CN_COMMAND through the combo's own window, where the events are raised.
    void Notify(WORD code);
    virtual bool IsOwnerDraw() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
    bool HasEdit() const { return style_ == csDropDown || style_ == csSimple; }
    TRect FaceRect();

    void WMGetDlgCodeCombo(TMessage& m);
    void CNCommand(TMessage& m);
    void CNDrawItemCombo(TMessage& m);
    // An owner-drawn item (the face's or the list's) goes to the parent
    // window, which reflects it to the combo as CN_DRAWITEM.
    void SendItem(DRAWITEMSTRUCT& dis);
    void CBMessage(TMessage& m);
    void WMEraseBkgndCombo(TMessage& m);
    void WMFocusCombo(TMessage& m);
    void WMSizeCombo(TMessage& m);
    void CMMouseLeaveCombo(TMessage& m);

private:
    void Layout();
    void DropDown();
    void CloseUp(bool accept);
    void ChooseByUser(int index);
    void ItemsChanged();
    // After WM_SETFOCUS / WM_KILLFOCUS of the combo or its edit: the focus
    // came into the combo from outside, or left it.
    void FocusMoved(const TMessage& m);
    void SetButtonHot(bool hot);

    TComboBoxStyle style_ = csDropDown;
    TComboListBox* list_ = nullptr;
    TComboEdit* edit_ = nullptr;
    int itemIndex_ = -1;
    int itemBeforeDrop_ = -1;
    int dropDownCount_ = 8;
    int maxLength_ = 0;
    bool dropped_ = false;
    bool closing_ = false;
    bool hasFocus_ = false;
    bool buttonHot_ = false;
    String faceText_;  // the text of the styles without an edit
};

class TComboBox : public TCustomComboBox {
    TARVEL_CLASS(TComboBox, TCustomComboBox)

public:
    using TCustomComboBox::TCustomComboBox;
};

}  // namespace tarvel
