// The skin-file theme's controls, menus, bars, tabs and grids: which skin
// object and which skin state draws each element state, the fallbacks of
// missing children, and a sheet of every family for people to look at.
#include <gtest/gtest.h>

#include <filesystem>

#include "Se3SkinFixture.h"
#include "ThemeFixture.h"
#include "ThemeSheetFixture.h"

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
}

}  // namespace
}  // namespace tarvel::testing
