// The header list box: one field model for reading, writing and drawing
// delimited lines as columns, edits that survive the option sets being
// re-applied, the column swap, and the option sets that drive the inner
// header and list.
#include <gtest/gtest.h>

#include <memory>

#include "skin/extras/te_extended_headerlist.h"
#include "tests/skin/PaperFixture.h"
#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel {
namespace {

class HeaderListBoxTest : public testing::SkinControlsTest {
protected:
    // A box with two sections 80 and 60 wide and the given lines.
    TTeHeaderListBox* Box(std::initializer_list<String> lines = {}) {
        auto* b = Make<TTeHeaderListBox>(10, 10);
        TTeHeaderSections* s = b->Header()->Sections();
        s->GetItem(0)->SetWidth(80);
        s->Add()->SetWidth(60);
        b->Header()->SetSections(s);
        for (const String& l : lines) b->ListBox()->Items()->Add(l);
        ui_.RunUntilIdle();
        return b;
    }
    static std::vector<String> Lines(TTeHeaderListBox* b) {
        std::vector<String> out;
        for (int i = 0; i < b->ListBoxControl()->Count(); ++i)
            out.push_back(b->ListBoxControl()->Items()->Get(i));
        return out;
    }
};

TEST(GetCodedStringTest, EmptyFieldsCountAndMissingFieldsAreEmpty) {
    struct Case {
        const char* text;
        int index;
        const char* want;
    };
    for (const Case& c :
         {Case{"a;b;c", 0, "a"}, Case{"a;b;c", 1, "b"}, Case{"a;b;c", 2, "c"}, Case{"a;b;c", 3, ""},
          Case{"abc", 0, "abc"}, Case{"abc", 1, ""}, Case{"a;;c", 1, ""}, Case{"a;;c", 2, "c"},
          Case{";x", 0, ""}, Case{"a;", 1, ""}, Case{"", 0, ""}, Case{"a;b", -1, ""}}) {
        SCOPED_TRACE(String(c.text) + " #" + std::to_string(c.index));
        EXPECT_EQ(GetCodedString(c.text, ';', c.index), c.want);
    }
}

TEST_F(HeaderListBoxTest, StartsWithOneSectionAndItsDefaults) {
    auto* b = Make<TTeHeaderListBox>(10, 10);
    EXPECT_EQ(b->HeaderControl()->Sections()->Count(), 1);
    EXPECT_EQ(b->Delimiter(), ';');
    EXPECT_EQ(b->GridLines(), glNone);
    EXPECT_EQ(b->GridVerticalColor(), clSilver);
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(b->Width(), 100);
    EXPECT_TRUE(b->TabStop());
    EXPECT_EQ(b->HeaderControl()->Align(), alTop);
    EXPECT_EQ(b->ListBoxControl()->Align(), alClient);
    EXPECT_EQ(b->AddLine({"a", "b", "c"}), 0);
    EXPECT_EQ(Lines(b), (std::vector<String>{"a;b;c"}));
}

TEST_F(HeaderListBoxTest, SetItemPartReplacesOneFieldAndKeepsTheOthers) {
    struct Case {
        const char* line;
        int column;
        const char* want;
    };
    for (const Case& c : {Case{"a;b;c", 1, "a;X;c"}, Case{"a;b;c", 5, "a;b;c"}, Case{"a;;c", 1, "a;X;c"},
                          Case{"a;;c", 2, "a;;X"}, Case{";b", 0, "X;b"}, Case{"a;b;", 2, "a;b;X"},
                          Case{"", 0, "X"}, Case{"a", -1, "a"}}) {
        SCOPED_TRACE(String(c.line) + " #" + std::to_string(c.column));
        TTeHeaderListBox* b = Box({"keep", c.line});
        b->SetItemPart(1, c.column, "X");
        EXPECT_EQ(Lines(b), (std::vector<String>{"keep", c.want}));
        // The edit reached the stored lines: re-applying the set keeps it.
        b->AddLine({"more"});
        EXPECT_EQ(Lines(b), (std::vector<String>{"keep", c.want, "more"}));
        EXPECT_EQ(b->ItemPart(1, c.column < 0 ? 0 : c.column),
                  GetCodedString(c.want, ';', c.column < 0 ? 0 : c.column));
        delete b;
    }
}

TEST_F(HeaderListBoxTest, EditsPastTheLinesOrWithTooFewStringsChangeNothing) {
    TTeHeaderListBox* b = Box({"a;b", "c;d"});
    b->SetItemPart(2, 0, "X");
    b->SetItemPart(-1, 0, "X");
    EXPECT_EQ(Lines(b), (std::vector<String>{"a;b", "c;d"}));

    TStringList one;
    one.Add("X");
    EXPECT_THROW(b->SetColumn(1, &one), EStringListError);
    EXPECT_EQ(Lines(b), (std::vector<String>{"a;b", "c;d"}));

    std::unique_ptr<TStringList> column(b->GetColumn(1));
    ASSERT_EQ(column->Count(), 2);
    EXPECT_EQ(column->Get(0), "b");
    EXPECT_EQ(column->Get(1), "d");
}

TEST_F(HeaderListBoxTest, DroppingASectionOnAnotherSwapsTheirColumns) {
    struct Case {
        int from, to;
        std::vector<String> want;
    };
    for (const Case& c : {Case{0, 1, {"b;a;c", "y;x;z"}}, Case{1, 1, {"a;b;c", "x;y;z"}}}) {
        SCOPED_TRACE(std::to_string(c.from) + "->" + std::to_string(c.to));
        TTeHeaderListBox* b = Box({"a;b;c", "x;y;z"});
        TTeHeaderControl* h = b->HeaderControl();
        bool allow = true;
        h->OnSectionDrag(h, h->Sections()->GetItem(c.from), h->Sections()->GetItem(c.to), allow);
        h->OnSectionEndDrag(h);
        EXPECT_EQ(Lines(b), c.want);
        delete b;
    }
}

TEST_F(HeaderListBoxTest, ColumnsLieUnderTheirSectionsInsideTheGrid) {
    struct Case {
        TTeHeaderListBoxGridLines grid;
        std::vector<TRect> text;
        std::vector<int> gridX;
    };
    // Sections 80 and 60 wide; the third field has no section.
    for (const Case& c : {Case{glNone, {{3, 0, 79, 16}, {83, 0, 139, 16}}, {}},
                          Case{glHorizontal, {{3, 0, 79, 16}, {83, 0, 139, 16}}, {}},
                          Case{glVertical, {{5, 0, 77, 16}, {85, 0, 137, 16}}, {79, 139}},
                          Case{glBoth, {{5, 0, 77, 16}, {85, 0, 137, 16}}, {79, 139}}}) {
        SCOPED_TRACE(c.grid);
        TTeHeaderListBox* b = Box({"a;b;c", "a"});
        b->SetGridLines(c.grid);
        TTeHeaderListBox::TColumnLayout l = b->LayoutColumns(0, TRect{0, 0, 200, 16});
        EXPECT_EQ(l.text, c.text);
        EXPECT_EQ(l.gridX, c.gridX);
        // A line with one field draws one column.
        EXPECT_EQ(b->LayoutColumns(1, TRect{0, 0, 200, 16}).text.size(), 1u);
        delete b;
    }
}

TEST_F(HeaderListBoxTest, AnyColumnOptionMakesColumnsSingleLine) {
    struct Case {
        TTeTextDrawingOptions options;
        bool wordWrap;
        unsigned want;
    };
    const unsigned single = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    for (const Case& c :
         {Case{{}, false, 0}, Case{{}, true, DT_WORDBREAK | single},
          Case{{loEndEllipsis}, true, DT_END_ELLIPSIS | DT_WORDBREAK | single},
          Case{{loPathEllipsis, loEditControl}, false, DT_PATH_ELLIPSIS | DT_EDITCONTROL | single}}) {
        TTeHeaderListBox* b = Box();
        b->SetColumnOptions(c.options);
        b->ListBox()->SetWordWrap(c.wordWrap);
        EXPECT_EQ(b->TextFlags(), c.want);
        delete b;
    }
}

TEST_F(HeaderListBoxTest, OptionChangesReachTheInnerControls) {
    TTeHeaderListBox* b = Box();
    int changes = 0;
    TNotifyEvent apply = b->Header()->OnChange;
    b->Header()->OnChange = [&](TObject* s) {
        ++changes;
        apply(s);
    };
    b->Header()->SetDragReorder(true);
    b->Header()->SetDragReorder(true);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(b->HeaderControl()->DragReorder());
    EXPECT_EQ(b->HeaderControl()->Sections()->Count(), 2);

    b->ListBox()->SetMultiSelect(true);
    EXPECT_TRUE(b->ListBoxControl()->MultiSelect());
    // The list stays unsorted whatever the set says.
    b->ListBox()->SetSorted(true);
    EXPECT_FALSE(b->ListBoxControl()->Sorted());

    b->SetEnabled(false);
    EXPECT_FALSE(b->HeaderControl()->Enabled());
    EXPECT_FALSE(b->ListBoxControl()->Enabled());
    EXPECT_FALSE(b->ListBox()->Enabled());
    b->SetEnabled(true);
    EXPECT_TRUE(b->HeaderControl()->Enabled());
    EXPECT_TRUE(b->ListBoxControl()->Enabled());
}

TEST_F(HeaderListBoxTest, OptionSetsCopyBetweenThemselvesButNotFromStrangers) {
    TTeHeaderListBox* a = Box({"a;b"});
    TTeHeaderListBox* b = Box();
    a->ListBox()->SetTransparent(true);
    a->ListBox()->SetBevelWidth(2);
    b->SetListBox(a->ListBox());
    EXPECT_TRUE(b->ListBox()->Transparent());
    EXPECT_EQ(b->ListBoxControl()->BevelWidth(), 2);
    EXPECT_EQ(Lines(b), (std::vector<String>{"a;b"}));

    TStringList stranger;
    EXPECT_THROW(b->ListBox()->Assign(&stranger), EConvertError);
    // A header set shares the general levels only.
    a->Header()->SetBorderWidth(3);
    b->ListBox()->Assign(a->Header());
    EXPECT_EQ(b->ListBoxControl()->BorderWidth(), 3);
    EXPECT_EQ(Lines(b), (std::vector<String>{"a;b"}));
}

TEST_F(HeaderListBoxTest, ABoxReadFromAFormAppliesItsSetsAndEventsOnceLoaded) {
    TComponent root(nullptr);
    TTeHeaderListBox* b = nullptr;
    int clicks = 0;
    {
        TLoadingScope loading(&root);
        b = new TTeHeaderListBox(&root);
        b->OnClick = [&](TObject*) { ++clicks; };
        b->ListBox()->Items()->Add("a;b");
        b->Header()->SetHotTrack(true);
        // Nothing is applied while the form is read.
        EXPECT_EQ(b->ListBoxControl()->Count(), 0);
        EXPECT_FALSE(b->HeaderControl()->HotTrack());
        loading.Finish();
    }
    EXPECT_EQ(b->ListBoxControl()->Count(), 1);
    EXPECT_TRUE(b->HeaderControl()->HotTrack());
    EXPECT_EQ(b->ListBox()->Style(), lbsOwnerDrawFixed);
    ASSERT_TRUE(b->ListBoxControl()->OnClick);
    b->ListBoxControl()->OnClick(b->ListBoxControl());
    EXPECT_EQ(clicks, 1);
}

TEST_F(HeaderListBoxTest, GridLinesFrameTheColumnsOfLinesWithText) {
    TTeHeaderListBox* b = Box({"a;b;c", "   ", "x;y"});
    b->SetBounds(10, 10, 200, 120);
    b->SetGridLines(glBoth);
    b->SetGridVerticalColor(clRed);
    b->SetGridHorizontalColor(clBlue);
    ui_.RunUntilIdle();
    TTeListBox* l = b->ListBoxControl();
    const auto screen = ui_.Backend().ScreenPixels();
    auto at = [&](int x, int y) {
        const TPoint p = l->ClientToScreen(TPoint{x, y});
        return screen->Pixel(p.x, p.y) & 0xFFFFFF;
    };
    const TRect first = l->GetItemRect(0);
    const TRect blank = l->GetItemRect(1);
    EXPECT_EQ(at(79, first.top + 2), testing::Rgb(clRed));
    EXPECT_EQ(at(139, first.top + 2), testing::Rgb(clRed));
    EXPECT_EQ(at(160, first.bottom - 1), testing::Rgb(clBlue));
    // A line of blanks draws no grid line of its own.
    EXPECT_NE(at(160, blank.bottom - 1), testing::Rgb(clBlue));
}

// The box's drag events, set while the form is read, are the inner list's
// and the inner header's once it is loaded: a line dragged from the list
// onto the header is offered to the header and dropped there.
TEST_F(HeaderListBoxTest, TheDragEventsReadForTheBoxAreTheListsAndTheHeaders) {
    TTeHeaderListBox* b = nullptr;
    std::vector<std::pair<TObject*, TDragState>> over;
    std::vector<TObject*> drops, ends;
    int starts = 0;
    {
        TLoadingScope loading(Form());
        b = new TTeHeaderListBox(Form());
        b->SetParent(Form());
        b->SetBounds(10, 10, 200, 150);
        b->OnDragOver = [&](TObject* sender, TObject*, int, int, TDragState state, bool&) {
            over.emplace_back(sender, state);
        };
        b->OnDragDrop = [&](TObject* sender, TObject*, int, int) { drops.push_back(sender); };
        b->OnEndDrag = [&](TObject* sender, TObject* target, int, int) {
            ends.push_back(sender);
            ends.push_back(target);
        };
        b->OnStartDrag = [&](TObject*) { ++starts; };
        b->ListBox()->Items()->Add("a;b");
        loading.Finish();
    }
    ui_.RunUntilIdle();
    TTeListBox* list = b->ListBoxControl();
    TTeHeaderControl* header = b->HeaderControl();
    list->SetDragMode(dmAutomatic);
    const TPoint from = list->ClientToScreen(TPoint{20, 5});
    const TPoint onHeader = header->ClientToScreen(TPoint{30, header->Height() / 2});
    ui_.Backend().MouseMove(from);
    ui_.Backend().MouseDown(from);
    ui_.RunUntilIdle();
    ui_.Backend().MouseMove(TPoint{from.x + 10, from.y});
    ui_.RunUntilIdle();
    ui_.Backend().MouseMove(onHeader);
    ui_.RunUntilIdle();
    ui_.Backend().MouseUp(onHeader);
    ui_.RunUntilIdle();
    EXPECT_EQ(starts, 1);
    ASSERT_GE(over.size(), 2u);
    EXPECT_EQ(over.front(), std::make_pair(static_cast<TObject*>(list), dsDragEnter))
        << "the list under the pointer first";
    EXPECT_EQ(over.back(), std::make_pair(static_cast<TObject*>(header), dsDragEnter));
    EXPECT_EQ(drops, std::vector<TObject*>{header});
    EXPECT_EQ(ends, (std::vector<TObject*>{list, header}));
}

}  // namespace
}  // namespace tarvel
