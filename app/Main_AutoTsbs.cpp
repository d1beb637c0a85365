// The module's own telemetry log: the storing schedule (its window checked
// against the PC's clock, then started and stopped on the module) in two
// like groups, "设置自动查询" on the system-monitor and on the remote-control
// tab, and the stored records on their own tab: downloaded into a grid,
// saved as CSV, emptied and erased on the module. No view shows any of it.

#include <cmath>

#include "app/Main.h"
#include "app/Main_HiddenGroups.h"
#include "link/CommandTable.h"
#include "platform/base/DateTime.h"
#include "platform/classlib/Application.h"
#include "records/AutoTsbs.h"
#include "skin/extctrls/te_extctrls_datetime.h"

namespace tarvel {
namespace {

constexpr uint32_t kDownloadSilenceMs = 10000;
constexpr int kRecordGridRows = 300;

// The names of one schedule set's controls, in the order of ScheduleSet.
struct ScheduleNames {
    const char* pickers[6];  // now, begin, end: date then time
    const char* period;
    const char* minPeriod;
    const char* buttons[4];  // check, state, begin, end
};
constexpr ScheduleNames kScheduleNames[2] = {
    {{"Now_Date", "Now_Time", "Begin_Date", "Begin_Time", "End_Date", "End_Time"},
     "everysettime",
     "minsettime",
     {"settime", "Checkfunction", "Begingetsbs", "Endgetsbs"}},
    {{"TeDateTimePicker1", "TeDateTimePicker2", "TeDateTimePicker3", "TeDateTimePicker4", "TeDateTimePicker5",
      "TeDateTimePicker6"},
     "everysettime1",
     "minsettime1",
     {"settime1", "Checkfunction1", "Begingetsbs1", "Endgetsbs1"}},
};
constexpr const char* kPickerLabels[3] = {"当前时间：", "起始时间：", "结束时间："};
constexpr const char* kButtonCaptions[4] = {"确认查询时间", "状态查询", "开始查询", "结束查询"};

double DayOf(TDateTime value) { return std::floor(value); }
double TimeOfDay(TDateTime value) { return value - std::floor(value); }

// The date of one picker with the time of day of another.
DeviceTime PickedTime(const TDateTimePicker& date, const TDateTimePicker& time) {
    const DateParts d = DecodeDateTime(date.DateTime());
    const DateParts t = DecodeDateTime(time.DateTime());
    return DeviceTime{
        static_cast<uint16_t>(d.year), static_cast<uint8_t>(d.month), 0,
        static_cast<uint8_t>(d.day),   static_cast<uint8_t>(t.hour),  static_cast<uint8_t>(t.minute),
        static_cast<uint8_t>(t.second)};
}

void InfoBox(const char* text) { Application->MessageBox(text, "", MB_OK | MB_ICONINFORMATION); }

bool AskYes(const char* text) {
    return Application->MessageBox(text, "", MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

void MakeScheduleGroup(TMainForm& f, TWinControl* parent, TRect bounds, TMainForm::ScheduleSet& set,
                       const ScheduleNames& names) {
    auto* group = MakeHiddenGroup(f, parent, "", bounds, "设置自动查询");
    TDateTimePicker** pickers[6] = {&set.NowDate,   &set.NowTime, &set.BeginDate,
                                    &set.BeginTime, &set.EndDate, &set.EndTime};
    for (int i = 0; i < 6; ++i) {
        const int row = i / 2, top = 22 + row * 28;
        if (i % 2 == 0) MakeCaptionLabel(f, group, kPickerLabels[row], 10, top + 3, 80);
        auto* picker =
            MakeControl<TTeDateTimePicker>(&f, group, names.pickers[i], 90 + (i % 2) * 130, top, 120, 22);
        picker->SetKind(i % 2 == 0 ? dtkDate : dtkTime);
        picker->SetDateTime(Now());
        *pickers[i] = picker;
    }
    MakeCaptionLabel(f, group, "查询周期：", 10, 113, 80);
    set.Period = MakeControl<TTeEdit>(&f, group, names.period, 90, 110, 60, 21);
    MakeCaptionLabel(f, group, "【S】", 154, 113, 30);
    MakeCaptionLabel(f, group, "建议查询周期大于：", 190, 113, 120);
    set.MinPeriod = MakeControl<TTeEdit>(&f, group, names.minPeriod, 310, 110, 50, 21);
    set.MinPeriod->SetReadOnly(true);
    TTeButton** buttons[4] = {&set.Check, &set.State, &set.Begin, &set.End};
    for (int i = 0; i < 4; ++i) {
        *buttons[i] = MakeControl<TTeButton>(&f, group, names.buttons[i], 10 + i * 106, 146, 100, 28);
        (*buttons[i])->SetCaption(Utf8ToWide(kButtonCaptions[i]));
    }
    // Only the state query is there from the start; the replies and checks open the rest.
    set.Check->SetEnabled(false);
    set.Begin->SetEnabled(false);
    set.End->SetEnabled(false);
}

// The schedule's requests wait while the automatic query polls, and need the login.
bool MayTalkToTheModule(TMainForm& f) {
    if (f.AutoQueryOn) {
        f.ShowInfo("请先关闭自动查询！", kFailureColor);
        return false;
    }
    return f.IsLoggedIn();
}

}  // namespace

// ---- schedule ----

void TMainForm::settimeClick(int set) {
    const ScheduleSet& s = ScheduleSets[static_cast<size_t>(set)];
    // The current date and time are the PC's at the moment of the check.
    s.NowDate->SetDateTime(Now());
    s.NowTime->SetDateTime(s.NowDate->DateTime());
    bool failed = false;
    auto refuse = [&failed](const char* text) {
        InfoBox(text);
        failed = true;
    };
    const double begin = s.BeginDate->DateTime(), end = s.EndDate->DateTime();
    if (DayOf(begin) != DayOf(s.NowDate->DateTime())) {
        if (DayOf(s.NowDate->DateTime()) > DayOf(begin)) refuse("起始日期应不小于系统当前日期!");
    } else if (TimeOfDay(s.NowTime->DateTime()) > TimeOfDay(s.BeginTime->DateTime())) {
        refuse("起始时间必须大于系统当前时间!");
    }
    if (DayOf(begin) != DayOf(end)) {
        if (DayOf(begin) > DayOf(end)) refuse("起始日期必须不大于结束日期!");
    } else if (TimeOfDay(s.BeginTime->DateTime()) > TimeOfDay(s.EndTime->DateTime())) {
        refuse("起始时间必须小于结束时间!");
    }
    if (s.Period->Text().empty()) {
        InfoBox("请输入查询周期!");
        return;
    }
    // Whole minutes between the dates, plus those between the times of day,
    // negative when the start time is the later.
    const int64_t timeMinutes = SecondsBetween(s.BeginTime->DateTime(), s.EndTime->DateTime()) / 60;
    const int64_t minutes = SecondsBetween(begin, end) / 60 +
                            (s.BeginTime->DateTime() > s.EndTime->DateTime() ? -timeMinutes : timeMinutes);
    const int64_t suggested = SuggestedMinPeriod(minutes);
    const int64_t period = StrToInt64(s.Period->Text());
    s.MinPeriod->SetText(IntToStr(suggested));
    if (period < suggested) refuse("请参考建议查询周期后重新设置!");
    if (!failed) s.Begin->SetEnabled(true);
}

void TMainForm::CheckfunctionClick(TObject*) { SendCommand(ModuleAddress(), CmdCheckFunction); }

void TMainForm::BegingetsbsClick(int set) {
    if (!MayTalkToTheModule(*this)) return;
    const ScheduleSet& s = ScheduleSets[static_cast<size_t>(set)];
    const RequestBuild request =
        BuildAutoTsbsSchedule(ModuleAddress(), PickedTime(*s.BeginDate, *s.BeginTime),
                              PickedTime(*s.EndDate, *s.EndTime), s.Period->Text());
    if (!request.Ok()) {
        ShowInfo(request.refusal, kFailureColor);
        return;
    }
    std::copy_n(request.frame.begin() + frame::kRequestData, AutoTsbsSchedule.size(),
                AutoTsbsSchedule.begin());
    SendOwnFrame(request.frame, true);
    s.Check->SetEnabled(false);
}

void TMainForm::EndgetsbsClick(int set) {
    if (!MayTalkToTheModule(*this)) return;
    SendCommand(ModuleAddress(), CmdEndGetSbs);
    ScheduleSets[static_cast<size_t>(set)].Begin->SetEnabled(true);
    ScheduleSets[static_cast<size_t>(set)].Check->SetEnabled(true);
}

void TMainForm::ShowFunctionState() {
    if (!MayTalkToTheModule(*this)) return;
    const std::optional<uint8_t> storing = DecodeStoringState(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!storing || !ScheduleSets[0].Check) return;
    for (ScheduleSet& s : ScheduleSets) {
        s.Check->SetEnabled(*storing != 1);
        if (*storing == 1) s.Begin->SetEnabled(false);
        s.End->SetEnabled(true);
    }
    if (*storing == 1) InfoBox("功能已开启，若重新设置时间请先结束此次查询!");
}

// ---- records ----

void TMainForm::EnableAutoTsbsRecordButtons(bool enabled) {
    for (TTeButton* button : {GetAutoTSBSData, ClearAutoTSBSData, ClearTSBSlookData, SaveAutoTSBSData})
        if (button) button->SetEnabled(enabled);
}

void TMainForm::GetAutoTSBSDataClick(TObject*) {
    if (!IsLoggedIn()) return;
    if (!AskYes("在未出现数据查询成功提示前，请勿进行其他查询!")) return;
    if (!SendCommand(ModuleAddress(), CmdGetAutoTsbsData)) return;
    // Rows of an earlier download that this one does not reach would be saved with it.
    EmptyAutoTsbsRows();
    AutoTsbsSilence->SetEnabled(false);
    AutoTsbsSilence->SetEnabled(true);
}

void TMainForm::ShowAutoTsbsRecords() {
    const std::optional<AutoTsbsBatch> batch = DecodeAutoTsbsReply(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!batch || !SG_AutoTSBSData) return;
    TStringGrid& grid = *SG_AutoTSBSData;
    for (TTeButton* button : {ClearTSBSlookData, SaveAutoTSBSData, ClearAutoTSBSData})
        button->SetEnabled(false);
    const int rows = batch->header.TotalRecords + 1;
    grid.SetRowCount(rows);
    for (const auto& [row, record] : batch->records) {
        const RecordRow cells = MakeAutoTsbsRow(row, record);
        for (size_t c = 0; c < cells.size(); ++c) grid.SetCells(static_cast<int>(c), row, cells[c]);
    }
    if (GetAutoTSBSData->Enabled()) {
        GetAutoTSBSData->SetEnabled(false);
        grid.SetRowCount(rows);
    }
    if (rows > 1) grid.SetFixedRows(1);
    AutoTsbsSilence->SetEnabled(false);
    if (!batch->header.CompletesDownload()) {
        AutoTsbsSilence->SetEnabled(true);
        return;
    }
    EnableAutoTsbsRecordButtons(true);
    InfoBox("自动保存TSBS记录查询成功!");
}

void TMainForm::AutoTsbsSilenceTimer(TObject*) {
    AutoTsbsSilence->SetEnabled(false);
    ShowInfo("自动保存TSBS记录查询失败: 10 s 内未收到数据!", kFailureColor);
    EnableAutoTsbsRecordButtons(true);
}

void TMainForm::ClearAutoTSBSDataClick(TObject*) {
    if (!AskYes("将清空存储器中所有自动保存的TSBS数据，请检测是否已保存所需数据!")) return;
    // The rows on screen may be the only copy: they go only with the records.
    if (SendCommand(ModuleAddress(), CmdClearAutoTsbsData)) SG_AutoTSBSData->SetRowCount(1);
}

void TMainForm::EmptyAutoTsbsRows() {
    TStringGrid& grid = *SG_AutoTSBSData;
    for (int row = 1; row < grid.RowCount(); ++row)
        for (int col = 0; col < static_cast<int>(kAutoTsbsColumns); ++col) grid.SetCells(col, row, "");
    grid.SetRowCount(1);
}

void TMainForm::ClearTSBSlookDataClick(TObject*) {
    EmptyAutoTsbsRows();
    GetAutoTSBSData->SetEnabled(true);
}

void TMainForm::SaveAutoTSBSDataClick(TObject*) {
    SaveRecordRows({"_自动保存TSBS记录.csv", "保存自动保存TSBS记录至", "自动保存TSBS记录(*.csv)|*.csv",
                    "AutoTSBS_Data", "创建自动保存TSBS记录文件出错!", AutoTsbsCsvText},
                   RecordGridRows(*SG_AutoTSBSData, kAutoTsbsColumns, SG_AutoTSBSData->RowCount()));
}

// ---- controls ----

void TMainForm::BindAutoTsbsHandlers() {
    if (GetAutoTSBSData) return;
    // Both groups stand hidden: on the system-monitor tab and on the remote-control tab.
    TWinControl* parents[2] = {ScrolledPanels[kMonitorPanel], TS_Control};
    const TRect places[2] = {Area(480, 186, 446, 184), Area(8, 340, 446, 184)};
    for (int set = 0; set < 2; ++set) {
        if (!parents[set]) return;
        ScheduleSet& s = ScheduleSets[static_cast<size_t>(set)];
        MakeScheduleGroup(*this, parents[set], places[set], s, kScheduleNames[set]);
        s.Check->OnClick = [this, set](TObject*) { settimeClick(set); };
        s.State->OnClick = [this](TObject* sender) { CheckfunctionClick(sender); };
        s.Begin->OnClick = [this, set](TObject*) { BegingetsbsClick(set); };
        s.End->OnClick = [this, set](TObject*) { EndgetsbsClick(set); };
    }

    TWinControl* page = TS_AutoTSBSData;
    if (SG_AutoTSBSData) {
        SG_AutoTSBSData->SetBounds(8, 8, 980, 520);
        SG_AutoTSBSData->SetColCount(static_cast<int>(kAutoTsbsColumns));
        SG_AutoTSBSData->SetRowCount(kRecordGridRows);
    }
    struct RecordButton {
        TTeButton* TMainForm::*member;
        const char* name;
        const char* caption;
        void (TMainForm::*click)(TObject*);
    };
    const RecordButton buttons[] = {
        {&TMainForm::GetAutoTSBSData, "GetAutoTSBSData", "读取TSBS数据", &TMainForm::GetAutoTSBSDataClick},
        {&TMainForm::ClearAutoTSBSData, "ClearAutoTSBSData", "清除FLASH数据",
         &TMainForm::ClearAutoTSBSDataClick},
        {&TMainForm::ClearTSBSlookData, "ClearTSBSlookData", "清空记录", &TMainForm::ClearTSBSlookDataClick},
        {&TMainForm::SaveAutoTSBSData, "SaveAutoTSBSData", "保存TSBS数据", &TMainForm::SaveAutoTSBSDataClick},
    };
    for (int i = 0; i < 4; ++i) {
        const RecordButton& b = buttons[i];
        this->*b.member = BindButton(*this, page, b.name, b.caption, Area(8 + i * 130, 536, 120, 28),
                                     [this, click = b.click] { (this->*click)(nullptr); });
    }
    AutoTsbsSilence = new TTimer(this);
    AutoTsbsSilence->SetEnabled(false);
    AutoTsbsSilence->SetInterval(kDownloadSilenceMs);
    AutoTsbsSilence->OnTimer = [this](TObject* sender) { AutoTsbsSilenceTimer(sender); };
}

}  // namespace tarvel
