// One stored reading: its CSV line and its database row, as every telemetry
// reply and every poll answer costs.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "records/ReadingStore.h"

namespace {

using namespace tarvel;

void BM_StoreOneReading(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "tarvel_bench_reading_store";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    {
        ReadingStore store(folder.string());
        TelemetryRecord record;
        record.PACK = 52100;
        record.I = -1000;
        const TelemetryTexts values = TelemetryValueTexts(record);
        for (auto _ : state) {
            const StoreReport report =
                store.Store(ReadingTable::MoreModule, "2018-11-22 14-05-09", "7", values);
            if (!report.failures.empty()) state.SkipWithError(report.failures.front().c_str());
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_StoreOneReading)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

}  // namespace
