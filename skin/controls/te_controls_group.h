#pragma once
// TTeGroupBox: the drawn group frame with a caption, which a check box may
// take the place of; unticking it disables every other child while the
// group itself stays usable. TTeRadioGroup lays out one radio button per
// line of Items in columns.

#include <memory>
#include <vector>

#include "platform/classlib/StringLists.h"
#include "skin/controls/te_controls_check.h"
#include "skin/core/te_forms_link.h"

namespace tarvel {

class TTeGroupBox : public TTeControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeGroupBox, TTeControl)

public:
    explicit TTeGroupBox(TComponent* owner);
    ~TTeGroupBox() override;

    const WideString& GetCaption() const { return caption_; }
    void SetCaption(const WideString& value);
    int CaptionMargin() const { return captionMargin_; }
    void SetCaptionMargin(int value);
    // The group's own check box while UseCheckBox holds, else null.
    TTeCheckBox* CheckBox() const { return checkBox_; }
    TTeLeftRight CheckBoxAlignment() const;
    void SetCheckBoxAlignment(TTeLeftRight value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool UseCheckBox() const { return useCheckBox_; }
    void SetUseCheckBox(bool value);
    // While the check box is in use the group stays enabled, whatever is set.
    void SetEnabled(bool value) override;

    TNotifyEvent OnCheckBoxClick;

    virtual void CheckBoxClick(TObject* sender);
    virtual TTeCheckBox* CreateCheckBox();
    // The frame.
    virtual TRect GetBoxRect();
    TRect GetCaptionRect();
    TRect GetClientRect() override;
    void PaintBuffer() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void ModifyChecked(bool value);
    void AdjustCheckBounds();
    void TakeCaption();
    bool Themed();
    // The caption's font on canvas: the theme's group font, else Font.
    void SelectFont(TCanvas& canvas, bool painting);
    // Text height of the caption, or of "Tg" when it is empty.
    int CaptionHeight();

private:
    void CMDialogChar(TMessage& m);
    void CMTextChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void WMSize(TMessage& m);
    void SNMThemeMessage(TMessage& m);
    void PaintClassicFrame(TCanvas& c, const TRect& frame, const TRect& caption);

    WideString caption_;
    int captionMargin_ = 12;
    TTeCheckBox* checkBox_ = nullptr;
    TTeLeftRight checkBoxAlignment_ = kalLeftJustify;
    bool checked_ = true;
    bool transparent_ = true;
    bool useCheckBox_ = false;
};

class TTeRadioGroup;

// One button of a radio group, made and freed by the group, never streamed.
class TTeGroupButton : public TTeRadioButton {
    TARVEL_CLASS(TTeGroupButton, TTeRadioButton)

public:
    explicit TTeGroupButton(TTeRadioGroup* group);
    ~TTeGroupButton() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    // The group hears the keys typed on its buttons too.
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;

private:
    void CNCommand(TMessage& m);

    TTeRadioGroup* group_;
    bool inClick_ = false;
};

class TTeRadioGroup : public TTeGroupBox {
    TARVEL_CLASS(TTeRadioGroup, TTeGroupBox)

public:
    explicit TTeRadioGroup(TComponent* owner);
    ~TTeRadioGroup() override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* value) { items_->Assign(value); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    int Columns() const { return columns_; }
    void SetColumns(int value);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TTeGroupButton* Buttons(int index) const { return buttons_[static_cast<size_t>(index)]; }

    virtual bool CanModify() { return true; }
    void UpdateButtons();
    void ArrangeButtons();

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;

private:
    friend class TTeGroupButton;
    void ButtonClick(TObject* sender);
    void ItemsChange(TObject* sender);
    void CMEnabledChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void WMSize(TMessage& m);

    std::unique_ptr<TStringList> items_;
    std::vector<TTeGroupButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

}  // namespace tarvel
