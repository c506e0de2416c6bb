#include "tools/qesbuild/CellValue.h"

#include <charconv>
#include <stdexcept>

namespace qesbuild {

namespace {

bool ReadWhole(std::string_view text, long long& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool ReadNumber(std::string_view text, double& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

bool DaysInMonthOk(int year, int month, int day) {
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1])
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return !(month == 2 && day == 29 && !leap);
}

bool ReadField(std::string_view text, std::size_t pos, std::size_t length, int& value) {
    long long number = 0;
    if (pos + length > text.size() || !ReadWhole(text.substr(pos, length), number))
        return false;
    value = static_cast<int>(number);
    return true;
}

bool ReadDate(std::string_view text, double& value) {
    if (ReadNumber(text, value))
        return true;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (text.size() < 10 || text[4] != '-' || text[7] != '-' || !ReadField(text, 0, 4, year) ||
        !ReadField(text, 5, 2, month) || !ReadField(text, 8, 2, day) || !DaysInMonthOk(year, month, day))
        return false;
    if (text.size() > 10) {
        if ((text[10] != ' ' && text[10] != 'T') || text.size() < 16 || text[13] != ':' ||
            !ReadField(text, 11, 2, hour) || !ReadField(text, 14, 2, minute))
            return false;
        if (text.size() > 16 && (text.size() != 19 || text[16] != ':' || !ReadField(text, 17, 2, second)))
            return false;
        if (hour > 23 || minute > 59 || second > 59)
            return false;
    }
    value = DayCount(year, month, day, hour, minute, second);
    return true;
}

} // namespace

double DayCount(int year, int month, int day, int hour, int minute, int second) {
    const long long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                           DaysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

db::Value CellValue(const std::optional<std::string>& cell, db::FieldType type) {
    if (!cell)
        return {};
    const std::string& text = *cell;
    switch (type) {
    case db::FieldType::Text:
    case db::FieldType::Memo:
        return db::Value(text);
    case db::FieldType::Double:
    case db::FieldType::Single:
    case db::FieldType::Currency: {
        double value = 0.0;
        if (!ReadNumber(text, value))
            throw std::invalid_argument("\"" + text + "\" is not a number");
        return db::Value(value);
    }
    case db::FieldType::Date: {
        double value = 0.0;
        if (!ReadDate(text, value))
            throw std::invalid_argument("\"" + text +
                                        "\" is not a date (YYYY-MM-DD[ HH:MM[:SS]] or a day count)");
        return db::Value(value);
    }
    case db::FieldType::Boolean:
        if (text == "true" || text == "1")
            return db::Value(true);
        if (text == "false" || text == "0")
            return db::Value(false);
        throw std::invalid_argument("\"" + text + "\" is not a boolean (true, false, 1 or 0)");
    default: {
        long long value = 0;
        if (!ReadWhole(text, value))
            throw std::invalid_argument("\"" + text + "\" is not a whole number");
        const auto range = db::integerRangeOf(type);
        if (range && (value < range->minimum || value > range->maximum))
            throw std::invalid_argument("\"" + text + "\" is out of range for a " +
                                        std::string(db::fieldTypeName(type)) + " field");
        return db::Value(value);
    }
    }
}

} // namespace qesbuild
