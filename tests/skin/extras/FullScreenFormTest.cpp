// The full-screen frame: maximized once loaded, over the work area or, with
// FullScreen on, over the whole monitor with its border off screen.

#include "skin/extras/te_extended_fullscreen.h"

#include "tests/skin/forms/FrameFixture.h"

namespace tarvel::testing {
namespace {

class FullScreenFormTest : public FrameTest {};

TEST_F(FullScreenFormTest, StartsMaximizedOverTheWorkAreaOrTheWholeMonitor) {
    struct Case {
        bool fullScreen;
        bool coversTaskBar;
    };
    const Case cases[] = {{false, false}, {true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fullScreen);
        auto* frame =
            MakeForm<TTeFullScreenForm>(false, TTeBorderIcons{kbiClose, kbiMaximize}, TSize{400, 300},
                                        [&](TTeFullScreenForm* f) { f->SetFullScreen(c.fullScreen); });
        ui_.RunUntilIdle();
        const TRect area = c.fullScreen ? TRect{0, 0, tarvel::Screen->Width(), tarvel::Screen->Height()}
                                        : tarvel::Screen->WorkAreaRect();
        const int b = frame->GetClientBounds().left;
        ASSERT_GT(b, 0);
        const TRect expected{area.left - b, area.top - b, area.right + b, area.bottom + b};
        EXPECT_EQ(frame->WindowState(), kwsMaximized);
        EXPECT_EQ(frame->GetMaximizedRect(), expected);
        EXPECT_EQ(Bounds(), expected);
        // The headless screen keeps a task bar along its bottom.
        EXPECT_EQ(Bounds().bottom - b >= tarvel::Screen->Height(), c.coversTaskBar);
        delete form_;
        form_ = nullptr;
        ui_.RunUntilIdle();
    }
}

TEST_F(FullScreenFormTest, WithoutAFormTheScreenIsTheMaximizedRect) {
    TComponent owner(nullptr);
    TTeFullScreenForm frame(&owner);
    frame.SetFullScreen(false);
    EXPECT_EQ(frame.GetMaximizedRect(), (TRect{0, 0, tarvel::Screen->Width(), tarvel::Screen->Height()}));
}

}  // namespace
}  // namespace tarvel::testing
