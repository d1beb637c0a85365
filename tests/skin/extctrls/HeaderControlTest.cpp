// The header control: catch zones, clicks, drag reorder with its veto,
// resizing with and without full drag, automatic widths, the content
// layout and the parts it asks a theme for.

#include <gtest/gtest.h>

#include <vector>

#include "ExtBarsFixture.h"
#include "skin/extctrls/te_extctrls_header.h"

namespace tarvel {
namespace {

class HeaderControlTest : public testing::ExtBarsTest {
protected:
    TTeHeaderControl* MakeHeader(std::initializer_list<int> widths) {
        auto* h = Make<TTeHeaderControl>(10, 10);
        h->SetWidth(300);
        for (int w : widths) {
            TTeHeaderSection* s = h->Sections()->Add();
            s->SetWidth(w);
            s->SetText(u"S" + Utf8ToWide(std::to_string(h->Sections()->Count() - 1)));
        }
        h->OnSectionClick = [this](TTeHeaderControl*, TTeHeaderSection* s) {
            log_.push_back("click " + Name(s));
        };
        h->OnSectionEndDrag = [this](TObject*) { log_.push_back("end drag"); };
        h->OnSectionTrack = [this](TTeHeaderControl*, TTeHeaderSection*, int w, TSectionTrackState st) {
            log_.push_back("track " + std::to_string(st) + " " + std::to_string(w));
        };
        ui_.RunUntilIdle();
        return h;
    }
    static String Name(TTeHeaderSection* s) { return WideToUtf8(s->Text()); }
    static std::vector<String> Order(TTeHeaderControl* h) {
        std::vector<String> out;
        for (int i = 0; i < h->Sections()->Count(); ++i) out.push_back(Name(h->Sections()->GetItem(i)));
        return out;
    }
    std::vector<String> log_;
};

TEST_F(HeaderControlTest, ResizeZonesStraddleEachRightEdge) {
    auto* h = MakeHeader({30, 12, 40});
    struct Case {
        int x, index;
        bool resize;
    };
    // Edges at 30, 42 and 82; zones min(width / 3, 10) to the left of an edge
    // and the next section's to its right.
    const Case cases[] = {
        {0, 0, false},  {20, 0, false}, {21, 0, true},  {30, 0, true},   {33, 0, true},    {34, 1, false},
        {38, 1, false}, {39, 1, true},  {42, 1, true},  {51, 1, true},   {52, 2, false},   {72, 2, false},
        {73, 2, true},  {91, 2, true},  {92, -1, true}, {93, -1, false}, {299, -1, false},
    };
    for (const Case& c : cases) {
        int index = -2;
        bool resize = false;
        h->GetPtInSection(TPoint{c.x, 5}, index, resize);
        EXPECT_EQ(index, c.index) << c.x;
        EXPECT_EQ(resize, c.resize) << c.x;
    }
    int index = 0;
    bool resize = true;
    h->GetPtInSection(TPoint{10, 40}, index, resize);
    EXPECT_EQ(index, -1);
    EXPECT_FALSE(resize);

    auto* empty = MakeHeader({});
    empty->GetPtInSection(TPoint{10, 5}, index, resize);
    EXPECT_EQ(index, -1);
    EXPECT_FALSE(resize);
}

TEST_F(HeaderControlTest, DropPositionsFollowTheMiddleOfEachSection) {
    auto* h = MakeHeader({40, 40, 40});
    const std::pair<int, int> cases[] = {{-5, 0}, {0, 0},  {19, 0},  {20, 1},
                                         {59, 1}, {60, 2}, {110, 3}, {200, 3}};
    for (auto [x, expect] : cases) EXPECT_EQ(h->GetDropPosition(x), expect) << x;
}

TEST_F(HeaderControlTest, AClickOnASectionIsReportedOnceOnRelease) {
    auto* h = MakeHeader({50, 50});
    Down(h, {70, 5});
    EXPECT_EQ(h->GetPressedSection(), 1);
    Up(h, {70, 5});
    // Released elsewhere: no click.
    Down(h, {10, 5});
    MoveTo(h, {70, 5});
    Up(h, {70, 5});
    h->Sections()->GetItem(0)->SetAllowClick(false);
    Down(h, {10, 5});
    Up(h, {10, 5});
    EXPECT_EQ(log_, (std::vector<String>{"click S1"}));
}

TEST_F(HeaderControlTest, DraggingReordersUnlessRefused) {
    struct Case {
        int dropX;
        bool allow;
        std::vector<String> order, log;
    };
    const Case cases[] = {
        {145, true, {"S1", "S2", "S0"}, {"drag S0 S2", "end drag"}},
        {20, true, {"S0", "S1", "S2"}, {"drag S0 S0", "end drag"}},  // onto its own place
        {145, false, {"S0", "S1", "S2"}, {"drag S0 S2"}},
    };
    for (const Case& c : cases) {
        log_.clear();
        auto* h = MakeHeader({50, 50, 50});
        h->SetDragReorder(true);
        h->OnSectionDrag = [&](TObject*, TTeHeaderSection* from, TTeHeaderSection* to, bool& allow) {
            log_.push_back("drag " + Name(from) + " " + Name(to));
            allow = c.allow;
        };
        Down(h, {20, 5});
        MoveTo(h, {30, 5});
        EXPECT_EQ(h->DraggingSectionIndex(), 0);
        MoveTo(h, {c.dropX, 5});
        Up(h, {c.dropX, 5});
        EXPECT_EQ(Order(h), c.order) << c.dropX;
        EXPECT_EQ(log_, c.log) << c.dropX;
        EXPECT_EQ(h->DraggingSectionIndex(), -1);
        delete h;
    }
}

TEST_F(HeaderControlTest, ResizingStopsAtTheLimits) {
    auto* h = MakeHeader({50, 50});
    TTeHeaderSection* s = h->Sections()->GetItem(0);
    s->SetMinWidth(20);
    s->SetMaxWidth(80);
    Down(h, {49, 5});
    MoveTo(h, {5, 5});
    EXPECT_EQ(s->Width(), 20);
    MoveTo(h, {120, 5});
    EXPECT_EQ(s->Width(), 80);
    Up(h, {120, 5});
    // The tracked width follows the pointer past MaxWidth.
    EXPECT_EQ(log_, (std::vector<String>{"track 0 50", "track 1 20", "track 1 121", "track 2 121"}));
    EXPECT_EQ(h->ResizingSectionIndex(), -1);
}

TEST_F(HeaderControlTest, WithoutFullDragTheWidthIsAppliedOnRelease) {
    auto* h = MakeHeader({50, 50});
    h->SetFullDrag(false);
    TTeHeaderSection* s = h->Sections()->GetItem(0);
    Down(h, {50, 5});
    MoveTo(h, {70, 5});
    EXPECT_EQ(s->Width(), 50);
    Up(h, {70, 5});
    EXPECT_EQ(s->Width(), 70);
    EXPECT_EQ(log_.back(), "track 2 70");
}

TEST_F(HeaderControlTest, AnAutoSizedSectionIgnoresWidthsUntilFrozen) {
    auto* h = MakeHeader({50});
    TTeHeaderSection* s = h->Sections()->GetItem(0);
    s->SetText(u"A wider caption");
    s->SetAutoSize(true);
    const int automatic = s->Width();
    EXPECT_EQ(automatic, h->GetTextSize(s).cx + 2 * s->Margin());
    s->SetWidth(10);
    EXPECT_EQ(s->Width(), automatic);
    s->SetAutoSize(false);
    EXPECT_EQ(s->Width(), automatic);
}

TEST_F(HeaderControlTest, TheTextRectangleFollowsLayoutAndAlignment) {
    auto* h = MakeHeader({100});
    TTeHeaderSection* s = h->Sections()->GetItem(0);
    s->SetText(u"ab");
    const int tw = h->GetTextSize(s).cx;
    struct Case {
        TTeHeaderGliphLayout layout;
        TAlignment alignment;
        int left, right;
    };
    const Case cases[] = {
        {hglGlyphRight, taLeftJustify, 7, 93},
        {hglGlyphLeft, taLeftJustify, 7, 93},
        {hglGlyphLeft, taCenter, (100 - tw) / 2, (100 - tw) / 2 + tw},
        {hglGlyphRight, taCenter, (100 - tw) / 2, (100 - tw) / 2 + tw},
    };
    for (const Case& c : cases) {
        s->SetLayout(c.layout);
        s->SetAlignment(c.alignment);
        const TRect r = h->GetTextRect(s);
        EXPECT_EQ(r.left, c.left);
        EXPECT_EQ(r.right, c.right);
    }
}

TEST_F(HeaderControlTest, InsertAndAddItemPlaceSectionsAtTheIndex) {
    auto* h = MakeHeader({40, 40});
    h->Sections()->Insert(1)->SetText(u"new");
    EXPECT_EQ(Order(h), (std::vector<String>{"S0", "new", "S1"}));
    h->Sections()->Insert(7)->SetText(u"end");
    EXPECT_EQ(Order(h), (std::vector<String>{"S0", "new", "S1", "end"}));
    TTeHeaderSection* last = h->Sections()->GetItem(3);
    h->Sections()->AddItem(last, 0);
    EXPECT_EQ(Order(h), (std::vector<String>{"end", "S0", "new", "S1"}));
    h->Sections()->AddItem(nullptr, -1)->SetText(u"tail");
    EXPECT_EQ(Order(h).back(), "tail");
}

TEST_F(HeaderControlTest, AThemeDrawsEachSectionInItsPositionAndState) {
    auto* theme = UseRecordingTheme();
    auto* h = MakeHeader({50, 50, 50});
    h->Sections()->GetItem(1)->SetStyle(hsOwnerDraw);
    std::vector<String> drawn;
    h->OnDrawSection = [&](TTeHeaderControl*, TTeHeaderSection* s, const TRect&, TteSectionDrawState) {
        drawn.push_back(Name(s));
    };
    MoveTo(h, {120, 5});
    drawn.clear();
    RepaintRecorded(theme, h);
    std::vector<std::pair<int, int>> sections;
    for (const testing::TPartCall& c : theme->Calls)
        if (c.op == "HeaderDrawSection") sections.push_back({c.kind, c.state});
    // Three sections, then the tail; the owner-drawn one still has its frame.
    EXPECT_EQ(sections, (std::vector<std::pair<int, int>>{{khssFirst, khdsNormal},
                                                          {khssMiddle, khdsNormal},
                                                          {khssLast, khdsHot},
                                                          {khssMiddle, khdsNormal}}));
    EXPECT_EQ(drawn, (std::vector<String>{"S1"}));
    EXPECT_EQ(theme->Ops().front(), "HeaderDraw");
}

}  // namespace
}  // namespace tarvel
