#include "formula/FormulaDate.h"

#include "platform/datetime/SerialDate.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <iomanip>
#include <optional>
#include <sstream>

namespace {

using namespace std::chrono;

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Reads a run of `min` to `max` digits at the start of the text, which moves past it.
std::optional<int> Digits(std::string_view& text, std::size_t min, std::size_t max) {
    std::size_t count = 0;
    int value = 0;
    while (count < text.size() && count < max && IsDigit(text[count]))
        value = value * 10 + (text[count++] - '0');
    if (count < min)
        return std::nullopt;
    text.remove_prefix(count);
    return value;
}

bool Skip(std::string_view& text, char separator) {
    if (text.empty() || text.front() != separator)
        return false;
    text.remove_prefix(1);
    return true;
}

// h:mm or h:mm:ss, the whole text.
std::optional<TimeOfDay> ReadTime(std::string_view text) {
    const auto hour = Digits(text, 1, 2);
    if (!hour || !Skip(text, ':'))
        return std::nullopt;
    const auto minute = Digits(text, 2, 2);
    if (!minute)
        return std::nullopt;
    int second = 0;
    if (!text.empty()) {
        const auto seconds = Skip(text, ':') ? Digits(text, 2, 2) : std::nullopt;
        if (!seconds || !text.empty())
            return std::nullopt;
        second = *seconds;
    }
    if (*hour > 23 || *minute > 59 || second > 59)
        return std::nullopt;
    return TimeOfDay{*hour, *minute, second};
}

// The day, when it is one of the calendar.
std::optional<year_month_day> MakeDate(int y, int m, int d) {
    const year_month_day date = year{y} / month{static_cast<unsigned>(m)} / day{static_cast<unsigned>(d)};
    if (!date.ok())
        return std::nullopt;
    return date;
}

// yyyy-mm-dd.
std::optional<year_month_day> ReadIsoDate(std::string_view text) {
    const auto y = Digits(text, 4, 4);
    if (!y || !Skip(text, '-'))
        return std::nullopt;
    const auto m = Digits(text, 1, 2);
    if (!m || !Skip(text, '-'))
        return std::nullopt;
    const auto d = Digits(text, 1, 2);
    if (!d || !text.empty())
        return std::nullopt;
    return MakeDate(*y, *m, *d);
}

// d/m/yyyy or d/m/yy.
std::optional<year_month_day> ReadDayMonthYear(std::string_view text) {
    const auto d = Digits(text, 1, 2);
    if (!d || !Skip(text, '/'))
        return std::nullopt;
    const auto m = Digits(text, 1, 2);
    if (!m || !Skip(text, '/'))
        return std::nullopt;
    const std::size_t yearDigits = text.size();
    const auto y = Digits(text, 2, 4);
    if (!y || !text.empty() || yearDigits == 3)
        return std::nullopt;
    const int fullYear = yearDigits == 2 ? (*y <= 29 ? 2000 + *y : 1900 + *y) : *y;
    return MakeDate(fullYear, *m, *d);
}

// The locale's short date ("%x"), the whole text.
std::optional<year_month_day> ReadLocaleDate(std::string_view text, const std::locale& locale) {
    std::istringstream in{std::string(text)};
    in.imbue(locale);
    std::tm parts{};
    in >> std::get_time(&parts, "%x");
    if (in.fail() || in.peek() != std::char_traits<char>::eof())
        return std::nullopt;
    return MakeDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
}

// `locale` gives the locale of the short date, called only when that form is tried.
template <class Locale> std::optional<year_month_day> ReadDate(std::string_view text, const Locale& locale) {
    if (auto date = ReadIsoDate(text))
        return date;
    if (auto date = ReadDayMonthYear(text))
        return date;
    return ReadLocaleDate(text, locale());
}

struct DateAndTime {
    std::optional<year_month_day> date; // none for a time alone
    TimeOfDay time;
};

template <class Locale>
std::optional<DateAndTime> ReadDateAndTime(std::string_view text, const Locale& locale) {
    text = Trimmed(text);
    if (text.empty())
        return std::nullopt;
    if (auto time = ReadTime(text))
        return DateAndTime{std::nullopt, *time};
    DateAndTime read;
    const std::size_t blank = text.find_last_of(" \t");
    if (blank != std::string_view::npos) {
        if (auto time = ReadTime(text.substr(blank + 1))) {
            read.time = *time;
            text = Trimmed(text.substr(0, blank));
        }
    }
    read.date = ReadDate(text, locale);
    if (!read.date)
        return std::nullopt;
    return read;
}

void AppendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
}

std::string Formatted(double serial, const std::locale& locale, const char* pattern) {
    SerialDate::Civil civil;
    if (!SerialDate::ToCivil(serial, civil))
        return {};
    const std::tm parts = SerialDate::ToTm(civil);
    std::ostringstream out;
    out.imbue(locale);
    out << std::put_time(&parts, pattern);
    return out.str();
}

template <class Locale>
bool ReadAs(std::string_view text, FormulaDate::Part part, const Locale& locale, double& serial) {
    using Part = FormulaDate::Part;
    const std::optional<DateAndTime> read = ReadDateAndTime(text, locale);
    if (!read)
        return false;
    SerialDate::Civil civil;
    civil.date = year{1899} / December / 30;
    if (read->date && part != Part::Time)
        civil.date = *read->date;
    if (part != Part::Date) {
        civil.hour = read->time.hour;
        civil.minute = read->time.minute;
        civil.second = read->time.second;
    }
    // A date read must be a day of the calendar even when only the time is kept.
    if (read->date && part == Part::Time) {
        double ignored = 0.0;
        if (!SerialDate::FromCivil(SerialDate::Civil{*read->date, 0, 0, 0}, ignored))
            return false;
    }
    return SerialDate::FromCivil(civil, serial);
}

} // namespace

bool FormulaDate::Read(std::string_view text, Part part, const std::locale& locale, double& serial) {
    return ReadAs(
        text, part, [&locale]() -> const std::locale& { return locale; }, serial);
}

bool FormulaDate::Read(std::string_view text, Part part, double& serial) {
    return ReadAs(
        text, part, [] { return SerialDate::UserLocale(); }, serial);
}

void FormulaDate::AppendText(std::string& out, double serial) {
    SerialDate::Civil civil;
    if (!SerialDate::ToCivil(serial, civil))
        return;
    const bool dayZero = civil.date == year{1899} / December / 30;
    const bool hasTime = civil.hour != 0 || civil.minute != 0 || civil.second != 0;
    if (!dayZero) {
        AppendTwoDigits(out, static_cast<int>(static_cast<unsigned>(civil.date.day())));
        out += '/';
        AppendTwoDigits(out, static_cast<int>(static_cast<unsigned>(civil.date.month())));
        out += '/';
        const int y = static_cast<int>(civil.date.year());
        AppendTwoDigits(out, y / 100);
        AppendTwoDigits(out, y % 100);
        if (!hasTime)
            return;
        out += ' ';
    }
    AppendTwoDigits(out, civil.hour);
    out += ':';
    AppendTwoDigits(out, civil.minute);
    out += ':';
    AppendTwoDigits(out, civil.second);
}

std::string FormulaDate::WeekdayName(double serial, const std::locale& locale) {
    return Formatted(serial, locale, "%A");
}

std::string FormulaDate::MonthName(double serial, const std::locale& locale) {
    return Formatted(serial, locale, "%B");
}
