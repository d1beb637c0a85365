// TMonthCalendar and TDateTimePicker.

#include "platform/classlib/ComCtrls_DateTime.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ControlPaint.h"

namespace tarvel {

namespace {

constexpr int kButtonWidth = 16;
const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

int DaysInMonth(int year, int month) {
    int d = 31;
    while (d > 28 && !IsValidDate(year, month, d)) --d;
    return d;
}

TDateTime DatePart(TDateTime v) { return std::floor(v); }

// Moves by whole months, keeping the day where the month has it.
TDateTime AddMonths(TDateTime value, int months) {
    DateParts p = DecodeDateTime(value);
    int index = p.year * 12 + (p.month - 1) + months;
    p.year = index / 12;
    p.month = index % 12 + 1;
    if (p.year < 1 || p.year > 9999) return value;
    p.day = std::min(p.day, DaysInMonth(p.year, p.month));
    return EncodeDateTime(p);
}

}  // namespace

// ---- TDateRange -------------------------------------------------------------------------------

bool TDateRange::Contains(TDateTime date) const {
    const TDateTime d = DatePart(date);
    return (MinDate == 0 || d >= DatePart(MinDate)) && (MaxDate == 0 || d <= DatePart(MaxDate));
}

TDateTime TDateRange::Clamp(TDateTime value) const {
    const TDateTime time = value - DatePart(value);
    if (MinDate != 0 && DatePart(value) < DatePart(MinDate)) return DatePart(MinDate) + time;
    if (MaxDate != 0 && DatePart(value) > DatePart(MaxDate)) return DatePart(MaxDate) + time;
    return value;
}

void TDateRange::Check(TDateTime value) const {
    if (MinDate != 0 && DatePart(value) < DatePart(MinDate))
        throw EDateTimeError("Date is less than minimum of " + DateToStr(MinDate));
    if (MaxDate != 0 && DatePart(value) > DatePart(MaxDate))
        throw EDateTimeError("Date exceeds maximum of " + DateToStr(MaxDate));
}

void TDateRange::SetMin(TDateTime date) {
    if (date != 0 && MaxDate != 0 && DatePart(date) > DatePart(MaxDate))
        throw EDateTimeError("Minimum date " + DateToStr(date) + " is after the maximum date " +
                             DateToStr(MaxDate));
    MinDate = date == 0 ? 0 : DatePart(date);
}

void TDateRange::SetMax(TDateTime date) {
    if (date != 0 && MinDate != 0 && DatePart(date) < DatePart(MinDate))
        throw EDateTimeError("Maximum date " + DateToStr(date) + " is before the minimum date " +
                             DateToStr(MinDate));
    MaxDate = date == 0 ? 0 : DatePart(date);
}

void TMonthCalColors::Assign(TPersistent* source) {
    if (auto* s = dynamic_cast<TMonthCalColors*>(source)) {
        BackColor = s->BackColor;
        TextColor = s->TextColor;
        TitleBackColor = s->TitleBackColor;
        TitleTextColor = s->TitleTextColor;
        MonthBackColor = s->MonthBackColor;
        TrailingTextColor = s->TrailingTextColor;
        return;
    }
    TPersistent::Assign(source);
}

// ---- TMonthCalendar --------------------------------------------------------------------------

void TMonthCalendar::DeclareMessages(TMessageTable& t) {
    t.Add<&TMonthCalendar::WMGetDlgCode>(WM_GETDLGCODE);
}

TMonthCalendar::TMonthCalendar(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csClickEvents, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 191, 154);
    SetTabStop(true);
    SetDate(Today());
}

TMonthCalendar::~TMonthCalendar() = default;

TDateTime TMonthCalendar::Today() const {
    return DatePart(TodayProvider ? TodayProvider() : ::tarvel::Date());
}

void TMonthCalendar::SetDate(TDateTime date) {
    range_.Check(date);
    date_ = DatePart(date);
    const DateParts p = DecodeDateTime(date_);
    year_ = p.year;
    month_ = p.month;
    Invalidate();
}

void TMonthCalendar::SetMinDate(TDateTime date) {
    TDateRange range = range_;
    range.SetMin(date);
    SetRange(range);
}

void TMonthCalendar::SetMaxDate(TDateTime date) {
    TDateRange range = range_;
    range.SetMax(date);
    SetRange(range);
}

void TMonthCalendar::SetRange(const TDateRange& range) {
    range_ = range;
    if (!range_.Contains(date_)) SetDate(range_.Clamp(date_));
    if (!MonthAllowed(year_, month_)) SetDate(date_);
    Invalidate();
}

bool TMonthCalendar::MonthAllowed(int year, int month) const {
    if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
    const TDateTime first = EncodeDate(year, month, 1),
                    last = EncodeDate(year, month, DaysInMonth(year, month));
    return (range_.MinDate == 0 || last >= range_.MinDate) &&
           (range_.MaxDate == 0 || first <= range_.MaxDate);
}

void TMonthCalendar::StepMonth(int step) {
    const int index = year_ * 12 + month_ - 1 + step;
    ShowMonth(index / 12, index % 12 + 1);
}

void TMonthCalendar::ShowMonth(int year, int month) {
    if (!MonthAllowed(year, month)) return;
    year_ = year;
    month_ = month;
    Invalidate();
}

void TMonthCalendar::SetCalColors(TMonthCalColors* colors) {
    colors_.Assign(colors);
    Invalidate();
}

void TMonthCalendar::SetShowToday(bool v) {
    showToday_ = v;
    Invalidate();
}

int TMonthCalendar::LineHeight() { return MeasureText(Font(), "Wg", 0, false).cy + 2; }
int TMonthCalendar::HeaderHeight() { return LineHeight() + 6; }

TRect TMonthCalendar::TitleRect() { return TRect{0, 0, ClientWidth(), HeaderHeight()}; }
TRect TMonthCalendar::PrevButtonRect() {
    const TRect t = TitleRect();
    return TRect{t.left + 2, t.top + 2, t.left + 2 + t.Height() - 4, t.bottom - 2};
}
TRect TMonthCalendar::NextButtonRect() {
    const TRect t = TitleRect();
    return TRect{t.right - 2 - (t.Height() - 4), t.top + 2, t.right - 2, t.bottom - 2};
}
TRect TMonthCalendar::TodayRect() {
    if (!showToday_) return TRect{};
    return TRect{0, ClientHeight() - LineHeight() - 2, ClientWidth(), ClientHeight()};
}

TRect TMonthCalendar::CellRect(int row, int col) {
    const int top = HeaderHeight() + LineHeight() + 2;
    const int bottom = showToday_ ? TodayRect().top : ClientHeight();
    const int w = ClientWidth();
    const int h = std::max(1, (bottom - top) / 6);
    const int left = col * w / 7, right = (col + 1) * w / 7;
    return TRect{left, top + row * h, right, top + (row + 1) * h};
}

TDateTime TMonthCalendar::FirstCellDate() const {
    const TDateTime first = EncodeDate(year_, month_, 1);
    return first - (DayOfWeek(first) - 1);  // back to the Sunday on or before the 1st
}

TDateTime TMonthCalendar::CellDate(int row, int col) const { return FirstCellDate() + row * 7 + col; }

TRect TMonthCalendar::DayRect(int day) {
    if (day < 1 || day > DaysInMonth(year_, month_)) return TRect{};
    const int offset = static_cast<int>(EncodeDate(year_, month_, day) - FirstCellDate());
    return CellRect(offset / 7, offset % 7);
}

int TMonthCalendar::UiItemCount() { return DaysInMonth(year_, month_); }

int TMonthCalendar::UiItemIndex() {
    const DateParts p = DecodeDateTime(date_);
    return (p.year == year_ && p.month == month_) ? p.day - 1 : -1;
}

void TMonthCalendar::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect c = ClientRect();
    FillColor(dc, c, colors_.BackColor);
    const TRect title = TitleRect();
    FillColor(dc, title, colors_.TitleBackColor);
    DrawCaption(dc, Font(), String(kMonthNames[month_ - 1]) + " " + IntToStr(year_), title,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, colors_.TitleTextColor);
    // Arrow triangles in the title's text colour.
    auto arrow = [&](TRect r, bool left) {
        const int cy = r.top + r.Height() / 2, cx = r.left + r.Width() / 2;
        for (int i = 0; i < 4; ++i) {
            const int x = left ? cx - 2 + i : cx + 1 - i;
            DrawLine(dc, x, cy - i, x, cy + i + 1, colors_.TitleTextColor);
        }
    };
    const int shown = year_ * 12 + month_ - 1;
    if (MonthAllowed((shown - 1) / 12, (shown - 1) % 12 + 1)) arrow(PrevButtonRect(), true);
    if (MonthAllowed((shown + 1) / 12, (shown + 1) % 12 + 1)) arrow(NextButtonRect(), false);
    const int lineTop = HeaderHeight();
    for (int col = 0; col < 7; ++col) {
        TRect cell = CellRect(0, col);
        DrawCaption(dc, Font(), kDayNames[col], TRect{cell.left, lineTop, cell.right, lineTop + LineHeight()},
                    DT_CENTER | DT_SINGLELINE | DT_NOPREFIX, colors_.TitleBackColor);
    }
    DrawLine(dc, 4, lineTop + LineHeight(), c.right - 4, lineTop + LineHeight(), clGrayText);
    const TRect grid{0, CellRect(0, 0).top, c.right, CellRect(5, 0).bottom};
    FillColor(dc, grid, colors_.MonthBackColor);
    const TDateTime today = Today();
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 7; ++col) {
            const TDateTime d = CellDate(row, col);
            const DateParts p = DecodeDateTime(d);
            const TRect cell = CellRect(row, col);
            const bool inMonth = p.month == month_;
            TColor text = inMonth && range_.Contains(d) ? colors_.TextColor : colors_.TrailingTextColor;
            if (d == date_ && inMonth) {
                FillColor(dc, InflatedRect(cell, -1, 0), colors_.TitleBackColor);
                text = colors_.TitleTextColor;
            }
            if (d == today) FrameColor(dc, InflatedRect(cell, -1, 0), clRed);
            DrawCaption(dc, Font(), IntToStr(p.day), cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE, text);
        }
    }
    if (showToday_) {
        DrawCaption(dc, Font(), "Today: " + DateToStr(today), TodayRect(),
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, colors_.TextColor);
    }
    if (Focused()) DrawFocusRect(dc, c);
}

void TMonthCalendar::UserSetDate(TDateTime date, bool pick) {
    date = DatePart(range_.Clamp(date));
    const bool changed = date != date_;
    SetDate(date);
    if (changed && OnChange) OnChange(this);
    if (pick && OnClick) OnClick(this);
}

void TMonthCalendar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    const TPoint p{x, y};
    if (PrevButtonRect().Contains(p) || NextButtonRect().Contains(p)) {
        StepMonth(PrevButtonRect().Contains(p) ? -1 : 1);
        return;
    }
    // Days outside the range take no click.
    if (TodayRect().Contains(p)) {
        if (DateAllowed(Today())) UserSetDate(Today(), true);
        return;
    }
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 7; ++col)
            if (CellRect(row, col).Contains(p)) {
                if (DateAllowed(CellDate(row, col))) UserSetDate(CellDate(row, col), true);
                return;
            }
}

void TMonthCalendar::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    struct Move {
        WORD key;
        int days, months;
    };
    static const Move kMoves[] = {{VK_LEFT, -1, 0}, {VK_RIGHT, 1, 0},  {VK_UP, -7, 0},
                                  {VK_DOWN, 7, 0},  {VK_PRIOR, 0, -1}, {VK_NEXT, 0, 1}};
    for (const Move& m : kMoves) {
        if (key != m.key) continue;
        UserSetDate(m.months ? AddMonths(date_, m.months) : date_ + m.days, false);
        key = 0;
        return;
    }
    if (key == VK_RETURN) {
        if (OnClick) OnClick(this);
        key = 0;
    } else if (key == VK_ESCAPE) {
        if (OnCancel) OnCancel(this);
        key = 0;
    }
}

void TMonthCalendar::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }

// ---- the picker's drop-down ------------------------------------------------------------------

namespace {

// The calendar in a popup window below the picker. It holds the mouse
// while it is open, so a click anywhere else closes it.
class TDropCalendar : public TMonthCalendar {
public:
    TDropCalendar(TDateTimePicker* picker) : TMonthCalendar(picker), picker_(picker) {
        SetVisible(false);
        SetTabStop(false);
    }

    void WndProc(TMessage& m) override {
        if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN) {
            if (!ClientRect().Contains(PointFromLParam(m.LParam))) {
                picker_->CloseUp(false);
                return;
            }
        }
        TMonthCalendar::WndProc(m);
        if (Visible() && HandleAllocated() && picker_->DroppedDown() && GetCapture() != Handle())
            SetCapture(Handle());
    }

    HWND ParentWindow() const override {
        TCustomForm* form = GetParentForm(picker_);
        return form ? form->Handle() : nullptr;
    }

protected:
    void CreateParams(TCreateParams& params) override {
        TMonthCalendar::CreateParams(params);
        params.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
        params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
        params.WndParent = ParentWindow();
    }

private:
    TDateTimePicker* picker_;
};

}  // namespace

// ---- TDateTimePicker --------------------------------------------------------------------------

void TDateTimePicker::DeclareMessages(TMessageTable& t) {
    t.Add<&TDateTimePicker::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TDateTimePicker::CMMouseLeavePicker>(CM_MOUSELEAVE);
    t.Add<&TDateTimePicker::CMEnabledChangedPicker>(CM_ENABLEDCHANGED);
    t.Add<&TDateTimePicker::WMSizePicker>(WM_SIZE);
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 186, 21);
    SetTabStop(true);
    SetColor(clWindow);
    value_ = Now();
    ParseFormat();
}

TDateTimePicker::~TDateTimePicker() {
    if (calendar_) {
        if (calendar_->HandleAllocated() && GetCapture() == calendar_->Handle()) ReleaseCapture();
        calendar_->OnClick = nullptr;
        calendar_->OnCancel = nullptr;
    }
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

TDateTime TDateTimePicker::Date() const { return DatePart(value_); }
TDateTime TDateTimePicker::Time() const { return value_ - DatePart(value_); }

void TDateTimePicker::SetDateTime(TDateTime value) {
    range_.Check(value);
    value_ = value;
    Invalidate();
}

void TDateTimePicker::SetMinDate(TDateTime date) {
    range_.SetMin(date);
    ClampToRange();
}

void TDateTimePicker::SetMaxDate(TDateTime date) {
    range_.SetMax(date);
    ClampToRange();
}

void TDateTimePicker::ClampToRange() {
    value_ = range_.Clamp(value_);
    Invalidate();
}

void TDateTimePicker::SetDate(TDateTime date) { SetDateTime(DatePart(date) + Time()); }
void TDateTimePicker::SetTime(TDateTime time) { SetDateTime(Date() + (time - DatePart(time))); }

void TDateTimePicker::SetKind(TDateTimeKind kind) {
    kind_ = kind;
    ParseFormat();
    SyncUpDown();
}

void TDateTimePicker::SetDateMode(TDTDateMode mode) {
    dateMode_ = mode;
    SyncUpDown();
    Invalidate();
}

void TDateTimePicker::SyncUpDown() {
    if (!ShowsUpDown()) {
        delete upDown_;
        upDown_ = nullptr;
        return;
    }
    if (!upDown_) {
        if (dropped_) CloseUp(false);
        upDown_ = new TUpDown(this);
        // Its own position only has to keep moving; the field is what steps.
        upDown_->SetMin(0);
        upDown_->SetMax(2);
        upDown_->SetPosition(1);
        upDown_->SetWrap(true);
        upDown_->SetEnabled(Enabled());
        upDown_->OnClick = [this](TObject*, TUDBtnType button) { StepField(button == btNext ? 1 : -1); };
        upDown_->SetParent(this);
    }
    const TRect b = ButtonRect();
    upDown_->SetBounds(b.left, b.top, b.Width(), b.Height());
}

// The arrows follow the client area, which the window knows only once it
// has its frame.
void TDateTimePicker::WMSizePicker(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (upDown_) SyncUpDown();
}

void TDateTimePicker::CreateHandleDone() {
    TCustomControl::CreateHandleDone();
    if (upDown_) SyncUpDown();
}

void TDateTimePicker::CMEnabledChangedPicker(TMessage& m) {
    if (upDown_) upDown_->SetEnabled(Enabled());
    DispatchFrom(inherited::StaticClass(), m);
}

void TDateTimePicker::SetFormat(const String& format) {
    format_ = format;
    ParseFormat();
}

String TDateTimePicker::EffectiveFormat() const {
    if (!format_.empty()) return format_;
    return kind_ == dtkDate ? "yyyy-mm-dd" : "hh:nn:ss";
}

String TDateTimePicker::GetText() const { return FormatDateTime(EffectiveFormat(), value_); }

void TDateTimePicker::ParseFormat() {
    fields_.clear();
    const String f = EffectiveFormat();
    bool afterHour = false;
    for (size_t i = 0; i < f.size();) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(f[i])));
        if (c == '\'' || c == '"') {
            // A quoted literal runs to its closing quote.
            size_t end = f.find(f[i], i + 1);
            if (end == String::npos) end = f.size();
            fields_.push_back(Field{0, f.substr(i, end + 1 - i), 0});
            i = end + 1;
            continue;
        }
        if (std::string_view("ymdhns").find(c) != std::string_view::npos) {
            size_t j = i;
            while (j < f.size() && std::tolower(static_cast<unsigned char>(f[j])) == c) ++j;
            char unit = c;
            if (unit == 'm' && afterHour) unit = 'n';
            if (unit == 'h')
                afterHour = true;
            else if (unit != 'n' && unit != 's' && unit != 'm')
                afterHour = false;
            fields_.push_back(Field{unit, f.substr(i, j - i), unit == 'y' && j - i > 2 ? 4 : 2});
            i = j;
            continue;
        }
        if (!fields_.empty() && fields_.back().unit == 0 && fields_.back().pattern[0] != '\'' &&
            fields_.back().pattern[0] != '"')
            fields_.back().pattern += f[i];
        else
            fields_.push_back(Field{0, String(1, f[i]), 0});
        ++i;
    }
    focusedField_ = NextEditable(-1, 1);
    typed_.clear();
    Invalidate();
}

String TDateTimePicker::FieldText(int index) const {
    const Field& f = fields_.at(static_cast<size_t>(index));
    if (f.unit == 0) {
        if (f.pattern[0] == '\'' || f.pattern[0] == '"')
            return f.pattern.substr(1, f.pattern.size() >= 2 ? f.pattern.size() - 2 : 0);
        return FormatDateTime(f.pattern, value_);
    }
    // An m read as minutes must be formatted as minutes on its own.
    return FormatDateTime(f.unit == 'n' ? String(f.pattern.size(), 'n') : f.pattern, value_);
}

int TDateTimePicker::NextEditable(int from, int dir) const {
    for (int i = from + dir; i >= 0 && i < FieldCount(); i += dir)
        if (fields_[static_cast<size_t>(i)].unit) return i;
    return -1;
}

void TDateTimePicker::SetFocusedField(int index) {
    if (index < 0 || index >= FieldCount() || !fields_[static_cast<size_t>(index)].unit) return;
    focusedField_ = index;
    typed_.clear();
    Invalidate();
}

TRect TDateTimePicker::ButtonRect() {
    const TRect c = ClientRect();
    return TRect{c.right - kButtonWidth, c.top, c.right, c.bottom};
}

TRect TDateTimePicker::FieldRect(int index) {
    int x = 2;
    const int h = ClientHeight();
    for (int i = 0; i < FieldCount(); ++i) {
        const int w = MeasureText(Font(), FieldText(i), 0, false).cx;
        if (i == index) return TRect{x, 1, x + w, h - 1};
        x += w;
    }
    return TRect{};
}

void TDateTimePicker::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect c = ClientRect();
    FillColor(dc, c, Enabled() ? Color() : clBtnFace);
    for (int i = 0; i < FieldCount(); ++i) {
        const TRect r = FieldRect(i);
        const bool focused = i == focusedField_ && Focused() && !dropped_;
        if (focused) FillColor(dc, r, clHighlight);
        DrawCaption(dc, Font(), FieldText(i), r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
                    !Enabled() ? clGrayText
                    : focused  ? clHighlightText
                               : Font()->Color());
    }
    // The up-down child paints its own arrows.
    if (!ShowsUpDown()) DrawArrowButton(dc, ButtonRect(), DFCS_SCROLLDOWN, dropped_, Enabled());
}

void TDateTimePicker::SetFieldValue(char unit, int value) {
    DateParts p = DecodeDateTime(value_);
    switch (unit) {
        case 'y': p.year = std::clamp(value, 1, 9999); break;
        case 'm': p.month = value; break;
        case 'd': p.day = value; break;
        case 'h': p.hour = value; break;
        case 'n': p.minute = value; break;
        case 's': p.second = value; break;
    }
    // A day past the month's end becomes its last day.
    p.day = std::clamp(p.day, 1, DaysInMonth(p.year, p.month));
    TDateTime v;
    if (TryEncodeDateTime(p, v)) UserChange(v);
}

void TDateTimePicker::StepField(int delta) {
    if (focusedField_ < 0) return;
    const char unit = fields_[static_cast<size_t>(focusedField_)].unit;
    const DateParts p = DecodeDateTime(value_);
    struct Range {
        char unit;
        int lo, hi;
    };
    const Range ranges[] = {{'y', 1, 9999}, {'m', 1, 12}, {'d', 1, DaysInMonth(p.year, p.month)},
                            {'h', 0, 23},   {'n', 0, 59}, {'s', 0, 59}};
    const int current[] = {p.year, p.month, p.day, p.hour, p.minute, p.second};
    for (size_t i = 0; i < std::size(ranges); ++i) {
        if (ranges[i].unit != unit) continue;
        const int span = ranges[i].hi - ranges[i].lo + 1;
        const int v = ranges[i].lo + ((current[i] - ranges[i].lo + delta) % span + span) % span;
        SetFieldValue(unit, v);
        return;
    }
}

void TDateTimePicker::UserChange(TDateTime value) {
    value = range_.Clamp(value);
    if (value == value_) return;
    value_ = value;
    Invalidate();
    NotifyParent(this, DTN_DATETIMECHANGE);
    if (OnChange) OnChange(this);
}

void TDateTimePicker::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    const TPoint p{x, y};
    const TRect b = ButtonRect();
    if (b.Contains(p) && !ShowsUpDown()) {
        if (dropped_)
            CloseUp(false);
        else
            DropDown();
        return;
    }
    for (int i = 0; i < FieldCount(); ++i)
        if (fields_[static_cast<size_t>(i)].unit && FieldRect(i).Contains(p)) SetFocusedField(i);
}

TDTButtonPart TDateTimePicker::PartAt(TPoint p) {
    return !ShowsUpDown() && ButtonRect().Contains(p) ? dbpDropDown : dbpNone;
}

namespace {
TDTButtonPart UpDownPart(int button) {
    return button == btNext ? dbpUp : button == btPrev ? dbpDown : dbpNone;
}
}  // namespace

TDTButtonPart TDateTimePicker::HotPart() const {
    if (upDown_) return UpDownPart(upDown_->HotButton());
    return buttonHot_ ? dbpDropDown : dbpNone;
}

TDTButtonPart TDateTimePicker::PressedPart() const {
    if (dropped_) return dbpDropDown;
    return upDown_ ? UpDownPart(upDown_->PressedButton()) : dbpNone;
}

void TDateTimePicker::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    const bool now = PartAt(TPoint{x, y}) == dbpDropDown;
    if (now == buttonHot_) return;
    buttonHot_ = now;
    Invalidate();
}

void TDateTimePicker::CMMouseLeavePicker(TMessage& m) {
    buttonHot_ = false;
    Invalidate();
    DispatchFrom(inherited::StaticClass(), m);
}

void TDateTimePicker::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (dropped_) {
        // The open calendar takes the keys; the focus stays here.
        if (key == VK_ESCAPE)
            CloseUp(false);
        else if (key == VK_RETURN)
            CloseUp(true);
        else
            calendar_->Perform(WM_KEYDOWN, key, 0);
        key = 0;
        return;
    }
    const bool alt = shift.Contains(ssAlt);
    if ((key == VK_DOWN && alt) || key == VK_F4) {
        if (!ShowsUpDown()) DropDown();
        key = 0;
        return;
    }
    switch (key) {
        case VK_LEFT:
        case VK_RIGHT: {
            const int next = NextEditable(focusedField_, key == VK_LEFT ? -1 : 1);
            if (next >= 0) SetFocusedField(next);
            key = 0;
            break;
        }
        case VK_UP:
            StepField(1);
            key = 0;
            break;
        case VK_DOWN:
            StepField(-1);
            key = 0;
            break;
        case VK_HOME:
            SetFocusedField(NextEditable(-1, 1));
            key = 0;
            break;
        case VK_END:
            SetFocusedField(NextEditable(FieldCount(), -1));
            key = 0;
            break;
        default: break;
    }
}

void TDateTimePicker::KeyPress(char16_t& key) {
    TCustomControl::KeyPress(key);
    if (key < u'0' || key > u'9' || focusedField_ < 0 || dropped_) return;
    const Field& f = fields_[static_cast<size_t>(focusedField_)];
    typed_ += static_cast<char>(key);
    key = 0;
    int value = StrToInt(typed_);
    // A year typed with two digits lands in this century.
    if (f.unit == 'y' && typed_.size() == 2 && f.digits == 2)
        value += DecodeDateTime(value_).year / 100 * 100;
    const bool zeroAllowed = f.unit == 'h' || f.unit == 'n' || f.unit == 's';
    if (value > 0 || zeroAllowed) {
        const DateParts p = DecodeDateTime(value_);
        const int maxOf[] = {9999, 12, DaysInMonth(p.year, p.month), 23, 59, 59};
        const int hi = maxOf[std::string_view("ymdhns").find(f.unit)];
        if (value <= hi && (f.unit != 'y' || typed_.size() == static_cast<size_t>(f.digits)))
            SetFieldValue(f.unit, value);
    }
    if (static_cast<int>(typed_.size()) >= f.digits) {
        const int next = NextEditable(focusedField_, 1);
        if (next >= 0)
            SetFocusedField(next);
        else
            typed_.clear();
    }
}

void TDateTimePicker::DoExit() {
    if (dropped_) CloseUp(false);
    typed_.clear();
    Invalidate();
    TCustomControl::DoExit();
}

void TDateTimePicker::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TDateTimePicker::DropDown() {
    if (dropped_ || ShowsUpDown()) return;
    NotifyParent(this, DTN_DROPDOWN);
    if (OnDropDown) OnDropDown(this);
    if (!calendar_) {
        calendar_ = new TDropCalendar(this);
        calendar_->OnClick = [this](TObject*) { CloseUp(true); };
        calendar_->OnCancel = [this](TObject*) { CloseUp(false); };
    }
    calendar_->SetCalColors(&calColors_);
    calendar_->Font()->Assign(Font());
    calendar_->SetRange(range_);  // the value always lies within it
    calendar_->SetDate(value_);
    const TPoint below = ClientToScreen(TPoint{0, Height()});
    calendar_->SetBounds(below.x - 2, below.y - 2, 191, 154);
    dropped_ = true;
    calendar_->HandleNeeded();
    calendar_->SetVisible(true);
    SetCapture(calendar_->Handle());
    Invalidate();
}

void TDateTimePicker::CloseUp(bool accept) {
    if (!dropped_) return;
    dropped_ = false;
    if (GetCapture() == calendar_->Handle()) ReleaseCapture();
    calendar_->SetVisible(false);
    Invalidate();
    if (accept) UserChange(calendar_->Date() + Time());
    NotifyParent(this, DTN_CLOSEUP);
    if (OnCloseUp) OnCloseUp(this);
}

TControl* TDateTimePicker::UiDropDown() {
    DropDown();
    return calendar_;
}

}  // namespace tarvel
