// Study fields applied to the weights of a level: every condition kind, the connectors, the
// descriptions, a field given by a formula, and the fields created one per modality.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ChampEtudeTestSupport.h"
#include "app/IdName.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "recodes/AppliquerChampEtude.h"

using namespace champ_etude_test;

namespace {

using Weights = std::vector<double>;

class ChampEtudeTest : public PurchasesFixture {
protected:
    // The weights 1 .. 7 after applying field `id` at the interview level.
    Weights Apply(std::int32_t id) {
        CVecteurDouble weights(7);
        for (int i = 0; i < 7; ++i)
            weights.SetAt(i, i + 1.0);
        std::string error;
        EXPECT_TRUE(AppliquerChampEtude(id, 0, weights, context, error)) << error;
        Weights out;
        for (int i = 0; i < weights.GetSize(); ++i)
            out.push_back(weights.GetAt(i));
        return out;
    }

    // The weights kept by a field of one condition (connectors all AND).
    Weights ApplyOne(const std::string& question, std::int16_t kind, std::vector<std::int32_t> modalities,
                     double a = 0.0, double b = 0.0) {
        CChampEtude field;
        field.connectors = {1, 1, 1};
        SetCondition(field, 0, question, kind, std::move(modalities), a, b);
        AddField(10, field);
        return Apply(10);
    }

    // 1-based weights where `passes` is 1, else 0.
    static Weights Kept(std::vector<int> passes) {
        Weights out;
        for (std::size_t i = 0; i < passes.size(); ++i)
            out.push_back(passes[i] != 0 ? static_cast<double>(i + 1) : 0.0);
        return out;
    }
};

TEST_F(ChampEtudeTest, EveryClosedKindKeepsTheUnitsItsRuleGives) {
    struct Case {
        std::int16_t kind;
        std::vector<std::int32_t> selection;
        std::vector<int> passes; // interviews 1 .. 7, by hand from the fixture's table
    };
    const std::vector<Case> cases = {
        {0, {0, 1}, {1, 1, 0, 0, 1, 1, 1}}, // at least one of Pain, Lait
        {1, {0, 1}, {0, 0, 1, 1, 0, 0, 0}}, // none of them
        {2, {0, 1}, {1, 0, 0, 0, 0, 0, 1}}, // both of them
        {2, {}, {1, 1, 1, 1, 1, 1, 1}},     // an empty selection is always met
        {3, {0, 1}, {1, 1, 0, 0, 0, 0, 0}}, // nothing else, and at least one answer
        {4, {0, 1}, {1, 0, 0, 0, 0, 0, 0}}, // both and nothing else
        {4, {}, {0, 0, 0, 0, 0, 0, 0}},     // no answer at all: interview 4 answers "not asked"
        {5, {0}, {0, 0, 0, 0, 0, 0, 0}},    // an unknown kind holds for nobody
    };
    for (const Case& c : cases)
        EXPECT_EQ(ApplyOne("ACHATS", c.kind, c.selection), Kept(c.passes)) << "kind " << c.kind;
}

TEST_F(ChampEtudeTest, EveryNumericKindKeepsTheUnitsItsRuleGives) {
    // AGE: 20, 35, NR, 50, NI, 35, 60; a = 35, b = 50.
    struct Case {
        std::int16_t kind;
        std::vector<int> passes;
    };
    const std::vector<Case> cases = {
        {0, {0, 0, 1, 0, 0, 0, 0}}, {1, {0, 0, 0, 0, 1, 0, 0}}, {2, {0, 1, 0, 0, 0, 1, 0}},
        {3, {1, 0, 0, 1, 0, 0, 1}}, // non-response and not asked fail "<>" although they differ
        {4, {1, 0, 0, 0, 0, 0, 0}}, {5, {1, 1, 0, 0, 0, 1, 0}}, {6, {0, 0, 0, 1, 0, 0, 1}},
        {7, {0, 1, 0, 1, 0, 1, 1}}, {8, {0, 1, 0, 1, 0, 1, 0}}, {9, {1, 0, 0, 0, 0, 0, 1}},
        {10, {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ApplyOne("AGE", c.kind, {}, 35.0, 50.0), Kept(c.passes)) << "kind " << c.kind;
}

TEST_F(ChampEtudeTest, TwoConditionsJoinedByAndOrOrGiveTheHandCountedWeights) {
    // Condition 1: ACHATS has Pain (interviews 1, 5, 7). Condition 2: AGE >= 35 (2, 4, 6, 7).
    CChampEtude field;
    SetCondition(field, 0, "ACHATS", 0, {0});
    SetCondition(field, 1, "AGE", 7, {}, 35.0);
    field.connectors = {1, 1, 1};
    AddField(20, field);
    EXPECT_EQ(Apply(20), Kept({0, 0, 0, 0, 0, 0, 1}));
    field.connectors = {0, 1, 1};
    AddField(21, field);
    EXPECT_EQ(Apply(21), Kept({1, 1, 0, 1, 1, 1, 1}));

    // The same conditions as the second pair, joined to the first (an empty condition) by AND,
    // then OR, with condition 1 left empty and connector 1 OR: the empty condition passes all.
    CChampEtude pairs;
    SetCondition(pairs, 2, "ACHATS", 0, {0});
    SetCondition(pairs, 3, "AGE", 7, {}, 35.0);
    pairs.connectors = {1, 1, 1};
    AddField(22, pairs);
    EXPECT_EQ(Apply(22), Kept({0, 0, 0, 0, 0, 0, 1}));
    pairs.connectors = {1, 1, 0};
    AddField(23, pairs);
    EXPECT_EQ(Apply(23), Kept({1, 1, 1, 1, 1, 1, 1}));
    pairs.connectors = {0, 0, 1};
    SetCondition(pairs, 0, "SEXE", 0, {1}); // Femme: 2, 4, 6, 7; condition 2 empty and OR: all
    AddField(24, pairs);
    EXPECT_EQ(Apply(24), Kept({1, 1, 0, 1, 1, 1, 1}));
}

TEST_F(ChampEtudeTest, QuestionsThatCannotBeTestedAndFieldsWithoutConditions) {
    // An open question tests nothing; a field without conditions filters nobody.
    EXPECT_EQ(ApplyOne("AVIS", 0, {0}), Kept({1, 1, 1, 1, 1, 1, 1}));
    AddField(40, CChampEtude());
    EXPECT_EQ(Apply(40), Kept({1, 1, 1, 1, 1, 1, 1}));
    // A weight already 0 stays 0, and none is raised.
    CVecteurDouble weights(7);
    weights.Remplir(0.5);
    weights.SetAt(0, 0.0);
    std::string error;
    ASSERT_TRUE(AppliquerChampEtude(40, 0, weights, context, error));
    EXPECT_EQ(weights.GetAt(0), 0.0);
    EXPECT_EQ(weights.GetAt(6), 0.5);
}

TEST_F(ChampEtudeTest, AFieldGivenByAFormulaKeepsTheInterviewsWhoseResultIsNotZero) {
    // AGE: 20, 35, NR, 50, NI, 35, 60. A missing answer stays the number it is stored as, so
    // both are below 30; the four conditions, left as they were, play no part.
    CChampEtude field;
    field.name = "Jeunes";
    field.complexCondition = true;
    field.complexConditionText = "??AGE?? < 30";
    SetCondition(field, 0, "SEXE", 0, {1});
    field.connectors = {1, 1, 1};
    AddField(30, field);
    EXPECT_EQ(Apply(30), Kept({1, 0, 1, 0, 1, 0, 0}));
}

TEST_F(ChampEtudeTest, DescriptionsOfConditions) {
    CChampEtude field;
    SetCondition(field, 0, "ACHATS", 3, {0, 2, 7}); // index 7 is past the modalities: left out
    SetCondition(field, 1, "AGE", 8, {}, 1.0 / 3.0, 50.0);
    SetCondition(field, 2, "AGE", 0);
    SetCondition(field, 3, "AVIS", 0);
    EXPECT_EQ(DecrireCondition(field.conditions[0]), "Si 'ACHATS' = (aucune autre) {'Pain' 'Fruits' }");
    EXPECT_EQ(DecrireCondition(field.conditions[1]), "Si 'AGE' >= 0.333333333333333 et <= 50 ");
    EXPECT_EQ(DecrireCondition(field.conditions[2]), "Si 'AGE' est une non réponse ");
    EXPECT_EQ(DecrireCondition(field.conditions[3]), "");
    EXPECT_EQ(DecrireCondition(CChampCondition()), "");
    field.conditions[0].kind = 9;
    EXPECT_EQ(DecrireCondition(field.conditions[0]), "Si 'ACHATS'  {'Pain' 'Fruits' }");
}

TEST_F(ChampEtudeTest, OneFieldPerModalityIsStoredAndSelectsThatModality) {
    EXPECT_EQ(CreerChampsEtudeParModalite(Named("SEXE"), context), 2);
    ASSERT_FALSE(ui->shown.empty());
    EXPECT_EQ(ui->shown.back().message, Message(StringTable::kChampsEtudeCrees, {"2"}));
    std::vector<std::unique_ptr<CIdName>> list;
    ASSERT_TRUE(context.DonnerListeChampsEtude(list));
    ASSERT_EQ(list.size(), 3u); // "Toutes les interviews", Homme, Femme
    CChampEtude femme;
    ASSERT_TRUE(context.DonnerChampEtude(list[2]->id, femme));
    EXPECT_EQ(femme.name, "Femme");
    EXPECT_EQ(femme.conditions[0].DonnerListeModalites(), "1;");
    EXPECT_EQ(Apply(femme.id), Kept({0, 1, 0, 1, 0, 1, 1}));
}

} // namespace
