#pragma once

#include <cstdint>
#include <locale>
#include <string>

// Dates as the questionnaire stores them: the whole part counts days from 30 December 1899, the
// fraction is the time of day (for a day before that one the fraction still adds time to the
// day, as in -1.25 = 29 December 1899 at 06:00). Texts for the captions the user reads: in the
// user's locale (LC_TIME of the environment), or in the one given.
class DateText {
public:
    // The parts a date text shows.
    static constexpr std::int16_t kDateAndTime = 0;
    static constexpr std::int16_t kDateOnly = 1;
    static constexpr std::int16_t kTimeOnly = 2;

    // The date as the user's locale writes it: date and time, date only or time only by the
    // mode (any other mode as date and time). A value that is no date of years 100 to 9999
    // is written as a number.
    static std::string Format(double date, std::int16_t mode);
    static std::string Format(double date, std::int16_t mode, const std::locale& locale);

    // The locale of the user's environment for dates, the C one when it cannot be had.
    static std::locale UserLocale();
};
