// The module's clock: the seven edits of the hidden group "系统时间设置" on
// the system-monitor tab, set from the PC's time, written to the module and
// read back from it.

#include "adjust/DeviceClock.h"
#include "app/Main.h"
#include "app/Main_HiddenGroups.h"
#include "link/CommandTable.h"
#include "platform/base/DateTime.h"

namespace tarvel {
namespace {

struct ClockEdit {
    const char* name;
    const char* label;
};

// In the order of ClockEdits.
constexpr ClockEdit kClockEdits[] = {
    {"YearEdit", "年"},
    {"MonthEdit", "月"},
    {"DayEdit", "日"},
    {"HourEdit", "时"},
    {"MinEdit", "分"},
    {"SecEdit", "秒"},
    {"WeekEdit", "星           期"},
};

}  // namespace

void TMainForm::SysDate_SetClick(TObject*) {
    if (!IsLoggedIn()) return;
    ClockEdits texts;
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = SysDateEdits[i] ? SysDateEdits[i]->Text() : String();
    const RequestBuild request = BuildSetClock(ModuleAddress(), texts);
    if (!request.Ok()) {
        ShowInfo(request.refusal, kFailureColor);
        return;
    }
    SendOwnFrame(request.frame, true);
}

void TMainForm::GetNowDateClick(TObject*) {
    const ClockEdits texts = ClockEditTexts(DeviceTimeOf(Now()));
    for (size_t i = 0; i < texts.size(); ++i)
        if (SysDateEdits[i]) SysDateEdits[i]->SetText(texts[i]);
}

void TMainForm::Sysdate_GetClick(TObject*) { SendCommand(ModuleAddress(), CmdGetSysDate); }

void TMainForm::ShowSysDate() {
    const std::optional<DeviceTime> time = DecodeClockReply(ByteSpan(RxFrame.data(), RxFrameLength));
    if (!time) return;
    const ClockEdits texts = ClockEditTexts(*time);
    for (size_t i = 0; i < texts.size(); ++i)
        if (SysDateEdits[i]) SysDateEdits[i]->SetText(texts[i]);
}

void TMainForm::BindClockHandlers() {
    TWinControl* page = ScrolledPanels[kMonitorPanel];
    if (!page || SysDateEdits[0]) return;
    auto* group = MakeHiddenGroup(*this, page, "", Area(480, 186, 446, 120), "系统时间设置");
    for (size_t i = 0; i < std::size(kClockEdits); ++i) {
        // Date and week-day on the first row, the time of day on the second.
        const bool timeOfDay = i >= 3 && i <= 5;
        const int column = timeOfDay ? static_cast<int>(i) - 3 : (i == 6 ? 3 : static_cast<int>(i));
        const int left = 10 + column * 104;
        const int top = timeOfDay ? 54 : 22;
        MakeCaptionLabel(*this, group, kClockEdits[i].label, left + 54, top + 3, i == 6 ? 60 : 16);
        SysDateEdits[i] = MakeControl<TTeEdit>(this, group, kClockEdits[i].name, left, top, 50, 21);
    }
    BindButton(*this, group, "SysDate_Set", "设置系统时间", Area(10, 84, 130, 28),
               [this] { SysDate_SetClick(nullptr); });
    BindButton(*this, group, "GetNowDate", "获取当前时间", Area(150, 84, 130, 28),
               [this] { GetNowDateClick(nullptr); });
    BindButton(*this, group, "Sysdate_Get", "获取系统时间", Area(290, 84, 130, 28),
               [this] { Sysdate_GetClick(nullptr); });
}

}  // namespace tarvel
