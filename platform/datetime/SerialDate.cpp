#include "platform/datetime/SerialDate.h"

#include <cmath>
#include <stdexcept>

namespace {

using namespace std::chrono;

constexpr long long kSecondsPerDay = 24 * 60 * 60;
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

sys_days Epoch() {
    return sys_days{year{1899} / December / 30};
}

} // namespace

bool SerialDate::IsDate(double serial) {
    return std::isfinite(serial) && serial >= kFirstDay && serial < kLastDay + 1.0;
}

bool SerialDate::ToCivil(double serial, Civil& out) {
    if (!IsDate(serial))
        return false;
    const double whole = std::trunc(serial);
    auto day = static_cast<long long>(whole);
    long long seconds = std::llround(std::fabs(serial - whole) * static_cast<double>(kSecondsPerDay));
    if (seconds == kSecondsPerDay) {
        day += serial < 0.0 ? -1 : 1;
        seconds = 0;
    }
    out.date = year_month_day{Epoch() + days{day}};
    out.hour = static_cast<int>(seconds / 3600);
    out.minute = static_cast<int>(seconds / 60 % 60);
    out.second = static_cast<int>(seconds % 60);
    return true;
}

bool SerialDate::FromCivil(const Civil& civil, double& serial) {
    const int y = static_cast<int>(civil.date.year());
    if (!civil.date.ok() || y < kFirstYear || y > kLastYear)
        return false;
    if (civil.hour < 0 || civil.hour > 23 || civil.minute < 0 || civil.minute > 59 || civil.second < 0 ||
        civil.second > 59)
        return false;
    const auto day = static_cast<double>((sys_days{civil.date} - Epoch()).count());
    const double time = static_cast<double>(civil.hour * 3600 + civil.minute * 60 + civil.second) /
                        static_cast<double>(kSecondsPerDay);
    serial = day >= 0.0 ? day + time : day - time;
    return true;
}

double SerialDate::ToLinear(double serial) {
    const double whole = std::trunc(serial);
    return whole + std::fabs(serial - whole);
}

double SerialDate::FromLinear(double linear) {
    const double day = std::floor(linear);
    const double time = linear - day;
    return day >= 0.0 ? day + time : day - time;
}

std::tm SerialDate::ToTm(const Civil& civil) {
    const sys_days when{civil.date};
    const sys_days firstOfYear{civil.date.year() / January / 1};
    std::tm calendar{};
    calendar.tm_year = static_cast<int>(civil.date.year()) - 1900;
    calendar.tm_mon = static_cast<int>(static_cast<unsigned>(civil.date.month())) - 1;
    calendar.tm_mday = static_cast<int>(static_cast<unsigned>(civil.date.day()));
    calendar.tm_wday = static_cast<int>(Weekday(civil));
    calendar.tm_yday = static_cast<int>((when - firstOfYear).count());
    calendar.tm_hour = civil.hour;
    calendar.tm_min = civil.minute;
    calendar.tm_sec = civil.second;
    return calendar;
}

unsigned SerialDate::Weekday(const Civil& civil) {
    return weekday{sys_days{civil.date}}.c_encoding();
}

std::locale SerialDate::UserLocale() {
    try {
        return std::locale(std::locale::classic(), std::locale(""), std::locale::time);
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}
