#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ChampEtude.h"
#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "support/RecordingUserInterface.h"
#include "support/FixtureStudyTest.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"

namespace champ_etude_test {

constexpr double kNoAnswer = -999999.99;

// Seven interviews. ACHATS takes up to three answers among 1, 2, 3 (indexes 0, 1, 2; the loader
// adds -2 "not asked" at index 3, which interview 4 holds); AGE is a free number, interview 3 gave
// no answer and interview 5 was not asked.
//
//   interview  ACHATS   AGE      SEXE
//   1          1 2      20       1
//   2          2        35       2
//   3          3        NR       1
//   4          (-2)     50       2
//   5          1 3      NI       1
//   6          2 3      35       2
//   7          1 2 3    60       2
constexpr const char* kPurchases = R"(
questionnaire "Achats" language=fr
language 1036 fr "Français"
question 1 ACHATS closed answers=3
  modality 1 fr "Pain"
  modality 2 fr "Lait"
  modality 3 fr "Fruits"
question 2 AGE numeric
question 3 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 4 AVIS open
records
Cle1,1;1,1;2,1;3,2;1,3;1,4;1
1,1,2,,20,1,"a"
2,2,,,35,2,"b"
3,3,,,-999999.99,1,"c"
4,,,,50,2,"d"
5,1,3,,,1,"e"
6,2,3,,35,2,"f"
7,1,2,3,60,2,"g"
end
)";

// The survey above, opened in a context of its own, with a recording user interface.
class PurchasesFixture : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        OpenFixture(kPurchases, "achats");
    }
    // Condition `slot` of the field: the question, the kind, the selected indexes and bounds.
    void SetCondition(CChampEtude& field, int slot, const std::string& question, std::int16_t kind,
                      std::vector<std::int32_t> modalities = {}, double a = 0.0, double b = 0.0) {
        CChampCondition& condition = field.conditions[static_cast<std::size_t>(slot)];
        condition.SetQuestion(&Named(question));
        condition.kind = kind;
        condition.SetModalites(modalities);
        condition.a = a;
        condition.b = b;
    }

    // Keeps the field in the survey under the id (not stored in the database).
    void AddField(std::int32_t id, CChampEtude field) {
        field.id = id;
        if (field.name.empty())
            field.name = "Champ " + std::to_string(id);
        context.MettreAJourChampEtude(field);
    }

};

// Six households and the persons of each, a loop level; the loop's questions are also asked
// once per interview for each of its three iterations ("AGEP (1)" ...). Household 4 has no
// person; person (9, 1) belongs to no household. AGE of household 4 is a non-response; nobody
// answered the open question REMARQUE.
//
//   household  AGE   REGION  SEXE     persons (AGEP, LIEN)
//   1          25    Nord    Homme    (25 Parent) (3 Enfant)
//   2          17    Est     Femme    (17 Parent)
//   3          40    Sud     Femme    (40 Parent) (38 Parent) (10 Enfant)
//   4          NR    Nord    Homme    -
//   5          70    Est     Homme    (70 Parent)
//   6          18    Est     Femme    (18 Parent) (1 Enfant)
//   -                                 (9, 1): (50 Parent)
constexpr const char* kHouseholds = R"(
questionnaire "Foyers" language=fr
language 1036 fr "Français"
question 1 AGE numeric
question 2 REGION closed
  modality 1 fr "Nord"
  modality 2 fr "Sud"
  modality 3 fr "Est"
question 3 SEXE closed
  modality 1 fr "Homme"
  modality 2 fr "Femme"
question 4 REMARQUE open
loop 500 PERSONNES count=3 expand
  question 51 AGEP numeric
  question 52 LIEN closed
    modality 1 fr "Parent"
    modality 2 fr "Enfant"
end
records
Cle1,1;1,2;1,3;1
1,25,1,1
2,17,3,2
3,40,2,2
4,-999999.99,1,1
5,70,3,1
6,18,3,2
end
records loop=500
Cle1,Cle2,Ordre,51;1,52;1
1,1,1,25,1
1,2,2,3,2
2,1,1,17,1
3,1,1,40,1
3,2,2,38,1
3,3,3,10,2
5,1,1,70,1
6,1,1,18,1
6,2,2,1,2
9,1,1,50,1
end
)";

// The households' field of adults of the North or East, as a formula and as conditions: by hand,
// households 1, 5 and 6.
constexpr const char* kAdultsNorthEast = "??AGE?? >= 18 ET ??REGION?? IN {1;3}";

class HouseholdsFixture : public FixtureStudyTest {
protected:
    void SetUp() override {
        FixtureStudyTest::SetUp();
        OpenFixture(kHouseholds, "foyers");
    }

    static CChampEtude FormulaField(const std::string& name, const std::string& formula) {
        CChampEtude field;
        field.name = name;
        field.complexCondition = true;
        field.complexConditionText = formula;
        return field;
    }

    // The same field as two conditions joined by AND: AGE >= 18, REGION among Nord and Est.
    CChampEtude ConditionsField(const std::string& name) {
        CChampEtude field;
        field.name = name;
        field.connectors = {1, 1, 1};
        CChampCondition& age = field.conditions[0];
        age.SetQuestion(&Named("AGE"));
        age.kind = 7;
        age.a = 18.0;
        CChampCondition& region = field.conditions[1];
        region.SetQuestion(&Named("REGION"));
        region.kind = 0;
        region.SetModalites({0, 2});
        return field;
    }
};

} // namespace champ_etude_test
