#include "platform/db/Value.h"

#include "platform/db/DbException.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

using db::DbException;
using db::Value;

namespace {

struct ConversionCase {
    Value value;
    long long integer;
    double number;
    std::string text;
    bool flag;
};

// Null reads as the zero of every kind; doubles round to the nearest whole number, halves to even.
const ConversionCase kConversions[] = {
    {Value(), 0, 0.0, "", false},
    {Value(42), 42, 42.0, "42", true},
    {Value(-7LL), -7, -7.0, "-7", true},
    {Value(2.5), 2, 2.5, "2.5", true},
    {Value(3.5), 4, 3.5, "3.5", true},
    {Value(-1.25), -1, -1.25, "-1.25", true},
    {Value(0.1), 0, 0.1, "0.1", true},
    {Value(true), 1, 1.0, "1", true},
    {Value(false), 0, 0.0, "0", false},
    {Value("12"), 12, 12.0, "12", true},
    {Value(" 1.5 "), 2, 1.5, " 1.5 ", true},
    {Value("1,5"), 2, 1.5, "1,5", true},
    {Value("+3"), 3, 3.0, "+3", true},
    {Value("0"), 0, 0.0, "0", false},
};

TEST(Value, ConvertsEveryKindToEveryOther) {
    for (const ConversionCase& c : kConversions) {
        SCOPED_TRACE(c.value.toText());
        EXPECT_EQ(c.value.toInteger(), c.integer);
        EXPECT_DOUBLE_EQ(c.value.toDouble(), c.number);
        EXPECT_EQ(c.value.toText(), c.text);
        EXPECT_EQ(c.value.toBool(), c.flag);
    }
}

TEST(Value, KindsAndEquality) {
    EXPECT_TRUE(Value().isNull());
    EXPECT_EQ(Value(short{3}).kind(), Value::Kind::Integer);
    EXPECT_EQ(Value(3.0f).kind(), Value::Kind::Double);
    EXPECT_EQ(Value("x").kind(), Value::Kind::Text);
    EXPECT_EQ(Value(true).kind(), Value::Kind::Boolean);
    EXPECT_EQ(Value(3), Value(3LL));
    EXPECT_NE(Value(3), Value(3.0)); // same number, different kinds
    EXPECT_NE(Value(), Value(0));
    EXPECT_EQ(Value("TRUE").toBool(), true);
}

TEST(Value, RefusesConversionsThatCannotBeMade) {
    EXPECT_THROW((void)Value("abc").toDouble(), DbException);
    EXPECT_THROW((void)Value("12abc").toInteger(), DbException);
    EXPECT_THROW((void)Value("").toDouble(), DbException);
    EXPECT_THROW((void)Value(1e300).toInteger(), DbException);
    EXPECT_THROW((void)Value("yes").toBool(), DbException);
}

// The whole number a value is exactly: never rounded, and a number too large to be one is told
// apart from a value that is none.
TEST(Value, TellsAWholeNumberFromAFractionAndFromANumberTooLarge) {
    const struct {
        Value value;
        Value::Whole whole;
        long long number;
    } cases[] = {
        {Value(7), Value::Whole::Exact, 7},
        {Value(9999999999LL), Value::Whole::Exact, 9999999999LL},
        {Value(1.0), Value::Whole::Exact, 1},
        {Value(-2.0), Value::Whole::Exact, -2},
        {Value("12"), Value::Whole::Exact, 12},
        {Value(" +3 "), Value::Whole::Exact, 3},
        {Value("1.0"), Value::Whole::Exact, 1},
        {Value(true), Value::Whole::Exact, 1},
        {Value(1.6), Value::Whole::No, 0},
        {Value(-0.5), Value::Whole::No, 0},
        {Value("1,6"), Value::Whole::No, 0},
        {Value("abc"), Value::Whole::No, 0},
        {Value(""), Value::Whole::No, 0},
        {Value(), Value::Whole::No, 0},
        {Value(1.0 / 0.0), Value::Whole::No, 0},
        {Value(1e300), Value::Whole::OutOfRange, 0},
        {Value(-1e19), Value::Whole::OutOfRange, 0},
        {Value("99999999999999999999"), Value::Whole::OutOfRange, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toText());
        long long number = 0;
        EXPECT_EQ(c.value.toWholeNumber(number), c.whole);
        EXPECT_EQ(number, c.number);
    }
}

TEST(Value, NumbersIgnoreTheLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr) {
        GTEST_SKIP() << "the French locale is not installed";
    }
    EXPECT_EQ(Value(1234.5).toText(), "1234.5");
    EXPECT_DOUBLE_EQ(Value("0.25").toDouble(), 0.25);
    EXPECT_EQ(Value(1e-7).toText(), "1e-07");
    std::setlocale(LC_ALL, previous.c_str());
}

} // namespace
