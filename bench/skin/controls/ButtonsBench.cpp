// Repainting a form of 100 skinned push buttons in the flat theme.

#include <benchmark/benchmark.h>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/controls/te_controls_button.h"
#include "skin/core/te_theme_api.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {
namespace {

void BM_RepaintHundredButtons(benchmark::State& state) {
    TUiDriver ui;
    InitThemeCore();
    InitControlBases();
    InitThemeFlat();
    ChangeTheme("Flat");
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 820, 340);
    for (int i = 0; i < 100; ++i) {
        auto* b = new TTeButton(form);
        b->SetParent(form);
        b->SetBounds(10 + (i % 10) * 80, 10 + (i / 10) * 32, 75, 25);
        b->SetCaption(u"Button");
    }
    form->Show();
    ui.RunUntilIdle();
    for (auto _ : state) {
        for (int i = 0; i < form->ControlCount(); ++i) form->Controls(i)->Invalidate();
        ui.RunUntilIdle();
    }
    delete form;
    DoneButtonGlyphs();
    DoneControlBases();
    DoneThemeCore();
}
BENCHMARK(BM_RepaintHundredButtons)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvel
