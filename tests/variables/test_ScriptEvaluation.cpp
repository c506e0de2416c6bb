#include "ScriptTestSupport.h"

#include "app/StringTable.h"
#include "formula/FormulaData.h"
#include "support/FixtureStudyTest.h"
#include "support/SettingsFixture.h"
#include "variables/CalculerScript.h"
#include "variables/ScriptEvaluator.h"
#include "variables/ScriptKeywords.h"
#include "variables/ScriptOperations.h"
#include "variables/ScriptProgram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double NR = -999999.99;
constexpr double NI = -888888.88;

struct ValueCase {
    const char* script;
    double stored;
};

class ScriptValueTest : public script_test::ScriptSurveyTest {
protected:
    // What one interview of no answers stores for the script.
    double Store(const std::string& script) {
        ScriptProgram program;
        ScriptError error;
        EXPECT_TRUE(ScriptProgram::Compiler(script, Survey(), program, error))
            << error.message.id << " at " << error.tokenIndex;
        const FormulaData noAnswers;
        const ScriptEvaluator evaluator(program, Survey(), noAnswers);
        return evaluator.Resultat(0);
    }
};

TEST_F(ScriptValueTest, EvaluatesOperatorsLeftToRightWithinALevel) {
    const std::vector<ValueCase> cases{
        {"(1 + 2) * 3", 9},
        {"1 + 2 + 3", 6},
        {"10 / 4", 2.5},
        {"2 * 3 * 4", 24},
        {"10 - 3 - 2", 5},
        {"1 + 2 = 4 - 1", 1},
        {"1 + 2 ET 0 + 0", 0},
        {"1 + 2 OU 0 + 0", 1},
        {"1 = 1 ET 2 = 3", 0},
        {"1 = 1 OU 2 = 3", 1},
        {"2 > 1 ET 3 >= 3 ET 2 <= 2", 1},
        {"1 <> 2", 1},
        {"2 < 2", 0},
        {"VRAI + VRAI", 2},
        {"AUTRE", -3},
        {"-1,5 * 2", -3},
    };
    for (const ValueCase& item : cases) {
        SCOPED_TRACE(item.script);
        EXPECT_DOUBLE_EQ(Store(item.script), item.stored);
    }
}

TEST_F(ScriptValueTest, TakesTheFirstBranchWhoseConditionIsNotZero) {
    const std::vector<ValueCase> cases{
        {"SI 1 ALORS 5 SINON 6 FINSI", 5},
        {"SI 0 ALORS 5 SINON 6 FINSI", 6},
        {"SI 0 ALORS 1 FINSI", NR},
        {"SI 0 ALORS 1 SINONSI 0 ALORS 2 FINSI", NR},
        {"SI 0 ALORS 1 SINONSI 7 ALORS 2 SINON 3 FINSI", 2},
        {"SI FAUX ALORS 1 SINONSI FAUX ALORS 2 SINON 3 FINSI", 3},
        {"SI 1 ALORS SI 0 ALORS 1 SINON 2 FINSI SINON 3 FINSI", 2},
        {"SI 0 ALORS 1 SINON (SI 1 ALORS 4 FINSI) FINSI", 4},
        {"SI 1 ALORS 4 FINSI + 1", 5},
        {"COS(SI 1 ALORS 0 FINSI)", 1},
        // Only the condition's number counts: a missing value is true.
        {"SI NR ALORS 1 SINON 2 FINSI", 1},
        {"SI NI ALORS 1 SINON 2 FINSI", 1},
    };
    for (const ValueCase& item : cases) {
        SCOPED_TRACE(item.script);
        EXPECT_DOUBLE_EQ(Store(item.script), item.stored);
    }
}

TEST_F(ScriptValueTest, MissingValuesAndErrorsStoreTheNonResponse) {
    const std::vector<ValueCase> cases{
        {"NR + 1", NR},
        {"NI * 2", NR},
        {"1 - DK", NR},
        {"1 / 0", NR},
        {"NR / 0", NR},
        {"(1 / 0) + 1", NR},
        {"NR", NR},
        {"NI", NI},
        // Missing values compare as the numbers they are stored as.
        {"NR < 0", 1},
        {"NI > NR", 1},
        {"NR = DK", 1},
        {"NR >= 18", 0},
        {"EXP(1000)", NR},
    };
    for (const ValueCase& item : cases) {
        SCOPED_TRACE(item.script);
        EXPECT_DOUBLE_EQ(Store(item.script), item.stored);
    }
}

TEST_F(ScriptValueTest, BuiltInFunctions) {
    const std::vector<ValueCase> cases{
        {"LOG(1000)", 3},
        {"LOG(0)", NR},
        {"LN(1)", 0},
        {"LN(-1)", NR},
        {"SQR(-4)", NR},
        {"RAC(16)", 4},
        {"SQR(0)", 0},
        {"EXP(0)", 1},
        {"COS(0)", 1},
        {"SIN(0)", 0},
        {"INT(-2.7)", -2},
        {"ENTIER(2.7)", 2},
        {"CVNRNI(NR)", 0},
        {"CVDKNA(NA)", 0},
        {"CVNRNI(5)", 5},
        {"COS(NR)", NR},
        {"LOG(NI)", NR},
        {"TAILLE(5)", 0},
        {"SIZE(NR)", 0},
        {"TAILLE(1 / 0)", NR},
        {"EXP(1 / 0)", NR},
    };
    for (const ValueCase& item : cases) {
        SCOPED_TRACE(item.script);
        EXPECT_NEAR(Store(item.script), item.stored, 1e-12);
    }
    EXPECT_NEAR(Store("EXP(1)"), 2.718281828459045, 1e-15);
    EXPECT_NEAR(Store("LN(10)"), 2.302585092994046, 1e-15);
    EXPECT_NEAR(Store("SIN(1)"), 0.8414709848078965, 1e-15);
}

TEST(ScriptOperations, ListsAreSequencesOfNumbers) {
    using ScriptOperations::Calculer;
    using ScriptOperations::Comparer;
    using V = CValeurScript;
    const V list = V::Liste({1, 3});
    const auto numbers = [](const V& value) { return std::vector<double>(value.Sequence().begin(), value.Sequence().end()); };
    // Union keeps the left order and adds what is not there yet; difference removes one per number.
    EXPECT_EQ(numbers(Calculer(list, 7, V::Liste({3, 2, 2}))), (std::vector<double>{1, 3, 2}));
    EXPECT_EQ(numbers(Calculer(V::Liste({1, 3, 1}), 8, V::Liste({1}))), (std::vector<double>{3, 1}));
    EXPECT_TRUE(Calculer(V::Nombre(2), 7, list).EstListe());
    EXPECT_TRUE(Calculer(list, 9, V::Nombre(2)).EstErreur());
    EXPECT_TRUE(Calculer(list, 10, V::Nombre(2)).EstErreur());
    // A missing value wins over a list.
    EXPECT_TRUE(Calculer(list, 7, V::Nombre(NR)).EstManquant());
    // Inclusion: "3 <= list" holds when the list has 3; equality is mutual inclusion.
    EXPECT_EQ(Comparer(V::Nombre(3), 3, list).number, 1.0);
    EXPECT_EQ(Comparer(list, 6, V::Nombre(3)).number, 1.0);
    EXPECT_EQ(Comparer(V::Nombre(2), 3, list).number, 0.0);
    EXPECT_EQ(Comparer(list, 1, V::Nombre(3)).number, 0.0);
    EXPECT_EQ(Comparer(list, 1, V::Liste({3, 1, 1})).number, 1.0);
    EXPECT_EQ(Comparer(list, 2, V::Liste({3, 1})).number, 0.0);
    // An error equals nothing, not even itself.
    EXPECT_EQ(Comparer(V::Erreur(), 1, V::Erreur()).number, 0.0);
    EXPECT_EQ(Comparer(V::Erreur(), 2, V::Nombre(0)).number, 1.0);
    // TAILLE counts the elements.
    EXPECT_EQ(ScriptKeywords::EvaluerFonction(ScriptKeywords::kTaille, V::Liste({4, 1, 2})).number, 3.0);
    EXPECT_EQ(ScriptKeywords::EvaluerFonction(ScriptKeywords::kTaille, V::Liste({})).number, 0.0);
}

// Five interviews with two numeric questions, a closed question and a closed question of up to
// three answers whose modality codes are not their positions.
constexpr const char* kHousehold = R"(
questionnaire "Scripts" language=fr
language 1036 fr "Français"
question 1 AGE numeric
question 2 REVENU numeric
question 3 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 4 LOISIRS closed answers=3
  modality 10 fr "Sport"
  modality 20 fr "Lecture"
  modality 30 fr "Cinéma"
  modality 40 fr "Musique"
records
Cle1,1;1,2;1,3;1,4;1,4;2,4;3
1,34,1500,1,10,30,
2,17,-888888.88,2,20,,
3,-999999.99,800,2,,,
4,52,-999999.99,1,40,10,20
5,18,0,2,30,,
end
)";

struct InterviewCase {
    const char* script;
    std::vector<double> stored;
};

class ScriptOnAnswersTest : public FixtureStudyTest {};

TEST_F(ScriptOnAnswersTest, GivesEveryInterviewItsValue) {
    OpenFixture(kHousehold, "scripts");
    // Per interview, from the records above: AGE 34, 17, NR, 52, 18; REVENU 1500, NI, 800, NR, 0;
    // SEXE positions 1, 2, 2, 1, 2; LOISIRS positions {1, 3}, {2}, {}, {4, 1, 2}, {3}.
    const std::vector<InterviewCase> cases{
        {"SI ??AGE?? >= 18 ALORS 1 SINON 0 FINSI", {1, 0, 0, 1, 1}},
        {"??REVENU?? + 1", {1501, NR, 801, NR, 1}},
        {"??REVENU?? / ??AGE??", {1500.0 / 34.0, NR, NR, NR, 0}},
        {"??REVENU?? / 0", {NR, NR, NR, NR, NR}},
        {"TAILLE(??LOISIRS??)", {2, 1, 0, 3, 1}},
        {"3 <= ??LOISIRS??", {1, 0, 0, 0, 1}},
        {"??LOISIRS?? >= 3", {1, 0, 0, 0, 1}},
        {"??LOISIRS?? = 3", {0, 0, 0, 0, 1}},
        {"??LOISIRS??", {NR, NR, NR, NR, NR}},
        {"TAILLE((??LOISIRS?? + 2) - 1)", {2, 1, 1, 2, 2}},
        {"??SEXE?? * 10", {10, 20, 20, 10, 20}},
        {"SI ??SEXE?? = 1 ALORS ??AGE?? SINONSI ??AGE?? < 18 ALORS 0 SINON ??REVENU?? + 5 FINSI", {34, 0, 0, 52, 5}},
        {"CVNRNI(??REVENU??)", {1500, 0, 800, 0, 0}},
        {"LOG(??REVENU??)", {std::log10(1500.0), NR, std::log10(800.0), NR, NR}},
        {"??AGE?? >= 18 ET ??SEXE?? = 2", {0, 0, 0, 0, 1}},
        {"??AGE?? + ??REVENU?? ET ??SEXE?? - 1", {0, 1, 1, 0, 1}},
    };
    for (const InterviewCase& item : cases) {
        SCOPED_TRACE(item.script);
        std::vector<double> values;
        ScriptError error;
        ASSERT_TRUE(CalculerScript(item.script, context, values, error)) << StringTable::Format(error.message);
        ASSERT_EQ(values.size(), item.stored.size());
        for (std::size_t i = 0; i < values.size(); ++i)
            EXPECT_NEAR(values[i], item.stored[i], 1e-9) << "interview " << i;
    }
}

TEST_F(ScriptOnAnswersTest, ARefusedScriptGivesNoValues) {
    OpenFixture(kHousehold, "scripts");
    std::vector<double> values{1, 2};
    ScriptError error;
    EXPECT_FALSE(CalculerScript("??AGEE?? + 1", context, values, error));
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(error.message, Message(StringTable::kScriptQuestionInexistante, {"AGEE"}));
    EXPECT_EQ(error.position, 1);
    EXPECT_EQ(error.length, 8);
    EXPECT_FALSE(CalculerScript("1 + 2 * 3", context, values, error));
    EXPECT_EQ(error.message.id, StringTable::kScriptAmbigu);
    EXPECT_EQ(error.tokenIndex, 3);
}

TEST_F(ScriptOnAnswersTest, ALongScriptIsCutCheckedAndEvaluated) {
    OpenFixture(kHousehold, "scripts");
    std::string script;
    for (int i = 0; i < 250000; ++i)
        script += "1 + ";
    script += "??AGE??";
    ASSERT_GE(script.size(), 1000000U);
    std::vector<double> values;
    ScriptError error;
    ASSERT_TRUE(CalculerScript(script, context, values, error)) << StringTable::Format(error.message);
    EXPECT_EQ(values, (std::vector<double>{250034, 250017, NR, 250052, 250018}));
}

} // namespace
