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

} // namespace champ_etude_test
