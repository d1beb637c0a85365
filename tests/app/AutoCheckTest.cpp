// The automatic check: its verdicts over readings in the telemetry grid, and
// end to end against the simulated module the requests, the boxes and the
// log "DataAccess/AutoCheck.csv", with "no answer" for a silent module.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "platform/winsys/GuiTasks.h"
#include "tests/app/RemoteControlFixture.h"

namespace tarvel::testing {
namespace {

constexpr const char* kHeader =
    "RecordTime,SerialNO,PACK,BATT,V1,V2,V3,V4,V5,V6,V7,V8,V9,V10,V11,V12,V13,V14,V15,V16,I,T1,T2,T3,T4,T5,"
    "T6,"
    "T7,T8,Others,Alarm,Protection,Fail,Balance,BattState,SOC,SOCHealth,DiscTimes,TotalDiscSOC,AutoCheck,"
    "\r\n";

// TeEdit1..6: cell spread, temperature spread, current distance, pack distance,
// expected current, lowest current.
using Limits = std::array<const char*, 6>;
constexpr Limits kLimits = {"50", "6", "1000", "100", "30000", "-40000"};

struct Reading {
    std::array<int, 16> cells;
    std::array<int, 4> temps;
    int current;
    int pack, batt;
};

constexpr Reading kGood = {
    {3300, 3300, 3300, 3300, 3300, 3300, 3300, 3300, 3300, 3300, 3300, 3300, 3300, 3300, 3300, 3300},
    {25, 25, 25, 25},
    30000,
    52815,
    52800,
};

Reading With(std::function<void(Reading&)> change) {
    Reading r = kGood;
    change(r);
    return r;
}

struct VerdictCase {
    const char* what;
    Reading reading;
    int verdict;
};

class AutoCheckTest : public RemoteControlTest {
protected:
    void SetLimits(const Limits& limits) {
        for (size_t i = 0; i < limits.size(); ++i) form_->AutoCheckEdits[i]->SetText(limits[i]);
    }

    void ShowReading(const Reading& r) {
        TStringGrid* grid = form_->SG_TSBS;
        grid->SetCells(1, 0, std::to_string(r.pack));
        grid->SetCells(1, 1, std::to_string(r.batt));
        for (int i = 0; i < 16; ++i) grid->SetCells(1, 2 + i, std::to_string(r.cells[i]));
        grid->SetCells(1, 18, std::to_string(r.current));
        for (int i = 0; i < 4; ++i) grid->SetCells(4, i, std::to_string(r.temps[i]));
    }

    // The whole check, as the hidden button runs it. The first `answered` of
    // its two 500 ms waits run on the window's clock, moved on by 500 ms once
    // the reply the wait is for shows (the serial number in its edit, the
    // reading in the grid), 20 s at the most: a loaded machine may take
    // longer than the wait to bring a reply, which is not what is tested
    // here. The others, for a module that does not answer, take real time.
    void RunCheck(size_t answered = 0) {
        Module().ClearRequests();
        struct Watch {
            size_t begun = 0;  // the waits begun: the requests the module has received
            bool ended = true, over = false;
            std::chrono::steady_clock::time_point since;
        };
        auto watch = std::make_shared<Watch>();  // a look still queued after the check finds it over
        auto look = [this, watch, answered] {
            if (watch->over) return;
            const size_t asked = std::min(Module().Requests().size(), answered);
            if (asked > watch->begun) {
                watch->begun = asked;
                watch->ended = false;
                watch->since = std::chrono::steady_clock::now();
                ui_.Backend().AdvanceClock(1);  // a clock that moves: the wait follows it alone
            }
            const bool shown =
                watch->begun == 1 ? !form_->E_ReadSerialNum->Text().empty() : form_->DoneTsbs != 0;
            if (!watch->ended &&
                (shown || std::chrono::steady_clock::now() - watch->since > std::chrono::seconds(20))) {
                watch->ended = true;
                ui_.Backend().AdvanceClock(500);
            }
        };
        std::atomic<bool> done{false};
        std::thread poster([&] {
            while (!done) {
                PostGuiTask(look);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
        ui_.Click(Reveal("TeButton11"));
        done = true;
        poster.join();
        watch->over = true;
    }

    String LogPath() { return AppPath("DataAccess/AutoCheck.csv"); }

    std::vector<String> LogLines() {
        std::vector<String> lines;
        const String text = ReadFileText(LogPath());
        for (size_t at = 0; at < text.size();) {
            const size_t end = text.find("\r\n", at);
            if (end == String::npos) break;
            lines.push_back(text.substr(at, end + 2 - at));
            at = end + 2;
        }
        return lines;
    }

    // The line the check logs for the reading the grid shows now.
    String LineOfGrid(const String& verdict) {
        TStringGrid* grid = form_->SG_TSBS;
        String line = grid->Cells(4, 18) + "," + form_->E_ReadSerialNum->Text() + ",";
        for (int row = 0; row < 19; ++row) line += grid->Cells(1, row) + ",";
        for (int row = 0; row < 18; ++row) line += grid->Cells(4, row) + ",";
        return line + verdict + ",\r\n";
    }

    std::vector<Bytes> Plain(std::initializer_list<uint8_t> commands) {
        std::vector<Bytes> frames;
        for (uint8_t command : commands) frames.push_back(BuildRequest(kModuleAddress, command));
        return frames;
    }
};

TEST_F(AutoCheckTest, VerdictsOverReadings) {
    const VerdictCase cases[] = {
        {"all limits kept", kGood, 0},
        {"three cells in use, 10 mV apart", With([](Reading& r) {
             r.cells = {3300, 3310, 3305};
         }),
         0},
        {"cells 50 mV apart", With([](Reading& r) { r.cells[15] = 3350; }), 0},
        {"cells 51 mV apart", With([](Reading& r) { r.cells[15] = 3351; }), 1},
        {"the cells counted are taken from V1, an empty one among them", With([](Reading& r) {
             r.cells = {3300, 0, 3400, 3300};
         }),
         1},
        {"no cell in use", With([](Reading& r) { r.cells = {}; }), 0},
        {"temperatures 6 apart", With([](Reading& r) {
             r.temps = {25, 31, 28, 25};
         }),
         0},
        {"temperatures 7 apart", With([](Reading& r) {
             r.temps = {25, 25, 18, 25};
         }),
         2},
        {"current 500 mA under", With([](Reading& r) { r.current = 29500; }), 0},
        {"current 1000 mA over", With([](Reading& r) { r.current = 31000; }), 0},
        {"current 1500 mA over", With([](Reading& r) { r.current = 31500; }), 3},
        {"current 1001 mA under", With([](Reading& r) { r.current = 28999; }), 3},
        {"pack 100 mV over the battery", With([](Reading& r) { r.pack = 52900; }), 0},
        {"pack 101 mV over the battery", With([](Reading& r) { r.pack = 52901; }), 4},
        {"pack 101 mV under the battery", With([](Reading& r) { r.pack = 52699; }), 4},
        {"cells before temperatures", With([](Reading& r) {
             r.cells[0] = 3000;
             r.temps[0] = 0;
         }),
         1},
        {"temperatures before current", With([](Reading& r) {
             r.temps[0] = 0;
             r.current = 0;
         }),
         2},
        {"current before pack", With([](Reading& r) {
             r.current = 0;
             r.pack = 0;
         }),
         3},
    };
    StartBound();
    SetLimits(kLimits);
    for (const VerdictCase& c : cases) {
        ShowReading(c.reading);
        EXPECT_EQ(form_->CheckModuleValues(), c.verdict) << c.what;
    }
}

TEST_F(AutoCheckTest, ANumberThatIsNotOneEndsTheVerdict) {
    StartBound();
    SetLimits(kLimits);
    ShowReading(kGood);
    form_->SG_TSBS->SetCells(1, 6, "");
    EXPECT_THROW(form_->CheckModuleValues(), EConvertError);
    ShowReading(kGood);
    form_->AutoCheckEdits[2]->SetText("1e3");
    EXPECT_THROW(form_->CheckModuleValues(), EConvertError);
}

struct CheckCase {
    Limits limits;
    const char* box;
    const char* log;
};

TEST_F(AutoCheckTest, TheCheckJudgesTheModulesReadingAndLogsIt) {
    std::filesystem::create_directories(folder_.Path() / "DataAccess");
    // The module discharges about 1.5 A, its cells a few mV apart.
    const CheckCase cases[] = {
        {{"50", "6", "1000", "100", "-1500", "-40000"}, "Battery Check OK !", "OK"},
        {{"50", "6", "1000", "100", "30000", "-40000"}, "Please Check BMS Detect Current Value !", "Curr WR"},
        {{"-1", "6", "1000", "100", "-1500", "-40000"}, "Please Check Cell Voltage !", "CELLV WR"},
        {{"50", "6", "1000", "5", "-1500", "-40000"}, "Please Check Pack and Battery Voltage !", "PackV WR"},
    };
    StartLoggedIn();
    const String serial = "TBM2024000100";
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.log);
        SetLimits(c.limits);
        ui_.AnswerNextBox(mrOk);
        RunCheck(2);
        EXPECT_EQ(Module().Requests(), Plain({CmdReadSerialNum, CmdQuerySbs}));
        EXPECT_EQ(form_->E_ReadSerialNum->Text(), serial);
        EXPECT_EQ(ui_.Boxes().back().text, c.box);
        const std::vector<String> lines = LogLines();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines.back(), LineOfGrid(c.log));
    }
    const std::vector<String> lines = LogLines();
    EXPECT_EQ(lines.size(), 1 + std::size(cases));
    EXPECT_EQ(lines.front(), kHeader);
}

TEST_F(AutoCheckTest, ACurrentBelowTheLowestEndsTheCheckUnlogged) {
    std::filesystem::create_directories(folder_.Path() / "DataAccess");
    StartLoggedIn();
    SetLimits({"50", "6", "1000", "100", "-1500", "0"});
    ui_.AnswerNextBox(mrOk);
    RunCheck(2);
    EXPECT_EQ(Module().Requests(), Plain({CmdReadSerialNum, CmdQuerySbs}));
    EXPECT_EQ(ui_.Boxes().back().text, "Please  Check  Current !");
    EXPECT_EQ(form_->E_ReadSerialNum->Text(), "");
    EXPECT_FALSE(FileExists(LogPath()));
}

TEST_F(AutoCheckTest, ASilentModuleIsLoggedAsNoAnswer) {
    std::filesystem::create_directories(folder_.Path() / "DataAccess");
    StartLoggedIn();
    SetLimits(kLimits);
    // A reading of earlier is in the grid; it is not this module's.
    ui_.Click(Reveal("B_Query"));
    ASSERT_TRUE(WaitUntil([&] { return form_->DoneTsbs == 1; }));
    const size_t boxes = ui_.Boxes().size();
    AddFault("silent:times=0");

    RunCheck();
    EXPECT_EQ(Module().Requests(), Plain({CmdReadSerialNum}));
    EXPECT_EQ(ui_.Boxes().size(), boxes);
    const std::vector<String> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], kHeader);
    const String& line = lines[1];
    EXPECT_EQ(line.find(','), 19u) << line;  // "YYYY-MM-DD HH-MM-SS"
    EXPECT_EQ(line.substr(19), "," + String(38, ',') + "no answer,\r\n");
}

TEST_F(AutoCheckTest, AModuleThatSendsNoReadingIsLoggedAsNoAnswer) {
    std::filesystem::create_directories(folder_.Path() / "DataAccess");
    StartLoggedIn();
    SetLimits(kLimits);
    AddFault("silent:cmd=0x03");
    RunCheck(1);
    EXPECT_EQ(Module().Requests(), Plain({CmdReadSerialNum, CmdQuerySbs}));
    const std::vector<String> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(19), ",TBM2024000100," + String(37, ',') + "no answer,\r\n");
}

TEST_F(AutoCheckTest, RefusalsLogNothing) {
    StartLoggedIn();
    SetLimits(kLimits);
    form_->ClosePort();
    RunCheck();
    EXPECT_EQ(InfoLine(), "    Please open port frist!");
    EXPECT_TRUE(ReceivedAfterPause().empty());

    ASSERT_TRUE(form_->OpenPort());
    AddFault("silent:times=0");
    form_->AutoCheckEdits[5]->SetText("low");
    ui_.AnswerNextBox(mrOk);
    RunCheck();
    EXPECT_EQ(ui_.Boxes().back().text, "'low' is not a valid integer value.");
    EXPECT_FALSE(FileExists(LogPath()));
}

TEST_F(AutoCheckTest, ALogThatCannotBeMadeIsReported) {
    StartLoggedIn();
    // A folder where the log would be.
    std::filesystem::create_directories(LogPath());
    SetLimits(kLimits);
    AddFault("silent:times=0");
    RunCheck();
    EXPECT_EQ(InfoLine(), "    Fail to build record file!");
    EXPECT_EQ(InfoColor(), kFailureColor);
}

}  // namespace
}  // namespace tarvel::testing
