// The data-query and chart pages of the real main window (headless) over a
// database of 100 k and 1 M readings spread over 30 days, made here, each
// beside its raw SQLite anchor in the same run: the 30-day chart against the
// two columns it draws, the query page's first page against the same rows
// read raw, and the serial-number box against the grouped list.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "app/Main.h"
#include "app/Startup.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/testing/UiDriver.h"
#include "records/ReadingDatabase.h"

using namespace tarvel;
namespace fs = std::filesystem;

namespace {

constexpr int kDays = 30;
const char* const kFirstDay = "2024-03-01";
const char* const kLastDay = "2024-03-30";

void Check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

// `rows` readings of eight modules, evenly over the 30 days, in
// "SingleModule" (the table the pages show first); made once per size.
const fs::path& ReadingsFile(int rows) {
    static std::map<int, fs::path> made;
    auto& path = made[rows];
    if (!path.empty()) return path;
    path = fs::temp_directory_path() /
           ("tarvel_bench_readings_" + std::to_string(::getpid()) + "_" + std::to_string(rows) + ".db");
    fs::remove(path);
    { ReadingDatabase schema(path.string()); }
    sqlite3* db = nullptr;
    Check(sqlite3_open(path.c_str(), &db), db);
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    std::string sql = "INSERT INTO SingleModule VALUES(?,?";
    for (int c = 0; c < kReadingValueCount; ++c) sql += ",?";
    sql += ")";
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr), db);
    const double step = kDays * 86400.0 / rows;
    char time[32];
    for (int i = 0; i < rows; ++i) {
        const auto second = static_cast<int64_t>(i * step);
        std::snprintf(time, sizeof time, "2024-03-%02d %02d:%02d:%02d", static_cast<int>(1 + second / 86400),
                      static_cast<int>(second / 3600 % 24), static_cast<int>(second / 60 % 60),
                      static_cast<int>(second % 60));
        sqlite3_bind_text(insert, 1, time, -1, SQLITE_TRANSIENT);
        const std::string serial = std::to_string(1 + i % 8);
        sqlite3_bind_text(insert, 2, serial.c_str(), -1, SQLITE_TRANSIENT);
        for (int c = 0; c < kReadingValueCount; ++c)
            sqlite3_bind_int64(insert, 3 + c, c == 1 ? 3300 + (i * 7919) % 800 : (c * 1000 + i) % 65536);
        Check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    return path;
}

struct Cleanup {
    ~Cleanup() {
        for (const auto& entry : fs::directory_iterator(fs::temp_directory_path())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("tarvel_bench_readings_" + std::to_string(::getpid()) + "_", 0) == 0)
                fs::remove(entry.path());
        }
    }
} cleanup;

// The main window on the headless backend with the data pages bound, in a
// folder of its own whose database is the readings file of `rows`.
struct QueryTool {
    fs::path folder, previous;
    std::unique_ptr<TUiDriver> ui;
    TMainForm* form = nullptr;

    explicit QueryTool(int rows) {
        std::string pattern = (fs::temp_directory_path() / "tarvel_bench_query_XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        fs::create_directories(folder / "DataAccess");
        // The same file, not a copy: a million readings are a few hundred MB.
        fs::create_hard_link(ReadingsFile(rows), folder / "DataAccess/Data.db");
        std::ofstream(folder / "ParaRecord.dat", std::ios::binary) << std::string(264, '\0');
        std::ofstream(folder / "Version.dat", std::ios::binary) << std::string(1, '\0');
        previous = fs::current_path();
        fs::current_path(folder);
        SetApplicationFolder(folder.string());
        ui = std::make_unique<TUiDriver>(TSize{1280, 1024});
        InitSkinLibrary();
        Application->SetTitle(kAppName);
        Application->CreateForm(form);
        form->Show();
        ui->RunUntilIdle();
        form->KillPollTimer();
        form->BindDataQueryHandlers();
        ui->Dialogs().Forget();
    }
    ~QueryTool() {
        delete form;
        ui->RunUntilIdle();
        DoneSkinLibrary();
        ui.reset();
        SetApplicationFolder("");
        fs::current_path(previous);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    // The page shown with the 30 days chosen, and the pages' connection
    // opened (and the file checked) as the first use does, once per run.
    void ShowPage(benchmark::State& state, TTeTabSheet* sheet, TDateTimePicker* begin, TDateTimePicker* end) {
        sheet->SetPageVisible(true);
        form->PC_All->SetActivePage(sheet);
        begin->SetDateTime(EncodeDate(2024, 3, 1));
        end->SetDateTime(EncodeDate(2024, 3, kDays));
        ui->RunUntilIdle();
        const auto start = std::chrono::steady_clock::now();
        form->QueryDatabase();
        state.counters["first_open_ms"] =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
};

// The resident set's growth at its peak while `work` runs, in MB.
int64_t StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::string(field).size()));
    return 0;
}
template <typename Work>
double PeakGrowthMb(Work work) {
    // Writing 5 sets the peak back to what is resident now.
    std::ofstream("/proc/self/clear_refs") << "5";
    const int64_t before = StatusKb("VmRSS:");
    work();
    return static_cast<double>(StatusKb("VmHWM:") - before) / 1024.0;
}

// A raw connection to the readings file of `rows`.
struct RawReadings {
    sqlite3* db = nullptr;
    // Opened as the tool opens its connections, one thread at a time.
    explicit RawReadings(int rows) {
        Check(sqlite3_open_v2(ReadingsFile(rows).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                              nullptr),
              db);
    }
    ~RawReadings() { sqlite3_close(db); }
    sqlite3_stmt* Prepare(const char* sql) {
        sqlite3_stmt* stmt = nullptr;
        Check(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), db);
        return stmt;
    }
};

// ---- the 30-day chart ----

void BM_ChartPage30Days(benchmark::State& state) {
    QueryTool tool(static_cast<int>(state.range(0)));
    TMainForm* form = tool.form;
    tool.ShowPage(state, form->TS_DBChart, form->DBC_BeginDate, form->DBC_EndDate);
    double peak = 0;
    for (auto _ : state) {
        form->LineSeries2->Clear();
        peak = std::max(peak, PeakGrowthMb([&] { form->DBC_OnceQueryClick(nullptr); }));
    }
    if (form->LineSeries2->Count() != state.range(0)) state.SkipWithError("not every reading was drawn");
    state.counters["points"] = form->LineSeries2->Count();
    state.counters["peak_growth_MB"] = peak;
    // The picture itself, once, apart from the query.
    const auto start = std::chrono::steady_clock::now();
    form->cht->Repaint();
    state.counters["paint_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
BENCHMARK(BM_ChartPage30Days)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the chart draws, read raw: time and value of the 30 days in time order.
void BM_ChartRawTwoColumns(benchmark::State& state) {
    RawReadings raw(static_cast<int>(state.range(0)));
    int64_t rows = 0, sum = 0;
    for (auto _ : state) {
        sqlite3_stmt* select = raw.Prepare(
            "SELECT RecordTime,BATT FROM SingleModule WHERE RecordTime>=? AND RecordTime<date(?,'+1 day') "
            "ORDER BY RecordTime");
        sqlite3_bind_text(select, 1, kFirstDay, -1, SQLITE_STATIC);
        sqlite3_bind_text(select, 2, kLastDay, -1, SQLITE_STATIC);
        rows = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            sum += sqlite3_column_bytes(select, 0) + sqlite3_column_int64(select, 1);
            ++rows;
        }
        sqlite3_finalize(select);
    }
    benchmark::DoNotOptimize(sum);
    if (rows != state.range(0)) state.SkipWithError("rows missing");
}
BENCHMARK(BM_ChartRawTwoColumns)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- the data-query page's first page ----

// The click, and the rows the grid reads for its first page.
void BM_DataQueryFirstPage(benchmark::State& state) {
    QueryTool tool(static_cast<int>(state.range(0)));
    TMainForm* form = tool.form;
    tool.ShowPage(state, form->TS_DataQuery, form->DQ_BeginDate, form->DQ_EndDate);
    form->DQ_QueryClick(nullptr);
    tool.ui->RunUntilIdle();
    const int firstPage = form->ADOQuery1->RecordCount();
    for (auto _ : state) {
        form->DQ_QueryClick(nullptr);
        form->ADOQuery1->FetchTo(firstPage);
    }
    state.counters["rows"] = firstPage;
    // With the grid's painting, as a person sees it.
    const auto start = std::chrono::steady_clock::now();
    form->DQ_QueryClick(nullptr);
    tool.ui->RunUntilIdle();
    state.counters["with_paint_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
BENCHMARK(BM_DataQueryFirstPage)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same rows read raw: every column of the first page's rows (the rows
// the page reads at its size: those shown and a page ahead).
void BM_DataQueryRawFirstPage(benchmark::State& state) {
    RawReadings raw(static_cast<int>(state.range(0)));
    int64_t sum = 0;
    for (auto _ : state) {
        sqlite3_stmt* select = raw.Prepare(
            "SELECT * FROM SingleModule WHERE RecordTime>=? AND RecordTime<date(?,'+1 day') "
            "ORDER BY RecordTime LIMIT 102");
        sqlite3_bind_text(select, 1, kFirstDay, -1, SQLITE_STATIC);
        sqlite3_bind_text(select, 2, kLastDay, -1, SQLITE_STATIC);
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(select); ++c) {
                const unsigned char* text = sqlite3_column_text(select, c);
                sum += text ? text[0] : 0;
            }
        }
        sqlite3_finalize(select);
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_DataQueryRawFirstPage)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseRealTime();

// ---- the serial-number box ----

void BM_SerialBoxFilled(benchmark::State& state) {
    QueryTool tool(static_cast<int>(state.range(0)));
    TMainForm* form = tool.form;
    tool.ShowPage(state, form->TS_DataQuery, form->DQ_BeginDate, form->DQ_EndDate);
    for (auto _ : state) form->DQ_SeqNumEnter(nullptr);
    if (form->DQ_SeqNum->Items()->Count() != 9) state.SkipWithError("not the eight modules and All");
}
BENCHMARK(BM_SerialBoxFilled)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The list as a grouped query gives it, read raw.
void BM_SerialBoxRawGroupBy(benchmark::State& state) {
    RawReadings raw(static_cast<int>(state.range(0)));
    int64_t count = 0;
    for (auto _ : state) {
        sqlite3_stmt* select =
            raw.Prepare("SELECT SerialNO FROM SingleModule GROUP BY SerialNO ORDER BY SerialNO");
        count = 0;
        while (sqlite3_step(select) == SQLITE_ROW) count += sqlite3_column_bytes(select, 0) > 0;
        sqlite3_finalize(select);
    }
    if (count != 8) state.SkipWithError("not the eight modules");
}
BENCHMARK(BM_SerialBoxRawGroupBy)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
