// Typing into a library-drawn edit that already holds 10,000 characters:
// one key, as the user presses it, including the repaint it causes.

#include <benchmark/benchmark.h>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/core/te_theme_api.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {
namespace {

void BM_TypeIntoLongEdit(benchmark::State& state) {
    TUiDriver ui;
    InitThemeCore();
    InitControlBases();
    InitThemeFlat();
    ChangeTheme("Flat");
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 300, 80);
    auto* edit = new TTeEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 250, 21);
    form->Show();
    edit->SetFocus();
    edit->SetText(String(10000, 'x'));
    ui.PressKey(VK_END);
    int typed = 0;
    for (auto _ : state) {
        // Type one character, and every so often take the run back out so
        // the text stays near 10,000 characters.
        if (++typed % 64 == 0) {
            state.PauseTiming();
            edit->SetText(String(10000, 'x'));
            ui.PressKey(VK_END);
            state.ResumeTiming();
        }
        ui.Type("a");
    }
    state.counters["chars"] = static_cast<double>(edit->WideText().size());
    delete form;
    DoneControlBases();
    DoneThemeCore();
}
BENCHMARK(BM_TypeIntoLongEdit)->Unit(benchmark::kMicrosecond);

// Filling a combo box with 1,000 items one by one, as a form fills its
// choices at start, and painting it once afterwards.
void BM_FillComboWithThousandItems(benchmark::State& state) {
    TUiDriver ui;
    InitThemeCore();
    InitControlBases();
    InitThemeFlat();
    ChangeTheme("Flat");
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 300, 80);
    auto* combo = new TTeComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(10, 10, 200, 21);
    form->Show();
    ui.RunUntilIdle();
    std::vector<String> texts;
    for (int i = 0; i < 1000; ++i) texts.push_back("Module " + IntToStr(i));
    for (auto _ : state) {
        combo->Clear();
        for (const String& t : texts) combo->Items()->Add(t);
        combo->SetItemIndex(500);
        ui.RunUntilIdle();
    }
    state.counters["items"] = combo->Count();
    delete form;
    DoneControlBases();
    DoneThemeCore();
}
BENCHMARK(BM_FillComboWithThousandItems)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarvel
