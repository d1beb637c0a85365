// Repainting a form of 100 skinned push buttons and labels in the flat theme.

#include <benchmark/benchmark.h>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_label.h"
#include "skin/core/te_theme_api.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {
namespace {

// Half buttons, half labels, ten to a row.
void BM_RepaintHundredButtonsAndLabels(benchmark::State& state) {
    TUiDriver ui;
    InitThemeCore();
    InitControlBases();
    InitThemeFlat();
    ChangeTheme("Flat");
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 820, 340);
    for (int i = 0; i < 100; ++i) {
        const int left = 10 + (i % 10) * 80, top = 10 + (i / 10) * 32;
        if (i % 2 == 0) {
            auto* b = new TTeButton(form);
            b->SetParent(form);
            b->SetBounds(left, top, 75, 25);
            b->SetCaption(u"Button");
        } else {
            auto* l = new TTeLabel(form);
            l->SetParent(form);
            l->SetBounds(left, top + 4, 75, 17);
            l->SetCaption(u"Label text");
        }
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
BENCHMARK(BM_RepaintHundredButtonsAndLabels)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvel
