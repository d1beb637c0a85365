// Repainting a form of 100 double-buffered skinned controls, each drawing a
// translucent skin piece over its face: the time of one repaint and the
// memory allocations it makes once the first paint has set everything up.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"

namespace {
// Every allocation of the program passes here.
size_t allocations = 0;
size_t paints = 0;
}  // namespace

// Pairs malloc with free on purpose: every operator new here is malloc.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    ++allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace tarvel {
namespace {

// A skinned face: the control's colour with a translucent piece on top.
class TSkinPiece : public TTeControl {
public:
    explicit TSkinPiece(TComponent* owner, const TteBitmap& piece) : TTeControl(owner), piece_(piece) {
        SetPerformance(qvpDoubleBuffer);
    }

protected:
    void PaintBuffer() override {
        ++paints;
        TTeControl::PaintBuffer();
        piece_.Draw(*Canvas(), GetClientRect());
    }

private:
    const TteBitmap& piece_;
};

void BM_RepaintSkinnedForm(benchmark::State& state) {
    TUiDriver ui;
    InitThemeCore();
    InitControlBases();
    TteBitmap piece;
    piece.SetSize(24, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            piece.SetPixel(x, y, (static_cast<uint32_t>((x + y) * 5 + 10) << 24) | 0x3366CC);
    piece.AlphaBlend = true;

    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 1000, 500);
    for (int i = 0; i < 100; ++i) {
        auto* control = new TSkinPiece(form, piece);
        control->SetBounds((i % 10) * 98 + 4, (i / 10) * 48 + 4, 94, 44);
        control->SetParent(form);
    }
    form->Show();
    ui.RunUntilIdle();
    auto repaint = [&] {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    repaint();  // the first paint sets everything up

    size_t counted = 0;
    const size_t paintsBefore = paints;
    for (auto _ : state) {
        const size_t before = allocations;
        repaint();
        counted += allocations - before;
    }
    const double rounds = static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.counters["allocs_per_repaint"] = static_cast<double>(counted) / rounds;
    state.counters["controls_painted"] = static_cast<double>(paints - paintsBefore) / rounds;
    delete form;
    DoneControlBases();
    DoneThemeCore();
}
BENCHMARK(BM_RepaintSkinnedForm)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvel
