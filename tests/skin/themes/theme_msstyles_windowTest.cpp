// The visual-style theme's window frame against a test container: client,
// button and title rectangles from the metrics, the frame parts and their
// state, the region from the parts' pixels, the caption's shadow.
#include <gtest/gtest.h>

#include "MsStylesFixture.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel::testing {
namespace {

using MsStylesWindowTest = MsStylesTest;

constexpr TRect kWindow{0, 0, 300, 200};

TteWindowInfo Window(TteWindowButtons buttons, bool active = true, TRect clip = NullRect) {
    return WindowInfo(kWindow, active ? TteWindowDrawStates{kwdsActive} : TteWindowDrawStates{}, clip,
                      buttons, u"Caption", false);
}

TEST_F(MsStylesWindowTest, ClientRectanglesFollowTheMetrics) {
    Load();
    EXPECT_EQ(theme.WindowGetClientRect(kwscStandard, kWindow, "default"), (TRect{4, 29, 296, 196}));
    EXPECT_EQ(theme.WindowGetClientRect(kwscDialog, kWindow, "default"), (TRect{4, 29, 296, 196}));
    EXPECT_EQ(theme.WindowGetClientRect(kwscToolWindow, kWindow, "default"), (TRect{3, 20, 297, 197}));
    EXPECT_EQ(theme.WindowGetClientRect(kwscBorder, kWindow, "default"), kWindow);
    EXPECT_TRUE(theme.IsWindowDefined(kwscStandard, "default"));
    EXPECT_TRUE(theme.IsWindowDefined(kwscToolWindow, "default"));
    TTeThemeMsStyles empty;
    EXPECT_FALSE(empty.IsWindowDefined(kwscStandard, "default"));
}

TEST_F(MsStylesWindowTest, CaptionButtonsStandInSquaresFromTheRight) {
    Load();
    // Standard: s = 25 - 4 = 21; the close square ends 5 left of the edge; each step is s + 2.
    const TteWindowButtons all{kwbSysMenu, kwbClose, kwbMax, kwbMin, kwbHelp};
    const struct {
        TteWindowSubclass s;
        TteWindowButtons buttons;
        TteWindowButtonClass button;
        TRect rect;
    } cases[] = {
        {kwscStandard, all, kwbClose, {274, 5, 295, 26}},
        {kwscStandard, all, kwbMax, {251, 5, 272, 26}},
        {kwscStandard, all, kwbMin, {228, 5, 249, 26}},  // two steps left of close
        {kwscStandard, all, kwbHelp, {205, 5, 226, 26}},
        {kwscStandard, {kwbClose, kwbMaxRestore, kwbMinRestore}, kwbMinRestore, {228, 5, 249, 26}},
        {kwscStandard, {kwbClose, kwbMin}, kwbMin, {251, 5, 272, 26}},
        {kwscStandard, {kwbClose}, kwbHelp, NullRect},
        {kwscStandard, {kwbMax}, kwbClose, NullRect},
        {kwscStandard, all, kwbSysMenu, {4, 5, 25, 26}},
        {kwscStandard, all, kwbTray, NullRect},
        // Tool: s = 17 - 2 = 15, only the close button.
        {kwscToolWindow, all, kwbClose, {281, 4, 296, 19}},
        {kwscToolWindow, all, kwbMax, NullRect},
        {kwscToolWindow, all, kwbSysMenu, NullRect},
        {kwscBorder, all, kwbClose, NullRect},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.s) << " button " << int(c.button));
        EXPECT_EQ(theme.WindowGetButtonRect(c.s, Window(c.buttons), c.button, "default"), c.rect);
    }
}

TEST_F(MsStylesWindowTest, TheTitleTakesTheCaptionMarginsAndMakesRoomForTheSystemMenu) {
    const struct {
        const char* caption;
        TteWindowSubclass s;
        TteWindowButtons buttons;
        TRect title;
    } cases[] = {
        {"", kwscStandard, {kwbClose}, {4, 4, 296, 29}},
        {"", kwscStandard, {kwbSysMenu}, {29, 4, 296, 29}},
        {"captionmargins=10, 20, 0, 0\r\n", kwscStandard, {kwbClose}, {14, 4, 276, 29}},
        {"captionmargins=10, 20, 0, 0\r\n", kwscStandard, {kwbSysMenu}, {39, 4, 276, 29}},
        {"", kwscToolWindow, {kwbSysMenu}, {3, 3, 297, 20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Load(StripStyle() + "[Window.Caption]\r\n" + c.caption);
        EXPECT_EQ(theme.WindowGetTitleRect(c.s, Window(c.buttons), "default"), c.title);
    }
}

TEST_F(MsStylesWindowTest, TheCaptionBandHitsAsCaption) {
    Load();
    const TteWindowInfo info = Window({kwbClose});
    EXPECT_EQ(theme.WindowGetHitTest(kwscStandard, info, 150, 10, "default"), kwhtCaption);
    EXPECT_EQ(theme.WindowGetHitTest(kwscStandard, info, 150, 1, "default"), kwhtTop);
    EXPECT_EQ(theme.WindowGetHitTest(kwscStandard, info, 150, 100, "default"), kwhtClient);
    EXPECT_EQ(theme.WindowGetHitTest(kwscStandard, info, 1, 100, "default"), kwhtLeft);
}

TEST_F(MsStylesWindowTest, TheFrameIsDrawnFromItsPartsInTheWindowsState) {
    Load();
    for (bool active : {true, false}) {
        SCOPED_TRACE(active);
        TPaper paper(300, 200);
        theme.WindowDraw(kwscStandard, paper.canvas, Window({}, active), "default");
        const int state = active ? 1 : 2;
        EXPECT_EQ(StateOf(paper.bitmap.GetPixel(150, 10)), state);   // caption
        EXPECT_EQ(StateOf(paper.bitmap.GetPixel(1, 100)), state);    // left
        EXPECT_EQ(StateOf(paper.bitmap.GetPixel(298, 100)), state);  // right
        EXPECT_EQ(StateOf(paper.bitmap.GetPixel(150, 198)), state);  // bottom
        EXPECT_EQ(paper.At(150, 100), 0xFFFFFFu);                    // the client is left alone
    }
    // A clip below the top leaves the caption out.
    TPaper paper(300, 200);
    theme.WindowDraw(kwscStandard, paper.canvas, Window({}, true, TRect{0, 50, 300, 200}), "default");
    EXPECT_EQ(paper.At(150, 10), 0xFFFFFFu);
    EXPECT_EQ(StateOf(paper.bitmap.GetPixel(1, 100)), 1);
}

TEST_F(MsStylesWindowTest, CaptionButtonsDrawTheirOwnObjects) {
    Load();
    const struct {
        TteWindowSubclass s;
        TteWindowButtonClass button;
        TteWindowButtonDrawState state;
        int index;  // 0: nothing
    } cases[] = {
        {kwscStandard, kwbClose, kwbdsNormal, 1},   {kwscStandard, kwbClose, kwbdsHot, 2},
        {kwscStandard, kwbMax, kwbdsPressed, 3},    {kwscStandard, kwbMin, kwbdsInactive, 4},
        {kwscStandard, kwbMaxRestore, kwbdsHot, 2}, {kwscStandard, kwbRollRestore, kwbdsNormal, 1},
        {kwscStandard, kwbTray, kwbdsNormal, 0},    {kwscToolWindow, kwbClose, kwbdsPressed, 3},
        {kwscToolWindow, kwbMax, kwbdsNormal, 0},   {kwscMessage, kwbClose, kwbdsNormal, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.s) << " button " << int(c.button));
        TPaper paper(20, 20);
        theme.WindowDrawButton(c.s, paper.canvas,
                               WindowButtonInfo({0, 0, 20, 20}, c.button, c.state, nullptr), "default");
        EXPECT_EQ(StateOf(paper.bitmap.GetPixel(10, 10)), c.index);
        if (c.index == 0) {
            EXPECT_FALSE(paper.Ink());
        }
    }
}

TEST_F(MsStylesWindowTest, TheRegionLeavesOutTheKeyColouredPixelsOfTheParts) {
    // A caption whose left column of four is magenta: the key colour, stretched to a quarter.
    const TStyleImage caption = TStyleImage::Paint(
        "CAPTION_BMP", 4, 4, [](int x, int) { return x == 0 ? 0xFFFF00FFu : 0xFF336699u; });
    Load(StripStyle("[Window.Caption]\r\nimagefile=caption.bmp\r\n", {"Window.Caption"}),
         {StateStrip(), caption});
    HRGN region = theme.WindowGetRegion(kwscStandard, kWindow, "default");
    ASSERT_TRUE(region);
    EXPECT_FALSE(PtInRegion(region, 10, 10));   // keyed caption
    EXPECT_TRUE(PtInRegion(region, 200, 10));   // caption
    EXPECT_TRUE(PtInRegion(region, 150, 100));  // client
    EXPECT_TRUE(PtInRegion(region, 1, 100));    // left frame
    EXPECT_TRUE(PtInRegion(region, 150, 198));  // bottom frame
    EXPECT_FALSE(PtInRegion(region, 150, 200));
    DeleteObject(region);
    EXPECT_FALSE(theme.WindowGetRegion(kwscStandard, TRect{0, 0, 0, 10}, "default"));
}

TEST_F(MsStylesWindowTest, AnActiveCaptionCastsItsShadow) {
    Load(
        StripStyle() +
        "[Window.Caption]\r\ntextshadowcolor=255 0 0\r\n[Window.Caption(Active)]\r\ntextshadowtype=single\r\n"
        "textshadowoffset=2 2\r\n[SysMetrics]\r\nCaptionText=0 0 255\r\n");
    const auto colours = [&](bool active) {
        TPaper paper(300, 40);
        const TteWindowInfo info = Window({kwbClose}, active);
        theme.WindowDrawText(kwscStandard, paper.canvas, info, TRect{10, 5, 290, 30}, "default");
        int red = 0, blue = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 300; ++x) {
                red += paper.At(x, y) == 0xFF0000u;
                blue += paper.At(x, y) == 0x0000FFu;
            }
        return std::pair{red, blue};
    };
    const auto [activeRed, activeBlue] = colours(true);
    EXPECT_GT(activeRed, 0);
    EXPECT_GT(activeBlue, 0);
    EXPECT_EQ(colours(false).first, 0);
}

}  // namespace
}  // namespace tarvel::testing
