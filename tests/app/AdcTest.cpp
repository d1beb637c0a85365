// The ADC tab against the simulated module: one reading into the grids, the
// periodic reading with its day's log file, and a log that cannot be made
// or written.

#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "telemetry/AdcReading.h"
#include "tests/app/MonitoringFixture.h"
#include "tools/bms-sim/ModuleRecords.h"

namespace tarvel::testing {
namespace {

class AdcTest : public MonitoringTest {
protected:
    TMainForm* StartAdc() {
        TMainForm* form = StartMonitoring();
        OpenLoggedIn();
        form->PC_All->SetActivePage(form->TS_TADC);
        return form;
    }

    // The 27 texts the grids show, in the order of the counts.
    std::vector<String> Shown() {
        std::vector<String> texts;
        for (const GridCell& cell : AdcCells())
            texts.push_back(ui_.CellText(ui_.Find(form_, String(cell.grid)), cell.column, cell.row));
        return texts;
    }

    // The counts the module sends, as text.
    std::vector<String> Sent() {
        const Bytes counts = sim::AdcCounts(Module().Module(kModuleAddress));
        std::vector<String> texts;
        for (size_t i = 0; i + 1 < counts.size(); i += 2)
            texts.push_back(std::to_string(counts[i] | counts[i + 1] << 8));
        return texts;
    }

    static std::string LogPath() { return AdcLogPath(Now()); }

    // The file's lines, each checked to end with CR LF.
    static std::vector<std::string> LogLines(const std::string& path) {
        const std::string text = ReadFileText(path);
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = text.find("\r\n", start);
            EXPECT_NE(end, std::string::npos) << "a line without CR LF: " << text.substr(start);
            if (end == std::string::npos) break;
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }

    // The fields of a line in which every field is followed by ",".
    static std::vector<std::string> Fields(const std::string& line) {
        EXPECT_TRUE(line.ends_with(",")) << line;
        std::vector<std::string> fields;
        for (size_t start = 0, end; (end = line.find(',', start)) != std::string::npos; start = end + 1)
            fields.push_back(line.substr(start, end - start));
        return fields;
    }
};

TEST_F(AdcTest, AQueryShowsTheCountsAndWritesNoLine) {
    TMainForm* form = StartAdc();
    ui_.Click(form, "B_ReadADC");
    ASSERT_TRUE(WaitUntil([&] { return !ui_.CellText(form->SG_TADC, 8, 1).empty(); }));
    EXPECT_EQ(Module().Requests().back(), BuildRequest(kModuleAddress, CmdReadAdc));
    EXPECT_EQ(Shown(), Sent());
    EXPECT_EQ(InfoLine(), "    Query ADC...  Succeed!");
    EXPECT_FALSE(FileExists(LogPath()));
}

TEST_F(AdcTest, ThePeriodicReadingLogsEachReplyToTheDaysFile) {
    TMainForm* form = StartAdc();
    form->CB_AutoReadADCInterval->SetText("3");
    for (int run = 0; run < 2; ++run) {
        Module().UpdateModule(kModuleAddress,
                              [run](sim::ModuleState& m) { m.telemetry.pack = 50000 + 1000 * run; });
        ui_.Click(form, "CB_AutoReadADC");
        ASSERT_EQ(form->AutoAdcOn, 1);
        EXPECT_FALSE(ui_.Enabled(form->B_ReadADC));
        EXPECT_FALSE(ui_.Enabled(form->B_ReadSerialNum));
        EXPECT_EQ(RunClock(7000, CmdReadAdc), (std::vector<uint32_t>{3000, 6000}));
        EXPECT_EQ(Shown(), Sent());
        ui_.Click(form, "CB_AutoReadADC");
        EXPECT_EQ(form->AutoAdcOn, 0);
        EXPECT_FALSE(form->AdcStream.IsOpen());
        EXPECT_TRUE(ui_.Enabled(form->B_ReadADC));
    }
    EXPECT_EQ(RequestsOf(CmdReadAdc), 4u);

    // One header, then each run's two readings and its closing empty line.
    const std::vector<std::string> lines = LogLines(LogPath());
    ASSERT_EQ(lines.size(), 7u);
    std::vector<std::string> header = {"RecordTime", "PackVADC"};
    for (int i = 1; i <= 16; ++i) header.push_back("CellVADC" + std::to_string(i));
    header.insert(header.end(), {"ChgCADC", "DisCADC"});
    for (int i = 1; i <= 8; ++i) header.push_back("TempADC" + std::to_string(i));
    EXPECT_EQ(Fields(lines[0]), header);
    const std::vector<String> sent = Sent();
    for (size_t at : {1u, 2u, 4u, 5u}) {
        const std::vector<std::string> fields = Fields(lines[at]);
        ASSERT_EQ(fields.size(), 28u) << lines[at];
        EXPECT_TRUE(fields[0].size() == 8 && fields[0][2] == ':' && fields[0][5] == ':') << fields[0];
        EXPECT_EQ(fields[1], at < 3 ? "5000" : "5100");
        EXPECT_EQ(std::vector<std::string>(fields.begin() + 2, fields.end()),
                  std::vector<std::string>(sent.begin() + 1, sent.end()));
    }
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[6], "");
}

TEST_F(AdcTest, ALogThatCannotBeMadeOrWrittenIsSaidAndTheReadingGoesOn) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> breakLog;
        const char* info;
        int requestsBeforeSaid;
    };
    const Case cases[] = {
        {"no ADC folder",
         [](const std::filesystem::path& log) { std::filesystem::remove_all(log.parent_path()); },
         "    创建ADC记录文件出错！", 0},
        // A device is never taken for the log (writing one may wait for ever).
        {"a device in the log's place",
         [](const std::filesystem::path& log) {
             std::filesystem::create_directories(log.parent_path());
             std::filesystem::create_symlink("/dev/full", log);
         },
         "    打开数据记录文件出错！", 0},
    };
    TMainForm* form = StartAdc();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.breakLog(LogPath());
        ui_.Click(form, "CB_AutoReadADC");
        ASSERT_EQ(form->AutoAdcOn, 1);
        std::vector<uint32_t> sent = RunClock(1000 * c.requestsBeforeSaid, CmdReadAdc);
        EXPECT_EQ(InfoLine(), c.info);
        EXPECT_EQ(InfoColor(), kFailureColor);
        EXPECT_FALSE(form->AdcStream.IsOpen());
        sent = RunClock(2000, CmdReadAdc);
        EXPECT_EQ(sent.size(), 2u) << "the reading runs on";
        EXPECT_EQ(Shown(), Sent());
        ui_.Click(form, "CB_AutoReadADC");
        EXPECT_EQ(form->AutoAdcOn, 0);
    }
}

}  // namespace
}  // namespace tarvel::testing
