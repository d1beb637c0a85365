// The history-alarm tab's date filter (a group no view shows, driven through
// its buttons): downloaded rows whose start lies outside the days chosen are
// emptied in place, the start times are read strictly, and the grid is saved
// under the Chinese title line.

#include <sstream>

#include "platform/base/DateTime.h"
#include "tests/app/HistoryAlarmFixture.h"

namespace tarvel::testing {
namespace {

constexpr const char* kDownloadFirst = "请先查询全部历史数据!";
constexpr const char* kEndAfterBegin = "请确保结束时间大于开始时间!";

class AlarmFilterTest : public HistoryAlarmTest {
protected:
    TMainForm* StartFilter(uint16_t alarms = 12) {
        TMainForm* form = StartAlarms(alarms);
        EXPECT_FALSE(form->HAD_TimeQuery->Visible());
        EXPECT_EQ(form->HAD_TimeQuery->Parent(), form->TS_HisAlarm);
        return form;
    }
    // Days of March 2024, at a time of day the filter must not look at.
    void SetRange(int beginDay, int endDay) {
        form_->HAD_BeginDatePiker->SetDateTime(EncodeDateTime({2024, 3, beginDay, 15, 30, 0, 0}));
        form_->HAD_EndDatePiker->SetDateTime(EncodeDateTime({2024, 3, endDay, 9, 0, 0, 0}));
    }
    // The grid as rows of start times, each row numbered in column 0.
    void SetStartTimes(const std::vector<String>& starts) {
        form_->SG_HisAlarm->SetRowCount(static_cast<int>(starts.size()) + 1);
        for (size_t i = 0; i < starts.size(); ++i) {
            form_->SG_HisAlarm->SetCells(0, static_cast<int>(i) + 1, IntToStr(static_cast<int>(i) + 1));
            form_->SG_HisAlarm->SetCells(1, static_cast<int>(i) + 1, starts[i]);
        }
    }
    std::vector<String> Column(int col) {
        std::vector<String> cells;
        for (int row = 1; row < Rows(); ++row) cells.push_back(Cell(col, row));
        return cells;
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};

TEST_F(AlarmFilterTest, RowsOutsideTheDaysAreEmptiedInPlaceAndSaved) {
    TMainForm* form = StartFilter();
    ASSERT_NO_FATAL_FAILURE(DownloadAll());
    NewBoxes();
    // Record n of the module starts on 2024-03-n.
    SetRange(4, 8);
    form->HAD_Query->Click();
    EXPECT_EQ(Rows(), 13);
    EXPECT_EQ(Column(0), (std::vector<String>{"", "", "", "4", "5", "6", "7", "8", "", "", "", ""}));
    EXPECT_EQ(Cell(28, 3), "");
    EXPECT_EQ(Cell(28, 12), "");
    EXPECT_TRUE(NewBoxes().empty());

    const std::string path = folder_.File("filtered.csv");
    ui_.ChooseNextFile(path);
    form->HAD_Save->Click();
    const TFileRequest& asked = ui_.Dialogs().Files().back().request;
    EXPECT_EQ(asked.title, "保存警告记录至");
    EXPECT_EQ(asked.filter, "历史警告记录(*.csv)|*.csv");
    EXPECT_TRUE(asked.fileName.ends_with("_时间段内历史告警记录.csv"));
    const std::string saved = FileBytes(path);
    const std::vector<std::string> lines = Lines(saved);
    const std::vector<std::string> all = Lines(Fixture("his_alarm_12_full.csv"));
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(
        lines[0],
        "序号,开始时间,结束时间,模式,电流,总电压,容量,告警,环境温度,电池温度1,电池温度2,电池温度3,电池温度4,"
        "电压1,电压2,电压3,电压4,电压5,电压6,电压7,电压8,电压9,电压10,电压11,电压12,电压13,电压14,电压15,"
        "电压16,\r");
    for (size_t row = 1; row <= 12; ++row) {
        const bool kept = row >= 4 && row <= 8;
        EXPECT_EQ(lines[row], kept ? all[row] : std::string(28, ',') + "\r") << row;
    }

    // The first row is gone now, so a second filter asks for a download.
    form->HAD_Query->Click();
    EXPECT_EQ(NewBoxTexts(), std::vector<String>{kDownloadFirst});
}

TEST_F(AlarmFilterTest, AFilterNeedsADownloadAndALaterEndDay) {
    TMainForm* form = StartFilter();
    SetRange(1, 31);
    form->HAD_Query->Click();
    SetStartTimes({"2024-3-5 9:3:7 "});
    SetRange(5, 5);  // the same day, though the end's time of day is earlier
    form->HAD_Query->Click();
    SetRange(6, 5);
    form->HAD_Query->Click();
    const std::vector<TBoxRecord> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, kDownloadFirst);
    EXPECT_EQ(boxes[1].text, kEndAfterBegin);
    EXPECT_EQ(boxes[2].text, kEndAfterBegin);
    for (const TBoxRecord& box : boxes) EXPECT_EQ(box.type, mtWarning);
    EXPECT_EQ(Cell(1, 1), "2024-3-5 9:3:7 ");
}

TEST_F(AlarmFilterTest, StartTimesAreReadStrictlyAndAFailureStopsTheFilterThere) {
    TMainForm* form = StartFilter();
    SetRange(1, 31);
    SetStartTimes({"2024-3-5 9:3:7 ", "2024-4-1 0:0:0 ", "2024-03-31", "2024-2-29 23:59:59 ",
                   "2024-2-30 1:1:1", "2024-4-9 1:1:1 "});
    form->HAD_Query->Click();
    // The rows before the one that failed are filtered, the rest stay.
    EXPECT_EQ(Column(0), (std::vector<String>{"1", "", "3", "", "5", "6"}));
    EXPECT_EQ(NewBoxTexts(), std::vector<String>{"'2024-2-30 1:1:1' is not a valid date and time."});

    const char* malformed[] = {"",           "2024/3/5",         "2024-3-5 25:00", "2024-3-5 9",
                               "2024-3-5x",  "12345-1-1",        "2024-3",         "2024-3-5 9:3:7:1",
                               "2024--3-5 ", "2024-3-5 9:60:00", "-2024-3-5"};
    for (const char* start : malformed) {
        SCOPED_TRACE(start);
        SetStartTimes({"2024-3-5 ", start});
        form->HAD_Query->Click();
        const std::vector<TBoxRecord> boxes = NewBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].type, mtError);
        EXPECT_EQ(boxes[0].text, "'" + String(start) + "' is not a valid date and time.");
        EXPECT_EQ(Cell(0, 2), "2");
    }
}

}  // namespace
}  // namespace tarvel::testing
