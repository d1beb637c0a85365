// The engineering pages as a person works them, every press made by the X
// server: the edition switched from the menu with its password typed; the
// calibration block written to the module and kept in ".kb" files chosen in
// the file dialog (a damaged one refused, nothing changed); the ADC counts
// read once and periodically into the day's log, which stops when
// unticked.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/base/DateTime.h"
#include "platform/classlib/StdCtrls_Edit.h"
#include "telemetry/AdcReading.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> Split(const std::string& text, char at) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, at)) parts.push_back(part);
    return parts;
}

class EngineeringPagesE2e : public ToolOnX11 {
protected:
    // Port open, logged in, the engineering edition chosen from the menu
    // with its password typed into the box.
    void StartEngineering() {
        StartTool();
        ASSERT_NO_FATAL_FAILURE(OpenAndLogIn());
        WhenModal([this](TCustomForm* box) {
            auto* edit = dynamic_cast<TCustomEdit*>(testing::FindNamed(box, "Edit"));
            ASSERT_NE(edit, nullptr);
            ASSERT_TRUE(TypeInto(edit, "7309"));
            ASSERT_TRUE(Click(Control(box, "OK")));
        });
        ASSERT_TRUE(ChooseMenu(MainForm->TeMenuBar1, {"About Project(&A)", "Convert Version(&C)"}));
        ASSERT_TRUE(Await([] { return MainForm->EngineeringEdition == 1; }));
        EXPECT_TRUE(MainForm->TS_Adjust->PageVisible());
        EXPECT_TRUE(MainForm->TS_TADC->PageVisible());
    }

    // Clicks the button and waits until the module's answer has been shown.
    void ClickAndAwait(TControl* button) {
        const size_t before = line->Sim().Requests().size();
        ASSERT_TRUE(Click(button));
        ASSERT_TRUE(Await([&] { return line->Sim().Requests().size() > before && LastCommand == 0; }))
            << button->Name() << " got no answer";
    }

    // The file dialog's next showing gets `name` typed and its OK clicked;
    // a save over a file asks first, answered Yes.
    void ChooseInFileDialog(const String& name, const std::string& shot = {}) {
        WhenModal(
            [this, name](TCustomForm* dialog) {
                ASSERT_TRUE(TypeInto(Control(dialog, "FileName"), name));
                ASSERT_TRUE(Click(Control(dialog, "OK")));
            },
            shot);
    }

    // The requests of that code the module has had.
    size_t Requests(uint8_t code) const {
        const auto requests = line->Sim().Requests();
        return static_cast<size_t>(
            std::count_if(requests.begin(), requests.end(),
                          [code](const sim::Bytes& r) { return r.size() > 4 && r[4] == code; }));
    }

    // The info line says `text` in `colour`, on the screen too.
    void ExpectInfo(const String& text, TColor colour) {
        EXPECT_EQ(InfoLine(), text);
        Run(kSettleMs);
        EXPECT_EQ(PixelIn(MainForm->L_Info, TPoint{2, 2}), colour) << text;
    }
};

TEST_F(EngineeringPagesE2e, CalibrationBlockWrittenSavedLoadedAndADamagedFileRefused) {
    ASSERT_NO_FATAL_FAILURE(StartEngineering());
    ASSERT_TRUE(ShowPage(MainForm->TS_Adjust));
    TStringGrid* vkb = MainForm->SG_VKB;
    ClickAndAwait(MainForm->B_ReadKB);
    ASSERT_FALSE(vkb->Cells(3, 2).empty());

    // The read K become the K to write, from the grid's own menu; one cell
    // and the temperature K typed over.
    ASSERT_TRUE(ChooseContextMenu(vkb, {"上传K赋给下载K"}, {}, "e2e-kb-popup-menu.png"));
    for (int row = 1; row <= 17; ++row) EXPECT_EQ(vkb->Cells(4, row), vkb->Cells(3, row)) << row;
    ASSERT_TRUE(TypeIntoCell(vkb, 4, 2, "10012"));
    EXPECT_EQ(vkb->Cells(4, 2), "10012");
    ASSERT_TRUE(TypeInto(Control("E_TempK"), "9990"));

    ClickAndAwait(MainForm->B_WriteKB);
    const sim::Bytes kb = line->Sim().Module(0).kb;
    ASSERT_EQ(kb.size(), 66u);
    auto u16 = [&kb](size_t at) { return kb[at] | (kb[at + 1] << 8); };
    EXPECT_EQ(u16(2), 10012) << "cell 1's K";
    EXPECT_EQ(u16(0), std::stoi(vkb->Cells(3, 1)));
    for (size_t t = 0; t < 8; ++t) EXPECT_EQ(u16(50 + 2 * t), 9990) << "temperature K " << t + 1;

    // Saved: the file holds what the write sent, in the file's order.
    ChooseInFileDialog("bench", "e2e-kb-save-dialog.png");
    ASSERT_TRUE(Click("TB_Save"));
    ExpectInfo("Succeed to save KB!", kSuccessColor);
    const fs::path saved = folder.Path() / "KB" / "bench.kb";
    const std::vector<std::string> numbers = Split(ReadFile(saved), '\t');
    ASSERT_GE(numbers.size(), 29u) << ReadFile(saved);
    EXPECT_EQ(numbers[0], vkb->Cells(3, 1));
    EXPECT_EQ(numbers[1], "10012");
    EXPECT_EQ(numbers[25], "9990");
    for (size_t i = 26; i < 29; ++i) EXPECT_EQ(numbers[i], "10000") << i;

    // Cleared to the defaults from the menu, then loaded back.
    ASSERT_TRUE(ChooseContextMenu(vkb, {"载入默认K值(10000)"}));
    EXPECT_EQ(vkb->Cells(4, 2), "10000");
    ASSERT_TRUE(TypeInto(Control("E_TempK"), "10000"));
    ChooseInFileDialog("bench.kb");
    ASSERT_TRUE(Click("TB_Load"));
    ExpectInfo("Succeed to load KB!", kSuccessColor);
    EXPECT_EQ(vkb->Cells(4, 2), "10012");
    EXPECT_EQ(MainForm->E_TempK->Text(), "9990");

    // A damaged file: the reason shows and not one cell changes.
    std::ofstream(folder.File("KB/damaged.kb"), std::ios::binary) << "10000\t10012\tlots\t";
    ASSERT_TRUE(ChooseContextMenu(vkb, {"载入默认K值(10000)"}));
    ChooseInFileDialog("damaged.kb");
    ASSERT_TRUE(Click("TB_Load"));
    ExpectInfo("Fail to load KB!", kFailureColor);
    // The information log says what is wrong with the file.
    const String log = MainForm->RE_Info->Lines()->Text();
    EXPECT_NE(log.find("Fail to load KB! " + (folder.Path() / "KB/damaged.kb").string() +
                       ": number 3 of 29 is not a whole number."),
              String::npos)
        << log;
    for (int row = 1; row <= 17; ++row) EXPECT_EQ(vkb->Cells(4, row), "10000") << row;
    EXPECT_EQ(MainForm->E_TempK->Text(), "9990");
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-kb-damaged-file.png"));
}

TEST_F(EngineeringPagesE2e, AdcReadOnceThenPeriodicallyIntoTheDaysLogUntilUnticked) {
    ASSERT_NO_FATAL_FAILURE(StartEngineering());
    ASSERT_TRUE(ShowPage(MainForm->TS_TADC));
    const fs::path log = AdcLogPath(Now());
    ClickAndAwait(MainForm->B_ReadADC);
    EXPECT_FALSE(MainForm->SG_VADC->Cells(1, 1).empty());
    EXPECT_FALSE(MainForm->SG_TADC->Cells(8, 1).empty());
    EXPECT_FALSE(fs::exists(log)) << "a single read wrote the log";

    ASSERT_TRUE(TypeInto(Control("CB_AutoReadADCInterval"), "1"));
    const size_t before = Requests(0x04);
    ASSERT_TRUE(Click("CB_AutoReadADC"));
    EXPECT_TRUE(MainForm->CB_AutoReadADC->Checked());
    for (const char* name :
         {"B_ReadADC", "TB_COMSwitch", "TB_Exit", "CB_AutoReadADCInterval", "CB_AutoQuery"})
        EXPECT_FALSE(Control(name)->Enabled()) << name;
    EXPECT_TRUE(Control("CB_AutoReadADC")->Enabled());
    ASSERT_TRUE(Await([&] { return Requests(0x04) >= before + 2 && LastCommand == 0; }));
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-adc-periodic.png"));

    ASSERT_TRUE(Click("CB_AutoReadADC"));
    EXPECT_FALSE(MainForm->CB_AutoReadADC->Checked());
    for (const char* name :
         {"B_ReadADC", "TB_COMSwitch", "TB_Exit", "CB_AutoReadADCInterval", "CB_AutoQuery"})
        EXPECT_TRUE(Control(name)->Enabled()) << name;
    Run(300);
    const size_t asked = Requests(0x04);
    EXPECT_FALSE(Await([&] { return Requests(0x04) > asked; }, 2500))
        << "it still reads after being unticked";

    // The log: the header, a line per reading as the grids showed it, and
    // the empty line of the stop.
    const std::string text = ReadFile(log);
    const std::vector<std::string> lines = Split(text, '\n');
    ASSERT_GE(lines.size(), 4u) << text;
    EXPECT_TRUE(lines[0].starts_with("RecordTime,PackVADC,CellVADC1,")) << lines[0];
    EXPECT_EQ(lines.back(), "\r");
    const std::vector<std::string> last = Split(lines[lines.size() - 2], ',');
    ASSERT_EQ(last.size(), 29u) << lines[lines.size() - 2];
    EXPECT_EQ(last[1], MainForm->SG_VADC->Cells(1, 1));
    EXPECT_EQ(last[27], MainForm->SG_TADC->Cells(8, 1));
    EXPECT_EQ(text.substr(text.size() - 5), ",\r\n\r\n");
}

}  // namespace
}  // namespace tarvel
