#pragma once

#include <locale>
#include <string>
#include <string_view>

// The date and time texts of the formula language, read ("#...#", "&...&", ISDATE) and written
// (the text form of a date value, the names of days and months).
//
// A text reads as yyyy-mm-dd, else d/m/yyyy (a two-digit year 00 to 29 is 20xx, any other
// 19xx), else the locale's short date, each optionally followed by a blank and h:mm or h:mm:ss;
// or as a time alone (h:mm or h:mm:ss). Blanks around the text are ignored. Days must be days of
// the calendar of the years 100 to 9999, times 0:00 to 23:59:59.
class FormulaDate {
public:
    // Which part of what was read the value keeps.
    enum class Part { Date, Time, DateAndTime };

    // The serial of the text's date part (a time alone gives day 0), time part (a date alone
    // gives 0:00) or both; false when the text reads as no date nor time. The short date is the
    // given locale's, or the user's (SerialDate::UserLocale, made only when that form is tried).
    static bool Read(std::string_view text, Part part, const std::locale& locale, double& serial);
    static bool Read(std::string_view text, Part part, double& serial);

    // "dd/mm/yyyy", followed by a blank and "hh:mm:ss" when the value has a time of day; the
    // time alone when its day is day 0 (30 December 1899). Nothing for a value that is no date.
    static void AppendText(std::string& out, double serial);

    // The full name of the day of the week and of the month as the locale writes them; empty
    // for a value that is no date.
    static std::string WeekdayName(double serial, const std::locale& locale);
    static std::string MonthName(double serial, const std::locale& locale);
};
