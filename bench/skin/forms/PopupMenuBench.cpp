// Opening a 20-entry skinned popup menu until its window has painted once:
// what a right click on one of the tool's grids costs before the user sees
// the menu. The clock stops at the first paint; closing is not counted.
#include <benchmark/benchmark.h>

#include <chrono>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/PaintApi.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/forms/te_forms_menuview.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"

using namespace tarvel;

namespace {

void BM_PopupMenu20ToFirstPaint(benchmark::State& state) {
    TUiDriver ui(TSize{1600, 1000});
    InitThemeCore();
    InitThemeFlat();
    InitControlBases();
    InitForms();
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 800, 600);
    form->Show();
    ui.RunUntilIdle();
    auto* menu = new TTePopupMenu(form);
    for (int i = 0; i < 20; ++i) {
        auto* item = new TTeItem(form);
        item->SetCaption(Utf8ToWide("Entry number " + std::to_string(i + 1)));
        menu->Items()->Add(item);
    }
    using Clock = std::chrono::steady_clock;
    Clock::time_point start;
    Application->OnIdle = [&](TObject*, bool&) {
        TTeItemView* view = OutermostMenuView();
        if (!view) return;
        UpdateWindow(view->CaptureControl->Handle());
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        ReleaseCapture();  // the menu closes
    };
    for (auto _ : state) {
        start = Clock::now();
        menu->Popup(300, 200);
    }
    Application->OnIdle = nullptr;
    delete form;
    ui.RunUntilIdle();
    DoneForms();
    DoneControlBases();
    DoneThemeCore();
}
BENCHMARK(BM_PopupMenu20ToFirstPaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
