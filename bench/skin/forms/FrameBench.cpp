// A full non-client repaint of a 1280 x 800 skinned window: the frame drawn
// by the flat theme into a fresh buffer and its four strips copied to the
// window, as the tool's forms paint on every activation and drag step.
#include <benchmark/benchmark.h>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"

using namespace tarvel;

namespace {

void BM_FrameRepaint1280x800(benchmark::State& state) {
    TUiDriver ui(TSize{1600, 1000});
    InitThemeCore();
    InitThemeFlat();
    InitControlBases();
    InitForms();
    auto* form = new TForm(Application);
    form->SetCaption("Tarvel BMS Software");
    TTeForm* frame = nullptr;
    {
        TLoadingScope scope(form);
        auto* link = new TTeThemeLink(form);
        link->SetThemeBuilding("Flat");
        frame = new TTeForm(form);
        frame->SetThemeLink(link);
        frame->SetPerformance(qvfpDoubleBuffer);
        scope.Finish();
    }
    form->SetBounds(0, 0, 1280, 800);
    form->Show();
    ui.RunUntilIdle();
    SendMessage(form->Handle(), WM_NCACTIVATE, 1, 0);
    for (auto _ : state) frame->UpdateNonClientArea();
    delete form;
    ui.RunUntilIdle();
    DoneForms();
    DoneControlBases();
    DoneThemeCore();
}
BENCHMARK(BM_FrameRepaint1280x800)->Unit(benchmark::kMicrosecond);

}  // namespace
