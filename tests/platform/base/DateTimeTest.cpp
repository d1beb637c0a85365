#include "platform/base/DateTime.h"

#include <gtest/gtest.h>

#include "platform/base/Exceptions.h"

using namespace tarvel;

namespace {
TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return EncodeDateTime(DateParts{y, mo, d, h, mi, s, ms});
}
}  // namespace

TEST(DateTime, DayNumbersMatchTheClassLibrary) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(2018, 11, 5), 43409.0);
    EXPECT_DOUBLE_EQ(At(2018, 11, 5, 12), 43409.5);
}

TEST(DateTime, DecodeIsTheInverseOfEncode) {
    const DateParts cases[] = {
        {2018, 11, 5, 9, 3, 7, 0},     {2000, 2, 29, 23, 59, 59, 999}, {1999, 12, 31, 0, 0, 0, 1},
        {2026, 12, 10, 12, 0, 0, 500}, {1, 1, 1, 0, 0, 0, 0},          {9999, 12, 31, 23, 59, 59, 0},
    };
    for (const DateParts& p : cases) {
        const DateParts back = DecodeDateTime(EncodeDateTime(p));
        EXPECT_EQ(back.year, p.year);
        EXPECT_EQ(back.month, p.month);
        EXPECT_EQ(back.day, p.day);
        EXPECT_EQ(back.hour, p.hour);
        EXPECT_EQ(back.minute, p.minute);
        EXPECT_EQ(back.second, p.second);
        EXPECT_EQ(back.millisecond, p.millisecond) << p.year;
    }
}

TEST(DateTime, ImpossibleDatesAreRefused) {
    EXPECT_THROW(EncodeDate(2018, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2018, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    TDateTime v = 0;
    EXPECT_FALSE(TryEncodeDateTime(DateParts{2019, 4, 31, 0, 0, 0, 0}, v));
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
}

TEST(DateTime, DayOfWeekStartsOnSunday) {
    EXPECT_EQ(DayOfWeek(EncodeDate(2018, 11, 5)), 2);  // a Monday
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 13)), 1);
}

TEST(FormatDateTime, PatternsOfTheTool) {
    const TDateTime t = At(2018, 5, 9, 7, 3, 4, 56);
    struct Case {
        const char* pattern;
        const char* text;
    } const cases[] = {
        {"yyyy-mm-dd", "2018-05-09"},
        {"YYYY-MM-DD HH-MM-SS", "2018-05-09 07-03-04"},  // MM after HH is minutes
        {"hh:nn:ss", "07:03:04"},
        {"yyyy-mm-dd hh:nn:ss", "2018-05-09 07:03:04"},
        {"yyyy.mm.dd", "2018.05.09"},
        {"yy/m/d", "18-5-9"},
        {"h:n:s.zzz", "7:3:4.056"},
        {"dddd d mmmm", "Wednesday 9 May"},
        {"ddd mmm", "Wed May"},
        {"'at' hh\"h\"", "at 07h"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, t), c.text) << c.pattern;
    EXPECT_EQ(DateToStr(t), "2018-05-09");
    EXPECT_EQ(TimeToStr(t), "07:03:04");
    EXPECT_EQ(DateTimeToStr(t), "2018-05-09 07:03:04");
}

TEST(DateTime, SecondArithmeticCrossesMidnightAndYears) {
    const TDateTime t = At(2018, 12, 31, 23, 59, 59);
    EXPECT_EQ(DateTimeToStr(IncSecond(t, 1)), "2019-01-01 00:00:00");
    EXPECT_EQ(SecondsBetween(IncSecond(t, 3600), t), 3600);
    EXPECT_EQ(SecondsBetween(t, IncSecond(t, -86400 * 2)), 86400 * 2);
}

TEST(DateTime, NowIsToday) {
    const TDateTime now = Now();
    EXPECT_GE(now, Date());
    EXPECT_LT(now, Date() + 1.0);
}
