// Frames of the transition effects as the engine's 20 ms tick draws them:
// each built-in effect and the bitmap animation over a whole animation on a
// button-sized and a screen-sized picture (the mean frame, and the slowest
// as worst_ms), and one tick with 200 hover fades running at once.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Graphics.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_bitmap.h"
#include "skin/extras/te_effect.h"
#include "skin/extras/te_effect_list.h"

namespace tarvel {
namespace {

// Two pictures and a surface to show them on.
struct TScene {
    TteBitmap source, target, screen;
    TCanvas canvas;
    TScene(int w, int h) {
        source.SetSize(w, h);
        target.SetSize(w, h);
        screen.SetSize(w, h);
        for (int i = 0; i < w * h; ++i) {
            source.Bits()[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
            target.Bits()[i] = 0xFF000000u | uint32_t(i * 40503u);
        }
        canvas.SetHandle(screen.DC());
    }
    ~TScene() { canvas.SetHandle(HDC{}); }
};

// A whole animation of 100 frames, frame after frame; the record asks the
// engine's defaults (one pixel per cell, one tile).
void BM_EffectFrame(benchmark::State& state, const std::string& effect, int w, int h) {
    TUiDriver ui;
    InitEffects();
    TScene scene(w, h);
    TBitmap pattern;
    pattern.SetPixelFormat(pf32bit);
    pattern.SetSize(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) pattern.ScanLine(y)[x] = 0xFF000000u | uint32_t((x * 16 + y * 7) & 0xFF);
    TteAnimationRec rec;
    rec.SetEffect(effect);
    rec.SetTime(2000);
    rec.SetBitmap(&pattern);
    const int slot = ReserveIndex();
    double worst = 0;
    for (auto _ : state) {
        if (!IsAnimating(slot)) {
            state.PauseTiming();
            StartMultiAnimation(&scene.canvas, 0, 0, &scene.source, &scene.target, &rec, slot);
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        ui.AdvanceClock(20, 20);
        worst = std::max(
            worst,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["worst_ms"] = worst;
    StopMultiAnimation(slot, false);
    DoneEffects();
}

// 200 push-button fades (75 x 25, 400 ms) stepping in one tick.
void BM_TickWithTwoHundredSlots(benchmark::State& state) {
    TUiDriver ui;
    InitEffects();
    std::vector<std::unique_ptr<TScene>> scenes;
    TteAnimationRec rec;
    rec.SetEffect("Fade");
    rec.SetTime(400);
    std::vector<int> slots;
    for (int i = 0; i < 200; ++i) {
        scenes.push_back(std::make_unique<TScene>(75, 25));
        slots.push_back(ReserveIndex());
    }
    for (auto _ : state) {
        if (!IsAnimating(slots.front())) {
            state.PauseTiming();
            for (int i = 0; i < 200; ++i) {
                TScene& s = *scenes[size_t(i)];
                StartMultiAnimation(&s.canvas, 0, 0, &s.source, &s.target, &rec, slots[size_t(i)]);
            }
            state.ResumeTiming();
        }
        ui.AdvanceClock(20, 20);
    }
    for (int slot : slots) StopMultiAnimation(slot, false);
    DoneEffects();
}
BENCHMARK(BM_TickWithTwoHundredSlots)->Unit(benchmark::kMillisecond);

const bool kRegistered = [] {
    int count = 0;
    const TteBuiltInEffect* all = BuiltInEffects(count);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(all[i].Name);
    names.push_back(kBitmapEffect);
    for (const auto& [w, h] : {std::pair{200, 30}, std::pair{640, 480}})
        for (const std::string& name : names)
            benchmark::RegisterBenchmark(
                ("BM_EffectFrame/" + std::to_string(w) + "x" + std::to_string(h) + "/" + name).c_str(),
                [name, w, h](benchmark::State& s) { BM_EffectFrame(s, name, w, h); })
                ->Unit(benchmark::kMicrosecond);
    return true;
}();

}  // namespace
}  // namespace tarvel
