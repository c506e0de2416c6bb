#include "recodes/DateText.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "platform/questionnaire/StaticTools.h"

namespace {

using namespace std::chrono;

// 1 January 100 and 31 December 9999, in days from 30 December 1899.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;
constexpr long long kSecondsPerDay = 24 * 60 * 60;

// The date split into its day and its time of day in whole seconds, rounded to the nearest
// second; false for a value outside the years 100 to 9999.
bool Split(double date, long long& day, long long& seconds) {
    if (!std::isfinite(date) || date < kFirstDay || date >= kLastDay + 1.0)
        return false;
    const double whole = std::trunc(date);
    day = static_cast<long long>(whole);
    seconds = std::llround(std::fabs(date - whole) * static_cast<double>(kSecondsPerDay));
    if (seconds == kSecondsPerDay) {
        // Rounded up to the next midnight: away from day 0, as the fraction counts.
        day += date < 0.0 ? -1 : 1;
        seconds = 0;
    }
    return true;
}

std::tm CalendarTime(long long day, long long seconds) {
    const sys_days epoch = sys_days{year{1899} / December / 30};
    const sys_days when = epoch + days{day};
    const year_month_day ymd{when};
    const sys_days firstOfYear = sys_days{ymd.year() / January / 1};
    std::tm calendar{};
    calendar.tm_year = static_cast<int>(ymd.year()) - 1900;
    calendar.tm_mon = static_cast<int>(static_cast<unsigned>(ymd.month())) - 1;
    calendar.tm_mday = static_cast<int>(static_cast<unsigned>(ymd.day()));
    calendar.tm_wday = static_cast<int>(weekday{when}.c_encoding());
    calendar.tm_yday = static_cast<int>((when - firstOfYear).count());
    calendar.tm_hour = static_cast<int>(seconds / 3600);
    calendar.tm_min = static_cast<int>(seconds / 60 % 60);
    calendar.tm_sec = static_cast<int>(seconds % 60);
    return calendar;
}

const char* PatternOf(std::int16_t mode) {
    switch (mode) {
    case DateText::kDateOnly:
        return "%x";
    case DateText::kTimeOnly:
        return "%X";
    default:
        return "%x %X";
    }
}

} // namespace

std::string DateText::Format(double date, std::int16_t mode) { return Format(date, mode, UserLocale()); }

std::string DateText::Format(double date, std::int16_t mode, const std::locale& locale) {
    long long day = 0;
    long long seconds = 0;
    if (!Split(date, day, seconds))
        return CStaticTools::FormatG(date);
    const std::tm calendar = CalendarTime(day, seconds);
    std::ostringstream text;
    text.imbue(locale);
    text << std::put_time(&calendar, PatternOf(mode));
    return text.str();
}

std::locale DateText::UserLocale() {
    try {
        return std::locale(std::locale::classic(), std::locale(""), std::locale::time);
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}
