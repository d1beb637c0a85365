// The native tab and page controls painted from the theme's Tab element:
// the hot tab following the mouse, the current tab over the frame, images
// and captions placed by the tab position, the up-down's arrows, and the
// tab sheet's themed page.

#include <memory>

#include "NativeThemeFixture.h"
#include "platform/classlib/ControlPaint.h"
#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/ImageLists.h"
#include "skin/core/te_theme_manager.h"
#include "skin/extctrls/te_extctrls_nativetabs.h"

namespace tarvel {
namespace {

using testing::NativeWrapperTest;
using testing::TNativeCall;
using testing::TNativeRecordingTheme;

class TTabRecordingTheme : public TNativeRecordingTheme {
    TARVEL_CLASS(TTabRecordingTheme, TNativeRecordingTheme)

public:
    bool IsTabDefined(TteTabSubclass, const String&) override { return true; }
    void TabDraw(TteTabSubclass, TCanvas&, const TteTabInfo& info, const String& obj) override {
        calls.push_back({"TabDraw", 0, info.Rect, obj, 0});
    }
    void TabDrawItem(TteTabSubclass, TCanvas&, const TteTabItemInfo& info, const String& obj) override {
        calls.push_back({"TabDrawItem", info.DrawState, info.Rect, obj, info.ItemClass});
    }
    void TabDrawGlyph(TteTabSubclass, TCanvas&, const TteTabItemInfo& item, const TteGlyphInfo& glyph,
                      const String& obj) override {
        calls.push_back({"TabDrawGlyph", 0, glyph.Rect, obj, item.ItemClass});
    }
    void TabDrawText(TteTabSubclass, TCanvas&, const TteTabItemInfo& item, const TteTextInfo& text,
                     const String& obj) override {
        calls.push_back({"TabDrawText", 0, text.Rect, obj, item.ItemClass});
    }
};

class NativeTabsTest : public NativeWrapperTest {
protected:
    TTabRecordingTheme* UseTabTheme() {
        auto* theme = new TTabRecordingTheme();
        ChangeTheme(theme);
        ui_.RunUntilIdle();
        theme->calls.clear();
        return theme;
    }
    TTeSTabControl* MakeTabs(int count, int width) {
        auto* tabs = Make<TTeSTabControl>(10, 10);
        tabs->SetBounds(10, 10, width, 120);
        for (int i = 0; i < count; ++i) tabs->Tabs()->Add("Tab " + IntToStr(i));
        tabs->SetTabIndex(0);
        ui_.RunUntilIdle();
        return tabs;
    }
    // The state each tab was drawn in last, by tab rectangle.
    static int StateOf(const TTabRecordingTheme* theme, TTeSTabControl* tabs, int index) {
        int state = -1;
        for (const TNativeCall& call : theme->CallsOf("TabDrawItem"))
            if (call.rect.Contains(Middle(tabs->TabRect(index)))) state = call.state;
        return state;
    }
    static int LastState(const TTabRecordingTheme* theme, int kind) {
        int state = -1;
        for (const TNativeCall& call : theme->CallsOf("ScrollDrawButton"))
            if (call.kind == kind) state = call.state;
        return state;
    }
};

TEST_F(NativeTabsTest, HotTabFollowsTheMouseAndIsClearedOverTheUpDownAndOnLeave) {
    auto* theme = UseTabTheme();
    TTeSTabControl* tabs = MakeTabs(12, 200);
    ASSERT_TRUE(tabs->ScrollArrows()->Visible()) << "the tabs overflow";
    ASSERT_EQ(tabs->HookedUpDown(), tabs->ScrollArrows()->Handle());
    EXPECT_EQ(tabs->HotTab(), -1);

    MoveTo(tabs, Middle(tabs->TabRect(2)));
    EXPECT_EQ(tabs->HotTab(), 2);
    theme->calls.clear();
    MoveTo(tabs, Middle(tabs->TabRect(3)));
    EXPECT_EQ(tabs->HotTab(), 3);
    // Drawn at once, every tab in sight, without waiting for a paint.
    EXPECT_EQ(StateOf(theme, tabs, 3), ktidsHot);
    EXPECT_EQ(StateOf(theme, tabs, 2), ktidsNormal);
    EXPECT_EQ(StateOf(theme, tabs, 0), ktidsActive);

    TUpDown* upDown = tabs->ScrollArrows();
    MoveTo(upDown, TPoint{upDown->ClientWidth() - 2, upDown->ClientHeight() / 2});
    EXPECT_EQ(tabs->HotTab(), -1);
    EXPECT_EQ(LastState(theme, ksbcRight), ksbdsHot);

    // Back over a tab the arrows lose their hot half; off the control nothing stays hot,
    // not even the first tab at the control's corner.
    MoveTo(tabs, Middle(tabs->TabRect(0)));
    EXPECT_EQ(tabs->HotTab(), 0);
    EXPECT_EQ(LastState(theme, ksbcRight), ksbdsNormal);
    MoveTo(Form(), TPoint{390, 290});
    EXPECT_EQ(tabs->HotTab(), -1);
}

TEST_F(NativeTabsTest, PressedArrowScrollsTheTabsNativelyAndRepaints) {
    auto* theme = UseTabTheme();
    TTeSTabControl* tabs = MakeTabs(12, 200);
    TUpDown* upDown = tabs->ScrollArrows();
    const TPoint right{upDown->ClientWidth() - 2, upDown->ClientHeight() / 2};
    theme->calls.clear();
    Down(upDown, right);
    EXPECT_EQ(LastState(theme, ksbcRight), ksbdsPressed);
    EXPECT_EQ(LastState(theme, ksbcLeft), ksbdsNormal);
    theme->calls.clear();
    Up(upDown, right);
    EXPECT_EQ(tabs->FirstVisibleTab(), 1);
    EXPECT_NE(LastState(theme, ksbcRight), ksbdsPressed);
    EXPECT_FALSE(theme->CallsOf("TabDraw").empty()) << "the scrolled strip was painted again";
    for (const TNativeCall& call : theme->CallsOf("ScrollDrawButton"))
        EXPECT_EQ(call.rect.Width(), upDown->ClientWidth() / 2);
}

TEST_F(NativeTabsTest, CurrentTabClassAndContentFollowTheTabPosition) {
    struct Case {
        TTabPosition position;
        TteTabItemClass itemClass;
        bool grown;  // the current tab drawn a pixel larger on every side
    };
    const Case cases[] = {
        {tpTop, ktisTopMiddle, true},
        {tpBottom, ktisBottomMiddle, true},
        {tpLeft, ktisLeftMiddle, false},
        {tpRight, ktisRightMiddle, false},
    };
    auto* theme = UseTabTheme();
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.position));
        TTeSTabControl* tabs = MakeTabs(3, 300);
        tabs->SetTabPosition(c.position);
        tabs->SetTabIndex(1);
        Repaint(theme, tabs);
        const auto items = theme->CallsOf("TabDrawItem");
        ASSERT_EQ(items.size(), 3u);
        // The current tab comes last, over the frame.
        EXPECT_EQ(theme->calls.back().op, "TabDrawText");
        EXPECT_EQ(items.back().state, ktidsActive);
        EXPECT_EQ(items.back().kind, c.itemClass);
        const TRect own = tabs->TabRect(1);
        EXPECT_EQ(items.back().rect, c.grown ? InflatedRect(own, 1, 1) : own);
        const TRect text = theme->CallsOf("TabDrawText").back().rect;
        EXPECT_EQ(Intersect(text, items.back().rect), text) << "the caption stays inside its tab";
        EXPECT_EQ(Middle(text).x, Middle(items.back().rect).x);
        delete tabs;
    }
}

// Two images for four tabs. Along a wide tab the image goes before the caption; a
// tall side tab reads upwards on the left and downwards on the right.
TEST_F(NativeTabsTest, ImagesOnlyForTabsTheListHasAndOnTheCaptionsStartingSide) {
    TImageList images(Form());
    images.SetSize(16, 16);
    for (int i = 0; i < 2; ++i) {
        TBitmap picture;
        picture.SetSize(16, 16);
        images.Add(&picture, nullptr);
    }
    struct Case {
        TTabPosition position;
        int tabWidth, tabHeight;  // 0: the control's own measure
        // The glyph's side of the text.
        bool (*placed)(const TRect& glyph, const TRect& text);
    };
    static bool (*const before)(const TRect&, const TRect&) = [](const TRect& g, const TRect& t) {
        return g.right + 3 == t.left && g.Width() == 16;
    };
    const Case cases[] = {
        {tpTop, 0, 0, before},
        {tpLeft, 0, 0, before},
        {tpLeft, 24, 90,
         [](const TRect& g, const TRect& t) { return t.bottom + 3 == g.top && g.Height() == 16; }},
        {tpRight, 24, 90,
         [](const TRect& g, const TRect& t) { return g.bottom + 3 == t.top && g.Height() == 16; }},
    };
    auto* theme = UseTabTheme();
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.position));
        TTeSTabControl* tabs = MakeTabs(4, 300);
        tabs->SetImages(&images);
        tabs->SetTabPosition(c.position);
        tabs->SetTabWidth(c.tabWidth);
        tabs->SetTabHeight(c.tabHeight);
        tabs->SetTabIndex(-1);
        Repaint(theme, tabs);
        const auto glyphs = theme->CallsOf("TabDrawGlyph");
        const auto texts = theme->CallsOf("TabDrawText");
        ASSERT_EQ(glyphs.size(), 2u);
        ASSERT_EQ(texts.size(), 4u);
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(tabs->TabRect(i).Contains(Middle(glyphs[static_cast<size_t>(i)].rect)));
            EXPECT_TRUE(c.placed(glyphs[static_cast<size_t>(i)].rect, texts[static_cast<size_t>(i)].rect));
        }
        delete tabs;
    }
}

TEST_F(NativeTabsTest, ReleasedThemeGivesBackTheNativeLookAndUpDown) {
    TTeSTabControl* tabs = MakeTabs(12, 200);
    EXPECT_EQ(tabs->HookedUpDown(), nullptr) << "no theme, nothing hooked";
    auto* theme = UseTabTheme();
    EXPECT_EQ(tabs->HookedUpDown(), tabs->ScrollArrows()->Handle());
    Repaint(theme, tabs);
    EXPECT_EQ(theme->CallsOf("TabDraw").size(), 1u);
    ReleaseTheme();
    ui_.RunUntilIdle();
    EXPECT_EQ(tabs->HookedUpDown(), nullptr);
    EXPECT_EQ(tabs->HotTab(), -1);
}

TEST_F(NativeTabsTest, SheetPaintsThePageInItsPageControlsObject) {
    auto* theme = UseTabTheme();
    auto* pages = Make<TTeSPageControl>(10, 10);
    pages->SetBounds(10, 10, 300, 200);
    pages->SetThemeObject("pages");
    auto* sheet = new TTeSTabSheet(pages);
    sheet->SetPageControl(pages);
    sheet->SetCaption("One");
    pages->SetActivePage(sheet);
    ui_.RunUntilIdle();
    Repaint(theme, sheet);
    const auto frames = theme->CallsOf("TabDraw");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].object, "pages");
    EXPECT_EQ(frames[0].rect, InflatedRect(sheet->ClientRect(), 4, 4));
    pages->SetShowCloseButtons(true);
    EXPECT_TRUE(pages->ShowCloseButtons());
}

// What a transparent child sees behind it: the themed page frame, or the
// parent's colour without the Tab element.
TEST_F(NativeTabsTest, TransparentChildrenShowThePageBehindThem) {
    RegisterNativeTabBackgrounds();
    TTeSTabControl* tabs = MakeTabs(3, 300);
    tabs->SetThemeObject("strip");
    tabs->SetColor(TColor(0x123456));
    auto* pages = Make<TTeSPageControl>(10, 140);
    auto* sheet = new TTeSTabSheet(pages);
    sheet->SetPageControl(pages);
    sheet->SetColor(TColor(0x654321));
    pages->SetActivePage(sheet);
    struct Case {
        TWinControl* parent;
        const char* object;  // the frame's object; null: filled with the colour
        TRect (*frame)(TWinControl*);
        uint32_t color;
    };
    const Case cases[] = {
        {tabs, "strip", [](TWinControl* c) { return static_cast<TTeSTabControl*>(c)->PageFrameRect(); },
         0x123456},
        {sheet, "default", [](TWinControl* c) { return InflatedRect(c->ClientRect(), 4, 4); }, 0x654321},
    };
    for (bool themed : {false, true}) {
        TTabRecordingTheme* theme = themed ? UseTabTheme() : nullptr;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.color);
            auto* child = new TPanel(c.parent);
            child->SetParent(c.parent);
            child->SetBounds(20, 40, 30, 30);
            TBitmap picture;
            picture.SetSize(30, 30);
            DrawControlBackground(child, *picture.Canvas());
            if (themed) {
                ASSERT_FALSE(theme->CallsOf("TabDraw").empty());
                const TNativeCall frame = theme->CallsOf("TabDraw").back();
                EXPECT_EQ(frame.object, c.object);
                EXPECT_EQ(frame.rect, c.frame(c.parent));
                theme->calls.clear();
            } else {
                EXPECT_EQ(picture.Canvas()->Pixels(5, 5) & 0xFFFFFF, c.color);
            }
            delete child;
        }
    }
}

}  // namespace
}  // namespace tarvel
