// Repainting a form of 100 double-buffered skinned controls, each drawing a
// translucent skin piece over its face: the time of one repaint and the
// memory allocations it makes once the first paint has set everything up.
#include <benchmark/benchmark.h>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "tests/skin/core/RepaintFixture.h"

namespace tarvel {
namespace {

using testing::allocations;
using testing::TSkinPiece;

void BM_RepaintSkinnedForm(benchmark::State& state) {
    TUiDriver ui;
    InitThemeCore();
    InitControlBases();
    TteBitmap piece;
    testing::MakeSkinPiece(piece, 24);

    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 1000, 500);
    for (int i = 0; i < 100; ++i) {
        auto* control = new TSkinPiece(form, piece);
        control->SetBounds((i % 10) * 98 + 4, (i / 10) * 48 + 4, 94, 44);
        control->SetParent(form);
    }
    form->Show();
    ui.RunUntilIdle();
    auto repaint = [&] {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    repaint();  // the first paint sets everything up

    size_t counted = 0;
    const size_t paintsBefore = TSkinPiece::paints;
    for (auto _ : state) {
        const size_t before = allocations;
        repaint();
        counted += allocations - before;
    }
    const double rounds = static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.counters["allocs_per_repaint"] = static_cast<double>(counted) / rounds;
    state.counters["controls_painted"] = static_cast<double>(TSkinPiece::paints - paintsBefore) / rounds;
    delete form;
    DoneControlBases();
    DoneThemeCore();
}
BENCHMARK(BM_RepaintSkinnedForm)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvel
