// The list view and its header: sorting, columns resized and reordered
// through the header, scrolling, selection by mouse and keys, owner data,
// label editing.

#include "platform/classlib/ComCtrls_ListView.h"

#include <climits>

#include "platform/classlib/ComCtrlMessages.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class ListViewTest : public ControlFixture {
protected:
    TListView* Report(std::initializer_list<std::pair<const char*, const char*>> rows) {
        auto* lv = Add<TListView>("List", Bounds(10, 10, 300, 200));
        lv->SetViewStyle(vsReport);
        for (const char* caption : {"Module", "Voltage"}) {
            TListColumn* c = lv->Columns()->Add();
            c->SetCaption(caption);
            c->SetWidth(100);
        }
        for (auto [caption, sub] : rows) {
            TListItem* item = lv->Items()->Add();
            item->SetCaption(caption);
            item->SubItems()->Add(sub);
        }
        return lv;
    }
    // Pixels of dark text in a band of the item row `row`, x in [from, to).
    int DarkPixels(TListView* lv, int row, int from, int to) {
        const TRect r = lv->Items()->Item(row)->DisplayRect();
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = from; x < to; ++x)
                if ((PixelAt(lv, TPoint{x, y}) & 0x808080) == 0) ++n;
        return n;
    }
    // WM_NOTIFY codes the header sends its list view, which may answer.
    void WatchHeader(TListView* lv, std::vector<int>& codes, const std::function<LRESULT(int)>& answer) {
        auto inherited = lv->WindowProc;
        lv->WindowProc = [lv, &codes, answer, inherited](TMessage& m) {
            if (m.Msg == WM_NOTIFY &&
                reinterpret_cast<const NMHDR*>(m.LParam)->hwndFrom == lv->Header()->Handle()) {
                codes.push_back(reinterpret_cast<const NMHDR*>(m.LParam)->code);
                m.Result = answer(codes.back());
                return;
            }
            inherited(m);
        };
    }
    static int RowHeight(TListView* lv) { return lv->Items()->Item(0)->DisplayRect().Height(); }
    static SCROLLINFO Bar(TListView* lv, int bar) {
        SCROLLINFO info;
        EXPECT_TRUE(GetScrollInfo(lv->Handle(), bar, info));
        return info;
    }
    static std::vector<String> Captions(TListView* lv) {
        std::vector<String> out;
        for (int i = 0; i < lv->Items()->Count(); ++i) out.push_back(lv->Items()->Item(i)->Caption());
        return out;
    }
};

TEST_F(ListViewTest, SortsByCaptionByOnCompareAndKeepsSortedWhenAsked) {
    auto* lv = Report({{"m10", "3.31"}, {"M2", "3.29"}, {"m1", "3.35"}});
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::vector<String> expected;
    } cases[] = {
        {"caption without case", [&] { lv->AlphaSort(); }, {"m1", "m10", "M2"}},
        {"OnCompare by voltage",
         [&] {
             lv->OnCompare = [](TObject*, TListItem* a, TListItem* b, int, int& c) {
                 c = CompareText(b->SubItems()->Strings(0), a->SubItems()->Strings(0));
             };
             lv->AlphaSort();
         },
         {"m1", "m10", "M2"}},
        {"kept sorted",
         [&] {
             lv->OnCompare = nullptr;
             lv->SetSortType(stText);
             lv->Items()->Add()->SetCaption("a0");
             lv->Items()->Item(3)->SetCaption("z9");  // m1 a0 m10 M2 -> the last becomes z9
         },
         {"a0", "m1", "m10", "z9"}},
    };
    for (const Case& c : cases) {
        c.arrange();
        EXPECT_EQ(Captions(lv), c.expected) << c.name;
    }
}

TEST_F(ListViewTest, HeaderDividerDragResizesTheColumnAndReportsTheEnd) {
    auto* lv = Report({{"m1", "3.35"}});
    std::vector<String> events;
    lv->Header()->OnSectionResize = [&](THeaderControl*, THeaderSection* s) {
        events.push_back("resize " + s->Text());
    };
    lv->OnColumnClick = [&](TObject*, TListColumn* c) { events.push_back("click " + c->Caption()); };
    ShowForm();
    THeaderControl* header = lv->Header();
    ASSERT_TRUE(header->Showing());
    const THeaderHit onDivider = header->HitTest(TPoint{100, 5});
    EXPECT_EQ(onDivider.section, 0);
    EXPECT_TRUE(onDivider.onDivider);
    EXPECT_FALSE(header->HitTest(TPoint{50, 5}).onDivider);
    ui.Drag(header, TPoint{100, 5}, TPoint{140, 5});
    EXPECT_EQ(lv->Columns()->Items(0)->Width(), 140);
    ui.ClickAt(header, TPoint{200, 5});
    EXPECT_EQ(events, (std::vector<String>{"resize Module", "click Voltage"}));
    header->SetSectionOrder({1, 0});
    EXPECT_EQ(header->SectionRect(1).left, 0);
    header->SetSectionOrder({1, 1});  // not a permutation: ignored
    EXPECT_EQ(header->SectionOrder(), (std::vector<int>{1, 0}));
}

TEST_F(ListViewTest, DraggedHeaderSectionReordersTheColumnsButNotTheirData) {
    auto* lv = Report({{"MMMM", ""}, {"MMMM", ""}});
    std::vector<int> codes;
    int refuse = 0, dragged = 0;
    WatchHeader(lv, codes, [&](int code) -> LRESULT { return code == refuse ? 1 : 0; });
    lv->OnColumnDragged = [&](TObject*) { ++dragged; };
    THeaderControl* header = lv->Header();
    ShowForm();
    struct Case {
        const char* name;
        bool fullDrag;
        int refuse;
        int from, to;
        std::vector<int> order, codes;
        int dragged;
    } cases[] = {
        {"dragged right of the next", true, 0, 50, 180, {1, 0}, {HDN_BEGINDRAG, HDN_ENDDRAG}, 1},
        {"dropped on its own place", true, 0, 50, 70, {0, 1}, {HDN_BEGINDRAG, HDN_ENDDRAG}, 1},
        {"the parent keeps the order", true, HDN_ENDDRAG, 50, 180, {0, 1}, {HDN_BEGINDRAG, HDN_ENDDRAG}, 0},
        {"the parent refuses the drag", true, HDN_BEGINDRAG, 50, 180, {0, 1}, {HDN_BEGINDRAG}, 0},
        {"a short move is a click", true, 0, 50, 54, {0, 1}, {HDN_ITEMCLICK}, 0},
        {"without full drag", false, 0, 50, 180, {0, 1}, {}, 0},
    };
    for (const Case& c : cases) {
        header->SetSectionOrder({0, 1});
        lv->SetFullDrag(c.fullDrag);
        refuse = c.refuse;
        codes.clear();
        dragged = 0;
        ui.Drag(header, TPoint{c.from, 5}, TPoint{c.to, 5});
        EXPECT_EQ(header->SectionOrder(), c.order) << c.name;
        EXPECT_EQ(codes, c.codes) << c.name;
        EXPECT_EQ(dragged, c.dragged) << c.name;
    }
    // Column 0 (the caption) now paints second; the columns keep their index.
    header->SetSectionOrder({0, 1});
    lv->SetFullDrag(true);
    ui.Drag(header, TPoint{20, 5}, TPoint{190, 5});
    ASSERT_EQ(header->SectionOrder(), (std::vector<int>{1, 0}));
    Snap();
    EXPECT_EQ(DarkPixels(lv, 0, 0, 100), 0);
    EXPECT_GT(DarkPixels(lv, 0, 100, 200), 0);
    EXPECT_EQ(lv->Columns()->Items(0)->Caption(), "Module");
    EXPECT_EQ(lv->Columns()->Items(0)->Index(), 0);
    EXPECT_EQ(header->SectionRect(0).left, 100);
    // The caption's cell is where the editor opens and the driver clicks.
    ui.PickItem(lv, "MMMM");
    EXPECT_EQ(lv->ItemIndex(), 0);
    EXPECT_GE(lv->UiItemRect(0).left, 100);
}

TEST_F(ListViewTest, AColumnDeletedUnderTheMouseLeavesTheHeaderIdle) {
    auto* lv = Report({{"m1", "3.35"}});
    lv->SetFullDrag(true);
    THeaderControl* header = lv->Header();
    int resized = 0, dragged = 0;
    header->OnSectionResize = [&](THeaderControl*, THeaderSection*) { ++resized; };
    lv->OnColumnDragged = [&](TObject*) { ++dragged; };
    std::vector<String> errors;
    Application->OnException = [&](TObject*, const Exception& e) { errors.push_back(e.Message()); };
    ShowForm();
    struct Case {
        const char* name;
        int pressX;  // on the second section's divider, or inside it
    } cases[] = {{"while its divider is dragged", 200}, {"while it is dragged", 150}};
    for (const Case& c : cases) {
        while (lv->Columns()->Count() < 2) lv->Columns()->Add()->SetWidth(100);
        const TPoint press = header->ClientToScreen(TPoint{c.pressX, 5});
        ui.Backend().MouseMove(press);
        ui.Backend().MouseDown(press);
        ui.Backend().MouseMove(TPoint{press.x - 40, press.y});
        ui.RunUntilIdle();
        lv->Columns()->Delete(1);
        ui.Backend().MouseMove(TPoint{press.x - 60, press.y});
        ui.Backend().MouseUp(TPoint{press.x - 60, press.y});
        ui.RunUntilIdle();
        EXPECT_EQ(header->SectionOrder(), std::vector<int>{0}) << c.name;
        EXPECT_EQ(lv->Columns()->Items(0)->Width(), 100) << c.name;
    }
    Application->OnException = nullptr;
    EXPECT_EQ(errors, std::vector<String>{});
    EXPECT_EQ(resized, 0);
    EXPECT_EQ(dragged, 0);
}

TEST_F(ListViewTest, ReportScrollsSidewaysWithTheHeaderWhenColumnsAreWider) {
    auto* lv = Report({{"a", "1"}});
    lv->Columns()->Add()->SetWidth(250);  // 100 + 100 + 250 in a 300 px view
    ShowForm();
    const int page = lv->ClientWidth();
    SCROLLINFO h = Bar(lv, SB_HORZ);
    EXPECT_TRUE(GetWindowLongPtr(lv->Handle(), GWL_STYLE) & WS_HSCROLL);
    EXPECT_FALSE(GetWindowLongPtr(lv->Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(h.nMax, 449);
    EXPECT_EQ(static_cast<int>(h.nPage), page);
    struct Case {
        const char* name;
        std::function<void()> act;
        int pos;
    } cases[] = {
        {"line right", [&] { lv->Perform(WM_HSCROLL, SB_LINERIGHT, 0); }, -1},  // some pixels
        {"a click selects without scrolling", [&] { ui.PickItem(lv, "a"); }, -1},
        {"page right stops at the end", [&] { lv->Perform(WM_HSCROLL, SB_PAGERIGHT, 0); }, 450 - page},
        {"far left", [&] { lv->Perform(WM_HSCROLL, SB_LEFT, 0); }, 0},
        {"thumb", [&] { lv->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 70), 0); }, 70},
        {"far right", [&] { lv->Perform(WM_HSCROLL, SB_RIGHT, 0); }, 450 - page},
        {"Scroll back", [&] { lv->Scroll(-30, 0); }, 420 - page},
        {"Scroll past the start", [&] { lv->Scroll(-1000, 0); }, 0},
        {"Right arrow", [&] { ui.PressKey(VK_RIGHT); }, -1},
        {"Left arrow", [&] { ui.PressKey(VK_LEFT); }, 0},
        {"Scroll as far as an int goes", [&] { lv->Scroll(INT_MAX, INT_MIN); }, 450 - page},
    };
    for (const Case& c : cases) {
        c.act();
        const int pos = Bar(lv, SB_HORZ).nPos;
        if (c.pos >= 0) {
            EXPECT_EQ(pos, c.pos) << c.name;
        } else {
            EXPECT_GT(pos, 0) << c.name;
        }
        EXPECT_EQ(lv->Header()->SectionRect(0).left, -pos) << c.name;
        EXPECT_EQ(lv->Items()->Item(0)->DisplayRect().left, -pos) << c.name;
    }
    EXPECT_EQ(lv->Selected(), lv->Items()->Item(0));  // the arrows only scrolled
    // Hit testing follows: the row still answers at its scrolled place.
    lv->Perform(WM_HSCROLL, SB_RIGHT, 0);
    EXPECT_EQ(lv->GetItemAt(5, lv->Items()->Item(0)->DisplayRect().top + 2), lv->Items()->Item(0));
    // Narrower columns take the bar away and the scroll back.
    lv->Columns()->Delete(2);
    EXPECT_FALSE(GetWindowLongPtr(lv->Handle(), GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(lv->Header()->SectionRect(0).left, 0);
}

TEST_F(ListViewTest, ReportScrollsVerticallyByRows) {
    auto* lv = Report({});
    for (int i = 0; i < 40; ++i) lv->Items()->Add()->SetCaption("m" + IntToStr(i));
    ShowForm();
    SCROLLINFO v = Bar(lv, SB_VERT);
    const int page = static_cast<int>(v.nPage);
    EXPECT_EQ(v.nMax, 39);
    EXPECT_GT(page, 3);
    struct Case {
        const char* name;
        std::function<void()> act;
        int top;
    } cases[] = {
        {"line down", [&] { lv->Perform(WM_VSCROLL, SB_LINEDOWN, 0); }, 1},
        {"page down", [&] { lv->Perform(WM_VSCROLL, SB_PAGEDOWN, 0); }, 1 + page},
        {"line up", [&] { lv->Perform(WM_VSCROLL, SB_LINEUP, 0); }, page},
        {"thumb track", [&] { lv->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5), 0); }, 5},
        {"bottom", [&] { lv->Perform(WM_VSCROLL, SB_BOTTOM, 0); }, 40 - page},
        {"top", [&] { lv->Perform(WM_VSCROLL, SB_TOP, 0); }, 0},
        {"Scroll by two rows of pixels", [&] { lv->Scroll(0, 2 * RowHeight(lv)); }, 2},
        {"Scroll by half a row takes a row", [&] { lv->Scroll(0, (RowHeight(lv) + 1) / 2); }, 3},
        {"Scroll by less does nothing", [&] { lv->Scroll(0, -(RowHeight(lv) - 1) / 2); }, 3},
        {"Scroll back a row and a half", [&] { lv->Scroll(0, -(RowHeight(lv) * 3 + 1) / 2); }, 1},
        {"the wheel, three rows a notch", [&] { ui.Wheel(lv, -WHEEL_DELTA); }, 4},
        {"a key brings the last item in",
         [&] {
             ui.PickItem(lv, "m5");
             ui.PressKey(VK_END);
         },
         40 - page},
    };
    for (const Case& c : cases) {
        c.act();
        EXPECT_EQ(Bar(lv, SB_VERT).nPos, c.top) << c.name;
        EXPECT_EQ(lv->TopItem(), lv->Items()->Item(c.top)) << c.name;
    }
}

TEST_F(ListViewTest, OnScrollFollowsWheelAndBarScrollsOnly) {
    auto* lv = Report({});
    lv->Columns()->Items(1)->SetWidth(400);
    for (int i = 0; i < 40; ++i) lv->Items()->Add()->SetCaption("m" + IntToStr(i));
    int scrolls = 0;
    lv->OnScroll = [&](TObject* sender) {
        EXPECT_EQ(sender, lv);
        ++scrolls;
    };
    ShowForm();
    TWindowScrollBars* bars = WindowScrollBarsOf(lv->Handle());
    ASSERT_TRUE(bars);
    auto clickBar = [&](int bar) {
        const TRect window = WindowRect(lv->Handle());
        const TRect r = bars->Parts(bar).lineDown;
        const TPoint p{window.left + (r.left + r.right) / 2, window.top + (r.top + r.bottom) / 2};
        ui.Backend().MouseMove(p);
        ui.Backend().Click(p);
        ui.RunUntilIdle();
    };
    struct Case {
        const char* name;
        std::function<void()> act;
        int fired;
    } cases[] = {
        {"wheel", [&] { ui.Wheel(lv, -WHEEL_DELTA); }, 1},
        {"vertical bar click", [&] { clickBar(SB_VERT); }, 1},
        {"horizontal bar click", [&] { clickBar(SB_HORZ); }, 1},
        {"scroll request", [&] { lv->Perform(WM_VSCROLL, SB_PAGEDOWN, 0); }, 1},
        {"end of a scroll", [&] { lv->Perform(WM_VSCROLL, SB_ENDSCROLL, 0); }, 0},
        {"Scroll from code", [&] { lv->Scroll(10, 40); }, 0},
        {"keys",
         [&] {
             ui.PickItem(lv, "m20");
             ui.PressKey(VK_HOME);
         },
         0},
    };
    for (const Case& c : cases) {
        const SCROLLINFO v = Bar(lv, SB_VERT), h = Bar(lv, SB_HORZ);
        scrolls = 0;
        c.act();
        EXPECT_EQ(scrolls, c.fired) << c.name;
        if (c.fired) {
            EXPECT_TRUE(Bar(lv, SB_VERT).nPos != v.nPos || Bar(lv, SB_HORZ).nPos != h.nPos) << c.name;
        }
    }
}

TEST_F(ListViewTest, MouseAndKeysSelectSingleAndMany) {
    auto* lv = Report({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
    std::vector<String> selected;
    lv->OnSelectItem = [&](TObject*, TListItem* item, bool on) {
        if (on) selected.push_back(item->Caption());
    };
    ShowForm();
    ui.PickItem(lv, "b");
    ui.PressKey(VK_DOWN);
    EXPECT_EQ(lv->Selected()->Caption(), "c");
    EXPECT_EQ(lv->SelCount(), 1);
    lv->SetMultiSelect(true);
    ui.PressKey(VK_UP, {ssShift});
    ui.PressKey(VK_UP, {ssShift});
    EXPECT_EQ(lv->SelCount(), 3);
    ui.ClickAt(lv, TPoint{20, lv->Items()->Item(3)->DisplayRect().top + 3});
    EXPECT_EQ(lv->SelCount(), 1);
    EXPECT_EQ(selected.front(), "b");
    EXPECT_EQ(selected.back(), "d");
}

TEST_F(ListViewTest, OwnerDataFetchesItemsAndFindsByPartialCaptionWithWrap) {
    auto* lv = Add<TListView>("Virtual", Bounds(10, 10, 300, 200));
    lv->SetViewStyle(vsList);
    lv->SetOwnerData(true);
    const std::vector<String> names{"alpha", "beta", "gamma", "alpine"};
    lv->OnData = [&](TObject*, TListItem* item) {
        item->SetCaption(names.at(static_cast<size_t>(item->Index())));
    };
    lv->Items()->SetCount(4);
    EXPECT_EQ(lv->Items()->Item(2)->Caption(), "gamma");
    struct Case {
        int start;
        const char* value;
        bool partial, inclusive, wrap;
        int found;
    } cases[] = {
        {0, "AL", true, true, false, 0},   {1, "al", true, false, true, 3},
        {3, "al", true, false, true, 0},   {3, "al", true, false, false, -1},
        {0, "alp", false, true, true, -1}, {0, "beta", false, true, true, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lv->FindCaption(c.start, c.value, c.partial, c.inclusive, c.wrap), c.found)
            << c.start << " " << c.value;
    ShowForm();
    ui.PickItem(lv, "gamma");
    EXPECT_EQ(lv->ItemIndex(), 2);
}

TEST_F(ListViewTest, FillingOwnerDataRowsForPaintingDoesNotAskForAnotherPaint) {
    auto* lv = Add<TListView>("Virtual", Bounds(10, 10, 300, 200));
    lv->SetViewStyle(vsReport);
    lv->Columns()->Add()->SetCaption("Name");
    lv->Columns()->Add()->SetCaption("Size");
    lv->SetOwnerData(true);
    int fetches = 0;
    lv->OnData = [&](TObject*, TListItem* item) {
        ++fetches;
        item->SetCaption("row");
        item->SetImageIndex(item->Index());
        item->SubItems()->Clear();
        item->SubItems()->Add("10");
    };
    lv->Items()->SetCount(3);
    ShowForm();
    ASSERT_GT(fetches, 0);
    fetches = 0;
    ui.RunUntilIdle();
    EXPECT_EQ(fetches, 0);
}

TEST_F(ListViewTest, LabelEditingRenamesThroughOnEdited) {
    auto* lv = Report({{"m1", "3.35"}});
    lv->OnEdited = [](TObject*, TListItem*, String& s) { s = "Module " + s; };
    ShowForm();
    ui.PickItem(lv, "m1");
    ui.PressKey(VK_F1 + 1);
    ASSERT_TRUE(lv->IsEditing());
    ui.Type("7");
    ui.PressKey(VK_RETURN);
    EXPECT_EQ(lv->Items()->Item(0)->Caption(), "Module 7");
    EXPECT_EQ(ui.FocusedControl(), lv);
}

TEST_F(ListViewTest, IconViewLaysItemsOutInRows) {
    auto* lv = Add<TListView>("Icons", Bounds(10, 10, 240, 200));
    for (const char* c : {"one", "two", "three", "four"}) lv->Items()->Add()->SetCaption(c);
    ShowForm();
    const TRect first = lv->Items()->Item(0)->DisplayRect();
    const TRect fourth = lv->Items()->Item(3)->DisplayRect();
    EXPECT_EQ(first.Width(), 75);
    EXPECT_GT(fourth.top, first.top);  // 240 px hold three cells a row
    ui.PickItem(lv, "four");
    EXPECT_EQ(lv->ItemIndex(), 3);
}

}  // namespace
}  // namespace tarvel
