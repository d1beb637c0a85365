// The skin-file theme's controls, menus, bars, tabs and grids: which skin
// object and which skin state draws each element state, the fallbacks of
// missing children, and a sheet of every family for people to look at.
#include <gtest/gtest.h>

#include <filesystem>

#include "Se3SkinFixture.h"
#include "ThemeFixture.h"
#include "ThemeSheetFixture.h"
#include "tests/platform/gdi/ReferencePictureFixture.h"

namespace tarvel::testing {
namespace {

class Se3ControlsTest : public BuiltInThemeTest {
protected:
    void SetUp() override {
        BuiltInThemeTest::SetUp();
        ASSERT_TRUE(LoadTestSkin(theme));
    }
    // The colour drawn at the middle of a 40 x 20 cell.
    template <class Draw>
    uint32_t Drawn(Draw draw) {
        TPaper paper(40, 20);
        draw(paper.canvas, TRect{0, 0, 40, 20});
        return paper.At(20, 10);
    }
    TTeSkinFile theme;
};

TEST_F(Se3ControlsTest, ElementStatesMapToSkinStates) {
    using skin::kDisabled, skin::kFocused, skin::kHot, skin::kNormal, skin::kPressed;
    struct ButtonCase {
        TteButtonDrawState state;
        TColor color;
    };
    const ButtonCase buttons[] = {{kbdsNormal, kNormal},         {kbdsHot, kHot},
                                  {kbdsPressed, kPressed},       {kbdsDisabled, kDisabled},
                                  {kbdsFocused, kFocused},       {kbdsFocusedHot, kHot},
                                  {kbdsDefault, kFocused},       {kbdsDefaultHot, kHot},
                                  {kbdsChecked, kPressed},       {kbdsCheckedHot, kNormal},
                                  {kbdsCheckedFocused, kNormal}, {kbdsCheckedDisabled, kNormal}};
    for (const ButtonCase& c : buttons)
        EXPECT_EQ(Drawn([&](TCanvas& cv, TRect r) {
                      theme.ButtonDraw(kbscButton, cv, ButtonInfo(r, c.state), "default");
                  }),
                  Rgb(c.color))
            << int(c.state);

    struct GridCase {
        TteGridItemDrawState state;
        TColor color;
    };
    const GridCase cells[] = {{kgidsNormal, clWhite},
                              {kgidsHot, kHot},
                              {kgidsSelected, kFocused},
                              {kgidsFocused, kFocused},
                              {kgidsDisabled, kDisabled}};
    for (const GridCase& c : cells)
        EXPECT_EQ(Drawn([&](TCanvas& cv, TRect r) {
                      theme.GridDrawItem(kgscGrid, cv, GridItemInfo(r, c.state, kgicNormal), "default");
                  }),
                  Rgb(c.color))
            << int(c.state);

    struct MenuCase {
        TteMenuItemDrawState state;
        TColor color;
    };
    const MenuCase items[] = {
        {kmidsNormal, kNormal}, {kmidsHot, kHot}, {kmidsSelected, kFocused}, {kmidsDisabled, kDisabled}};
    for (const MenuCase& c : items)
        EXPECT_EQ(Drawn([&](TCanvas& cv, TRect r) {
                      theme.MenuDrawItem(kmscPopupMenu, cv, MenuItemInfo(r, kmicNormal, c.state), "default");
                  }),
                  Rgb(c.color))
            << int(c.state);

    struct ToolCase {
        TteToolItemDrawState state;
        TColor color;
    };
    const ToolCase tools[] = {{mtidsChecked, kPressed},
                              {mtidsCheckedHot, kPressed},
                              {mtidsCheckedPressed, kNormal},
                              {mtidsHot, kHot},
                              {mtidsDisabled, kDisabled}};
    for (const ToolCase& c : tools)
        EXPECT_EQ(Drawn([&](TCanvas& cv, TRect r) {
                      theme.ToolDrawItem(ktscToolBar, cv, ToolItemInfo(r, kticDropDown, c.state), "default");
                  }),
                  Rgb(c.color))
            << int(c.state);
}

TEST_F(Se3ControlsTest, NamesAndMissingChildren) {
    // A popup item named "Big" is the popup's child of that name; a name the
    // popup lacks falls back to its "Item", never to a top-level object.
    const auto item = [&](const char* name) {
        return Drawn([&](TCanvas& cv, TRect r) {
            theme.MenuDrawItem(kmscPopupMenu, cv, MenuItemInfo(r, kmicNormal, kmidsNormal), name);
        });
    };
    EXPECT_EQ(item("Big"), 0x00FF00u);
    EXPECT_EQ(item("Grid"), Rgb(skin::kNormal));

    // Without "Min" the minimise item shows the system glyph in black.
    TPaper glyph(40, 20);
    theme.MenuDrawItem(kmscMenuBar, glyph.canvas, MenuItemInfo(TRect{0, 0, 40, 20}, kmicMin, kmidsNormal),
                       "default");
    ASSERT_TRUE(glyph.Ink());
    bool black = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) black = black || glyph.At(x, y) == 0;
    EXPECT_TRUE(black);

    // A spin-left button on a scroll bar without "LeftButton" draws nothing.
    TSeSkinSource bare(nullptr);
    TSeSkinObject* scroll = Top(bare, "ScrollBar");
    States(scroll, "TopButton");
    TTeSkinFile plain;
    ASSERT_TRUE(LoadInto(plain, bare));
    TPaper spin(40, 20);
    plain.ButtonDraw(kbscSpinLeft, spin.canvas, ButtonInfo(TRect{0, 0, 40, 20}, kbdsNormal), "default");
    EXPECT_FALSE(spin.Ink());
    EXPECT_FALSE(plain.IsButtonDefined(kbscSpinUp, "default"));

    EXPECT_FALSE(theme.IsEditDefined(kescComboBox, "default"));
    EXPECT_TRUE(theme.IsEditDefined(kescComboBoxLeft, "default"));
    TPaper unused(4, 4);
    EXPECT_EQ(
        theme.HintGetClientRect(khscHintWindow, unused.canvas, HintInfo(TRect{0, 0, 100, 50}), "default"),
        (TRect{4, 3, 96, 47}));
    EXPECT_EQ(theme.MenuGetClientRect(kmscPopupMenu, MenuInfo(TRect{0, 0, 100, 50}), "default"),
              (TRect{2, 2, 98, 48}));
}

TEST_F(Se3ControlsTest, ShapesThatDependOnTheRectangle) {
    // A focused check box draws the whole object, its border included.
    TPaper check(40, 20);
    theme.CheckDraw(kcscCheckBox, check.canvas, CheckInfo(TRect{0, 0, 40, 20}, kcdsCheckedFocused),
                    "default");
    EXPECT_EQ(check.Ink(), (TRect{12, 2, 27, 17}));
    EXPECT_EQ(check.At(12, 2), Rgb(skin::kBorder));
    TPaper checked(40, 20);
    theme.CheckDraw(kcscCheckBox, checked.canvas, CheckInfo(TRect{0, 0, 40, 20}, kcdsCheckedHot), "default");
    EXPECT_EQ(checked.Ink(), (TRect{13, 3, 26, 16}));
    EXPECT_EQ(checked.At(20, 10), Rgb(skin::kHot));

    // The gripper panel runs 7 pixels further right.
    TPaper status(60, 20);
    theme.StatusDrawPanel(ksscStatusBar, status.canvas,
                          StatusPanelInfo(TRect{0, 0, 40, 20}, kspcGripperPanel), "default");
    EXPECT_EQ(status.Ink(), (TRect{0, 0, 47, 20}));

    // A group box keeps the pixels under its caption.
    TPaper group(60, 40);
    FillRect(group.canvas, TRect{10, 0, 30, 10}, TColor(0x0000FF));
    theme.GroupDraw(kgscGroupBox, group.canvas,
                    GroupInfo(TRect{0, 0, 60, 40}, TRect{10, 0, 30, 10}, kgdsNormal), "default");
    EXPECT_EQ(group.At(15, 5), Rgb(0x0000FF));
    EXPECT_EQ(group.At(40, 5), Rgb(skin::kBorder));
}

// A vertical thumb lower than its margins is drawn at their height and
// squeezed into the cell: plain fills and images both show, and what the
// thumb leaves clear (key-coloured pixels) shows the track behind.
TEST_F(Se3ControlsTest, SqueezedThumbsShowTheirFillsAndImages) {
    const auto imageSkin = [](TSeSkinSource& src) {
        auto image = std::make_unique<TteBitmap>();
        image->SetSize(16, 20);
        image->Clear(0xFF0000FF);
        image->FillRect(TRect{0, 0, 4, 20}, 0x007F007F);  // a clear stripe down the left
        image->Transparent = true;
        image->Name = "Thumb";
        src.Bitmaps().Add(image.release());
        auto* thumb = Obj<TSeBitmapObject>(Top(src, "ScrollBar"), "VertSlider", clWhite, TRect{0, 0, 16, 20});
        thumb->GetBitmap()->Name = "Thumb";
        thumb->GetBitmap()->SetRect(TRect{0, 0, 16, 20});
        thumb->SetMarginTop(7);
        thumb->SetMarginBottom(7);
    };
    struct Case {
        const char* what;
        bool image;
        int height;
        uint32_t middle, left;  // at (8, h/2) and (1, h/2) over a green track
    };
    const Case cases[] = {
        {"plain, tall enough", false, 20, Rgb(skin::kNormal), Rgb(skin::kNormal)},
        {"plain, squeezed", false, 10, Rgb(skin::kNormal), Rgb(skin::kNormal)},
        {"image, tall enough", true, 20, 0x0000FF, 0x00FF00},
        {"image, squeezed", true, 10, 0x0000FF, 0x00FF00},
    };
    for (const Case& c : cases) {
        TTeSkinFile own;
        TTeSkinFile* t = &theme;
        if (c.image) {
            TSeSkinSource src(nullptr);
            imageSkin(src);
            ASSERT_TRUE(LoadInto(own, src));
            t = &own;
        }
        TPaper paper(16, 30);
        FillRect(paper.canvas, TRect{0, 0, 16, 30}, TColor(0x00FF00));
        t->ScrollDrawButton(ksscScrollBar, paper.canvas,
                            ScrollButtonInfo(TRect{0, 0, 16, c.height}, ksbdsNormal, ksbcVertSlider),
                            "default");
        EXPECT_EQ(paper.At(8, c.height / 2), c.middle) << c.what;
        EXPECT_EQ(paper.At(1, c.height / 2), c.left) << c.what;
        EXPECT_EQ(paper.At(8, c.height), 0x00FF00u) << c.what << ": nothing below the cell";
    }
}

// Separators: the menu bar asks for "separator", the popup for its named
// child, else "Separator"; names compare without case, and without either
// the "item" object draws the line. List glyphs fall back from the list's
// own children to the check box's.
TEST_F(Se3ControlsTest, SeparatorsAndListGlyphsFallBack) {
    struct MenuCase {
        const char* what;
        TteMenuSubclass menu;
        const char* child;  // the one child the menu has besides "Item"
        const char* obj;
        TColor line;
    };
    const MenuCase menus[] = {
        {"bar, lower case", kmscMenuBar, "separator", "default", 0x0000FF},
        {"bar, capitalised", kmscMenuBar, "Separator", "default", 0x0000FF},
        {"popup, lower case", kmscPopupMenu, "separator", "default", 0x0000FF},
        {"popup, named child", kmscPopupMenu, "Thick", "Thick", 0x0000FF},
        {"popup, no separator: the item", kmscPopupMenu, "Other", "default", 0x00FF00},
        {"bar, no separator: the item", kmscMenuBar, "Other", "default", 0x00FF00},
    };
    for (const MenuCase& c : menus) {
        TSeSkinSource src(nullptr);
        TSeSkinObject* menu = Top(src, c.menu == kmscMenuBar ? "MenuBar" : "PopupMenu");
        Obj(menu, "Item", clNone, TRect{0, 0, 100, 40}, saClient)->Font()->SetColor(0x00FF00);
        Obj(menu, c.child, clNone, TRect{0, 0, 100, 40}, saClient)->Font()->SetColor(0x0000FF);
        TTeSkinFile t;
        ASSERT_TRUE(LoadInto(t, src)) << c.what;
        TPaper paper(40, 20);
        t.MenuDrawItem(c.menu, paper.canvas, MenuItemInfo(TRect{0, 0, 40, 20}, kmicSeparator, kmidsNormal),
                       c.obj);
        EXPECT_EQ(paper.Ink(), (TRect{3, 9, 37, 10})) << c.what;
        EXPECT_EQ(paper.At(20, 9), Rgb(c.line)) << c.what;
    }

    enum : unsigned { kListChecked = 1, kListUnchecked = 2, kListMixed = 4, kBoxMixed = 8 };
    struct GlyphCase {
        const char* what;
        unsigned children;
        TteListGlyph glyph;
        TColor drawn;
    };
    const GlyphCase glyphs[] = {
        {"checked from the list", kListChecked, klgChecked, 0x000001},
        {"checked from the check box", 0, klgChecked, 0x000010},
        {"unchecked from the list", kListUnchecked, klgUnchecked, 0x000002},
        {"unchecked from the check box", 0, klgUnchecked, 0x000020},
        {"mixed from the list", kListMixed | kListChecked | kBoxMixed, klgMixed, 0x000004},
        {"mixed: the list's checked", kListChecked | kBoxMixed, klgMixed, 0x000001},
        {"mixed from the check box", kBoxMixed, klgMixed, 0x000040},
        {"mixed: the check box's checked", 0, klgMixed, 0x000010},
    };
    for (const GlyphCase& c : glyphs) {
        TSeSkinSource src(nullptr);
        TSeSkinObject* list = Top(src, "ListBox");
        TSeSkinObject* box = Top(src, "Checkbox");
        const TRect own{0, 0, 10, 10};
        if (c.children & kListChecked) Obj(list, "Checked", 0x000001, own);
        if (c.children & kListUnchecked) Obj(list, "Unchecked", 0x000002, own);
        if (c.children & kListMixed) Obj(list, "Mixed", 0x000004, own);
        Obj(box, "Checked", 0x000010, own);
        Obj(box, "Unchecked", 0x000020, own);
        if (c.children & kBoxMixed) Obj(box, "Mixed", 0x000040, own);
        TTeSkinFile t;
        ASSERT_TRUE(LoadInto(t, src)) << c.what;
        TPaper paper(20, 20);
        t.ListDrawGlyph(klscListBox, paper.canvas, ListItemInfo(TRect{0, 0, 20, 20}, klidsNormal),
                        ListGlyphInfo(TRect{0, 0, 20, 20}, c.glyph), "default");
        EXPECT_EQ(paper.Ink(), (TRect{5, 5, 15, 15})) << c.what << ": own size, centred";
        EXPECT_EQ(paper.At(10, 10), Rgb(c.drawn)) << c.what;
    }
    // A custom glyph draws the record's image, or nothing without one.
    TPaper none(20, 20);
    theme.ListDrawGlyph(klscListBox, none.canvas, ListItemInfo(TRect{0, 0, 20, 20}, klidsNormal),
                        ListGlyphInfo(TRect{0, 0, 20, 20}, nullptr, kgfaCenter, klgCustom), "default");
    EXPECT_FALSE(none.Ink());
}

TEST_F(Se3ControlsTest, GenericTabsAreTurnedAndSideTabsAreNot) {
    // An image red in its top-left quarter: a turned tab shows where the quarter went.
    const auto tabSkin = [](bool withRight) {
        auto src = std::make_unique<TSeSkinSource>(nullptr);
        auto image = std::make_unique<TteBitmap>();
        image->SetSize(8, 8);
        image->Clear(0xFFFFFFFF);
        image->FillRect(TRect{0, 0, 4, 4}, 0xFFFF0000);
        image->Name = "Tab";
        src->Bitmaps().Add(image.release());
        TSeSkinObject* tabs = Top(*src, "Tabs");
        for (const char* name : {"Tab", withRight ? "TabRight" : nullptr}) {
            if (!name) continue;
            auto* tab = Obj<TSeBitmapObject>(tabs, name, clWhite, TRect{0, 0, 8, 8}, saClient);
            tab->GetBitmap()->Name = "Tab";
            tab->GetBitmap()->SetRect(TRect{0, 0, 8, 8});
            tab->SetTileStyle(tsStretch);
        }
        return src;
    };
    struct Case {
        const char* what;
        bool withRight;
        TteTabItemClass itemClass;
        TRect red;  // the box of the red quarter's pure pixels in a 40 x 20 tab
    };
    const Case cases[] = {
        {"top", false, ktisTopMiddle, {0, 0, 23, 11}},
        {"left: against the clock", false, ktisLeftMiddle, {0, 9, 23, 20}},
        {"right: with the clock", false, ktisRightMiddle, {17, 0, 40, 11}},
        {"bottom: upside down", false, ktisBottomMiddle, {0, 9, 23, 20}},
        {"bottom with TabRight: unturned", true, ktisBottomMiddle, {0, 0, 23, 11}},
    };
    for (const Case& c : cases) {
        auto src = tabSkin(c.withRight);
        TTeSkinFile tabs;
        ASSERT_TRUE(LoadInto(tabs, *src)) << c.what;
        TPaper paper(40, 20);
        tabs.TabDrawItem(ktscTab, paper.canvas, TabItemInfo(TRect{0, 0, 40, 20}, c.itemClass, ktidsNormal),
                         "default");
        std::optional<TRect> red;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                if (paper.At(x, y) == 0xFF0000) {
                    if (!red) red = TRect{x, y, x + 1, y + 1};
                    red->left = std::min(red->left, x);
                    red->top = std::min(red->top, y);
                    red->right = std::max(red->right, x + 1);
                    red->bottom = std::max(red->bottom, y + 1);
                }
        EXPECT_EQ(red, c.red) << c.what;
    }
}

TEST_F(Se3ControlsTest, SheetOfEveryFamily) {
    TPaper paper(1040, 760);
    DrawSheet(theme, paper);
    const auto path = std::filesystem::path(TARVEL_BINARY_DIR) / "skin_theme_skinfile_sheet.png";
    ASSERT_TRUE(WritePng(*GetBitmapSurface(paper.bitmap.Handle()), path.string().c_str()));
    EXPECT_TRUE(reference::MatchesReference(*GetBitmapSurface(paper.bitmap.Handle()),
                                            "skin/themes/skinfile_sheet.png"));
}

}  // namespace
}  // namespace tarvel::testing
