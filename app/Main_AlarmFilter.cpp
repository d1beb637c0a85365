// The history-alarm tab's date filter, a group the form keeps hidden: it
// empties the downloaded rows whose start lies outside a range of days, and
// saves the grid under a Chinese title line.

#include <cmath>
#include <tuple>

#include "app/Main_HiddenGroups.h"
#include "platform/base/DateTime.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Strings.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/Boxes.h"
#include "records/HisAlarm.h"
#include "skin/extctrls/te_extctrls_datetime.h"

namespace tarvel {
namespace {

// Non-negative decimal digits only, at most `maxDigits` of them.
bool ReadNumber(std::string_view text, size_t maxDigits, int& value) {
    if (text.empty() || text.size() > maxDigits) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// Up to `count` numbers separated by `separator`, at least `least` of them.
bool ReadParts(std::string_view text, char separator, int least, int count, int* parts) {
    int n = 0;
    for (;;) {
        const size_t end = text.find(separator);
        if (n == count || !ReadNumber(text.substr(0, end), 4, parts[n++])) return false;
        if (end == std::string_view::npos) return n >= least;
        text.remove_prefix(end + 1);
    }
}

// A start-time cell read strictly in the system's short formats, year-month-
// day and hours:minutes[:seconds], as the grid writes them.
TDateTime StrToDateTime(const String& text) {
    const String trimmed = Trim(text);
    const size_t blank = trimmed.find(' ');
    const String date = trimmed.substr(0, blank);
    const String time = blank == String::npos ? String() : Trim(trimmed.substr(blank + 1));
    int day[3] = {};
    int clock[3] = {};
    TDateTime value = 0;
    if (ReadParts(date, '-', 3, 3, day) && (time.empty() || ReadParts(time, ':', 2, 3, clock)) &&
        TryEncodeDateTime(DateParts{day[0], day[1], day[2], clock[0], clock[1], clock[2], 0}, value))
        return value;
    throw EConvertError("'" + text + "' is not a valid date and time");
}

constexpr const char* kTitles[] = {"序号",   "开始时间", "结束时间", "模式",    "电流",
                                   "总电压", "容量",     "告警",     "环境温度"};

std::string FilteredCsvText(const std::vector<RecordRow>& rows) {
    std::string text;
    for (const char* title : kTitles) text += std::string(title) + ",";
    for (int i = 1; i <= 4; ++i) text += "电池温度" + IntToStr(i) + ",";
    for (int i = 1; i <= 16; ++i) text += "电压" + IntToStr(i) + ",";
    return text + "\r\n" + CsvRows(rows, false);
}

void Warn(const char* text) { MessageDlg(text, mtWarning, TMsgDlgButtons{mbOK}); }

}  // namespace

void TMainForm::BindAlarmFilterHandlers() {
    if (HAD_TimeQuery) return;
    HAD_TimeQuery =
        MakeHiddenGroup(*this, TS_HisAlarm, "HAD_TimeQuery", Area(8, 580, 600, 60), "时间段历史记录查询");
    const std::tuple<TDateTimePicker**, const char*, const char*> pickers[] = {
        {&HAD_BeginDatePiker, "HAD_BeginDatePiker", "开始时间"},
        {&HAD_EndDatePiker, "HAD_EndDatePiker", "结束时间"}};
    int left = 10;
    for (const auto& [slot, name, label] : pickers) {
        MakeCaptionLabel(*this, HAD_TimeQuery, label, left, 28, 56);
        *slot = MakeControl<TTeDateTimePicker>(this, HAD_TimeQuery, name, left + 58, 24, 110, 22);
        (*slot)->SetKind(dtkDate);
        (*slot)->SetDateTime(Now());
        left += 180;
    }
    HAD_Query = BindButton<TTeEffectButton>(*this, HAD_TimeQuery, "HAD_Query", "查询时间段数据",
                                            Area(370, 20, 110, 28), [this] { HAD_QueryClick(HAD_Query); });
    HAD_Save = BindButton(*this, HAD_TimeQuery, "HAD_Save", "保存时间段数据", Area(486, 20, 110, 28),
                          [this] { HAD_SaveClick(HAD_Save); });
}

void TMainForm::HAD_QueryClick(TObject*) {
    if (SG_HisAlarm->Cells(0, 1).empty()) {
        Warn("请先查询全部历史数据!");
        return;
    }
    const double begin = std::floor(HAD_BeginDatePiker->DateTime());
    const double end = std::floor(HAD_EndDatePiker->DateTime());
    if (begin >= end) {
        Warn("请确保结束时间大于开始时间!");
        return;
    }
    try {
        for (int row = 1; row < SG_HisAlarm->RowCount(); ++row) {
            const double day = std::floor(StrToDateTime(SG_HisAlarm->Cells(1, row)));
            if (day >= begin && day <= end) continue;
            for (int col = 0; col < static_cast<int>(kHisAlarmColumns); ++col)
                SG_HisAlarm->SetCells(col, row, "");
        }
    } catch (const EConvertError& e) {
        // The rows before the one that failed stay filtered.
        Application->ShowException(e);
    }
}

void TMainForm::HAD_SaveClick(TObject*) {
    SaveRecordRows({"_时间段内历史告警记录.csv", "保存警告记录至", "历史警告记录(*.csv)|*.csv", "Alarm_Data",
                    "创建历史警告记录文件出错！", FilteredCsvText},
                   HisAlarmGridRows());
}

}  // namespace tarvel
