// Loading the tool's own skin file, as every window does when it starts.
#include <benchmark/benchmark.h>

#include "skin/themes/theme_se3source.h"

using namespace tarvel;

namespace {

void BM_LoadDaraSkin(benchmark::State& state) {
    TSeSkinSource source(nullptr);
    for (auto _ : state) {
        if (!source.LoadFromFile(TARVEL_BINARY_DIR "/res/theme/dara.mskn")) {
            state.SkipWithError("dara.mskn did not load");
            break;
        }
        benchmark::DoNotOptimize(source.GetCount());
    }
}
BENCHMARK(BM_LoadDaraSkin)->Unit(benchmark::kMillisecond);

}  // namespace
