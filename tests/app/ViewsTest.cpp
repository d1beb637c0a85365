// The views of the main window, the edition switch behind its password, the
// mode switch with its question, and the product variant in "Version.dat".

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/base/Paths.h"
#include "tests/app/MainWindowFixture.h"

namespace tarvel::testing {
namespace {

constexpr const char* kUserTabs = "TS_TSBS TS_TBMS TS_Monitor TS_HisAlarm TeTabSheet1 TeTabSheet2";
constexpr const char* kEngineeringTabs =
    "TS_TSBS TS_TBMS TS_Adjust TS_Info TS_TADC TS_Monitor TS_HisAlarm TeTabSheet1 TeTabSheet2";
constexpr const char* kParallelTabs = "TS_RunState TS_TSBS TS_PraSet";

std::string ReadBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class ViewsTest : public MainWindowTest {
protected:
    TMainForm* StartWindow() {
        TMainForm* form = Start();
        ui_.Dialogs().Forget();
        return form;
    }

    void CloseWindow() {
        delete form_;
        form_ = nullptr;
        ui_.RunUntilIdle();
    }

    // One step of a sequence: 'E' the edition switch with the password, 'e'
    // with a wrong one, 'M' the mode switch (its question answered Yes), 'm'
    // the question answered No, 'U' the mode switch enabled again, as
    // stopping the automatic query does.
    void Run(char step) {
        switch (step) {
            case 'E':
            case 'e':
                ui_.AnswerNextInput(step == 'E' ? "7309" : "7308");
                EditionSwitch();
                break;
            case 'M':
            case 'm':
                if (form_->MultiModuleMode) ui_.AnswerNextBox(step == 'M' ? mrYes : mrNo);
                ModeSwitch();
                break;
            case 'U': form_->TB_SingleConvert->SetEnabled(true); break;
            default: FAIL() << "no step " << step;
        }
    }

    void EditionSwitch() { ui_.PressKey('C', TShiftState{ssCtrl, ssAlt}); }
    void ModeSwitch() { ui_.Click(form_->TB_SingleConvert); }
    void ChooseVariant(const char* item) {
        auto* menuItem = dynamic_cast<TTeItem*>(ui_.FindComponent(form_, item));
        ASSERT_NE(menuItem, nullptr) << item;
        menuItem->Click();
        ui_.RunUntilIdle();
    }

    // The sheets whose tabs the page control shows, in page order.
    std::string ShownTabs() {
        std::string shown;
        for (int i = 0; i < form_->PC_All->GetPageCount(); ++i) {
            TTeTabSheet* sheet = form_->PC_All->GetPage(i);
            if (sheet->TabIndex() < 0) continue;
            if (!shown.empty()) shown += ' ';
            shown += sheet->Name();
        }
        return shown;
    }

    String ActivePage() {
        TTeTabSheet* page = form_->PC_All->GetActivePage();
        return page ? page->Name() : "";
    }

    String VariantLabel() { return WideToUtf8(form_->Version1->GetCaption()); }
    void BringToFront(TTeTabSheet* sheet) {
        sheet->SetPageVisible(true);
        form_->PC_All->SetActivePage(sheet);
        ui_.RunUntilIdle();
    }

    bool Shown(const char* name) { return ui_.Find(form_, name)->Visible(); }
    bool Enabled(const char* name) { return ui_.Find(form_, name)->Enabled(); }
};

struct SequenceCase {
    const char* steps;
    const char* tabs;
    int edition;
    int mode;
    const char* modeCaption;
    bool modeEnabled;
    bool editionItemShown;
    bool detailShown;
    const char* activePage;  // nullptr: the page the window opened on
};

const SequenceCase kSequences[] = {
    {"", kUserTabs, 0, 0, "Module", true, true, false, nullptr},
    {"e", kUserTabs, 0, 0, "Module", true, true, false, nullptr},
    {"E", kEngineeringTabs, 1, 0, "Module", false, true, true, nullptr},
    {"EE", kUserTabs, 0, 0, "Module", true, true, false, nullptr},
    {"EeE", kUserTabs, 0, 0, "Module", true, true, false, nullptr},
    {"M", kParallelTabs, 0, 1, "NoModule", true, false, false, "TS_PraSet"},
    {"Mm", kParallelTabs, 0, 1, "NoModule", true, false, false, "TS_PraSet"},
    {"MM", kUserTabs, 0, 0, "Module", true, true, false, "TS_TSBS"},
    {"EUM", kParallelTabs, 1, 1, "NoModule", true, false, false, "TS_PraSet"},
    {"EUMM", kUserTabs, 1, 0, "Module", true, true, false, "TS_TSBS"},
    {"EUMME", kUserTabs, 0, 0, "Module", true, true, false, "TS_TSBS"},
    // The polling set-up in front loses its tab, so the first tab shown comes to the front.
    {"ME", "TS_TSBS TS_TBMS TS_Adjust TS_Info TS_TADC TS_Monitor", 1, 1, "NoModule", false, false, true,
     "TS_TSBS"},
    {"MEE", "TS_TSBS TS_TBMS", 0, 1, "NoModule", true, false, false, "TS_TSBS"},
    {"MEEM", kUserTabs, 0, 0, "Module", true, true, false, "TS_TSBS"},
};

TEST_F(ViewsTest, SequencesOfSwitchesShowTheirViews) {
    for (const SequenceCase& c : kSequences) {
        SCOPED_TRACE(std::string("steps \"") + c.steps + "\"");
        StartWindow();
        const String openedOn = ActivePage();
        EXPECT_EQ(openedOn, "TeTabSheet1");
        for (const char* step = c.steps; *step; ++step) Run(*step);

        EXPECT_EQ(ShownTabs(), c.tabs);
        EXPECT_EQ(form_->EngineeringEdition, c.edition);
        EXPECT_EQ(form_->MultiModuleMode, c.mode);
        EXPECT_EQ(form_->TB_SingleConvert->Caption(), c.modeCaption);
        EXPECT_EQ(form_->TB_SingleConvert->Enabled(), c.modeEnabled);
        EXPECT_EQ(form_->M_ConvertEdition->Visible(), c.editionItemShown);
        EXPECT_EQ(Shown("Detailinfo"), c.detailShown);
        EXPECT_EQ(ActivePage(), c.activePage ? c.activePage : openedOn);
        EXPECT_EQ(ui_.Dialogs().UnusedAnswers(), 0u);

        CloseWindow();
    }
}

TEST_F(ViewsTest, ParallelModeShowsItsOwnControlsAndSingleModeTakesThemBack) {
    StartWindow();
    form_->LoggedIn = 1;
    Run('M');
    EXPECT_TRUE(Shown("PC_All_Query"));
    EXPECT_FALSE(Enabled("TB_LOG"));
    EXPECT_EQ(form_->TB_LOG->ImageIndex(), 7);
    EXPECT_EQ(form_->TB_SingleConvert->ImageIndex(), 11);
    EXPECT_FALSE(Shown("TB_Load"));
    EXPECT_FALSE(Shown("B_Query"));
    EXPECT_FALSE(Shown("B_ReadBMS"));
    EXPECT_TRUE(Shown("TSBS_SeqNum"));
    EXPECT_TRUE(Enabled("TSBS_SeqNum"));
    EXPECT_EQ(ui_.Find(form_, "TeLabel7")->Top(), 482);
    EXPECT_EQ(ui_.Find(form_, "TeLabel31")->Top(), 525);
    EXPECT_EQ(form_->LoggedIn, 1) << "entering parallel mode keeps the login";

    ui_.Find(form_, "TSBS_SeqNum")->SetText("7");
    Run('M');
    EXPECT_FALSE(Shown("PC_All_Query"));
    EXPECT_TRUE(Enabled("TB_LOG"));
    EXPECT_EQ(form_->TB_SingleConvert->ImageIndex(), 6);
    EXPECT_TRUE(Shown("TB_Load"));
    EXPECT_TRUE(Shown("B_Query"));
    EXPECT_EQ(ui_.Find(form_, "B_Query")->Left(), 96);
    EXPECT_EQ(ui_.Find(form_, "B_Query")->Top(), 425);
    EXPECT_FALSE(Shown("TSBS_SeqNum"));
    EXPECT_FALSE(Enabled("TSBS_SeqNum"));
    EXPECT_EQ(ui_.Text(ui_.Find(form_, "TSBS_SeqNum")), "");
    EXPECT_EQ(ui_.Find(form_, "TeLabel7")->Top(), 434);
    EXPECT_EQ(form_->LoggedIn, 0) << "leaving parallel mode logs out";
}

TEST_F(ViewsTest, ModeQuestionAnsweredNoKeepsParallelMode) {
    StartWindow();
    Run('M');
    ui_.Dialogs().Forget();
    form_->LoggedIn = 1;
    Run('m');
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "Does it disconnect other modules?");
    EXPECT_TRUE(ui_.Boxes()[0].buttons.Contains(mbYes));
    EXPECT_TRUE(ui_.Boxes()[0].buttons.Contains(mbNo));
    EXPECT_EQ(form_->MultiModuleMode, 1);
    EXPECT_EQ(form_->LoggedIn, 1);
    EXPECT_EQ(ShownTabs(), kParallelTabs);
    EXPECT_TRUE(Shown("PC_All_Query"));
    EXPECT_TRUE(Shown("TSBS_OnceQuery"));
}

TEST_F(ViewsTest, PasswordIsAskedForAndOnlyTheRightOneSwitches) {
    struct Answer {
        std::optional<String> typed;
        bool switches;
    };
    const Answer answers[] = {{"7309", true},   {"7308", false},  {"", false},
                              {" 7309", false}, {"73090", false}, {std::nullopt, false}};
    for (const Answer& a : answers) {
        SCOPED_TRACE(a.typed.value_or("(cancelled)"));
        StartWindow();
        ui_.AnswerNextInput(a.typed);
        EditionSwitch();
        ASSERT_EQ(ui_.Inputs().size(), 1u);
        EXPECT_EQ(ui_.Inputs()[0].caption, "Convertion:");
        EXPECT_EQ(ui_.Inputs()[0].prompt, "Input Password:");
        EXPECT_EQ(ui_.Inputs()[0].value, "");
        EXPECT_TRUE(ui_.Boxes().empty());
        EXPECT_EQ(form_->EngineeringEdition, a.switches ? 1 : 0);
        EXPECT_EQ(ShownTabs(), a.switches ? kEngineeringTabs : kUserTabs);
        EXPECT_EQ(form_->TB_SingleConvert->Enabled(), !a.switches);
        CloseWindow();
    }
}

TEST_F(ViewsTest, EditionItemIsHiddenInParallelModeButItsShortcutStillSwitches) {
    StartWindow();
    Run('M');
    ASSERT_FALSE(form_->M_ConvertEdition->Visible());
    ui_.AnswerNextInput("7309");
    EditionSwitch();
    EXPECT_EQ(form_->EngineeringEdition, 1);
    EXPECT_FALSE(form_->TB_SingleConvert->Enabled());
}

TEST_F(ViewsTest, RunningQueriesRefuseTheEditionAndVariantSwitches) {
    for (const char* box : {"CB_AutoQuery", "TSBS_CycQuery", "PC_All_Query"}) {
        SCOPED_TRACE(box);
        StartWindow();
        auto* check = ui_.Find<TTeCheckBox>(form_, box);
        // Only the state counts here, not the query its click would start.
        const TNotifyEvent onClick = check->OnClick;
        check->OnClick = nullptr;
        check->SetChecked(true);
        check->OnClick = onClick;
        const std::string versionBefore = ReadBytes("Version.dat");

        EditionSwitch();
        ChooseVariant("CustomItem2");
        EXPECT_TRUE(ui_.Inputs().empty());
        EXPECT_EQ(form_->EngineeringEdition, 0);
        EXPECT_EQ(form_->ProductVariant, 0);
        EXPECT_EQ(ReadBytes("Version.dat"), versionBefore);
        EXPECT_EQ(form_->L_Info->Caption(), "    Please turn off automatic query frist!");
        EXPECT_EQ(form_->L_Info->Color(), 0x6A6AFFu);
        check->OnClick = nullptr;
        check->SetChecked(false);
        CloseWindow();
    }
}

TEST_F(ViewsTest, SelectingADataCellOfTheSecondCalibrationGridEditsIt) {
    StartWindow();
    TStringGrid* grid = form_->SG_CKB1;
    grid->OnClick = [this](TObject* sender) { form_->SG_CKB1Click(sender); };
    BringToFront(form_->TS_Adjust);
    TGridOptions options = grid->Options();
    options.Exclude(goEditing);
    grid->SetOptions(options);
    ui_.SelectCell(grid, 2, 3);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_TRUE(grid->Options().Contains(goEditing));
}

class VersionFileTest : public ViewsTest {};

TEST_F(VersionFileTest, MissingFileIsCreatedEmptyWithABoxAndReadsAsBMS) {
    ASSERT_FALSE(std::filesystem::exists("Version.dat"));
    Start();
    EXPECT_TRUE(std::filesystem::exists("Version.dat"));
    EXPECT_EQ(std::filesystem::file_size("Version.dat"), 0u);
    bool boxed = false;
    for (const TBoxRecord& box : ui_.Boxes()) boxed |= box.text == "No Version.dat for read！";
    EXPECT_TRUE(boxed);
    EXPECT_EQ(form_->ProductVariant, 0);
    EXPECT_EQ(VariantLabel(), "BMS");
}

TEST_F(VersionFileTest, StoredVariantIsShown) {
    struct Stored {
        char byte;
        int variant;
        const char* label;
    };
    for (const Stored s : {Stored{1, 1, "3U"}, Stored{0, 0, "BMS"}, Stored{2, 2, ""}}) {
        SCOPED_TRACE(s.variant);
        std::ofstream("Version.dat", std::ios::binary) << s.byte << "rest is not read";
        StartWindow();
        EXPECT_TRUE(ui_.Boxes().empty());
        EXPECT_EQ(form_->ProductVariant, s.variant);
        EXPECT_EQ(VariantLabel(), s.label);
        if (s.variant == 1) {
            EXPECT_TRUE(form_->TeButton8->Visible());
            EXPECT_FALSE(form_->TeButton10->Visible());
        }
        if (s.variant == 0) {
            EXPECT_FALSE(form_->TeButton8->Visible());
            EXPECT_TRUE(form_->TeButton10->Visible());
        }
        CloseWindow();
    }
}

TEST_F(VersionFileTest, VariantItemsWriteTheFirstByteOnly) {
    std::ofstream("Version.dat", std::ios::binary) << '\0' << "tail";
    StartWindow();
    ChooseVariant("CustomItem2");
    EXPECT_EQ(ReadBytes("Version.dat"), std::string("\x01tail"));
    EXPECT_EQ(form_->ProductVariant, 1);
    EXPECT_EQ(VariantLabel(), "3U");
    EXPECT_TRUE(form_->TeButton8->Visible());
    EXPECT_FALSE(form_->TeButton10->Visible());

    ChooseVariant("CustomItem3");
    EXPECT_EQ(ReadBytes("Version.dat"), std::string("\0tail", 5));
    EXPECT_EQ(VariantLabel(), "BMS");
    EXPECT_FALSE(form_->TeButton8->Visible());
    EXPECT_TRUE(form_->TeButton10->Visible());
    EXPECT_TRUE(ui_.Boxes().empty());
}

TEST_F(VersionFileTest, FileRemovedWhileRunningIsMadeAgainOnTheNextChange) {
    StartWindow();
    std::filesystem::remove("Version.dat");
    ChooseVariant("CustomItem2");
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "No Version.dat for write!");
    EXPECT_EQ(ReadBytes("Version.dat"), std::string("\x01"));
}

TEST_F(VersionFileTest, FailedWriteNamesTheFile) {
    StartWindow();
    std::filesystem::remove("Version.dat");
    std::filesystem::create_directory("Version.dat");
    ChooseVariant("CustomItem2");
    ASSERT_FALSE(ui_.Boxes().empty());
    EXPECT_EQ(ui_.Boxes().back().text, "Version.dat cannot be written!");
    EXPECT_TRUE(std::filesystem::is_directory("Version.dat"));
}

TEST_F(VersionFileTest, BMSReloadsTheFirstCalibrationGridAndLeavesTheSecond) {
    std::ofstream(AppPath("BMSAdjust.ini")) << "[BMSCurrentAdjust]\nCharge1=11\nDisCharge1=12\nCharge6=61\n";
    StartWindow();
    for (int row = 1; row <= 9; ++row) form_->SG_CKB1->SetCells(1, row, "kept");
    ChooseVariant("CustomItem3");
    EXPECT_EQ(form_->SG_CKB->Cells(1, 1), "11");
    EXPECT_EQ(form_->SG_CKB->Cells(2, 1), "12");
    EXPECT_EQ(form_->SG_CKB->Cells(1, 11), "61");
    EXPECT_EQ(form_->SG_CKB->Cells(2, 11), "5");
    for (int row = 1; row <= 9; ++row) EXPECT_EQ(form_->SG_CKB1->Cells(1, row), "kept") << row;
}

}  // namespace
}  // namespace tarvel::testing
