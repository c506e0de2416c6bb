// Study fields given by a formula, applied to the weights of the interviews and of a loop level:
// the units kept are counted by hand from the fixture's table, and agree with the same field
// given by conditions; a formula that cannot be computed fails the field with its code and
// position, and changes no weight.
#include "ChampEtudeTestSupport.h"
#include "app/QuestionNiveau.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "recodes/AppliquerChampEtude.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace champ_etude_test;

namespace {

constexpr int kInterviews = 0;
constexpr int kPersons = 1;

class ChampEtudeFormuleTest : public HouseholdsFixture {
protected:
    // Stores the field in the survey under the id; answers the id.
    std::int32_t Add(std::int32_t id, CChampEtude field) {
        field.id = id;
        context.MettreAJourChampEtude(field);
        return id;
    }

    // The units of the level kept by the field (1) or not (0); empty when it fails.
    std::vector<int> Kept(std::int32_t id, int level) {
        CQuestionNiveau* records = context.DonnerNiveau(level);
        std::string error;
        EXPECT_TRUE(records->ChargerEffectifs(context, level, error)) << error;
        CVecteurDouble weights(records->GetNbreEnregistrements());
        weights.Remplir(1.0);
        error.clear();
        if (!AppliquerChampEtude(id, level, weights, context, error)) {
            ADD_FAILURE() << error;
            return {};
        }
        std::vector<int> kept;
        for (int i = 0; i < weights.GetSize(); ++i)
            kept.push_back(weights.GetAt(i) != 0.0 ? 1 : 0);
        return kept;
    }

    // The failure message of a field that cannot be applied, the weights left as they were.
    std::string Failure(std::int32_t id, int level = kInterviews) {
        CVecteurDouble weights(6);
        for (int i = 0; i < 6; ++i)
            weights.SetAt(i, 0.5 + i);
        std::string error;
        EXPECT_FALSE(AppliquerChampEtude(id, level, weights, context, error));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(weights.GetAt(i), 0.5 + i) << "weight " << i << " changed";
        return error;
    }
};

TEST_F(ChampEtudeFormuleTest, TheFormulaKeepsTheInterviewsTheConditionsKeep) {
    // AGE >= 18 and REGION Nord or Est: households 1, 5, 6 (4 gave no age, 2 is 17, 3 is in Sud).
    const std::vector<int> byHand = {1, 0, 0, 0, 1, 1};
    EXPECT_EQ(Kept(Add(10, FormulaField("Adultes", kAdultsNorthEast)), kInterviews), byHand);
    EXPECT_EQ(Kept(Add(11, ConditionsField("Adultes (conditions)")), kInterviews), byHand);
}

TEST_F(ChampEtudeFormuleTest, AtTheLoopLevelEachPersonTakesTheResultOfItsHousehold) {
    // Persons in key order: (1,1) (1,2) (2,1) (3,1) (3,2) (3,3) (5,1) (6,1) (6,2) (9,1); those of
    // households 1, 5 and 6 are kept; (9, 1) belongs to no household and has no result.
    const std::vector<int> byHand = {1, 1, 0, 0, 0, 0, 1, 1, 1, 0};
    EXPECT_EQ(Kept(Add(10, FormulaField("Adultes", kAdultsNorthEast)), kPersons), byHand);
    EXPECT_EQ(Kept(Add(11, ConditionsField("Adultes (conditions)")), kPersons), byHand);
}

TEST_F(ChampEtudeFormuleTest, AResultIsKeptWhenItIsANumberOtherThanZero) {
    struct Case {
        const char* formula;
        std::vector<int> kept;
    };
    const std::vector<Case> cases = {
        {"ON(??REGION??, -1, 0, 2)", {1, 1, 0, 1, 1, 1}}, // Nord -1 and Est 2 kept, Sud 0 not
        {"??AGE?? - 25", {0, 1, 1, 1, 1, 1}},             // 0 for household 1 only
        {"\"oui\"", {0, 0, 0, 0, 0, 0}},                  // a text is no number
        {"??AGE?? / (??SEXE?? - 1)", {0, 1, 1, 0, 0, 1}}, // men divide by 0: no value
    };
    std::int32_t id = 20;
    for (const Case& c : cases)
        EXPECT_EQ(Kept(Add(++id, FormulaField("F", c.formula)), kInterviews), c.kept) << c.formula;
}

TEST_F(ChampEtudeFormuleTest, AFormulaThatCannotBeComputedFailsTheFieldWithItsCauseCodeAndPosition) {
    using S = StringTable::Id;
    struct Case {
        const char* formula;
        std::vector<std::string> message; // id's arguments after the field's name
        S id;
    };
    const std::vector<Case> cases = {
        // ">=" without its right side
        {"??AGE?? >= ", {"opérateur ou fonction sans assez de valeurs", "109", "9"}, StringTable::kFormuleChampEtude},
        {"??AGEX?? = 1", {"aucune question de ce nom", "4", "1"}, StringTable::kFormuleChampEtude},
        // A formula emptied by hand: the field still says it is given by a formula.
        {"", {"la formule ne contient aucune valeur", "0", "0"}, StringTable::kFormuleChampEtude},
        {"1 = ??AGEP??", {"les réponses de la question ne peuvent pas être lues", "200", "5"},
         StringTable::kFormuleChampEtudeLecture}, // asked per person
    };
    std::int32_t id = 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        const std::string error = Failure(Add(++id, FormulaField("Mal écrit", c.formula)));
        std::vector<std::string> arguments = {"Mal écrit"};
        arguments.insert(arguments.end(), c.message.begin(), c.message.end());
        if (c.id == StringTable::kFormuleChampEtudeLecture) {
            ASSERT_GT(error.size(), 0u);
            const std::string start =
                StringTable::Format(Message(c.id, {arguments[0], arguments[1], arguments[2], arguments[3], ""}));
            EXPECT_EQ(error.substr(0, start.size()), start);
            EXPECT_GT(error.size(), start.size()) << "the reading's own reason is missing";
        } else {
            EXPECT_EQ(error, StringTable::Format(Message(c.id, arguments)));
        }
        EXPECT_NE(error.find("'Mal écrit'"), std::string::npos);
        // The cause is told in words, beside its position.
        EXPECT_NE(error.find(c.message[0]), std::string::npos) << error;
    }
}

TEST_F(ChampEtudeFormuleTest, AFieldNoLongerInTheSurveyFailsAndAllInterviewsFilterNothing) {
    EXPECT_EQ(Failure(999), StringTable::Format(Message(StringTable::kChampEtudeInconnu, {"999"})));
    EXPECT_EQ(Kept(-1, kInterviews), std::vector<int>(6, 1));
}

} // namespace
