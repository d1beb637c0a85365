#pragma once
// TTeCheckBox (three states) and TTeRadioButton (grouped by parent and
// GroupIndex): a box and a caption beside it, drawn from the theme's check
// element, else with the system's frame-control glyphs. Both share the
// layout, painting, mouse and keys of TTeCustomCheck and differ only in
// what a click does and which state the box shows.

#include <cstdint>

#include "platform/classlib/Controls.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme.h"
#include "skin/core/te_theme_api.h"

namespace tarvel {

enum TTeLeftRight : uint8_t { kalLeftJustify, kalRightJustify };
enum TTeCheckBoxState : uint8_t { kcbsUnChecked, kcbsChecked, kcbsMixed };

class TTeCustomCheck : public TTeControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeCustomCheck, TTeControl)

public:
    explicit TTeCustomCheck(TComponent* owner);
    ~TTeCustomCheck() override;

    TTeLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TTeLeftRight value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value) override;
    const WideString& GetCaption() const { return caption_; }
    void SetCaption(const WideString& value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    virtual void SetWordWrap(bool value);
    bool Pressed() const { return pressed_; }
    // Stores without repainting.
    void SetPressed(bool value) { pressed_ = value; }

    // The width follows the caption while AutoSize holds.
    virtual void AdjustBounds();
    virtual TSize GetBoxSize();
    TRect GetBoxRect();
    // Where the caption goes, in client coordinates.
    TRect GetTextRect();
    virtual void PaintBox() = 0;
    virtual void PaintText();
    void PaintBuffer() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    virtual TteCheckSubclass Subclass() const = 0;
    // The first of the five text fonts of the kind: normal, pressed, hot, focused, disabled.
    virtual TteThemeFont FirstTextFont() const = 0;
    // What a click, Space or the accelerator does.
    virtual void Activate() = 0;
    void DoClick();

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;

    bool Themed();
    // First match: disabled, pressed, hot, else normal; `focused` ranks after hot.
    enum class Look : uint8_t { Normal, Hot, Pressed, Disabled, Focused };
    Look CurrentLook(bool withFocus);
    // The row of the box's state tables: disabled, pressed, hot, normal.
    int BoxRow();
    void StoreWordWrap(bool value) { wordWrap_ = value; }
    void Repaint() override { Invalidate(); }

private:
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMTextChanged(TMessage& m);
    void WMSysColorChange(TMessage& m);
    void ApplyThemeBounds();
    void SelectTextFont(TCanvas& canvas, Look look);

    TTeLeftRight alignment_ = kalLeftJustify;
    bool autoSize_ = false;
    WideString caption_;
    int spacing_ = 5;
    bool transparent_ = true;
    bool wordWrap_ = false;
    bool pressed_ = false;
};

class TTeCheckBox : public TTeCustomCheck {
    TARVEL_CLASS(TTeCheckBox, TTeCustomCheck)

public:
    explicit TTeCheckBox(TComponent* owner);

    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    bool Checked() const { return state_ == kcbsChecked; }
    void SetChecked(bool value) { SetState(value ? kcbsChecked : kcbsUnChecked); }
    TTeCheckBoxState State() const { return state_; }
    void SetState(TTeCheckBoxState value);
    // Unchecked, (mixed,) checked, unchecked.
    virtual void Toggle();
    // The automatic width, for the group box that owns one.
    void AdjustWidth() { AdjustBounds(); }

    TteCheckDrawState BoxState();
    void PaintBox() override;

protected:
    TteCheckSubclass Subclass() const override { return kcscCheckBox; }
    TteThemeFont FirstTextFont() const override { return ktfCheckBoxTextNormal; }
    void Activate() override { Toggle(); }

private:
    bool allowGrayed_ = false;
    TTeCheckBoxState state_ = kcbsUnChecked;
};

class TTeRadioButton : public TTeCustomCheck {
    TARVEL_CLASS(TTeRadioButton, TTeCustomCheck)

public:
    explicit TTeRadioButton(TComponent* owner);

    bool Checked() const { return checked_; }
    // Checking unchecks the others of the parent with the same GroupIndex.
    void SetChecked(bool value);
    uint8_t GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(uint8_t value) { groupIndex_ = value; }
    bool ItemTabStop() const { return itemTabStop_; }
    void SetItemTabStop(bool value) { itemTabStop_ = value; }
    // Stores without repainting.
    void SetWordWrap(bool value) override;

    TteCheckDrawState BoxState();
    void PaintBox() override;

protected:
    TteCheckSubclass Subclass() const override { return kcscRadioButton; }
    TteThemeFont FirstTextFont() const override { return ktfRadioButtonTextNormal; }
    void Activate() override;
    void HasFocus() override;

private:
    bool checked_ = false;
    uint8_t groupIndex_ = 0;
    bool itemTabStop_ = true;
};

}  // namespace tarvel
