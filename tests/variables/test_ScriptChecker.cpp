#include "ScriptTestSupport.h"

#include "app/StringTable.h"
#include "support/SettingsFixture.h"
#include "variables/ScriptChecker.h"
#include "variables/ScriptLexer.h"
#include "variables/ScriptProgram.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A script the checker refuses: the message and the index of the token it shows.
struct RefusedCase {
    const char* script;
    int message;
    int token;
};

class ScriptCheckerTest : public script_test::ScriptSurveyTest {
protected:
    bool Check(const std::string& script, ScriptError& error) {
        ScriptProgram program;
        return ScriptProgram::Compiler(script, Survey(), program, error);
    }
};

TEST_F(ScriptCheckerTest, RefusesEachFaultAtItsToken) {
    namespace S = StringTable;
    const std::vector<RefusedCase> cases{
        {"   ", S::kScriptCaractereInattendu, 0},
        {"1 + 2 * 3", S::kScriptAmbigu, 3},
        {"??A?? + ??B?? - ??C??", S::kScriptAmbigu, 3},
        {"??A?? = 1 ET ??B?? = 2 OU ??C?? = 3", S::kScriptAmbigu, 7},
        {"1 < 2 = 3", S::kScriptAmbigu, 3},
        {"COS SIN 1", S::kScriptAmbigu, 1},
        {"1 +", S::kScriptOperateurInattendu, 1},
        {"COS", S::kScriptOperateurInattendu, 0},
        {"(1 + 2", S::kScriptManqueParentheseFermante, 0},
        {"()", S::kScriptCaractereInattendu, 1},
        {"1 + 2)", S::kScriptParentheseInattendue, 3},
        {") 1", S::kScriptParentheseInattendue, 0},
        {"1 (2)", S::kScriptParentheseInattendue, 1},
        {"1 2", S::kScriptErreurSyntaxe, 1},
        {"3-2", S::kScriptErreurSyntaxe, 1},
        {"1 COS 2", S::kScriptErreurSyntaxe, 1},
        {"1 SI", S::kScriptErreurSyntaxe, 1},
        {"= 1", S::kScriptComparateurInattendu, 0},
        {"* 1", S::kScriptOperateurInattendu, 0},
        {"ET 1", S::kScriptOperateurLogiqueInattendu, 0},
        {"ALORS", S::kScriptErreurSyntaxe, 0},
        {"1 + FINSI", S::kScriptErreurSyntaxe, 2},
        {"1 + SI 1 ALORS 2 FINSI", S::kScriptSiInattendu, 2},
        {"SI SI 1 ALORS 1 FINSI ALORS 2 FINSI", S::kScriptSiInattendu, 1},
        {"SI 1 ALORS 2", S::kScriptFinSiAttendu, 0},
        {"(SI 1 ALORS 2) FINSI", S::kScriptFinSiAttendu, 1},
        {"SI 1 2 FINSI", S::kScriptAlorsAttendu, 0},
        {"SI 1 ALORS 2 SINONSI 3 FINSI", S::kScriptAlorsAttendu, 4},
        {"SI 1 ALORS 2 SINON 3 SINON 4 FINSI", S::kScriptUnSeulSinon, 6},
        {"SI 1 ALORS 2 ALORS 3 FINSI", S::kScriptErreurSyntaxe, 4},
        {"SI 1 ALORS FINSI", S::kScriptCaractereInattendu, 3},
        {"SI 1 + ALORS 2 FINSI", S::kScriptOperateurInattendu, 2},
        {"??M?? * 2", S::kScriptMultiplicationImpossible, 1},
        {"2 / ??M??", S::kScriptDivisionImpossible, 1},
        {"??M?? ET 1", S::kScriptLogiqueSurNombres, 1},
        {"1 OU ??M?? ", S::kScriptLogiqueSurNombres, 1},
        {"(??M?? + 1) * 2", S::kScriptMultiplicationImpossible, 5},
    };
    for (const RefusedCase& item : cases) {
        SCOPED_TRACE(item.script);
        ScriptError error;
        EXPECT_FALSE(Check(item.script, error));
        EXPECT_EQ(error.message.id, item.message);
        EXPECT_EQ(error.tokenIndex, item.token);
    }
}

TEST_F(ScriptCheckerTest, AcceptsScriptsWithoutAmbiguity) {
    for (const char* script : {
             "(1 + 2) * 3",
             "??A?? + ??B?? + ??C??",
             "??A?? + ??B?? = ??C?? - ??D??",
             "??A?? + ??B?? ET ??C?? + ??D??",
             "??A?? = 1 ET ??B?? = 2 ET ??C?? = 3",
             "(??A?? = 1 ET ??B?? = 2) OU ??C?? = 3",
             "SI ??AGE?? >= 18 ALORS 1 SINON 0 FINSI",
             "SI ??AGE?? < 18 ALORS 0 SINONSI ??AGE?? < 65 ALORS 1 SINONSI NR ALORS 3 SINON 2 FINSI",
             "SI 1 ALORS SI 0 ALORS 1 SINON 2 FINSI SINON (SI 1 ALORS 3 FINSI) FINSI",
             "SI 1 ALORS 2 FINSI + 1",
             "SI 1 ALORS 2 FINSI * ??M??",
             "COS(SI 1 ALORS 0 FINSI)",
             "3 <= ??M??",
             "??M?? = 3",
             "TAILLE(??M??) * 2",
             "??M??",
             "??SEXE?? * 10",
             "LOG(??A??) / LN(2)",
         }) {
        SCOPED_TRACE(script);
        ScriptError error;
        EXPECT_TRUE(Check(script, error)) << error.message.id << " at " << error.tokenIndex;
    }
}

TEST_F(ScriptCheckerTest, GivesTheStaticTypeOfARange) {
    ScriptLexing lexing;
    ASSERT_TRUE(LexerScript("??M?? + 2", ScriptLexer::kCompiler, Survey(), lexing));
    ScriptError error;
    int type = 0;
    ASSERT_TRUE(VerifierScript(lexing.tokens, 0, 3, true, error, type));
    EXPECT_EQ(type, ScriptTypes::kListe);
    ASSERT_TRUE(VerifierScript(lexing.tokens, 2, 3, true, error, type));
    EXPECT_EQ(type, ScriptTypes::kNombre);
}

TEST_F(ScriptCheckerTest, RefusesNestingThatWouldExhaustTheStack) {
    std::string parentheses(100000, '(');
    parentheses += "1";
    parentheses += std::string(100000, ')');
    std::string blocks;
    for (int i = 0; i < 10000; ++i)
        blocks += "SI 1 ALORS ";
    blocks += "1";
    for (int i = 0; i < 10000; ++i)
        blocks += " FINSI";
    for (const std::string& script : {parentheses, blocks}) {
        ScriptError error;
        EXPECT_FALSE(Check(script, error));
        EXPECT_EQ(error.message.id, StringTable::kScriptTropImbrique);
    }

    std::string deepEnough(kProfondeurScriptMax - 1, '(');
    deepEnough += "1" + std::string(kProfondeurScriptMax - 1, ')');
    ScriptError error;
    EXPECT_TRUE(Check(deepEnough, error)) << error.message.id;
}

} // namespace
