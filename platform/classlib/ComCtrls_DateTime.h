#pragma once
// The month calendar and the date-time picker, whose drop-down is a month
// calendar in a popup window.

#include <memory>
#include <vector>

#include "platform/base/DateTime.h"
#include "platform/classlib/ComCtrls_Bars.h"
#include "platform/classlib/StdCtrls.h"

namespace tarvel {

// A date set from code outside the control's range.
class EDateTimeError : public Exception {
public:
    using Exception::Exception;
};

// The dates a calendar or picker accepts; 0 at either end means no limit.
// Only the date part counts.
struct TDateRange {
    TDateTime MinDate = 0;
    TDateTime MaxDate = 0;
    bool Contains(TDateTime date) const;
    // The nearest accepted date of the same time of day.
    TDateTime Clamp(TDateTime value) const;
    // Raises EDateTimeError for a date outside the range.
    void Check(TDateTime value) const;
    // Raises EDateTimeError when the new ends would cross.
    void SetMin(TDateTime date);
    void SetMax(TDateTime date);
};

class TMonthCalColors : public TPersistent {
    TARVEL_CLASS(TMonthCalColors, TPersistent)

public:
    TColor BackColor = clWindow;
    TColor TextColor = clWindowText;
    TColor TitleBackColor = clActiveCaption;
    TColor TitleTextColor = clCaptionText;
    TColor MonthBackColor = clWindow;
    TColor TrailingTextColor = clGrayText;
    void Assign(TPersistent* source) override;
};

// One month: a title with the month and buttons to the months around it,
// the days of the week, six weeks of days (those of the months around it
// in the trailing colour), and today's date at the foot.
class TMonthCalendar : public TCustomControl, public IUiItems, public IUiState {
    TARVEL_CLASS(TMonthCalendar, TCustomControl)

public:
    String UiState() override { return "date=" + DateToStr(date_); }
    explicit TMonthCalendar(TComponent* owner);
    ~TMonthCalendar() override;

    TDateTime Date() const { return date_; }
    // The day shown selected; the month shown follows it. No events. A date
    // outside MinDate..MaxDate raises EDateTimeError.
    void SetDate(TDateTime date);
    TDateTime MinDate() const { return range_.MinDate; }
    TDateTime MaxDate() const { return range_.MaxDate; }
    // A selected date outside the new range moves to its nearest end.
    void SetMinDate(TDateTime date);
    void SetMaxDate(TDateTime date);
    // Whether a day can be picked, and a month shown (some day of it can).
    bool DateAllowed(TDateTime date) const { return range_.Contains(date); }
    bool MonthAllowed(int year, int month) const;
    int Year() const { return year_; }
    int Month() const { return month_; }
    // Shows another month, keeping the selected date.
    void ShowMonth(int year, int month);
    TMonthCalColors* CalColors() { return &colors_; }
    void SetCalColors(TMonthCalColors* colors);
    bool ShowToday() const { return showToday_; }
    void SetShowToday(bool v);
    // The date that counts as today (by default the clock's).
    std::function<TDateTime()> TodayProvider;
    TDateTime Today() const;

    // Geometry in client coordinates.
    TRect TitleRect();
    TRect PrevButtonRect();
    TRect NextButtonRect();
    TRect TodayRect();
    // The cell of week `row` (0..5), weekday `col` (0 = Sunday).
    TRect CellRect(int row, int col);
    // The date shown in that cell.
    TDateTime CellDate(int row, int col) const;
    // The cell showing a day of the current month.
    TRect DayRect(int day);

    int UiItemCount() override;
    String UiItemText(int index) override { return IntToStr(index + 1); }
    TRect UiItemRect(int index) override { return DayRect(index + 1); }
    int UiItemIndex() override;

    // A day picked by the user (also with Enter).
    TNotifyEvent OnClick;
    // The selected date changed by the user.
    TNotifyEvent OnChange;
    // Escape.
    TNotifyEvent OnCancel;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void WMGetDlgCode(TMessage& m);

private:
    friend class TDateTimePicker;
    void UserSetDate(TDateTime date, bool pick);
    TDateTime FirstCellDate() const;
    int HeaderHeight();
    int LineHeight();

    void SetRange(const TDateRange& range);
    void StepMonth(int step);

    TDateTime date_ = 0;
    int year_ = 1899, month_ = 12;
    TDateRange range_;
    TMonthCalColors colors_;
    bool showToday_ = true;
};

enum TDateTimeKind { dtkDate, dtkTime };
// The parts of the picker's button area, for those who paint it.
enum TDTButtonPart { dbpNone, dbpDropDown, dbpUp, dbpDown };
enum TDTDateMode { dmComboBox, dmUpDown };

// A date or a time in fields (year, month, day; hour, minute, second) that
// the keyboard edits one at a time.
class TDateTimePicker : public TCustomControl, public IUiDropDown, public IUiState {
    TARVEL_CLASS(TDateTimePicker, TCustomControl)

public:
    String UiState() override { return "value=" + DateTimeToStr(value_) + (dropped_ ? " dropped" : ""); }
    explicit TDateTimePicker(TComponent* owner);
    ~TDateTimePicker() override;

    TDateTime DateTime() const { return value_; }
    // Code sets the value without OnChange; a date outside MinDate..MaxDate
    // raises EDateTimeError. The user's edits stay within the range.
    void SetDateTime(TDateTime value);
    TDateTime MinDate() const { return range_.MinDate; }
    TDateTime MaxDate() const { return range_.MaxDate; }
    // A value outside the new range moves to its nearest end.
    void SetMinDate(TDateTime date);
    void SetMaxDate(TDateTime date);
    TDateTime Date() const;
    void SetDate(TDateTime date);  // keeps the time of day
    TDateTime Time() const;
    void SetTime(TDateTime time);  // keeps the date
    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind kind);
    TDTDateMode DateMode() const { return dateMode_; }
    void SetDateMode(TDTDateMode mode);
    // Empty: "yyyy-mm-dd" for dates, "hh:nn:ss" for times.
    const String& Format() const { return format_; }
    void SetFormat(const String& format);
    String EffectiveFormat() const;
    TMonthCalColors* CalColors() { return &calColors_; }
    void SetCalColors(TMonthCalColors* colors) { calColors_.Assign(colors); }
    String GetText() const override;

    // Fields: the editable parts of the text, in order.
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    int FocusedField() const { return focusedField_; }
    void SetFocusedField(int index);
    TRect FieldRect(int index);
    // The right 16 px: the drop-down button, or where the up-down child sits.
    TRect ButtonRect();
    bool ShowsUpDown() const { return kind_ == dtkTime || dateMode_ == dmUpDown; }
    // The part under the mouse (changed only by mouse moves) and the part
    // held down (the drop-down button while the calendar is open).
    TDTButtonPart HotPart() const;
    TDTButtonPart PressedPart() const;
    // The arrows of a time or up-down picker: a child window of the up-down
    // class stepping the focused field. Null for a drop-down picker.
    TUpDown* UpDown() const { return upDown_; }

    bool DroppedDown() const { return dropped_; }
    void DropDown();
    // Closes the calendar; with `accept` its date becomes the value.
    void CloseUp(bool accept);
    TMonthCalendar* Calendar() const { return calendar_; }

    TControl* UiDropDown() override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void DoExit() override;
    void CreateHandleDone() override;
    void WMGetDlgCode(TMessage& m);
    void WMSizePicker(TMessage& m);
    void CMMouseLeavePicker(TMessage& m);
    void CMEnabledChangedPicker(TMessage& m);

private:
    struct Field {
        char unit;       // 'y' 'm' 'd' 'h' 'n' 's', or 0 for a literal
        String pattern;  // as written in the format
        int digits = 2;  // what typing fills
    };
    void ParseFormat();
    String FieldText(int index) const;
    // Steps the focused field by `delta`, wrapping within its range.
    void StepField(int delta);
    void SetFieldValue(char unit, int value);
    void UserChange(TDateTime value);
    int NextEditable(int from, int dir) const;
    // Makes, places or drops the up-down child to suit the kind and mode.
    void SyncUpDown();
    void ClampToRange();

    TDateTime value_ = 0;
    TDateRange range_;
    TUpDown* upDown_ = nullptr;
    TDateTimeKind kind_ = dtkDate;
    TDTDateMode dateMode_ = dmComboBox;
    String format_;
    TMonthCalColors calColors_;
    std::vector<Field> fields_;
    int focusedField_ = -1;
    String typed_;  // digits typed into the focused field so far
    bool dropped_ = false;
    TMonthCalendar* calendar_ = nullptr;
    TDTButtonPart PartAt(TPoint p);
    bool buttonHot_ = false;
};

}  // namespace tarvel
