// The scheduled telemetry query: the plain query every period, but only
// inside a window of dates and times of day. Its group on TS_Monitor is
// never shown; its clock keeps the current-time pickers of the device's
// own schedule up to date all the same, and its window check runs from the
// start.

#include <algorithm>
#include <limits>
#include <tuple>

#include "app/Main.h"
#include "app/Main_HiddenGroups.h"
#include "link/CommandTable.h"
#include "platform/classlib/Boxes.h"
#include "skin/extctrls/te_extctrls_datetime.h"

namespace tarvel {
namespace {

constexpr TColor kNowColor = 0x00FF00;
constexpr uint32_t kFallbackPeriodMs = 10000;
constexpr uint32_t kLongestPeriodSec = std::numeric_limits<uint32_t>::max() / 1000;

constexpr const char* kWindowWarning = "请确保系统未处在自动查询TSBS参数!";

// What the scheduled query locks besides its own inputs.
// clang-format off
constexpr const char* kScheduleLocks[] = {
    "CB_AutoQuery", "CB_AutoQueryInterval", "TB_SingleConvert", "TB_COMSwitch", "TB_LOG", "TB_Load",
    "TB_Save", "B_Query", "CB_ModuleNO", "B_ReadKB", "B_WriteKB", "B_SampleV", "B_SampleC", "B_CalcVK",
    "B_CalcCKB", "E_TempK", "B_ReadADC", "CB_AutoReadADC", "CB_AutoReadADCInterval", "B_OpenChg",
    "B_CloseChg", "B_OpenDis", "B_CloseDis", "B_ReadIO", "B_EnterBoot", "B_QueryExt", "B_SetHistory",
};
// The pickers of the device's own schedule groups, which read the current time from them.
constexpr const char* kDeviceSchedulePickers[] = {"Now_Date", "Now_Time", "TeDateTimePicker1", "TeDateTimePicker2"};
// clang-format on

// Dates and times of day are compared apart, each on its own.
std::tuple<int, int, int> DayOf(TDateTime value) {
    const DateParts p = DecodeDateTime(value);
    return {p.year, p.month, p.day};
}

int SecondOfDay(TDateTime value) {
    const DateParts p = DecodeDateTime(value);
    return (p.hour * 60 + p.minute) * 60 + p.second;
}

TDateTime ValueOf(const TDateTimePicker* picker) { return picker ? picker->DateTime() : 0; }

// The period the edit holds; 10 s for anything that is no whole number of
// seconds a timer can count, so the query never stops without a word.
uint32_t CyclePeriodMs(const TTeEdit* edit) {
    int32_t seconds = 0;
    if (!edit || !TryStrToInt(edit->GetText(), seconds) || seconds < 1 ||
        static_cast<uint32_t>(seconds) > kLongestPeriodSec)
        return kFallbackPeriodMs;
    return static_cast<uint32_t>(seconds) * 1000;
}

TDateTimePicker* MakePicker(TMainForm& form, TWinControl* parent, const char* name, TDateTimeKind kind,
                            int left, int top, TDateTime value) {
    auto* picker = MakeControl<TTeDateTimePicker>(&form, parent, name, left, top, 110, 22);
    picker->SetKind(kind);
    picker->SetDateTime(value);
    return picker;
}

void Warn(const char* text) { MessageDlg(text, mtWarning, TMsgDlgButtons{mbOK}); }
void Inform(const char* text) { MessageDlg(text, mtInformation, TMsgDlgButtons{mbOK}); }

// A moment as the schedule holds it: a date picker and a time picker.
struct Moment {
    TDateTime date;
    TDateTime time;
};

// The box for two moments that must come in this order: the warning when
// they do, otherwise the information that refuses them.
void OrderBox(Moment first, Moment second, const char* wrongTime, const char* wrongDate) {
    const bool sameDay = DayOf(first.date) == DayOf(second.date);
    const bool inOrder =
        sameDay ? SecondOfDay(first.time) < SecondOfDay(second.time) : DayOf(first.date) < DayOf(second.date);
    if (inOrder)
        Warn(kWindowWarning);
    else
        Inform(sameDay ? wrongTime : wrongDate);
}

}  // namespace

void TMainForm::BindScheduleHandlers() {
    TWinControl* page = ScrolledPanels[kMonitorPanel];
    if (page && !TeEffectGroupBox6) {
        TeEffectGroupBox6 =
            MakeControl<TTeEffectGroupBox>(this, page, "TeEffectGroupBox6", 480, 400, 446, 170);
        TeEffectGroupBox6->SetCaption(Utf8ToWide("设置在线自动查询"));
        TeEffectGroupBox6->SetVisible(false);
        TWinControl* group = TeEffectGroupBox6;
        const TDateTime start = EncodeDate(2013, 1, 1);
        MakeCaptionLabel(*this, group, "当前时间", 10, 28, 70);
        NowTime_Date = MakePicker(*this, group, "NowTime_Date", dtkDate, 90, 24, ScheduleClock());
        NowTime_Time = MakePicker(*this, group, "NowTime_Time", dtkTime, 210, 24, ScheduleClock());
        for (TDateTimePicker* picker : {NowTime_Date, NowTime_Time}) picker->SetColor(kNowColor);
        MakeCaptionLabel(*this, group, "起始时间", 10, 58, 70);
        BeginQuery_Date = MakePicker(*this, group, "BeginQuery_Date", dtkDate, 90, 54, start);
        BeginQuery_Time = MakePicker(*this, group, "BeginQuery_Time", dtkTime, 210, 54, start);
        MakeCaptionLabel(*this, group, "结束时间", 10, 88, 70);
        EndQuery_Date = MakePicker(*this, group, "EndQuery_Date", dtkDate, 90, 84, start);
        EndQuery_Time = MakePicker(*this, group, "EndQuery_Time", dtkTime, 210, 84, start + 0.5);
        MakeCaptionLabel(*this, group, "查询周期", 10, 118, 70);
        CycleTimeEdit = MakeControl<TTeEdit>(this, group, "CycleTimeEdit", 90, 114, 60, 21);
        CycleTimeEdit->SetText("5");
        MakeCaptionLabel(*this, group, "【S】", 155, 118, 40);
        EnsureTime = BindButton(*this, group, "EnsureTime", "确定保存设置", Area(330, 24, 100, 28),
                                [this] { EnsureTimeClick(nullptr); });
        Auto_Query = MakeControl<TTeCheckBox>(this, group, "Auto_Query", 330, 66, 100, 17);
        Auto_Query->SetCaption(Utf8ToWide("执行自动查询"));
        Auto_Query->OnClick = [this](TObject* sender) { Auto_QueryClick(sender); };
    }
    const auto makeTimer = [this](TTimer*& timer, const char* name, UINT interval, bool running,
                                  void (TMainForm::*handler)(TObject*)) {
        if (timer) return;
        timer = new TTimer(this);
        timer->SetName(name);
        timer->SetEnabled(false);
        timer->SetInterval(interval);
        timer->OnTimer = [this, handler](TObject* sender) { (this->*handler)(sender); };
        timer->SetEnabled(running);
    };
    makeTimer(Timer6, "Timer6", 1000, true, &TMainForm::Timer6Timer);
    makeTimer(Timer7, "Timer7", 500, false, &TMainForm::Timer7Timer);
    makeTimer(Timer8, "Timer8", 5000, true, &TMainForm::Timer8Timer);
}

void TMainForm::Timer6Timer(TObject*) {
    const TDateTime now = ScheduleClock();
    for (TDateTimePicker* picker : {NowTime_Date, NowTime_Time})
        if (picker) picker->SetDateTime(now);
    for (const char* name : kDeviceSchedulePickers)
        if (auto* picker = dynamic_cast<TDateTimePicker*>(FindComponent(name))) picker->SetDateTime(now);
}

bool TMainForm::QueryWindowOpen() const {
    const TDateTime today = ValueOf(NowTime_Date);
    const int now = SecondOfDay(ValueOf(NowTime_Time));
    return DayOf(today) >= DayOf(ValueOf(BeginQuery_Date)) && now >= SecondOfDay(ValueOf(BeginQuery_Time)) &&
           now <= SecondOfDay(ValueOf(EndQuery_Time)) && DayOf(today) <= DayOf(ValueOf(EndQuery_Date));
}

void TMainForm::Timer8Timer(TObject*) {
    // A lost line is asked nothing until the port is opened again.
    if (!QueryWindowOpen() || PortLost) {
        Timer7->SetEnabled(false);
        return;
    }
    Timer7->SetInterval(CyclePeriodMs(CycleTimeEdit));
    Timer7->SetEnabled(true);
}

void TMainForm::Timer7Timer(TObject*) {
    if (PortLost) {
        Timer7->SetEnabled(false);
        return;
    }
    Timer7->SetInterval(CyclePeriodMs(CycleTimeEdit));
    SendCommand(ModuleAddress(), CmdQuerySbs);
}

void TMainForm::Auto_QueryClick(TObject*) {
    const bool on = Auto_Query->Checked();
    if (on) {
        Timer8->SetEnabled(true);
        ShowInfo("设置自动查询功能成功!", kSuccessColor);
    } else {
        Timer8->SetEnabled(false);
        Timer7->SetEnabled(false);
    }
    AutoQueryOn = on ? 1 : 0;
    for (TControl* control : {static_cast<TControl*>(EnsureTime), static_cast<TControl*>(BeginQuery_Date),
                              static_cast<TControl*>(BeginQuery_Time), static_cast<TControl*>(EndQuery_Date),
                              static_cast<TControl*>(EndQuery_Time), static_cast<TControl*>(CycleTimeEdit)})
        if (control) control->SetEnabled(!on);
    for (const char* name : kScheduleLocks)
        if (auto* control = dynamic_cast<TControl*>(FindComponent(name))) control->SetEnabled(!on);
}

// Two boxes, the start against now and the start against the end; nothing
// is stored.
void TMainForm::EnsureTimeClick(TObject*) {
    const TDateTime now = ScheduleClock();
    const Moment start{ValueOf(BeginQuery_Date), ValueOf(BeginQuery_Time)};
    const Moment end{ValueOf(EndQuery_Date), ValueOf(EndQuery_Time)};
    OrderBox({now, now}, start, "起始时间必须大于系统当前时间!", "起始日期应不小于系统当前日期!");
    OrderBox(start, end, "起始时间必须小于结束时间!", "起始日期不能大于结束日期!");
}

}  // namespace tarvel
