// The serial-number list and the polling by serial number against four
// simulated modules on one line: editing the list on its tab, its text
// file, the write of a module's serial number, and the day's serial-data
// file of the polling.

#include <fstream>
#include <sstream>

#include "link/DeviceFrame.h"
#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"
#include "platform/winsys/MessageApi.h"
#include "tests/app/ModuleQueryFixture.h"

namespace tarvel::testing {
namespace {

std::vector<String> Lines(const String& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<String> lines;
    for (String line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<String> Fields(const String& line) {
    std::vector<String> fields;
    std::stringstream split(line);
    for (String field; std::getline(split, field, '\t');) fields.push_back(field);
    return fields;
}

class SerialNumberTest : public ModuleQueryTest {
protected:
    // Single-module mode on the serial-number tab, which no view shows,
    // with the module-address box on module 2.
    TMainForm* StartOnList() {
        TMainForm* form = StartBound();
        form->SetModuleIndex(2);
        form->TS_SerialNum->SetPageVisible(true);
        form->PC_All->SetActivePage(form->TS_SerialNum);
        ui_.RunUntilIdle();
        return form;
    }

    void SetList(const std::vector<String>& entries) {
        for (int i = 0; i < kModuleCount; ++i)
            form_->SetSerialEntry(i, static_cast<size_t>(i) < entries.size() ? entries[i] : "");
        form_->LastSerialIndex = static_cast<uint8_t>(std::max<size_t>(entries.size(), 1) - 1);
    }
    std::vector<String> List() {
        std::vector<String> entries;
        for (int i = 0; i <= form_->LastSerialIndex; ++i) entries.push_back(form_->SerialEntry(i));
        return entries;
    }

    void TypeInto(const char* edit, const String& text) {
        ui_.Find<TTeEdit>(form_, edit)->SetText("");
        ui_.Click(form_, edit);
        ui_.Type(text);
    }

    sim::ModuleState Module(uint8_t address) { return ModuleQueryTest::Module().Module(address); }
    static String SerialOf(const sim::ModuleState& m) { return TextUntilZero(m.serial); }
    static String DaysFile() { return AppPath("SerialData/" + DateToStr(Date()) + "数据.txt"); }
};

// No view shows the polling group and its controls: the tests show them.
void ShowPollingGroup(TMainForm* form) {
    form->TeGroupBox14->SetVisible(true);
    form->CB_SerailQuery->SetVisible(true);
    form->B_QuerySerialNum->SetVisible(true);
}

TEST_F(SerialNumberTest, AddingTakesTheEntryAfterTheLastUsedAndRefusesWhatDoesNotFit) {
    TMainForm* form = StartOnList();
    SetList({"A-1"});
    // The blank and the slash are dropped as they are typed; Enter adds.
    TypeInto("E_SerialNumScan", "AB C/12.x");
    EXPECT_EQ(form->E_SerialNumScan->GetText(), "ABC12.x");
    ui_.PressKey(VK_RETURN);
    EXPECT_EQ(List(), (std::vector<String>{"A-1", "ABC12.x"}));
    EXPECT_EQ(form->E_SerialNumScan->GetText(), "");

    struct Case {
        const char* text;
        int last;
        const char* box;
    };
    const Case refused[] = {
        {"ABC12.x", 1, "It exist. Please check again!"},
        {"A12345678901234567890", 1, "Please check length of serial number!"},
        {"NEW", 63, "Serial number is full!"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.text);
        form->LastSerialIndex = static_cast<uint8_t>(c.last);
        const std::vector<String> before = List();
        const size_t boxes = ui_.Boxes().size();
        TypeInto("E_SerialNumScan", c.text);
        ui_.Click(form, "B_ScanSerialNum");
        ASSERT_EQ(ui_.Boxes().size(), boxes + 1);
        EXPECT_EQ(ui_.Boxes().back().text, c.box);
        EXPECT_EQ(ui_.Boxes().back().type, mtInformation);
        EXPECT_EQ(List(), before);
    }
}

TEST_F(SerialNumberTest, DeletingMovesTheLastEntryIntoTheGap) {
    TMainForm* form = StartOnList();
    SetList({"A", "B", "C", "D", "E"});
    TypeInto("E_SerialNumScan", "C");
    ui_.AnswerNextBox(mrNo);
    ui_.Click(form, "B_DelSerialNum");
    EXPECT_EQ(List(), (std::vector<String>{"A", "B", "C", "D", "E"}));
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form, "B_DelSerialNum");
    EXPECT_EQ(ui_.Boxes().back().text, "Delete?");
    EXPECT_EQ(List(), (std::vector<String>{"A", "B", "E", "D"}));
    EXPECT_EQ(form->SerialEntry(4), "");

    TypeInto("E_SerialNumScan", "Z");
    ui_.Click(form, "B_DelSerialNum");
    EXPECT_EQ(ui_.Boxes().back().text, "It doesn't exist. Please check again!");

    // The first entry always counts as used.
    SetList({"ONLY"});
    TypeInto("E_SerialNumScan", "ONLY");
    ui_.AnswerNextBox(mrYes);
    ui_.Click(form, "B_DelSerialNum");
    EXPECT_EQ(form->LastSerialIndex, 0);
    EXPECT_EQ(form->SerialEntry(0), "");
}

TEST_F(SerialNumberTest, ReplacingAsksFirstAndRefusesNumbersTheListHasOrLacks) {
    TMainForm* form = StartOnList();
    SetList({"A", "B", "C"});
    struct Case {
        const char* oldText;
        const char* newText;
        int answer;  // of the question, when it comes
        const char* box;
        std::vector<String> list;
    };
    const Case cases[] = {
        {"B", "C", 0, "It exist. Please check again!", {"A", "B", "C"}},
        {"Q", "X", 0, "It doesn't exist! Please check again!", {"A", "B", "C"}},
        {"B", "X12345678901234567890", 0, "Length beyond. Please check again!", {"A", "B", "C"}},
        {"B", "X", mrNo, "Replace?", {"A", "B", "C"}},
        {"B", "X", mrYes, "Replace?", {"A", "X", "C"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.oldText) + " by " + c.newText);
        TypeInto("E_SerialNumOld", c.oldText);
        TypeInto("E_SerialNumNew", c.newText);
        if (c.answer) ui_.AnswerNextBox(c.answer);
        ui_.Click(form, "B_ReplaceSerialNum");
        EXPECT_EQ(ui_.Boxes().back().text, c.box);
        EXPECT_EQ(List(), c.list);
    }
    EXPECT_EQ(form->E_SerialNumOld->GetText(), "");
    EXPECT_EQ(form->E_SerialNumNew->GetText(), "");
}

TEST_F(SerialNumberTest, SortingPutsUpperCaseBeforeLowerCase) {
    TMainForm* form = StartOnList();
    SetList({"b", "a", "C"});
    form->SortSerialNumbers();
    EXPECT_EQ(List(), (std::vector<String>{"C", "a", "b"}));
}

TEST_F(SerialNumberTest, TheListIsSavedToAndLoadedFromItsTextFile) {
    TMainForm* form = StartOnList();
    SetList({"S-1", "S-2"});
    const String saved = AppPath("saved.txt");
    ui_.ChooseNextFile(saved);
    ui_.Click(form, "SaveSerialNum");
    EXPECT_EQ(ui_.Boxes().back().text, "Succee!");
    std::vector<String> expected(64, "");
    expected[0] = "S-1";
    expected[1] = "S-2";
    EXPECT_EQ(Lines(saved), expected);
    const TFileRecord& dialog = ui_.Dialogs().Files().back();
    EXPECT_EQ(dialog.request.title, "Save");
    EXPECT_EQ(dialog.request.filter, "Serial Number(*.txt)|*.txt");

    // Three words fill entries 0 to 2 and empty the rest.
    const String three = AppPath("three.txt");
    ASSERT_TRUE(SaveFileText(three, "X1  X2\r\n\tX3\n"));
    SetList({"A", "B", "C", "D", "E"});
    ui_.ChooseNextFile(three);
    ui_.Click(form, "GetSerialNum");
    EXPECT_EQ(ui_.Boxes().back().text, "Succee!");
    EXPECT_EQ(List(), (std::vector<String>{"X1", "X2", "X3"}));
    EXPECT_EQ(form->SerialEntry(3), "");

    // A word longer than an entry, and a file that is not there, leave the list as it was.
    const String tooLong = AppPath("long.txt");
    ASSERT_TRUE(SaveFileText(tooLong, "OK1 ABCDEFGHIJKLMNOPQRSTUVWXYZ OK2"));
    for (const String& path : {tooLong, AppPath("missing.txt")}) {
        SCOPED_TRACE(path);
        ui_.ChooseNextFile(path);
        ui_.Click(form, "GetSerialNum");
        EXPECT_TRUE(ui_.Boxes().back().text.starts_with("fail!"));
        EXPECT_EQ(List(), (std::vector<String>{"X1", "X2", "X3"}));
    }
}

TEST_F(SerialNumberTest, AModuleSerialNumberIsWrittenAndReadBack) {
    TMainForm* form = StartOnList();
    form->BindMonitoringHandlers();
    OpenOnLine();
    ui_.Find(form, "GB_WriteSerialNum")->SetVisible(true);
    form->PC_All->SetActivePage(form->TS_Monitor);

    TypeInto("E_WriteSerialNum", "NEW-SERIAL.001");
    ui_.Click(form, "B_WriteSerialNum");
    ASSERT_TRUE(WaitUntil([&] { return SerialOf(Module(2)) == "NEW-SERIAL.001"; }));
    Bytes data(20, 0);
    std::copy_n("NEW-SERIAL.001", 14, data.begin());
    EXPECT_EQ(Requests().back(), BuildFrame(2, CmdWriteSerialNum, data));
    ui_.Click(form, "B_ReadSerialNum");
    EXPECT_TRUE(WaitUntil([&] { return form->E_ReadSerialNum->GetText() == "NEW-SERIAL.001"; }));

    // Twenty characters go out as nineteen and a zero; "0" sends nothing.
    TypeInto("E_WriteSerialNum", "ABCDEFGHIJ0123456789");
    ui_.Click(form, "B_WriteSerialNum");
    EXPECT_TRUE(WaitUntil([&] { return SerialOf(Module(2)) == "ABCDEFGHIJ012345678"; }));
    const size_t carried = Requests().size();
    TypeInto("E_WriteSerialNum", "0");
    ui_.Click(form, "B_WriteSerialNum");
    form->AutoQueryOn = 1;
    TypeInto("E_WriteSerialNum", "OTHER");
    ui_.Click(form, "B_WriteSerialNum");
    EXPECT_EQ(InfoLine(), "    Please turn off automatic query frist!");
    WaitUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_EQ(Requests().size(), carried);
    EXPECT_EQ(SerialOf(Module(3)), "TBM2024000103") << "only the addressed module takes it";
}

// The modules of the list are asked by serial number, one a second. Only
// the module the address box names answers in a way the reply check takes;
// each of its answers is a row of the day's file.
TEST_F(SerialNumberTest, PollingBySerialNumberWritesTheAnswersToTheDaysFile) {
    TMainForm* form = StartOnList();
    OpenOnLine();
    SetList({SerialOf(Module(2)), "", SerialOf(Module(3)), "NOBODY"});
    ShowPollingGroup(form);
    form->PC_All->SetActivePage(form->TS_TSBS);
    ui_.Click(form, "CB_SerailQuery");
    EXPECT_EQ(form->SerialPollOn, 1);
    EXPECT_EQ(form->SerialPollCount, 3);
    for (const char* locked : {"B_QuerySerialNum", "B_ScanSerialNum", "B_ReplaceSerialNum"})
        EXPECT_FALSE(ui_.Find(form, locked)->Enabled()) << locked;

    // Two rounds of the three numbers.
    for (size_t sent = 1; sent <= 6; ++sent) {
        ui_.AdvanceClock(1000, 10);
        ASSERT_TRUE(LineCarried(sent));
        // Each tick empties the grid; module 2's answers fill it. The
        // others' answers are given time to come and be refused.
        const String batt = std::to_string(Module(2).telemetry.batt);
        if (sent % 3 == 1)
            EXPECT_TRUE(WaitUntil([&] { return ui_.CellText(form->SG_TSBS, 1, 1) == batt; })) << sent;
        else
            WaitUntil([] { return false; }, std::chrono::milliseconds(150));
    }
    ui_.Click(form, "CB_SerailQuery");
    EXPECT_EQ(form->SerialPollOn, 0);
    EXPECT_FALSE(form->SerialDataStream.IsOpen());
    EXPECT_TRUE(ui_.Find(form, "B_QuerySerialNum")->Enabled());

    const std::vector<Bytes> requests = Requests();
    ASSERT_EQ(requests.size(), 6u);
    for (size_t i = 0; i < requests.size(); ++i) {
        const String serial = i % 3 == 0 ? SerialOf(Module(2)) : i % 3 == 1 ? SerialOf(Module(3)) : "NOBODY";
        Bytes data(20, 0);
        std::copy(serial.begin(), serial.end(), data.begin());
        EXPECT_EQ(requests[i], BuildFrame(2, CmdQuerySbs, data)) << i;
    }

    const std::vector<String> lines = Lines(DaysFile());
    ASSERT_EQ(lines.size(), 3u) << "the header and module 2's two answers";
    const std::vector<String> header = Fields(lines[0]);
    ASSERT_EQ(header.size(), 39u);
    EXPECT_EQ(header[0], "RecordTime");
    EXPECT_EQ(header[38], "Dis_SOC");
    EXPECT_TRUE(lines[0].ends_with("\t"));
    const sim::Telemetry& last = Module(2).telemetry;
    const std::vector<String> row = Fields(lines[2]);
    ASSERT_EQ(row.size(), 42u);
    EXPECT_EQ(row[0].size(), 8u) << "hh:nn:ss";
    EXPECT_EQ(row[1], "TBM2024000102");
    EXPECT_EQ(row[2], std::to_string(last.pack));
    EXPECT_EQ(row[3], std::to_string(last.batt));
    EXPECT_EQ(row[20], std::to_string(last.current));
    EXPECT_EQ(row[21], std::to_string(last.temps[0]));
    EXPECT_EQ(row[34], "");
    EXPECT_EQ(row[35], std::to_string(last.battState));
    EXPECT_EQ(row[37], std::to_string(last.soc));
    EXPECT_EQ(row[41], std::to_string(last.totalDiscSoc));

    // Polling again the same day adds to the file, without a second header.
    SetList({SerialOf(Module(2))});
    ui_.Click(form, "CB_SerailQuery");
    ui_.AdvanceClock(1000, 10);
    ASSERT_TRUE(LineCarried(7));
    EXPECT_TRUE(WaitUntil([&] { return Lines(DaysFile()).size() == 4; }));
    ui_.Click(form, "CB_SerailQuery");
}

TEST_F(SerialNumberTest, PollingAnEmptyListSendsNothingButKeepsTheToolLoggedIn) {
    TMainForm* form = StartOnList();
    OpenOnLine();
    SetList({});
    ShowPollingGroup(form);
    form->PC_All->SetActivePage(form->TS_TSBS);
    ui_.Click(form, "CB_SerailQuery");
    for (int second = 0; second < 3; ++second) {
        form->LoggedIn = 0;
        ui_.AdvanceClock(1000, 10);
        EXPECT_EQ(form->LoggedIn, 1);
    }
    ui_.Click(form, "CB_SerailQuery");
    ui_.Click(form, "B_QuerySerialNum");
    EXPECT_EQ(InfoLine(), "    Please choose a serial number first!");
    WaitUntil([] { return false; }, std::chrono::milliseconds(150));
    EXPECT_TRUE(Requests().empty());
}

}  // namespace
}  // namespace tarvel::testing
