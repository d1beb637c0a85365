// The simple tool bar: where its client area lies with and without a skin,
// and the face its transparent children show.

#include <gtest/gtest.h>

#include "ExtraSkinFixture.h"
#include "skin/core/te_theme_api.h"
#include "skin/extras/te_extended.h"
#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;

constexpr TColor kBarColor = TColor(0x2060C0);

class SimpleToolBarTest : public SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        RegisterSimpleToolBarBackground();
    }
    TTeSimpleToolBar* MakeBar() {
        auto* bar = Make<TTeSimpleToolBar>(0, 0);
        bar->SetBounds(0, 0, 200, 29);
        return bar;
    }
    static uint32_t Rgb(TColor color) {
        const uint32_t bgr = ColorToRGB(color);
        return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    }
};

TEST_F(SimpleToolBarTest, WithoutAThemeTheGripAndTheBorderTakeTheEdges) {
    struct Case {
        int border;
        TRect client;
    };
    const Case cases[] = {
        {2, TRect{11, 5, 198, 24}},
        {0, TRect{9, 3, 200, 26}},
        {5, TRect{14, 8, 195, 21}},
    };
    auto* bar = MakeBar();
    EXPECT_EQ(bar->BorderWidth(), 2);
    EXPECT_EQ(bar->Color(), clBtnFace);
    EXPECT_TRUE(bar->ControlStyle.Contains(csAcceptsControls));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.border);
        bar->SetBorderWidth(c.border);
        EXPECT_EQ(bar->ClientRect(), c.client);
    }
    EXPECT_EQ(bar->ToolObjectName(), "");
}

TEST_F(SimpleToolBarTest, ASkinsControlBarFrameAndGrabberShrinkTheClientArea) {
    struct Case {
        bool asControlBar;
        bool alignWithTheme;
        TRect client;
    };
    // Frame margins 3, 2, 4, 1 and a grabber 6 wide, plus the border of 2.
    const Case cases[] = {
        {true, true, TRect{11, 4, 194, 26}},
        {false, true, TRect{5, 4, 194, 26}},  // no "ToolBar" object: the control bar's frame
        {true, false, TRect{2, 2, 198, 27}},
    };
    TteTheme* skin =
        testing::MakeSkinTheme({{"ControlBar", kBarColor, TRect{0, 0, 60, 29}, TRect{3, 2, 4, 1}, 6}});
    ASSERT_NE(skin, nullptr);
    ChangeTheme(skin);
    ui_.RunUntilIdle();
    auto* bar = MakeBar();
    EXPECT_EQ(bar->ToolObjectName(), "default");
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.asControlBar << c.alignWithTheme);
        bar->SetDrawAsControlBar(c.asControlBar);
        bar->SetControlAlignWithClientRect(c.alignWithTheme);
        EXPECT_EQ(bar->ClientRect(), c.client);
    }
}

TEST_F(SimpleToolBarTest, ATransparentChildShowsTheBarsFaceButNotItsSiblings) {
    auto* bar = MakeBar();
    bar->SetColor(kBarColor);
    auto* sibling = new TTeTransparentPanel(form_);
    sibling->SetParent(bar);
    sibling->SetTransparent(false);
    sibling->SetColor(clRed);
    sibling->SetBounds(40, 5, 60, 20);
    auto* child = new TTeTransparentPanel(form_);
    child->SetParent(bar);
    child->SetBounds(40, 5, 30, 20);
    ui_.RunUntilIdle();
    // Over the sibling's place the child still shows only the bar itself.
    EXPECT_EQ(ShownAt(child, 10, 10), Rgb(kBarColor));
}

}  // namespace
}  // namespace tarvel
