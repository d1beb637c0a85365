// Menu items measure themselves for their view and paint in the classic
// look from the system colours when the theme has no menu elements.

#include "skin/core/te_utils_draw.h"
#include "tests/skin/forms/MenuFixture.h"

namespace tarvel::testing {
namespace {

class MenuPaintTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        target_.SetSize(160, 40);
        view_ = std::make_unique<TTeItemView>(nullptr, false, voVertical);
        view_->Canvas = target_.Canvas();
        view_->RootItem = root_;
    }
    TSize Measure(TTeItem* item) {
        int w = 0, h = 0;
        item->CalcSize(target_.Canvas(), view_.get(), w, h);
        return TSize{w, h};
    }
    int TextWidthOf(const WideString& text) {
        target_.Canvas()->SetFont(MenuFont);
        return TextWidth(*target_.Canvas(), text, DT_NOPREFIX);
    }
    // Paints the item over the whole target at (0, 0, 160, height).
    void Paint(TTeItem* item, int height, bool selected) {
        FillRect(*target_.Canvas(), TRect{0, 0, 160, 40}, clBlack);
        item->DrawItem(target_.Canvas(), view_.get(), TRect{0, 0, 160, height}, selected, false);
    }
    TColor Px(int x, int y) { return target_.Canvas()->Pixels(x, y); }
    int CountOf(TColor color, const TRect& area) {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += Px(x, y) == ColorToRGB(color);
        return n;
    }

    TBitmap target_;
    std::unique_ptr<TTeItemView> view_;
};

TEST_F(MenuPaintTest, PopupEntriesMeasureTextPlusTheirColumns) {
    TTeItem* open = Add(root_, "&Open");
    TTeItem* exit = Add(root_, "E&xit");
    exit->ShortCut = 0xC058;
    TTeItem* line = Add(root_, "-");
    EXPECT_EQ(Measure(open), (TSize{TextWidthOf(u"&Open") + 64, MenuItemHeight}));
    target_.Canvas()->SetFont(MenuFont);
    const int shortCut = TextWidth(*target_.Canvas(), u"Ctrl+Alt+X");
    EXPECT_EQ(Measure(exit).cx, TextWidthOf(u"E&xit") + 64 + shortCut);
    EXPECT_EQ(Measure(line).cy, 15);

    TImageList big(nullptr);
    big.SetSize(32, 32);
    root_->SetImages(&big);
    EXPECT_EQ(open->GetGlyphSize(), 38);
    EXPECT_EQ(Measure(open), (TSize{TextWidthOf(u"&Open") + 38 + 42, 36}));
    // A menu bar entry: text + 12, and an MDI button is square.
    TTeItemView bar(nullptr, true, voHorizontal);
    int w = 0, h = 0;
    root_->SetImages(nullptr);
    open->CalcSize(target_.Canvas(), &bar, w, h);
    EXPECT_EQ(w, TextWidthOf(u"&Open") + 12);
    open->MDIKind = mikClose;
    open->CalcSize(target_.Canvas(), &bar, w, h);
    EXPECT_EQ(w, h);
}

TEST_F(MenuPaintTest, AVerticalViewStacksEntriesAsWideAsTheWidest) {
    AddAll(root_, {"Short", "A much longer entry", "-", "Mid"});
    root_->GetItem(3)->SetVisible(false);
    view_->OriginX = 3;
    view_->OriginY = 3;
    view_->CalcSize();
    const int widest = TextWidthOf(u"A much longer entry") + 64;
    EXPECT_EQ(view_->ContentWidth, widest);
    EXPECT_EQ(view_->ContentHeight, 2 * MenuItemHeight + 15);
    EXPECT_EQ(root_->GetItem(0)->ItemRect, (TRect{3, 3, 3 + widest, 3 + MenuItemHeight}));
    EXPECT_EQ(root_->GetItem(2)->ItemRect,
              (TRect{3, 3 + 2 * MenuItemHeight, 3 + widest, 3 + 2 * MenuItemHeight + 15}));
    EXPECT_TRUE(root_->GetItem(3)->ItemRect.IsEmpty());
}

TEST_F(MenuPaintTest, ClassicSeparatorIsAnEtchedLineSevenPixelsDown) {
    TTeItem* line = Add(root_, "-");
    Paint(line, 15, false);
    const struct {
        TPoint at;
        TColor color;
    } cases[] = {{{50, 7}, clBtnShadow}, {{50, 8}, clBtnHighlight}, {{50, 6}, clMenu},
                 {{50, 9}, clMenu},      {{1, 7}, clMenu},          {{158, 8}, clMenu}};
    for (const auto& c : cases) EXPECT_EQ(Px(c.at.x, c.at.y), ColorToRGB(c.color)) << c.at.x << "," << c.at.y;
}

TEST_F(MenuPaintTest, ClassicCheckMarkIsBlackAndWhiteOnAHalftoneSquare) {
    TTeItem* item = Add(root_, "Checked");
    item->SetChecked(true);
    const int h = MenuItemHeight;
    Paint(item, h, false);
    // The centre of the square at the left: (h / 2 - 2, h / 2 + 1).
    const int cx = h / 2 - 2, cy = h / 2 + 1;
    EXPECT_EQ(Px(cx, cy), ColorToRGB(clBlack));
    EXPECT_EQ(Px(cx + 4, cy - 4), ColorToRGB(clBlack));
    EXPECT_EQ(Px(cx, cy + 2), ColorToRGB(clWhite));
    EXPECT_EQ(Px(cx + 5, cy - 3), ColorToRGB(clWhite));
    // The square is a halftone of face and white with a sunken edge.
    EXPECT_NE(Px(2, 2), Px(3, 2));
    for (TPoint p : {TPoint{2, 2}, TPoint{3, 2}})
        EXPECT_TRUE(Px(p.x, p.y) == ColorToRGB(clBtnFace) || Px(p.x, p.y) == ColorToRGB(clWhite));
    EXPECT_EQ(Px(0, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Px(h - 1, 5), ColorToRGB(clBtnHighlight));
}

TEST_F(MenuPaintTest, DisabledTextIsEmbossedUnlessHot) {
    TTeItem* item = Add(root_, "IIII HHHH");
    item->SetEnabled(false);
    const TRect text{26, 0, 160, MenuItemHeight};
    Paint(item, MenuItemHeight, false);
    EXPECT_GT(CountOf(clBtnHighlight, text), 0);
    EXPECT_GT(CountOf(clBtnShadow, text), 0);
    EXPECT_EQ(CountOf(clMenuText, text), 0);
    Paint(item, MenuItemHeight, true);
    EXPECT_EQ(CountOf(clBtnHighlight, text), 0);
    EXPECT_GT(CountOf(clBtnShadow, text), 0);
    EXPECT_GT(CountOf(clHighlight, text), 0);
}

TEST_F(MenuPaintTest, HotEntryWithSubMenuDrawsItsArrowInTheHighlightText) {
    TTeItem* item = Add(root_, "More");
    Add(item, "Inner");
    const int h = MenuItemHeight;
    Paint(item, h, true);
    const TRect arrow{160 - 24, 0, 160, h};
    EXPECT_GT(CountOf(clHighlightText, arrow), 4);
    Paint(item, h, false);
    EXPECT_EQ(CountOf(clHighlightText, arrow), 0);
    EXPECT_GT(CountOf(clMenuText, arrow), 4);
}

TEST_F(MenuPaintTest, ScrollButtonsPointUpAndDown) {
    const TRect r{0, 0, 40, 10};
    for (TTeMenuScrollButton b : {ksbUp, ksbDown}) {
        FillRect(*target_.Canvas(), TRect{0, 0, 160, 40}, clBlack);
        root_->DrawScrollButton(target_.Canvas(), view_.get(), r, b, false);
        // The 7 x 4 triangle centred in 40 x 10: rows 3 to 6, tip in column 19.
        const int wideRow = b == ksbUp ? 6 : 3, tipRow = b == ksbUp ? 3 : 6;
        const TColor ink = MenuFont->Color();
        EXPECT_EQ(CountOf(ink, TRect{0, wideRow, 40, wideRow + 1}), 7) << int(b);
        const int tip = CountOf(ink, TRect{0, tipRow, 40, tipRow + 1});
        EXPECT_TRUE(tip >= 1 && tip <= 2) << int(b);
        EXPECT_EQ(Px(19, tipRow), ColorToRGB(ink)) << int(b);
    }
}

}  // namespace
}  // namespace tarvel::testing
