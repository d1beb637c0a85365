// The style pickers: items in the order of their values, the values read
// and written through the selection, and the item pictures in the ink of
// the selection state: dashes for the pen styles, hatches for the brushes.

#include <string>
#include <vector>

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
    auto* brushes = Make<TTeBrushStyleBox>(10, 110);
    EXPECT_EQ(brushes->ComboStyle(), kcsDropDownList);
    EXPECT_EQ(brushes->Items()->Count(), 8);
    const struct {
        TBrushStyle style;
        const char* item;
    } brushCases[] = {{bsSolid, "Solid"},       {bsClear, "Clear"},         {bsHorizontal, "Horizontal"},
                      {bsVertical, "Vertical"}, {bsFDiagonal, "FDiagonal"}, {bsBDiagonal, "BDiagonal"},
                      {bsCross, "Cross"},       {bsDiagCross, "DiagCross"}};
    auto* brushList = Make<TTeBrushStyleList>(120, 110);
    for (const auto& c : brushCases) {
        brushes->SetBrushStyle(c.style);
        brushList->SetBrushStyle(c.style);
        EXPECT_EQ(brushes->GetText(), c.item);
        EXPECT_EQ(brushes->GetBrushStyle(), c.style) << c.item;
        EXPECT_EQ(brushList->Items()->Strings(brushList->ItemIndex()), c.item);
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

// An item of `kind` drawn into a 200 x 20 bitmap over `back`; the canvas
// keeps a solid brush of that colour, as the list's own painting leaves it.
class ItemPicture {
public:
    ItemPicture(TTePickerKind kind, int index, TOwnerDrawState state, TColor back) {
        TStringList items;
        FillPickerItems(kind, false, &items);
        bitmap_.SetSize(200, 20);
        bitmap_.Canvas()->Brush()->SetColor(back);
        bitmap_.Canvas()->FillRect(TRect{0, 0, 200, 20});
        DrawPickerItem(kind, &items, *bitmap_.Canvas(), index, TRect{0, 0, 200, 20}, state);
    }
    uint32_t At(int x, int y) { return static_cast<uint32_t>(bitmap_.Canvas()->Pixels(x, y)) & 0xFFFFFF; }
    // Row y from x over n pixels: '#' in `ink`, '.' in anything else.
    std::string Row(int y, int x, int n, uint32_t ink) {
        std::string row;
        for (int i = 0; i < n; ++i) row += At(x + i, y) == ink ? '#' : '.';
        return row;
    }
    TBitmap& Bitmap() { return bitmap_; }

private:
    TBitmap bitmap_;
};

TEST(StylePickerDrawTest, EachPenStyleItemDrawsItsOwnDashes) {
    const uint32_t text = ColorToColorRef(clWindowText);
    // The three lines start at x 6 on rows 9 to 11 of the 20-pixel item.
    const struct {
        TPenStyle style;
        const char* row;
    } cases[] = {{psSolid, "########################"},      {psDash, "##################......"},
                 {psDot, "###...###...###...###..."},        {psDashDot, "#########......###......"},
                 {psDashDotDot, "#########...###...###..."}, {psInsideFrame, "########################"}};
    for (const auto& c : cases) {
        ItemPicture item(kpkPenStyle, c.style, {}, clLime);
        for (int y = 9; y <= 11; ++y) EXPECT_EQ(item.Row(y, 6, 24, text), c.row) << c.style << " row " << y;
        EXPECT_EQ(item.Row(8, 6, 24, text), "........................") << c.style;
    }
    // The clear pen shows the word instead of lines.
    ItemPicture clear(kpkPenStyle, psClear, {}, clLime);
    EXPECT_EQ(clear.Row(10, 6, 24, text), "........................");
    int inked = 0;
    for (int x = 80; x < 120; ++x)
        for (int y = 4; y < 16; ++y) inked += clear.At(x, y) != ColorToColorRef(clLime);
    EXPECT_GT(inked, 10) << "\"none\" in the middle";
}

TEST(StylePickerDrawTest, EachBrushStyleItemHatchesItsBox) {
    const uint32_t highlight = ColorToColorRef(clHighlightText), text = ColorToColorRef(clWindowText);
    // The box is (6, 2, 194, 18); the hatch cells start at the bitmap's (0, 0).
    const struct {
        TBrushStyle style;
        std::vector<TPoint> ink, back;
    } cases[] = {
        {bsSolid, {{50, 10}, {51, 10}}, {}},
        {bsClear, {{6, 10}, {193, 10}}, {{50, 10}, {50, 11}}},
        {bsHorizontal, {{50, 11}, {6, 10}}, {{50, 10}, {52, 10}}},
        {bsVertical, {{52, 10}, {6, 10}}, {{51, 10}, {50, 11}}},
        {bsFDiagonal, {{50, 10}}, {{51, 10}, {53, 10}}},
        {bsBDiagonal, {{53, 10}}, {{50, 10}, {52, 10}}},
        {bsCross, {{52, 10}, {50, 11}}, {{51, 10}}},
        {bsDiagCross, {{50, 10}, {53, 10}}, {{51, 10}}},
    };
    for (bool selected : {false, true}) {
        const uint32_t ink = selected ? highlight : text;
        for (const auto& c : cases) {
            ItemPicture item(kpkBrushStyle, c.style,
                             selected ? TOwnerDrawState{odSelected} : TOwnerDrawState{}, clLime);
            EXPECT_EQ(item.At(6, 2), ink) << c.style << " outline";
            for (TPoint p : c.ink)
                EXPECT_EQ(item.At(p.x, p.y), ink) << c.style << " at " << p.x << "," << p.y;
            for (TPoint p : c.back)
                EXPECT_EQ(item.At(p.x, p.y), ColorToColorRef(clLime))
                    << c.style << " at " << p.x << "," << p.y;
            EXPECT_EQ(item.At(5, 10), ColorToColorRef(clLime)) << "outside the box";
            EXPECT_EQ(item.Bitmap().Canvas()->Brush()->Style(), bsSolid) << "left solid for the next item";
        }
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
    for (const auto& c : cases) {
        ItemPicture item(c.kind, c.index, c.state, kBack);
        EXPECT_EQ(item.At(c.probe.x, c.probe.y), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace tarvel
