// The full export against the simulated module: a module that answers every
// step, its file and the progress shown while it runs; modules that stop
// answering half-way; the silence rule; a final name that cannot be taken;
// the refusals; the progress animation and the look at the export folder.

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"
#include "platform/winsys/GuiTasks.h"
#include "records/FullExport.h"
#include "tests/CsvReader.h"
#include "tests/app/RecordPagesFixture.h"

namespace tarvel::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr const char* kSerial = "TBM2024000100";               // the module's at address 0
constexpr const char* kFunction = "16S LFP, balance, heater";  // the module's own, commas and all
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kRed = 0x0000FF;

// Python's csv module, where there is one, reads every row of each section
// (the record lines, the alarms, the daily records) as wide as its header.
void ExpectRowsAsWideAsTheirHeaders(const std::string& file) {
    if (std::system("python3 -c 'import csv' >/dev/null 2>&1") != 0) return;
    const std::string script = file + ".check.py";
    ASSERT_TRUE(
        SaveFileText(script,
                     "import csv, sys\n"
                     "with open(sys.argv[1], newline='', encoding='utf-8', errors='replace') as f:\n"
                     "    rows = list(csv.reader(f))\n"
                     "header, bad = None, []\n"
                     "for n, row in enumerate(rows, 1):\n"
                     "    if all(field == '' for field in row):\n"
                     "        header = None\n"
                     "    elif header is None:\n"
                     "        header = row\n"
                     "    elif len(row) != len(header):\n"
                     "        bad.append((n, len(row), len(header)))\n"
                     "sys.exit('rows (line, width, header width): %r' % bad if bad or not rows else 0)\n"));
    const int status = std::system(("python3 '" + script + "' '" + file + "'").c_str());
    EXPECT_EQ(status, 0) << "Python's csv module finds rows wider or narrower than their header";
    DeleteFile(script);
}

class FullExportTest : public RecordPagesTest {
protected:
    TMainForm* Start() {
        Module().UpdateModule(kModuleAddress, [](sim::ModuleState& m) {
            m.records.days = 45;
            m.records.alarms = 7;
        });
        return StartRecords(&TMainForm::TeTabSheet1);
    }

    void TearDown() override {
        stop_ = true;
        for (std::thread& helper : helpers_) helper.join();
        RecordPagesTest::TearDown();
    }

    bool Requested(uint8_t code) {
        const auto codes = RequestCodes();
        return std::find(codes.begin(), codes.end(), code) != codes.end();
    }

    // The files in the export folder.
    std::vector<std::string> ExportFiles() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(AppPath("Export DataAccess")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string WorkingName() { return std::string(kSerial) + " Data.csv"; }

    int Ticked(TMainForm* form) {
        return static_cast<int>(std::count_if(form->ExportStepChecks.begin(), form->ExportStepChecks.end(),
                                              [](TTeCheckBox* box) { return box->Checked(); }));
    }

    // What the export page shows while the export runs, each time it changes.
    struct Seen {
        int ticked;
        String status;
        bool startEnabled, fileEnabled, telemetryTab;
        bool operator==(const Seen&) const = default;
    };
    // Looks every few milliseconds from the first request to the end: a
    // task that posted its next look itself would keep the message loop busy.
    void WatchProgress() {
        helpers_.emplace_back([this] {
            while (!stop_ && !Requested(0x10)) std::this_thread::sleep_for(2ms);
            while (!stop_ && !watched_) {
                PostGuiTask([this] {
                    if (form_) Look(form_);
                });
                std::this_thread::sleep_for(3ms);
            }
        });
    }
    void Look(TMainForm* form) {
        if (!form->ExportRunning) {
            watched_ = !seen_.empty();
            return;
        }
        const Seen now{Ticked(form), form->Label65->Caption(), form->TeButton16->Enabled(),
                       form->TeButton20->Enabled(), form->TS_TSBS->PageVisible()};
        if (seen_.empty() || !(seen_.back() == now)) seen_.push_back(now);
    }

    static std::vector<std::string> Fields(const std::string& line) {
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t comma = line.find(','); comma != std::string::npos; comma = line.find(',', start)) {
            fields.push_back(line.substr(start, comma - start));
            start = comma + 1;
        }
        EXPECT_EQ(start, line.size()) << "a field without its comma: " << line;
        return fields;
    }

    void ExpectEndedWith(TMainForm* form, bool succeeded) {
        EXPECT_EQ(form->ExportRunning, 0);
        EXPECT_EQ(form->Label65->Caption(), succeeded ? "Get ALL Data Success !" : "Get ALL Data Fail !");
        EXPECT_EQ(form->Label65->Color(), succeeded ? kGreen : kRed);
        EXPECT_EQ(form->TeProgressBar1->Position(), 100);
        EXPECT_FALSE(form->Timer9->Enabled());
        for (TControl* button : std::initializer_list<TControl*>{form->TeButton16, form->TeButton20,
                                                                 form->TeButton17, form->TeButton18})
            EXPECT_TRUE(ui_.Enabled(button)) << button->Name();
        for (TTeTabSheet* sheet :
             {form->TS_TSBS, form->TS_TBMS, form->TS_HisAlarm, form->TeTabSheet2, form->TS_Monitor})
            EXPECT_TRUE(sheet->PageVisible()) << sheet->Name();
        EXPECT_EQ(form->PC_All->GetActivePage(), form->TeTabSheet1);
    }

    std::vector<Seen> seen_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> watched_{false};
    std::vector<std::thread> helpers_;
};

TEST_F(FullExportTest, AModuleThatAnswersEveryStepEndsInItsSuccessFile) {
    TMainForm* form = Start();
    // A failed run's working file is not carried into this one.
    WriteFileText(AppPath("Export DataAccess/" + WorkingName()), "stale\r\n");
    WatchProgress();
    ui_.Click(form->TeButton16);

    EXPECT_EQ(RequestCodes(),
              (std::vector<uint8_t>{0x10, 0x33, 0x06, 0x0E, 0x03, 0x03, 0x03, 0x03, 0x03, 0x19, 0x2E}));
    ExpectEndedWith(form, true);
    EXPECT_EQ(Ticked(form), 6);
    EXPECT_EQ(TakeBoxTexts(), std::vector<String>{"Get ALL Data Success!"});
    // The steps ticked one by one, the page locked and the other tabs away meanwhile.
    std::vector<Seen> expected;
    for (int ticked = 0; ticked < 6; ++ticked)
        expected.push_back({ticked, "Query......", false, false, false});
    EXPECT_EQ(seen_, expected);

    const std::vector<std::string> files = ExportFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].starts_with(std::string(kSerial) + "_")) << files[0];
    EXPECT_TRUE(files[0].ends_with("_Success.csv")) << files[0];
    const std::vector<std::string> lines = CrLfLines(AppPath("Export DataAccess/" + files[0]));
    ASSERT_EQ(lines.size(), 1u + 5 + 2 + 7 + 2 + 45);

    // Read as CSV, a record line is as wide as the header: the texts holding
    // commas are quoted (every field ends with a comma, so one more is empty).
    const auto rows = ParseCsv(ReadFileText(AppPath("Export DataAccess/" + files[0])));
    ASSERT_TRUE(rows);
    const CsvRow& titles = (*rows)[0];
    ASSERT_EQ(titles.size(), 44u);
    EXPECT_EQ(titles[0], "RecordTime");
    EXPECT_EQ(titles[6], "PACK");
    EXPECT_EQ(titles[42], "TotalDiscSOC");
    for (int i = 1; i <= 5; ++i) {
        SCOPED_TRACE(i);
        const CsvRow& fields = (*rows)[static_cast<size_t>(i)];
        ASSERT_EQ(fields.size(), 44u);
        EXPECT_EQ(fields[0].size(), 19u) << fields[0];  // YYYY-MM-DD HH-MM-SS
        EXPECT_EQ(fields[1], kSerial);
        EXPECT_EQ(fields[2], "100");
        EXPECT_EQ(fields[3], ui_.CellText(form->SG_SoftVersion, 0, 1) + "-" +
                                 ui_.CellText(form->SG_SoftVersion, 1, 1) + "-" +
                                 ui_.CellText(form->SG_SoftVersion, 2, 1) + "/" +
                                 ui_.CellText(form->SG_SoftVersion, 3, 1) + "/" + VersionTextHead + "," +
                                 VersionTextTail);
        EXPECT_EQ(fields[4], kFunction);
        EXPECT_EQ(fields[5], ui_.CellText(form->SG_History, 1, 0));
        EXPECT_FALSE(fields[5].empty());
    }
    EXPECT_EQ((*rows)[1][3].substr(0, 6), "1-2-3/");
    ExpectRowsAsWideAsTheirHeaders(AppPath("Export DataAccess/" + files[0]));
    // The last line is the reading the grid still shows.
    const CsvRow& last = (*rows)[5];
    for (int row = 0; row < 19; ++row)
        EXPECT_EQ(last[6 + static_cast<size_t>(row)], ui_.CellText(form->SG_TSBS, 1, row));
    for (int row = 0; row < 18; ++row)
        EXPECT_EQ(last[25 + static_cast<size_t>(row)], ui_.CellText(form->SG_TSBS, 4, row));

    EXPECT_EQ(lines[6], ",");
    EXPECT_EQ(Fields(lines[7]).size(), 29u);
    EXPECT_TRUE(lines[7].starts_with("History Num,  Start Time,  End Time,  MOode,Current,")) << lines[7];
    // The alarm rows as the history-alarm grid shows them.
    for (int row = 1; row <= 7; ++row) {
        std::string shown;
        for (int col = 0; col < 29; ++col) shown += ui_.CellText(form->SG_HisAlarm, col, row) + ",";
        EXPECT_EQ(lines[7 + static_cast<size_t>(row)], shown);
    }
    EXPECT_TRUE(lines[8].starts_with("1,")) << lines[8];
    EXPECT_EQ(lines[15], ",");
    EXPECT_EQ(lines[16],
              "Daily Records Num,Data,Cell Max.TEMP,Ambin Max.TEMP,Daily Dischg Cap(AH),Daily Chg Cap(%),");
    EXPECT_EQ(lines[17], "1,2023-12-1,31,21,41,5,");
    EXPECT_EQ(lines[61], "45,2024-1-14,30,25,85,60,");
}

struct HalfWay {
    const char* name;
    const char* fault;
    const char* failure;
    int ticked;
    bool fileMade;
    size_t recordLines;
};

void PrintTo(const HalfWay& c, std::ostream* os) { *os << c.name; }

class ExportStopsHalfWay : public FullExportTest, public ::testing::WithParamInterface<HalfWay> {};

TEST_P(ExportStopsHalfWay, EndsWithTheStepsFailureAndGivesThePageBack) {
    const HalfWay& c = GetParam();
    TMainForm* form = Start();
    AddFault(c.fault);
    const auto began = std::chrono::steady_clock::now();
    ui_.Click(form->TeButton16);
    EXPECT_LT(std::chrono::steady_clock::now() - began, 5s);

    ExpectEndedWith(form, false);
    // A dropped line keeps the loss on the info line; the box names both.
    const bool lost = std::string(c.fault).starts_with("drop:");
    EXPECT_EQ(InfoLine(), std::string("    ") + (lost ? "Serial port lost!" : c.failure));
    EXPECT_EQ(InfoColor(), kFailureColor);
    EXPECT_EQ(TakeBoxTexts(),
              std::vector<String>{lost ? String(c.failure) + "\nSerial port lost!" : c.failure});
    EXPECT_EQ(Ticked(form), c.ticked);
    // What was written stays under the working name.
    if (!c.fileMade) {
        EXPECT_TRUE(ExportFiles().empty());
        return;
    }
    ASSERT_EQ(ExportFiles(), std::vector<std::string>{WorkingName()});
    const std::vector<std::string> lines = CrLfLines(AppPath("Export DataAccess/" + WorkingName()));
    ASSERT_GE(lines.size(), 1 + c.recordLines);
    EXPECT_TRUE(lines[0].starts_with("RecordTime,"));
    for (size_t i = 1; i <= c.recordLines; ++i) EXPECT_EQ(Fields(lines[i])[1], kSerial);
    if (lines.size() > 1 + c.recordLines) {
        EXPECT_EQ(lines[1 + c.recordLines], ",");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ExportStopsHalfWay,
    ::testing::Values(
        HalfWay{"RefusedSerialNumber", "status:cmd=0x10,status=7", "Get Serial Outtime", 0, false, 0},
        HalfWay{"Capacity", "silent:cmd=0x33", "Get Cap Outtime", 1, false, 0},
        HalfWay{"Telemetry", "silent:cmd=0x03,times=0", "Get SBS Outtime", 3, true, 0},
        HalfWay{"LineDroppedAtHistoryAlarms", "drop:cmd=0x19", "Get History Outtime", 4, true, 5},
        HalfWay{"LineDroppedAtDailyRecords", "drop:cmd=0x2E", "Get Daily Records Outtime", 5, true, 5}),
    [](const ::testing::TestParamInfo<HalfWay>& info) { return std::string(info.param.name); });

TEST_F(FullExportTest, ADailyDownloadThatHaltsEndsTheExportAfterTenSecondsOfSilence) {
    TMainForm* form = Start();
    AddFault("halt:cmd=0x2E,at=1");  // the first of two batches only
    // The window's clock runs fast once the first batch shows, 20 s at the
    // most: on a loaded machine it may take long to come.
    std::atomic<uint32_t> fastFrom{0};
    auto shown = std::make_shared<std::atomic<bool>>(false);  // a look still queued afterwards finds it
    std::thread clock([&] {
        while (!stop_ && !Requested(0x2E)) std::this_thread::sleep_for(2ms);
        const auto bound = std::chrono::steady_clock::now() + 20s;
        while (!stop_ && !*shown && std::chrono::steady_clock::now() < bound) {
            PostGuiTask([this, shown] {
                if (form_ && ui_.CellText(form_->RunState, 0, 40) == "40") *shown = true;
            });
            std::this_thread::sleep_for(3ms);
        }
        fastFrom = GetTickCount();
        while (!stop_) {
            ui_.Backend().AdvanceClock(200);
            std::this_thread::sleep_for(2ms);
        }
    });
    ui_.Click(form->TeButton16);
    const uint32_t waited = GetTickCount() - fastFrom;
    stop_ = true;
    clock.join();

    ExpectEndedWith(form, false);
    EXPECT_EQ(InfoLine(), "    Get Daily Records Outtime");
    EXPECT_EQ(TakeBoxTexts(), std::vector<String>{"Get Daily Records Outtime"});
    EXPECT_EQ(Ticked(form), 5);
    EXPECT_GE(waited, kExportSilenceMs - 500);
    EXPECT_LT(waited, 100000u);  // well before the step's limit
    // The rows that came are shown; the file has no daily section.
    EXPECT_EQ(ui_.CellText(form->RunState, 0, 40), "40");
    EXPECT_EQ(ui_.CellText(form->RunState, 0, 41), "");
    const std::vector<std::string> lines = CrLfLines(AppPath("Export DataAccess/" + WorkingName()));
    EXPECT_EQ(lines.size(), 1u + 5 + 2 + 7);
}

TEST_F(FullExportTest, AFinalNameThatCannotBeTakenIsReported) {
    TMainForm* form = Start();
    // Folders in the way of every name the next seconds could give.
    for (int s = 0; s < 15; ++s) {
        const std::string blocked = ExportFinalPath(kSerial, Now() + s / 86400.0);
        fs::create_directories(blocked);
        WriteFileText(blocked + "/keep", "x");
    }
    ui_.Click(form->TeButton16);

    ExpectEndedWith(form, true);
    EXPECT_EQ(InfoLine(),
              "    The export file could not be renamed and keeps the name \"" + WorkingName() + "\"");
    EXPECT_EQ(InfoColor(), kFailureColor);
    EXPECT_EQ(TakeBoxTexts(), std::vector<String>{"Get ALL Data Success!"});
    EXPECT_EQ(CrLfLines(AppPath("Export DataAccess/" + WorkingName())).size(), 62u);
}

TEST_F(FullExportTest, RefusedWithoutPortLoginOrWhileTheQueryRuns) {
    struct Case {
        const char* info;
        std::function<void(TMainForm*)> set, reset;
    };
    const std::vector<Case> cases = {
        {"Please turn off automatic query!", [](TMainForm* f) { f->AutoQueryOn = 1; },
         [](TMainForm* f) { f->AutoQueryOn = 0; }},
        {"Please login frist!", [](TMainForm* f) { f->LoggedIn = 0; }, [](TMainForm* f) { f->LoggedIn = 1; }},
        {"Please open port frist!", [](TMainForm* f) { f->ClosePort(); }, [](TMainForm*) {}},
    };
    TMainForm* form = Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.info);
        c.set(form);
        ui_.Click(form->TeButton16);
        c.reset(form);
        EXPECT_EQ(InfoLine(), std::string("    ") + c.info);
        EXPECT_EQ(InfoColor(), kFailureColor);
        EXPECT_EQ(form->ExportRunning, 0);
        EXPECT_EQ(form->Label65->Caption(), "");
        EXPECT_TRUE(ui_.Enabled(form->TeButton16));
    }
    WaitUntil([] { return false; }, 200ms);
    EXPECT_TRUE(Module().Requests().empty());
    EXPECT_TRUE(TakeBoxTexts().empty());
}

TEST_F(FullExportTest, ProgressClimbsEverySecondAndWraps) {
    const std::vector<std::pair<int, int>> steps = {{0, 5}, {50, 55}, {95, 0}};
    TMainForm* form = Start();
    for (const auto& [from, to] : steps) {
        form->TeProgressBar1->SetPosition(from);
        form->Timer9->SetEnabled(true);
        ui_.AdvanceClock(1000);
        form->Timer9->SetEnabled(false);
        EXPECT_EQ(form->TeProgressBar1->Position(), to) << from;
    }
}

TEST_F(FullExportTest, GetDateFileShowsTheExportFolder) {
    TMainForm* form = Start();
    ui_.ChooseNextFile(std::nullopt);
    ui_.Click(form->TeButton20);
    const TFileRequest& asked = ui_.Dialogs().Files().back().request;
    EXPECT_FALSE(asked.save);
    EXPECT_EQ(asked.title, "Data Direct");
    EXPECT_EQ(asked.filter, "csv (*.csv)|*.csv");
    EXPECT_EQ(asked.defaultExt, "csv");
    EXPECT_EQ(asked.initialDir, AppPath("Export DataAccess"));
}

}  // namespace
}  // namespace tarvel::testing
