#include "ScriptTestSupport.h"

#include "app/StringTable.h"
#include "support/SettingsFixture.h"
#include "formula/FormulaText.h"
#include "variables/ScriptLexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using E = CElementCompile;

// One expected token: its kind, its value (or, for a reference, the name of its question), and
// where it lies.
struct Expected {
    std::uint16_t kind;
    double value;
    std::int32_t position;
    std::int32_t length;
    const char* question = nullptr;
};

struct TokenCase {
    const char* script;
    std::vector<Expected> tokens;
};

struct FaultCase {
    const char* script;
    int message;
    std::vector<std::string> arguments;
    std::int32_t position; // 1-based
    std::int32_t length;
};

class ScriptLexerTest : public script_test::ScriptSurveyTest {
protected:
    bool Cut(const std::string& script, int mode, ScriptLexing& out) {
        return LexerScript(script, mode, Survey(), out);
    }
};

const std::vector<Expected> kSiAge{
    {E::kSi, 0, 0, 2},         {E::kQuestionNumerique, 0, 3, 7, "AGE"}, {E::kComparateur, 6, 11, 2},
    {E::kNombre, 18, 14, 2},   {E::kAlors, 0, 17, 5},                   {E::kNombre, 1, 23, 1},
    {E::kSinon, 0, 25, 5},     {E::kNombre, 0, 31, 1},                  {E::kFinSi, 0, 33, 5},
};

TEST_F(ScriptLexerTest, CutsScriptsIntoTokensWithTheirPlaces) {
    const std::vector<TokenCase> cases{
        {"SI ??AGE?? >= 18 ALORS 1 SINON 0 FINSI", kSiAge},
        {"si ??AGE?? >= 18 alors 1 sinon 0 finsi", kSiAge},
        {"3-2", {{E::kNombre, 3, 0, 1}, {E::kNombre, -2, 1, 2}}},
        {"3 - 2", {{E::kNombre, 3, 0, 1}, {E::kArithmetique, 8, 2, 1}, {E::kNombre, 2, 4, 1}}},
        {"??A??-1", {{E::kQuestionNumerique, 0, 0, 5, "A"}, {E::kNombre, -1, 5, 2}}},
        {"??QQ???+1", {{E::kQuestionNumerique, 0, 0, 7, "QQ?"}, {E::kArithmetique, 7, 7, 1}, {E::kNombre, 1, 8, 1}}},
        {"??Âge?? / 2", {{E::kQuestionNumerique, 0, 0, 7, "Âge"}, {E::kArithmetique, 10, 8, 1}, {E::kNombre, 2, 10, 1}}},
        {"(1,5*2.25)",
         {{E::kParentheseOuvrante, 0, 0, 1},
          {E::kNombre, 1.5, 1, 3},
          {E::kArithmetique, 9, 4, 1},
          {E::kNombre, 2.25, 5, 4},
          {E::kParentheseFermante, 0, 9, 1}}},
        {"= <> <= < > >=",
         {{E::kComparateur, 1, 0, 1},
          {E::kComparateur, 2, 2, 2},
          {E::kComparateur, 3, 5, 2},
          {E::kComparateur, 4, 8, 1},
          {E::kComparateur, 5, 10, 1},
          {E::kComparateur, 6, 12, 2}}},
        {"NR DK NI NA AUTRE OTHER VRAI TRUE FAUX FALSE",
         {{E::kNombre, -999999.99, 0, 2},
          {E::kNombre, -999999.99, 3, 2},
          {E::kNombre, -888888.88, 6, 2},
          {E::kNombre, -888888.88, 9, 2},
          {E::kNombre, -3, 12, 5},
          {E::kNombre, -3, 18, 5},
          {E::kNombre, 1, 24, 4},
          {E::kNombre, 1, 29, 4},
          {E::kNombre, 0, 34, 4},
          {E::kNombre, 0, 39, 5}}},
        {"ET AND OU OR", {{E::kLogique, 1, 0, 2}, {E::kLogique, 1, 3, 3}, {E::kLogique, 2, 7, 2}, {E::kLogique, 2, 10, 2}}},
        {"COS EXP LOG LN SQR RAC SIN TAILLE SIZE CVNRNI CVDKNA INT ENTIER",
         {{E::kFonction, 1, 0, 3},
          {E::kFonction, 2, 4, 3},
          {E::kFonction, 3, 8, 3},
          {E::kFonction, 4, 12, 2},
          {E::kFonction, 5, 15, 3},
          {E::kFonction, 5, 19, 3},
          {E::kFonction, 6, 23, 3},
          {E::kFonction, 7, 27, 6},
          {E::kFonction, 7, 34, 4},
          {E::kFonction, 8, 39, 6},
          {E::kFonction, 8, 46, 6},
          {E::kFonction, 9, 53, 3},
          {E::kFonction, 9, 57, 6}}},
        {"IF THEN ELSEIF ELSE ENDIF",
         {{E::kSi, 0, 0, 2}, {E::kAlors, 0, 3, 4}, {E::kSinonSi, 0, 8, 6}, {E::kSinon, 0, 15, 4}, {E::kFinSi, 0, 20, 5}}},
        // Nothing is asked of the character after a keyword.
        {"ETAUTRE", {{E::kLogique, 1, 0, 2}, {E::kNombre, -3, 2, 5}}},
        {"TAILLE(??M??)+??SEXE??",
         {{E::kFonction, 7, 0, 6},
          {E::kParentheseOuvrante, 0, 6, 1},
          {E::kQuestionFermeeMultiple, 0, 7, 5, "M"},
          {E::kParentheseFermante, 0, 12, 1},
          {E::kArithmetique, 7, 13, 1},
          {E::kQuestionFermee, 0, 14, 8, "SEXE"}}},
        {" \t\r\n ", {}},
    };
    for (const TokenCase& item : cases) {
        SCOPED_TRACE(item.script);
        ScriptLexing out;
        ASSERT_TRUE(Cut(item.script, ScriptLexer::kCompiler, out)) << out.error.message.id;
        ASSERT_EQ(out.tokens.size(), item.tokens.size());
        for (std::size_t i = 0; i < item.tokens.size(); ++i) {
            SCOPED_TRACE(i);
            const CElementCompile& token = out.tokens[i];
            const Expected& expected = item.tokens[i];
            EXPECT_EQ(token.kind, expected.kind);
            EXPECT_EQ(token.position, expected.position);
            EXPECT_EQ(token.length, expected.length);
            if (expected.question != nullptr) {
                ASSERT_NE(token.question, nullptr);
                EXPECT_EQ(token.question->name, expected.question);
            } else {
                EXPECT_DOUBLE_EQ(token.value, expected.value);
            }
        }
    }
}

TEST_F(ScriptLexerTest, ReportsTheFirstFaultWithItsPlace) {
    namespace S = StringTable;
    const std::vector<FaultCase> cases{
        {"", S::kScriptExpressionVide, {}, 0, 0},
        {"1 + 1.2.3", S::kScriptValeurNumeriqueInvalide, {}, 5, 5},
        {"1 + ?", S::kScriptCaractereInattendu, {}, 5, 1},
        {"?A", S::kScriptCaractereInattendu, {}, 1, 1},
        {"1 + ??AGE + 1", S::kScriptManqueFinQuestion, {}, 5, 2},
        {"2 * ??INCONNU??", S::kScriptQuestionInexistante, {"INCONNU"}, 5, 11},
        {"??AVIS?? = 1", S::kScriptQuestionInutilisable, {"AVIS"}, 1, 8},
        {"1 @ 2", S::kScriptCaractereInattendu, {}, 3, 1},
        {"1 + é", S::kScriptCaractereInattendu, {}, 5, 1},
        // A malformed sequence is one character, as the text's length counts it.
        {"1 + \xE9\x97n", S::kScriptCaractereInattendu, {}, 5, 1},
        {"SINUS", S::kScriptCaractereInattendu, {}, 4, 1},
        {"ETAT", S::kScriptCaractereInattendu, {}, 3, 1},
    };
    for (const FaultCase& item : cases) {
        SCOPED_TRACE(item.script);
        ScriptLexing out;
        EXPECT_FALSE(Cut(item.script, ScriptLexer::kCompiler, out));
        EXPECT_EQ(out.error.message, Message(item.message, item.arguments));
        EXPECT_EQ(out.error.position, item.position);
        EXPECT_EQ(out.error.length, item.length);
    }
}

TEST_F(ScriptLexerTest, CompileModeStopsAtTheFaultAndKeepsTheTokensBeforeIt) {
    ScriptLexing out;
    EXPECT_FALSE(Cut("1 + @ + ??INCONNU??", ScriptLexer::kCompiler, out));
    ASSERT_EQ(out.tokens.size(), 2U);
    EXPECT_EQ(out.error.message.id, StringTable::kScriptCaractereInattendu);
    EXPECT_EQ(out.error.position, 5);
}

TEST_F(ScriptLexerTest, ColourModeColoursEveryPieceAndGoesOnAfterFaults) {
    ScriptLexing out;
    EXPECT_FALSE(Cut("SI @ ??A?? x ET (", ScriptLexer::kColorer, out));
    EXPECT_TRUE(out.tokens.empty());
    // The first fault is the one reported.
    EXPECT_EQ(out.error.message.id, StringTable::kScriptCaractereInattendu);
    EXPECT_EQ(out.error.position, 4);
    const std::vector<ScriptColourSpan> expected{
        {0, 2, ScriptLexer::Rgb(0, 0, 255)},  {3, 1, ScriptLexer::Rgb(255, 0, 0)},
        {5, 5, ScriptLexer::Rgb(0, 0, 127)},  {11, 1, ScriptLexer::Rgb(255, 0, 0)},
        {13, 2, ScriptLexer::Rgb(0, 0, 255)}, {16, 1, ScriptLexer::Rgb(0, 0, 0)},
    };
    ASSERT_EQ(out.spans.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(out.spans[i].position, expected[i].position);
        EXPECT_EQ(out.spans[i].length, expected[i].length);
        EXPECT_EQ(out.spans[i].colour, expected[i].colour);
    }

    // Malformed sequences count as the text's length counts them: no span reaches past its end.
    for (const char* script : {"SI 1 ALORS f\xE9\x97nsi + ??A??", "\xE9\x97\xE9", "x\xF0\x9F\x98"}) {
        SCOPED_TRACE(script);
        ScriptLexing malformed;
        Cut(script, ScriptLexer::kColorer, malformed);
        const auto characters = static_cast<std::int32_t>(FormulaText::CharacterCount(script));
        for (const ScriptColourSpan& span : malformed.spans)
            EXPECT_LE(span.position + span.length, characters) << span.position << " " << span.length;
    }

    ScriptLexing number;
    EXPECT_TRUE(Cut("12", ScriptLexer::kColorer, number));
    ASSERT_EQ(number.spans.size(), 1U);
    EXPECT_EQ(number.spans[0].colour, ScriptLexer::Rgb(120, 0, 200));
}

} // namespace
