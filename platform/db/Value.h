#pragma once

#include <concepts>
#include <string>
#include <string_view>
#include <variant>

namespace db {

// One field value as the database layer hands it out and takes it in: Null, a whole number, a
// floating-point number, a text or a boolean (a variant in the spirit of the ones DAO used).
//
// Conversions never depend on the locale. Null converts to 0, 0.0, "" and false, the values a
// bound recordset member holds for a Null field; isNull() tells a Null apart. A conversion that
// cannot be made (a text that is not a number, a number too large for a whole number) raises a
// DbException, so that callers who already catch database errors catch these too.
class Value {
public:
    enum class Kind { Null, Integer, Double, Text, Boolean };

    Value() = default;
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) Value(T number)
        : data_(static_cast<long long>(number)) {}
    template <std::floating_point T> Value(T number) : data_(static_cast<double>(number)) {}
    Value(bool flag) : data_(flag) {}
    Value(std::string text) : data_(std::move(text)) {}
    Value(std::string_view text) : data_(std::string(text)) {}
    Value(const char* text) : data_(std::string(text)) {}

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // Whole number: a double is rounded to the nearest integer (halves to even); a boolean is 1
    // or 0; a text is parsed as a number and rounded.
    long long toInteger() const;
    // The whole number the value is exactly, without the rounding of toInteger(): an integer, a
    // double without fraction, a text that reads as one ("12", "1.0"), a boolean as 1 or 0. A
    // whole number beyond the range of long long (1e300) is told apart from a value that is not
    // whole (1.6, "abc", an infinity, Null); `number` is set for Exact only.
    enum class Whole { Exact, OutOfRange, No };
    Whole toWholeNumber(long long& number) const;
    // A text is parsed with "." as decimal point; "," is accepted where no "." appears.
    double toDouble() const;
    // Numbers are written with "." as decimal point and the fewest digits that read back to the
    // same value; booleans as "1" and "0".
    std::string toText() const;
    // Non-zero numbers are true; a text is true when it reads as a non-zero number or "true"
    // (any case).
    bool toBool() const;

    // Same kind and same content; Null equals Null.
    friend bool operator==(const Value& left, const Value& right) = default;

private:
    std::variant<std::monostate, long long, double, std::string, bool> data_;
};

} // namespace db
