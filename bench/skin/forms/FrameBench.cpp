// The skinned frame at the tool's main-window size with the flat theme: a
// full non-client repaint, as the forms paint on every activation, and one
// step of a live drag - moving by the caption and sizing by the corner -
// with the client repaint of an empty form.
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

// A shown, active 1280 x 800 form at (100, 50) with a flat-themed frame.
struct FlatForm {
    TUiDriver ui{TSize{1600, 1000}};
    TForm* form = nullptr;
    TTeForm* frame = nullptr;

    FlatForm() {
        InitThemeCore();
        InitThemeFlat();
        InitControlBases();
        InitForms();
        form = new TForm(Application);
        form->SetCaption("Tarvel BMS Software");
        {
            TLoadingScope scope(form);
            auto* link = new TTeThemeLink(form);
            link->SetThemeBuilding("Flat");
            frame = new TTeForm(form);
            frame->SetThemeLink(link);
            frame->SetPerformance(qvfpDoubleBuffer);
            scope.Finish();
        }
        form->SetBounds(100, 50, 1280, 800);
        form->Show();
        ui.RunUntilIdle();
        SendMessage(form->Handle(), WM_NCACTIVATE, 1, 0);
    }
    ~FlatForm() {
        delete form;
        ui.RunUntilIdle();
        DoneForms();
        DoneControlBases();
        DoneThemeCore();
    }
    // Holds the button down at window point `at`, then moves the mouse one
    // pixel to and fro per step, each step run through the message loop.
    void DragSteps(benchmark::State& state, TPoint at) {
        const TRect w = WindowRect(form->Handle());
        const TPoint start{w.left + at.x, w.top + at.y};
        ui.Backend().MouseMove(start);
        ui.Backend().MouseDown(start);
        ui.RunUntilIdle();
        int step = 0;
        for (auto _ : state) {
            ++step;
            ui.Backend().MouseMove(TPoint{start.x + (step & 1), start.y + (step & 1)});
            ui.RunUntilIdle();
        }
        ui.Backend().MouseUp(start);
        ui.RunUntilIdle();
    }
};

void BM_FrameRepaint1280x800(benchmark::State& state) {
    FlatForm f;
    for (auto _ : state) f.frame->UpdateNonClientArea();
}
BENCHMARK(BM_FrameRepaint1280x800)->Unit(benchmark::kMicrosecond);

void BM_FrameDragMoveStep(benchmark::State& state) {
    FlatForm f;
    f.DragSteps(state, TPoint{400, f.frame->GetClientBounds().top / 2});
}
BENCHMARK(BM_FrameDragMoveStep)->Unit(benchmark::kMicrosecond);

void BM_FrameDragSizeStep(benchmark::State& state) {
    FlatForm f;
    f.DragSteps(state, TPoint{1279, 799});
}
BENCHMARK(BM_FrameDragSizeStep)->Unit(benchmark::kMicrosecond);

}  // namespace
