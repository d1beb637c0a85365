// The tool logs every reply and refreshes whole grids: filling and
// repainting a 64x40 grid and appending coloured lines to a rich edit must
// stay fast.

#include <benchmark/benchmark.h>

#include "platform/classlib/ComCtrls_RichEdit.h"
#include "platform/classlib/Grids.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

void FillAndRepaintGrid(benchmark::State& state) {
    TUiDriver ui;
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 1000, 700);
    auto* grid = new TStringGrid(form);
    grid->SetParent(form);
    grid->SetAlign(alClient);
    grid->SetColCount(64);
    grid->SetRowCount(40);
    form->Show();
    ui.RunUntilIdle();
    int round = 0;
    for (auto _ : state) {
        ++round;
        for (int r = 0; r < 40; ++r)
            for (int c = 0; c < 64; ++c) grid->SetCells(c, r, IntToStr(r * 64 + c + round));
        grid->Repaint();
    }
    delete form;
}
BENCHMARK(FillAndRepaintGrid)->Unit(benchmark::kMillisecond);

void AppendColouredLines(benchmark::State& state) {
    TUiDriver ui;
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 600, 400);
    auto* log = new TRichEdit(form);
    log->SetParent(form);
    log->SetAlign(alClient);
    log->SetReadOnly(true);
    log->SetScrollBars(ssVertical);
    form->Show();
    ui.RunUntilIdle();
    for (auto _ : state) {
        log->Clear();
        for (int i = 0; i < 10000; ++i) {
            log->SetSelStart(log->GetTextLen());
            log->SelAttributes()->SetColor(i % 2 ? clRed : TColor(0x008000));
            log->Lines()->Add(
                "\xE3\x80\x90"
                "2026-12-10 12:00:00\xE3\x80\x91 reply 01 03 04 00 64 00 C8 " +
                IntToStr(i));
        }
        log->Repaint();
    }
    delete form;
}
BENCHMARK(AppendColouredLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvel

BENCHMARK_MAIN();
