// The scheduled query against modules on one line: the window of dates and
// times of day, the period, what its switch locks, and the two boxes of its
// check. The schedule's clock is the test's: a local time that moves with
// the test clock.

#include "platform/base/Ticks.h"
#include "tests/app/ModuleQueryFixture.h"

namespace tarvel::testing {
namespace {

TDateTime At(int year, int month, int day, int hour, int minute = 0) {
    return EncodeDateTime(DateParts{year, month, day, hour, minute, 0, 0});
}

class ScheduledQueryTest : public ModuleQueryTest {
protected:
    // Single-module mode on module 1, the schedule's timers counted from here.
    TMainForm* StartScheduled(TDateTime now) {
        TMainForm* form = StartBound();
        form->SetModuleIndex(1);
        SetScheduleTime(now);
        startTicks_ = GetTickCount();
        return form;
    }

    // From now on the schedule reads `at`, moving on with the test clock.
    void SetScheduleTime(TDateTime at) {
        const uint32_t ticks = GetTickCount();
        form_->ScheduleClock = [at, ticks] { return at + (GetTickCount() - ticks) / 86400000.0; };
    }

    void SetWindow(TDateTime begin, TDateTime end) {
        for (TDateTimePicker* picker : {form_->BeginQuery_Date, form_->BeginQuery_Time})
            picker->SetDateTime(begin);
        for (TDateTimePicker* picker : {form_->EndQuery_Date, form_->EndQuery_Time}) picker->SetDateTime(end);
    }

    // Moves the test clock on to `untilMs` after the start in 10 ms steps;
    // the times a step sent the telemetry query, each answered before the
    // clock goes on.
    std::vector<uint32_t> RunUntil(uint32_t untilMs) {
        std::vector<uint32_t> sentAt;
        while (GetTickCount() - startTicks_ < untilMs) {
            ui_.AdvanceClock(10, 10);
            if (LastCommand != CmdQuerySbs) continue;
            sentAt.push_back(GetTickCount() - startTicks_);
            EXPECT_TRUE(WaitUntil([] { return LastCommand == 0; }));
        }
        return sentAt;
    }

    uint32_t startTicks_ = 0;
};

TEST_F(ScheduledQueryTest, TheClockKeepsThePickersCurrentWhileTheStartWindowStaysClosed) {
    TMainForm* form = StartScheduled(At(2026, 3, 10, 10));
    OpenOnLine();
    // A current-time picker of the device's own schedule, as that feature makes it.
    auto* deviceNow = dynamic_cast<TDateTimePicker*>(form->FindComponent("Now_Time"));
    if (!deviceNow) {
        deviceNow = new TDateTimePicker(form);
        deviceNow->SetName("Now_Time");
        deviceNow->SetParent(form->ScrolledPanels[11]);
    }

    EXPECT_TRUE(RunUntil(11000).empty()) << "the window of 2013-01-01 never opens";
    EXPECT_FALSE(form->Timer7->Enabled());
    EXPECT_EQ(DateTimeToStr(form->NowTime_Date->DateTime()), "2026-03-10 10:00:11");
    EXPECT_EQ(DateTimeToStr(form->NowTime_Time->DateTime()), "2026-03-10 10:00:11");
    EXPECT_EQ(DateTimeToStr(deviceNow->DateTime()), "2026-03-10 10:00:11");
    EXPECT_TRUE(Requests().empty());
}

// A window from 08:00 to 17:00 over three days, the period 3 s: the window
// check every 5 s starts the query, and stops it once the clock reads 18:00.
TEST_F(ScheduledQueryTest, QueriesEveryPeriodInsideTheWindowAndStopsOutsideIt) {
    TMainForm* form = StartScheduled(At(2026, 3, 11, 9));
    OpenOnLine();
    SetWindow(At(2026, 3, 10, 8), At(2026, 3, 12, 17));
    form->CycleTimeEdit->SetText("3");

    EXPECT_EQ(RunUntil(12500), (std::vector<uint32_t>{8000, 11000}));
    SetScheduleTime(At(2026, 3, 11, 18));
    EXPECT_EQ(RunUntil(22000), (std::vector<uint32_t>{14000}));
    EXPECT_FALSE(form->Timer7->Enabled());
    EXPECT_EQ(Requests(), (std::vector<Bytes>(3, PlainQuery(1))));
    EXPECT_EQ(ui_.CellText(form->SG_TSBS, 1, 1), std::to_string(Module().Module(1).telemetry.batt));
}

TEST_F(ScheduledQueryTest, TheWindowHoldsDatesAndTimesOfDayApart) {
    struct Case {
        TDateTime now;
        bool open;
    };
    const Case cases[] = {
        {At(2026, 3, 10, 9), true},   {At(2026, 3, 12, 9), true},      {At(2026, 3, 11, 8), true},
        {At(2026, 3, 11, 17), true},  {At(2026, 3, 9, 9), false},      {At(2026, 3, 13, 9), false},
        {At(2026, 3, 11, 18), false}, {At(2026, 3, 11, 7, 59), false}, {At(2026, 3, 11, 17, 1), false},
    };
    TMainForm* form = StartScheduled(At(2026, 3, 11, 9));
    SetWindow(At(2026, 3, 10, 8), At(2026, 3, 12, 17));
    for (const Case& c : cases) {
        SCOPED_TRACE(DateTimeToStr(c.now));
        form->NowTime_Date->SetDateTime(c.now);
        form->NowTime_Time->SetDateTime(c.now);
        EXPECT_EQ(form->QueryWindowOpen(), c.open);
        form->Timer8Timer(nullptr);
        EXPECT_EQ(form->Timer7->Enabled(), c.open);
    }
}

TEST_F(ScheduledQueryTest, APeriodThatIsNoWholeNumberOfSecondsCountsAsTen) {
    const std::pair<const char*, UINT> cases[] = {{"3", 3000},  {"abc", 10000}, {"", 10000},
                                                  {"0", 10000}, {"-2", 10000},  {"1.5", 10000}};
    TMainForm* form = StartScheduled(At(2026, 3, 11, 9));
    SetWindow(At(2026, 3, 10, 8), At(2026, 3, 12, 17));
    form->Timer6Timer(nullptr);
    for (const auto& [text, interval] : cases) {
        SCOPED_TRACE(text);
        form->CycleTimeEdit->SetText(text);
        form->Timer8Timer(nullptr);
        EXPECT_EQ(form->Timer7->Interval(), interval);
    }
}

TEST_F(ScheduledQueryTest, TheSwitchLocksTheInputsAndTheOtherSendersUntilItIsOff) {
    TMainForm* form = StartScheduled(At(2026, 3, 11, 9));
    form->TeEffectGroupBox6->SetVisible(true);
    form->PC_All->SetActivePage(form->TS_Monitor);
    const char* locked[] = {"EnsureTime",   "BeginQuery_Date", "EndQuery_Time", "CycleTimeEdit",
                            "CB_AutoQuery", "TB_LOG",          "TB_COMSwitch",  "B_Query"};

    ui_.Click(form, "Auto_Query");
    EXPECT_EQ(InfoLine(), "    设置自动查询功能成功!");
    EXPECT_EQ(form->L_Info->Color(), TColor{0x80D98D});
    EXPECT_EQ(form->AutoQueryOn, 1);
    for (const char* name : locked) EXPECT_FALSE(ui_.Find(form, name)->Enabled()) << name;

    ui_.Click(form, "Auto_Query");
    EXPECT_EQ(form->AutoQueryOn, 0);
    for (const char* name : locked) EXPECT_TRUE(ui_.Find(form, name)->Enabled()) << name;
    // The window check stays stopped until the switch is on again.
    SetWindow(At(2026, 3, 10, 8), At(2026, 3, 12, 17));
    EXPECT_TRUE(RunUntil(12000).empty());
    EXPECT_FALSE(form->Timer8->Enabled());
    EXPECT_FALSE(form->Timer7->Enabled());
}

TEST_F(ScheduledQueryTest, TheQueryIsRefusedWhileNoModuleIsLoggedIn) {
    TMainForm* form = StartScheduled(At(2026, 3, 11, 9));
    OpenOnLine();
    form->LoggedIn = 0;
    SetWindow(At(2026, 3, 10, 8), At(2026, 3, 12, 17));
    form->CycleTimeEdit->SetText("1");
    EXPECT_TRUE(RunUntil(6500).empty());
    EXPECT_EQ(InfoLine(), "    Please login frist!");
    EXPECT_TRUE(Requests().empty());
}

// "Confirm" holds the start against now, then against the end: a warning
// when they are in order, the refusal otherwise; it stores nothing.
TEST_F(ScheduledQueryTest, TheCheckShowsTwoBoxes) {
    struct Case {
        TDateTime begin, end;
        TMsgDlgType firstType;
        const char* first;
        TMsgDlgType secondType;
        const char* second;
    };
    const char* kWarning = "请确保系统未处在自动查询TSBS参数!";
    const Case cases[] = {
        {At(2026, 3, 12, 9), At(2026, 3, 14, 8), mtWarning, kWarning, mtWarning, kWarning},
        {At(2026, 3, 10, 11), At(2026, 3, 10, 12), mtWarning, kWarning, mtWarning, kWarning},
        {At(2026, 3, 10, 9), At(2026, 3, 10, 12), mtInformation, "起始时间必须大于系统当前时间!", mtWarning,
         kWarning},
        {At(2026, 3, 9, 11), At(2026, 3, 9, 11), mtInformation, "起始日期应不小于系统当前日期!",
         mtInformation, "起始时间必须小于结束时间!"},
        {At(2026, 3, 12, 9), At(2026, 3, 11, 9), mtWarning, kWarning, mtInformation,
         "起始日期不能大于结束日期!"},
    };
    TMainForm* form = StartScheduled(At(2026, 3, 10, 10));
    form->TeEffectGroupBox6->SetVisible(true);
    form->PC_All->SetActivePage(form->TS_Monitor);
    for (const Case& c : cases) {
        SCOPED_TRACE(DateTimeToStr(c.begin) + " to " + DateTimeToStr(c.end));
        SetWindow(c.begin, c.end);
        const size_t before = ui_.Boxes().size();
        ui_.Click(form, "EnsureTime");
        ASSERT_EQ(ui_.Boxes().size(), before + 2);
        const TBoxRecord& first = ui_.Boxes()[before];
        const TBoxRecord& second = ui_.Boxes()[before + 1];
        EXPECT_EQ(first.type, c.firstType);
        EXPECT_EQ(first.text, c.first);
        EXPECT_EQ(second.type, c.secondType);
        EXPECT_EQ(second.text, c.second);
        EXPECT_EQ(first.buttons, TMsgDlgButtons{mbOK});
        EXPECT_EQ(DateTimeToStr(form->BeginQuery_Date->DateTime()), DateTimeToStr(c.begin));
    }
}

}  // namespace
}  // namespace tarvel::testing
