#pragma once
// Small owner-drawn pickers that show a drawing attribute by its picture: a
// pen width, a pen style, a brush style, a transparency step and a gradient
// kind. Each comes
// as a drop-down list box and as a list box; both members of a pair hold the
// same items and draw them alike. The value is the selected item.

#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_listbox.h"

namespace tarvel {

enum TTeGradient { tegNone, tegHorizontal, tegVertical, tegDoubleHorizontal, tegDoubleVertical, tegRadial };

enum TTePickerKind { kpkPenWidth, kpkPenStyle, kpkBrushStyle, kpkAlpha, kpkGradient };

// The items of a picker; `forList` writes the pen widths the short way.
void FillPickerItems(TTePickerKind kind, bool forList, TStrings* items);
// Draws item `index` over the background the list box has painted.
void DrawPickerItem(TTePickerKind kind, TStrings* items, TCanvas& canvas, int index, TRect rect,
                    TOwnerDrawState state);
// The width an item names, in points; 0 for text that is no number.
double PenWidthOf(const String& item);
// The alpha of transparency step `index` (0 = opaque), and the step of an
// alpha, both rounded half to even; out-of-range steps and alphas are taken
// at the nearest end.
int AlphaOfStep(int index);
int StepOfAlpha(int alpha);

template <class Base>
class TTePicker : public Base {
public:
    TTePicker(TComponent* owner, TTePickerKind kind);

protected:
    TTeListBox* PickerList();
};

template <class Base>
class TTePenWidthPicker : public TTePicker<Base> {
public:
    explicit TTePenWidthPicker(TComponent* owner) : TTePicker<Base>(owner, kpkPenWidth) {}
    // 0 while nothing is selected.
    double GetPenWidth() const {
        const int i = this->ItemIndex();
        return i < 0 || i >= this->Items()->Count() ? 0.0 : PenWidthOf(this->Items()->Strings(i));
    }
};

template <class Base>
class TTePenStylePicker : public TTePicker<Base> {
public:
    explicit TTePenStylePicker(TComponent* owner) : TTePicker<Base>(owner, kpkPenStyle) {}
    TPenStyle GetPenStyle() const { return static_cast<TPenStyle>(this->ItemIndex()); }
    void SetPenStyle(TPenStyle value) { this->SetItemIndex(static_cast<int>(value)); }
};

template <class Base>
class TTeBrushStylePicker : public TTePicker<Base> {
public:
    explicit TTeBrushStylePicker(TComponent* owner) : TTePicker<Base>(owner, kpkBrushStyle) {}
    TBrushStyle GetBrushStyle() const { return static_cast<TBrushStyle>(this->ItemIndex()); }
    void SetBrushStyle(TBrushStyle value) { this->SetItemIndex(static_cast<int>(value)); }
};

template <class Base>
class TTeAlphaPicker : public TTePicker<Base> {
public:
    explicit TTeAlphaPicker(TComponent* owner);
    int GetAlpha() const { return AlphaOfStep(this->ItemIndex()); }
    void SetAlpha(int alpha) { this->SetItemIndex(StepOfAlpha(alpha)); }
};

template <class Base>
class TTeGradientPicker : public TTePicker<Base> {
public:
    explicit TTeGradientPicker(TComponent* owner) : TTePicker<Base>(owner, kpkGradient) {}
    TTeGradient GetGradient() const { return static_cast<TTeGradient>(this->ItemIndex()); }
    void SetGradient(TTeGradient value) { this->SetItemIndex(static_cast<int>(value)); }
};

#define TARVEL_PICKER(Name, Picker, Base) \
    class Name : public Picker<Base> {    \
        TARVEL_CLASS(Name, Picker<Base>)  \
                                          \
    public:                               \
        using Picker<Base>::Picker;       \
    };

TARVEL_PICKER(TTePenWidthBox, TTePenWidthPicker, TTeComboBox)
TARVEL_PICKER(TTePenWidthList, TTePenWidthPicker, TTeListBox)
TARVEL_PICKER(TTePenStyleBox, TTePenStylePicker, TTeComboBox)
TARVEL_PICKER(TTePenStyleList, TTePenStylePicker, TTeListBox)
TARVEL_PICKER(TTeBrushStyleBox, TTeBrushStylePicker, TTeComboBox)
TARVEL_PICKER(TTeBrushStyleList, TTeBrushStylePicker, TTeListBox)
TARVEL_PICKER(TTeAlphaValueBox, TTeAlphaPicker, TTeComboBox)
TARVEL_PICKER(TTeAlphaValueList, TTeAlphaPicker, TTeListBox)
TARVEL_PICKER(TTeGradientBox, TTeGradientPicker, TTeComboBox)
TARVEL_PICKER(TTeGradientList, TTeGradientPicker, TTeListBox)

#undef TARVEL_PICKER

}  // namespace tarvel
