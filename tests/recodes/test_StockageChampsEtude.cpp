// Study fields stored, deleted and copied over a loop, in the questionnaire database and the
// survey's list together.
#include "ChampEtudeTestSupport.h"
#include "app/DBQuestionnaire.h"
#include "app/StringTable.h"
#include "app/VecteurDouble.h"
#include "recodes/AppliquerChampEtude.h"
#include "recodes/StockageChampsEtude.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace champ_etude_test;

namespace {

class StockageChampsEtudeTest : public HouseholdsFixture {
protected:
    // The fields of the database as a fresh read gives them: (id, name), after "Toutes les
    // interviews".
    std::vector<std::pair<std::int32_t, std::string>> Stored() {
        CDBQuestionnaire file(context);
        std::vector<std::unique_ptr<CChampEtude>> fields;
        EXPECT_TRUE(file.ReadSubPopulationList(fields)) << file.GetLastError();
        std::vector<std::pair<std::int32_t, std::string>> out;
        for (std::size_t i = 1; i < fields.size(); ++i)
            out.emplace_back(fields[i]->id, fields[i]->name);
        return out;
    }

    // The households kept by the field.
    std::vector<int> Kept(std::int32_t id) {
        CVecteurDouble weights(context.DonnerNbreInterviews());
        weights.Remplir(1.0);
        std::string error;
        EXPECT_TRUE(AppliquerChampEtude(id, 0, weights, context, error)) << error;
        std::vector<int> kept;
        for (int i = 0; i < weights.GetSize(); ++i)
            kept.push_back(weights.GetAt(i) != 0.0 ? 1 : 0);
        return kept;
    }

    // A field on the persons' age: AGEP >= 18.
    CChampEtude AdultPersons(const std::string& name) {
        CChampEtude field;
        field.name = name;
        field.description = "Personnes majeures";
        field.connectors = {1, 1, 1};
        field.conditions[0].SetQuestion(&Named("AGEP"));
        field.conditions[0].kind = 7;
        field.conditions[0].a = 18.0;
        return field;
    }
};

TEST_F(StockageChampsEtudeTest, SavingTwiceKeepsOneRecordUnderTheKeyOfTheFirstSave) {
    CChampEtude field = FormulaField("Adultes", kAdultsNorthEast);
    std::string error;
    ASSERT_TRUE(EnregistrerChampEtude(field, context, error)) << error;
    const std::int32_t key = field.id;
    EXPECT_GT(key, 0);
    field.name = "Adultes du Nord et de l'Est";
    ASSERT_TRUE(EnregistrerChampEtude(field, context, error)) << error;
    EXPECT_EQ(field.id, key);
    EXPECT_EQ(Stored(),
              (std::vector<std::pair<std::int32_t, std::string>>{{key, "Adultes du Nord et de l'Est"}}));
    // The formula comes back as it was written.
    CChampEtude read;
    ASSERT_TRUE(context.DonnerChampEtude(key, read));
    EXPECT_TRUE(read.complexCondition);
    EXPECT_EQ(read.complexConditionText, kAdultsNorthEast);
    EXPECT_EQ(Kept(key), (std::vector<int>{1, 0, 0, 0, 1, 1}));
}

TEST_F(StockageChampsEtudeTest, DeletingTheDefaultFieldMakesAllInterviewsTheDefault) {
    CChampEtude kept = ConditionsField("Gardé");
    CChampEtude removed = FormulaField("Supprimé", kAdultsNorthEast);
    std::string error;
    ASSERT_TRUE(EnregistrerChampEtude(kept, context, error)) << error;
    ASSERT_TRUE(EnregistrerChampEtude(removed, context, error)) << error;
    context.universeCode = kept.id;
    context.universeLabel = kept.name;
    // Another field goes: the default stays.
    ASSERT_TRUE(EffacerChampEtude(removed.id, context, error)) << error;
    EXPECT_EQ(context.universeCode, kept.id);
    // The default goes: all interviews become the default.
    ASSERT_TRUE(EffacerChampEtude(kept.id, context, error)) << error;
    EXPECT_EQ(context.universeCode, -1);
    EXPECT_EQ(context.universeLabel, "Toutes les interviews");
    EXPECT_TRUE(Stored().empty());
    CChampEtude gone;
    EXPECT_FALSE(context.DonnerChampEtude(kept.id, gone));
}

TEST_F(StockageChampsEtudeTest, CopyingOverTheLoopMakesOneFieldPerIteration) {
    const CChampEtude model = AdultPersons("Adulte");
    std::vector<CChampEtude> created;
    EXPECT_EQ(CopierChampEtudeBoucle(model, context, created), 3);
    ASSERT_EQ(created.size(), 3u);
    ASSERT_FALSE(ui->shown.empty());
    EXPECT_EQ(ui->shown.back().message, Message(StringTable::kChampsEtudeCrees, {"3"}));
    const std::vector<std::string> names = {"Adulte - 1", "Adulte - 2", "Adulte - 3"};
    for (std::size_t i = 0; i < created.size(); ++i) {
        EXPECT_EQ(created[i].name, names[i]);
        EXPECT_EQ(created[i].description, "Personnes majeures");
        ASSERT_NE(created[i].conditions[0].question, nullptr);
        EXPECT_EQ(created[i].conditions[0].question->name, "AGEP (" + std::to_string(i + 1) + ")");
        EXPECT_EQ(created[i].conditions[0].kind, 7);
        EXPECT_EQ(created[i].conditions[0].a, 18.0);
    }
    EXPECT_EQ(Stored().size(), 3u);
    // The second person of each household is of age in household 3 alone (38); households 1 and
    // 6 have a child second, the others no second person.
    EXPECT_EQ(Kept(created[1].id), (std::vector<int>{0, 0, 1, 0, 0, 0}));
    // The first person: 25, 17, 40, none, 70, 18.
    EXPECT_EQ(Kept(created[0].id), (std::vector<int>{1, 0, 1, 0, 1, 1}));
    // The model itself is unchanged.
    EXPECT_EQ(model.conditions[0].question, &Named("AGEP"));
}

TEST_F(StockageChampsEtudeTest, CopyingOverALoopNeedsANameAndOneConditionInTheLoop) {
    CChampEtude unnamed = AdultPersons("");
    CChampEtude none = ConditionsField("Aucune");
    CChampEtude two = AdultPersons("Deux");
    two.conditions[1].SetQuestion(&Named("LIEN"));
    two.conditions[1].SetModalites({0});
    struct Case {
        const CChampEtude* model;
        int message;
    };
    for (const Case& c :
         {Case{&unnamed, StringTable::kEntrerUnNom}, Case{&none, StringTable::kConditionAutreNiveauRequise},
          Case{&two, StringTable::kUneSeuleConditionAutreNiveau}}) {
        std::vector<CChampEtude> created;
        EXPECT_EQ(CopierChampEtudeBoucle(*c.model, context, created), 0);
        EXPECT_TRUE(created.empty());
        ASSERT_FALSE(ui->shown.empty());
        EXPECT_EQ(ui->shown.back().message, Message(c.message));
    }
    EXPECT_TRUE(Stored().empty());
}

} // namespace
