// Switching a page control between two pages of a hundred skinned controls
// each, up to the repainted page, in the flat theme.

#include <benchmark/benchmark.h>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_label.h"
#include "skin/core/te_theme_api.h"
#include "skin/extctrls/te_extctrls_pages.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {
namespace {

// Half buttons, half labels, ten to a row, on each page.
void FillPage(TTeTabSheet* sheet, TComponent* owner) {
    for (int i = 0; i < 100; ++i) {
        const int left = 8 + (i % 10) * 80, top = 8 + (i / 10) * 32;
        if (i % 2 == 0) {
            auto* b = new TTeButton(owner);
            b->SetParent(sheet);
            b->SetBounds(left, top, 75, 25);
            b->SetCaption(u"Button");
        } else {
            auto* l = new TTeLabel(owner);
            l->SetParent(sheet);
            l->SetBounds(left, top + 4, 75, 17);
            l->SetCaption(u"Label text");
        }
    }
}

void BM_SwitchBetweenTwoFullPages(benchmark::State& state) {
    TUiDriver ui;
    InitThemeCore();
    InitControlBases();
    InitThemeFlat();
    ChangeTheme("Flat");
    RegisterTabSheetBackground();
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 840, 400);
    auto* pages = new TTePageControl(form);
    pages->SetParent(form);
    pages->SetAlign(alClient);
    TTeTabSheet* sheets[2];
    for (int p = 0; p < 2; ++p) {
        sheets[p] = new TTeTabSheet(form);
        sheets[p]->SetText(p == 0 ? "Cells" : "Parameters");
        sheets[p]->SetTabControl(pages);
        FillPage(sheets[p], form);
    }
    form->Show();
    ui.RunUntilIdle();
    int next = 1;
    for (auto _ : state) {
        pages->SetTabIndex(next);
        ui.RunUntilIdle();
        next = 1 - next;
    }
    delete form;
    DoneButtonGlyphs();
    DoneControlBases();
    DoneThemeCore();
}
BENCHMARK(BM_SwitchBetweenTwoFullPages)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvel
