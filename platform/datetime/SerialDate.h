#pragma once

#include <chrono>
#include <ctime>
#include <locale>

// A moment as the questionnaire's date answers and the formula language hold it: a serial count
// of days from 30 December 1899 whose fraction is the time of day. For a day before that one the
// fraction still adds time to the day: -1.25 is 29 December 1899 at 06:00, and -0.25 the same
// moment as 0.25 (30 December 1899 at 06:00). Only the years 100 to 9999 hold dates; any other
// value, and a value that is not finite, is no date. Times count whole seconds, rounded to the
// nearest.
//
// Because of the sign rule a serial cannot be moved by plain addition before day 0; moves and
// differences go through the straight line of days (ToLinear, FromLinear), on which one day is
// always 1.0.
class SerialDate {
public:
    static constexpr double kFirstDay = -657434.0; // 1 January 100
    static constexpr double kLastDay = 2958465.0;  // 31 December 9999

    struct Civil {
        std::chrono::year_month_day date{};
        int hour = 0;
        int minute = 0;
        int second = 0;
    };

    // Whether the value is a date of the years 100 to 9999 (any time of the last day included).
    static bool IsDate(double serial);
    // The calendar date and time of day of the serial, the time rounded to the nearest second (a
    // time that rounds up to midnight moves to the next day away from day 0); false for no date.
    static bool ToCivil(double serial, Civil& out);
    // The serial of a calendar date and time; false when the date is not a day of the civil
    // calendar of the years 100 to 9999 or the time is not one of a day (0:00:00 to 23:59:59).
    static bool FromCivil(const Civil& civil, double& serial);

    // The serial as a point of the straight line of days, and back; both take any value.
    static double ToLinear(double serial);
    static double FromLinear(double linear);

    // The calendar parts in the C library's form, with the weekday and the day of the year.
    static std::tm ToTm(const Civil& civil);
    // Day of the week, 0 Sunday to 6 Saturday.
    static unsigned Weekday(const Civil& civil);

    // The locale of the user's environment for dates (LC_TIME), the C one when it cannot be had.
    static std::locale UserLocale();
};
