// The skin-file theme's window frame: rectangles from the laid-out "Form",
// hit tests by the kind of skin object under the point, and painting.
#include <gtest/gtest.h>

#include "Se3SkinFixture.h"
#include "ThemeFixture.h"

namespace tarvel::testing {
namespace {

class Se3WindowTest : public BuiltInThemeTest {
protected:
    void SetUp() override {
        BuiltInThemeTest::SetUp();
        ASSERT_TRUE(LoadTestSkin(theme));
    }
    TteWindowInfo Info(TteWindowButtons buttons, bool active = true, bool ownBorders = false) const {
        return WindowInfo(kWindow, active ? TteWindowDrawStates{kwdsActive} : TteWindowDrawStates{}, NullRect,
                          buttons, u"Caption", ownBorders);
    }
    static constexpr TRect kWindow{0, 0, 400, 300};
    const TteWindowButtons all{kwbSysMenu, kwbClose, kwbMax, kwbMin, kwbHelp};
    TTeSkinFile theme;
};

TEST_F(Se3WindowTest, RectanglesFollowTheLaidOutForm) {
    EXPECT_EQ(theme.WindowGetClientRect(kwscStandard, kWindow, "default"), (TRect{4, 24, 396, 296}));
    EXPECT_EQ(theme.WindowGetClientRect(kwscToolWindow, kWindow, "default"), (TRect{4, 16, 396, 296}));
    // The drawn frame has its buttons hidden: the title takes the whole caption.
    EXPECT_EQ(theme.WindowGetTitleRect(kwscStandard, Info(all), "default"), (TRect{0, 0, 400, 24}));
    EXPECT_EQ(theme.WindowGetClientRect(kwscMessage, kWindow, "default"),
              TteTheme().WindowGetClientRect(kwscMessage, kWindow, "default"));

    struct Case {
        const char* what;
        TteWindowButtons buttons;
        TteWindowButtonClass button;
        TRect expected;
    };
    const Case cases[] = {
        {"close", all, kwbClose, {378, 4, 394, 20}},
        {"maximise", all, kwbMax, {360, 4, 376, 20}},
        {"minimise", all, kwbMin, {342, 4, 358, 20}},
        {"system menu stays left", all, kwbSysMenu, {0, 0, 16, 24}},
        {"a button not in the set", {kwbClose}, kwbMax, NullRect},
        {"maximised: the restore button", {kwbClose, kwbMaxRestore}, kwbMaxRestore, {360, 4, 376, 20}},
        {"min-restore finds the same button",
         {kwbClose, kwbMaxRestore, kwbMinRestore},
         kwbMinRestore,
         {360, 4, 376, 20}},
        {"no skin object for topmost", {kwbClose, kwbTopmost}, kwbTopmost, NullRect},
    };
    for (const Case& c : cases)
        EXPECT_EQ(theme.WindowGetButtonRect(kwscStandard, Info(c.buttons), c.button, "default"), c.expected)
            << c.what;

    HRGN region = theme.WindowGetRegion(kwscStandard, kWindow, "default");
    ASSERT_NE(region, HRGN{});
    TRect box;
    GetRgnBox(region, &box);
    EXPECT_EQ(box, kWindow);  // an unmasked form stays rectangular
    DeleteObject(region);
    EXPECT_EQ(theme.WindowGetRegion(kwscMessage, kWindow, "default"), HRGN{});
}

TEST_F(Se3WindowTest, HitTestsAnswerByTheSkinObjectUnderThePoint) {
    struct Case {
        const char* what;
        int x, y;
        bool ownBorders;
        TteWindowHitTest expected;
    };
    const Case cases[] = {
        {"title", 100, 10, false, kwhtCaption},
        {"close", 385, 10, false, kwhtCloseButton},
        {"maximise", 365, 10, false, kwhtMaxButton},
        {"minimise", 350, 10, false, kwhtMinButton},
        {"help has no row: the base test finds its rectangle", 330, 10, false, kwhtHelpButton},
        {"left border, system borders: the base test", 2, 150, false, kwhtLeft},
        {"left border, own borders", 2, 150, true, kwhtLeft},
        {"bottom border, own borders", 200, 298, true, kwhtBottom},
        {"client, own borders", 200, 150, true, kwhtClient},
    };
    for (const Case& c : cases) {
        const TteWindowInfo info = Info(all, true, c.ownBorders);
        EXPECT_EQ(theme.WindowGetHitTest(kwscStandard, info, c.x, c.y, "default"), c.expected) << c.what;
    }
}

TEST_F(Se3WindowTest, TheFrameIsDrawnWithoutButtonsAndEachButtonByItsState) {
    TPaper paper(400, 300);
    const TteWindowInfo active = Info(all);
    theme.WindowDraw(kwscStandard, paper.canvas, active, "default");
    EXPECT_EQ(paper.At(100, 10), Rgb(skin::kCaptionActive));
    EXPECT_EQ(paper.At(385, 10), Rgb(skin::kCaptionActive));  // no close button in the frame
    EXPECT_EQ(paper.At(1, 150), Rgb(skin::kBorder));
    EXPECT_EQ(paper.At(200, 150), 0xFFFFFFu);  // the client is left to the form
    theme.WindowDrawClient(kwscStandard, paper.canvas,
                           theme.WindowGetClientRect(kwscStandard, kWindow, "default"), "default");
    EXPECT_EQ(paper.At(200, 150), Rgb(skin::kClient));
    theme.WindowDraw(kwscStandard, paper.canvas, Info(all, false), "default");
    EXPECT_EQ(paper.At(100, 10), Rgb(skin::kCaption));

    const TRect close = theme.WindowGetButtonRect(kwscStandard, active, kwbClose, "default");
    struct Case {
        TteWindowButtonDrawState state;
        uint32_t pixel;
    };
    const Case cases[] = {{kwbdsNormal, skin::kGlyphNormal},
                          {kwbdsHot, skin::kGlyphHot},
                          {kwbdsPressed, skin::kGlyphPressed},
                          {kwbdsInactive, skin::kGlyphNormal}};
    for (const Case& c : cases) {
        theme.WindowDrawButton(kwscStandard, paper.canvas,
                               WindowButtonInfo(close, kwbClose, c.state, nullptr), "default");
        EXPECT_EQ(paper.At(close.left + 8, close.top + 8), c.pixel & 0xFFFFFF) << int(c.state);
    }
    TPaper blank(400, 300);
    theme.WindowDrawButton(kwscStandard, blank.canvas,
                           WindowButtonInfo(TRect{}, kwbSysMenu, kwbdsNormal, nullptr), "default");
    EXPECT_FALSE(blank.Ink());
}

TEST_F(Se3WindowTest, TheCaptionShiftsForTheIconOnlyWithASystemMenu) {
    const auto inkFrom = [this](TteWindowButtons buttons) {
        TPaper paper(400, 30);
        paper.bitmap.Clear(0xFF000000);  // the title's font is white
        const TteWindowInfo info = Info(buttons);
        theme.WindowDrawText(kwscStandard, paper.canvas, info,
                             theme.WindowGetTitleRect(kwscStandard, info, "default"), "default");
        for (int x = 0; x < 400; ++x)
            for (int y = 0; y < 30; ++y)
                if (paper.At(x, y) != 0) return x;
        return -1;
    };
    const int plain = inkFrom({kwbClose});
    ASSERT_GE(plain, 0);
    EXPECT_EQ(inkFrom({kwbClose, kwbSysMenu}) - plain, 20);
    // The margin is put back: the same call draws the same way again.
    EXPECT_EQ(inkFrom({kwbClose}), plain);
}

}  // namespace
}  // namespace tarvel::testing
