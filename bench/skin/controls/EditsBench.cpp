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

// The flat theme and a shown form holding one control of type T.
template <class T>
struct TBenchForm {
    TUiDriver ui;
    TForm* form = nullptr;
    T* control = nullptr;
    explicit TBenchForm(int width) {
        InitThemeCore();
        InitControlBases();
        InitThemeFlat();
        ChangeTheme("Flat");
        form = new TForm(Application);
        form->SetBounds(0, 0, 300, 80);
        control = new T(form);
        control->SetParent(form);
        control->SetBounds(10, 10, width, 21);
        form->Show();
    }
    ~TBenchForm() {
        delete form;
        DoneControlBases();
        DoneThemeCore();
    }
};

void BM_TypeIntoLongEdit(benchmark::State& state) {
    TBenchForm<TTeEdit> bench(250);
    TUiDriver& ui = bench.ui;
    TTeEdit* edit = bench.control;
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
}
BENCHMARK(BM_TypeIntoLongEdit)->Unit(benchmark::kMicrosecond);

// Filling a combo box with 1,000 items one by one, as a form fills its
// choices at start, and painting it once afterwards.
void BM_FillComboWithThousandItems(benchmark::State& state) {
    TBenchForm<TTeComboBox> bench(200);
    TTeComboBox* combo = bench.control;
    bench.ui.RunUntilIdle();
    std::vector<String> texts;
    for (int i = 0; i < 1000; ++i) texts.push_back("Module " + IntToStr(i));
    for (auto _ : state) {
        combo->Clear();
        for (const String& t : texts) combo->Items()->Add(t);
        combo->SetItemIndex(500);
        bench.ui.RunUntilIdle();
    }
    state.counters["items"] = combo->Count();
}
BENCHMARK(BM_FillComboWithThousandItems)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarvel
