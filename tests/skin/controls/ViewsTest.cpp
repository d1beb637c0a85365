// The skinned tree and list views: the theme's colours and bounds, the
// header the list view paints itself, the last column that fills the
// report, and the in-place bars that scroll a list view by pixels.

#include "WrappedControlFixture.h"
#include "skin/controls/te_controls_views.h"
#include "skin/core/te_theme_manager.h"

namespace tarvel {
namespace {

using testing::TFixedLink;
using testing::TWrappedRecordingTheme;

// A skin that gives the object "tree" a place of its own.
class TPlacingTheme : public TWrappedRecordingTheme {
    TARVEL_CLASS(TPlacingTheme, TWrappedRecordingTheme)

public:
    TRect TreeBounds;
    TRect GetBounds(const String& name) override { return name == "tree" ? TreeBounds : TRect{}; }
};

class ViewsTest : public testing::WrappedControlTest {
protected:
    // A report of `rows` rows under columns of the given widths.
    TTeListView* Report(std::initializer_list<int> widths, int rows, int width = 300, int height = 160) {
        auto* view = Make<TTeListView>(10, 10);
        view->SetBounds(10, 10, width, height);
        view->SetViewStyle(vsReport);
        int i = 0;
        for (int w : widths) {
            TListColumn* column = view->Columns()->Add();
            column->SetCaption("Col " + IntToStr(i++));
            column->SetWidth(w);
        }
        for (int r = 0; r < rows; ++r) {
            TListItem* item = view->Items()->Add();
            item->SetCaption("Cell " + IntToStr(r));
            item->SubItems()->Add(IntToStr(r * 10));
        }
        ui_.RunUntilIdle();
        return view;
    }
    static int ScrollPos(TWinControl* c, int bar) {
        SCROLLINFO info;
        info.fMask = SIF_ALL;
        GetScrollInfo(c->Handle(), bar, info);
        return info.nPos;
    }
    static std::vector<testing::TThemeCall> Sections(TWrappedRecordingTheme* theme) {
        return theme->CallsOf("HeaderDrawSection");
    }
};

TEST_F(ViewsTest, ViewsTakeTheThemesColoursAndTheSystemsWhenItIsReleased) {
    struct Case {
        const char* what;
        bool tree, release;
        TColor color, text;
    } cases[] = {
        {"tree, theme applied", true, false, TWrappedRecordingTheme::kTreeColor,
         TWrappedRecordingTheme::kListTextColor},
        {"list, theme applied", false, false, TWrappedRecordingTheme::kListColor,
         TWrappedRecordingTheme::kListTextColor},
        {"tree, theme released", true, true, clWindow, clWindowText},
        {"list, theme released", false, true, clWindow, clWindowText},
    };
    for (const Case& c : cases) {
        TWrappedRecordingTheme* theme = UseWrappedTheme();
        TWinControl* view = c.tree ? static_cast<TWinControl*>(Make<TTeTreeView>(10, 10))
                                   : static_cast<TWinControl*>(Report({80, 80}, 3));
        ChangeTheme(theme);  // the same theme again: a change for everyone
        ui_.RunUntilIdle();
        if (c.release) ReleaseTheme();
        ui_.RunUntilIdle();
        EXPECT_EQ(view->Color(), c.color) << c.what;
        EXPECT_EQ(view->Font()->Color(), c.text) << c.what;
        delete view;
    }
}

TEST_F(ViewsTest, TheFrameIsTheThemesTreeOrListElementOverTheWholeWindow) {
    struct Case {
        const char* what;
        bool tree;
        const char* op;
    } cases[] = {
        {"tree", true, "TreeDraw"},
        {"list", false, "ListDraw"},
    };
    for (const Case& c : cases) {
        TWrappedRecordingTheme* theme = UseWrappedTheme();
        TWinControl* view = c.tree ? static_cast<TWinControl*>(Make<TTeTreeView>(10, 10))
                                   : static_cast<TWinControl*>(Report({80}, 3));
        view->SetBounds(10, 10, 180, 120);
        ui_.RunUntilIdle();
        theme->Calls().clear();
        RepaintWrapped(view);
        ui_.RunUntilIdle();
        const auto calls = theme->CallsOf(c.op);
        ASSERT_FALSE(calls.empty()) << c.what;
        EXPECT_EQ(calls.back().rect, (TRect{0, 0, 180, 120})) << c.what;
        EXPECT_EQ(calls.back().object, "default") << c.what;
        delete view;
    }
}

TEST_F(ViewsTest, ThemeMessagesBeforeTheWindowExistsChangeNothing) {
    auto* tree = new TTeTreeView(form_);
    auto* list = new TTeListView(form_);
    TMessage m{SNM_THEMEMESSAGE, tmReleased, 0, 0};
    tree->SetColor(clRed);
    list->SetColor(clRed);
    tree->Dispatch(m);
    list->Dispatch(m);
    EXPECT_EQ(tree->Color(), clRed);
    EXPECT_EQ(list->Color(), clRed);
    delete tree;
    delete list;
}

TEST_F(ViewsTest, ATreeTakesThePlaceTheSkinGivesItsObject) {
    struct Case {
        const char* what;
        TRect skinBounds;
        TRect expected;
    } cases[] = {
        {"the skin places it", TRect{30, 40, 230, 190}, TRect{30, 40, 230, 190}},
        {"the skin has no place for it", TRect{}, TRect{10, 10, 210, 160}},
    };
    for (const Case& c : cases) {
        TPlacingTheme theme;
        theme.TreeBounds = c.skinBounds;
        TFixedLink link(&theme);
        auto* tree = Make<TTeTreeView>(10, 10);
        tree->SetBounds(10, 10, 200, 150);
        tree->SetThemeObject("tree");
        tree->SetThemeLink(&link);
        ui_.RunUntilIdle();
        EXPECT_EQ(tree->BoundsRect(), c.expected) << c.what;
        EXPECT_EQ(tree->SubScrollBar()->VertBar()->ScrollBar()->ThemeLink(), &link) << c.what;
        delete tree;
    }
}

TEST_F(ViewsTest, TheHeaderIsPaintedByTheListViewWithTheCaptionOfTheColumnShown) {
    TWrappedRecordingTheme* theme = UseWrappedTheme();
    TTeListView* view = Report({60, 70, 80}, 3);
    ASSERT_TRUE(view->HeaderHooked());
    // A window made anew has its header taken over again.
    view->RecreateWnd();
    ui_.RunUntilIdle();
    ASSERT_TRUE(view->HandleAllocated());
    ASSERT_TRUE(view->HeaderHooked());
    // The columns shown in another order: each section keeps its column's caption.
    view->SetFullDrag(true);
    view->Header()->SetSectionOrder({2, 0, 1});
    theme->Calls().clear();
    view->Header()->Invalidate();
    ui_.RunUntilIdle();
    const auto texts = theme->CallsOf("HeaderDrawText");
    ASSERT_EQ(texts.size(), 4u);
    const char16_t* expected[] = {u"Col 2", u"Col 0", u"Col 1", u"" /* the trailing area */};
    int left = -1;
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].text, expected[i]) << i;
        EXPECT_GT(texts[i].rect.left, left) << "sections left to right";
        left = texts[i].rect.left;
    }
}

TEST_F(ViewsTest, APressedSectionDrawsPressedUntilAButtonIsReleased) {
    struct Case {
        const char* what;
        int x;  // where the left button goes down, in the header
        int pressed;
    } cases[] = {
        {"on the first section", 20, 0},
        {"on the second section", 100, 1},
        {"on the divider", 80, -1},
    };
    for (const Case& c : cases) {
        TWrappedRecordingTheme* theme = UseWrappedTheme();
        TTeListView* view = Report({80, 80}, 3);
        THeaderControl* header = view->Header();
        theme->Calls().clear();
        Down(header, TPoint{c.x, 5});
        EXPECT_EQ(view->PressedSection(), c.pressed) << c.what;
        int pressedDrawn = -1;
        for (const testing::TThemeCall& call : Sections(theme))
            if (call.state / 10 == khdsPressed) pressedDrawn = call.rect.left < 80 ? 0 : 1;
        EXPECT_EQ(pressedDrawn, c.pressed) << c.what;
        Up(header, TPoint{c.x, 5});
        EXPECT_EQ(view->PressedSection(), -1) << c.what;
        delete view;
    }
}

TEST_F(ViewsTest, WithoutAThemeASectionImageMovesTheCaptionRight) {
    struct Case {
        const char* what;
        bool image;
        int textFrom, textTo;  // where the caption's first dark column lies
    } cases[] = {
        {"no image", false, 4, 9},
        {"an image", true, 21, 26},
    };
    ASSERT_FALSE(IsObjectDefined(khscHeader, "default", nullptr));
    for (const Case& c : cases) {
        TTeListView* view = Report({120, 80}, 3);
        view->Columns()->Items(0)->SetCaption("Wide");
        TImageList images(nullptr);
        images.SetSize(16, 16);
        TBitmap picture;
        picture.SetSize(16, 16);
        picture.Canvas()->Brush()->SetColor(clLime);
        picture.Canvas()->FillRect(TRect{0, 0, 16, 16});
        images.Add(&picture, nullptr);
        THeaderControl* header = view->Header();
        if (c.image) {
            header->SetImages(&images);
            header->Sections()->Items(0)->SetImageIndex(0);
        }
        header->Invalidate();
        ui_.RunUntilIdle();
        if (c.image) {
            EXPECT_EQ(ShownAt(header, 5, 5), 0x00FF00u) << c.what;
        }
        int firstDark = -1;
        for (int x = 2; x < 110 && firstDark < 0; ++x)
            for (int y = 3; y < header->Height() - 3 && firstDark < 0; ++y) {
                const uint32_t p = ShownAt(header, x, y);
                if ((p & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60 && ((p >> 16) & 0xFF) < 0x60) firstDark = x;
            }
        EXPECT_GE(firstDark, c.textFrom) << c.what;
        EXPECT_LT(firstDark, c.textTo) << c.what;
        header->SetImages(nullptr);
        delete view;
    }
}

TEST_F(ViewsTest, TheTrailingAreaIsTheLastSectionOnlyWhileNoSidewaysBarShows) {
    struct Case {
        const char* what;
        int columnWidth;  // two columns in a 300 px view
        bool trailing;
    } cases[] = {
        {"narrow columns leave an area", 80, true},
        {"wide columns need the sideways bar", 200, false},
    };
    for (const Case& c : cases) {
        TWrappedRecordingTheme* theme = UseWrappedTheme();
        TTeListView* view = Report({c.columnWidth, c.columnWidth}, 3);
        theme->Calls().clear();
        view->Header()->Invalidate();
        ui_.RunUntilIdle();
        EXPECT_EQ(view->SubScrollBar()->HorzBar()->Visible(), !c.trailing) << c.what;
        const auto sections = Sections(theme);
        ASSERT_EQ(sections.size(), c.trailing ? 3u : 2u) << c.what;
        EXPECT_EQ(sections[0].state % 10, khssFirst) << c.what;
        EXPECT_EQ(sections.back().state % 10, khssLast) << c.what;
        if (c.trailing) {
            EXPECT_EQ(sections[1].state % 10, khssMiddle) << c.what;
            EXPECT_EQ(sections.back().rect.right, view->Width()) << "the area stretches to the view's width";
        }
        delete view;
    }
}

TEST_F(ViewsTest, TheLastColumnReachesTheRightEdgeWhileAutoSized) {
    struct Case {
        const char* what;
        std::function<void(TUiDriver&, TTeListView*)> act;
        int resizes;  // OnColumnResized
    } cases[] = {
        {"set", [](TUiDriver&, TTeListView*) {}, 0},
        {"view resized",
         [](TUiDriver& ui, TTeListView* v) {
             v->SetWidth(420);
             ui.RunUntilIdle();
         },
         0},
        {"first divider dragged",
         [](TUiDriver& ui, TTeListView* v) {
             ui.Drag(v->Header(), TPoint{79, 5}, TPoint{140, 5});
         },
         1},
        {"mouse over the header",
         [](TUiDriver& ui, TTeListView* v) {
             ui.MoveMouseTo(v->Header(), TPoint{30, 5});
         },
         0},
        {"first column wider than the view",
         [](TUiDriver& ui, TTeListView* v) {
             v->Columns()->Items(0)->SetWidth(500);
             ui.RunUntilIdle();
             v->AutosizeColumns();
         },
         0},
    };
    for (const Case& c : cases) {
        TWrappedRecordingTheme* theme = UseWrappedTheme();
        TTeListView* view = Report({80, 60}, 3);
        int resized = 0;
        view->OnColumnResized = [&](TObject*) { ++resized; };
        view->SetAutoSizeColumn(true);
        EXPECT_FALSE(view->Header()->FullDrag()) << c.what;
        ui_.RunUntilIdle();
        c.act(ui_, view);
        TListColumn* first = view->Columns()->Items(0);
        TListColumn* last = view->Columns()->Items(1);
        EXPECT_EQ(last->Width(), std::max(0, view->ClientWidth() - first->Width())) << c.what;
        EXPECT_EQ(resized, c.resizes) << c.what;
        theme->Calls().clear();
        view->Header()->Invalidate();
        ui_.RunUntilIdle();
        EXPECT_EQ(Sections(theme).size(), 2u) << c.what << ": no trailing area";
        view->SetAutoSizeColumn(false);
        EXPECT_TRUE(view->Header()->FullDrag()) << c.what;
        delete view;
    }
}

TEST_F(ViewsTest, TheInPlaceBarsScrollAListViewByItsRowsAndPixels) {
    struct Case {
        const char* what;
        TViewStyle style;
        bool vertical;
        TTeScrollCode code;
        int from, to;  // the view's scroll position before; the thumb's position asked for
        int expected;  // the view's scroll position after; -1: one row of the top item further
    } cases[] = {
        {"report, thumb from row 2 to 5", vsReport, true, kscPosition, 2, 5, 5},
        {"report, dragged thumb", vsReport, true, kscTrack, 2, 7, 7},
        {"report, line down", vsReport, true, kscLineDown, 2, 0, 3},
        {"report, line up", vsReport, true, kscLineUp, 2, 0, 1},
        {"report, thumb where the view is", vsReport, true, kscPosition, 4, 4, 4},
        {"report, sideways thumb", vsReport, false, kscPosition, 0, 40, 40},
        {"small icons, line down by the top item", vsSmallIcon, true, kscLineDown, 0, 0, -1},
        {"list, sideways line", vsList, false, kscLineDown, 0, 0, -2},
    };
    for (const Case& c : cases) {
        UseWrappedTheme();
        TTeListView* view = Report({250, 250}, 60, 300, 160);
        view->SetViewStyle(c.style);
        ui_.RunUntilIdle();
        const int bar = c.vertical ? SB_VERT : SB_HORZ;
        TTeInplaceScrollBar* inplace =
            c.vertical ? view->SubScrollBar()->VertBar() : view->SubScrollBar()->HorzBar();
        ASSERT_TRUE(inplace->Visible()) << c.what;
        if (c.from) ScrollHosted(inplace, kscPosition, c.from);
        ASSERT_EQ(ScrollPos(view, bar), c.from) << c.what;
        int scrolls = 0;
        view->OnScroll = [&](TObject* sender) {
            EXPECT_EQ(sender, view);
            ++scrolls;
        };
        int expected = c.expected;
        if (expected == -1) expected = c.from + view->TopItem()->DisplayRect().Height();
        ScrollHosted(inplace, c.code, c.to);
        ui_.RunUntilIdle();
        if (expected == -2)
            EXPECT_GT(ScrollPos(view, bar), c.from) << c.what;
        else
            EXPECT_EQ(ScrollPos(view, bar), expected) << c.what;
        EXPECT_EQ(scrolls, 1) << c.what;
        delete view;
    }
}

TEST_F(ViewsTest, ALineClickOnTheBarOfAnEmptyViewScrollsNothingAndBreaksNothing) {
    UseWrappedTheme();
    TTeListView* view = Report({80}, 0);
    ScrollHosted(view->SubScrollBar()->VertBar(), kscLineDown, 0);
    EXPECT_EQ(view->TopItem(), nullptr);
    EXPECT_EQ(ScrollPos(view, SB_VERT), 0);
}

TEST_F(ViewsTest, TheWheelMovesTheSkinnedBarsWithTheView) {
    UseWrappedTheme();
    auto* tree = Make<TTeTreeView>(10, 10);
    tree->SetBounds(10, 10, 200, 100);
    for (int i = 0; i < 40; ++i) tree->Items()->Add(nullptr, "Node " + IntToStr(i));
    TTeListView* list = Report({80}, 40, 200, 100);
    list->SetTop(120);
    ui_.RunUntilIdle();
    for (TWinControl* view : {static_cast<TWinControl*>(tree), static_cast<TWinControl*>(list)}) {
        auto* sub = view == tree ? tree->SubScrollBar() : list->SubScrollBar();
        view->SetFocus();
        ui_.Wheel(view, -WHEEL_DELTA);
        ASSERT_GT(ScrollPos(view, SB_VERT), 0) << view->ClassName();
        EXPECT_EQ(sub->VertBar()->ScrollBar()->Position(), ScrollPos(view, SB_VERT));
    }
}

}  // namespace
}  // namespace tarvel
