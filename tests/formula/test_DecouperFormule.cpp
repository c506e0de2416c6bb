// The tokenizer: token kinds, codes, texts, positions and lengths, keywords in both languages and
// any case, constants, question and modality references, and every error with its position and
// length (1-based, in characters). Expected dates are day counts from 30 December 1899 computed
// with Python's datetime (date(2024, 3, 5) - date(1899, 12, 30) is 45356 days).
#include "FormulaTestSupport.h"
#include "formula/DecouperFormule.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using formula_test::ErrorCase;
using V = CValeurFormule;

struct Token {
    std::int32_t kind;
    double code;
    std::string text;
    std::int32_t position;
    std::int32_t length;
};

class Tokenizer : public formula_test::FormulaFixture {
protected:
    bool Cut(const std::string& formula, std::vector<V>& tokens, FormulaError& error) {
        return DecouperFormule(formula, tokens, error, Survey());
    }
};

struct TokenCase {
    const char* formula;
    std::vector<Token> tokens;
};

TEST_F(Tokenizer, CutsOperatorsConstantsAndReferencesWithTheirPlaces) {
    const std::vector<TokenCase> cases = {
        {"3-1", {{V::kNombre, 3, "", 1, 1}, {V::kNombre, -1, "", 2, 2}}},
        {"3 - 1", {{V::kNombre, 3, "", 1, 1}, {V::kOperateur, 1, "", 3, 1}, {V::kNombre, 1, "", 5, 1}}},
        {"??AGE??>=2",
         {{V::kQuestion, 0, "", 1, 7}, {V::kComparaison, 5, "", 8, 2}, {V::kNombre, 2, "", 10, 1}}},
        {"1<>2", {{V::kNombre, 1, "", 1, 1}, {V::kComparaison, 1, "", 2, 2}, {V::kNombre, 2, "", 4, 1}}},
        {"1<=2<3>4",
         {{V::kNombre, 1, "", 1, 1},
          {V::kComparaison, 3, "", 2, 2},
          {V::kNombre, 2, "", 4, 1},
          {V::kComparaison, 2, "", 5, 1},
          {V::kNombre, 3, "", 6, 1},
          {V::kComparaison, 4, "", 7, 1},
          {V::kNombre, 4, "", 8, 1}}},
        {"()[]+*/|=,",
         {{V::kParenthese, 0, "", 1, 1},
          {V::kParenthese, 1, "", 2, 1},
          {V::kCrochet, 0, "", 3, 1},
          {V::kCrochet, 1, "", 4, 1},
          {V::kOperateur, 0, "", 5, 1},
          {V::kOperateur, 2, "", 6, 1},
          {V::kOperateur, 3, "", 7, 1},
          {V::kOperateur, 4, "", 8, 1},
          {V::kComparaison, 0, "", 9, 1},
          {V::kSeparateur, 0, "", 10, 1}}},
        {"-2.5 .5", {{V::kNombre, -2.5, "", 1, 4}, {V::kNombre, 0.5, "", 6, 2}}},
        {"-??AGE??", {{V::kOperateur, 1, "", 1, 1}, {V::kQuestion, 0, "", 2, 7}}},
        {"\t\"a b\"\r\n", {{V::kChaine, 0, "a b", 2, 5}}},
        {"{0 TO 2}", {{V::kListe, 0, "0;1;2", 1, 8}}},
        {"{1;3 to 5}", {{V::kListe, 0, "1;3;4;5", 1, 10}}},
        {"{1; 2}", {{V::kListe, 0, "1;2", 1, 6}}},
        {"{}", {{V::kListe, 0, "", 1, 2}}},
        {"{2;}", {{V::kListe, 0, "2", 1, 4}}},
        {"??Q1:3??", {{V::kModalite, 1, "3", 1, 8}}},
        {"??L:2??", {{V::kModalite, 7, "2", 1, 7}}},
        {"??N:2??", {{V::kModalite, 8, "2", 1, 7}}},
        {"??QQ???", {{V::kQuestion, 6, "", 1, 7}}},
        // The name before the last ":" is no question: the whole text is the name.
        {"??Âge:2??", {{V::kQuestion, 5, "", 1, 9}}},
        {"\"é\" + ??AGE??",
         {{V::kChaine, 0, "é", 1, 3}, {V::kOperateur, 0, "", 5, 1}, {V::kQuestion, 0, "", 7, 7}}},
        {"#2024-03-05#", {{V::kDate, 45356, "", 1, 12}}},
        {"#5/3/2024 10:30#", {{V::kDate, 45356, "", 1, 16}}},
        {"#05/03/24#", {{V::kDate, 45356, "", 1, 10}}},
        {"#05/03/30#", {{V::kDate, 11022, "", 1, 10}}},
        {"# 2024-03-05 10:30:15 #", {{V::kDate, 45356, "", 1, 23}}},
        {"#10:30#", {{V::kDate, 0, "", 1, 7}}},
        {"&10:30&", {{V::kDate, 0.4375, "", 1, 7}}},
        {"&2024-03-05 18:00&", {{V::kDate, 0.75, "", 1, 18}}},
        {"&2024-03-05&", {{V::kDate, 0, "", 1, 12}}},
        {"", {}},
        {"  \t ", {}},
    };
    for (const TokenCase& item : cases) {
        SCOPED_TRACE(item.formula);
        std::vector<V> tokens;
        FormulaError error;
        ASSERT_TRUE(Cut(item.formula, tokens, error)) << error.code << " at " << error.position;
        ASSERT_EQ(tokens.size(), item.tokens.size());
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(tokens[i].kind, item.tokens[i].kind);
            EXPECT_DOUBLE_EQ(tokens[i].code, item.tokens[i].code);
            EXPECT_EQ(tokens[i].text, item.tokens[i].text);
            EXPECT_EQ(tokens[i].position, item.tokens[i].position);
            EXPECT_EQ(tokens[i].length, item.tokens[i].length);
        }
    }
}

struct KeywordCase {
    const char* word;
    std::int32_t kind;
    double code;
};

// Every keyword in both languages, the longer of two that begin alike winning, whatever the case.
TEST_F(Tokenizer, ReadsEveryKeywordWhateverItsCase) {
    const std::vector<KeywordCase> cases = {
        {"YEAR", 11, 8},
        {"WEEKDAYASSTRING", 11, 15},
        {"WEEKDAY", 11, 7},
        {"VRAI", 3, 1},
        {"VAL", 11, 25},
        {"UNION", 2, 0},
        {"TRUE", 3, 1},
        {"TAILLE", 11, 0},
        {"SUM", 11, 17},
        {"SOMME", 11, 17},
        {"SIZE", 11, 0},
        {"SECONDE", 11, 13},
        {"SECOND", 11, 13},
        {"OU", 12, 1},
        {"OR", 12, 1},
        {"ON", 11, 26},
        {"NOT", 11, 2},
        {"NON", 11, 2},
        {"MOY", 11, 18},
        {"MONTHASSTRING", 11, 16},
        {"MONTH", 11, 9},
        {"MOIS", 11, 9},
        {"MOD", 2, 5},
        {"MINUTE", 11, 12},
        {"LEN", 11, 21},
        {"JOUR", 11, 10},
        {"ISINCLUDEDIN", 1, 2},
        {"ISEMAIL", 11, 20},
        {"ISDATE", 11, 4},
        {"INTERSECTION", 2, 4},
        {"INT", 11, 5},
        {"IN", 1, 2},
        {"HOUR", 11, 11},
        {"HEURE", 11, 11},
        {"GETPARAMETER", 11, 24},
        {"FORMAT", 11, 27},
        {"FAUX", 3, 0},
        {"FALSE", 3, 0},
        {"ET", 12, 0},
        {"ESTINCLUSDANS", 1, 2},
        {"ESTEMAIL", 11, 20},
        {"ESTDATE", 11, 4},
        {"ENTIER", 11, 5},
        {"DAY", 11, 10},
        {"CVNRNI", 11, 19},
        {"CVDKNA", 11, 19},
        {"AVG", 11, 18},
        {"ANNEE", 11, 8},
        {"AND", 12, 0},
        {"et", 12, 0},
        {"mod", 2, 5},
        {"vrai", 3, 1},
        {"WeekDayAsString", 11, 15},
        {"Intersection", 2, 4},
    };
    EXPECT_EQ(cases.size(), 54u); // the 49 keywords and five in other cases
    for (const KeywordCase& item : cases) {
        SCOPED_TRACE(item.word);
        std::vector<V> tokens;
        FormulaError error;
        ASSERT_TRUE(Cut(item.word, tokens, error));
        ASSERT_EQ(tokens.size(), 1u);
        EXPECT_EQ(tokens[0].kind, item.kind);
        EXPECT_EQ(tokens[0].code, item.code);
        EXPECT_EQ(tokens[0].length, static_cast<std::int32_t>(std::string(item.word).size()));
    }
}

TEST_F(Tokenizer, ReportsTheFirstErrorWithItsPlace) {
    const std::vector<ErrorCase> cases = {
        {"1.2.3", 1, 1, 5},
        {"2 + .", 1, 5, 1},
        {"?A", 2, 1, 1},
        {"1 + ??AGE", 3, 5, 2},
        {"??AGE?", 3, 1, 2},
        {"??XYZ??", 4, 1, 7},
        {"??Q1 ??", 4, 1, 7}, // names are compared exactly
        {"??age??", 4, 1, 7},
        {"#2001-01-01", 6, 1, 1},
        {"#2001-13-45#", 7, 1, 1},
        {"#99999-01-01#", 7, 1, 1},
        {"#0099-01-01#", 7, 1, 1},
        {"#29/02/2023#", 7, 1, 1},
        {"#2024-03-05 24:00#", 7, 1, 1},
        {"#hier#", 7, 1, 1},
        {"&10:00", 8, 1, 1},
        {"&25:99&", 9, 1, 1},
        {"&10:5&", 9, 1, 1},
        {"\"abc", 10, 1, 1},
        {"{1;2", 11, 1, 1},
        {"{5 TO 3}", 12, 1, 8},
        {"{0}", 12, 1, 3},
        {"{-1}", 12, 1, 4},
        {"{1;;2}", 12, 1, 6},
        {"{1.5}", 12, 1, 5},
        {"{a TO 3}", 12, 1, 8},
        {"{99999999999}", 12, 1, 13},
        {"1 + {1 TO 10000000}", FormulaError::kListeTropLongue, 5, 15},
        {"{1 TO 600000; 600001 TO 1200000}", FormulaError::kListeTropLongue, 1, 32},
        {"NOTE", 13, 4, 1},
        {"1 ü", 13, 3, 1},
        {"x + ??XYZ??", 13, 1, 1}, // the unknown word comes first
        {"??XYZ?? + x", 4, 1, 7},
        {"@", 13, 1, 1},
        {"}", 13, 1, 1},
        {"??AGE:1??", 126, 1, 9},
        {"??AVIS:1??", 126, 1, 10},
        {"??Q1:4??", 127, 1, 8},
        {"??Q1:0??", 127, 1, 8},
        {"??Q1:-1??", 127, 1, 9},
        {"??Q1:x??", 127, 1, 8},
        {"\"é\" ??Q1:9??", 127, 5, 8},
    };
    for (const ErrorCase& item : cases) {
        SCOPED_TRACE(item.formula);
        std::vector<V> tokens;
        FormulaError error;
        EXPECT_FALSE(Cut(item.formula, tokens, error));
        ExpectError(error, item);
    }
}

// The tokens read before an error stay; "NOTE" is NOT followed by the unknown word "E".
TEST_F(Tokenizer, KeepsTheTokensReadBeforeAnError) {
    std::vector<V> tokens;
    FormulaError error;
    EXPECT_FALSE(Cut("NOTE", tokens, error));
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].kind, V::kFonction);
    EXPECT_EQ(tokens[0].code, 2);

    tokens.clear();
    EXPECT_FALSE(Cut("1 + 2 ?", tokens, error));
    EXPECT_EQ(tokens.size(), 3u);
    EXPECT_EQ(error.code, 2);
}

} // namespace
