// The style pickers: items in the order of their values, the values read
// and written through the selection, and the item pictures in the ink of
// the selection state.

#include "skin/extctrls/te_extctrls_pickers.h"
#include "tests/skin/core/SkinControlFixture.h"

namespace tarvel {
namespace {

using testing::SkinControlTest;

class StylePickerTest : public SkinControlTest {};

TEST_F(StylePickerTest, PenWidthsReadBackFromBothMembers) {
    auto* box = Make<TTePenWidthBox>(10, 10);
    auto* list = Make<TTePenWidthList>(10, 60);
    EXPECT_EQ(box->ComboStyle(), kcsDropDownList);
    EXPECT_EQ(list->ListStyle(), lbsOwnerDrawFixed);
    const struct {
        int index;
        const char* boxText;
        const char* listText;
        double width;
    } cases[] = {{0, "0.25", "0.25", 0.25},
                 {1, "0.50", "0.5", 0.5},
                 {3, "1.00", "1.0", 1.0},
                 {8, "2.50", "2.5", 2.5},
                 {11, "6.00", "6", 6.0}};
    for (const auto& c : cases) {
        box->SetItemIndex(c.index);
        list->SetItemIndex(c.index);
        EXPECT_EQ(box->Items()->Strings(c.index), c.boxText);
        EXPECT_EQ(list->Items()->Strings(c.index), c.listText);
        EXPECT_DOUBLE_EQ(box->GetPenWidth(), c.width) << c.boxText;
        EXPECT_DOUBLE_EQ(list->GetPenWidth(), c.width) << c.listText;
    }
    list->SetItemIndex(-1);
    EXPECT_EQ(list->GetPenWidth(), 0.0);
    EXPECT_EQ(PenWidthOf("wide"), 0.0);
}

TEST_F(StylePickerTest, AlphaStepsRoundHalfToEven) {
    auto* box = Make<TTeAlphaValueBox>(10, 10);
    EXPECT_EQ(box->DropDownCount(), 10);
    EXPECT_EQ(box->GetAlpha(), 255) << "the first item is selected at the start";
    const struct {
        int set;
        const char* item;
        int alpha;
    } cases[] = {{255, "No Transparency", 255},
                 {230, "10%", 230},
                 {128, "50%", 128},
                 {127, "50%", 128},
                 {76, "70%", 76},
                 {26, "90%", 26},
                 {300, "No Transparency", 255},
                 {-5, "90%", 26}};
    for (const auto& c : cases) {
        box->SetAlpha(c.set);
        ASSERT_GE(box->ItemIndex(), 0) << c.set;
        EXPECT_EQ(box->Items()->Strings(box->ItemIndex()), c.item) << c.set;
        EXPECT_EQ(box->GetAlpha(), c.alpha) << c.set;
    }
    auto* list = Make<TTeAlphaValueList>(10, 60);
    list->SetItemIndex(-1);
    EXPECT_EQ(list->GetAlpha(), 255) << "nothing selected reads as opaque";
}

TEST_F(StylePickerTest, ItemsFollowTheValuesTheyStandFor) {
    auto* pens = Make<TTePenStyleList>(10, 10);
    const struct {
        TPenStyle style;
        const char* item;
    } penCases[] = {{psSolid, "Solid"},
                    {psDashDot, "DashDot"},
                    {psDashDotDot, "DashDotDot"},
                    {psClear, "Clear"},
                    {psInsideFrame, "InsideFrame"}};
    for (const auto& c : penCases) {
        pens->SetPenStyle(c.style);
        EXPECT_EQ(pens->Items()->Strings(pens->ItemIndex()), c.item);
        EXPECT_EQ(pens->GetPenStyle(), c.style) << c.item;
    }
    auto* gradients = Make<TTeGradientBox>(10, 60);
    const struct {
        TTeGradient gradient;
        const char* item;
    } gradientCases[] = {
        {tegNone, "No Gradient"}, {tegDoubleVertical, "DoubleVertical"}, {tegRadial, "Radial"}};
    for (const auto& c : gradientCases) {
        gradients->SetGradient(c.gradient);
        EXPECT_EQ(gradients->GetText(), c.item);
        EXPECT_EQ(gradients->GetGradient(), c.gradient) << c.item;
    }
}

TEST(StylePickerDrawTest, PicturesInTheInkOfTheState) {
    constexpr TColor kBack = clLime;
    const uint32_t highlight = ColorToColorRef(clHighlightText), text = ColorToColorRef(clWindowText),
                   back = ColorToColorRef(kBack);
    const struct {
        const char* name;
        TTePickerKind kind;
        int index;
        TOwnerDrawState state;
        TPoint probe;
        uint32_t expected;
    } cases[] = {
        {"selected pen width bar", kpkPenWidth, 11, TOwnerDrawState{odSelected}, {184, 10}, highlight},
        {"focused pen width bar", kpkPenWidth, 11, TOwnerDrawState{odFocused}, {184, 10}, highlight},
        {"plain pen width bar", kpkPenWidth, 11, TOwnerDrawState{}, {184, 10}, text},
        {"thin bar misses the edge", kpkPenWidth, 0, TOwnerDrawState{}, {184, 13}, back},
        {"solid pen lines", kpkPenStyle, psSolid, TOwnerDrawState{}, {8, 11}, text},
        {"clear pen draws no line", kpkPenStyle, psClear, TOwnerDrawState{}, {8, 10}, back},
        {"gradient outline", kpkGradient, tegHorizontal, TOwnerDrawState{odSelected}, {10, 10}, highlight},
    };
    TStringList penWidths, penStyles, gradients;
    FillPickerItems(kpkPenWidth, false, &penWidths);
    FillPickerItems(kpkPenStyle, false, &penStyles);
    FillPickerItems(kpkGradient, false, &gradients);
    for (const auto& c : cases) {
        TStrings* items = c.kind == kpkPenWidth   ? &penWidths
                          : c.kind == kpkPenStyle ? &penStyles
                                                  : &gradients;
        TBitmap bitmap;
        bitmap.SetSize(200, 20);
        bitmap.Canvas()->Brush()->SetColor(kBack);
        bitmap.Canvas()->FillRect(TRect{0, 0, 200, 20});
        DrawPickerItem(c.kind, items, *bitmap.Canvas(), c.index, TRect{0, 0, 200, 20}, c.state);
        EXPECT_EQ(static_cast<uint32_t>(bitmap.Canvas()->Pixels(c.probe.x, c.probe.y)) & 0xFFFFFF, c.expected)
            << c.name;
    }
}

}  // namespace
}  // namespace tarvel
