// The module's clock end to end: the seven edits written as the 8-byte
// DeviceTime the simulated module receives, read back into the edits, and
// taken from the PC's clock with the week-day counted from Monday 1.

#include <chrono>

#include "tests/app/RemoteControlFixture.h"

namespace tarvel::testing {
namespace {

using DeviceClockTest = RemoteControlTest;

std::vector<String> EditTexts(const TMainForm& form) {
    std::vector<String> texts;
    for (TTeEdit* edit : form.SysDateEdits) texts.push_back(edit->Text());
    return texts;
}

// Year, month, day, hour, minute, second, week-day: the order of the edits.
void SetEdits(TMainForm& form, const std::array<const char*, 7>& texts) {
    for (size_t i = 0; i < texts.size(); ++i) form.SysDateEdits[i]->SetText(texts[i]);
}

TEST_F(DeviceClockTest, TheEditsSetTheModulesClockAndReadItBack) {
    TMainForm* form = StartLoggedIn();
    // 2018-11-05 09:03:07, a Monday.
    SetEdits(*form, {"2018", "11", "5", "9", "3", "7", "1"});
    const Bytes sent{0x00, 0x00, 0x0C, 0x01, 0x20, 0x55, 0xAA, 0xE2,
                     0x07, 0x0B, 0x01, 0x05, 0x09, 0x03, 0x07, 0x39};
    EXPECT_EQ(ClickAndAwait("SysDate_Set"), std::vector<Bytes>{sent});
    EXPECT_EQ(Module().Module(kModuleAddress).clock, Bytes(sent.begin() + 7, sent.end() - 1));
    EXPECT_EQ(LastCommand, 0);

    SetEdits(*form, {"", "", "", "", "", "", ""});
    EXPECT_EQ(ClickAndAwait("Sysdate_Get"), std::vector<Bytes>{BuildRequest(0, CmdGetSysDate)});
    EXPECT_EQ(EditTexts(*form), (std::vector<String>{"2018", "11", "5", "9", "3", "7", "1"}));
}

TEST_F(DeviceClockTest, ThePcsTimeGoesOutWithItsIsoWeekDay) {
    TMainForm* form = StartLoggedIn();
    ui_.Click(Reveal("GetNowDate"));
    const std::vector<String> texts = EditTexts(*form);
    ClickAndAwait("SysDate_Set");

    const Bytes clock = Module().Module(kModuleAddress).clock;
    ASSERT_EQ(clock.size(), 8u);
    const int year = clock[0] | clock[1] << 8;
    EXPECT_EQ(std::to_string(year), texts[0]);
    EXPECT_EQ(std::to_string(clock[2]), texts[1]);
    EXPECT_EQ(std::to_string(clock[4]), texts[2]);
    EXPECT_EQ(std::to_string(clock[3]), texts[6]);
    namespace c = std::chrono;
    const c::year_month_day date{c::year{year}, c::month{clock[2]}, c::day{clock[4]}};
    ASSERT_TRUE(date.ok());
    EXPECT_EQ(clock[3], c::weekday{c::sys_days{date}}.iso_encoding());  // Monday 1 .. Sunday 7
    // The PC's date, unless the test ran across midnight.
    const DateParts today = DecodeDateTime(Now());
    const bool sameDay = today.year == year && today.month == clock[2] && today.day == clock[4];
    const bool dayBefore = c::sys_days{date} + c::days{1} ==
                           c::sys_days{c::year{today.year} / c::month(today.month) / c::day(today.day)};
    EXPECT_TRUE(sameDay || dayBefore) << texts[0] << "-" << texts[1] << "-" << texts[2];
}

TEST_F(DeviceClockTest, AWeekDayOfZeroIsShownAsItCame) {
    TMainForm* form = StartLoggedIn();
    Module().UpdateModule(kModuleAddress,
                          [](sim::ModuleState& m) { m.clock = {0xE9, 0x07, 3, 0, 30, 23, 59, 58}; });
    ClickAndAwait("Sysdate_Get");
    EXPECT_EQ(EditTexts(*form), (std::vector<String>{"2025", "3", "30", "23", "59", "58", "0"}));
}

struct ClockRefusal {
    std::array<const char*, 7> edits;
    const char* named;  // the caption of the edit the refusal names
};

TEST_F(DeviceClockTest, EditsThatAreNoFieldValueSendNothing) {
    const ClockRefusal cases[] = {
        {{"2018", "abc", "5", "9", "3", "7", "1"}, "    月: 'abc'"},
        {{"2018", "300", "5", "9", "3", "7", "1"}, "    月: 300"},
        {{"70000", "11", "5", "9", "3", "7", "1"}, "    年: 70000"},
        {{"2018", "11", "5", "9", "3", "-1", "1"}, "    秒: -1"},
        {{"2018", "11", "5", "9", "3", "7", ""}, "    星           期: ''"},
    };
    TMainForm* form = StartLoggedIn();
    for (const ClockRefusal& c : cases) {
        SCOPED_TRACE(c.named);
        SetEdits(*form, c.edits);
        form->L_Info->SetCaption("");
        ui_.Click(Reveal("SysDate_Set"));
        EXPECT_TRUE(InfoLine().starts_with(c.named)) << InfoLine();
        EXPECT_EQ(InfoColor(), kFailureColor);
    }
    EXPECT_TRUE(ReceivedAfterPause().empty());
}

TEST_F(DeviceClockTest, LoggedOutTheClockIsNeitherSetNorRead) {
    TMainForm* form = StartBound();
    ASSERT_TRUE(form->OpenPort());
    SetEdits(*form, {"2018", "11", "5", "9", "3", "7", "1"});
    for (const char* button : {"SysDate_Set", "Sysdate_Get"}) {
        form->L_Info->SetCaption("");
        ui_.Click(Reveal(button));
        EXPECT_EQ(InfoLine(), "    Please login frist!") << button;
    }
    EXPECT_TRUE(ReceivedAfterPause().empty());
}

}  // namespace
}  // namespace tarvel::testing
