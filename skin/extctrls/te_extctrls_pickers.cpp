#include "skin/extctrls/te_extctrls_pickers.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "platform/base/Exceptions.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

constexpr const char* kBoxWidths[] = {"0.25", "0.50", "0.75", "1.00", "1.25", "1.50",
                                      "1.75", "2.00", "2.50", "3.00", "4.00", "6.00"};
constexpr const char* kListWidths[] = {"0.25", "0.5", "0.75", "1.0", "1.25", "1.50",
                                       "1.75", "2.0", "2.5",  "3",   "4",    "6"};
constexpr const char* kWidthLabels[] = {"1/4 pt",   "1/2 pt", "3/4 pt",   "1 pt", "1 1/4 pt", "1 1/2 pt",
                                        "1 3/4 pt", "2 pt",   "2 1/2 pt", "3 pt", "4 pt",     "6 pt"};
// In the order of the pen styles, so that an item's index is its style.
constexpr const char* kPenStyles[] = {"Solid",      "Dash",  "Dot",        "DashDot",
                                      "DashDotDot", "Clear", "InsideFrame"};
// In the order of the brush styles.
constexpr const char* kBrushStyles[] = {"Solid",     "Clear",     "Horizontal", "Vertical",
                                        "FDiagonal", "BDiagonal", "Cross",      "DiagCross"};
constexpr const char* kAlphas[] = {
    "No Transparency", "10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%"};
constexpr const char* kGradients[] = {"No Gradient",      "Horizontal",     "Vertical",
                                      "DoubleHorizontal", "DoubleVertical", "Radial"};

constexpr unsigned kLeftMiddle = DT_SINGLELINE | DT_VCENTER;
constexpr unsigned kCentred = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

TRect Shrunk(TRect r, int dx, int dy) { return TRect{r.left + dx, r.top + dy, r.right - dx, r.bottom - dy}; }

void Text(TCanvas& canvas, const String& text, TRect r, unsigned format) {
    DrawText(canvas, Utf8ToWide(text), r, format);
}

int Width(TCanvas& canvas, const char* text) { return TextWidth(canvas, Utf8ToWide(text)); }

void Outline(TCanvas& canvas, const TRect& r, TColor ink) {
    canvas.Pen()->SetColor(ink);
    canvas.Pen()->SetStyle(psSolid);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Rectangle(r);
}

void DrawPenWidth(TStrings* items, TCanvas& canvas, int index, TRect r, TColor ink) {
    if (index >= static_cast<int>(std::size(kWidthLabels))) return;
    canvas.Font()->SetColor(ink);
    r = Shrunk(r, 4, 2);
    Text(canvas, kWidthLabels[index], r, kLeftMiddle);
    const double w = PenWidthOf(items->Strings(index));
    const double m = r.top + (r.bottom - r.top) / 2;
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(ink);
    canvas.FillRect(TRect{r.left + Width(canvas, "2 1/2 pt") + 10, RoundHalfEven(m - w), r.right - 10,
                          RoundHalfEven(m + w) + 1});
}

void DrawPenStyle(TCanvas& canvas, int index, TRect r, TColor ink) {
    if (index >= static_cast<int>(std::size(kPenStyles))) return;
    r = Shrunk(r, 6, 2);
    if (index == psClear) {
        canvas.Font()->SetColor(ink);
        Text(canvas, "none", r, kCentred);
        return;
    }
    canvas.Pen()->SetColor(ink);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetStyle(static_cast<TPenStyle>(index));
    // Three lines keep the dashes visible.
    const int m = r.top + (r.bottom - r.top) / 2;
    for (int y = m - 1; y <= m + 1; ++y) {
        canvas.MoveTo(r.left, y);
        canvas.LineTo(r.right, y);
    }
    canvas.Pen()->SetStyle(psSolid);
}

void DrawBrushStyle(TCanvas& canvas, int index, TRect r, TColor ink) {
    if (index >= static_cast<int>(std::size(kBrushStyles))) return;
    canvas.Pen()->SetColor(ink);
    canvas.Pen()->SetStyle(psSolid);
    canvas.Brush()->SetColor(ink);
    canvas.Brush()->SetStyle(static_cast<TBrushStyle>(index));
    canvas.Rectangle(Shrunk(r, 6, 2));
    // The list paints the next item's background with this brush.
    canvas.Brush()->SetStyle(bsSolid);
}

void DrawAlpha(TStrings* items, TCanvas& canvas, int index, TRect r, TColor ink) {
    canvas.Font()->SetColor(ink);
    r = Shrunk(r, 4, 2);
    if (index == 0) {
        Text(canvas, items->Strings(index), r, kCentred);
        return;
    }
    Text(canvas, items->Strings(index), r, kLeftMiddle);
    r.left += Width(canvas, "90%") + 10;
    r = Shrunk(r, 6, 0);
    FillAlphaRect(canvas, r, ink, static_cast<uint8_t>(AlphaOfStep(index)));
    Outline(canvas, r, ink);
}

void DrawGradient(TCanvas& canvas, int index, TRect r, TColor ink) {
    canvas.Font()->SetColor(ink);
    r = Shrunk(r, 4, 2);
    if (index == tegNone) {
        Text(canvas, kGradients[0], r, kCentred);
        return;
    }
    r = Shrunk(r, 6, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    switch (index) {
        case tegHorizontal: FillGradientRect(canvas, r, clBlack, clWhite, false); break;
        case tegVertical: FillGradientRect(canvas, r, clBlack, clWhite, true); break;
        case tegDoubleHorizontal:
            FillGradientRect(canvas, TRect{r.left, r.top, r.left + w / 2 + 1, r.bottom}, clBlack, clWhite,
                             false);
            FillGradientRect(canvas, TRect{r.left + w / 2, r.top, r.right, r.bottom}, clWhite, clBlack,
                             false);
            break;
        case tegDoubleVertical:
            FillGradientRect(canvas, TRect{r.left, r.top, r.right, r.top + h / 2 + 1}, clBlack, clWhite,
                             true);
            FillGradientRect(canvas, TRect{r.left, r.top + h / 2, r.right, r.bottom}, clWhite, clBlack, true);
            break;
        case tegRadial: FillRadialGradientRect(canvas, r, clBlack, clWhite, TPoint{w / 2, h / 2}); break;
        default: return;
    }
    Outline(canvas, r, ink);
}

}  // namespace

void FillPickerItems(TTePickerKind kind, bool forList, TStrings* items) {
    auto add = [items](const auto& table) {
        for (const char* s : table) items->Add(s);
    };
    items->BeginUpdate();
    items->Clear();
    switch (kind) {
        case kpkPenWidth: forList ? add(kListWidths) : add(kBoxWidths); break;
        case kpkPenStyle: add(kPenStyles); break;
        case kpkBrushStyle: add(kBrushStyles); break;
        case kpkAlpha: add(kAlphas); break;
        case kpkGradient: add(kGradients); break;
    }
    items->EndUpdate();
}

void DrawPickerItem(TTePickerKind kind, TStrings* items, TCanvas& canvas, int index, TRect rect,
                    TOwnerDrawState state) {
    if (index < 0 || index >= items->Count()) return;
    const bool selected = state.Contains(odSelected) || state.Contains(odFocused);
    const TColor ink = selected ? clHighlightText : clWindowText;
    switch (kind) {
        case kpkPenWidth: DrawPenWidth(items, canvas, index, rect, ink); break;
        case kpkPenStyle: DrawPenStyle(canvas, index, rect, ink); break;
        case kpkBrushStyle: DrawBrushStyle(canvas, index, rect, ink); break;
        case kpkAlpha: DrawAlpha(items, canvas, index, rect, ink); break;
        case kpkGradient: DrawGradient(canvas, index, rect, ink); break;
    }
}

double PenWidthOf(const String& item) {
    try {
        return StrToFloat(item);
    } catch (const EConvertError&) {
        return 0.0;
    }
}

int AlphaOfStep(int index) { return RoundHalfEven((10 - std::clamp(index, 0, 10)) / 10.0 * 255); }

int StepOfAlpha(int alpha) { return 10 - RoundHalfEven(std::clamp(alpha, 0, 255) / 255.0 * 10); }

template <class Base>
TTePicker<Base>::TTePicker(TComponent* owner, TTePickerKind kind) : Base(owner) {
    constexpr bool isBox = std::is_base_of_v<TTeComboBox, Base>;
    if constexpr (isBox) this->SetComboStyle(kcsDropDownList);
    TTeListBox* list = PickerList();
    list->SetListStyle(lbsOwnerDrawFixed);
    list->OnDrawItem = [kind](TTeListBox* control, TCanvas& canvas, int index, TRect rect,
                              TOwnerDrawState state) {
        DrawPickerItem(kind, control->Items(), canvas, index, rect, state);
    };
    FillPickerItems(kind, !isBox, this->Items());
    this->SetItemIndex(0);
}

template <class Base>
TTeListBox* TTePicker<Base>::PickerList() {
    if constexpr (std::is_base_of_v<TTeComboBox, Base>)
        return this->ListBox();
    else
        return this;
}

template <class Base>
TTeAlphaPicker<Base>::TTeAlphaPicker(TComponent* owner) : TTePicker<Base>(owner, kpkAlpha) {
    if constexpr (std::is_base_of_v<TTeComboBox, Base>) this->SetDropDownCount(10);
}

template class TTePicker<TTeComboBox>;
template class TTePicker<TTeListBox>;
template class TTeAlphaPicker<TTeComboBox>;
template class TTeAlphaPicker<TTeListBox>;

}  // namespace tarvel
