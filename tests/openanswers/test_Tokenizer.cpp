#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "openanswers/DictionaryOrder.h"
#include "openanswers/Tokenizer.h"

namespace {

std::vector<std::string> Tokens(const std::string& answer) {
    std::vector<std::string> tokens;
    Tokenizer::Decouper(answer, [&](std::string_view token) { tokens.emplace_back(token); });
    return tokens;
}

struct TokenCase {
    const char* name;
    std::string answer;
    std::vector<std::string> tokens;
};

// Word characters are digits and the letters Windows-1252 holds; capitals fold to lower case.
TEST(Tokenizer, CutsAnswersIntoFoldedForms) {
    const std::vector<TokenCase> cases = {
        {"apostrophes and capitals", "c'est l'ÉTÉ du cœur", {"c", "est", "l", "été", "du", "cœur"}},
        {"one form three times", "Rouge rouge ROUGE", {"rouge", "rouge", "rouge"}},
        {"apostrophe inside a word", "aujourd'hui", {"aujourd", "hui"}},
        {"digits are word characters", "3 fois, 12h30 et 2e", {"3", "fois", "12h30", "et", "2e"}},
        {"separators only", " ,;.!? -'\t\n«»", {}},
        {"empty answer", "", {}},
        {"hyphen separates", "rendez-vous", {"rendez", "vous"}},
        {"capitals of the code page", "ŒUVRE ŸVES ÀÇÑ Š Ž", {"œuvre", "ÿves", "àçñ", "š", "ž"}},
        {"letters with no capital", "straße", {"straße"}},
        {"outside the code page separates", "abc\u0394def\u4E2Dg", {"abc", "def", "g"}},
        {"multiplication sign separates", "2\u00D73", {"2", "3"}},
        // Not valid UTF-8: the bytes are Windows-1252 (0xC9 É, 0xE9 é, 0x9C œ).
        {"invalid UTF-8 read as Windows-1252", "\xC9t\xE9 c\x9Cur", {"été", "cœur"}},
    };
    for (const TokenCase& c : cases)
        EXPECT_EQ(Tokens(c.answer), c.tokens) << c.name;
}

TEST(Tokenizer, CutsAMegabyteAnswer) {
    std::string answer;
    std::size_t repeats = 0;
    for (; answer.size() < 1'000'000; ++repeats)
        answer += "Très BON produit, ";
    const std::vector<std::string> tokens = Tokens(answer);
    ASSERT_EQ(tokens.size(), 3 * repeats);
    EXPECT_EQ(tokens[0], "très");
    EXPECT_EQ(tokens[1], "bon");
    EXPECT_EQ(tokens.back(), "produit");
}

struct OrderCase {
    const char* a;
    const char* b;
    int sign; // of Comparer(a, b)
};

// Accented letters count as their base letter first (é as e, œ as oe), then code points decide.
TEST(DictionaryOrder, ComparesByBaseLettersThenCodePoints) {
    const std::vector<OrderCase> cases = {
        {"abc", "abd", -1},     {"abc", "abc", 0},     {"ab", "abc", -1},
        {"été", "ete", 1},      {"été", "etf", -1},    {"été", "étude", -1},
        {"ecole", "école", -1}, {"école", "ecoles", -1}, {"cœur", "coeur", 1},
        {"cœur", "coeus", -1},  {"ça", "cb", -1},      {"Rouge", "rouge", 0},
        {"ÉTÉ", "été", 0},      {"zèbre", "zebre", 1}, {"straße", "strasse", 1},
        {"straße", "strasser", -1}, {"9", "a", -1},    {"à", "b", -1},
    };
    for (const OrderCase& c : cases) {
        const int order = DictionaryOrder::Comparer(c.a, c.b);
        EXPECT_EQ((order > 0) - (order < 0), c.sign) << c.a << " / " << c.b;
        const int reverse = DictionaryOrder::Comparer(c.b, c.a);
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign) << c.b << " / " << c.a;
    }
}

TEST(DictionaryOrder, SortsAndSearchesStopWords) {
    std::vector<std::string> words = {"Le", "été", "de", "À", "ete", "des"};
    DictionaryOrder::TrierListe(words);
    EXPECT_EQ(words, (std::vector<std::string>{"à", "de", "des", "ete", "été", "le"}));
    EXPECT_TRUE(DictionaryOrder::Contient(words, "LE"));
    EXPECT_TRUE(DictionaryOrder::Contient(words, "été"));
    EXPECT_FALSE(DictionaryOrder::Contient(words, "les"));
}

} // namespace
