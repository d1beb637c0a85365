#include "skin/controls/te_controls_editbtn.h"

#include "platform/classlib/Filer.h"
#include "platform/classlib/Streams.h"
#include "tests/skin/controls/EditFixture.h"

namespace tarvel::testing {
namespace {

class EditButtonTest : public EditTest {};

// An edit button whose default glyph is a strip of `cells` cells.
class TStripEditButton : public TTeEditButton {
public:
    TStripEditButton(TComponent* owner, int width, int cells, bool freeIt)
        : TTeEditButton(owner), width_(width), freeIt_(freeIt) {
        defaultNumGlyphs_ = cells;
    }
    ~TStripEditButton() override { delete kept_; }

protected:
    TBitmap* GetDefaultBitmap(bool& freeIt) override {
        freeIt = freeIt_;
        if (width_ == 0) return nullptr;
        auto* b = new TBitmap(width_, 8);
        if (!freeIt_) {
            delete kept_;
            kept_ = b;
        }
        return b;
    }

private:
    int width_;
    bool freeIt_;
    TBitmap* kept_ = nullptr;
};

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

TEST_F(EditButtonTest, ButtonDataCarriesTheButtonsCaptionHintAndWidthThroughFormData) {
    struct Case {
        const char* caption;
        const char* hint;
        bool showHint;
        int width;
    };
    const Case cases[] = {
        {"...", "Pick a file", true, 25}, {"", "", false, 19}, {"\xC3\xA9", "h\xC3\xADnt", true, 40}};
    for (const Case& c : cases) {
        auto* from = Make<TTeEditButton>(10, 10, 121);
        from->Button()->SetCaption(c.caption);
        from->Button()->SetHint(c.hint);
        from->Button()->SetShowHint(c.showHint);
        from->SetButtonWidth(c.width);
        TMemoryStream stream;
        TWriter(stream).WriteRootComponent(from);
        auto* to = Make<TTeEditButton>(10, 50, 121);
        stream.SetPosition(0);
        TReader(stream).ReadRootComponent(to);
        EXPECT_EQ(to->Button()->Caption(), c.caption);
        EXPECT_EQ(to->Button()->Hint(), c.hint);
        EXPECT_EQ(to->Button()->ShowHint(), c.showHint);
        EXPECT_EQ(to->GetButtonWidth(), c.width);
        delete from;
        delete to;
    }
}

TEST_F(EditButtonTest, TheDefaultGlyphWidensTheButtonToOneCellAndSetsTheCellCount) {
    struct Case {
        int glyphWidth, cells;
        bool freeIt;
        int startWidth, width;
        bool stored;
    };
    const Case cases[] = {
        {40, 2, true, 19, 26, false}, {10, 1, false, 19, 19, false}, {60, 1, true, 30, 66, false},
        {10, 1, false, 30, 30, true}, {0, 1, false, 19, 19, false},  {0, 1, true, 25, 25, true},
    };
    for (const Case& c : cases) {
        auto* e = new TStripEditButton(Form(), c.glyphWidth, c.cells, c.freeIt);
        e->SetParent(Form());
        e->SetBounds(10, 10, 121, 21);
        e->SetButtonWidth(c.startWidth);
        e->SetGlyphKind(gkDefault);
        EXPECT_EQ(e->Glyph()->Width(), c.glyphWidth) << c.glyphWidth;
        EXPECT_EQ(e->InplaceButton()->NumGlyphs(), c.cells) << c.glyphWidth;
        EXPECT_EQ(e->GetButtonWidth(), c.width) << c.glyphWidth << " from " << c.startWidth;
        EXPECT_EQ(e->BtnWidthStored(), c.stored) << c.glyphWidth << " from " << c.startWidth;
        e->SetGlyphKind(gkCustom);
        EXPECT_EQ(e->Glyph()->Width(), c.glyphWidth) << "a custom glyph starts from the one shown";
        delete e;
    }
    auto* plain = Make<TTeEditButton>(10, 10, 121);
    plain->SetGlyphKind(gkDefault);
    EXPECT_TRUE(plain->Glyph()->Empty()) << "the base has no default glyph";
    EXPECT_EQ(plain->GetButtonWidth(), 19);
}

}  // namespace
}  // namespace tarvel::testing
