#include "platform/base/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/base/Exceptions.h"
#include "platform/base/Strings.h"

namespace tarvel {

namespace {

constexpr double kMsPerDay = 86400000.0;
// Days from 0001-01-01 (day 1) to 1899-12-30, the class library's day zero.
constexpr int64_t kDelta = 693594;

const char* const kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 0001-01-01 counted from 1.
int64_t DayNumber(int year, int month, int day) {
    int64_t days = day;
    for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
    const int64_t y = year - 1;
    return days + y * 365 + y / 4 - y / 100 + y / 400;
}

void SplitDayNumber(int64_t n, int& year, int& month, int& day) {
    // n counts from 1 at 0001-01-01.
    int64_t d = n - 1;
    const int64_t c400 = d / 146097;
    d %= 146097;
    int64_t c100 = d / 36524;
    if (c100 == 4) c100 = 3;
    d -= c100 * 36524;
    const int64_t c4 = d / 1461;
    d %= 1461;
    int64_t c1 = d / 365;
    if (c1 == 4) c1 = 3;
    d -= c1 * 365;
    year = static_cast<int>(c400 * 400 + c100 * 100 + c4 * 4 + c1 + 1);
    month = 1;
    while (d >= DaysInMonth(year, month)) {
        d -= DaysInMonth(year, month);
        ++month;
    }
    day = static_cast<int>(d + 1);
}

// Whole milliseconds since day zero; times before it count back from the
// date part as the class library does (the fraction is always the time).
int64_t ToMilliseconds(TDateTime value) {
    const double whole = std::trunc(value);
    const double frac = std::fabs(value - whole);
    int64_t ms = static_cast<int64_t>(std::llround(frac * kMsPerDay));
    return static_cast<int64_t>(whole) * 86400000 + (value < 0 ? -ms : ms);
}

TDateTime FromMilliseconds(int64_t ms) {
    int64_t days = ms / 86400000;
    int64_t rest = ms % 86400000;
    if (rest < 0) {
        // Before day zero the date part is negative and the time stays positive.
        return static_cast<double>(days) - static_cast<double>(-rest) / kMsPerDay;
    }
    return static_cast<double>(days) + static_cast<double>(rest) / kMsPerDay;
}

void AppendNumber(std::string& out, int value, int width) {
    std::string digits = std::to_string(value);
    while (static_cast<int>(digits.size()) < width) digits.insert(digits.begin(), '0');
    out += digits;
}

size_t CountRun(std::string_view s, size_t i) {
    const char c = static_cast<char>(UpperCase(std::string_view(&s[i], 1))[0]);
    size_t n = 0;
    while (i + n < s.size() && UpperCase(std::string_view(&s[i + n], 1))[0] == c) ++n;
    return n;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

TDateTime EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) throw EConvertError("Invalid argument to date encode");
    return static_cast<double>(DayNumber(year, month, day) - kDelta);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        throw EConvertError("Invalid argument to time encode");
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / kMsPerDay;
}

bool TryEncodeDateTime(const DateParts& p, TDateTime& value) {
    if (!IsValidDate(p.year, p.month, p.day) || p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 ||
        p.second < 0 || p.second > 59 || p.millisecond < 0 || p.millisecond > 999)
        return false;
    const int64_t days = DayNumber(p.year, p.month, p.day) - kDelta;
    const int64_t ms = ((p.hour * 60 + p.minute) * 60 + p.second) * 1000 + p.millisecond;
    const double fraction = static_cast<double>(ms) / kMsPerDay;
    value = days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
    return true;
}

TDateTime EncodeDateTime(const DateParts& parts) {
    TDateTime v = 0;
    if (!TryEncodeDateTime(parts, v)) throw EConvertError("Invalid argument to date encode");
    return v;
}

DateParts DecodeDateTime(TDateTime value) {
    DateParts p;
    if (!std::isfinite(value) || value < -693593.0 || value > 2958466.0) return p;
    int64_t ms = ToMilliseconds(value);
    int64_t days = ms / 86400000;
    int64_t rest = ms % 86400000;
    if (rest < 0) rest = -rest;
    // Rounding the time may carry into the next day.
    if (rest >= 86400000) {
        rest -= 86400000;
        days += value < 0 ? -1 : 1;
    }
    SplitDayNumber(days + kDelta, p.year, p.month, p.day);
    p.hour = static_cast<int>(rest / 3600000);
    p.minute = static_cast<int>(rest / 60000 % 60);
    p.second = static_cast<int>(rest / 1000 % 60);
    p.millisecond = static_cast<int>(rest % 1000);
    return p;
}

TDateTime Now() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    DateParts p;
    p.year = local.tm_year + 1900;
    p.month = local.tm_mon + 1;
    p.day = local.tm_mday;
    p.hour = local.tm_hour;
    p.minute = local.tm_min;
    p.second = std::min(local.tm_sec, 59);
    p.millisecond = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return EncodeDateTime(p);
}

TDateTime Date() { return std::floor(Now()); }

int DayOfWeek(TDateTime value) {
    const DateParts p = DecodeDateTime(value);
    // 0001-01-01 was a Monday.
    const int64_t n = DayNumber(p.year, p.month, p.day);
    return static_cast<int>(n % 7) + 1;
}

TDateTime IncSecond(TDateTime value, int64_t seconds) {
    return FromMilliseconds(ToMilliseconds(value) + seconds * 1000);
}

int64_t SecondsBetween(TDateTime a, TDateTime b) {
    const int64_t d = ToMilliseconds(a) - ToMilliseconds(b);
    return (d < 0 ? -d : d) / 1000;
}

std::string FormatDateTime(std::string_view pattern, TDateTime value) {
    const DateParts p = DecodeDateTime(value);
    std::string out;
    char lastToken = 0;
    size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '"' || c == '\'') {
            const size_t end = pattern.find(c, i + 1);
            const size_t stop = end == std::string_view::npos ? pattern.size() : end;
            out.append(pattern.substr(i + 1, stop - i - 1));
            i = stop == pattern.size() ? stop : stop + 1;
            continue;
        }
        char token = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        if (token >= 'A' && token <= 'Z') {
            if (token == 'M' && lastToken == 'H') token = 'N';
            lastToken = token;
        }
        switch (token) {
            case 'Y': {
                const size_t n = CountRun(pattern, i);
                if (n <= 2)
                    AppendNumber(out, p.year % 100, 2);
                else
                    AppendNumber(out, p.year, 4);
                i += n;
                break;
            }
            case 'M': {
                const size_t n = CountRun(pattern, i);
                if (n >= 4)
                    out += kLongMonths[p.month - 1];
                else if (n == 3)
                    out += kShortMonths[p.month - 1];
                else
                    AppendNumber(out, p.month, static_cast<int>(n));
                i += std::min<size_t>(n, 4);
                break;
            }
            case 'D': {
                const size_t n = CountRun(pattern, i);
                const int wd = DayOfWeek(value) - 1;
                if (n >= 4)
                    out += kLongDays[wd];
                else if (n == 3)
                    out += kShortDays[wd];
                else
                    AppendNumber(out, p.day, static_cast<int>(n));
                i += std::min<size_t>(n, 4);
                break;
            }
            case 'H':
            case 'N':
            case 'S': {
                const size_t n = std::min<size_t>(CountRun(pattern, i), 2);
                const int v = token == 'H' ? p.hour : token == 'N' ? p.minute : p.second;
                AppendNumber(out, v, static_cast<int>(n));
                i += n;
                break;
            }
            case 'Z': {
                const size_t n = CountRun(pattern, i);
                AppendNumber(out, p.millisecond, n >= 3 ? 3 : 1);
                i += n >= 3 ? 3 : 1;
                break;
            }
            case '/':
                out += '-';
                ++i;
                break;
            default:
                out += c;
                ++i;
                break;
        }
    }
    return out;
}

std::string DateToStr(TDateTime value) { return FormatDateTime("yyyy-mm-dd", value); }
std::string TimeToStr(TDateTime value) { return FormatDateTime("hh:nn:ss", value); }
std::string DateTimeToStr(TDateTime value) { return FormatDateTime("yyyy-mm-dd hh:nn:ss", value); }

}  // namespace tarvel
