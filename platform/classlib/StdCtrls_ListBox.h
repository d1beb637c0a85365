#pragma once
// List boxes: lines with one or many selected, a top index, a vertical
// scroll bar, the keyboard and the wheel, and items drawn by their owner.
// Each item is drawn through CN_DRAWITEM sent to the window, so a subclass
// can paint items itself; the default draws the classic look or calls
// OnDrawItem for the owner-draw styles.

#include <memory>
#include <vector>

#include "platform/classlib/StdCtrls_Edit.h"
#include "platform/classlib/UiAccess.h"

namespace tarvel {

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

enum TOwnerDrawStateFlag {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odComboBoxEdit,
    odHotLight
};
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;

using TDrawItemEvent =
    std::function<void(TWinControl* control, int index, TRect rect, TOwnerDrawState state)>;
using TMeasureItemEvent = std::function<void(TWinControl* control, int index, int& height)>;

TOwnerDrawState OwnerDrawStateOf(UINT itemState);

class TCustomListBox : public TCustomControl, public IUiItems {
    TARVEL_CLASS(TCustomListBox, TCustomControl)

public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStrings* Items() { return items_.get(); }
    void SetItems(TStrings* items) { items_->Assign(items); }
    int Count() const { return items_->Count(); }
    void Clear() { items_->Clear(); }
    // The focused item (the selected one in a single-selection list), or -1.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h);
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle s);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool v) { extendedSelect_ = v; }
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool v) { items_->SetSorted(v); }
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    void SelectAll();
    void ClearSelection();
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);

    // The item at a client point, or -1.
    int ItemAtPos(TPoint p) const;
    TRect ItemRect(int index) const;
    TCanvas* Canvas() { return TCustomControl::Canvas(); }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    int UiItemCount() override { return Count(); }
    String UiItemText(int index) override { return items_->Strings(index); }
    TRect UiItemRect(int index) override;
    int UiItemIndex() override { return itemIndex_; }

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;

    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual int MeasureItem(int index);
    // Where the list asks for its colours (null: the parent window).
    virtual HWND ColorOwner() { return nullptr; }
    // Sends an item to be drawn: owner-draw items go to the parent window as
    // WM_DRAWITEM, the others straight to the list as CN_DRAWITEM.
    virtual void SendItem(DRAWITEMSTRUCT& dis);
    // The user changed the selection.
    virtual void SelectionChangedByUser() { Click(); }
    // The items changed (added, removed, replaced).
    virtual void ItemsUpdated() {}
    int VisibleRows() const;
    void MakeVisible(int index);
    void UpdateScrollBars();

    void WMGetDlgCode(TMessage& m);
    void WMScroll(TMessage& m);
    void WMEraseBkgndList(TMessage& m);
    void LBMessage(TMessage& m);
    void CNDrawItem(TMessage& m);
    void CNCtlColorListBox(TMessage& m);
    void WMLButtonDblClkList(TMessage& m);

private:
    int HeightOf(int index) const;
    void ItemsChanged(TObject*);
    bool SelectByUser(int index, TShiftState shift, bool toggle);

    std::unique_ptr<TStringList> items_;
    std::vector<char> selected_;
    mutable std::vector<int> heights_;  // of owner-draw variable items
    int itemIndex_ = -1;
    int anchor_ = -1;
    int itemHeight_ = 16;
    int topIndex_ = 0;
    TListBoxStyle style_ = lbStandard;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    bool tracking_ = false;
    TFormBorderStyle borderStyle_ = bsSingle;
    WideString typed_;
    TWindowScrollBars bars_{this};
    HBRUSH background_{};  // the answered brush, while painting
};

class TListBox : public TCustomListBox {
    TARVEL_CLASS(TListBox, TCustomListBox)

public:
    using TCustomListBox::TCustomListBox;
};

}  // namespace tarvel
