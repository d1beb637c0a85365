// Stored readings: the CSV line and the database row of each, as every
// telemetry reply and every poll answer costs, against raw SQLite inserting
// the same rows one autocommit statement at a time with the same journal
// (WAL) and synchronous (NORMAL) settings, in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "records/ReadingStore.h"

namespace {

using namespace tarvel;
namespace fs = std::filesystem;

fs::path FreshFolder(const char* name) {
    const auto folder = fs::temp_directory_path() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

TelemetryTexts SomeValues() {
    TelemetryRecord record;
    record.PACK = 52100;
    record.I = -1000;
    return TelemetryValueTexts(record);
}

// The GUI thread's part of one reading: its CSV line written and its row queued.
void BM_StoreOneReading(benchmark::State& state) {
    const auto folder = FreshFolder("tarvel_bench_reading_store");
    {
        ReadingStore store(folder.string());
        const TelemetryTexts values = SomeValues();
        for (auto _ : state) {
            const StoreReport report =
                store.Store(ReadingTable::MoreModule, "2018-11-22 14-05-09", "7", values);
            if (!report.failures.empty()) state.SkipWithError(report.failures.front().c_str());
        }
        store.Drain(std::chrono::minutes(5));
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_StoreOneReading)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// N readings stored, until the last row is in the database.
void BM_StoreReadings(benchmark::State& state) {
    const auto count = state.range(0);
    const TelemetryTexts values = SomeValues();
    for (auto _ : state) {
        state.PauseTiming();
        const auto folder = FreshFolder("tarvel_bench_reading_store_n");
        state.ResumeTiming();
        {
            ReadingStore store(folder.string());
            for (int64_t i = 0; i < count; ++i) {
                const StoreReport report = store.Store(ReadingTable::MoreModule, "2018-11-22 14-05-09",
                                                       std::to_string(1 + i % 64), values);
                if (!report.failures.empty()) state.SkipWithError(report.failures.front().c_str());
            }
            if (!store.Drain(std::chrono::minutes(5))) state.SkipWithError("rows left in the queue");
            if (!store.TakeDatabaseReport().failures.empty()) state.SkipWithError("rows refused");
        }
        state.PauseTiming();
        fs::remove_all(folder);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_StoreReadings)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The raw anchor: the same table (made by the store's own code, indexes
// and all), the same rows, one autocommit INSERT each.
void BM_RawAutocommitInserts(benchmark::State& state) {
    const auto count = state.range(0);
    const TelemetryTexts values = SomeValues();
    for (auto _ : state) {
        state.PauseTiming();
        const auto folder = FreshFolder("tarvel_bench_reading_raw");
        const std::string path = (folder / "Data.db").string();
        { ReadingDatabase schema(path); }
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
        std::string sql = "INSERT INTO MoreModule VALUES(?,?";
        for (int c = 0; c < kReadingValueCount; ++c) sql += ",?";
        sql += ")";
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr);
        state.ResumeTiming();
        for (int64_t i = 0; i < count; ++i) {
            sqlite3_bind_text(insert, 1, "2018-11-22 14:05:09", -1, SQLITE_STATIC);
            const std::string serial = std::to_string(1 + i % 64);
            sqlite3_bind_text(insert, 2, serial.c_str(), -1, SQLITE_TRANSIENT);
            for (int c = 0; c < kReadingValueCount; ++c)
                sqlite3_bind_text(insert, 3 + c, values[static_cast<size_t>(c)].c_str(), -1,
                                  SQLITE_TRANSIENT);
            if (sqlite3_step(insert) != SQLITE_DONE) state.SkipWithError(sqlite3_errmsg(db));
            sqlite3_reset(insert);
        }
        state.PauseTiming();
        sqlite3_finalize(insert);
        sqlite3_close(db);
        fs::remove_all(folder);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_RawAutocommitInserts)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
