#pragma once
// Check boxes, radio buttons, group boxes and radio groups.

#include <memory>

#include "platform/classlib/StdCtrls.h"

namespace tarvel {

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TLeftRight { taLeftOfText, taRightOfText };

// The look and the mouse of a box with a caption beside it; the kinds differ
// in what a click does to the state.
class TCustomCheckControl : public TButtonControl, public IUiState {
    TARVEL_CLASS(TCustomCheckControl, TButtonControl)

public:
    String UiState() override;
    explicit TCustomCheckControl(TComponent* owner);
    bool Checked() const { return state_ == cbChecked; }
    // A changed state clicks the control, as a user's click would.
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    virtual void SetState(TCheckBoxState state);
    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight a);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;
    // What a user's click (mouse, space or accelerator) does.
    virtual void Toggle() = 0;
    virtual bool IsRadio() const = 0;
    void WMGetDlgCode(TMessage& m);
    void CMDialogCharCheck(TMessage& m);

    TCheckBoxState state_ = cbUnchecked;

private:
    void SetPushed(bool v);
    TLeftRight alignment_ = taRightOfText;
    bool wordWrap_ = false;
    bool pushed_ = false;
    bool tracking_ = false;
};

class TCheckBox : public TCustomCheckControl {
    TARVEL_CLASS(TCheckBox, TCustomCheckControl)

public:
    explicit TCheckBox(TComponent* owner);
    // Clicks cycle through cbGrayed too.
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v) { allowGrayed_ = v; }

protected:
    void Toggle() override;
    bool IsRadio() const override { return false; }

private:
    bool allowGrayed_ = false;
};

// Checking one unchecks the other radio buttons of the same parent.
class TRadioButton : public TCustomCheckControl {
    TARVEL_CLASS(TRadioButton, TCustomCheckControl)

public:
    explicit TRadioButton(TComponent* owner);
    void SetState(TCheckBoxState state) override;

protected:
    void Toggle() override { SetChecked(true); }
    bool IsRadio() const override { return true; }
    void KeyDown(WORD& key, TShiftState shift) override;
};

// A frame with a caption on its top line that holds other controls.
class TGroupBox : public TCustomControl {
    TARVEL_CLASS(TGroupBox, TCustomControl)

public:
    explicit TGroupBox(TComponent* owner);

protected:
    void Paint() override;
    void AdjustClientRect(TRect& r) override;
    int CaptionHeight();
};

// A group box whose items are radio buttons it makes itself.
class TRadioGroup : public TGroupBox, public IUiItems {
    TARVEL_CLASS(TRadioGroup, TGroupBox)

public:
    explicit TRadioGroup(TComponent* owner);
    ~TRadioGroup() override;

    TStrings* Items() { return items_.get(); }
    int ItemIndex() const { return itemIndex_; }
    // Checks that item's button (-1: none); a change clicks the group.
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int columns);
    TRadioButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }

    int UiItemCount() override { return items_->Count(); }
    String UiItemText(int index) override { return items_->Strings(index); }
    TRect UiItemRect(int index) override;
    int UiItemIndex() override { return itemIndex_; }

protected:
    void Resize() override;
    void CreateHandleDone() override;

private:
    void ItemsChanged(TObject*);
    void ButtonClicked(TObject* sender);
    void ArrangeButtons();

    std::unique_ptr<TStringList> items_;
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

}  // namespace tarvel
