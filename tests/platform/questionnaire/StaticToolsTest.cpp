#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "platform/questionnaire/StaticTools.h"

namespace {

struct DoubleCase {
    const char* text;
    bool isNumber;
    double value; // exact: every value below is the double nearest to its decimal text
};

const DoubleCase kDoubleCases[] = {
    {"1.5", true, 1.5},
    {"1,5", true, 1.5}, // a comma typed by the user
    {"  -2.25 ", true, -2.25},
    {"\t42\r\n", true, 42.0},
    {"+3", true, 3.0},
    {"1e3", true, 1000.0},
    {"2,5E-2", true, 0.025},
    {"-1.5e+2", true, -150.0},
    {".5", true, 0.5},
    {"5.", true, 5.0},
    {"-,5", true, -0.5},
    {"0", true, 0.0},
    {"-999999.99", true, -999999.99},
    {"", false, 0},
    {"   ", false, 0},
    {"abc", false, 0},
    {"12abc", false, 0},
    {"1.2.3", false, 0},
    {"1,2.3", false, 0},
    {"1,234.5", false, 0},
    {"1 2", false, 0},
    {"+-1", false, 0},
    {"--1", false, 0},
    {"+", false, 0},
    {"-", false, 0},
    {".", false, 0},
    {",", false, 0},
    {"1e", false, 0},
    {"e3", false, 0},
    {"inf", false, 0},
    {"-infinity", false, 0},
    {"nan", false, 0},
    {"0x10", false, 0},
    {"1e400", false, 0},
};

TEST(StaticTools, EstDouble) {
    for (const DoubleCase& c : kDoubleCases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.text << "\"");
        double value = 7.0;
        EXPECT_EQ(CStaticTools::EstDouble(c.text, value), c.isNumber);
        EXPECT_EQ(value, c.isNumber ? c.value : 7.0); // unchanged when not a number
        EXPECT_EQ(CStaticTools::ToDouble(c.text), c.isNumber ? c.value : 0.0);
    }
    double value = 7.0;
    EXPECT_TRUE(CStaticTools::EstDouble("  ", value, true));
    EXPECT_EQ(value, 0.0);
    EXPECT_FALSE(CStaticTools::EstDouble("x", value, true));
}

struct LongCase {
    const char* text;
    bool isNumber;
    std::int32_t value;
};

TEST(StaticTools, EstLong) {
    const LongCase cases[] = {
        {"12", true, 12},
        {" -7 ", true, -7},
        {"+5", true, 5},
        {"007", true, 7},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"1.0", false, 0},
        {"1,0", false, 0},
        {"1e3", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"+-1", false, 0},
        {"1 2", false, 0},
        {"0x1A", false, 0},
    };
    for (const LongCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.text << "\"");
        std::int32_t value = 99;
        EXPECT_EQ(CStaticTools::EstLong(c.text, value), c.isNumber);
        EXPECT_EQ(value, c.isNumber ? c.value : 99);
        EXPECT_EQ(CStaticTools::ToLong(c.text), c.isNumber ? c.value : 0);
    }
}

TEST(StaticTools, SplittingIntoNumbers) {
    const std::tuple<const char*, char, std::vector<std::int32_t>> longCases[] = {
        {"3;12;", ';', {3, 12}}, // a final separator ends the last item
        {"3;12", ';', {3, 12}},
        {"", ';', {}},
        {";", ';', {0}},
        {"1;;2", ';', {1, 0, 2}}, // an empty item keeps its place
        {" 4 ; 5 ", ';', {4, 5}},
        {"7;x;9", ';', {7, 0, 9}}, // not a number: 0 in its place
        {"1:-2:3", ':', {1, -2, 3}},
        {"1,2,3", ',', {1, 2, 3}},
    };
    for (const auto& [text, separator, expected] : longCases) {
        SCOPED_TRACE(testing::Message() << "\"" << text << "\"");
        std::vector<std::int32_t> items{42};
        CStaticTools::LireChaineSeparateurLong(text, separator, items);
        EXPECT_EQ(items, expected);
        std::vector<std::int32_t> tokens{42};
        CStaticTools::FindTokensLong(text, separator, tokens);
        EXPECT_EQ(tokens, expected);
    }

    const std::tuple<const char*, char, std::vector<double>> doubleCases[] = {
        {"1.5;2,5;", ';', {1.5, 2.5}},
        {"1@-0.25@", '@', {1.0, -0.25}},
        {"1e2;;x", ';', {100.0, 0.0, 0.0}},
    };
    for (const auto& [text, separator, expected] : doubleCases) {
        SCOPED_TRACE(testing::Message() << "\"" << text << "\"");
        std::vector<double> items{42};
        CStaticTools::LireChaineSeparateurDouble(text, separator, items);
        EXPECT_EQ(items, expected);
        std::vector<double> tokens{42};
        CStaticTools::FindTokensDouble(text, separator, tokens);
        EXPECT_EQ(tokens, expected);
    }
}

TEST(StaticTools, SplittingIntoTexts) {
    const std::tuple<const char*, char, std::vector<std::string>> cases[] = {
        {"a;;b", ';', {"a", "", "b"}},
        {"a;b;", ';', {"a", "b"}},
        {"a; b ", ';', {"a", " b "}}, // texts keep their blanks
        {"", ';', {}},
        {";", ';', {""}},
        {";;", ';', {"", ""}},
        {"12@1@3|", '|', {"12@1@3"}},
        {"x@y.fr", '@', {"x", "y.fr"}},
    };
    for (const auto& [text, separator, expected] : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << text << "\"");
        std::vector<std::string> items{"old"};
        CStaticTools::LireChaineSeparateurString(text, separator, items);
        EXPECT_EQ(items, expected);
    }
}

const double kFormatValues[] = {
    0.0, -0.0, 1.0, -1.0, 0.1, 1.5, -2.25, 2.5, 0.5, 100000.0, 999999.0, 999999.5, 1000000.0, 1234567.0,
    123456.5, 0.0001, 0.00012345, 0.00001, 1.23456789e-7, 3.14159265358979, 1e15, 123456789012345678.0,
    1e100, -2.5e-300, 5e-324, 1.7976931348623157e308, -999999.99, -888888.88, 1.0 / 3.0,
    std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
};
const int kFormatPrecisions[] = {6, 15, 1, 3, 17, 0};

std::string Printf(double value, int precision) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    return buffer;
}

TEST(StaticTools, FormatGIsPrintfGInTheCLocale) {
    ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
    for (const double value : kFormatValues) {
        for (const int precision : kFormatPrecisions) {
            EXPECT_EQ(CStaticTools::FormatG(value, precision), Printf(value, precision))
                << "value " << Printf(value, 17) << " precision " << precision;
        }
    }
    // Independent references, written by hand.
    EXPECT_EQ(CStaticTools::FormatG(0.1), "0.1");
    EXPECT_EQ(CStaticTools::FormatG(1e-5), "1e-05");
    EXPECT_EQ(CStaticTools::FormatG(1234567.0), "1.23457e+06");
    EXPECT_EQ(CStaticTools::FormatG(100000.0), "100000");
    EXPECT_EQ(CStaticTools::FormatG(-888888.88), "-888889");
    EXPECT_EQ(CStaticTools::FormatG(-888888.88, 15), "-888888.88");
    EXPECT_EQ(CStaticTools::FormatG(0.1, 17), "0.10000000000000001");
    EXPECT_EQ(CStaticTools::FormatG(1.0 / 3.0, 15), "0.333333333333333");
}

// Sets a locale for the life of the object, restores the previous one after.
class LocaleGuard {
public:
    explicit LocaleGuard(const char* name) : m_previous(std::setlocale(LC_ALL, nullptr)) {
        m_active = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~LocaleGuard() { std::setlocale(LC_ALL, m_previous.c_str()); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;
    bool IsActive() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

TEST(StaticTools, NumbersIgnoreAFrenchLocale) {
    std::vector<std::string> inC;
    for (const double value : kFormatValues) {
        for (const int precision : kFormatPrecisions)
            inC.push_back(CStaticTools::FormatG(value, precision));
    }

    const LocaleGuard french("fr_FR.UTF-8");
    if (!french.IsActive())
        GTEST_SKIP() << "the fr_FR.UTF-8 locale is not installed";
    ASSERT_EQ(Printf(1.5, 6), "1,5") << "the French locale should write a decimal comma";

    std::size_t i = 0;
    for (const double value : kFormatValues) {
        for (const int precision : kFormatPrecisions)
            EXPECT_EQ(CStaticTools::FormatG(value, precision), inC[i++]) << "value " << value;
    }
    double parsed = 0;
    EXPECT_TRUE(CStaticTools::EstDouble("1.5", parsed));
    EXPECT_EQ(parsed, 1.5);
    EXPECT_TRUE(CStaticTools::EstDouble("2,25", parsed));
    EXPECT_EQ(parsed, 2.25);
    std::vector<double> items;
    CStaticTools::LireChaineSeparateurDouble("0.5;1e3;", ';', items);
    EXPECT_EQ(items, (std::vector<double>{0.5, 1000.0}));
}

} // namespace
