// Dates of the formula language: the serial day count and the civil calendar both ways, the
// straight line of days before 30 December 1899, the date and time texts read and written.
// Expected day counts are Python's (date(y, m, d) - date(1899, 12, 30)).days; the calendar of
// whole ranges is checked against std::chrono's civil calendar.
#include "formula/FormulaDate.h"
#include "platform/datetime/SerialDate.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <locale>
#include <string>
#include <vector>

namespace {

using namespace std::chrono;

struct Day {
    int y;
    unsigned m;
    unsigned d;
    double serial;
};

const std::vector<Day> kKnownDays = {
    {1899, 12, 30, 0},    {1899, 12, 29, -1},      {1900, 1, 1, 2},       {2000, 1, 1, 36526},
    {2024, 2, 29, 45351}, {2024, 3, 5, 45356},     {2024, 12, 25, 45651}, {1957, 7, 14, 21015},
    {100, 1, 1, -657434}, {9999, 12, 31, 2958465}, {1929, 1, 1, 10594},   {2029, 1, 1, 47119},
};

TEST(SerialDate, KnownDaysBothWays) {
    for (const Day& day : kKnownDays) {
        SCOPED_TRACE(day.serial);
        SerialDate::Civil civil;
        civil.date = year{day.y} / month{day.m} / std::chrono::day{day.d};
        double serial = -1e9;
        ASSERT_TRUE(SerialDate::FromCivil(civil, serial));
        EXPECT_EQ(serial, day.serial);
        SerialDate::Civil back;
        ASSERT_TRUE(SerialDate::ToCivil(day.serial, back));
        EXPECT_EQ(back.date, civil.date);
        EXPECT_EQ(back.hour + back.minute + back.second, 0);
    }
}

// Every 101st day from the first to the last date: the calendar date and the weekday of
// std::chrono, and back to the same day count.
TEST(SerialDate, FollowsTheCivilCalendar) {
    const sys_days epoch = sys_days{year{1899} / December / 30};
    for (long offset = -657434; offset <= 2958465; offset += 101) {
        const sys_days when = epoch + days{offset};
        SerialDate::Civil civil;
        ASSERT_TRUE(SerialDate::ToCivil(static_cast<double>(offset), civil)) << offset;
        ASSERT_EQ(civil.date, year_month_day{when}) << offset;
        ASSERT_EQ(SerialDate::Weekday(civil), weekday{when}.c_encoding()) << offset;
        double serial = 0.0;
        ASSERT_TRUE(SerialDate::FromCivil(civil, serial));
        ASSERT_EQ(serial, static_cast<double>(offset));
    }
}

TEST(SerialDate, TimesOfDayAndTheirSign) {
    struct Case {
        double serial;
        int y;
        unsigned m;
        unsigned d;
        int hour;
        int minute;
        int second;
    };
    const std::vector<Case> cases = {
        {45356.75, 2024, 3, 5, 18, 0, 0},     {45356.5850694444444, 2024, 3, 5, 14, 2, 30},
        {-1.25, 1899, 12, 29, 6, 0, 0}, // the fraction adds time before day 0 too
        {-0.25, 1899, 12, 30, 6, 0, 0},       {45291.999988425926, 2023, 12, 31, 23, 59, 59},
        {45356.9999999, 2024, 3, 6, 0, 0, 0}, // rounds to the next midnight
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.serial);
        SerialDate::Civil civil;
        ASSERT_TRUE(SerialDate::ToCivil(item.serial, civil));
        EXPECT_EQ(civil.date, year{item.y} / month{item.m} / day{item.d});
        EXPECT_EQ(civil.hour, item.hour);
        EXPECT_EQ(civil.minute, item.minute);
        EXPECT_EQ(civil.second, item.second);
    }
    SerialDate::Civil morning;
    morning.date = year{1899} / December / 29;
    morning.hour = 6;
    double serial = 0.0;
    ASSERT_TRUE(SerialDate::FromCivil(morning, serial));
    EXPECT_EQ(serial, -1.25);
}

TEST(SerialDate, OutsideTheCalendarIsNoDate) {
    SerialDate::Civil civil;
    for (double serial : {-657435.0, 2958466.0, 1e300, -1e300, std::nan(""), HUGE_VAL})
        EXPECT_FALSE(SerialDate::ToCivil(serial, civil)) << serial;
    EXPECT_TRUE(SerialDate::ToCivil(2958465.99, civil));
    double serial = 0.0;
    civil.date = year{99} / December / 31;
    EXPECT_FALSE(SerialDate::FromCivil(civil, serial));
    civil.date = year{10000} / January / 1;
    EXPECT_FALSE(SerialDate::FromCivil(civil, serial));
    civil.date = year{2023} / February / 29;
    EXPECT_FALSE(SerialDate::FromCivil(civil, serial));
    civil.date = year{2024} / February / 29;
    civil.hour = 24;
    EXPECT_FALSE(SerialDate::FromCivil(civil, serial));
}

// On the straight line one day is always 1.0, on both sides of day 0.
TEST(SerialDate, TheStraightLineOfDays) {
    for (double serial : {-1.25, -0.25, 0.25, 1.25, 45356.75, -657434.5}) {
        SCOPED_TRACE(serial);
        EXPECT_DOUBLE_EQ(SerialDate::FromLinear(SerialDate::ToLinear(serial)),
                         serial == -0.25 ? 0.25 : serial); // -0.25 and 0.25 are one moment
    }
    EXPECT_EQ(SerialDate::ToLinear(-1.25), -0.75);
    EXPECT_EQ(SerialDate::FromLinear(SerialDate::ToLinear(-1.25) + 2.0), 1.25);
    EXPECT_EQ(SerialDate::ToLinear(1.0) - SerialDate::ToLinear(-1.0), 2.0);
}

struct TextCase {
    const char* text;
    FormulaDate::Part part;
    bool read;
    double serial;
};

TEST(FormulaDate, ReadsTheTextsOfTheLanguage) {
    using Part = FormulaDate::Part;
    const std::vector<TextCase> cases = {
        {"2024-03-05", Part::Date, true, 45356},
        {"2024-3-5", Part::Date, true, 45356},
        {"5/3/2024", Part::Date, true, 45356},
        {"05/03/2024", Part::DateAndTime, true, 45356},
        {"05/03/24", Part::Date, true, 45356},
        {"1/1/29", Part::Date, true, 47119},
        {"1/1/30", Part::Date, true, 10959},
        {" 2024-03-05 10:15 ", Part::DateAndTime, true, 45356 + 0.4270833333333333},
        {"2024-03-05 10:15", Part::Date, true, 45356},
        {"2024-03-05 10:15", Part::Time, true, 0.4270833333333333},
        {"5/3/2024 14:02:30", Part::DateAndTime, true, 45356.5850694444444},
        {"14:02:30", Part::Time, true, 0.5850694444444444},
        {"14:02:30", Part::Date, true, 0},
        {"0:00", Part::Time, true, 0},
        {"23:59:59", Part::Time, true, 0.999988425925926},
        {"2024-02-30", Part::Date, false, 0},
        {"2024-02-30 10:00", Part::Time, false, 0},
        {"24:00", Part::Time, false, 0},
        {"10:60", Part::Time, false, 0},
        {"10:5", Part::Time, false, 0},
        {"10:05:5", Part::Time, false, 0},
        {"2024-03-05T10:15", Part::DateAndTime, false, 0},
        {"99999-01-01", Part::Date, false, 0},
        {"0099-12-31", Part::Date, false, 0},
        {"1/1/19999", Part::Date, false, 0},
        {"", Part::DateAndTime, false, 0},
        {"   ", Part::DateAndTime, false, 0},
        {"hier", Part::DateAndTime, false, 0},
        {"2024-03-05 10:15 x", Part::DateAndTime, false, 0},
    };
    const std::locale c = std::locale::classic();
    for (const TextCase& item : cases) {
        SCOPED_TRACE(item.text);
        double serial = -1.0;
        EXPECT_EQ(FormulaDate::Read(item.text, item.part, c, serial), item.read);
        if (item.read) {
            EXPECT_NEAR(serial, item.serial, 1e-9);
        }
    }
}

// The locale's short date is the last form tried: in the C locale, month/day/two-digit year.
TEST(FormulaDate, ReadsTheLocalesShortDateLast) {
    const std::locale c = std::locale::classic();
    double serial = 0.0;
    ASSERT_TRUE(FormulaDate::Read("12/25/24", FormulaDate::Part::Date, c, serial));
    EXPECT_EQ(serial, 45651);
    ASSERT_TRUE(FormulaDate::Read("12/25/24 18:00", FormulaDate::Part::DateAndTime, c, serial));
    EXPECT_EQ(serial, 45651.75);
    ASSERT_TRUE(FormulaDate::Read("05/03/24", FormulaDate::Part::Date, c, serial)); // day first wins
    EXPECT_EQ(serial, 45356);
}

TEST(FormulaDate, WritesDayMonthYearAndTheTime) {
    struct Case {
        double serial;
        const char* text;
    };
    const std::vector<Case> cases = {
        {45356, "05/03/2024"},
        {45356.75, "05/03/2024 18:00:00"},
        {45356.5850694444444, "05/03/2024 14:02:30"},
        {0, "00:00:00"},
        {0.4270833333333333, "10:15:00"},
        {-0.25, "06:00:00"},
        {-1.25, "29/12/1899 06:00:00"},
        {-657434, "01/01/0100"},
        {2958465.5, "31/12/9999 12:00:00"},
        {2958466, ""},
        {std::nan(""), ""},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.serial);
        std::string text;
        FormulaDate::AppendText(text, item.serial);
        EXPECT_EQ(text, item.text);
    }
}

} // namespace
