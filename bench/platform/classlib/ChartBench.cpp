// The chart's repaint with a long series: 10,000 readings over three days,
// whole and stretched ten times and panned, must stay within a frame (16 ms).

#include <benchmark/benchmark.h>

#include <cmath>

#include "platform/classlib/Chart.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

void RepaintChart(benchmark::State& state) {
    TUiDriver ui;
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 1000, 600);
    auto* chart = new TChart(form);
    chart->SetParent(form);
    chart->SetAlign(alClient);
    chart->SetTitle("BATT");
    chart->LeftAxis().Title = "VALUE（mV）";
    chart->SetLegendVisible(false);
    TChartAxis& bottom = chart->BottomAxis();
    bottom.IsDateTime = true;
    bottom.DateTimeFormat = "YYYY-MM-DD HH:MM";
    bottom.Increment = kDateTimeOneHour;
    bottom.EndPosition = static_cast<double>(state.range(0));
    auto* series = new TLineSeries(form);
    series->SetParentChart(chart);
    const TDateTime first = EncodeDate(2024, 3, 1);
    for (int i = 0; i < 10000; ++i)
        series->AddXY(first + i * 3.0 / 10000, 3600 + 300 * std::sin(i / 500.0) + (i * 7919 % 23));
    form->Show();
    ui.RunUntilIdle();
    chart->SetPanOffset(chart->PlotRect().Width() * 4);
    for (auto _ : state) {
        chart->Invalidate();
        chart->Repaint();
    }
    state.counters["points"] = series->Count();
    delete form;
}
BENCHMARK(RepaintChart)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvel
