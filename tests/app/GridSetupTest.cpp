// The start-up's grid set-up: sizes, widths, unit cells, choice lists, the
// 3U calibration points and the English titles.

#include "tests/app/MainWindowFixture.h"

namespace tarvel::testing {
namespace {

class GridSetupTest : public MainWindowTest {
protected:
    TStringGrid* Grid(const char* name) { return ui_.Find<TStringGrid>(form_, name); }

    // The telemetry page is another file's; until it holds its grid, one
    // stands in so the set-up of SG_TSBS is seen all the same.
    TStringGrid* TelemetryGrid() {
        if (!form_->SG_TSBS) {
            auto* grid = new TTeStringGrid(form_);
            grid->SetName("SG_TSBS");
            grid->SetParent(form_->ScrolledPanels[1]);
            form_->SetupGridsAndText();
            return grid;
        }
        return form_->SG_TSBS;
    }
};

struct LayoutCase {
    const char* grid;
    int cols, rows, rowHeight;
    int col, colWidth;  // one column's width
};

TEST_F(GridSetupTest, GridsTakeTheirSizesAndWidths) {
    Start();
    const LayoutCase cases[] = {
        {"SG_TBMS", 6, 24, 21, 0, 230},      {"SG_TBMS", 6, 24, 21, 4, 150},
        {"SG_TBMS", 6, 24, 21, 5, 100},      {"SG_VKB", 5, 18, 20, 3, 110},
        {"SG_CKB", 3, 21, 18, 2, 110},       {"SG_ExtData", 3, 18, 25, 1, 120},
        {"SG_VADC", 10, 4, 30, 0, 105},      {"SG_VADC", 10, 4, 30, 9, 92},
        {"SG_CADC", 3, 2, 30, 0, 105},       {"SG_TADC", 9, 2, 30, 8, 92},
        {"SG_SoftVersion", 4, 4, 25, 3, 90}, {"SG_History", 3, 4, 25, 1, 60},
        {"SG_Life", 4, 4, 25, 2, 50},        {"SG_Life", 4, 4, 25, 3, 10},  // empty
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(String(c.grid) + " column " + IntToStr(c.col));
        TStringGrid* grid = Grid(c.grid);
        EXPECT_EQ(grid->ColCount(), c.cols);
        EXPECT_EQ(grid->RowCount(), c.rows);
        EXPECT_EQ(grid->DefaultRowHeight(), c.rowHeight);
        EXPECT_EQ(grid->ColWidths(c.col), c.colWidth);
    }
}

TEST_F(GridSetupTest, TelemetryGridIsSixByNineteenWithItsUnits) {
    Start();
    TStringGrid* grid = TelemetryGrid();
    EXPECT_EQ(grid->ColCount(), 6);
    EXPECT_EQ(grid->RowCount(), 19);
    EXPECT_EQ(grid->ColWidths(0), 90);
    EXPECT_EQ(grid->ColWidths(1), 100);
    EXPECT_EQ(grid->ColWidths(5), 60);
    EXPECT_EQ(grid->Cells(2, 0), "mV");
    EXPECT_EQ(grid->Cells(2, 17), "mV");
    EXPECT_EQ(grid->Cells(2, 18), "mA");
    const char* column5[] = {"Degree", "Degree", "Degree", "Degree", "Degree", "Degree", "Degree",
                             "Degree", "",       "",       "",       "",       "",       "",
                             "%",      "%",      "Times",  "AH",     ""};
    for (int row = 0; row < 19; ++row) EXPECT_EQ(grid->Cells(5, row), column5[row]) << "row " << row;
    EXPECT_EQ(grid->Cells(0, 18), "CURRENT");
    EXPECT_EQ(grid->Cells(3, 11), "   FAIL        STATE");
}

struct CellCase {
    const char* grid;
    int col, row;
    const char* text;
};

TEST_F(GridSetupTest, UnitCellsAndTitlesAreWritten) {
    Start();
    const CellCase cases[] = {
        {"SG_TBMS", 2, 23, "mV"},
        {"SG_TBMS", 5, 5, "mA"},
        {"SG_TBMS", 5, 6, "Degree"},
        {"SG_TBMS", 0, 0, "VOLT IN CHG.CONVERT"},
        {"SG_Overcurrset", 2, 1, "             【mA】"},
        {"SG_Overcurrset", 2, 2, ""},
        {"SG_Lowcvset", 2, 3, "             【mV】"},
        {"SG_Highbvset", 2, 7, "             【mV】"},
        {"SG_Lowtempset", 2, 7, "             【℃】"},
        {"SG_ExtData", 2, 17, "【mA】"},
        {"SG_History", 2, 1, "【min】"},
        {"SG_History", 2, 2, "【Times】"},
        {"SG_Life", 2, 0, "[%]"},
        {"SG_Life", 2, 3, "[AH]"},
        {"SG_Life", 0, 3, "DISCHG.SOC IN TOTAL"},
        {"SG_HisAlarm", 0, 0, "    Num "},
        {"RunState", 4, 0, "Daily Dischg Cap(AH)"},
    };
    for (const CellCase& c : cases) {
        EXPECT_EQ(Grid(c.grid)->Cells(c.col, c.row), c.text)
            << c.grid << " (" << c.col << ", " << c.row << ")";
    }
    EXPECT_EQ(form_->TeGroupBox34->GetCaption(), u"Design Capacity Set");
    EXPECT_EQ(form_->B_ReadSerialNum->GetCaption(), u"Read Serial Number");
}

TEST_F(GridSetupTest, ChoiceListsAreAppended) {
    Start();
    auto items = [](TTeComboBox* box) {
        std::vector<String> texts;
        for (int i = 0; i < box->GetItems()->Count(); ++i) texts.push_back(box->GetItems()->Strings(i));
        return texts;
    };
    EXPECT_EQ(items(form_->limitvalueset),
              (std::vector<String>{"5", "10", "15", "20", "25", "30", "35", "40"}));
    EXPECT_EQ(items(form_->valueset), (std::vector<String>{"5", "10"}));
}

TEST_F(GridSetupTest, ThreeUPointsSevenToElevenGoIntoTheShortGrid) {
    WriteFileText(AppPath("BMSAdjust.ini"),
                  "[3UCurrentAdjust]\r\nCharge6=600\r\nCharge7=700\r\nDisCharge7=-700\r\nCharge11=1100\r\n");
    Start();
    const CellCase cases[] = {
        {"SG_CKB1", 1, 1, "700"}, {"SG_CKB1", 2, 1, "-700"}, {"SG_CKB1", 1, 3, "10"},
        {"SG_CKB1", 2, 5, "10"},  {"SG_CKB1", 1, 9, "1100"}, {"SG_CKB1", 2, 9, "10"},
        {"SG_CKB1", 1, 2, ""},    {"SG_CKB1", 1, 11, ""},
    };
    for (const CellCase& c : cases) {
        EXPECT_EQ(Grid(c.grid)->Cells(c.col, c.row), c.text) << "(" << c.col << ", " << c.row << ")";
    }
}

TEST_F(GridSetupTest, ThreeUPointsDefaultToTenWithoutTheFile) {
    Start();
    for (int row = 1; row <= 9; row += 2) {
        EXPECT_EQ(form_->SG_CKB1->Cells(1, row), "10") << row;
        EXPECT_EQ(form_->SG_CKB1->Cells(2, row), "10") << row;
    }
}

}  // namespace
}  // namespace tarvel::testing
