// The automatic check: one module's serial number and reading, judged
// against the six limits of the hidden group TeGroupBox38 and logged with
// the verdict in "DataAccess/AutoCheck.csv". The waits handle window
// messages, so the serial-number and telemetry displays fill the edit and
// the grid while the check waits for them.

#include <algorithm>
#include <span>

#include "app/Main.h"
#include "app/Main_HiddenGroups.h"
#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "records/ReadingStore.h"

namespace tarvel {
namespace {

constexpr uint32_t kReplyWaitMs = 500;
constexpr const char* kLogFile = "DataAccess/AutoCheck.csv";

struct Verdict {
    const char* box;
    const char* log;
};

// By verdict 0 to 4.
constexpr Verdict kVerdicts[] = {
    {"Battery Check OK !", "OK"},
    {"Please Check Cell Voltage !", "CELLV WR"},
    {"Please Check Temperature !", "Temp WR"},
    {"Please Check BMS Detect Current Value !", "Curr WR"},
    {"Please Check Pack and Battery Voltage !", "PackV WR"},
};
// The log text of a module that did not answer: its reading is not known.
constexpr const char* kNoAnswer = "no answer";

// Strict, as the check reads every number: malformed text raises.
int64_t Number(const String& text) { return StrToInt(text); }

int64_t Spread(std::span<const int64_t> values) {
    if (values.empty()) return 0;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return *high - *low;
}

bool Beyond(int64_t distance, int64_t limit) { return distance > limit || distance < -limit; }

// A reading line of the single-module table with the verdict's column added.
std::string WithVerdict(std::string line, const char* verdict) {
    if (line.ends_with("\r\n")) line.resize(line.size() - 2);
    return line + verdict + ",\r\n";
}

}  // namespace

void TMainForm::WaitMs(uint32_t ms) {
    const uint32_t start = GetTickCount();
    int64_t began = 0, now = 0, perSecond = 1;
    QueryPerformanceCounter(&began);
    QueryPerformanceFrequency(&perSecond);
    for (;;) {
        Application->ProcessMessages();
        const uint32_t ticks = GetTickCount();
        if (Application->Terminated() || TicksSince(start, ticks) >= ms) return;
        // A tick source that stands still (a test's clock nobody moves) must
        // not hold the window for ever; one that moves is followed alone.
        QueryPerformanceCounter(&now);
        if (ticks == start && (now - began) * 1000 / perSecond >= ms) return;
        Sleep(1);
    }
}

int TMainForm::CheckModuleValues() {
    std::array<int64_t, 5> limits{};
    for (size_t i = 0; i < limits.size(); ++i)
        limits[i] = Number(AutoCheckEdits[i] ? AutoCheckEdits[i]->Text() : String());
    const auto [cellLimit, tempLimit, currentLimit, packLimit, expectedCurrent] = limits;

    std::array<int64_t, 16> cells{};
    for (size_t i = 0; i < cells.size(); ++i) cells[i] = Number(SG_TSBS->Cells(1, 2 + static_cast<int>(i)));
    // The cells in use are counted; the spread runs over that many from V1.
    const auto used = std::count_if(cells.begin(), cells.end(), [](int64_t v) { return v > 2; });
    const int64_t cellSpread = Spread(std::span(cells).first(static_cast<size_t>(used)));

    std::array<int64_t, 4> temps{};
    for (size_t i = 0; i < temps.size(); ++i) temps[i] = Number(SG_TSBS->Cells(4, static_cast<int>(i)));
    const int64_t current = Number(SG_TSBS->Cells(1, 18));
    const int64_t pack = Number(SG_TSBS->Cells(1, 0));
    const int64_t batt = Number(SG_TSBS->Cells(1, 1));

    if (cellSpread > cellLimit) return 1;
    if (Spread(temps) > tempLimit) return 2;
    if (Beyond(current - expectedCurrent, currentLimit)) return 3;
    if (Beyond(pack - batt, packLimit)) return 4;
    return 0;
}

void TMainForm::WriteAutoCheckRow(bool answered) {
    const String serial = E_ReadSerialNum ? E_ReadSerialNum->Text() : String();
    String line;
    if (answered) {
        TelemetryTexts values;
        for (int row = 0; row < 19; ++row) values[row] = SG_TSBS->Cells(1, row);
        for (int row = 0; row < 18; ++row) values[19 + row] = SG_TSBS->Cells(4, row);
        const int verdict = CheckModuleValues();
        line = WithVerdict(ReadingCsvLine(ReadingTable::SingleModule, SG_TSBS->Cells(4, 18), serial, values),
                           kVerdicts[verdict].log);
    } else {
        // The grid still shows an earlier reading, which is not this module's.
        line = WithVerdict(
            ReadingCsvLine(ReadingTable::SingleModule, TelemetryTimeText(Now()), serial, TelemetryTexts{}),
            kNoAnswer);
    }
    const String path = AppPath(kLogFile);
    const bool existed = FileExists(path);
    try {
        AppendFileText(path, line, WithVerdict(ReadingCsvHeader(ReadingTable::SingleModule), "AutoCheck"));
    } catch (const EWriteError&) {
        ShowInfo("Fail to write record file!", kFailureColor);
    } catch (const Exception&) {
        ShowInfo(existed ? "Fail to open record file!" : "Fail to build record file!", kFailureColor);
    }
}

void TMainForm::TeButton11Click(TObject*) {
    // A click handled inside the waits must not start a second check.
    if (AutoCheckRunning) return;
    if (!PortOpen) {
        ShowInfo("Please open port frist!", kFailureColor);
        return;
    }
    AutoCheckRunning = 1;
    struct Done {
        uint8_t& running;
        ~Done() { running = 0; }
    } done{AutoCheckRunning};

    if (E_ReadSerialNum) E_ReadSerialNum->SetText("");
    SendCommand(ModuleAddress(), CmdReadSerialNum);
    WaitMs(kReplyWaitMs);
    // A line lost during the wait ends the check: no module can answer it.
    if (!PortOpen) return;
    const int64_t lowestCurrent = Number(AutoCheckEdits[5] ? AutoCheckEdits[5]->Text() : String());
    if (!E_ReadSerialNum || E_ReadSerialNum->Text().empty()) {
        WriteAutoCheckRow(false);
        return;
    }
    DoneTsbs = 0;
    SendCommand(ModuleAddress(), CmdQuerySbs);
    WaitMs(kReplyWaitMs);
    if (!PortOpen) return;
    if (!DoneTsbs) {
        WriteAutoCheckRow(false);
        return;
    }
    if (lowestCurrent > Number(SG_TSBS->Cells(1, 18))) {
        Application->MessageBox("Please  Check  Current !");
        E_ReadSerialNum->SetText("");
        return;
    }
    Application->MessageBox(kVerdicts[CheckModuleValues()].box);
    WriteAutoCheckRow();
}

void TMainForm::BindAutoCheckHandlers() {
    TWinControl* page = ScrolledPanels[kTsbsPanel];
    if (!page || TeButton11) return;
    TeButton11 = BindButton(*this, page, "TeButton11", "Automatic Check", Area(700, 560, 130, 28),
                            [this] { TeButton11Click(nullptr); });
    TeButton11->SetVisible(false);
}

}  // namespace tarvel
