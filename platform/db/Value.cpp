#include "platform/db/Value.h"

#include "platform/db/DbException.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace db {

namespace {

constexpr const char* kOperation = "convert value";

std::string_view trimmed(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

[[noreturn]] void throwNotANumber(std::string_view text) {
    throw DbException(kOperation, "the text '" + std::string(text) + "' is not a number");
}

double parseDouble(std::string_view original) {
    std::string text(trimmed(original));
    if (text.find('.') == std::string::npos) {
        std::replace(text.begin(), text.end(), ',', '.');
    }
    if (!text.empty() && text.front() == '+') {
        text.erase(0, 1);
    }
    double number = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end) {
        throwNotANumber(original);
    }
    return number;
}

long long roundToInteger(double number) {
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double limit = 9223372036854775808.0;
    const double rounded = std::nearbyint(number);
    if (!std::isfinite(rounded) || rounded >= limit || rounded < -limit) {
        throw DbException(kOperation, "the number is too large for a whole number");
    }
    return static_cast<long long>(rounded);
}

long long parseInteger(std::string_view original) {
    const std::string_view text = trimmed(original);
    long long number = 0;
    const char* begin = text.data() + (!text.empty() && text.front() == '+' ? 1 : 0);
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (!text.empty() && error == std::errc() && stop == end) {
        return number;
    }
    return roundToInteger(parseDouble(original));
}

Value::Whole wholeNumberOf(double value, long long& number) {
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (!std::isfinite(value) || value != std::trunc(value)) {
        return Value::Whole::No;
    }
    if (value >= limit || value < -limit) {
        return Value::Whole::OutOfRange;
    }
    number = static_cast<long long>(value);
    return Value::Whole::Exact;
}

std::string doubleToText(double number) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

bool equalsIgnoringCase(std::string_view left, std::string_view right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(a) == lower(b);
    });
}

} // namespace

long long Value::toInteger() const {
    switch (kind()) {
    case Kind::Null:
        return 0;
    case Kind::Integer:
        return std::get<long long>(data_);
    case Kind::Double:
        return roundToInteger(std::get<double>(data_));
    case Kind::Text:
        return parseInteger(std::get<std::string>(data_));
    case Kind::Boolean:
        return std::get<bool>(data_) ? 1 : 0;
    }
    return 0;
}

Value::Whole Value::toWholeNumber(long long& number) const {
    switch (kind()) {
    case Kind::Null:
        return Whole::No;
    case Kind::Integer:
        number = std::get<long long>(data_);
        return Whole::Exact;
    case Kind::Double:
        return wholeNumberOf(std::get<double>(data_), number);
    case Kind::Text: {
        const std::string_view text = trimmed(std::get<std::string>(data_));
        const char* begin = text.data() + (!text.empty() && text.front() == '+' ? 1 : 0);
        const char* end = text.data() + text.size();
        long long parsed = 0;
        const auto [stop, error] = std::from_chars(begin, end, parsed);
        if (!text.empty() && error == std::errc() && stop == end) {
            number = parsed;
            return Whole::Exact;
        }
        try {
            return wholeNumberOf(parseDouble(text), number);
        } catch (const DbException&) {
            return Whole::No;
        }
    }
    case Kind::Boolean:
        number = std::get<bool>(data_) ? 1 : 0;
        return Whole::Exact;
    }
    return Whole::No;
}

double Value::toDouble() const {
    switch (kind()) {
    case Kind::Null:
        return 0.0;
    case Kind::Integer:
        return static_cast<double>(std::get<long long>(data_));
    case Kind::Double:
        return std::get<double>(data_);
    case Kind::Text:
        return parseDouble(std::get<std::string>(data_));
    case Kind::Boolean:
        return std::get<bool>(data_) ? 1.0 : 0.0;
    }
    return 0.0;
}

std::string Value::toText() const {
    switch (kind()) {
    case Kind::Null:
        return {};
    case Kind::Integer:
        return std::to_string(std::get<long long>(data_));
    case Kind::Double:
        return doubleToText(std::get<double>(data_));
    case Kind::Text:
        return std::get<std::string>(data_);
    case Kind::Boolean:
        return std::get<bool>(data_) ? "1" : "0";
    }
    return {};
}

bool Value::toBool() const {
    switch (kind()) {
    case Kind::Null:
        return false;
    case Kind::Integer:
        return std::get<long long>(data_) != 0;
    case Kind::Double:
        return std::get<double>(data_) != 0.0;
    case Kind::Text: {
        const std::string_view text = trimmed(std::get<std::string>(data_));
        if (equalsIgnoringCase(text, "true")) {
            return true;
        }
        if (equalsIgnoringCase(text, "false")) {
            return false;
        }
        return parseDouble(text) != 0.0;
    }
    case Kind::Boolean:
        return std::get<bool>(data_);
    }
    return false;
}

} // namespace db
