// The parameter grid without a module: ".bms" files through the tool bar's
// Load Data and Save Data, the initial values of "BMSAdjust.ini" and the
// clear item of the grid's popup menu, and the tool bar acting on the page
// in front.

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/app/ProtectionParametersFixture.h"

namespace tarvel::testing {
namespace {

String FileText(const String& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const String& path, const String& text) { std::ofstream(path, std::ios::binary) << text; }

class ParameterFilesTest : public ProtectionParametersTest {
protected:
    TMainForm* StartFiles() {
        TMainForm* form = StartParams();
        // The folders start-up makes beside the executable.
        std::filesystem::create_directories(AppPath("BMS"));
        std::filesystem::create_directories(AppPath("KB"));
        return form;
    }

    // Picks an item of the grid's popup menu (0: initial values, 1: clear).
    // The menu opens under the pointer, on its first item.
    void PickPopupItem(int index) {
        ui_.WhenModal([this, index] {
            for (int i = 0; i < index; ++i) ui_.PressKey(VK_DOWN);
            ui_.PressKey(VK_RETURN);
        });
        ui_.RightClick(form_->SG_TBMS);
        ui_.RunUntilIdle();
    }

    void Load(const std::optional<String>& file) {
        ui_.ChooseNextFile(file);
        ui_.Click(form_, "TB_Load");
    }
    void Save(const std::optional<String>& file) {
        ui_.ChooseNextFile(file);
        ui_.Click(form_, "TB_Save");
    }
    const TFileRequest& LastDialog() {
        if (ui_.Dialogs().Files().empty()) throw std::logic_error("no file dialog was shown");
        return ui_.Dialogs().Files().back().request;
    }

    std::vector<String> Parameters() {
        std::vector<String> texts;
        for (int p = 1; p <= kParameters; ++p) texts.push_back(Parameter(p));
        return texts;
    }
};

String FileLine(const std::vector<String>& numbers) {
    String line;
    for (const String& n : numbers) line += n + "\t";
    return line + "\r\n";
}

TEST_F(ParameterFilesTest, ReadParametersSavedToAFileLoadBackUnchanged) {
    TMainForm* form = StartFiles();
    OpenLoggedIn();
    ReadFromModule();
    // A value wider than its field is kept: only a write to the module checks it.
    TypeIntoCell(1, 12, "70000");
    TypeIntoCell(4, 6, "-40");
    const std::vector<String> shown = Parameters();

    Save("module");
    EXPECT_EQ(LastDialog().title, "Save");
    EXPECT_EQ(LastDialog().filter, "BMS (*.bms)|*.bms");
    EXPECT_EQ(LastDialog().defaultExt, "bms");
    EXPECT_EQ(LastDialog().initialDir, AppPath("BMS"));
    EXPECT_EQ(InfoLine(), "    Succeed to save BMS!");
    EXPECT_EQ(InfoColor(), kSuccessColor);
    const String path = AppPath("BMS/module.bms");
    String expected;
    for (const String& n : shown) expected += n + "\t";
    EXPECT_EQ(FileText(path), expected + "\r\n");
    EXPECT_TRUE(expected.starts_with(Parameter(1) + "\t" + Parameter(2) + "\t"));
    EXPECT_NE(expected.find("\t70000\t"), String::npos);

    PickPopupItem(1);
    EXPECT_EQ(Parameter(13), "");
    Load("module.bms");
    EXPECT_EQ(LastDialog().title, "Load BMS");
    EXPECT_EQ(LastDialog().filter, "BMS (*.bms)|*.bms");
    EXPECT_EQ(LastDialog().initialDir, AppPath("BMS"));
    EXPECT_EQ(Parameters(), shown);
    EXPECT_EQ(InfoLine(), "    Succeed to load BMS!");
    EXPECT_EQ(InfoColor(), kSuccessColor);
    // The hidden threshold grids are not loaded.
    EXPECT_EQ(ui_.CellText(form->SG_Highcvset, 1, 0), "");
}

TEST_F(ParameterFilesTest, AFileThatHoldsNo48NumbersChangesNothing) {
    std::vector<String> numbers;
    for (int p = 1; p <= kParameters; ++p) numbers.push_back(std::to_string(-p * 10));
    String separated;  // blanks and line ends instead of TABs
    for (const String& n : numbers) separated += n + (n.size() % 2 ? " " : "\n");
    const String whole = FileLine(numbers);
    struct Case {
        const char* what;
        String text;
        bool loads;
    };
    const Case cases[] = {
        {"47 numbers", whole.substr(0, whole.rfind("-480")), false},
        {"a word", "P1\t" + whole, false},
        {"empty", "", false},
        {"a number beyond 32 bits", "4294967296\t" + whole, false},
        {"the tool's own line", whole, true},
        {"no white space after the last number", whole.substr(0, whole.size() - 3), true},
        {"blanks and line ends", separated, true},
    };
    StartFiles();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PickPopupItem(0);
        const std::vector<String> before = Parameters();
        WriteText(AppPath("BMS/case.bms"), c.text);
        Load("case.bms");
        EXPECT_EQ(Parameters(), c.loads ? numbers : before);
        EXPECT_EQ(InfoLine(), c.loads ? "    Succeed to load BMS!" : "    Fail to load BMS!");
        EXPECT_EQ(InfoColor(), c.loads ? kSuccessColor : kFailureColor);
    }

    // A cancelled dialog and a file that is not there.
    PickPopupItem(0);
    form_->ShowInfo("", kSuccessColor);
    Load(std::nullopt);
    EXPECT_EQ(InfoLine(), "    ");
    Load("missing.bms");
    EXPECT_EQ(InfoLine(), "    Fail to load BMS!");
    EXPECT_EQ(Parameter(1), "3000");
}

TEST_F(ParameterFilesTest, ACellThatHoldsNoNumberStopsTheSaveBeforeAnyFile) {
    StartFiles();
    PickPopupItem(0);
    form_->SG_TBMS->SetCells(4, 3, "");
    const size_t boxes = ui_.Boxes().size();
    Save("empty");
    ASSERT_EQ(ui_.Boxes().size(), boxes + 1);
    EXPECT_EQ(ui_.Boxes().back().type, mtError);
    EXPECT_EQ(ui_.Boxes().back().text, "ALARM.LIM IN DISCHG.CURRENT OVER: '' is not a valid integer value.");
    EXPECT_FALSE(std::filesystem::exists(AppPath("BMS/empty.bms")));
}

TEST_F(ParameterFilesTest, SavingOntoAFileAsksAndReplacesItOnlyAfterYes) {
    StartFiles();
    PickPopupItem(0);
    const String path = AppPath("BMS/old.bms");
    for (const int answer : {mrNo, mrYes}) {
        SCOPED_TRACE(answer);
        WriteText(path, "old");
        form_->ShowInfo("", kSuccessColor);
        const size_t boxes = ui_.Boxes().size();
        ui_.AnswerNextBox(answer);
        Save("old.bms");  // after No the dialog asks again, and nothing chooses then
        ASSERT_EQ(ui_.Boxes().size(), boxes + 1);
        EXPECT_EQ(ui_.Boxes().back().text, "old.bms already exists.\nDo you want to replace it?");
        EXPECT_EQ(FileText(path),
                  answer == mrYes ? FileLine(std::vector<String>(kParameters, "3000")) : "old");
        EXPECT_EQ(InfoLine(), answer == mrYes ? "    Succeed to save BMS!" : "    ");
    }
}

TEST_F(ParameterFilesTest, TheInitialValuesComeFromTheSectionOfTheVariant) {
    struct Case {
        const char* what;
        int variant;
        bool iniFile;
        std::vector<std::pair<int, const char*>> changed;  // P, text; the rest are 3000
    };
    const Case cases[] = {
        {"3U", 1, true, {{1, "4200"}, {30, "-60000"}}},
        {"BMS", 0, true, {{13, "3650"}, {48, "-5"}}},
        {"3U without the file", 1, false, {}},
    };
    StartFiles();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(AppPath("BMSAdjust.ini"));
        if (c.iniFile)
            WriteText(AppPath("BMSAdjust.ini"),
                      "[3UPara]\r\nNum1=4200\r\nNum30=-60000\r\n[BMSPara]\r\nNum13=3650\r\nNum48=-5\r\n");
        form_->ProductVariant = c.variant;
        PickPopupItem(1);
        PickPopupItem(0);
        std::vector<String> expected(kParameters, "3000");
        for (const auto& [p, text] : c.changed) expected[p - 1] = text;
        EXPECT_EQ(Parameters(), expected);
        EXPECT_EQ(ui_.CellText(form_->SG_Overcurrset, 1, 1), expected[29]);
        EXPECT_EQ(ui_.CellText(form_->SG_Highcvset, 1, 0), expected[12]);
        EXPECT_EQ(ui_.CellText(form_->SG_Lowtempset, 1, 7), expected[45]);
    }

    // Another variant has no initial values; the clear item empties the
    // grid and its mirrors.
    form_->ProductVariant = 2;
    PickPopupItem(0);
    EXPECT_EQ(Parameter(1), "3000");
    PickPopupItem(1);
    EXPECT_EQ(Parameters(), std::vector<String>(kParameters, ""));
    EXPECT_EQ(ui_.CellText(form_->SG_Overcurrset, 1, 1), "");
    EXPECT_EQ(Cell(2, 0), "mV");
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(ParameterFilesTest, LoadAndSaveActOnThePageInFront) {
    struct Case {
        const char* what;
        TTeTabSheet* TMainForm::*page;
        const char* loadTitle;  // none: no dialog
        const char* filter;
        const char* folder;
    };
    const Case cases[] = {
        {"calibration", &TMainForm::TS_Adjust, "Load KB", "KB (*.kb)|*.kb", "KB"},
        {"parameters", &TMainForm::TS_TBMS, "Load BMS", "BMS (*.bms)|*.bms", "BMS"},
        {"telemetry", &TMainForm::TS_TSBS, nullptr, nullptr, nullptr},
        {"information", &TMainForm::TS_Info, nullptr, nullptr, nullptr},
    };
    TMainForm* form = StartFiles();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->PC_All->SetActivePage(form->*c.page);
        ui_.RunUntilIdle();
        const size_t dialogs = ui_.Dialogs().Files().size();
        Load(std::nullopt);
        Save(std::nullopt);
        if (!c.loadTitle) {
            EXPECT_EQ(ui_.Dialogs().Files().size(), dialogs);
            continue;
        }
        ASSERT_EQ(ui_.Dialogs().Files().size(), dialogs + 2);
        const TFileRequest& load = ui_.Dialogs().Files()[dialogs].request;
        EXPECT_EQ(load.title, c.loadTitle);
        EXPECT_FALSE(load.save);
        EXPECT_EQ(LastDialog().title, "Save");
        EXPECT_TRUE(LastDialog().save);
        for (const TFileRequest* request : {&load, &LastDialog()}) {
            EXPECT_EQ(request->filter, c.filter);
            EXPECT_EQ(request->initialDir, AppPath(c.folder));
        }
    }
}

}  // namespace
}  // namespace tarvel::testing
