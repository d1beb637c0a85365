#pragma once
// TTeComboBox: the library-drawn edit with a drop-down button beside its
// text and a library list box that drops down in a borderless top-level
// window. In kcsDropDown the text is edited freely and completes itself from
// the items; in kcsDropDownList the edit is read-only and shows the chosen
// item as the list draws it.

#include "platform/classlib/Forms.h"
#include "platform/classlib/Timers.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/controls/te_controls_listbox.h"

namespace tarvel {

enum TTeComboStyle : uint8_t { kcsDropDown, kcsDropDownList };
enum TTeComboButtonAlign : uint8_t { cbaLeft, cbaRight };

class TTeComboBox;

using TTeComboBoxAllowChangeEvent =
    std::function<void(TObject* sender, int itemIndex, const WideString& text, bool& allow)>;

// The window the list drops down in: a topmost tool popup that closes the
// list when it loses the activation, and sees the keys before the list.
class TTeComboWindow : public TForm {
    TARVEL_CLASS(TTeComboWindow, TForm)

public:
    explicit TTeComboWindow(TTeComboBox* combo);

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void Activate() override;
    void Deactivate() override;
    void KeyDown(WORD& key, TShiftState shift) override;

private:
    void WMClose(TMessage&) {}
    TTeComboBox* combo_;
};

class TTeComboBox : public TTeEdit, public IUiDropDown {
    TARVEL_CLASS(TTeComboBox, TTeEdit)

public:
    explicit TTeComboBox(TComponent* owner);
    ~TTeComboBox() override;

    TStrings* GetItems() const { return list_->Items(); }
    TStrings* Items() const { return list_->Items(); }
    int Count() const { return list_->Count(); }
    String GetText() const override;
    void SetText(const String& text) override { TTeEdit::SetText(text); }
    void Clear();
    void DropDown() { ButtonClick(); }
    void SelectItemByText();

    int ItemIndex() const { return itemIndex_; }
    virtual void SetItemIndex(int index);
    // For a descendant that draws its items itself; the base draws them
    // through its list box.
    virtual void DrawItem(int /*index*/, const TRect& /*rect*/, TOwnerDrawState /*state*/) {}
    TTeComboStyle ComboStyle() const { return comboStyle_; }
    void SetComboStyle(TTeComboStyle value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value) { dropDownCount_ = std::max(value, 1); }
    TTeComboButtonAlign ButtonAlign() const { return buttonAlign_; }
    void SetButtonAlign(TTeComboButtonAlign value);
    // Passed to the list; a font or colour list keeps its own row height,
    // which the combo then takes, any other takes the combo's.
    TTeListBoxStyle ListStyle() const { return list_->ListStyle(); }
    void SetListStyle(TTeListBoxStyle value);
    bool Flat() const { return list_->Flat(); }
    void SetFlat(bool value) { list_->SetFlat(value); }
    TTeFontDevice FontDevice() const { return list_->FontDevice(); }
    void SetFontDevice(TTeFontDevice value) { list_->SetFontDevice(value); }
    TTeFontType FontType() const { return list_->FontType(); }
    void SetFontType(TTeFontType value) { list_->SetFontType(value); }
    bool ShowCheckBoxes() const { return list_->ShowCheckBoxes(); }
    void SetShowCheckBoxes(bool value) { list_->SetShowCheckBoxes(value); }
    bool Sorted() const { return list_->Sorted(); }
    void SetSorted(bool value) { list_->SetSorted(value); }
    bool WordWrap() const { return list_->WordWrap(); }
    void SetWordWrap(bool value) { list_->SetWordWrap(value); }
    TCustomImageList* Images() const { return list_->Images(); }
    void SetImages(TCustomImageList* value) { list_->SetImages(value); }
    TCheckBoxState State(int index) const { return list_->State(index); }
    // The list's owner drawing: its rows, and in kcsDropDownList the face's
    // item too, which the owner is asked for through the list.
    bool DefaultDrawing() const { return list_->DefaultDrawing(); }
    void SetDefaultDrawing(bool value) { list_->SetDefaultDrawing(value); }
    void SetOnDrawItem(TTeDrawItemEvent handler) { list_->OnDrawItem = std::move(handler); }
    void SetOnMeasureItem(TTeMeasureItemEvent handler) { list_->OnMeasureItem = std::move(handler); }
    // The colour the chosen item names, 0 without one; a name that is no
    // colour raises EConvertError.
    TColor ColorValue() const;
    // Reading names the font after the chosen item; assigning a font
    // chooses the first item of its name.
    TFont* FontValue();
    void SetFontValue(TFont* value);
    bool AutoComplete() const { return autoComplete_; }
    void SetAutoComplete(bool value) { autoComplete_ = value; }

    TTeListBox* ListBox() const { return list_; }
    TTeComboWindow* DropDownWindow() const { return window_; }
    bool DroppedDown() const { return window_->Visible(); }
    bool ButtonHot() const { return buttonHot_; }
    bool ButtonPressed() const { return buttonPressed_; }
    TTimer* AutoCompleteTimer() const { return timer_; }

    virtual int GetButtonHeight() { return 15; }
    TRect GetEditRect() override;
    TRect GetButtonRect();

    // Opens the list (closing an open one first) and closes it.
    virtual void ButtonClick();
    virtual void AfterDropDown();

    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnListBoxClick;
    TNotifyEvent OnMatch;
    TNotifyEvent OnNotInList;
    TTeComboBoxAllowChangeEvent OnAllowChange;

    void PaintBuffer() override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    TControl* UiDropDown() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    virtual TTeListBox* CreateListBox(TComponent* owner) { return new TTeListBox(owner); }
    virtual void DoListBoxClick(TObject* sender);
    virtual void BeforeDropDown();
    // Clears the frames' note of the open list when it is this box's.
    void ForgetActiveComboBox();
    void PaintBackground(const TRect& rect, TCanvas& canvas) override;
    void PaintListItem(const TRect& rect, TCanvas& canvas);
    void Change() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void HasFocus() override;

    bool forceItemIndex_ = false;
    // Raised by a descendant that draws the button's hover itself: the
    // pointer's moves and leave keep off the hot flag, and PaintBackground
    // draws the button alone.
    bool paintButtonOnly_ = false;
    // The hot flag without a repaint, for a descendant that shows it itself.
    void SetButtonHotFlag(bool hot) { buttonHot_ = hot; }

private:
    void WMSetCursor(TMessage& m);
    void DoItemsChanged(TObject*);
    void DoFontChange(TObject*);
    void AutoCompleteTimerFired(TObject*);
    bool ThemedButton();
    // A list-style face whose item the owner draws takes the whole height.
    bool OwnerDrawnFace() const;
    void SetButtonHot(bool hot);

    TTeListBox* list_ = nullptr;
    TTeComboWindow* window_ = nullptr;
    TTimer* timer_ = nullptr;
    TFont* fontValue_ = nullptr;
    bool namingFont_ = false;
    int itemIndex_ = -1;
    TTeComboStyle comboStyle_ = kcsDropDown;
    int itemHeight_ = 15;
    int dropDownCount_ = 8;
    TTeComboButtonAlign buttonAlign_ = cbaRight;
    bool autoComplete_ = true;
    bool buttonHot_ = false;
    bool buttonPressed_ = false;
    bool savedReadOnly_ = false;
    WideString autoCompleteText_;
    bool autoCompleting_ = false;
    bool closing_ = false;
};

}  // namespace tarvel
