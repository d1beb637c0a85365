// Painting a 1280 x 800 window frame and its client background through the
// skin-file theme, as a skinned form does on every full repaint.

#include <benchmark/benchmark.h>

#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_theme_api.h"
#include "tests/skin/themes/Se3SkinFixture.h"

namespace tarvel {
namespace {

void BM_SkinFileFrameAndClient(benchmark::State& state) {
    TUiDriver ui;
    InitThemeCore();
    InitThemeSkinFile();
    {
        TTeSkinFile theme;
        if (!testing::LoadTestSkin(theme)) {
            state.SkipWithError("the test skin did not load");
            DoneThemeCore();
            return;
        }
        const TRect window{0, 0, 1280, 800};
        testing::TPaper paper(1280, 800);
        const TteWindowInfo info =
            WindowInfo(window, {kwdsActive}, NullRect, {kwbSysMenu, kwbClose, kwbMax, kwbMin},
                       u"Tarvel BMS Software", false);
        for (auto _ : state) {
            theme.WindowDraw(kwscStandard, paper.canvas, info, "default");
            theme.WindowDrawText(kwscStandard, paper.canvas, info,
                                 theme.WindowGetTitleRect(kwscStandard, info, "default"), "default");
            for (TteWindowButtonClass b : {kwbClose, kwbMax, kwbMin})
                theme.WindowDrawButton(
                    kwscStandard, paper.canvas,
                    WindowButtonInfo(theme.WindowGetButtonRect(kwscStandard, info, b, "default"), b,
                                     kwbdsNormal, nullptr),
                    "default");
            theme.WindowDrawClient(kwscStandard, paper.canvas,
                                   theme.WindowGetClientRect(kwscStandard, window, "default"), "default");
            benchmark::DoNotOptimize(paper.bitmap.Bits());
        }
    }
    DoneThemeCore();
}
BENCHMARK(BM_SkinFileFrameAndClient)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvel
