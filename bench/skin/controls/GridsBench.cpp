// Scrolling a skinned 1,000-row grid by one page through its skinned bar,
// repaint included; and appending 10,000 coloured lines to a skinned log.

#include <benchmark/benchmark.h>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/controls/te_controls_grids.h"
#include "skin/controls/te_controls_memo.h"
#include "skin/core/te_theme_api.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {
namespace {

struct TWrappedBench {
    TUiDriver ui;
    TForm* form = nullptr;
    TWrappedBench() {
        InitThemeCore();
        InitControlBases();
        InitThemeFlat();
        ChangeTheme("Flat");
        form = new TForm(Application);
        form->SetBounds(0, 0, 640, 480);
        form->Show();
    }
    ~TWrappedBench() {
        delete form;
        DoneControlBases();
        DoneThemeCore();
    }
};

void BM_PageDownThroughTheSkinnedBar(benchmark::State& state) {
    TWrappedBench bench;
    auto* grid = new TTeStringGrid(bench.form);
    grid->SetParent(bench.form);
    grid->SetBounds(10, 10, 600, 400);
    grid->SetColCount(8);
    grid->SetRowCount(1000);
    for (int r = 0; r < 1000; ++r)
        for (int c = 0; c < 8; ++c) grid->SetCells(c, r, IntToStr(r * 8 + c));
    bench.ui.RunUntilIdle();
    TTeScrollBar* bar = grid->SubScrollBar()->VertBar()->ScrollBar();
    for (auto _ : state) {
        int pos = bar->Position() + bar->PageSize();
        TTeScrollCode code = kscPageDown;
        if (grid->TopRow() >= 1000 - grid->VisibleRowCount()) {
            code = kscTop;
            pos = 0;
        }
        if (bar->OnScroll) bar->OnScroll(bar, code, pos);
        bar->SetPosition(pos);
        bench.ui.RunUntilIdle();
    }
    state.counters["topRow"] = grid->TopRow();
}
BENCHMARK(BM_PageDownThroughTheSkinnedBar)->Unit(benchmark::kMillisecond);

void BM_AppendTenThousandColouredLines(benchmark::State& state) {
    TWrappedBench bench;
    const TColor colors[] = {clBlack, clRed, clGreen, clBlue};
    for (auto _ : state) {
        auto* log = new TTeRichEdit(bench.form);
        log->SetParent(bench.form);
        log->SetBounds(10, 10, 600, 300);
        log->SetReadOnly(true);
        log->SetScrollBars(ssVertical);
        for (int i = 0; i < 10000; ++i) {
            log->SelAttributes()->SetColor(colors[i % 4]);
            log->AddLine("reply " + IntToStr(i) + ": cell voltage 3300 mV");
        }
        bench.ui.RunUntilIdle();
        state.PauseTiming();
        delete log;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendTenThousandColouredLines)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tarvel
