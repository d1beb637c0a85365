// The date-time picker: date and time parts, field-wise keys, the drop-down
// calendar, and the month calendar itself.

#include "platform/classlib/ComCtrls_DateTime.h"

#include "ControlFixture.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {
namespace {

class DateTimePickerTest : public ControlFixture {
protected:
    TDateTimePicker* Picker(TDateTimeKind kind = dtkDate) {
        auto* p =
            Add<TDateTimePicker>(kind == dtkDate ? "DatePicker" : "TimePicker", Bounds(10, 10, 120, 21));
        p->SetKind(kind);
        p->OnChange = [this](TObject*) { ++changes; };
        return p;
    }
    static TDateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
        return EncodeDateTime(DateParts{y, m, d, h, n, s, 0});
    }
    int changes = 0;
};

TEST_F(DateTimePickerTest, DateAndTimePartsAreSetApartAndCodeRaisesNoChange) {
    auto* p = Picker();
    p->SetDateTime(At(2026, 3, 14, 15, 9, 26));
    EXPECT_EQ(p->Text(), "2026-03-14");
    EXPECT_EQ(DateToStr(p->Date()), "2026-03-14");
    EXPECT_EQ(TimeToStr(p->Time()), "15:09:26");
    p->SetDate(At(2025, 1, 2, 8, 0, 0));
    EXPECT_EQ(DateTimeToStr(p->DateTime()), "2025-01-02 15:09:26");
    p->SetTime(At(2000, 5, 5, 7, 30, 0));
    EXPECT_EQ(DateTimeToStr(p->DateTime()), "2025-01-02 07:30:00");
    p->SetKind(dtkTime);
    EXPECT_EQ(p->Text(), "07:30:00");
    EXPECT_EQ(changes, 0);
}

TEST_F(DateTimePickerTest, KeysEditOneFieldAtATime) {
    auto* p = Picker();
    p->SetDateTime(At(2026, 1, 31, 12, 0, 0));
    ShowForm();
    ui.Click(p);
    p->SetFocusedField(0);
    struct Step {
        UINT key;
        const char* text;
    } steps[] = {
        {VK_UP, "2027-01-31"},    {VK_RIGHT, "2027-01-31"},
        {VK_UP, "2027-02-28"},                              // the day follows the month's end
        {VK_DOWN, "2027-01-28"},  {VK_DOWN, "2027-12-28"},  // months wrap
        {VK_RIGHT, "2027-12-28"}, {VK_UP, "2027-12-29"},
    };
    for (const Step& s : steps) {
        ui.PressKey(s.key);
        EXPECT_EQ(p->Text(), s.text) << s.key;
    }
    EXPECT_EQ(changes, 5);
    // Digits fill the focused field and move on once it is full.
    p->SetFocusedField(4);
    ui.Type("05");
    EXPECT_EQ(p->Text(), "2027-12-05");
    p->SetFocusedField(0);
    ui.Type("2024");
    ui.Type("02");
    ui.Type("30");  // the 3 is taken at once; the 30th does not exist
    EXPECT_EQ(p->Text(), "2024-02-03");
    EXPECT_EQ(TimeToStr(p->Time()), "12:00:00");
}

TEST_F(DateTimePickerTest, TimeStepsWithTheUpDownAndTyping) {
    auto* p = Picker(dtkTime);
    p->SetDateTime(At(2026, 6, 1, 23, 59, 58));
    ShowForm();
    const TRect b = p->ButtonRect();
    p->SetFocusedField(p->FieldCount() - 1);  // seconds
    ui.ClickAt(p, TPoint{b.left + 8, b.top + 3});
    ui.ClickAt(p, TPoint{b.left + 8, b.top + 3});
    EXPECT_EQ(p->Text(), "23:59:00");  // the field wraps, the others stay
    ui.ClickAt(p, TPoint{b.left + 8, b.bottom - 3});
    EXPECT_EQ(p->Text(), "23:59:59");
    p->SetFocusedField(0);
    ui.Type("07");
    ui.Type("15");
    EXPECT_EQ(p->Text(), "07:15:59");
    EXPECT_EQ(DateToStr(p->Date()), "2026-06-01");
    EXPECT_FALSE(p->DroppedDown());
    // The halves are hot only under the mouse, and held while pressed.
    ui.MoveMouseTo(p, TPoint{b.left + 8, b.bottom - 3});
    EXPECT_EQ(p->HotPart(), dbpDown);
    ui.MoveMouseTo(p, TPoint{5, 5});
    EXPECT_EQ(p->HotPart(), dbpNone);
    EXPECT_EQ(p->PressedPart(), dbpNone);
}

TEST_F(DateTimePickerTest, TheDropDownCalendarPicksADayAndKeepsTheTime) {
    auto* p = Picker();
    p->SetDateTime(At(2026, 2, 10, 9, 45, 0));
    std::vector<String> events;
    p->OnDropDown = [&](TObject*) { events.push_back("drop"); };
    p->OnCloseUp = [&](TObject*) { events.push_back("close " + p->Text()); };
    ShowForm();
    ui.PickItem(p, "15");
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(DateTimeToStr(p->DateTime()), "2026-02-15 09:45:00");
    EXPECT_EQ(changes, 1);
    // Escape closes without taking the calendar's date; a click elsewhere too.
    ui.Click(p);
    ui.PressKey(VK_F4);
    ASSERT_TRUE(p->DroppedDown());
    ui.PressKey(VK_RIGHT);
    EXPECT_EQ(DateToStr(p->Calendar()->Date()), "2026-02-16");
    ui.PressKey(VK_ESCAPE);
    EXPECT_EQ(p->Text(), "2026-02-15");
    ui.ClickAt(p, TPoint{p->ButtonRect().left + 5, 8});
    ASSERT_TRUE(p->DroppedDown());
    EXPECT_EQ(p->PressedPart(), dbpDropDown);
    ui.ClickAt(form, TPoint{400, 300});
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(events, (std::vector<String>{"drop", "close 2026-02-15", "drop", "close 2026-02-15", "drop",
                                           "close 2026-02-15"}));
}

TEST_F(DateTimePickerTest, CalendarNavigatesMonthsMarksTodayAndTakesItsColours) {
    auto* cal = Add<TMonthCalendar>("Calendar", Bounds(10, 40, 191, 154));
    cal->TodayProvider = [] { return EncodeDate(2026, 12, 10); };
    cal->SetDate(EncodeDate(2026, 12, 31));
    cal->CalColors()->TitleBackColor = clNavy;
    cal->CalColors()->TitleTextColor = clYellow;
    ShowForm();
    EXPECT_EQ(PixelAt(cal, TPoint{cal->TitleRect().left + 30, 3}), Rgb(clNavy));
    // 1 December 2026 is a Tuesday: the first row starts on Sunday 29 November.
    EXPECT_EQ(DateToStr(cal->CellDate(0, 0)), "2026-11-29");
    EXPECT_EQ(cal->DayRect(1), cal->CellRect(0, 2));
    const TRect today = cal->DayRect(10);
    EXPECT_EQ(PixelAt(cal, TPoint{today.left + 1, today.top}), 0xFF0000u);
    ui.ClickAt(cal, TPoint{cal->NextButtonRect().left + 3, cal->NextButtonRect().top + 3});
    EXPECT_EQ(cal->Month(), 1);
    EXPECT_EQ(cal->Year(), 2027);
    EXPECT_EQ(DateToStr(cal->Date()), "2026-12-31");
    int picked = 0;
    cal->OnClick = [&](TObject*) { ++picked; };
    ui.PickItem(cal, "20");
    EXPECT_EQ(DateToStr(cal->Date()), "2027-01-20");
    ui.ClickAt(cal, TPoint{20, cal->TodayRect().top + 3});
    EXPECT_EQ(DateToStr(cal->Date()), "2026-12-10");
    EXPECT_EQ(picked, 2);
    // Saved colours come back whole.
    TMonthCalColors saved;
    saved.Assign(cal->CalColors());
    cal->CalColors()->TitleBackColor = clRed;
    cal->SetCalColors(&saved);
    EXPECT_EQ(cal->CalColors()->TitleBackColor, clNavy);
}

// What a skin does to the arrows: finds them by class, paints them itself and
// passes the clicks on so the field still steps.
TEST_F(DateTimePickerTest, TheArrowsAreAChildOfTheUpDownClassThatCanBeSubclassed) {
    auto* date = Picker();
    auto* time = Picker(dtkTime);
    time->SetBounds(10, 40, 120, 21);
    time->SetDateTime(At(2026, 6, 1, 10, 20, 30));
    ShowForm();
    EXPECT_EQ(FindWindowEx(date->Handle(), nullptr, kUpDownClassName), nullptr);
    HWND arrows = FindWindowEx(time->Handle(), nullptr, kUpDownClassName);
    ASSERT_TRUE(arrows);
    ASSERT_TRUE(time->UpDown());
    EXPECT_EQ(arrows, time->UpDown()->Handle());
    EXPECT_EQ(time->UpDown()->BoundsRect(), time->ButtonRect());

    static WNDPROC previous = nullptr;
    static int downs = 0;
    WNDPROC hook = MakeWindowProc([](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            FillColor(dc, TRect{0, 0, 100, 100}, clLime);
            EndPaint(h, &ps);
            return 0;
        }
        if (msg == WM_LBUTTONDOWN) ++downs;
        return CallWindowProc(previous, h, msg, w, l);
    });
    previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtr(arrows, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(hook)));
    InvalidateRect(arrows, nullptr, true);
    Snap();
    const TRect b = time->ButtonRect();
    EXPECT_EQ(PixelAt(time, TPoint{b.left + 4, b.top + 4}), Rgb(clLime));
    time->SetFocusedField(0);
    ui.ClickAt(time, TPoint{b.left + 8, b.top + 3});
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(time->Text(), "11:20:30");
    SetWindowLongPtr(arrows, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(previous));

    // The arrows come and go with the kind and the mode, and follow the size.
    time->SetKind(dtkDate);
    EXPECT_EQ(time->UpDown(), nullptr);
    EXPECT_EQ(FindWindowEx(time->Handle(), nullptr, kUpDownClassName), nullptr);
    date->SetDateMode(dmUpDown);
    ASSERT_TRUE(date->UpDown());
    date->SetWidth(150);
    EXPECT_EQ(date->UpDown()->BoundsRect(), date->ButtonRect());
    date->SetEnabled(false);
    EXPECT_FALSE(date->UpDown()->Enabled());
}

TEST_F(DateTimePickerTest, TheRangeBoundsCodeAndUser) {
    auto* p = Picker();
    p->SetDateTime(At(2026, 3, 20, 8, 0, 0));
    p->SetMinDate(At(2026, 3, 10, 17, 0, 0));
    p->SetMaxDate(At(2026, 4, 5));
    // Code outside the range is refused with the limit named; the value stays.
    struct Case {
        TDateTime value;
        const char* error;
    } cases[] = {
        {At(2026, 3, 9, 23, 59, 59), "Date is less than minimum of 2026-03-10"},
        {At(2026, 4, 6), "Date exceeds maximum of 2026-04-05"},
        {At(2026, 3, 10), nullptr},  // the ends count whatever the time
        {At(2026, 4, 5, 23, 0, 0), nullptr},
    };
    for (const Case& c : cases) {
        if (c.error) {
            try {
                p->SetDateTime(c.value);
                ADD_FAILURE() << c.error;
            } catch (const EDateTimeError& e) {
                EXPECT_EQ(e.Message(), c.error);
            }
        } else {
            EXPECT_NO_THROW(p->SetDateTime(c.value));
        }
    }
    EXPECT_EQ(DateTimeToStr(p->DateTime()), "2026-04-05 23:00:00");
    EXPECT_THROW(p->SetMinDate(At(2026, 4, 6)), EDateTimeError);

    // The user's steps stop at the ends.
    ShowForm();
    ui.Click(p);
    p->SetFocusedField(2);  // the month
    ui.PressKey(VK_UP);
    EXPECT_EQ(p->Text(), "2026-04-05");
    p->SetFocusedField(4);  // the day
    ui.PressKey(VK_DOWN);
    EXPECT_EQ(p->Text(), "2026-04-04");
    p->SetFocusedField(0);
    ui.PressKey(VK_DOWN);
    EXPECT_EQ(p->Text(), "2026-03-10");
    EXPECT_EQ(TimeToStr(p->Time()), "23:00:00");
    // A narrower range moves the value in, quietly.
    const int before = changes;
    p->SetMinDate(At(2026, 3, 15));
    EXPECT_EQ(p->Text(), "2026-03-15");
    EXPECT_EQ(changes, before);

    // The drop-down calendar takes the range: days outside it take no click.
    p->DropDown();
    TMonthCalendar* cal = p->Calendar();
    EXPECT_EQ(DateToStr(cal->MinDate()), "2026-03-15");
    EXPECT_FALSE(cal->DateAllowed(At(2026, 3, 14)));
    ui.PickItem(cal, "14");
    EXPECT_TRUE(p->DroppedDown());
    ui.PickItem(cal, "16");
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->Text(), "2026-03-16");
}

TEST_F(DateTimePickerTest, ACalendarShowsOnlyMonthsWithinItsRange) {
    auto* cal = Add<TMonthCalendar>("Calendar", Bounds(10, 40, 191, 154));
    cal->TodayProvider = [] { return EncodeDate(2026, 12, 10); };
    cal->SetDate(EncodeDate(2026, 5, 20));
    cal->SetMinDate(EncodeDate(2026, 4, 30));
    cal->SetMaxDate(EncodeDate(2026, 6, 1));
    ShowForm();
    const TPoint prev{cal->PrevButtonRect().left + 3, cal->PrevButtonRect().top + 3};
    const TPoint next{cal->NextButtonRect().left + 3, cal->NextButtonRect().top + 3};
    struct Step {
        TPoint at;
        int month;
    } steps[] = {{prev, 4}, {prev, 4}, {next, 5}, {next, 6}, {next, 6}};
    for (const Step& s : steps) {
        ui.ClickAt(cal, s.at);
        EXPECT_EQ(cal->Month(), s.month);
    }
    // Today lies past the range: its link does nothing.
    ui.ClickAt(cal, TPoint{20, cal->TodayRect().top + 3});
    EXPECT_EQ(DateToStr(cal->Date()), "2026-05-20");
    // Keys stop at the ends.
    ui.Click(cal);
    cal->SetFocus();
    for (int i = 0; i < 3; ++i) ui.PressKey(VK_NEXT);
    EXPECT_EQ(DateToStr(cal->Date()), "2026-06-01");
    EXPECT_THROW(cal->SetDate(EncodeDate(2026, 6, 2)), EDateTimeError);
    cal->SetMaxDate(0);
    EXPECT_NO_THROW(cal->SetDate(EncodeDate(2030, 1, 1)));
}

TEST_F(DateTimePickerTest, APickerFreedWhileDroppedGivesTheMouseBack) {
    auto* p = Picker();
    ShowForm();
    p->DropDown();
    ASSERT_TRUE(p->DroppedDown());
    delete p;
    ui.RunUntilIdle();
    EXPECT_EQ(GetCapture(), nullptr);
    ui.Click(form);
}

}  // namespace
}  // namespace tarvel
