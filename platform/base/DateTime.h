#pragma once
// The class library's date type: days since 1899-12-30 as a double, the
// fraction being the time of day. Local time throughout.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvel {

using TDateTime = double;

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

TDateTime Now();
TDateTime Date();  // today at 00:00
bool IsValidDate(int year, int month, int day);
// Raise EConvertError on an impossible date or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
TDateTime EncodeDateTime(const DateParts& parts);
bool TryEncodeDateTime(const DateParts& parts, TDateTime& value);
DateParts DecodeDateTime(TDateTime value);
int DayOfWeek(TDateTime value);  // 1 = Sunday .. 7 = Saturday
TDateTime IncSecond(TDateTime value, int64_t seconds);
int64_t SecondsBetween(TDateTime a, TDateTime b);

// Patterns as the class library reads them, case-insensitive: yyyy yy m mm
// mmm mmmm d dd ddd dddd h hh n nn s ss z zzz, "/" (date separator "-"),
// ":" and quoted literals. An m right after an h (separators between allowed)
// means minutes, so "YYYY-MM-DD HH-MM-SS" is a date with minutes.
std::string FormatDateTime(std::string_view pattern, TDateTime value);
std::string DateToStr(TDateTime value);      // "yyyy-mm-dd"
std::string TimeToStr(TDateTime value);      // "hh:nn:ss"
std::string DateTimeToStr(TDateTime value);  // "yyyy-mm-dd hh:nn:ss"

}  // namespace tarvel
