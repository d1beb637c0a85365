// What the SDL windows show is the back buffer, pixel for pixel the same as
// the headless display shows for the same window tree.

#include "tests/platform/winsys/sdl/SdlFixture.h"

namespace tarvel {
namespace {

class SdlPixels : public SdlTest {
public:
    static void SetUpTestSuite() { headless_ = HeadlessTreePixels().release(); }
    static void TearDownTestSuite() {
        delete headless_;
        headless_ = nullptr;
    }

protected:
    static Surface* headless_;
};
Surface* SdlPixels::headless_ = nullptr;

TEST_F(SdlPixels, TheSameTreeShowsTheSamePixelsAsHeadless) {
    WindowTree tree;
    tree.Build(*probe);
    PumpFor(50);
    std::unique_ptr<Surface> shown = backend->WindowPixels(tree.form);
    EXPECT_TRUE(SamePixels(shown.get(), headless_));
}

TEST_F(SdlPixels, APaintedChildIsPresentedAgain) {
    WindowTree tree;
    tree.Build(*probe);
    PumpFor(50);
    SetWindowLongPtr(tree.side, GWL_USERDATA, RGB(10, 200, 30));
    InvalidateRect(tree.side, nullptr, true);
    PumpFor(50);
    std::unique_ptr<Surface> shown = backend->WindowPixels(tree.form);
    ASSERT_TRUE(shown);
    TPoint p = OnScreen(tree.side, TPoint{2, 40});
    TRect r = WindowRect(tree.form);
    EXPECT_EQ(shown->Pixel(p.x - r.left, p.y - r.top) & 0xFFFFFF, 0x0AC81Eu);
}

}  // namespace
}  // namespace tarvel
