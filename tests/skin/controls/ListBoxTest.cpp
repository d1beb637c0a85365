#include "skin/controls/te_controls_listbox.h"

#include <algorithm>
#include <vector>

#include "platform/classlib/Colors.h"
#include "platform/gdi/FontList.h"
#include "skin/themes/theme_flat.h"
#include "tests/skin/controls/EditFixture.h"
#include "tests/skin/themes/DaraSkinFixture.h"

namespace tarvel::testing {
namespace {

class ListBoxTest : public EditTest {
public:
    // A list of `n` items "i0".."i<n-1>" whose inside holds `rows` rows of 16.
    TTeListBox* List(int n, int rows = 6) {
        TTeListBox* l = SkinControlsTest::Make<TTeListBox>(10, 10);
        const int frame = l->Height() - l->GetBorderRect().Height();
        l->SetHeight(frame + rows * 16);
        for (int i = 0; i < n; ++i) l->Items()->Add("i" + IntToStr(i));
        Ui().RunUntilIdle();
        return l;
    }
    uint32_t PixelAt(TControl* c, TPoint p) {
        Ui().RunUntilIdle();
        const TPoint s = c->ClientToScreen(p);
        return Ui().Backend().ScreenPixels()->Pixel(s.x, s.y) & 0xFFFFFF;
    }
    // The rightmost column of a row that holds ink darker than mid grey on average.
    int RightmostInk(TTeListBox* l, int index) {
        Ui().RunUntilIdle();
        const TRect r = l->GetItemRect(index);
        const auto screen = Ui().Backend().ScreenPixels();
        int right = -1;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const TPoint s = l->ClientToScreen(TPoint{x, y});
                const uint32_t px = screen->Pixel(s.x, s.y);
                if ((px & 0xFF) + (px >> 8 & 0xFF) + (px >> 16 & 0xFF) < 3 * 0x80) right = std::max(right, x);
            }
        return right;
    }
    TPoint RowPoint(TTeListBox* l, int index) {
        const TRect r = l->GetItemRect(index);
        return TPoint{r.left + 20, r.top + r.Height() / 2};
    }
};

TEST_F(ListBoxTest, HeightSnapsToWholeRowsAndTheBarCoversTheRest) {
    TTeListBox* l = List(10, 0);
    const int frame = l->Height() - l->GetBorderRect().Height();
    l->SetHeight(frame + 100);
    EXPECT_EQ(l->GetBorderRect().Height(), 96);
    EXPECT_EQ(l->ScrollBar()->PageSize(), 6);
    EXPECT_EQ(l->ScrollBar()->Max(), 9);
    EXPECT_TRUE(l->ScrollBarShown());
    l->Items()->Clear();
    EXPECT_FALSE(l->ScrollBarShown());
}

TEST_F(ListBoxTest, ItemIndexIsClampedAndStaysNoneOnAnEmptyList) {
    struct Case {
        int count, from, to, expected;
    };
    const Case cases[] = {
        {5, -1, 9, 4}, {5, 2, -2, 0}, {5, 2, -1, -1}, {5, -1, 3, 3}, {0, -1, 0, -1}, {0, -1, -5, -1},
    };
    for (const Case& c : cases) {
        TTeListBox* l = List(c.count);
        l->SetItemIndex(c.from);
        l->SetItemIndex(c.to);
        EXPECT_EQ(l->ItemIndex(), c.expected) << c.count << " items, " << c.from << " -> " << c.to;
        delete l;
    }
}

TEST_F(ListBoxTest, ASingleSelectListKeepsOneSelectedRowWhateverSelectedBefore) {
    struct Case {
        bool multi;
        std::vector<int> indexes;  // handed to SetItemIndex in turn
        std::vector<int> selected;
    };
    const Case cases[] = {
        {false, {0, 3}, {3}},     // as a constructor selects the first row, then a value is set
        {false, {0, 0, 3}, {3}},  // the same index again sets the anchor
        {false, {2, -1}, {}},
        {false, {4, 1, 4}, {4}},
        // Without an anchor a multiple selection is left as it stands...
        {true, {0, 3}, {}},
        // ...and the current row again anchors a range of one.
        {true, {0, 3, 3}, {3}},
    };
    for (const Case& c : cases) {
        TTeListBox* l = List(6);
        l->SetMultiSelect(c.multi);
        for (int i : c.indexes) l->SetItemIndex(i);
        std::vector<int> selected;
        for (int i = 0; i < l->Count(); ++i)
            if (l->Selected(i)) selected.push_back(i);
        EXPECT_EQ(selected, c.selected) << (c.multi ? "multi" : "single") << ", ends at " << c.indexes.back();
        EXPECT_EQ(l->SelCount(), static_cast<int>(c.selected.size()));
        delete l;
    }
}

TEST_F(ListBoxTest, KeysMoveTheCurrentItemAndNeverLeaveAnEmptyListAtZero) {
    struct Case {
        int count;
        int start;
        UINT key;
        int expected;
    };
    // Six rows show, so a page moves five.
    const Case cases[] = {
        {20, 0, VK_NEXT, 5},   {20, 10, VK_PRIOR, 5}, {20, 18, VK_NEXT, 19}, {20, 2, VK_PRIOR, 0},
        {20, 7, VK_END, 19},   {20, 7, VK_HOME, 0},   {20, 0, VK_UP, 0},     {20, 3, VK_LEFT, 2},
        {20, 19, VK_DOWN, 19}, {20, -1, VK_DOWN, 0},  {20, -1, VK_UP, 0},    {0, -1, VK_DOWN, -1},
        {0, -1, VK_UP, -1},    {0, -1, VK_NEXT, -1},  {0, -1, VK_END, -1},   {0, -1, VK_HOME, -1},
    };
    for (const Case& c : cases) {
        TTeListBox* l = List(c.count);
        l->SetItemIndex(c.start);
        l->SetFocus();
        Ui().PressKey(c.key);
        EXPECT_EQ(l->ItemIndex(), c.expected) << c.count << " items from " << c.start << " key " << c.key;
        delete l;
    }
}

TEST_F(ListBoxTest, PagingWithRowsOfTheirOwnHeightStillMovesForward) {
    TTeListBox* l = List(30);
    l->SetListStyle(lbsOwnerDrawVariable);
    l->OnMeasureItem = [](TTeListBox*, TCanvas&, int, int& h) { h = 200; };  // taller than the list
    l->SetItemIndex(3);
    l->SetFocus();
    Ui().PressKey(VK_NEXT);
    EXPECT_EQ(l->ItemIndex(), 4);
    Ui().PressKey(VK_PRIOR);
    EXPECT_EQ(l->ItemIndex(), 3);
}

TEST_F(ListBoxTest, ChangesOfTheItemsKeepTheFlagsAndFollowTheCurrentItem) {
    TTeListBox* l = List(3);
    l->SetShowCheckBoxes(true);
    l->SetChecked(1, true);
    l->SetItemEnabled(2, false);
    l->SetItemIndex(2);
    l->Items()->Add("new");
    EXPECT_TRUE(l->Checked(1));
    EXPECT_FALSE(l->ItemEnabled(2));
    EXPECT_TRUE(l->Selected(2));
    EXPECT_FALSE(l->Checked(3));
    EXPECT_TRUE(l->ItemEnabled(3));
    l->Items()->Insert(0, "first");  // everything moves down one, flags too
    EXPECT_TRUE(l->Checked(2));
    EXPECT_EQ(l->ItemIndex(), 3);
    l->Items()->Delete(3);  // the current item goes: the one above becomes current
    EXPECT_EQ(l->ItemIndex(), 2);
    l->Items()->Exchange(0, 2);
    EXPECT_TRUE(l->Checked(0));
    EXPECT_FALSE(l->Checked(2));

    TTeListBox* one = List(2);
    one->SetItemIndex(0);
    one->Items()->Delete(0);
    EXPECT_EQ(one->ItemIndex(), -1);
    // Out of range reads as nothing and writes nothing.
    EXPECT_FALSE(one->Checked(9));
    EXPECT_FALSE(one->ItemEnabled(-1));
    one->SetSelected(9, true);
    EXPECT_EQ(one->SelCount(), 0);
    EXPECT_EQ(one->Items()->Get(7), "");
}

TEST_F(ListBoxTest, ClicksSelectRangesAndCtrlTogglesOne) {
    TTeListBox* l = List(8);
    l->SetMultiSelect(true);
    Ui().ClickAt(l, RowPoint(l, 2));
    Ui().ClickAt(l, RowPoint(l, 5));
    EXPECT_EQ(l->SelCount(), 1);
    Down(l, RowPoint(l, 2));
    Up(l, RowPoint(l, 2));
    ui_.Backend().KeyDown(VK_SHIFT);
    Down(l, RowPoint(l, 5));
    Up(l, RowPoint(l, 5));
    ui_.Backend().KeyUp(VK_SHIFT);
    EXPECT_EQ(l->SelCount(), 4);
    for (int i = 2; i <= 5; ++i) EXPECT_TRUE(l->Selected(i)) << i;
    ui_.Backend().KeyDown(VK_CONTROL);
    Down(l, RowPoint(l, 3));
    Up(l, RowPoint(l, 3));
    ui_.Backend().KeyUp(VK_CONTROL);
    EXPECT_FALSE(l->Selected(3));
    EXPECT_EQ(l->SelCount(), 3);
}

TEST_F(ListBoxTest, CheckBoxesCycleThroughTheStatesTheListAllows) {
    struct Case {
        bool allowGrayed;
        TCheckBoxState after[3];
    };
    const Case cases[] = {
        {false, {cbChecked, cbUnchecked, cbChecked}},
        {true, {cbChecked, cbGrayed, cbUnchecked}},
    };
    for (const Case& c : cases) {
        TTeListBox* l = List(3);
        l->SetShowCheckBoxes(true);
        l->SetAllowGrayed(c.allowGrayed);
        int clicked = 0;
        l->OnClickCheck = [&](TObject*, int index) {
            EXPECT_EQ(index, 1);
            ++clicked;
        };
        const TRect r = l->GetItemRect(1);
        for (TCheckBoxState expected : c.after) {
            Ui().ClickAt(l, TPoint{r.left + 6, r.top + 8});
            EXPECT_EQ(l->State(1), expected) << c.allowGrayed;
        }
        EXPECT_EQ(clicked, 3);
        l->SetItemEnabled(1, false);
        Ui().ClickAt(l, TPoint{r.left + 6, r.top + 8});
        EXPECT_EQ(l->State(1), c.after[2]) << "a disabled item keeps its state";
        delete l;
    }
    TTeListBox* l = List(2);
    l->SetAllowGrayed(true);
    l->SetState(0, cbGrayed);
    l->SetAllowGrayed(false);
    EXPECT_EQ(l->State(0), cbChecked);
}

TEST_F(ListBoxTest, TheWheelScrollsTheViewByTheSystemLinesAndNotTheSelection) {
    TTeListBox* l = List(20);
    l->SetItemIndex(0);
    l->SetFocus();
    Ui().Wheel(l, -120);
    EXPECT_EQ(l->TopIndex(), 3);
    EXPECT_EQ(l->ItemIndex(), 0);
    Ui().Wheel(l, -360);
    EXPECT_EQ(l->TopIndex(), 12);
    Ui().Wheel(l, -1200);
    EXPECT_EQ(l->TopIndex(), 14) << "the last page stays full";
    Ui().Wheel(l, 2400);
    EXPECT_EQ(l->TopIndex(), 0);

    TTeListBox* shorter = List(4);
    shorter->SetFocus();
    Ui().Wheel(shorter, -120);
    EXPECT_EQ(shorter->TopIndex(), 0);
}

TEST_F(ListBoxTest, KeysScrollTheCurrentItemIntoViewAndTheDriverPicksHiddenItems) {
    TTeListBox* l = List(40);
    l->SetFocus();
    Ui().PressKey(VK_END);
    EXPECT_EQ(l->TopIndex(), 34);
    Ui().PressKey(VK_HOME);
    EXPECT_EQ(l->TopIndex(), 0);
    Ui().PickItem(l, "i25");
    EXPECT_EQ(l->ItemIndex(), 25);
    EXPECT_LE(l->TopIndex(), 25);
    EXPECT_GT(l->TopIndex() + 6, 25);
}

TEST_F(ListBoxTest, RowsAskTheThemeForTheStateOfEachItem) {
    auto* theme = new TEditRecordingTheme();
    ChangeTheme(theme);
    TTeListBox* l = List(4);
    l->SetItemIndex(1);
    l->SetItemEnabled(3, false);
    MoveTo(l, RowPoint(l, 2));
    theme->Calls.clear();
    l->InvalidateNow();
    Ui().RunUntilIdle();
    const auto items = theme->CallsOf("ListDrawItem");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].state, klidsNormal);
    EXPECT_EQ(items[1].state, klidsSelected);
    EXPECT_EQ(items[2].state, klidsHot);
    EXPECT_EQ(items[3].state, klidsDisabled);
    EXPECT_EQ(theme->CallsOf("ListDraw").size(), 1u);
}

TEST_F(ListBoxTest, ColourStylesListEveryColourNameAndDrawItsSwatch) {
    std::vector<String> names;
    GetColorValues([&](const String& ident) { names.push_back(ident); });
    struct Case {
        TTeListBoxStyle style;
        const char* item;
        int swatchX;  // from the row's left
    };
    const Case cases[] = {
        {lbsColors, "clRed", 40},
        {lbsColors, "clBlue", 8},
        {lbsColorNames, "clRed", 12},
        {lbsColorNames, "clLime", 4},
    };
    for (const Case& c : cases) {
        TTeListBox* l = List(3);
        l->SetListStyle(c.style);
        EXPECT_EQ(l->ItemHeight(), 18);
        ASSERT_EQ(l->Count(), static_cast<int>(names.size()));
        EXPECT_EQ(l->Items()->Get(0), names[0]) << "the class library's order, not sorted";
        const int index = l->Items()->IndexOf(c.item);
        ASSERT_GE(index, 0) << c.item;
        l->SetItemIndex(index);
        EXPECT_EQ(l->ColorValue(), StringToColor(c.item));
        // Drawn unselected so the swatch is not confused with the highlight.
        l->SetSelected(index, false);
        const TRect r = l->GetItemRect(index);
        EXPECT_EQ(PixelAt(l, TPoint{r.left + c.swatchX, r.top + r.Height() / 2}), Rgb(StringToColor(c.item)))
            << c.style << " " << c.item;
        delete l;
    }
}

TEST_F(ListBoxTest, ColourNamesDropTheirPrefixAndABadNameDrawsAnEmptySwatch) {
    TTeListBox* l = List(0);
    l->SetListStyle(lbsColorNames);
    l->Items()->Clear();
    l->Items()->Add("clRed");
    l->Items()->Add("not a colour");
    l->Items()->Add("Red");
    l->SetItemIndex(1);
    EXPECT_THROW(l->ColorValue(), EConvertError);
    l->SetSelected(1, false);
    const TRect r = l->GetItemRect(1);
    EXPECT_EQ(PixelAt(l, TPoint{r.left + 12, r.top + r.Height() / 2}), Rgb(clWindow));

    // "clRed" is written as "Red": both rows end their ink in the same column.
    EXPECT_GT(RightmostInk(l, 0), r.left + 26);
    EXPECT_NEAR(RightmostInk(l, 0), RightmostInk(l, 2), 1);

    TTeListBox* none = List(0);
    none->SetListStyle(lbsColors);
    none->SetItemIndex(-1);
    EXPECT_EQ(none->ColorValue(), TColor{0});
}

TEST_F(ListBoxTest, FontStylesListTheInstalledFamiliesOfTheChosenType) {
    const auto& families = InstalledFontFamilies();
    auto expected = [&](TTeFontType type) {
        std::vector<String> names;
        for (const FontFamilyInfo& f : families)
            if (type == ftAll || (type == ftTrueType && f.scalable) || (type == ftFixedPitch && f.fixedPitch))
                names.push_back(f.name.substr(0, 31));
        std::sort(names.begin(), names.end(),
                  [](const String& a, const String& b) { return CompareText(a, b) < 0; });
        return names;
    };
    struct Case {
        TTeListBoxStyle style;
        TTeFontType type;
    };
    const Case cases[] = {{lbsFonts, ftAll}, {lbsFontSamples, ftTrueType}, {lbsFonts, ftFixedPitch}};
    for (const Case& c : cases) {
        TTeListBox* l = List(2);
        l->SetFontType(c.type);
        EXPECT_EQ(l->Count(), 2) << "a plain list keeps its own items";
        l->SetListStyle(c.style);
        EXPECT_EQ(l->ItemHeight(), 18);
        const auto want = expected(c.type);
        ASSERT_EQ(l->Count(), static_cast<int>(want.size())) << c.type;
        for (int i = 0; i < l->Count(); ++i) {
            EXPECT_TRUE(SameText(l->Items()->Get(i), want[i])) << i;
            const auto pitch = reinterpret_cast<uintptr_t>(l->Items()->Objects(i));
            if (c.type == ftTrueType) {
                EXPECT_TRUE(pitch & kFontTrueType) << l->Items()->Get(i);
            } else if (c.type == ftFixedPitch) {
                EXPECT_FALSE(pitch & kFontPitchVariable) << l->Items()->Get(i);
            }
        }
        if (l->Count() > 0) {
            l->SetItemIndex(l->Count() - 1);
            EXPECT_EQ(l->FontValue()->Name(), l->Items()->Get(l->Count() - 1));
        }
        l->InvalidateNow();
        Ui().RunUntilIdle();
        delete l;
    }
}

TEST_F(ListBoxTest, ChangingTheStyleOrWrappingSnapsTheHeightToTheNewRows) {
    TTeListBox* l = List(30);
    EXPECT_EQ(l->GetBorderRect().Height(), 96);
    l->SetListStyle(lbsColors);
    EXPECT_EQ(l->GetBorderRect().Height(), 90) << "five rows of 18";
    EXPECT_EQ(l->ScrollBar()->PageSize(), 5);
    l->SetListStyle(lbsStandard);
    l->SetItemHeight(18);
    l->SetWordWrap(true);
    const int frame = l->Height() - l->GetBorderRect().Height();
    l->SetHeight(frame + 100);
    EXPECT_EQ(l->GetBorderRect().Height(), 100) << "wrapped rows have no common height";
}

TEST_F(ListBoxTest, WrappedItemsTakeTheHeightOfTheirLines) {
    TTeListBox* l = List(0);
    l->Items()->Add("short");
    l->Items()->Add("a rather long item that cannot possibly fit on a single row of this narrow list box");
    l->Items()->Add("");
    const int plain = l->GetItemHeight(1);
    l->SetWordWrap(true);
    const int line = l->GetItemHeight(0);
    EXPECT_GT(line, 0);
    EXPECT_GE(l->GetItemHeight(1), 3 * line);
    EXPECT_GE(l->GetItemHeight(2), 1);
    EXPECT_EQ(l->GetItemTop(2), l->GetItemTop(1) + l->GetItemHeight(1));
    EXPECT_EQ(l->ScrollBar()->PageSize(), 0);
    l->SetWordWrap(false);
    EXPECT_EQ(l->GetItemHeight(1), plain);
}

TEST_F(ListBoxTest, ItemsShowTheImageOfTheirIndexAndRowsTakeItsHeight) {
    auto* images = new TImageList(nullptr);
    images->SetSize(12, 20);
    for (TColor colour : {clRed, clBlue}) {
        TBitmap b;
        b.SetSize(12, 20);
        b.Canvas()->Brush()->SetColor(colour);
        b.Canvas()->FillRect(TRect{0, 0, 12, 20});
        images->Add(&b, nullptr);
    }
    TTeListBox* plain = List(3);
    TTeListBox* l = List(3);
    l->SetLeft(plain->Left() + plain->Width() + 20);
    l->SetImages(images);
    EXPECT_EQ(l->ItemHeight(), 20);
    struct Case {
        int index;
        TColor image;  // clNone: the row has no image
    };
    const Case cases[] = {{0, clRed}, {1, clBlue}, {2, clNone}};
    for (const Case& c : cases) {
        const TRect r = l->GetItemRect(c.index);
        EXPECT_EQ(r.Height(), 20);
        EXPECT_EQ(PixelAt(l, TPoint{r.left + 8, r.top + 1}), Rgb(c.image == clNone ? clWindow : c.image))
            << c.index;
        const int shift = RightmostInk(l, c.index) - RightmostInk(plain, c.index);
        EXPECT_EQ(shift, c.image == clNone ? 0 : 15) << "the text makes room for the image, row " << c.index;
    }
    delete images;
    EXPECT_EQ(l->Images(), nullptr);
    EXPECT_EQ(l->ItemHeight(), 16);
    l->InvalidateNow();
    Ui().RunUntilIdle();
}

TEST_F(ListBoxTest, ColumnsFillTopDownThenSidewaysAndScrollByColumn) {
    struct Case {
        int count, columns;
        bool bar;  // more columns than fit: the bar takes a row below them
    };
    const Case cases[] = {{8, 2, false}, {12, 3, false}, {13, 2, true}, {20, 2, true}, {40, 3, true}};
    for (const Case& c : cases) {
        TTeListBox* l = List(c.count);
        l->SetColumns(c.columns);
        Ui().RunUntilIdle();
        TTeScrollBar* bar = l->ScrollBar();
        const TRect br = l->GetBorderRect();
        ASSERT_EQ(l->ScrollBarShown(), c.bar) << c.count << " items in " << c.columns;
        EXPECT_EQ(bar->Orientation(), ksoHorizontal);
        const int rows = (96 - (c.bar ? bar->Height() : 0)) / 16;
        const int columns = (c.count + rows - 1) / rows;
        EXPECT_EQ(l->GetItemWidth(), br.Width() / c.columns);
        if (c.bar) {
            EXPECT_EQ(bar->Max(), columns - 1);
            EXPECT_EQ(bar->PageSize(), c.columns);
            EXPECT_EQ(bar->Top() + bar->Height(), br.bottom);
        }
        auto checkShown = [&] {
            for (int i = 0; i < c.count; ++i) {
                const int col = i / rows - l->TopIndex();
                const TRect r = l->GetItemRect(i);
                if (col < 0 || col >= c.columns) {
                    EXPECT_TRUE(r.IsEmpty()) << i;
                    continue;
                }
                EXPECT_EQ(r.left, br.left + col * l->GetItemWidth()) << i;
                EXPECT_EQ(r.top, br.top + i % rows * 16) << i;
                EXPECT_EQ(l->ItemAtPos(TPoint{r.left + 5, r.top + 8}, true), i);
            }
        };
        checkShown();
        l->SetItemIndex(c.count - 1);
        EXPECT_EQ(l->TopIndex(), std::max(columns - c.columns, 0)) << "the last column comes into view";
        checkShown();
        const TRect last = l->GetItemRect(c.count - 1);
        EXPECT_EQ(PixelAt(l, TPoint{last.right - 3, last.top + 1}), Rgb(clHighlight))
            << "drawn in its column";
        l->SetFocus();
        const int before = l->TopIndex();
        Ui().Wheel(l, 120);
        EXPECT_EQ(l->TopIndex(), std::max(before - 3, 0)) << "a notch moves three columns";
        l->SetColumns(0);
        EXPECT_EQ(bar->Orientation(), ksoVertical);
        delete l;
    }
}

TEST_F(ListBoxTest, AnAutomaticDragStartsFromAPressUnlessItExtendsAMultipleSelection) {
    struct Case {
        const char* what;
        TDragMode mode;
        bool multi;
        UINT held;    // a modifier key held during the press, or 0
        int pressed;  // the row pressed; rows 1 and 2 are selected before
        bool drags;
        int itemIndex;              // after a drag
        std::vector<int> selected;  // after a drag
    };
    const Case cases[] = {
        {"manual", dmManual, false, 0, 3, false, 3, {3}},
        {"automatic", dmAutomatic, false, 0, 3, true, 3, {3}},
        {"on a selected row of a multiple selection", dmAutomatic, true, 0, 2, true, 2, {1, 2}},
        {"on another row of a multiple selection", dmAutomatic, true, 0, 4, true, 4, {4}},
        {"extending with Shift", dmAutomatic, true, VK_SHIFT, 4, false, -1, {}},
        {"toggling with Ctrl", dmAutomatic, true, VK_CONTROL, 4, false, -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TTeListBox* l = List(8);
        l->SetMultiSelect(c.multi);
        l->SetDragMode(c.mode);
        l->SetItemIndex(1);
        if (c.multi) {
            l->SetSelected(1, true);
            l->SetSelected(2, true);
            l->SetItemIndex(2);
        }
        int starts = 0;
        l->OnStartDrag = [&](TObject*) { ++starts; };
        if (c.held) Ui().Backend().KeyDown(c.held);
        Down(l, RowPoint(l, c.pressed));
        if (c.held) Ui().Backend().KeyUp(c.held);
        const TPoint from = RowPoint(l, c.pressed);
        // Across the rows, far past the drag distance.
        MoveTo(l, TPoint{from.x + 30, from.y + 40});
        EXPECT_EQ(starts, c.drags ? 1 : 0);
        EXPECT_EQ(l->Dragging(), c.drags);
        Up(l, TPoint{from.x + 30, from.y + 40});
        EXPECT_FALSE(l->Dragging());
        if (c.drags) {
            EXPECT_EQ(l->ItemIndex(), c.itemIndex) << "a drag moves no selection";
            for (int i = 0; i < 8; ++i)
                EXPECT_EQ(l->Selected(i), std::count(c.selected.begin(), c.selected.end(), i) == 1) << i;
        }
        delete l;
    }
}

TEST_F(ListBoxTest, RowsAndTheBarStayInsideTheThemesFrame) {
    InitThemeFlat();
    for (const char* look : {"Flat", "dara"}) {
        SCOPED_TRACE(look);
        ASSERT_TRUE(ChangeToLook(look));
        TTeListBox* l = List(12);
        l->SetItemIndex(2);
        const TRect br = l->GetBorderRect();
        const TRect inside = CurrentTheme->ListGetClientRect(klscListBox, ListInfo(br), "default");
        ASSERT_TRUE(l->ScrollBarShown());
        EXPECT_GE(l->GetItemRect(0).left, inside.left);
        EXPECT_GE(l->GetItemRect(0).top, inside.top);
        EXPECT_LE(l->ScrollBar()->BoundsRect().right, inside.right);
        // The frame beside, above and right of the first row, with and
        // without rows: only the theme may paint there.
        const int y = l->GetItemRect(0).top + 2;
        const TPoint frame[] = {{br.left, y}, {br.left + 20, br.top}, {br.right - 1, y}};
        std::vector<uint32_t> withRows;
        for (TPoint p : frame) withRows.push_back(PixelAt(l, p));
        l->Items()->Clear();
        for (size_t i = 0; i < std::size(frame); ++i)
            EXPECT_EQ(PixelAt(l, frame[i]), withRows[i]) << frame[i].x << "," << frame[i].y;
        delete l;
    }
}

}  // namespace
}  // namespace tarvel::testing
