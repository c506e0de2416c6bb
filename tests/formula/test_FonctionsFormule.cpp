// The 22 built-in functions: their values on constants (one interview, no answers), the types
// the compiler requires of their arguments, and the values they give for arguments without value.
// Date parts are checked against the civil calendar of std::chrono, day names against the
// locale's own "%A" and "%B".
#include "FormulaTestSupport.h"
#include "formula/FormulaFunction.h"

#include <chrono>
#include <ctime>
#include <gtest/gtest.h>
#include <iomanip>
#include <locale>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using formula_test::EnvironmentGuard;
using formula_test::ErrorCase;
using formula_test::Outcome;

using Functions = formula_test::FormulaFixture;

// One row per function: 22 numbers, each with a French and an English keyword (the same word
// where there is one form only).
TEST_F(Functions, TheTableHoldsTwentyTwoFunctions) {
    std::set<std::int32_t> numbers;
    for (const FormulaFunction& function : FonctionsFormule()) {
        numbers.insert(function.number);
        EXPECT_EQ(TrouverFonction(function.number), &function);
    }
    EXPECT_EQ(numbers, (std::set<std::int32_t>{0,  2,  4,  5,  7,  8,  9,  10, 11, 12, 13,
                                               15, 16, 17, 18, 19, 20, 21, 24, 25, 26, 27}));
    for (std::int32_t missing : {1, 3, 6, 14, 22, 23, 28})
        EXPECT_EQ(TrouverFonction(missing), nullptr);
}

TEST_F(Functions, ValuesOnConstants) {
    ExpectValues({
        {"SIZE({1;2;3})", "3"},
        {"TAILLE 5", "0"},
        {"SIZE(\"abc\")", "0"},
        {"SIZE({})", "0"},
        {"NOT(0)", "1"},
        {"NON(5)", "0"},
        {"NOT(-0.5)", "0"},
        {"ISDATE(\"2024-03-05\")", "1"},
        {"ESTDATE(\"5/3/2024 10:30\")", "1"},
        {"ISDATE(\"10:30:15\")", "1"},
        {"ISDATE(\"31/02/2024\")", "0"},
        {"ISDATE(\"hier\")", "0"},
        {"ISDATE(\"\")", "0"},
        {"INT(-2.7)", "-2"},
        {"ENTIER(2.7)", "2"},
        {"INT(-0.5)", "0"},
        {"INT(2147483647.9) = 2147483647", "1"},
        {"INT(3000000000)", ""},
        {"SUM({1;2;3})", "6"},
        {"SOMME 5", "5"},
        {"SUM({})", "0"},
        {"SUM({1;2} + -999999.99)", "3"},
        {"AVG({1;2} + -999999.99)", "1.5"},
        {"MOY(-999999.99)", "0"},
        {"AVG({})", "0"},
        {"AVG({1;2;4})", "2.33333"},
        {"CVNRNI(-999999.99)", "0"},
        {"CVDKNA(5)", "5"},
        {"CVNRNI(-888888.88)", "-888889"},
        {"ISEMAIL(\"anne@exemple.fr\")", "1"},
        {"ESTEMAIL(\"anne@@exemple.fr\")", "0"},
        {"ISEMAIL(\"a@b@c.d\")", "0"},
        {"ISEMAIL(\"anne@exemple\")", "0"},
        {"ISEMAIL(\"exemple.fr\")", "0"},
        {"LEN(\"abc\")", "3"},
        {"LEN(\"été\")", "3"},
        {"LEN(\"\")", "0"},
        {"GETPARAMETER(\"10,20,30\", 2)", "20"},
        {"GETPARAMETER(\"10,20,30\", 4)", "0"},
        {"GETPARAMETER(\"10,20,30\", 0)", "0"},
        {"GETPARAMETER(\"10,20,30\", 3.9)", "30"},
        {"GETPARAMETER(\"10,20,30\", {2})", "0"},
        {"GETPARAMETER(\"10,x,30\", 2)", "0"},
        {"VAL(\"12\")", "12"},
        {"VAL(\"3,5\")", "3.5"},
        {"VAL(\" -2.25 \")", "-2.25"},
        {"VAL(\"abc\")", "0"},
        {"VAL(\"\")", "0"},
        {"ON(2, \"a\", \"b\", \"c\")", "b"},
        {"ON(9, \"a\", \"b\")", "b"},
        {"ON(0, \"a\", \"b\")", "b"},
        {"ON(1.9, \"a\", \"b\")", "a"},
        {"ON(1, {1;2}, {3})", "{1 2 }"},
        {"ON(1, 2)", "2"},
        {"ON(2, #2024-03-05#, #2024-03-06#)", "06/03/2024"},
        {"FORMAT(3.14159, 2)", "3.14"},
        {"FORMAT(2, 0)", "2"},
        {"FORMAT(2.5, 0)", "2"},
        {"FORMAT(-1.005, 1)", "-1.0"},
        {"FORMAT(2.5, -1)", "2.500000"},
        {"FORMAT(1, {2})", "1"},
        {"FORMAT(1234567.891, 1)", "1234567.9"},
    });
}

TEST_F(Functions, DatePartsOfConstants) {
    ExpectValues({
        {"WEEKDAY(#2024-03-03#)", "1"}, // a Sunday
        {"WEEKDAY(#2024-03-09#)", "7"}, // a Saturday
        {"YEAR(#2024-03-05#)", "2024"},
        {"ANNEE(#0100-01-01#)", "100"},
        {"MONTH(#2024-03-05#)", "3"},
        {"MOIS(#2024-12-31#)", "12"},
        {"DAY(#2024-02-29#)", "29"},
        {"JOUR(#2024-03-05#)", "5"},
        {"HOUR(&10:30:15&)", "10"},
        {"HEURE(#2024-03-05#)", "0"},
        {"MINUTE(&10:30:15&)", "30"},
        {"SECOND(&10:30:15&)", "15"},
        {"SECONDE(&23:59:59&)", "59"},
        {"HOUR(#2024-03-05# - 0.25)", "18"},
        {"DAY(#2024-03-05# - 0.25)", "4"},
    });
}

// Every 1,000th day from 1 January 100 to 31 December 9999, moved from a constant by the formula
// itself: its year, month, day and weekday as std::chrono's civil calendar counts them.
TEST_F(Functions, DatePartsFollowTheCivilCalendar) {
    using namespace std::chrono;
    const sys_days epoch = sys_days{year{1899} / December / 30};
    for (long offset = -657434; offset <= 2958465; offset += 997) {
        SCOPED_TRACE(offset);
        const sys_days when = epoch + days{offset};
        const year_month_day ymd{when};
        const std::string moved = "(#1899-12-30# + " + std::to_string(offset) + ")";
        const std::string formula = "FORMAT(YEAR" + moved + ", 0) + \"/\" + FORMAT(MONTH" + moved +
                                    ", 0) + \"/\" + " + "FORMAT(DAY" + moved +
                                    ", 0) + \"/\" + FORMAT(WEEKDAY" + moved + ", 0)";
        const Outcome outcome = Run(formula);
        ASSERT_TRUE(outcome.compiled) << outcome.error.code;
        const std::string expected = std::to_string(static_cast<int>(ymd.year())) + "/" +
                                     std::to_string(static_cast<unsigned>(ymd.month())) + "/" +
                                     std::to_string(static_cast<unsigned>(ymd.day())) + "/" +
                                     std::to_string(weekday{when}.c_encoding() + 1);
        EXPECT_EQ(outcome.text, expected);
    }
}

std::string Put(const std::locale& locale, int weekday, int month, const char* pattern) {
    std::tm parts{};
    parts.tm_wday = weekday;
    parts.tm_mon = month;
    parts.tm_year = 124;
    parts.tm_mday = 5;
    std::ostringstream out;
    out.imbue(locale);
    out << std::put_time(&parts, pattern);
    return out.str();
}

// The names of days and months are the user's locale's (LC_TIME of the environment).
TEST_F(Functions, DayAndMonthNamesFollowTheUsersLocale) {
    {
        const EnvironmentGuard c("LC_ALL", "C");
        ExpectValues({
            {"WEEKDAYASSTRING(#2024-03-05#)", "Tuesday"},
            {"MONTHASSTRING(#2024-03-05#)", "March"},
        });
    }
    std::locale french;
    try {
        french = std::locale("fr_FR.UTF-8");
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "the French locale is not installed";
    }
    const EnvironmentGuard fr("LC_ALL", "fr_FR.UTF-8");
    const Outcome day = Run("WEEKDAYASSTRING(#2024-03-05#)");
    const Outcome month = Run("MONTHASSTRING(#2024-08-05#)");
    EXPECT_EQ(day.text, Put(french, 2, 2, "%A"));
    EXPECT_EQ(month.text, Put(french, 1, 7, "%B"));
    EXPECT_EQ(day.text, "mardi");
    EXPECT_EQ(month.text, "août");
}

// FORMAT writes at most 100 decimals, and never overflows whatever the number.
TEST_F(Functions, FormatIsBounded) {
    const Outcome many = Run("FORMAT(1, 10000)");
    ASSERT_TRUE(many.compiled);
    EXPECT_EQ(many.text, "1." + std::string(100, '0'));
    const Outcome huge = Run("FORMAT(1" + std::string(300, '0') + ", 100)");
    ASSERT_TRUE(huge.compiled);
    EXPECT_EQ(huge.text.size(), 301u + 1u + 100u);
    EXPECT_EQ(huge.text.substr(0, 17), "10000000000000000");
    const Outcome tooMany = Run("FORMAT(1, 3000000000)");
    EXPECT_EQ(tooMany.text, many.text);
}

TEST_F(Functions, ArgumentsOfTheWrongTypeAreRefused) {
    const std::vector<ErrorCase> cases = {
        {"NOT \"a\"", 110, 5, 3},
        {"NOT {1}", 110, 5, 3},
        {"INT(#2024-01-01#)", 110, 5, 12},
        {"SUM(\"a\")", 110, 5, 3},
        {"AVG(#2024-01-01#)", 110, 5, 12},
        {"CVNRNI({1})", 110, 8, 3},
        {"ISDATE(1)", 111, 8, 1},
        {"ISEMAIL(??AGE??)", 111, 9, 7},
        {"LEN({1})", 111, 5, 3},
        {"VAL(1)", 111, 5, 1},
        {"WEEKDAY(1)", 112, 9, 1},
        {"YEAR(\"2024\")", 112, 6, 6},
        {"MONTHASSTRING(??AGE??)", 112, 15, 7},
        {"GETPARAMETER(1, 2)", 111, 14, 1},
        {"GETPARAMETER(\"1\", \"2\")", 110, 19, 3},
        {"GETPARAMETER(\"1\")", 124, 1, 12},
        {"FORMAT(\"1\", 2)", 110, 8, 3},
        {"FORMAT(1, \"2\")", 110, 11, 3},
        {"NOT()", 109, 1, 3},
        {"NOT NOT(1)", 105, 5, 3},
        {"ON(1, \"a\", 2)", 125, 7, 3},
        {"SIZE(1, 2)", 104, 5, 6},
    };
    ExpectErrors(cases);
}

// Arguments without value (questions without answers): the error value, but SIZE, SUM, AVG and
// VAL, which count or read what they get.
TEST_F(Functions, ArgumentsWithoutValue) {
    ExpectValues({
        {"SIZE ??AGE??", "0"},
        {"SUM ??Q2??", "0"},
        {"AVG(??AGE??)", "0"},
        {"VAL(??AVIS??)", "0"},
        {"NOT ??AGE??", ""},
        {"INT ??AGE??", ""},
        {"YEAR ??D??", ""},
        {"WEEKDAYASSTRING ??D??", ""},
        {"CVNRNI(??AGE??)", ""},
        {"LEN(??AVIS??)", ""},
        {"ISEMAIL(??AVIS??)", ""},
        {"ISDATE(??AVIS??)", ""},
        {"GETPARAMETER(??AVIS??, 1)", ""},
        {"GETPARAMETER(\"1,2\", ??AGE??)", ""},
        {"FORMAT(??AGE??, 2)", ""},
        {"FORMAT(2, ??AGE??)", ""},
        {"ON(??AGE??, 1, 2)", ""},
        {"ON(1, ??AGE??, 2)", ""},
    });
}

} // namespace
