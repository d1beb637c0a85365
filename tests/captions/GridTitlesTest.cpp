// The English titles of the main window's grids and captions, written into a
// small form that has the named controls at the sizes the window gives them.

#include "captions/GridTitles.h"

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/base/Strings.h"
#include "platform/winsys/PaintApi.h"
#include "skin/controls/te_controls_grids.h"
#include "skin/controls/te_controls_group.h"
#include "skin/controls/te_controls_label.h"
#include "skin/extras/te_extra_effect_group.h"
#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel {
namespace {

struct GridSize {
    const char* name;
    int cols, rows;
};
constexpr GridSize kGridSizes[] = {
    {"SG_TSBS", 6, 19},       {"SG_TBMS", 6, 24},       {"SG_VKB", 5, 18},   {"SG_CKB", 3, 21},
    {"SG_SoftVersion", 4, 4}, {"SG_Life", 4, 4},        {"SG_VADC", 10, 4},  {"SG_CADC", 3, 2},
    {"SG_TADC", 9, 2},        {"SG_HisAlarm", 29, 300}, {"RunState", 6, 50},
};

// Titles as runs of cells: down a column or along a row from (col, row).
struct Run {
    const char* grid;
    int col, row;
    bool down;
    std::vector<const char*> texts;
};
const std::vector<Run> kExpectedRuns = {
    {"SG_TSBS",
     0,
     0,
     true,
     {"  PACK     VOLT", "  BATT     VOLT", "CELL [1]   VOLT", "CELL [2]   VOLT", "CELL [3]   VOLT",
      "CELL [4]   VOLT", "CELL [5]   VOLT", "CELL [6]   VOLT", "CELL [7]   VOLT", "CELL [8]   VOLT",
      "CELL [9]   VOLT", "CELL [10]  VOLT", "CELL [11]  VOLT", "CELL [12]  VOLT", "CELL [13]  VOLT",
      "CELL [14]  VOLT", "CELL [15]  VOLT", "CELL [16]  VOLT", "CURRENT"}},
    {"SG_TSBS",
     3,
     0,
     true,
     {"CELL [1]   TEMP.", "CELL [2]   TEMP.", "CELL [3]   TEMP.", "CELL [4]   TEMP.", "CELL [5]   TEMP.",
      "CELL [6]   TEMP.", "CELL [7]   TEMP.", "CELL [8]   TEMP.", "OTHERS", "ALARM      STATE",
      "PROTECT  STATE", "   FAIL        STATE", "BALANCE  STATE", "BATTERY  STATE", "SOC", "SOC.HEALTH",
      "DISCHG.TIMES", "TOTLE  DISCHG.SOC", "RECORD  TIME"}},
    {"SG_TBMS",
     0,
     0,
     true,
     {"VOLT IN CHG.CONVERT",
      "VOLT(P-B) IN CHG.CONVERT",
      "START IN CHG.BALANCE",
      "STOP IN CHG.BALANCE",
      "ALARM.LIM OF PACK IN CHG.OVER",
      "ALARM.REC OF PACK IN CHG.OVER",
      "PROTECT.LIM OF PACK IN CHG.OVER",
      "PROTECT.REC OF PACK IN CHG.OVER",
      "ALARM.LIM OF BATT IN CHG.OVER",
      "ALARM.REC OF BATT IN CHG.OVER",
      "PROTECT.LIM OF BATT IN CHG.OVER",
      "PROTECT.REC OF BATT IN CHG.OVER",
      "ALARM.LIM OF CELL IN CHG.OVER",
      "ALARM.REC OF CELL IN CHG.REC",
      "PROTECT.LIM OF CELL IN CHG.OVER",
      "PROTECT.REC OF CELL IN CHG.REC",
      "ALARM.LIM OF BATT.LOW",
      "ALARM.REC OF BATT.LOW",
      "PROTECT.LIM OF BATT.LOW",
      "PROTECT.REC OF BATT.LOW",
      "ALARM.LIM OF CELL.LOW",
      "ALARM.REC OF CELL.LOW",
      "PROTECT.LIM OF CELL.LOW",
      "PROTECT.REC OF CELL.LOW"}},
    // The second half of the parameters starts at the top of column 3.
    {"SG_TBMS", 3, 0, true, {"ALARM.LIM IN CHG.CURRENT OVER",    "ALARM.REC IN CHG.CURRENT OVER",
                             "PROTECT.LIM IN CHG.CURRENT OVER",  "ALARM.LIM IN DISCHG.CURRENT OVER",
                             "ALARM.REC IN DISCHG.CURRENT OVER", "PROTECT.LIM IN DISCHG.CURRENT OVER",
                             "ALARM.LIM IN CHG.TEMP.OVER",       "ALARM.REC IN CHG.TEMP.OVER",
                             "PROTECT.LIM IN CHG.TEMP.OVER",     "PROTECT.REC IN CHG.TEMP.OVER",
                             "ALARM.LIM IN DISCHG.TEMP.OVER",    "ALARM.REC IN DISCHG.TEMP.OVER",
                             "PROTECT.LIM IN DISCHG.TEMP.OVER",  "PROTECT.REC IN DISCHG.TEMP.OVER",
                             "ALARM.LIM IN CHG.TEMP.LOW",        "ALARM.REC IN CHG.TEMP.LOW",
                             "PROTECT.LIM IN CHG.TEMP.LOW",      "PROTECT.REC IN CHG.TEMP.LOW",
                             "ALARM.LIM IN DISCHG.TEMP.LOW",     "ALARM.REC IN DISCHG.TEMP.LOW",
                             "PROTECT.LIM IN DISCHG.TEMP.LOW",   "PROTECT.REC IN DISCHG.TEMP.LOW",
                             "TEMP IN HEATER START UP",          "TEMP IN HEATER STOP"}},
    {"SG_VKB",
     0,
     0,
     false,
     {"TYPE", "VALUE IN FACT", "VALUE IN SAMPLE", "SEND VALUE OF K", "LOAD VALUE OF K"}},
    {"SG_VKB",
     0,
     1,
     true,
     {"PACK  VOLT", "CELL [1]", "CELL [2]", "CELL [3]", "CELL [4]", "CELL [5]", "CELL [6]", "CELL [7]",
      "CELL [8]", "CELL [9]", "CELL [10]", "CELL [11]", "CELL [12]", "CELL [13]", "CELL [14]", "CELL [15]",
      "CELL [16]"}},
    {"SG_CKB", 0, 0, false, {"TYPE", "CHG.CURRENT", "DISCHG.CURRENT"}},
    {"SG_CKB", 0, 1, true, {"Small CURRENT [1] IN FACT", "Small CURRENT [1] IN SAMPLE",
                            "Small CURRENT [2] IN FACT", "Small CURRENT [2] IN SAMPLE",
                            "CURRENT [3] IN FACT",       "CURRENT [3] IN SAMPLE",
                            "CURRENT [4] IN FACT",       "CURRENT [4] IN SAMPLE",
                            "CURRENT [5] IN FACT",       "CURRENT [5] IN SAMPLE",
                            "CURRENT [6] IN FACT",       "CURRENT [6] IN SAMPLE",
                            "SEND VALUE OF K",           "LOAD VALUE OF K",
                            "SEND VALUE OF B",           "LOAD VALUE OF B",
                            "SEND VALUE OF SK",          "LOAD VALUE OF SK",
                            "SEND VALUE OF SB",          "LOAD VALUE OF SB"}},
    {"SG_SoftVersion", 0, 0, false, {"MAIN VERSION", "HYP-VERSION", "EDIT VERSION", "EDIT TIME"}},
    {"SG_SoftVersion", 0, 2, false, {"HARDWARE VERSION", "FUNCTION VERSION"}},
    {"SG_Life", 0, 0, true, {"SOC", "SOC.HEALTH", "DISCHG.TIMES", "DISCHG.SOC IN TOTAL"}},
    {"SG_VADC",
     0,
     0,
     false,
     {"ITEMS IN SAMPLE", "VOLT IN PORT", "CELL [1]  VOLT", "CELL [2]  VOLT", "CELL [3]  VOLT",
      "CELL [4]  VOLT", "CELL [5]  VOLT", "CELL [6]  VOLT", "CELL [7]  VOLT", "CELL [8]  VOLT"}},
    {"SG_VADC", 0, 1, true, {"VALUE IN SAMPLE"}},
    // Column 1 of the second title row stays as it was.
    {"SG_VADC", 0, 2, false, {"ITEMS IN SAMPLE"}},
    {"SG_VADC",
     2,
     2,
     false,
     {"CELL [9]  VOLT", "CELL [10]  VOLT", "CELL [11]  VOLT", "CELL [12]  VOLT", "CELL [13]  VOLT",
      "CELL [14]  VOLT", "CELL [15]  VOLT", "CELL [16]  VOLT"}},
    {"SG_VADC", 0, 3, true, {"VALUE IN SAMPLE"}},
    {"SG_CADC", 0, 0, false, {"ITEMS IN SAMPLE", "CHG.CURRENT", "DISCHG.CURRENT"}},
    {"SG_CADC", 0, 1, true, {"VALUE IN SAMPLE"}},
    {"SG_TADC",
     0,
     0,
     false,
     {"ITEMS IN SAMPLE", "CELL [1]  TEMP.", "CELL [2]  TEMP.", "CELL [3]  TEMP.", "CELL [4]  TEMP.",
      "CELL [5]  TEMP.", "CELL [6]  TEMP.", "CELL [7]  TEMP.", "CELL [8]  TEMP."}},
    {"SG_TADC", 0, 1, true, {"VALUE IN SAMPLE"}},
    {"SG_HisAlarm", 0, 0, false, {"    Num ",     "       Start Time", "       End TIme", "    Mode",
                                  "    Current",  "    Voltage",       "    Capacity",    "       Alarm ",
                                  "Ambient Temp", "Batt Temp.1",       "Batt Temp.2",     "Batt Temp.3",
                                  "Batt Temp.4",  "  Vol.1",           "  Vol.2",         "  Vol.3",
                                  "  Vol.4",      "  Vol.5",           "  Vol.6",         "  Vol.7",
                                  "  Vol.8",      "  Vol.9",           "  Vol.10",        "  Vol.11",
                                  "  Vol.12",     "  Vol.13",          "  Vol.14",        "  Vol.15",
                                  "  Vol.16"}},
    {"RunState",
     0,
     0,
     false,
     {"   Records   ", "    Date     ", "Cell Max.TEMP", "Ambin Max.TEMP", "Daily Dischg Cap(AH)",
      "Daily Chg Cap(%)"}},
};

struct ExpectedCaption {
    const char* control;
    const char* text;
};
constexpr ExpectedCaption kExpectedCaptions[] = {
    {"TeEffectGroupBox1", "VERSION INFORMATION"},
    {"TeGroupBox34", "Design Capacity Set"},
    {"TeLabel56", "Design Capacity:"},
    {"Getcap", "Get"},
    {"Setcap", "Set"},
    {"TeEffectGroupBox4", "Serial Number"},
    {"B_ReadSerialNum", "Read Serial Number"},
    {"TeEffectGroupBox5", "Life Of SOC"},
    {"B_SetLife", "Modify"},
};

using CellKey = std::tuple<std::string, int, int>;

std::map<CellKey, std::string> ExpectedTitles() {
    std::map<CellKey, std::string> titles;
    for (const Run& run : kExpectedRuns)
        for (size_t i = 0; i < run.texts.size(); ++i) {
            const int step = static_cast<int>(i);
            titles[{run.grid, run.col + (run.down ? 0 : step), run.row + (run.down ? step : 0)}] =
                run.texts[i];
        }
    return titles;
}

// What the form or the other parts of the window put in a cell beforehand.
String Value(int col, int row) { return "v" + IntToStr(col) + "," + IntToStr(row); }

// Rows checked for untouched values: the long record grids need only a few.
int RowsChecked(const GridSize& size) { return std::min(size.rows, 5); }

class GridTitlesTest : public testing::SkinControlsTest {
protected:
    // The named grids, filled with values, and the captioned controls in the
    // form's Chinese; names in `leftOut` are not made.
    void BuildMainForm(const std::set<std::string>& leftOut = {}) {
        for (const GridSize& size : kGridSizes) {
            if (leftOut.count(size.name)) continue;
            auto* grid = Named<TTeStringGrid>(size.name);
            grid->SetColCount(size.cols);
            grid->SetRowCount(size.rows);
            for (int c = 0; c < size.cols; ++c)
                for (int r = 0; r < RowsChecked(size); ++r) grid->SetCells(c, r, Value(c, r));
        }
        for (const char* name : {"TeEffectGroupBox1", "TeEffectGroupBox4", "TeEffectGroupBox5"})
            if (!leftOut.count(name)) Named<TTeEffectGroupBox>(name)->SetCaption(u"版本信息");
        if (!leftOut.count("TeGroupBox34")) Named<TTeGroupBox>("TeGroupBox34")->SetCaption(u"设计容量设置");
        if (!leftOut.count("TeLabel56")) Named<TTeLabel>("TeLabel56")->SetCaption(u"设计容量:");
        for (const char* name : {"Getcap", "Setcap", "B_ReadSerialNum", "B_SetLife"})
            if (!leftOut.count(name)) Named<TTeButton>(name)->SetCaption(u"读取");
        ui_.RunUntilIdle();
    }

    template <class T>
    T* Named(const char* name) {
        T* control = Make<T>(0, 0);
        control->SetName(name);
        return control;
    }

    TStringGrid* Grid(const std::string& name) {
        return dynamic_cast<TStringGrid*>(form_->FindComponent(name));
    }

    static WideString CaptionOf(TComponent* c) {
        if (auto* box = dynamic_cast<TTeGroupBox*>(c)) return box->GetCaption();
        if (auto* label = dynamic_cast<TTeLabel*>(c)) return label->GetCaption();
        if (auto* button = dynamic_cast<TTeButton*>(c)) return button->GetCaption();
        return u"(not captioned)";
    }

    // Every title cell and caption as listed, every other checked cell as it was.
    void ExpectTitled(const std::set<std::string>& leftOut = {}) {
        const std::map<CellKey, std::string> titles = ExpectedTitles();
        for (const GridSize& size : kGridSizes) {
            if (leftOut.count(size.name)) continue;
            TStringGrid* grid = Grid(size.name);
            ASSERT_NE(grid, nullptr) << size.name;
            for (int c = 0; c < size.cols; ++c)
                for (int r = 0; r < size.rows; ++r) {
                    auto title = titles.find({size.name, c, r});
                    const String shown = grid->Cells(c, r);
                    if (title != titles.end()) {
                        EXPECT_EQ(shown, title->second) << size.name << " (" << c << ", " << r << ")";
                    } else if (r < RowsChecked(size)) {
                        EXPECT_EQ(shown, Value(c, r)) << size.name << " (" << c << ", " << r << ")";
                    }
                }
        }
        for (const ExpectedCaption& caption : kExpectedCaptions) {
            if (leftOut.count(caption.control)) continue;
            EXPECT_EQ(CaptionOf(form_->FindComponent(caption.control)), Utf8ToWide(caption.text))
                << caption.control;
        }
    }
};

TEST_F(GridTitlesTest, EveryTitleCellAndCaptionTakesItsTextAndValuesStay) {
    BuildMainForm();
    SetEnglishGridTitles(*form_);
    ExpectTitled();
    // Every listed title lies inside its grid as the window sizes it.
    for (const auto& [key, text] : ExpectedTitles()) {
        TStringGrid* grid = Grid(std::get<0>(key));
        EXPECT_LT(std::get<1>(key), grid->ColCount()) << text;
        EXPECT_LT(std::get<2>(key), grid->RowCount()) << text;
    }
}

TEST_F(GridTitlesTest, MissingOrOtherKindsOfControlsAreSkipped) {
    struct Case {
        const char* what;
        std::set<std::string> leftOut;
    } cases[] = {
        {"nothing named", {}},
        {"a grid and a caption missing", {"SG_TBMS", "TeLabel56"}},
        {"every grid missing",
         {"SG_TSBS", "SG_TBMS", "SG_VKB", "SG_CKB", "SG_SoftVersion", "SG_Life", "SG_VADC", "SG_CADC",
          "SG_TADC", "SG_HisAlarm", "RunState"}},
        {"every caption missing",
         {"TeEffectGroupBox1", "TeGroupBox34", "TeLabel56", "Getcap", "Setcap", "TeEffectGroupBox4",
          "B_ReadSerialNum", "TeEffectGroupBox5", "B_SetLife"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form_->DestroyComponents();
        BuildMainForm(c.leftOut);
        EXPECT_NO_THROW(SetEnglishGridTitles(*form_));
        ExpectTitled(c.leftOut);
    }

    // A name held by a control of another kind leaves that control alone.
    form_->DestroyComponents();
    BuildMainForm({"SG_VKB", "TeLabel56"});
    auto* notAGrid = Named<TTeLabel>("SG_VKB");
    notAGrid->SetCaption(u"x");
    auto* notCaptioned = Named<TTeStringGrid>("TeLabel56");
    EXPECT_NO_THROW(SetEnglishGridTitles(*form_));
    EXPECT_EQ(notAGrid->GetCaption(), u"x");
    EXPECT_EQ(notCaptioned->Cells(0, 0), "");
    ExpectTitled({"SG_VKB", "TeLabel56"});
}

TEST_F(GridTitlesTest, ASecondCallChangesAndRepaintsNothing) {
    BuildMainForm();
    SetEnglishGridTitles(*form_);
    ui_.RunUntilIdle();
    SetEnglishGridTitles(*form_);
    ExpectTitled();
    std::vector<TWinControl*> windows{form_};
    for (int i = 0; i < form_->ComponentCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(form_->Components(i))) windows.push_back(w);
    for (TWinControl* w : windows) {
        TRect pending{};
        EXPECT_FALSE(GetUpdateRect(w->Handle(), &pending, false)) << w->Name();
    }
}

}  // namespace
}  // namespace tarvel
