// The list view and its header: sorting, columns resized through the
// header, selection by mouse and keys, owner data, label editing.

#include "platform/classlib/ComCtrls_ListView.h"

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
    lv->Header()->OnSectionResize = [&](THeaderControl*, THeaderSection* s) { events.push_back("resize " + s->Text()); };
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
    lv->OnData = [&](TObject*, TListItem* item) { item->SetCaption(names.at(static_cast<size_t>(item->Index()))); };
    lv->Items()->SetCount(4);
    EXPECT_EQ(lv->Items()->Item(2)->Caption(), "gamma");
    struct Case {
        int start;
        const char* value;
        bool partial, inclusive, wrap;
        int found;
    } cases[] = {
        {0, "AL", true, true, false, 0}, {1, "al", true, false, true, 3}, {3, "al", true, false, true, 0},
        {3, "al", true, false, false, -1}, {0, "alp", false, true, true, -1}, {0, "beta", false, true, true, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lv->FindCaption(c.start, c.value, c.partial, c.inclusive, c.wrap), c.found) << c.start << " " << c.value;
    ShowForm();
    ui.PickItem(lv, "gamma");
    EXPECT_EQ(lv->ItemIndex(), 2);
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
