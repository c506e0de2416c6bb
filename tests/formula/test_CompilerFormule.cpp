// The compiler and the evaluator on formulas of constants (one interview, no answers): operator
// levels and their order, the typing of operands with its error codes and places, the set
// operations of lists, dates moved and compared, values that cannot be computed, and the bounds
// that keep a hostile formula from exhausting the stack. Expected results are worked out by hand
// from the rules of the language (docs/formula-language.md).
#include "FormulaTestSupport.h"
#include "formula/CompilerFormule.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using formula_test::ErrorCase;
using formula_test::Outcome;
using V = CValeurFormule;

using Formula = formula_test::FormulaFixture;

TEST_F(Formula, OperatorsBindByLevelAndAssociateToTheLeft) {
    ExpectValues({
        {"2+3*4", "14"},
        {"(2+3)*4", "20"},
        {"10-4-3", "3"},
        {"8/2/2", "2"},
        {"2*3 MOD 4", "2"},
        {"1<2=1", "1"},
        {"3>2>1", "0"},
        {"1+1=2 ET 2*2=4", "1"},
        {"1=1 OU 1=2 ET 0", "0"},
        {"0 ET 1 OU 1", "1"},
        {"5-2", "3"},
        {"-2+5", "3"},
        {"2*-3", "-6"},
        {"5-2*3", "-1"},
        {"5-0", "5"},
        {"5-0.5", "4.5"},
        {"((((7))))", "7"},
        {"{4;5;6}[2]", "5"},
        {"{4;5;6}[1+1]*10", "50"},
        {"1+{4;5;6}[3]", "7"},
        {"SIZE {1;2;3} + 1", "4"},
        {"NOT 0 = 2", "0"}, // (NOT 0) = 2, not NOT (0 = 2)
        {"ON(2, 10, 20) + ON(1, 1, 2)", "21"},
    });
}

TEST_F(Formula, ArithmeticOnNumbersAndValuesThatCannotBeComputed) {
    ExpectValues({
        {"7 MOD 3", "1"},
        {"-7 MOD 3", "-1"},
        {"7 MOD -3", "1"},
        {"7.9 MOD 2.5", "1"},
        {"-2147483648 MOD -1", "0"},
        {"7 MOD 0", ""},
        {"7 MOD 0.5", ""},
        {"3000000000 MOD 2", ""},
        {"1/0", ""},
        {"0.1+0.2", "0.3"},
        {"1/3", "0.333333"},
        {"1000000*1000000", "1e+12"},
    });
    // An overflow is no number.
    const std::string big = "1" + std::string(300, '0');
    const Outcome huge = Run(big + " * " + big);
    ASSERT_TRUE(huge.compiled);
    EXPECT_EQ(huge.text, "");
}

TEST_F(Formula, StringsJoinWithTextFormsAndCompareByCodePage) {
    ExpectValues({
        {"\"a\"+1", "a1"},
        {"1+\"a\"", "1a"},
        {"\"a\"+{1;2}", "a{1 2 }"},
        {"\"le \"+#2024-03-05#", "le 05/03/2024"},
        {"\"a\"*2", ""}, // typed a string, but "*" takes numbers only
        {"\"a\"-1", ""},
        {"\"a\"=\"a\"", "1"},
        {"\"a\"=\"A\"", "0"},
        {"\"a\"<>\"A\"", "1"},
        {"\"B\"<\"a\"", "1"},
        {"\"ab\"<\"abc\"", "1"},
        {"\"abc\"<=\"abc\"", "1"},
        {"\"é\">\"z\"", "1"}, // é is 0xE9 in Windows-1252
        {"\"€\"<\"é\"", "1"}, // € is 0x80
        {"\"œ\"<\"Ÿ\"", "1"}, // 0x9C and 0x9F
        {"\"ÿ\"<\"☃\"", "1"}, // outside the code page: after it
        {"\"Z\">=\"é\"", "0"},
    });
}

TEST_F(Formula, ListsAreSetsOfNumbersInTheirOrder) {
    ExpectValues({
        {"{1;2;2}+{2;3}", "{1 2 2 3 }"},
        {"{1;2;2} UNION {2;3}", "{1 2 2 3 }"},
        {"{1;2;2;3}-{2;4}", "{1 2 3 }"},
        {"{1;2;2;5}|{2;5;7}", "{2 2 5 }"},
        {"{1;2;2;5} INTERSECTION {2;5;7}", "{2 2 5 }"},
        {"3+{1}", "{3 1 }"},
        {"{1}+3", "{1 3 }"},
        {"{3}|{1}", "{}"},
        {"{1;1;2}={2;1}", "1"},
        {"{1;2}={1;2;3}", "0"},
        {"{1}=1", "1"},
        {"{}={}", "1"},
        {"{}<={1}", "1"},
        {"{} IN {}", "1"},
        {"{1;2} IN {1;2;3}", "1"},
        {"{1;2;3} IN {1;2}", "0"},
        {"{1;2} ISINCLUDEDIN {2;1}", "1"},
        {"{1;2} ESTINCLUSDANS {2;3}", "0"},
        {"{1;2;3} > {1}", "1"},
        {"{1;2;3} >= {4}", "0"},
        {"2 IN {1;3}", "0"},
        {"3 IN {1;3}", "1"},
        {"5 IN 7", "1"}, // two scalars: the plain "<"
        {"{1;2}<>{2;1}", "0"},
        {"{4;5;6}[4]", ""},
        {"{4;5;6}[0]", ""},
        {"{4;5;6}[-1]", ""},
        {"{4;5;6}[2.9]", "5"},
        {"{}[1]", ""},
        // Long lists go through a lookup: the same answers.
        {"SIZE({1 TO 100} | {50 TO 150})", "51"},
        {"SIZE({1 TO 100} + {50 TO 150})", "150"},
        {"SIZE({1 TO 100} - {50 TO 150})", "49"},
        {"{40 TO 60} IN {1 TO 100}", "1"},
        {"{1 TO 100} = {1 TO 99}", "0"},
        {"{1 TO 100} = {51 TO 100;1 TO 50}", "1"},
        {"100 IN {1 TO 1000000}", "1"},
    });
}

TEST_F(Formula, DatesMoveByDaysAndCompare) {
    ExpectValues({
        {"#2024-03-05#", "05/03/2024"},
        {"#2024-03-05# - #2024-03-01#", "4"},
        {"#2024-03-01# - #2024-03-05#", "-4"},
        {"#2024-03-05# + 1", "06/03/2024"},
        {"1 + #2024-02-28#", "29/02/2024"},
        {"#2024-03-05# - 0.25", "04/03/2024 18:00:00"},
        {"#2024-03-05# > #2024-03-01#", "1"},
        {"#2024-03-05# = #5/3/2024#", "1"},
        {"&10:30&", "10:30:00"},
        {"#1899-12-30#", "00:00:00"},
        {"#1899-12-29# + 0.25", "29/12/1899 06:00:00"},
        {"#1899-12-29# + 2.25", "31/12/1899 06:00:00"},
        {"#1899-12-31# - 1.75", "29/12/1899 06:00:00"},
        {"#1899-12-31# - #1899-12-29# ", "2"},
        {"#9999-12-31# + 1", ""},
        {"#0100-01-01# - 1", ""},
        {"#0100-01-01#", "01/01/0100"},
    });
}

TEST_F(Formula, LogicalOperatorsTakeScalarNumbers) {
    ExpectValues({
        {"1 ET 0", "0"},
        {"2 ET 3", "1"},
        {"1 AND 1", "1"},
        {"0 OU 0", "0"},
        {"0 OR -1", "1"},
        {"VRAI ET NOT FAUX", "1"},
        {"TRUE OU FALSE", "1"},
        {"1/0 OU 1", ""}, // an operand without value gives no value
    });
}

// Questions without answers give the error value: comparisons with it are false, "<>" is true.
TEST_F(Formula, ReferencesWithoutAnswersGiveTheErrorValue) {
    ExpectValues({
        {"??AGE??", ""},
        {"??AGE?? > 18", "0"},
        {"??AGE?? <> 18", "1"},
        {"??Q1:2??", ""},
        {"SIZE ??Q2??", "0"},
        {"??Q2?? IN {1;3}", "0"},
        {"??AVIS?? + 1", ""},
        {"??D?? - ??D??", ""},
        {"??Q2??[1]", ""},
        {"??L?? = {1}", "0"},
    });
}

TEST_F(Formula, TypesOfOperandsAndResults) {
    struct TypeCase {
        const char* formula;
        std::int32_t valueType;
        std::int16_t dimension;
    };
    const std::vector<TypeCase> cases = {
        {"??AGE??", V::kTypeNombre, 0},  {"??Q1??", V::kTypeNombre, 0},   {"??Q2??", V::kTypeNombre, 1},
        {"??AVIS??", V::kTypeChaine, 0}, {"??D??", V::kTypeDate, 0},      {"??L??", V::kTypeNombre, 1},
        {"??N??", V::kTypeNombre, 0},    {"??Q1:1??", V::kTypeNombre, 0},
    };
    for (const TypeCase& item : cases) {
        SCOPED_TRACE(item.formula);
        std::vector<V> compiled;
        FormulaError error;
        ASSERT_TRUE(PreparerFormule(item.formula, compiled, error, Survey()));
        EXPECT_EQ(compiled.back().valueType, item.valueType);
        EXPECT_EQ(compiled.back().dimension, item.dimension);
    }
}

TEST_F(Formula, RefusesFormulasWithTheirErrorPlaces) {
    const std::vector<ErrorCase> cases = {
        {"", 0, 0, 0},
        {"   ", 0, 0, 3},
        {"NOT", 0, 0, 3},
        {"-??AGE??", 101, 1, 1},
        {"+1", 101, 1, 1},
        {"1+*2", 101, 3, 1},
        {"[1]", 101, 1, 1},
        {"]", 101, 1, 1},
        {")", 102, 1, 1},
        {"1)", 102, 2, 1},
        {"1(2)", 102, 2, 1},
        {"(1", 103, 1, 1},
        {"2*(1+(3)", 103, 3, 1},
        {"(1,2)", 104, 1, 5},
        {"()", 104, 1, 2},
        {"{1;2}[1,2]", 104, 6, 5},
        {"NOT NOT 1", 105, 5, 3},
        {"1 2", 106, 3, 1},
        {",1", 106, 1, 1},
        {"1 ??AGE??", 106, 3, 7},
        {"1 NOT", 106, 3, 3},
        {"\"a\" \"b\"", 106, 5, 3},
        {"1]", 107, 2, 1},
        {"{1}[1", 108, 4, 1},
        {"1+", 109, 2, 1},
        {"NOT()", 109, 1, 3},
        {"NOT 1 ET", 109, 7, 2},
        {"NOT \"a\"", 110, 5, 3},
        {"LEN 1", 111, 5, 1},
        {"YEAR ??AGE??", 112, 6, 7},
        {"#2024-01-01# + #2024-01-02#", 113, 14, 1},
        {"{1} + #2024-01-01#", 113, 5, 1},
        {"{1} - #2024-01-01#", 114, 5, 1},
        {"1 - #2024-01-01#", 114, 3, 1},
        {"1 | 2", 115, 3, 1},
        {"{1} * 2", 116, 5, 1},
        {"#2024-01-01# * 2", 116, 14, 1},
        {"1 / #2024-01-01#", 117, 3, 1},
        {"1 MOD {1}", 118, 3, 3},
        {"1 = \"a\"", 119, 3, 1},
        {"{1} = \"a\"", 119, 5, 1},
        {"??AVIS?? = 1", 119, 10, 1},
        {"#2024-01-01# IN {1}", 119, 14, 2},
        {"\"a\" ET 1", 120, 5, 2},
        {"1 OU {1}", 120, 3, 2},
        {"{1}[\"a\"]", 121, 5, 3},
        {"{1}[{1}]", 121, 5, 3},
        {"1[1]", 122, 1, 1},
        {"??Q1??[1]", 122, 1, 6},
        {"1,2", 123, 0, 3},
        {"(1),(2)", 123, 0, 7},
        {"FORMAT(1)", 124, 1, 6},
        {"FORMAT(1 2)", 106, 10, 1},
        {"ON(1)", 124, 1, 2},
        {"ON(1, \"a\", 2)", 125, 7, 3},
        {"ON(1, {1}, 2)", 125, 7, 3},
        {"ON(\"a\", 1, 2)", 110, 4, 3},
    };
    ExpectErrors(cases);
}

// Groups nest up to the documented depth; deeper ones are refused at the first group too deep,
// however deep the formula goes, without exhausting the stack.
TEST_F(Formula, NestingIsBoundedWithAClearError) {
    const auto nested = [](int depth, const char* open, const char* close) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += open;
        text += "1";
        for (int i = 0; i < depth; ++i)
            text += close;
        return text;
    };
    const Outcome deepest = Run(nested(kProfondeurMaximaleFormule, "(", ")"));
    ASSERT_TRUE(deepest.compiled);
    EXPECT_EQ(deepest.text, "1");

    for (int depth : {kProfondeurMaximaleFormule + 1, 10000, 200000}) {
        SCOPED_TRACE(depth);
        const Outcome tooDeep = Run(nested(depth, "(", ")"));
        EXPECT_FALSE(tooDeep.compiled);
        EXPECT_EQ(tooDeep.error.code, FormulaError::kImbricationTropProfonde);
        EXPECT_EQ(tooDeep.error.position, kProfondeurMaximaleFormule + 1);
        EXPECT_EQ(tooDeep.error.length, 1);
    }
    // Unbalanced nesting is refused before any depth is reached.
    const Outcome unclosed = Run(std::string(100000, '('));
    EXPECT_EQ(unclosed.error.code, 103);
    EXPECT_EQ(unclosed.error.position, 1);

    const Outcome brackets = Run(nested(10000, "{1}[", "]"));
    EXPECT_FALSE(brackets.compiled);
    EXPECT_EQ(brackets.error.code, FormulaError::kImbricationTropProfonde);
    EXPECT_EQ(brackets.error.position, 4 * kProfondeurMaximaleFormule + 4);
}

// A long formula compiles and evaluates in one pass.
TEST_F(Formula, LongFormulasAreLinear) {
    std::string text = "0";
    for (int i = 0; i < 100000; ++i)
        text += "+1";
    const Outcome sum = Run(text);
    ASSERT_TRUE(sum.compiled);
    EXPECT_EQ(sum.text, "100000");
}

} // namespace
