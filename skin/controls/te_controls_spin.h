#pragma once
// TTeSpinButton: an up and a down arrow button, one above the other, that
// step an integer position between limits, repeat while held and may keep
// a neighbouring control's text in step. TTeSpinEdit: an edit with a spin
// button inside, holding a number shown as an integer, a fixed-point or a
// hexadecimal number, filtered while typed and clamped on Enter or exit.

#include <memory>
#include <optional>

#include "platform/classlib/Timers.h"
#include "skin/controls/te_controls_editbtn.h"

namespace tarvel {

enum TTeSpinAlign : uint8_t { saLeft, saRight };
enum TTeSpinValueType : uint8_t { vtInt, vtFloat, vtHex };
using TTeChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

// One arrow of a spin button: clicks on release inside, and repeats while
// held, first after 400 ms and then every 100 ms.
class TTeSpinArrow : public TTeGraphicControl {
    TARVEL_CLASS(TTeSpinArrow, TTeGraphicControl)

public:
    TTeSpinArrow(TComponent* owner, bool up);
    bool Up() const { return up_; }
    bool Pressed() const { return pressed_; }
    // Held down with the pointer still over it.
    bool Down() const { return pressed_ && IsHot(); }
    // A strip of NumGlyphs cells: normal, disabled, pressed. None brings
    // back the stock arrow with one cell.
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    void PaintBuffer() override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void MouseEnter() override;

private:
    void Repeat(TObject*);
    // The spin button's link, and its theme, else the current one.
    TteCustomThemeLink* ArrowLink() const;
    TteTheme* ArrowTheme() const;
    // The glyph's cell for the state, centred in r and moved by offset;
    // through the theme's tool glyph when an item state is given.
    void DrawGlyphCell(TCanvas& c, const TRect& r, TPoint offset, const TteToolItemInfo* themed);
    bool up_;
    bool pressed_ = false;
    bool repeated_ = false;
    TTimer* timer_ = nullptr;
    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
};

class TTeSpinButton : public TTeControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeSpinButton, TTeControl)

public:
    explicit TTeSpinButton(TComponent* owner);
    ~TTeSpinButton() override;

    int Position() const { return position_; }
    void SetPosition(int value);
    // Sets and clamps the position without events or the associate.
    void IntSetPos(int value);
    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Increment() const { return increment_; }
    void SetIncrement(int value) { increment_ = value; }
    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* value);
    TTeSpinAlign SpinAlign() const { return spinAlign_; }
    void SetSpinAlign(TTeSpinAlign value);
    bool EnabledSlider() const { return enabledSlider_; }
    void SetEnabledSlider(bool value);
    TBitmap* UpGlyph() const { return up_->Glyph(); }
    void SetUpGlyph(TBitmap* value) { up_->SetGlyph(value); }
    TBitmap* DownGlyph() const { return down_->Glyph(); }
    void SetDownGlyph(TBitmap* value) { down_->SetGlyph(value); }
    int UpNumGlyphs() const { return up_->NumGlyphs(); }
    void SetUpNumGlyphs(int value) { up_->SetNumGlyphs(value); }
    int DownNumGlyphs() const { return down_->NumGlyphs(); }
    void SetDownNumGlyphs(int value) { down_->SetNumGlyphs(value); }
    // The arrows draw through the link's theme.
    void SetThemeLink(TteCustomThemeLink* value) override;
    TTeSpinArrow* UpButton() const { return up_; }
    TTeSpinArrow* DownButton() const { return down_; }
    TTimer* AssociateTimer() const { return timer_; }

    void UpClick();
    void DownClick();

    TTeChangingEvent OnChanging;
    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    void SetBounds(int left, int top, int width, int height) override;
    void PaintBuffer() override;

protected:
    // The arrows are made by the descendant's factory, the up one first.
    using TArrowFactory = std::function<TTeSpinArrow*(TTeSpinButton*, bool up)>;
    TTeSpinButton(TComponent* owner, const TArrowFactory& makeArrow);
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    friend class TTeSpinArrow;
    void WMGetDlgCode(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void AdjustSize();
    void UpdateAssociate();
    void UpdateAssociatePosition();
    void CheckAssosiate(TObject*);
    void ButtonPressed(TTeSpinArrow* button);
    int Clamp(int64_t p) const;

    TTeSpinArrow* up_ = nullptr;
    TTeSpinArrow* down_ = nullptr;
    TTimer* timer_ = nullptr;
    TWinControl* associate_ = nullptr;
    int position_ = 0;
    int min_ = 0;
    int max_ = 0;
    int increment_ = 1;
    TTeSpinAlign spinAlign_ = saRight;
    bool enabledSlider_ = false;
    bool syncingAssociate_ = false;
    bool sliderDragging_ = false;
    int dragStartY_ = 0;
    int dragStartPosition_ = 0;
};

// The integer a text reads as; none for text that is not one.
std::optional<int> ReadInteger(const String& text);

class TTeSpinEdit : public TTeInplaceControlEdit {
    TARVEL_CLASS(TTeSpinEdit, TTeInplaceControlEdit)

public:
    using Extended = long double;
    explicit TTeSpinEdit(TComponent* owner);
    ~TTeSpinEdit() override;

    TTeSpinButton* SpinButton() const { return static_cast<TTeSpinButton*>(Button()); }
    TBitmap* UpGlyph() const { return SpinButton()->UpGlyph(); }
    void SetUpGlyph(TBitmap* value) { SpinButton()->SetUpGlyph(value); }
    TBitmap* DownGlyph() const { return SpinButton()->DownGlyph(); }
    void SetDownGlyph(TBitmap* value) { SpinButton()->SetDownGlyph(value); }
    int UpNumGlyphs() const { return SpinButton()->UpNumGlyphs(); }
    void SetUpNumGlyphs(int value) { SpinButton()->SetUpNumGlyphs(value); }
    int DownNumGlyphs() const { return SpinButton()->DownNumGlyphs(); }
    void SetDownNumGlyphs(int value) { SpinButton()->SetDownNumGlyphs(value); }
    Extended Value();
    void SetValue(Extended value);
    TTeSpinValueType ValueType() const { return valueType_; }
    void SetValueType(TTeSpinValueType value);
    Extended MinValue() const { return minValue_; }
    void SetMinValue(Extended value);
    Extended MaxValue() const { return maxValue_; }
    void SetMaxValue(Extended value);
    Extended Increment() const { return increment_; }
    void SetIncrement(Extended value);
    Extended LargeStep = 10;
    uint8_t Decimal() const { return decimal_; }
    void SetDecimal(uint8_t value) { decimal_ = value; }
    bool EditorEnabled = true;
    bool ArrowKeys = true;

    // The value truncated toward zero, saturated to the type.
    int AsInteger();
    void SetAsInteger(int value) { SetValue(value); }
    int64_t AsInt64();
    double AsFloat() { return static_cast<double>(Value()); }

    Extended CheckValue(Extended x) const;
    String FormatValue(Extended x) const;
    // Each refused key or step counts here, where the system would beep.
    int Refusals() const { return refusals_; }

    TTeChangingEvent OnChanging;
    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    // The spin button is made by the descendant's factory.
    TTeSpinEdit(TComponent* owner, const std::function<TTeSpinButton*(TTeInplaceControlEdit*)>& makeSpin);
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void CreateWnd() override;
    void Change() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void KillFocus() override;
    virtual void SpinButtonChanging(TObject* sender, bool& allow);
    virtual bool IsValidChar(char16_t c);

private:
    void WMContextMenu(TMessage& m);
    void BtnClick(bool up);
    void ChangeValueBy(bool up, Extended step);
    void Validate();
    void Refuse() { ++refusals_; }
    void UpdateSpinLimits();

    TTeSpinValueType valueType_ = vtInt;
    Extended minValue_ = 0;
    Extended maxValue_ = 0;
    Extended increment_ = 1;
    uint8_t decimal_ = 2;
    Extended loadedValue_ = 0;
    bool settingValue_ = false;
    bool changeMuted_ = false;
    int refusals_ = 0;
};

}  // namespace tarvel
