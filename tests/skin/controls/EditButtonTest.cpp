#include "skin/controls/te_controls_editbtn.h"

#include "tests/skin/controls/EditFixture.h"

namespace tarvel::testing {
namespace {

class EditButtonTest : public EditTest {};

TEST_F(EditButtonTest, TheTextGivesUpTheButtonsSideAndTheButtonSitsThere) {
    for (TTeButtonAlign align : {baRight, baLeft}) {
        auto* e = Make<TTeEditButton>(10, 10, 121);
        e->SetButtonAlign(align);
        const TRect text = e->GetEditRect();
        TControl* b = e->Button();
        EXPECT_EQ(b->Width(), 19);
        if (align == baRight) {
            EXPECT_GE(b->Left(), text.right);
            EXPECT_LE(b->Left() + b->Width(), e->Width());
        } else {
            EXPECT_LE(b->Left() + b->Width(), text.left);
            EXPECT_GE(b->Left(), 0);
        }
        EXPECT_EQ(text.Width(), e->TTeEdit::GetEditRect().Width() - 19);
        delete e;
    }
}

TEST_F(EditButtonTest, WidthRulesShowHideOrRefuse) {
    struct Case {
        int width;
        bool visible;
        int kept;
    };
    const Case cases[] = {{0, false, 0}, {1, false, 1}, {25, true, 25}, {500, true, 19}};
    for (const Case& c : cases) {
        auto* e = Make<TTeEditButton>(10, 10, 121);
        e->SetButtonWidth(c.width);
        EXPECT_EQ(e->Button()->Visible(), c.visible) << c.width;
        EXPECT_EQ(e->GetButtonWidth(), c.kept) << c.width;
        delete e;
    }
}

TEST_F(EditButtonTest, TheEllipsisGlyphPlacesThreeDots) {
    struct Case {
        int buttonWidth, glyphWidth;
        std::vector<int> dots;
    };
    const Case cases[] = {
        {19, 13, {0, 5, 10}}, {12, 6, {-1, 2, 5}}, {40, 34, {11, 16, 21}}, {3, 1, {-3, 0, 3}}};
    for (const Case& c : cases) {
        const auto g = MakeEllipsisGlyph(c.buttonWidth);
        ASSERT_EQ(g->Width(), c.glyphWidth);
        ASSERT_EQ(g->Height(), 4);
        std::vector<int> black;
        for (int x = 0; x < g->Width(); ++x)
            if ((static_cast<uint32_t>(g->Canvas()->Pixels(x, 1)) & 0xFFFFFF) == 0 &&
                (x == 0 || (static_cast<uint32_t>(g->Canvas()->Pixels(x - 1, 1)) & 0xFFFFFF) != 0))
                black.push_back(x);
        std::vector<int> expected;
        for (int d : c.dots)
            if (d + 1 >= 0 && d < c.glyphWidth) expected.push_back(std::max(d, 0));
        EXPECT_EQ(black, expected) << c.buttonWidth;
        EXPECT_EQ(static_cast<uint32_t>(g->Canvas()->Pixels(0, 0)) & 0xFFFFFF, 0xFFFFFFu);
    }
}

TEST_F(EditButtonTest, TheButtonFollowsTheEditAndReportsItsClicks) {
    auto* e = Make<TTeEditButton>(10, 10, 121);
    e->SetGlyphKind(gkEllipsis);
    EXPECT_EQ(e->Glyph()->Width(), 13);
    TObject* sender = nullptr;
    e->OnButtonClick = [&](TObject* s) { sender = s; };
    Ui().Click(e->Button());
    EXPECT_EQ(sender, e);
    e->SetEnabled(false);
    EXPECT_FALSE(e->Button()->Enabled());
    e->SetEnabled(true);
    EXPECT_TRUE(e->Button()->Enabled());
}

}  // namespace
}  // namespace tarvel::testing
