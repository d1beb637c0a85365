#pragma once
// The standard controls the library's own boxes and dialogs are made of, in
// their plainest form: a label, a push button, a one-line edit and a list box.

#include <memory>

#include "platform/classlib/Controls.h"
#include "platform/classlib/StdCtrls_Edit.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/UiAccess.h"

namespace tarvel {

enum TTextLayout { tlTop, tlCenter, tlBottom };

// The text extent of `text` in `font` (DrawText rules: "&" prefixes, and
// line breaks at `wrapWidth` when it is positive).
TSize MeasureText(TFont* font, const String& text, int wrapWidth, bool prefixes);

class TLabel : public TGraphicControl {
    TARVEL_CLASS(TLabel, TGraphicControl)

public:
    explicit TLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    // Where the text sits vertically when the label is taller than it.
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    // The control an "&" accelerator of the caption focuses.
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    void Notification(TComponent* component, TOperation operation) override;
    void CMDialogChar(TMessage& m);

private:
    unsigned TextFlags() const;

    TAlignment alignment_ = taLeftJustify;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    TTextLayout layout_ = tlTop;
    TWinControl* focusControl_ = nullptr;
};

class TButtonControl : public TCustomControl {
    TARVEL_CLASS(TButtonControl, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

class TButton : public TButtonControl {
    TARVEL_CLASS(TButton, TButtonControl)

public:
    explicit TButton(TComponent* owner);

    // Enter clicks the default button (unless another button has the focus);
    // Escape clicks the cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    // Set on the form by a click (before OnClick), which ends a modal showing.
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult r) { modalResult_ = r; }

    void Click() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;
    // Held down by the mouse or the space bar (drawn sunk).
    bool Pressed() const { return pressed_; }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;
    void WMGetDlgCode(TMessage& m);
    void CMDialogKeyButton(TMessage& m);
    void CMDialogCharButton(TMessage& m);
    void CMFocusChanged(TMessage& m);

private:
    bool IsActive();
    void SetPressed(bool pressed);

    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
    bool pressed_ = false;
    bool tracking_ = false;
};

class TListBox : public TCustomControl, public IUiItems {
    TARVEL_CLASS(TListBox, TCustomControl)

public:
    explicit TListBox(TComponent* owner);
    ~TListBox() override;

    TStrings* Items() { return items_.get(); }
    void SetItems(TStrings* items) { items_->Assign(items); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h);
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    int Count() const { return items_->Count(); }
    // The item at a client point, or -1.
    int ItemAtPos(TPoint p) const;
    TRect ItemRect(int index) const;
    void Clear() { items_->Clear(); }

    int UiItemCount() override { return Count(); }
    String UiItemText(int index) override { return items_->Strings(index); }
    TRect UiItemRect(int index) override;
    int UiItemIndex() override { return itemIndex_; }

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void DoEnter() override;
    void DoExit() override;
    void WMGetDlgCode(TMessage& m);

private:
    int VisibleRows();
    void MakeVisible(int index);
    void ItemsChanged(TObject*);

    std::unique_ptr<TStringList> items_;
    int itemIndex_ = -1;
    int itemHeight_ = 16;
    int topIndex_ = 0;
};

}  // namespace tarvel
